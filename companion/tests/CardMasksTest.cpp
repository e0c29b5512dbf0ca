#include "companion/CardMasks.h"

#include "companion/CCard.h"

#include <gtest/gtest.h>

TEST(CardMasksTest, ListAndMaskRoundTrip)
{
    const std::vector<int> cards = {51, 0, 34, 12};
    const uint64_t mask = VecToInt64(cards);
    EXPECT_EQ(mask, (1ull << 51) | 1ull | (1ull << 34) | (1ull << 12));
    int out[52];
    int n = -1;
    EXPECT_EQ(Int64ToArray(mask, n, out), 4);
    EXPECT_EQ(n, 4);
    EXPECT_EQ(std::vector<int>(out, out + n), (std::vector<int>{0, 12, 34, 51}));
}

TEST(CardMasksTest, OutOfRangeCardsAreIgnored)
{
    const int cards[] = {-1, 52, 5, 5};
    EXPECT_EQ(ArrayToInt64(4, cards), 1ull << 5);
    int out[52];
    int n = 0;
    EXPECT_EQ(Int64ToArray(~0ull, n, out), 52);
}

TEST(CardMasksTest, IsExistLooksOnlyAtTheFirstN)
{
    const int values[] = {3, 9, 27};
    EXPECT_TRUE(isExist(9, values, 3));
    EXPECT_FALSE(isExist(27, values, 2));
    EXPECT_FALSE(isExist(3, values, 0));
}

TEST(CardMasksTest, CardRecordFields)
{
    const CCard ace(L'A', L'h');
    EXPECT_EQ(ace.rank, 1);
    EXPECT_EQ(ace.suit, 2);
    EXPECT_EQ(ace.Number(), 38);
    EXPECT_EQ(CCard(L'T', L'd').Number(), 21);
    EXPECT_EQ(CCard(L'?', L'd').Number(), -1);
}
