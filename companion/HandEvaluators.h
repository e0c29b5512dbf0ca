// The companion library's hand evaluators: Omaha high and hi-lo, where a hand is
// always exactly two hole cards and three board cards, and short-deck ("6+")
// Hold'em. A value is a comparable integer, higher wins; 0 means no hand. Cards
// are suit * 13 + rank index. Thread-safe once the tables are loaded.
#pragma once

#include "companion/OstrandExport.h"

// Builds and checks the evaluator tables. The tables are generated in memory, so
// there is no table file to lose; 1 on success, 0 when they cannot be built or
// fail their integrity check. Evaluating before loading builds them on demand.
VX_COMPANION_EXPORT int load_ofsm_omaha7();

namespace fsm5 {
// The seven-card (short-deck) part of the tables; 1 when loaded.
VX_COMPANION_EXPORT int load_fsm7();
// The two-card rank index; 1 when loaded.
VX_COMPANION_EXPORT int load_2_index();
// The board tables for `boardCards` board cards; 1 when loaded, 0 for any board
// size but 5. The other two arguments are accepted and unused.
VX_COMPANION_EXPORT int load_2(int boardCards, int reserved1, int reserved2);
// Releases every table. Requires: no evaluation runs on another thread.
VX_COMPANION_EXPORT void Free();
}  // namespace fsm5

// Value of the best high hand made of two of the `nHole` hole cards (2..7) and
// three of the `nBoard` board cards (3..5). When `best5` is not null it receives
// the five cards used, the two hole cards first. 0 when a count is out of range,
// a card is not 0..51 or a card appears twice.
VX_COMPANION_EXPORT int getCombinationOmahaFsm5Common(
    const int* hole, int nHole, const int* board, int nBoard, int* best5);

// Category of a value of any evaluator: 1 high card, 2 one pair, 3 two pair,
// 4 three of a kind, 5 straight, 6 flush, 7 full house, 8 four of a kind,
// 9 straight flush; 0 for no hand.
VX_COMPANION_EXPORT int Get_rankFsm5(int value);

// Value of the best eight-or-better low made of two of the hole cards and three
// of the board cards: five different ranks of eight or lower, the ace low. Higher
// is better (A-2-3-4-5 gives 225, 8-7-6-5-4 gives 8); 0 when there is no such
// low or the input is bad as for getCombinationOmahaFsm5Common.
VX_COMPANION_EXPORT int SetLowValueCombinationOmahaCommon(const int* hole,
                                                          int nHole,
                                                          const int* board,
                                                          int nBoard);

// Value of the best five of the two hole cards and the 3..5 board cards in the
// short deck (six to ace): a flush beats a full house, three of a kind beats a
// straight, and A-6-7-8-9 is the lowest straight. 0 when a count is wrong, a card
// is not of the 36-card deck or a card appears twice.
VX_COMPANION_EXPORT int EvaluateHoldem6Plus(const int* hole,
                                            int nHole,
                                            const int* board,
                                            int nBoard);
