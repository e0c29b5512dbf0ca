// How the evaluators encode a hand: one comparable integer, higher wins. Private to
// the companion library; callers compare values and ask Get_rankFsm5 for the category.
#pragma once

#include <cstdint>

namespace ostrand {

// Categories as Get_rankFsm5 reports them.
enum HandCategory : int
{
    kNoHand = 0,
    kHighCard = 1,
    kOnePair = 2,
    kTwoPair = 3,
    kTrips = 4,
    kStraight = 5,
    kFlush = 6,
    kFullHouse = 7,
    kQuads = 8,
    kStraightFlush = 9,
};

inline constexpr int kCategoryShift = 20;
inline constexpr int kOrderShift = 24;

// Bits 20..23 hold the category and bits 0..19 up to five rank indexes (0 deuce ..
// 12 ace), the most significant first, so that values of one category compare by
// their ranks in poker order.
constexpr uint32_t MakeValue(int category, int r0, int r1 = 0, int r2 = 0, int r3 = 0, int r4 = 0)
{
    return static_cast<uint32_t>(category) << kCategoryShift | static_cast<uint32_t>(r0) << 16 |
           static_cast<uint32_t>(r1) << 12 | static_cast<uint32_t>(r2) << 8 |
           static_cast<uint32_t>(r3) << 4 | static_cast<uint32_t>(r4);
}

constexpr int CategoryOf(uint32_t value)
{
    return static_cast<int>(value >> kCategoryShift & 0xF);
}

// Short-deck games rank a flush above a full house and three of a kind above a
// straight. Their values carry that order in bits 24..27, above the category, so
// the plain integer comparison still decides and the category stays readable.
constexpr uint32_t WithShortDeckOrder(uint32_t value)
{
    constexpr uint8_t kOrder[10] = {0, 1, 2, 3, 5, 4, 7, 6, 8, 9};
    return value == 0 ? 0 : value | static_cast<uint32_t>(kOrder[CategoryOf(value)]) << kOrderShift;
}

}  // namespace ostrand
