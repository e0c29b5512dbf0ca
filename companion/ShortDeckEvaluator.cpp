// Short-deck ("6+") Hold'em: the best five of two hole cards and the board.
#include "companion/HandEvaluators.h"
#include "companion/HandValue.h"
#include "companion/RankEvaluation.h"

#include <cstdint>

int EvaluateHoldem6Plus(const int* hole, int nHole, const int* board, int nBoard)
{
    using namespace ostrand;
    if (hole == nullptr || board == nullptr || nHole != 2 || nBoard < 3 || nBoard > 5) {
        return 0;
    }
    uint64_t seen = 0;
    uint8_t counts[13] = {};
    uint32_t suits[4] = {};
    for (int i = 0; i < nHole + nBoard; ++i) {
        const int card = i < nHole ? hole[i] : board[i - nHole];
        if (card < 0 || card > 51 || (seen >> card & 1) || !(kShortDeckRanks >> (card % 13) & 1)) {
            return 0;
        }
        seen |= uint64_t{1} << card;
        ++counts[card % 13];
        suits[card / 13] |= 1u << (card % 13);
    }
    uint32_t best = BestRankValue(counts, true);
    for (const uint32_t suited : suits) {
        const uint32_t flush = BestFlushValue(suited, true);
        best = flush > best ? flush : best;
    }
    return static_cast<int>(best);
}
