// The passes of the hand flag computation and what they share: the hand and the
// working values of one computation. Each pass is one linear scan of the actions;
// a CFlagHand serves one computation, so different hands can run at once.
#pragma once

#include "foundation/records/CHandPlayerRecord.h"
#include "foundation/records/CHandRecord.h"
#include "foundation/records/CHandRows.h"
#include "stats/flags/ActionIds.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kroStats {

// Borrowed views of the hand being computed; they live for one
// ComputeHandFlags call.
struct CFlagHand
{
    CFlagHand(int kind,
              CHandRecord& handRow,
              std::vector<CHandPlayerRecord>& handPlayers,
              const std::vector<CActionRecord>& handActions)
        : gameKind(kind)
        , hand(handRow)
        , players(handPlayers)
        , actions(handActions)
        , vpipOpportunity(handPlayers.size(), false)
    {}

    int gameKind;
    CHandRecord& hand;
    std::vector<CHandPlayerRecord>& players;
    const std::vector<CActionRecord>& actions;

    // By player index: the player had a voluntary decision preflop.
    std::vector<bool> vpipOpportunity;
    // idplayer of the big blind, 0 when the hand has none, and what it posted.
    int32_t bigBlind = 0;
    int32_t bigBlindAmount = 0;
    // idplayer of the last preflop raiser, then of each street's last bettor or
    // raiser; 0 when there is none.
    int32_t lastAggressor = 0;
};

// Index of the hand player with `idplayer`, -1 when there is none.
int PlayerIndex(const std::vector<CHandPlayerRecord>& players, int32_t idplayer);

// Street prefixes of the column names: "pf", "fp", "tn", "rv" for 0..3.
const wchar_t* StreetPrefix(int street);

// Calls visit(street, action, playerIndex) for each action of a hand player,
// in order, with the street it was taken on, up to and including `lastStreet`,
// and dealt(street) for each board event. The street never moves back, so the
// later boards of a hand run twice keep it on the river. The 'flop-et' marker
// is skipped. A visit that returns false ends the scan.
template <typename Visit, typename Dealt>
void ForEachPlayerAction(const CFlagHand& h, int lastStreet, Visit&& visit, Dealt&& dealt)
{
    int street = 0;
    for (const CActionRecord& action : h.actions) {
        const int boardStreet = BoardStreet(action.idaction);
        if (boardStreet != 0) {
            street = boardStreet > street ? boardStreet : street;
            if (street > lastStreet) {
                return;
            }
            dealt(street);
            continue;
        }
        if (action.idaction == kActFlopEt) {
            continue;
        }
        const int index = PlayerIndex(h.players, action.idplayer);
        if (index < 0) {
            continue;
        }
        if (!visit(street, action, index)) {
            return;
        }
    }
}

// The same without a board-event callback.
template <typename Visit>
void ForEachPlayerAction(const CFlagHand& h, int lastStreet, Visit&& visit)
{
    ForEachPlayerAction(h, lastStreet, visit, [](int) {});
}

// Sets bigBlind and bigBlindAmount: the player who posted the hand's first big
// blind (the button blind of a button-blind game included) and its amount, else
// the player in the big-blind position and 0.
void FindBigBlind(CFlagHand& h);

// Evaluates the hands on a full board, then reports whether all folded to the
// big blind and, for a walk, writes the only flags such a hand gets.
bool EvaluateAndDetectWalk(CFlagHand& h);

// Combination and low combination of every player on a board of five cards,
// for the Omaha game kinds; other games keep 0.
void EvaluateCombinations(CFlagHand& h);

void ComputeVpip(CFlagHand& h);
void ComputePreflopRaises(CFlagHand& h);
void CountAggression(CFlagHand& h);
void ComputeShowdownFlags(CFlagHand& h);
// `street` is 1, 2 or 3; run them in this order, as each passes its street's
// last bettor on to the next.
void ComputeContinuationBets(CFlagHand& h, int street);
void BuildActionStrings(CFlagHand& h);
void ComputeStreetPots(CFlagHand& h);

}  // namespace kroStats
