#include "foundation/CStatDefinitions.h"
#include "foundation/Currency.h"
#include "foundation/LocalTime.h"
#include "foundation/Money.h"
#include "foundation/Positions.h"
#include "foundation/Sites.h"

#include <gtest/gtest.h>

TEST(PositionsTest, SixHandedTableFromTheButton)
{
    const int expected[] = {kPosBtn, kPosSb, kPosBb, kPosMp2, kPosMp3, kPosCo};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(PositionFromButtonDistance(i, 6), expected[i]) << i;
    }
}

TEST(PositionsTest, TenHandedStartsAtUtg1AndThreeHandedHasOnlyBlinds)
{
    EXPECT_EQ(PositionFromButtonDistance(3, 10), kPosUtg1);
    EXPECT_EQ(PositionFromButtonDistance(9, 10), kPosCo);
    EXPECT_EQ(PositionFromButtonDistance(0, 3), kPosBtn);
    EXPECT_EQ(PositionFromButtonDistance(2, 3), kPosBb);
}

TEST(PositionsTest, HeadsUpButtonIsSmallBlind)
{
    EXPECT_EQ(PositionFromButtonDistance(0, 2), kPosSb);
    EXPECT_EQ(PositionFromButtonDistance(1, 2), kPosBb);
    EXPECT_EQ(PositionName(kPosSb), L"SB");
    EXPECT_EQ(PositionName(42), L"NONE");
}

TEST(CurrencyTest, TextForms)
{
    EXPECT_EQ(CurrencyFromText(L"$"), kCurrencyUsd);
    EXPECT_EQ(CurrencyFromText(L"EURO"), kCurrencyEur);
    EXPECT_EQ(CurrencyFromText(L"\u20AC"), kCurrencyEur);
    EXPECT_EQ(CurrencyFromText(L"\u00A3"), kCurrencyGbp);
    EXPECT_EQ(CurrencyFromText(L"CNY"), kCurrencyCny);
    EXPECT_EQ(CurrencyFromText(L"\u00A5"), kCurrencyUnknown);
    EXPECT_EQ(CurrencyFromText(L"\u00A5", true), kCurrencyCny);
    EXPECT_EQ(CurrencyFromText(L"INR"), kCurrencyUnknown);
}

TEST(MoneyTest, AmountsRoundToCents)
{
    EXPECT_EQ(AmountToCents(L"0.02"), 2);
    EXPECT_EQ(AmountToCents(L"0.29"), 29);
    EXPECT_EQ(AmountToCents(L"1.15"), 115);
    EXPECT_EQ(AmountToCents(L"12"), 1200);
    EXPECT_EQ(AmountToCents(L"1,234.50", true), 123450);
    EXPECT_EQ(AmountToCents(L"1,234.50"), 100);
    EXPECT_EQ(AmountToCents(L"abc"), 0);
    EXPECT_EQ(AmountToCents(L"99999999999"), 2147483647);
}

TEST(SitesTest, RoomNameGivesSiteCodeThroughDefinitions)
{
    CStatDefinitions defs;
    defs.LoadFromText(R"({"sites": [
        {"id": 7, "name": "SITE_GGPOKER", "description": "GGPoker", "notation": "GG"},
        {"id": 8, "name": "SITE_UNKNOWN", "description": "Odd Room"}]})");
    EXPECT_EQ(SiteCodeFromRoomName(L"GGPoker", defs), kSiteGGPoker);
    EXPECT_EQ(SiteCodeFromRoomName(L"ggpoker", defs), kSiteNone);
    EXPECT_EQ(SiteCodeFromRoomName(L"Odd Room", defs), kSiteNone);
    EXPECT_EQ(SiteCodeFromSymbolicName(L"SITE_SUPREMA"), 13);
}

TEST(SitesTest, MissingSitesSectionGivesCodeZero)
{
    CStatDefinitions defs;
    defs.LoadFromText(R"({"handstats": []})");
    EXPECT_EQ(SiteCodeFromRoomName(L"PokerStars", defs), kSiteNone);
}

TEST(LocalTimeTest, RejectsImpossibleFieldsAndNormalisesDayOverflow)
{
    EXPECT_FALSE(LocalDateTimeToSeconds(2023, 13, 1, 0, 0, 0));
    EXPECT_FALSE(LocalDateTimeToSeconds(2023, 1, 1, 24, 0, 0));
    const auto feb30 = LocalDateTimeToSeconds(2023, 2, 30, 12, 0, 0);
    const auto mar2 = LocalDateTimeToSeconds(2023, 3, 2, 12, 0, 0);
    ASSERT_TRUE(feb30 && mar2);
    EXPECT_EQ(*feb30, *mar2);
}

TEST(LocalTimeTest, OffsetIsWholeQuarterHours)
{
    const int64_t l = MeasureLocalUtcOffset();
    EXPECT_EQ(l % 900, 0);
    EXPECT_LE(std::abs(l), 14 * 3600);
}
