// Eight-or-better lows in Omaha: two hole ranks and three board ranks, all five
// different and eight or lower. Private to the companion library.
#pragma once

#include <cstdint>

namespace ostrand {

// A set of low ranks is a byte, bit 0 the ace and bits 1..7 deuce..eight. For
// five-rank sets the byte itself orders the lows: comparing from the highest bit
// down is comparing the highest cards first, so a smaller byte is a better low.
constexpr uint32_t LowValue(uint32_t fiveLowRanks)
{
    return 256 - fiveLowRanks;
}

// Best low of a hand whose distinct low hole ranks are `hole` on a board whose
// distinct low ranks are `board`; 0 when there is none.
inline uint32_t BestLow(uint32_t hole, uint32_t board)
{
    if (__builtin_popcount(board) < 3 || __builtin_popcount(hole) < 2) {
        return 0;
    }
    uint32_t best = 0;
    // Every three-rank subset of the board's (at most five) low ranks.
    for (uint32_t a = board; a; a &= a - 1) {
        for (uint32_t b = a & (a - 1); b; b &= b - 1) {
            for (uint32_t c = b & (b - 1); c; c &= c - 1) {
                const uint32_t triple = (a & -a) | (b & -b) | (c & -c);
                uint32_t free = hole & ~triple;
                if (__builtin_popcount(free) < 2) {
                    continue;
                }
                // The two lowest free hole ranks make the best low with this triple.
                const uint32_t first = free & -free;
                free &= free - 1;
                const uint32_t value = LowValue(triple | first | (free & -free));
                best = value > best ? value : best;
            }
        }
    }
    return best;
}

}  // namespace ostrand
