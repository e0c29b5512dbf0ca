#include "stats/flags/FlagPasses.h"

#include <array>

namespace kroStats {

namespace {

struct CStreetAmounts
{
    // What a bet or raise "to" names: blinds, calls and the raise itself.
    std::array<int32_t, 4> live{};
    // Antes and dead blinds, which no raise includes.
    int32_t dead = 0;
};

}  // namespace

void ComputeStreetPots(CFlagHand& h)
{
    std::vector<CStreetAmounts> amounts(h.players.size());
    bool smallBlindSeen = false;

    ForEachPlayerAction(h, 3, [&](int street, const CActionRecord& action, int index) {
        CStreetAmounts& a = amounts[static_cast<size_t>(index)];
        int32_t& live = a.live[static_cast<size_t>(street)];
        const int32_t amount = action.amount;
        switch (action.idaction) {
        case kActAnte:
            // Antes, straddles and missed blinds share one code. A straddle is
            // more than the big blind and names the total, like a raise.
            if (h.bigBlindAmount > 0 && amount > h.bigBlindAmount) {
                live = amount;
            } else {
                a.dead += amount;
            }
            break;
        case kActSmallBlind:
            // A second small blind is a dead blind posted to come back in.
            if (smallBlindSeen) {
                a.dead += amount;
            } else {
                live += amount;
            }
            smallBlindSeen = true;
            break;
        case kActSecondSmallBlind:
            a.dead += amount;
            break;
        case kActBothBlinds:
            // Of "small & big" only the big blind is live.
            if (h.bigBlindAmount > 0 && amount > h.bigBlindAmount) {
                live += h.bigBlindAmount;
                a.dead += amount - h.bigBlindAmount;
            } else {
                live += amount;
            }
            break;
        case kActBigBlind:
        case kActCalls:
            live += amount;
            break;
        case kActRaises:
        case kActBets:
            live = amount;
            break;
        case kActUncalledBet:
            live -= amount;
            break;
        default:
            break;
        }
        return true;
    });

    static const wchar_t* const kKeys[] = {L"val_pot_p", L"val_pot_f", L"val_pot_t", L"val_pot_r"};
    std::array<int32_t, 4> totals{};
    for (size_t i = 0; i < h.players.size(); ++i) {
        for (size_t street = 0; street < 4; ++street) {
            const int32_t amount = amounts[i].live[street] + (street == 0 ? amounts[i].dead : 0);
            h.players[i].stats.values[kKeys[street]] = amount;
            totals[street] += amount;
        }
    }
    for (size_t street = 0; street < 4; ++street) {
        h.hand.stats.values[kKeys[street]] = totals[street];
    }
}

}  // namespace kroStats
