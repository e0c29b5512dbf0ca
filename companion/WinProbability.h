// Win probabilities of all-in hands: the hero's share of the pot from 0 to 1,
// ties splitting the pot, hi-lo pots halved between the best high and the best
// qualifying low. Thread-safe; every call is independent of every other.
//
// A player's hand is a list of card masks, the hands the player may hold. With
// one hand per player the result is exact: every completion of the board is
// counted. With longer lists the call enumerates every deal (one hand from each
// list and one board) while they number at most counter1, and otherwise draws
// deals with a fixed-seed generator, so the same question always gets the same
// answer:
//   counter1  in: the deal budget; out: the deals scored
//   counter2  in: how many different hand choices to draw when sampling, each
//                 with counter1 / counter2 boards (at least one); out: the hand
//                 choices scored
// Hands in a list that meet the board or the dead cards are dropped.
#pragma once

#include "companion/OstrandExport.h"

#include <cstdint>
#include <vector>

// Everything a probability call found, for callers that want more than the
// hero's share.
struct CWinResults
{
    double share[10] = {};  // pot share of the hero (0) and of opponent i (i)
    int64_t deals = 0;      // deals scored: a hand of every player and a board
    bool exact = false;     // every deal counted, none sampled
};

// Omaha high with hands of `holeCount` cards (4..6). `board` is the mask of the
// known board cards, `boardCards` the size of the complete board (5);
// `opponents` points to `opponentCount` lists (1..9) and `dead` is the mask of
// cards out of play. `results` may be null. Returns the hero's share, or -1 (with
// results and counters zeroed) when the input cannot be dealt: a count out of
// range, a hand of the wrong size, cards shared between fixed hands, the board
// and the dead cards, an empty list, or too few cards left for the board.
VX_COMPANION_EXPORT double getProbabilityOfWinOmaha64Common(int holeCount,
                                                            const std::vector<uint64_t>& hero,
                                                            uint64_t board,
                                                            int boardCards,
                                                            const std::vector<uint64_t>* opponents,
                                                            int opponentCount,
                                                            uint64_t dead,
                                                            CWinResults* results,
                                                            int& counter1,
                                                            int& counter2);

// Omaha with hands of 4 to 6 cards (each list's hands of one size), variant 0
// high and 1 hi-lo eight-or-better. Otherwise as above.
VX_COMPANION_EXPORT double getProbabilityOfWinOmaha64Enumerate(
    const std::vector<uint64_t>& hero,
    uint64_t board,
    int boardCards,
    const std::vector<uint64_t>* opponents,
    int opponentCount,
    uint64_t dead,
    CWinResults* results,
    int& counter1,
    int& counter2,
    int variant);

// Short-deck ("6+") Hold'em with two-card hands; every card, the board and the
// dead cards included, must be of the 36-card deck. Otherwise as above.
VX_COMPANION_EXPORT double getProbabilityOfWinHoldem6PlusChinaEnumerate64(
    const std::vector<uint64_t>& hero,
    uint64_t board,
    int boardCards,
    const std::vector<uint64_t>* opponents,
    int opponentCount,
    uint64_t dead,
    CWinResults* results,
    int& counter1,
    int& counter2);
