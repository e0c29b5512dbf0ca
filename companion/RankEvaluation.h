// The rank arithmetic behind every evaluator: the best hand of a set of ranks when
// suits do not matter, and the best flush of one suit's ranks. Pure functions.
#pragma once

#include <cstdint>

namespace ostrand {

// Rank bit masks: bit r stands for rank index r (0 deuce .. 12 ace).
inline constexpr uint32_t kAllRanks = 0x1FFF;
// Ranks of the 36-card deck, six to ace.
inline constexpr uint32_t kShortDeckRanks = 0x1FF0;

// Top rank index of the highest straight in `rankMask`, or -1. The ace also plays
// low: A-2-3-4-5 (top 3) in the full deck, A-6-7-8-9 (top 7) in the short deck.
int StraightTop(uint32_t rankMask, bool shortDeck);

// Best five-card hand of 5 to 7 cards given by their rank counts, flushes left
// out. 0 when a count exceeds 4 or fewer than five cards are given.
uint32_t BestRankValue(const uint8_t counts[13], bool shortDeck);

// Best flush (or straight flush) of the suited ranks in `mask`; 0 when it holds
// fewer than five ranks.
uint32_t BestFlushValue(uint32_t mask, bool shortDeck);

// The `n` highest ranks of `mask` (all of them when it has fewer).
uint32_t HighestRanks(uint32_t mask, int n);

}  // namespace ostrand
