#include "stats/flags/FlagPasses.h"

namespace kroStats {

void ComputeVpip(CFlagHand& h)
{
    std::vector<bool> decided(h.players.size(), false);
    std::vector<bool> vpip(h.players.size(), false);
    ForEachPlayerAction(h, 0, [&](int, const CActionRecord& action, int index) {
        const auto i = static_cast<size_t>(index);
        if (decided[i]) {
            return true;
        }
        switch (action.idaction) {
        case kActCalls:
        case kActRaises:
        case kActBets:
        case kActCompletes:
            vpip[i] = true;
            decided[i] = true;
            break;
        case kActFolds:
            decided[i] = true;
            break;
        default:
            // Blinds are forced, and a check puts nothing in: neither is a
            // voluntary decision.
            break;
        }
        return true;
    });
    for (size_t i = 0; i < h.players.size(); ++i) {
        h.vpipOpportunity[i] = decided[i];
        h.players[i].stats.flags[L"flag_vpip_opp"] = decided[i];
        h.players[i].stats.flags[L"flag_vpip"] = vpip[i];
    }
}

}  // namespace kroStats
