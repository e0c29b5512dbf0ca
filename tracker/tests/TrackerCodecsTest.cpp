// The tracker's stored and shown text forms, its currency table and its
// settings as a whole against the profile.
#include "tracker/TrackerCodecs.h"

#include "foundation/CMemoryProfile.h"
#include "tracker/CCurrencyTable.h"
#include "tracker/CTrackerSettings.h"

#include <gtest/gtest.h>

#include <clocale>

namespace {

const std::vector<CWindowRect> kOneScreen = {{0, 0, 1920, 1080}};

TEST(TrackerCodecsTest, SessionTimesShowWholeHoursAndTwoDigitMinutes)
{
    EXPECT_EQ(FormatSessionTime(0), L"00:00");
    EXPECT_EQ(FormatSessionTime(59), L"00:00");
    EXPECT_EQ(FormatSessionTime(3 * 3600 + 5 * 60 + 59), L"03:05");
    EXPECT_EQ(FormatSessionTime(25 * 3600), L"25:00");
    EXPECT_EQ(FormatSessionTime(125 * 3600 + 60), L"125:01");
    // A clock set back shows no negative time.
    EXPECT_EQ(FormatSessionTime(-300), L"00:00");
}

TEST(TrackerCodecsTest, AmountsShowTwoDecimalsWhateverTheLocale)
{
    // The desktop program runs in the user's locale; a decimal comma there
    // must not reach the figures or the profile.
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old != nullptr ? old : "C";
    (void)std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    EXPECT_EQ(FormatCents(-1234), L"-12.34");
    EXPECT_EQ(FormatCents(1338), L"13.38");
    EXPECT_EQ(FormatCents(-5), L"-0.05");
    EXPECT_EQ(FormatCents(0), L"0.00");
    EXPECT_EQ(FormatCents(INT32_MIN), L"-21474836.48");
    EXPECT_EQ(FormatMoneyParam(1, 1000, -1000), L"1:1000.00:-1000.00");
    EXPECT_EQ(FormatTwoDecimals(2.345), L"2.35");
    (void)std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(TrackerCodecsTest, WindowRectanglesReadAsFarAsTheyHoldNumbers)
{
    EXPECT_EQ(ParseWindowRect(L"10:20:310:180"), (CWindowRect{10, 20, 310, 180}));
    EXPECT_EQ(ParseWindowRect(L"1:2"), (CWindowRect{1, 2, 0, 0}));
    EXPECT_EQ(ParseWindowRect(L"1:x:3:4"), (CWindowRect{1, 0, 0, 0}));
    EXPECT_EQ(ParseWindowRect(L""), (CWindowRect{}));
    EXPECT_EQ(FormatWindowRect({-20, -10, 280, 150}), L"-20:-10:280:150");
}

TEST(TrackerCodecsTest, AStoredRectangleComesBackOnScreenAndWithAUsableSize)
{
    // No rectangle: the top left corner at the start size.
    EXPECT_EQ(RestoreWindowRect(L"", kOneScreen), (CWindowRect{0, 0, 300, 160}));
    // Negative edges move to 0 and take the opposite edge with them.
    EXPECT_EQ(RestoreWindowRect(L"-20:-10:280:150", kOneScreen), (CWindowRect{0, 0, 300, 160}));
    // Two numbers only: the corner is kept, the size is the start size
    // (not an empty window at 1, 2).
    EXPECT_EQ(RestoreWindowRect(L"1:2", kOneScreen), (CWindowRect{1, 2, 301, 162}));
    EXPECT_EQ(RestoreWindowRect(L"garbage", kOneScreen), (CWindowRect{0, 0, 300, 160}));
    // A user's own size is kept.
    EXPECT_EQ(RestoreWindowRect(L"100:100:500:300", kOneScreen), (CWindowRect{100, 100, 500, 300}));
    // Saved on a second screen that is gone: back onto the one there is.
    EXPECT_EQ(RestoreWindowRect(L"2500:900:2800:1060", kOneScreen),
              (CWindowRect{1620, 900, 1920, 1060}));
    EXPECT_EQ(RestoreWindowRect(L"500:1070:800:1230", kOneScreen),
              (CWindowRect{500, 920, 800, 1080}));
    // Larger than any screen: the start size.
    EXPECT_EQ(RestoreWindowRect(L"0:0:5000:160", kOneScreen), (CWindowRect{0, 0, 300, 160}));
    // With two screens it stays on the one that holds most of it.
    const std::vector<CWindowRect> two = {{0, 0, 1920, 1080}, {1920, 0, 3840, 1080}};
    EXPECT_EQ(RestoreWindowRect(L"2500:100:2800:260", two), (CWindowRect{2500, 100, 2800, 260}));
    EXPECT_EQ(RestoreWindowRect(L"3700:100:4000:260", two), (CWindowRect{3540, 100, 3840, 260}));
    // Extreme numbers do not overflow.
    EXPECT_EQ(RestoreWindowRect(L"-2147483648:-2147483648:2147483647:2147483647", kOneScreen),
              (CWindowRect{0, 0, 300, 160}));
}

TEST(TrackerCodecsTest, AlarmParametersKeepTheirDefaultsForFieldsThatCannotBeRead)
{
    int on = 0;
    int value = 700;
    ParseIntPair(L"1:250", on, value);
    EXPECT_EQ(on, 1);
    EXPECT_EQ(value, 250);
    on = 0;
    value = 60;
    ParseIntPair(L"1", on, value);
    EXPECT_EQ(on, 1);
    EXPECT_EQ(value, 60);
    ParseIntPair(L"", on, value);
    EXPECT_EQ(on, 1);

    int moneyOn = 0;
    double profit = 1000;
    double loss = -1000;
    ParseMoneyParam(L"1:250.5:-75", moneyOn, profit, loss);
    EXPECT_EQ(moneyOn, 1);
    EXPECT_DOUBLE_EQ(profit, 250.5);
    EXPECT_DOUBLE_EQ(loss, -75);
    ParseMoneyParam(L"0:300", moneyOn, profit, loss);
    EXPECT_EQ(moneyOn, 0);
    EXPECT_DOUBLE_EQ(profit, 300);
    EXPECT_DOUBLE_EQ(loss, -75);
}

TEST(TrackerCodecsTest, TheAlarmTimeMustBeFourDigits)
{
    EXPECT_EQ(ParseAlarmTime(L"01:30"), 90);
    EXPECT_EQ(ParseAlarmTime(L"00:00"), 0);
    EXPECT_EQ(ParseAlarmTime(L"25:00"), 1500);
    EXPECT_EQ(ParseAlarmTime(L"__:__"), -1);
    EXPECT_EQ(ParseAlarmTime(L"1_:30"), -1);
    EXPECT_EQ(ParseAlarmTime(L"01:3_"), -1);
    EXPECT_EQ(ParseAlarmTime(L" 01:30 "), 90);
    EXPECT_EQ(FormatAlarmTime(90), L"01:30");
    EXPECT_EQ(FormatAlarmTime(60), L"01:00");
}

TEST(CCurrencyTableTest, RatesConvertIntoTheDisplayCurrency)
{
    CCurrencyTable table;
    EXPECT_EQ(table.DisplayCurrency(), 0);
    EXPECT_DOUBLE_EQ(table.Rate(1), 1.12);
    EXPECT_EQ(table.ToDisplay(0, -1234), -1234);
    EXPECT_EQ(table.ToDisplay(1, 1000), 1120);
    EXPECT_EQ(table.ToDisplay(2, 100), 142);
    // A currency without a rate counts nothing and gets an entry.
    EXPECT_FALSE(table.HasEntry(3));
    EXPECT_EQ(table.ToDisplay(3, 5000), 0);
    EXPECT_TRUE(table.HasEntry(3));
    // A decimal comma is read as the point it means; text is no number.
    table.SetRateText(1, L" 1,25 ");
    EXPECT_EQ(table.At(1).text, L"1,25");
    EXPECT_DOUBLE_EQ(table.Rate(1), 1.25);
    table.SetRateText(2, L"abc");
    EXPECT_DOUBLE_EQ(table.Rate(2), 0.0);

    const wchar_t* const* eur = CCurrencyTable::DefaultRates(1);
    EXPECT_STREQ(eur[0], L"0.89");
    EXPECT_STREQ(eur[1], L"1.00");
    EXPECT_STREQ(eur[2], L"1.27");
}

TEST(CTrackerSettingsTest, AnEmptyProfileGivesTheDefaults)
{
    CMemoryProfile profile;
    CTrackerSettings s;
    s.Load(profile, [](const std::wstring&) { return true; });
    const CTrackerSettings defaults;
    EXPECT_EQ(s.background, 3617341);
    EXPECT_EQ(s.colors, defaults.colors);
    EXPECT_EQ(s.fonts[0], CLogFont{});
    EXPECT_EQ(s.opacity, 100);
    EXPECT_EQ(s.handsCount, 700);
    EXPECT_DOUBLE_EQ(s.takeProfit, 1000);
    EXPECT_DOUBLE_EQ(s.stopLoss, -1000);
    EXPECT_EQ(s.timeMinutes, 60);
    EXPECT_EQ(s.TimeAlarmText(), L"01:00");
    EXPECT_EQ(s.autoPauseMin, 3);
    EXPECT_EQ(s.currency.At(2).text, L"1.42");
}

TEST(CTrackerSettingsTest, WhatIsSavedIsLoadedAndMissingSoundFilesAreDropped)
{
    CMemoryProfile profile;
    CTrackerSettings s;
    s.runOnStart = 1;
    s.autoPause = 1;
    s.autoPauseMin = 12;
    s.background = 0x203040;
    s.colors[2] = 0x0000FF;
    s.fonts[3].faceName = L"Liberation Sans Narrow";
    s.fonts[3].height = -30;
    s.opacity = 65;
    s.handsAlarm = 1;
    s.handsCount = 250;
    s.handsSound = L"/sounds/there.wav";
    s.moneyAlarm = 1;
    s.takeProfit = 300;
    s.stopLoss = -150;
    s.profitSound = L"/sounds/gone.wav";
    s.takeProfitOn = 1;
    s.trailingStopLoss = 1;
    s.timeAlarm = 1;
    s.timeMinutes = 90;
    s.currency.SetDisplayCurrency(1);
    s.currency.SetRateText(0, L"0.91");
    s.Save(profile);

    CTrackerSettings back;
    back.Load(profile, [](const std::wstring& file) { return file == L"/sounds/there.wav"; });
    EXPECT_EQ(back.runOnStart, 1);
    EXPECT_EQ(back.autoPauseMin, 12);
    EXPECT_EQ(back.background, 0x203040);
    EXPECT_EQ(back.colors, s.colors);
    EXPECT_EQ(back.fonts, s.fonts);
    EXPECT_EQ(back.opacity, 65);
    EXPECT_EQ(back.handsCount, 250);
    EXPECT_EQ(back.handsSound, L"/sounds/there.wav");
    EXPECT_EQ(back.profitSound, L"");
    EXPECT_DOUBLE_EQ(back.takeProfit, 300);
    EXPECT_DOUBLE_EQ(back.stopLoss, -150);
    EXPECT_EQ(back.takeProfitOn, 1);
    EXPECT_EQ(back.trailingStopLoss, 1);
    EXPECT_EQ(back.TimeAlarmText(), L"01:30");
    EXPECT_EQ(back.currency.DisplayCurrency(), 1);
    EXPECT_EQ(back.currency.At(0).text, L"0.91");

    // A damaged font record and an opacity beyond 100.
    (void)profile.WriteProfileString(L"RoraRevirDlg_View", L"FontText4", L"broken");
    (void)profile.WriteProfileInt(L"RoraRevirDlg_View", L"Opacity", 250);
    back.Load(profile, nullptr);
    EXPECT_EQ(back.fonts[3], CLogFont{});
    EXPECT_EQ(back.opacity, 100);
}

}  // namespace
