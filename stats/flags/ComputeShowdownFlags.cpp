#include "stats/flags/FlagPasses.h"

namespace kroStats {

void ComputeShowdownFlags(CFlagHand& h)
{
    const size_t n = h.players.size();
    // -1 before the player's first river decision, 1 while the player has only
    // checked or called there, 0 once the player bet, raised or folded.
    std::vector<int> riverState(n, -1);
    std::vector<int32_t> riverCalled(n, 0);
    std::vector<bool> tookPart(n, false);
    std::vector<bool> foldedInActions(n, false);
    std::vector<bool> sawFlop(n, false);
    bool flopDealt = false;
    bool shown = false;

    const auto visit = [&](int street, const CActionRecord& action, int index) {
        const auto i = static_cast<size_t>(index);
        const int id = action.idaction;
        CHandPlayerRecord& player = h.players[i];
        tookPart[i] = true;
        if (id == kActFolds) {
            foldedInActions[i] = true;
        }
        if (street == 1) {
            sawFlop[i] = true;
        }
        if (id == kActShowDown) {
            shown = true;
        }
        if (street == 3) {
            if (id == kActCalls || id == kActChecks) {
                if (riverState[i] == -1) {
                    riverState[i] = 1;
                }
                if (riverState[i] == 1) {
                    riverCalled[i] += action.amount;
                }
            } else if (id == kActRaises || id == kActBets || id == kActFolds) {
                riverState[i] = 0;
            }
        }
        // The river of a hand that went to showdown is not counted as seen.
        if (!(h.hand.showdown && street == 3)) {
            player.stats.values[L"val_seen_street"] = street;
        }
        return true;
    };
    const auto dealt = [&](int) {
        // Everyone still in when the flop comes sees it, also a player all in
        // preflop who never acts on it.
        if (flopDealt) {
            return;
        }
        flopDealt = true;
        for (size_t i = 0; i < n; ++i) {
            if (tookPart[i] && !foldedInActions[i]) {
                sawFlop[i] = true;
            }
        }
    };
    ForEachPlayerAction(h, 3, visit, dealt);

    // Seated players who were not dealt in have no actions and never reach a
    // showdown.
    std::vector<bool> stayed(n, false);
    int stayedCount = 0;
    for (size_t i = 0; i < n; ++i) {
        stayed[i] = tookPart[i] && !h.players[i].folded && !foldedInActions[i];
        stayedCount += stayed[i] ? 1 : 0;
    }
    // Some rooms show the hands as soon as the last bet is called, before the
    // board is run out, so a show on any street counts. A winner showing after
    // everyone folded is no showdown, even where a folded player showed too.
    const bool showdown = h.hand.showdown && shown && stayedCount >= 2;
    for (size_t i = 0; i < n; ++i) {
        CHandPlayerRecord& player = h.players[i];
        // Winning is winning from the pot: a player who lost the show down
        // and was paid a cash out by the room did not win it.
        const bool wonPot = static_cast<int64_t>(player.totalwin) - player.paidOutsidePot > 0;
        if (showdown && stayed[i]) {
            player.stats.flags[L"flag_wtsd"] = true;
            if (wonPot) {
                player.stats.flags[L"flag_won_wtsd"] = true;
            }
        }
        player.stats.values[L"val_river_call"] = riverState[i] == 1 ? riverCalled[i] : 0;
        if (sawFlop[i]) {
            player.stats.flags[L"flag_wtsd_opp"] = true;
            if (wonPot) {
                player.stats.flags[L"flag_wwsf"] = true;
            }
        }
    }
}

}  // namespace kroStats
