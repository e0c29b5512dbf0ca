// The evaluators' tables. They are generated in memory by BuildTables (a few
// milliseconds, well under 1 MiB), never read from a file, and shared read-only
// by every thread once built. Private to the companion library.
#pragma once

#include <cstdint>

namespace ostrand {

inline constexpr int kRankPairs = 91;        // multisets of two ranks
inline constexpr int kRankTriples = 455;     // multisets of three ranks
inline constexpr int kBoardPatterns = 6188;  // multisets of five ranks

// Rank index of the ace, and the low rank of a rank index: ace 0, deuce..eight
// 1..7, -1 for nine and above.
inline constexpr int kAceRank = 12;
constexpr int LowRank(int rank)
{
    return rank == kAceRank ? 0 : (rank <= 6 ? rank + 1 : -1);
}

// One rank multiset of a five-card board.
struct CBoardPattern
{
    uint8_t ranks[5];     // ascending
    uint8_t tripleCount;  // its distinct three-rank sub-multisets
    uint16_t triples[10];
    uint8_t lowMask;  // its distinct low ranks, bit 0 the ace
};

struct CEvaluatorTables
{
    uint8_t pairIndex[13][13];
    uint16_t tripleIndex[13][13][13];
    // Value of two hole ranks played with three board ranks, flushes left out
    // (0 for the impossible five of a kind).
    uint32_t omahaRank[kRankPairs][kRankTriples];
    CBoardPattern patterns[kBoardPatterns];
};

// C(n, k) for n up to 52, 0 outside the triangle.
int64_t Binomial(int n, int k);

// Index of the board pattern of five ranks given in ascending order.
int PatternIndex(const uint8_t ranks[5]);

// The tables, built on first use; nullptr only when they cannot be built (out of
// memory). Thread-safe. Requires: FreeTables does not run at the same time.
const CEvaluatorTables* Tables();

// Builds the tables unless they exist and checks them; false when that fails.
bool LoadTables();

// Releases the tables; the next evaluation builds them again.
void FreeTables();

}  // namespace ostrand
