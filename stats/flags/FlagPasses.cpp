#include "stats/flags/FlagPasses.h"

#include "foundation/Positions.h"

namespace kroStats {

int PlayerIndex(const std::vector<CHandPlayerRecord>& players, int32_t idplayer)
{
    for (size_t i = 0; i < players.size(); ++i) {
        if (players[i].idplayer == idplayer) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

const wchar_t* StreetPrefix(int street)
{
    static const wchar_t* const kPrefixes[] = {L"pf", L"fp", L"tn", L"rv"};
    return street >= 0 && street <= 3 ? kPrefixes[street] : L"";
}

void FindBigBlind(CFlagHand& h)
{
    // The poster is the big blind even where the seat order says otherwise: in
    // a button-blind game the button posts it.
    h.bigBlind = 0;
    h.bigBlindAmount = 0;
    ForEachPlayerAction(h, 0, [&](int, const CActionRecord& action, int) {
        if (action.idaction == kActBigBlind) {
            h.bigBlind = action.idplayer;
            h.bigBlindAmount = action.amount;
            return false;
        }
        return true;
    });
    if (h.bigBlind != 0) {
        return;
    }
    for (const CHandPlayerRecord& player : h.players) {
        if (player.position == kPosBb) {
            h.bigBlind = player.idplayer;
            return;
        }
    }
}

}  // namespace kroStats
