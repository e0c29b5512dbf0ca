#include "live/CompleteHands.h"

#include <gtest/gtest.h>

TEST(CompleteHandsTest, HandsEndWithTheEmptyLinesAfterThem)
{
    const std::vector<std::wstring> lines = {L"PokerStars Hand #1", L"Seat 1: a", L"", L"",
                                             L"PokerStars Hand #2", L"Seat 1: a"};
    // The second hand has no empty line after it yet: it may go on.
    EXPECT_EQ(CompleteHandLines(lines), 4u);
}

TEST(CompleteHandsTest, AHandIsCompleteWhenAnEmptyLineFollowsItsSummary)
{
    EXPECT_EQ(CompleteHandLines({L"PokerStars Hand #1: x", L"Seat 1: a", L"*** SUMMARY ***",
                                 L"Total pot $1 | Rake $0", L"Seat 1: a collected ($1)", L" \t"}),
              6u);
    // An empty line before the summary does not end the hand: the client may
    // write more of it after any pause.
    EXPECT_EQ(
        CompleteHandLines({L"PokerStars Hand #1: x", L"Seat 1: a", L"", L"*** HOLE CARDS ***"}),
        0u);
    EXPECT_EQ(CompleteHandLines({L"PokerStars Hand #1: x", L"Seat 1: a", L" \t"}), 0u);
}

TEST(CompleteHandsTest, AHandStoppedInsideItsSummaryIsHeld)
{
    EXPECT_EQ(CompleteHandLines({L"PokerStars Hand #1: x", L"*** SUMMARY ***"}), 0u);
    EXPECT_EQ(CompleteHandLines(
                  {L"PokerStars Hand #1: x", L"*** SUMMARY ***", L"Total pot $1 | Rake $0"}),
              0u);
}

TEST(CompleteHandsTest, TheNextHandCompletesTheOneBeforeWhateverItLacks)
{
    // Cut off before its summary: the parser decides what it is worth.
    EXPECT_EQ(CompleteHandLines({L"PokerStars Hand #1: x", L"Seat 1: a",
                                 L"PokerStars Zoom Hand #2: y", L"*** SUMMARY ***"}),
              2u);
    EXPECT_EQ(CompleteHandLines({L"*********** # 1 **************", L"PokerStars Game #7: z",
                                 L"*** SUMMARY ***", L"", L"", L"PokerStars Home Game Hand #8: w"}),
              5u);
}

TEST(CompleteHandsTest, LinesWithoutAnEmptyLineAfterThemAreHeld)
{
    EXPECT_EQ(CompleteHandLines({L"PokerStars Hand #1", L"*** HOLE CARDS ***"}), 0u);
    EXPECT_EQ(CompleteHandLines({}), 0u);
}

TEST(CompleteHandsTest, ALayoutWithoutKnownStartLinesEndsHandsAtEmptyLines)
{
    EXPECT_EQ(CompleteHandLines({L"#Game No : 1", L"x", L"", L"#Game No : 2", L"y"}), 3u);
}

TEST(CompleteHandsTest, HandStartLinesOfTheLiveLayouts)
{
    EXPECT_TRUE(IsLiveHandStart(L"PokerStars Hand #204330103607:  Hold'em No Limit"));
    EXPECT_TRUE(IsLiveHandStart(L"PokerStars Zoom Hand #1: x"));
    EXPECT_TRUE(IsLiveHandStart(L"PokerStars Home Game Hand #1: x"));
    EXPECT_TRUE(IsLiveHandStart(L"PokerStars Game #1: x"));
    EXPECT_TRUE(IsLiveHandStart(L"UPoker Hand #1: x"));
    EXPECT_FALSE(IsLiveHandStart(L"Seat 1: Hand #1 ($5 in chips)"));
    EXPECT_FALSE(IsLiveHandStart(L"*** SUMMARY ***"));
    EXPECT_FALSE(IsLiveHandStart(L""));
}

TEST(CompleteHandsTest, EmptyLinesAloneAreTakenAtOnce)
{
    EXPECT_EQ(CompleteHandLines({L"", L""}), 2u);
    EXPECT_EQ(CompleteHandLines({L"", L"PokerStars Hand #1"}), 1u);
    EXPECT_FALSE(HasText({L"", L"  "}));
    EXPECT_TRUE(HasText({L"", L"x"}));
}
