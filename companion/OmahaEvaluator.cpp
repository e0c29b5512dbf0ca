// Omaha high and low of one hand, the category of a value, and the loading of the
// tables they use.
#include "companion/EvaluatorTables.h"
#include "companion/HandEvaluators.h"
#include "companion/HandValue.h"
#include "companion/LowHand.h"
#include "companion/RankEvaluation.h"

#include <algorithm>
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
    // The board's three-card choices once, then every pair of hole cards with each.
    struct CTriple
    {
        int cards[3];
        int index;
        int suit;  // the suit of all three, or -1
        uint32_t ranks;
    };
    CTriple triples[10];
    int tripleCount = 0;
    for (int a = 0; a < nBoard; ++a) {
        for (int b = a + 1; b < nBoard; ++b) {
            for (int c = b + 1; c < nBoard; ++c) {
                CTriple& t = triples[tripleCount++];
                t.cards[0] = board[a];
                t.cards[1] = board[b];
                t.cards[2] = board[c];
                t.index = tables->tripleIndex[board[a] % 13][board[b] % 13][board[c] % 13];
                const bool oneSuit =
                    board[a] / 13 == board[b] / 13 && board[b] / 13 == board[c] / 13;
                t.suit = oneSuit ? board[a] / 13 : -1;
                t.ranks = 1u << (board[a] % 13) | 1u << (board[b] % 13) | 1u << (board[c] % 13);
            }
        }
    }
    // The best value with the number of its hole pair and triple in the low byte,
    // so that the loop needs no branch to remember where it came from.
    uint64_t best = 0;
    int pairs[21][2];
    int pairCount = 0;
    for (int i = 0; i < nHole; ++i) {
        for (int j = i + 1; j < nHole; ++j) {
            const uint32_t* row = tables->omahaRank[tables->pairIndex[hole[i] % 13][hole[j] % 13]];
            const int suit = hole[i] / 13 == hole[j] / 13 ? hole[i] / 13 : -2;
            const uint32_t ranks = 1u << (hole[i] % 13) | 1u << (hole[j] % 13);
            for (int t = 0; t < tripleCount; ++t) {
                const uint32_t value = triples[t].suit == suit
                                           ? BestFlushValue(triples[t].ranks | ranks, false)
                                           : row[triples[t].index];
                best = std::max(best,
                                uint64_t{value} << 8 | static_cast<uint64_t>(pairCount * 10 + t));
            }
            pairs[pairCount][0] = hole[i];
            pairs[pairCount][1] = hole[j];
            ++pairCount;
        }
    }
    if (best5 != nullptr) {
        const int combo = static_cast<int>(best & 0xFF);
        const CTriple& triple = triples[combo % 10];
        best5[0] = pairs[combo / 10][0];
        best5[1] = pairs[combo / 10][1];
        std::copy(triple.cards, triple.cards + 3, best5 + 2);
    }
    return static_cast<int>(best >> 8);
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
