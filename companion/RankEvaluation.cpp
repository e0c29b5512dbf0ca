#include "companion/RankEvaluation.h"

#include "companion/HandValue.h"

namespace ostrand {

namespace {

constexpr int kAce = 12;

// Up to `n` ranks of `mask` from the top into out[]; returns how many it found.
int TakeRanks(uint32_t mask, int n, int* out)
{
    int taken = 0;
    for (int r = kAce; r >= 0 && taken < n; --r) {
        if (mask >> r & 1) {
            out[taken++] = r;
        }
    }
    return taken;
}

uint32_t Finish(uint32_t value, bool shortDeck)
{
    return shortDeck ? WithShortDeckOrder(value) : value;
}

}  // namespace

int StraightTop(uint32_t rankMask, bool shortDeck)
{
    const int lowestTop = shortDeck ? 8 : 4;
    for (int top = kAce; top >= lowestTop; --top) {
        const uint32_t window = 0x1Fu << (top - 4);
        if ((rankMask & window) == window) {
            return top;
        }
    }
    // The ace below the lowest four ranks of the deck.
    const uint32_t wheel = shortDeck ? (1u << kAce | 0xF0u) : (1u << kAce | 0xFu);
    if ((rankMask & wheel) == wheel) {
        return shortDeck ? 7 : 3;
    }
    return -1;
}

uint32_t HighestRanks(uint32_t mask, int n)
{
    uint32_t out = 0;
    for (int r = kAce; r >= 0 && n > 0; --r) {
        if (mask >> r & 1) {
            out |= 1u << r;
            --n;
        }
    }
    return out;
}

uint32_t BestRankValue(const uint8_t counts[13], bool shortDeck)
{
    uint32_t present = 0;
    uint32_t pairs = 0;  // ranks held at least twice
    uint32_t trips = 0;  // ranks held at least three times
    int quad = -1;
    int cards = 0;
    for (int r = 0; r < 13; ++r) {
        const int c = counts[r];
        if (c > 4) {
            return 0;
        }
        cards += c;
        present |= (c > 0 ? 1u : 0u) << r;
        pairs |= (c >= 2 ? 1u : 0u) << r;
        trips |= (c >= 3 ? 1u : 0u) << r;
        if (c == 4) {
            quad = r;
        }
    }
    if (cards < 5) {
        return 0;
    }
    int k[5] = {};
    if (quad >= 0) {
        TakeRanks(present & ~(1u << quad), 1, k);
        return Finish(MakeValue(kQuads, quad, k[0]), shortDeck);
    }
    if (trips) {
        int t = 0;
        TakeRanks(trips, 1, &t);
        const uint32_t rest = pairs & ~(1u << t);
        if (rest) {
            int p = 0;
            TakeRanks(rest, 1, &p);
            return Finish(MakeValue(kFullHouse, t, p), shortDeck);
        }
    }
    const int straight = StraightTop(present, shortDeck);
    // Three of a kind outranks a straight in the short deck, so the straight only
    // wins there when no rank is held three times.
    if (straight >= 0 && !(shortDeck && trips)) {
        return Finish(MakeValue(kStraight, straight), shortDeck);
    }
    if (trips) {
        int t = 0;
        TakeRanks(trips, 1, &t);
        TakeRanks(present & ~(1u << t), 2, k);
        return Finish(MakeValue(kTrips, t, k[0], k[1]), shortDeck);
    }
    if (pairs) {
        int p[2] = {};
        if (TakeRanks(pairs, 2, p) == 2) {
            TakeRanks(present & ~(1u << p[0] | 1u << p[1]), 1, k);
            return Finish(MakeValue(kTwoPair, p[0], p[1], k[0]), shortDeck);
        }
        TakeRanks(present & ~(1u << p[0]), 3, k);
        return Finish(MakeValue(kOnePair, p[0], k[0], k[1], k[2]), shortDeck);
    }
    TakeRanks(present, 5, k);
    return Finish(MakeValue(kHighCard, k[0], k[1], k[2], k[3], k[4]), shortDeck);
}

uint32_t BestFlushValue(uint32_t mask, bool shortDeck)
{
    if (__builtin_popcount(mask) < 5) {
        return 0;
    }
    const int top = StraightTop(mask, shortDeck);
    if (top >= 0) {
        return Finish(MakeValue(kStraightFlush, top), shortDeck);
    }
    int k[5] = {};
    TakeRanks(mask, 5, k);
    return Finish(MakeValue(kFlush, k[0], k[1], k[2], k[3], k[4]), shortDeck);
}

}  // namespace ostrand
