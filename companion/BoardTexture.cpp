#include "companion/BoardTexture.h"

#include "companion/HandEvaluators.h"

#include <algorithm>
#include <cstdint>

namespace {

int SuitCount(const std::vector<int>& board, int n, int suit)
{
    return static_cast<int>(
        std::count_if(board.begin(), board.begin() + n, [&](int c) { return c / 13 == suit; }));
}

int MaxSuitCount(const std::vector<int>& board, int n)
{
    int most = 0;
    for (int suit = 0; suit < 4; ++suit) {
        most = std::max(most, SuitCount(board, n, suit));
    }
    return most;
}

int RankCount(const std::vector<int>& board, int n, int rank)
{
    return static_cast<int>(
        std::count_if(board.begin(), board.begin() + n, [&](int c) { return c % 13 == rank; }));
}

int MaxRankCount(const std::vector<int>& board, int n)
{
    int most = 0;
    for (int rank = 0; rank < 13; ++rank) {
        most = std::max(most, RankCount(board, n, rank));
    }
    return most;
}

int SuitPart(const std::vector<int>& board)
{
    const int n = static_cast<int>(board.size());
    const int flopMost = MaxSuitCount(board, 3);
    int part = flopMost == 2 ? 2 : (flopMost == 3 ? 3 : 0);
    if (n >= 4) {
        const int onFlop = SuitCount(board, 3, board[3] / 13);
        if (onFlop == 0) {
            part |= flopMost == 2 ? 4 : (flopMost == 3 ? 12 : 0);
        } else if (onFlop == 1) {
            part |= flopMost == 1 ? 4 : (flopMost == 2 ? 8 : 0);
        } else {
            part |= 12;
        }
    }
    if (n == 5) {
        const int suit = board[4] / 13;
        const int before = SuitCount(board, 4, suit);
        if (before >= 3) {
            part |= 48;
        } else if (before == 2) {
            part |= SuitCount(board, 3, suit) == 1 ? 16 : 32;
        } else {
            part |= MaxSuitCount(board, 4) >= 3 ? 48 : 0;
        }
    }
    return part;
}

int PairPart(const std::vector<int>& board)
{
    const int n = static_cast<int>(board.size());
    const int flopMost = MaxRankCount(board, 3);
    int part = flopMost == 2 ? 128 : (flopMost == 3 ? 192 : 0);
    if (n >= 4) {
        switch (RankCount(board, 3, board[3] % 13)) {
        case 0:
            part |= flopMost == 2 ? 384 : (flopMost == 3 ? 768 : 0);
            break;
        case 1:
            part |= flopMost == 1 ? 512 : (flopMost == 2 ? 1024 : 0);
            break;
        case 2:
            part |= 768;
            break;
        default:
            part |= 1216;
            break;
        }
    }
    if (n == 5) {
        const int rank = board[4] % 13;
        const int most = MaxRankCount(board, 4);
        switch (RankCount(board, 4, rank)) {
        case 0:
            part |= most == 2 ? 2048 : (most == 3 ? 6144 : (most == 4 ? 10240 : 0));
            break;
        case 1:
            part |= most == 1 ? 2048 : (most == 2 ? 4096 : (most == 3 ? 8192 : 0));
            break;
        case 2: {
            bool otherPair = false;
            for (int r = 0; r < 13; ++r) {
                otherPair = otherPair || (r != rank && RankCount(board, 4, r) == 2);
            }
            part |= most == 2 ? (otherPair ? 4096 : 14336) : 0;
            break;
        }
        case 3:
            part |= 10240;
            break;
        default:
            break;
        }
    }
    return part;
}

// Distinct low ranks (ace to eight) among the first `n` cards, bit 0 the ace.
uint32_t LowRanks(const std::vector<int>& board, int n)
{
    uint32_t mask = 0;
    for (int i = 0; i < n; ++i) {
        const int rank = board[i] % 13;
        if (rank == 12) {
            mask |= 1;
        } else if (rank <= 6) {
            mask |= 1u << (rank + 1);
        }
    }
    return mask;
}

int LowPart(const std::vector<int>& board)
{
    const int n = static_cast<int>(board.size());
    const int flopLow = __builtin_popcount(LowRanks(board, 3));
    static constexpr int kFlop[4] = {0, 0x4000, 0x8000, 0xC000};
    int part = kFlop[flopLow];
    if (n >= 4) {
        const bool newLow = __builtin_popcount(LowRanks(board, 4)) > flopLow;
        if (!newLow) {
            part |= flopLow == 2 ? 0x18000 : (flopLow == 3 ? 0x2C000 : 0);
        } else {
            static constexpr int kTurn[4] = {0, 0x14000, 0x28000, 0x2C000};
            part |= kTurn[flopLow];
        }
    }
    if (n == 5) {
        const int before = __builtin_popcount(LowRanks(board, 4));
        const bool newLow = __builtin_popcount(LowRanks(board, 5)) > before;
        if (before >= 3) {
            part |= 0x90000;
        } else if (newLow && before == 2) {
            part |= flopLow == 1 ? 0x54000 : (flopLow == 2 ? 0x58000 : 0);
        }
    }
    return part;
}

// Ranks from 1 (deuce) to 13 (ace), sorted, with a 0 in front when an ace can
// also play low below a deuce, trey or four.
void AddAceLow(std::vector<int>& ranks)
{
    std::sort(ranks.begin(), ranks.end());
    if (ranks.front() != 0 && ranks.back() == 13 && ranks.front() <= 3) {
        ranks.insert(ranks.begin(), 0);
    }
}

bool HasEqualNeighbours(const std::vector<int>& ranks)
{
    return std::adjacent_find(ranks.begin(), ranks.end()) != ranks.end();
}

// Two-card rank pairs (no pocket pairs) that make a straight with three of the
// board's distinct ranks, played as an Omaha hand on a board that cannot flush.
int StraighteningPairs(const std::vector<int>& board)
{
    std::vector<int> cards;
    for (const int card : board) {
        const int rank = card % 13;
        if (std::none_of(cards.begin(), cards.end(), [&](int c) { return c % 13 == rank; })) {
            // Clubs and diamonds on the board, hearts and spades in the hand.
            cards.push_back(static_cast<int>(cards.size() % 2) * 13 + rank);
        }
    }
    if (cards.size() < 3) {
        return 0;
    }
    int count = 0;
    for (int low = 0; low < 12; ++low) {
        for (int high = low + 1; high < 13; ++high) {
            const int hole[2] = {26 + low, 39 + high};
            const int value = getCombinationOmahaFsm5Common(
                hole, 2, cards.data(), static_cast<int>(cards.size()), nullptr);
            count += Get_rankFsm5(value) == 5 ? 1 : 0;
        }
    }
    return count;
}

int StraightPart(const std::vector<int>& board)
{
    const int n = static_cast<int>(board.size());
    std::vector<int> ranks = {board[0] % 13 + 1, board[1] % 13 + 1, board[2] % 13 + 1};
    AddAceLow(ranks);
    if (HasEqualNeighbours(ranks)) {
        return 0;
    }
    int smallest = 99;
    int largest = 0;
    for (size_t i = 1; i < ranks.size(); ++i) {
        smallest = std::min(smallest, ranks[i] - ranks[i - 1]);
        largest = std::max(largest, ranks[i] - ranks[i - 1]);
    }
    int part = 0;
    if (smallest < 4) {
        part = largest < 2 ? 0x300000 : (largest <= 3 ? 0x200000 : 0x100000);
    }
    if (n < 4) {
        return part;
    }
    ranks.push_back(board[3] % 13 + 1);
    AddAceLow(ranks);
    if (HasEqualNeighbours(ranks)) {
        return part;
    }
    int aboveTwo = 0;
    int aboveOne = 0;
    smallest = 99;
    for (size_t i = 1; i < ranks.size(); ++i) {
        const int gap = ranks[i] - ranks[i - 1];
        aboveTwo += gap > 2 ? 1 : 0;
        aboveOne += gap > 1 ? 1 : 0;
        smallest = std::min(smallest, gap);
    }
    if (smallest <= 3) {
        if (aboveTwo == 2) {
            part |= 0x400000;
        } else if (aboveTwo == 1) {
            part |= 0x800000;
        } else if (aboveTwo == 0 && aboveOne > 1) {
            part |= 0xC00000;
        } else if (aboveTwo == 0 && aboveOne == 1) {
            part |= 0x1000000;
        } else {
            part |= 0x1400000;
        }
    }
    if (n < 5) {
        return part;
    }
    const int pairs = StraighteningPairs(board);
    static constexpr int kByCount[12] = {0,         0x2000000, 0x4000000, 0x6000000,
                                         0x8000000, 0x8000000, 0x8000000, 0xA000000,
                                         0xC000000, 0xC000000, 0xC000000, 0xE000000};
    return part | kByCount[std::min(pairs, 11)];
}

}  // namespace

int ClassifyBoard(const std::vector<int>& board)
{
    if (board.size() < 3 || board.size() > 5) {
        return 0;
    }
    uint64_t seen = 0;
    for (const int card : board) {
        if (card < 0 || card > 51 || (seen >> card & 1)) {
            return 0;
        }
        seen |= uint64_t{1} << card;
    }
    return SuitPart(board) | PairPart(board) | LowPart(board) | StraightPart(board);
}
