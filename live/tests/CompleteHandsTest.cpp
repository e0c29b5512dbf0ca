#include "live/CompleteHands.h"

#include <gtest/gtest.h>

TEST(CompleteHandsTest, HandsEndWithTheEmptyLinesAfterThem)
{
    const std::vector<std::wstring> lines = {L"PokerStars Hand #1", L"Seat 1: a", L"", L"",
                                             L"PokerStars Hand #2", L"Seat 1: a"};
    // The second hand has no empty line after it yet: it may go on.
    EXPECT_EQ(CompleteHandLines(lines), 4u);
}

TEST(CompleteHandsTest, AHandFollowedByAnEmptyLineIsComplete)
{
    EXPECT_EQ(CompleteHandLines({L"PokerStars Hand #1", L"Seat 1: a", L" \t"}), 3u);
}

TEST(CompleteHandsTest, LinesWithoutAnEmptyLineAfterThemAreHeld)
{
    EXPECT_EQ(CompleteHandLines({L"PokerStars Hand #1", L"*** HOLE CARDS ***"}), 0u);
    EXPECT_EQ(CompleteHandLines({}), 0u);
}

TEST(CompleteHandsTest, EmptyLinesAloneAreTakenAtOnce)
{
    EXPECT_EQ(CompleteHandLines({L"", L""}), 2u);
    EXPECT_EQ(CompleteHandLines({L"", L"PokerStars Hand #1"}), 1u);
    EXPECT_FALSE(HasText({L"", L"  "}));
    EXPECT_TRUE(HasText({L"", L"x"}));
}
