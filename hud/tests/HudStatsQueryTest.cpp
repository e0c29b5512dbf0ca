#include "hud/HudStatsQuery.h"

#include "hud/tests/CommaLocale.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <ctime>

namespace {

// The query as a reader writes it down, with the condition of the game kind.
std::wstring Golden(const std::wstring& gameCondition)
{
    return L"select gametypes.idgamekind as game, gametypes.bigblind as bb, count(*) as n, "
           L"sum(case when hp.flag_vpip_opp then 1 else 0 end) as vpip_opp, "
           L"sum(case when hp.flag_vpip then 1 else 0 end) as vpip, "
           L"sum(case when hp.flag_pf_pfr_opp then 1 else 0 end) as pfr_opp, "
           L"sum(case when hp.flag_pf_pfr then 1 else 0 end) as pfr, "
           L"sum(case when hp.flag_pf_3bet_opp then 1 else 0 end) as p3b_opp, "
           L"sum(case when hp.flag_pf_3bet then 1 else 0 end) as p3b, "
           L"sum(case when hp.flag_pf_4bet_opp then 1 else 0 end) as p4b_opp, "
           L"sum(case when hp.flag_pf_4bet then 1 else 0 end) as p4b, "
           L"sum(case when hp.flag_pf_face_3bet then 1 else 0 end) as p3b_face, "
           L"sum(case when hp.flag_pf_fold_3bet then 1 else 0 end) as p3b_fold, "
           L"sum(case when hp.flag_pf_face_4bet then 1 else 0 end) as p4b_face, "
           L"sum(case when hp.flag_pf_fold_4bet then 1 else 0 end) as p4b_fold, "
           L"sum(case when hp.flag_pf_face_steal and hp.position = 10 then 1 else 0 end) as "
           L"stealBB_face, "
           L"sum(case when hp.flag_pf_fold_steal  and hp.position = 10 then 1 else 0 end) as "
           L"stealBB_fold, "
           L"sum(case when hp.flag_pf_raise_first_in_opp then 1 else 0 end) as R1_opp, "
           L"sum(case when hp.flag_pf_raise_first_in then 1 else 0 end) as R1, "
           L"sum(case when hp.flag_fp_cbet_opp then 1 else 0 end) as fp_cbet_opp, "
           L"sum(case when hp.flag_fp_cbet then 1 else 0 end) as fp_cbet, "
           L"sum(case when hp.flag_fp_face_cbet then 1 else 0 end) as fp_face_cbet, "
           L"sum(case when hp.flag_fp_fold_cbet then 1 else 0 end) as fp_fold_cbet, "
           L"sum(case when hp.flag_tn_cbet_opp then 1 else 0 end) as tn_cbet_opp, "
           L"sum(case when hp.flag_tn_cbet then 1 else 0 end) as tn_cbet, "
           L"sum(case when hp.flag_tn_face_cbet then 1 else 0 end) as tn_face_cbet, "
           L"sum(case when hp.flag_tn_fold_cbet then 1 else 0 end) as tn_fold_cbet, "
           L"sum(case when hp.flag_rv_cbet_opp then 1 else 0 end) as rv_cbet_opp, "
           L"sum(case when hp.flag_rv_cbet then 1 else 0 end) as rv_cbet, "
           L"sum(case when hp.flag_rv_face_cbet then 1 else 0 end) as rv_face_cbet, "
           L"sum(case when hp.flag_rv_fold_cbet then 1 else 0 end) as rv_fold_cbet, "
           L"sum(case when hp.flag_wtsd_opp then 1 else 0 end) as wtsd_opp, "
           L"sum(case when hp.flag_wtsd then 1 else 0 end) as wtsd, "
           L"sum(case when hp.flag_won_wtsd then 1 else 0 end) as wtsd_won "
           L"from hands as h,gametypes,handsplayers as hp where (h.idgametype = gametypes.id and "
           L"h.id = hp.idhand) and hp.idplayer = 4711 and (\"localtime\" > 1675206000)" +
           gameCondition + L" group by gametypes.idgamekind, gametypes.bigblind, hp.idplayer";
}

TEST(HudStatsQueryTest, TheQueryOfEveryGameKindIsExactlyTheSpecifiedText)
{
    EXPECT_EQ(HudStatsQuery(4711, 1675206000, 0, 50),
              Golden(L"AND (gametypes.idgamekind between 6 and 8)"));
    EXPECT_EQ(HudStatsQuery(4711, 1675206000, 1, 50),
              Golden(L"and (gametypes.idgamekind between 9 and 11)"));
    EXPECT_EQ(HudStatsQuery(4711, 1675206000, 2, 50), Golden(L"and (gametypes.idgamekind = 13)"));
    EXPECT_EQ(HudStatsQuery(4711, 1675206000, 3, 50),
              Golden(L"and (gametypes.idgamekind between 14 and 15)"));
    EXPECT_EQ(HudStatsQuery(4711, 1675206000, 4, 50), Golden(L"and (gametypes.idgamekind = 16)"));
    EXPECT_EQ(HudStatsQuery(4711, 1675206000, 5, 50),
              Golden(L"and (gametypes.idgamekind between 17 and 18)"));
    EXPECT_EQ(HudStatsQuery(4711, 1675206000, 6, 50), Golden(L" AND (gametypes.bigblind=50)"));
    EXPECT_EQ(HudStatsQuery(4711, 1675206000, -1, 25), Golden(L" AND (gametypes.bigblind=25)"));
}

// Seconds of local midnight of the given day.
int64_t LocalMidnight(int year, int month, int day)
{
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_isdst = -1;
    return static_cast<int64_t>(std::mktime(&tm));
}

int64_t LocalNoon(int year, int month, int day)
{
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = 12;
    tm.tm_isdst = -1;
    return static_cast<int64_t>(std::mktime(&tm));
}

TEST(HudPeriodStartTest, ThePeriodStartsOnTheFirstOfTheMonthMonthsBack)
{
    const int64_t now = LocalNoon(2023, 8, 27);
    EXPECT_EQ(HudPeriodStart(now, 6), LocalMidnight(2023, 2, 1));
    EXPECT_EQ(HudPeriodStart(now, 0), LocalMidnight(2023, 8, 1));
    EXPECT_EQ(HudPeriodStart(now, 12), LocalMidnight(2022, 8, 1));
    EXPECT_EQ(HudPeriodStart(now, 8), LocalMidnight(2022, 12, 1));
    EXPECT_EQ(HudPeriodStart(LocalNoon(2024, 1, 1), 1), LocalMidnight(2023, 12, 1));
    // A month ahead counts from the next month on.
    EXPECT_EQ(HudPeriodStart(now, -1), LocalMidnight(2023, 9, 1));
}

TEST(HudPeriodStartTest, AStartBefore1970IsNoStart)
{
    const int64_t now = LocalNoon(2023, 8, 27);
    EXPECT_FALSE(HudPeriodStart(now, 12 * 54 + 8).has_value());
    EXPECT_FALSE(HudPeriodStart(now, INT_MAX).has_value());
    EXPECT_TRUE(HudPeriodStart(now, 12 * 53).has_value());
}

TEST(HudPeriodStartTest, TheMonthsAreReadAsTheCLibraryReadsANumber)
{
    EXPECT_EQ(HudCacheMonths(L"6"), 6);
    EXPECT_EQ(HudCacheMonths(L" 12 months"), 12);
    EXPECT_EQ(HudCacheMonths(L"-3"), -3);
    EXPECT_EQ(HudCacheMonths(L"six"), 0);
    EXPECT_EQ(HudCacheMonths(L""), 0);
    EXPECT_EQ(HudCacheMonths(L"99999999999999"), INT_MAX);
}

CHudStatsRow Row(int64_t n,
                 int64_t vpip,
                 int64_t vpipOpp,
                 int64_t pfr,
                 int64_t pfrOpp,
                 int64_t p3b,
                 int64_t p3bOpp,
                 int64_t p4b,
                 int64_t p4bOpp)
{
    return {n, vpip, vpipOpp, pfr, pfrOpp, p3b, p3bOpp, p4b, p4bOpp};
}

TEST(HudStatsTextTest, TheTextHoldsFourLettersTheHandsAndFourShares)
{
    EXPECT_EQ(FormatHudStatsText(L"Bluefish", Row(42, 3, 10, 2, 10, 1, 20, 0, 0)),
              L"Blue 42 30.0 20.0 5.0 0.0\n");
    EXPECT_EQ(FormatHudStatsText(L"Marlin", Row(10, 3, 10, 2, 10, 0, 0, 1, 2)),
              L"Marl 10 30.0 20.0 0.0 50.0\n");
    EXPECT_EQ(FormatHudStatsText(L"Eel", Row(1, 1, 1, 0, 1, 0, 0, 0, 0)),
              L"Eel 1 100.0 0.0 0.0 0.0\n");
    // One decimal, rounded as the C library rounds: 2/3 is 66.7, 1/8 is 12.5.
    EXPECT_EQ(FormatHudStatsText(L"Ray", Row(3, 2, 3, 1, 8, 0, 0, 0, 0)),
              L"Ray 3 66.7 12.5 0.0 0.0\n");
    EXPECT_EQ(FormatHudStatsText(L"Bluefish", Row(0, 0, 0, 0, 0, 0, 0, 0, 0)), L"");
}

TEST(HudStatsTextTest, NamesAreNeverCutInsideACharacter)
{
    EXPECT_EQ(FirstCharacters(L"\u674E\u5C0F\u9F8D\u738B\u5927", 4), L"\u674E\u5C0F\u9F8D\u738B");
    EXPECT_EQ(FirstCharacters(L"\u041F\u0451\u0442\u0440\u0438\u043A", 4),
              L"\u041F\u0451\u0442\u0440");
    // A letter with a combining accent is one character.
    EXPECT_EQ(FirstCharacters(L"Jose\u0301 Luis", 4), L"Jose\u0301");
    EXPECT_EQ(FirstCharacters(L"e\u0301e\u0301e\u0301e\u0301e\u0301", 4),
              L"e\u0301e\u0301e\u0301e\u0301");
    // Emoji beyond 16 bits, with a skin tone, a family joined by ZWJ, a flag.
    EXPECT_EQ(FirstCharacters(L"\U0001F41F\U0001F420\U0001F421\U0001F988\U0001F419", 4),
              L"\U0001F41F\U0001F420\U0001F421\U0001F988");
    EXPECT_EQ(FirstCharacters(L"\U0001F44D\U0001F3FDab\U0001F44D", 3), L"\U0001F44D\U0001F3FDab");
    const std::wstring family = L"\U0001F468\u200D\U0001F469\u200D\U0001F467";
    EXPECT_EQ(FirstCharacters(family + L"xyz", 2), family + L"x");
    EXPECT_EQ(FirstCharacters(L"\U0001F1E9\U0001F1EA\U0001F1EB\U0001F1F7ab", 3),
              L"\U0001F1E9\U0001F1EA\U0001F1EB\U0001F1F7a");
    EXPECT_EQ(FirstCharacters(L"Ab", 4), L"Ab");
    EXPECT_EQ(FirstCharacters(L"", 4), L"");
}

TEST(HudStatsTextTest, ACommaDecimalLocaleStillGivesPoints)
{
    vxtest::CCommaLocale locale;
    if (!locale.Ok()) {
        GTEST_SKIP() << "no comma-decimal locale: " << locale.Reason();
    }
    char printed[32];
    std::snprintf(printed, sizeof printed, "%.1f", 30.0);
    ASSERT_STREQ(printed, "30,0") << "the locale does not write decimal commas";
    EXPECT_EQ(FormatHudStatsText(L"Marlin", Row(10, 3, 10, 2, 10, 0, 0, 1, 2)),
              L"Marl 10 30.0 20.0 0.0 50.0\n");
}

}  // namespace
