#include "stats/flags/FlagPasses.h"

namespace kroStats {

void CountAggression(CFlagHand& h)
{
    static const std::wstring kOpportunity[] = {L"", L"count_fp_aggr_opp", L"count_tn_aggr_opp",
                                                L"count_rv_aggr_opp"};
    static const std::wstring kAggression[] = {L"", L"count_fp_aggr", L"count_tn_aggr",
                                               L"count_rv_aggr"};
    ForEachPlayerAction(h, 3, [&](int street, const CActionRecord& action, int index) {
        if (street == 0) {
            return true;
        }
        auto& counts = h.players[static_cast<size_t>(index)].stats.counts;
        switch (action.idaction) {
        case kActRaises:
        case kActBets:
            ++counts[kOpportunity[street]];
            ++counts[kAggression[street]];
            break;
        case kActCalls:
        case kActFolds:
            // Aggression weighs bets and raises against calls and folds;
            // checks are no part of it.
            ++counts[kOpportunity[street]];
            break;
        default:
            break;
        }
        return true;
    });
}

}  // namespace kroStats
