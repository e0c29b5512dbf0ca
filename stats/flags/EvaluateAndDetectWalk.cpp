#include "companion/HandEvaluators.h"
#include "foundation/GameKinds.h"
#include "stats/flags/FlagPasses.h"

namespace kroStats {

void EvaluateCombinations(CFlagHand& h)
{
    if (h.hand.board.size() != 5 || !IsEvaluatedAtFlags(h.gameKind)) {
        return;
    }
    const int* board = h.hand.board.data();
    for (CHandPlayerRecord& player : h.players) {
        // Omaha hands always use two hole cards, so fewer than four cannot be a
        // player's real hand.
        if (player.cards.size() < 4) {
            continue;
        }
        const int n = static_cast<int>(player.cards.size());
        player.combination =
            getCombinationOmahaFsm5Common(player.cards.data(), n, board, 5, nullptr);
        if (StoresLowAtFlags(h.gameKind)) {
            player.lowcombination =
                SetLowValueCombinationOmahaCommon(player.cards.data(), n, board, 5);
        }
    }
}

bool EvaluateAndDetectWalk(CFlagHand& h)
{
    EvaluateCombinations(h);

    // A walk is every other player folding to the big blind. Only decisions
    // decide it: every hand also carries posts, dealt cards, the uncalled big
    // blind and the collection. A player dealt in who never folded (all in
    // from a blind) keeps the hand going to showdown, so it is no walk.
    std::vector<bool> tookPart(h.players.size(), false);
    std::vector<bool> folded(h.players.size(), false);
    bool walk = true;
    ForEachPlayerAction(h, 0, [&](int, const CActionRecord& action, int index) {
        const auto i = static_cast<size_t>(index);
        tookPart[i] = true;
        if (!IsDecision(action.idaction)) {
            return true;
        }
        const bool isBigBlind = action.idplayer == h.bigBlind;
        if ((isBigBlind && action.idaction != kActChecks) ||
            (!isBigBlind && action.idaction != kActFolds)) {
            walk = false;
            return false;
        }
        folded[i] = !isBigBlind;
        return true;
    });
    if (!walk) {
        return false;
    }
    bool anyFold = false;
    for (size_t i = 0; i < h.players.size(); ++i) {
        if (h.players[i].idplayer == h.bigBlind || !tookPart[i]) {
            continue;
        }
        if (!folded[i]) {
            return false;
        }
        anyFold = true;
    }
    if (!anyFold) {
        return false;
    }

    for (size_t i = 0; i < h.players.size(); ++i) {
        CHandPlayerRecord& player = h.players[i];
        const bool isBigBlind = player.idplayer == h.bigBlind;
        // A player sitting out had no opportunity at all.
        if (!isBigBlind && !tookPart[i]) {
            continue;
        }
        auto& flags = player.stats.flags;
        flags[L"flag_vpip"] = false;
        flags[L"flag_pf_3bet"] = false;
        flags[L"flag_vpip_opp"] = !isBigBlind;
        // Nobody raised, so nobody could re-raise.
        flags[L"flag_pf_3bet_opp"] = false;
    }
    return true;
}

}  // namespace kroStats
