#include "foundation/Cards.h"

#include <gtest/gtest.h>

TEST(CardsTest, NamesFollowSuitTimesThirteenPlusRank)
{
    EXPECT_STREQ(kCardNames[0], L"2c");
    EXPECT_STREQ(kCardNames[12], L"Ac");
    EXPECT_STREQ(kCardNames[34], L"Th");
    EXPECT_STREQ(kCardNames[51], L"As");
    for (int c = 0; c < kCardCount; ++c) {
        EXPECT_EQ(CardFromName(CardName(c)), c) << c;
    }
    EXPECT_EQ(CardName(52), L"??");
    EXPECT_EQ(kPartialCardNames.back(), std::wstring(L"Xx"));
}

TEST(CardsTest, TenIsReadFromBothSpellings)
{
    std::vector<int> cards;
    CardsFromText(L"10h Th", cards);
    EXPECT_EQ(cards, (std::vector<int>{34, 34}));
}

TEST(CardsTest, ListsKeepTextOrderAndSkipOtherPieces)
{
    std::vector<int> cards;
    CardsFromText(L"As, Kd, 7c xx 2 Qsx 4h 5h,6h", cards);
    // "Qsx" is three letters not starting "10": read from its first two; the
    // pieces are cut at blanks only, so "5h,6h" is no card.
    EXPECT_EQ(CardsToText(cards), L"As Kd 7c Qs 4h");
}

TEST(CardsTest, BracketLeftOnPieceSpoilsOnlyALeadingBracket)
{
    std::vector<int> cards;
    CardsFromText(L"[Ah Kh]", cards);
    EXPECT_EQ(CardsToText(cards), L"Kh");
}

TEST(CardsTest, EmptyAndDoubleBlanksGiveNothingExtra)
{
    std::vector<int> cards;
    CardsFromText(L"", cards);
    CardsFromText(L"  Ac  ", cards);
    EXPECT_EQ(CardsToText(cards), L"Ac");
}

TEST(CardsTest, RankSuitMatchesCardRecordConvention)
{
    const CRankSuit ace = RankSuitFromLetters(L'A', L's');
    EXPECT_EQ(ace.rank, 1);
    EXPECT_EQ(ace.suit, 3);
    EXPECT_EQ(CardNumber(ace), 51);
    EXPECT_EQ(RankSuitFromLetters(L'2', L'c').rank, 2);
    EXPECT_EQ(RankSuitFromLetters(L'K', L'x').suit, -1);
    EXPECT_EQ(CardNumber(RankSuitFromLetters(L'1', L'c')), -1);
}
