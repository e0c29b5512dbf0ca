// Omaha high and low of one hand, the category of a value, and the loading of the
// tables they use.
#include "companion/EvaluatorTables.h"
#include "companion/HandEvaluators.h"
#include "companion/HandValue.h"
#include "companion/LowHand.h"
#include "companion/RankEvaluation.h"

#include <cstdint>

namespace {

using namespace ostrand;

bool ValidCards(const int* hole, int nHole, const int* board, int nBoard)
{
    if (hole == nullptr || board == nullptr || nHole < 2 || nHole > 7 || nBoard < 3 || nBoard > 5) {
        return false;
    }
    uint64_t seen = 0;
    for (int i = 0; i < nHole + nBoard; ++i) {
        const int card = i < nHole ? hole[i] : board[i - nHole];
        if (card < 0 || card > 51 || (seen >> card & 1)) {
            return false;
        }
        seen |= uint64_t{1} << card;
    }
    return true;
}

uint32_t LowRanks(const int* cards, int n)
{
    uint32_t mask = 0;
    for (int i = 0; i < n; ++i) {
        const int low = LowRank(cards[i] % 13);
        if (low >= 0) {
            mask |= 1u << low;
        }
    }
    return mask;
}

}  // namespace

int load_ofsm_omaha7()
{
    return LoadTables() ? 1 : 0;
}

namespace fsm5 {

int load_fsm7()
{
    return LoadTables() ? 1 : 0;
}

int load_2_index()
{
    return LoadTables() ? 1 : 0;
}

int load_2(int boardCards, int, int)
{
    return boardCards == 5 && LoadTables() ? 1 : 0;
}

void Free()
{
    FreeTables();
}

}  // namespace fsm5

int getCombinationOmahaFsm5Common(
    const int* hole, int nHole, const int* board, int nBoard, int* best5)
{
    const CEvaluatorTables* tables = Tables();
    if (tables == nullptr || !ValidCards(hole, nHole, board, nBoard)) {
        return 0;
    }
    uint32_t best = 0;
    int bestCards[5] = {};
    for (int i = 0; i < nHole; ++i) {
        for (int j = i + 1; j < nHole; ++j) {
            const int hi = hole[i] % 13;
            const int hj = hole[j] % 13;
            const int pair = tables->pairIndex[hi][hj];
            const bool suited = hole[i] / 13 == hole[j] / 13;
            for (int a = 0; a < nBoard; ++a) {
                for (int b = a + 1; b < nBoard; ++b) {
                    for (int c = b + 1; c < nBoard; ++c) {
                        const int ra = board[a] % 13;
                        const int rb = board[b] % 13;
                        const int rc = board[c] % 13;
                        const int suit = hole[i] / 13;
                        uint32_t value = tables->omahaRank[pair][tables->tripleIndex[ra][rb][rc]];
                        if (suited && board[a] / 13 == suit && board[b] / 13 == suit &&
                            board[c] / 13 == suit) {
                            value = BestFlushValue(
                                1u << hi | 1u << hj | 1u << ra | 1u << rb | 1u << rc, false);
                        }
                        if (value > best) {
                            best = value;
                            const int cards[5] = {hole[i], hole[j], board[a], board[b], board[c]};
                            for (int k = 0; k < 5; ++k) {
                                bestCards[k] = cards[k];
                            }
                        }
                    }
                }
            }
        }
    }
    if (best5 != nullptr) {
        for (int k = 0; k < 5; ++k) {
            best5[k] = bestCards[k];
        }
    }
    return static_cast<int>(best);
}

int Get_rankFsm5(int value)
{
    return value <= 0 ? 0 : CategoryOf(static_cast<uint32_t>(value));
}

int SetLowValueCombinationOmahaCommon(const int* hole, int nHole, const int* board, int nBoard)
{
    if (!ValidCards(hole, nHole, board, nBoard)) {
        return 0;
    }
    return static_cast<int>(BestLow(LowRanks(hole, nHole), LowRanks(board, nBoard)));
}
