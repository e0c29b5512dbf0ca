#include "app/CVeltrixView.h"

#include "app/CFontHelper.h"
#include "app/CPlayerListModel.h"
#include "app/tests/CFrameHarness.h"
#include "app/widgets/CFListCtrl.h"
#include "foundation/CMemoryProfile.h"

#include <gtest/gtest.h>

#include <QHeaderView>

#include <ctime>

TEST(CVeltrixViewTest, AnEmptyProfileGivesSixteenClassicColumnsOf150InTahoma)
{
    CFrameHarness h;
    CVeltrixView* view = h.Frame().NewPlayerList();
    CFListCtrl* list = view->List();
    const QStringList titles = {"Player Name", "Hands", "VPIP",  "PFR",  "nPFR", "3Bet",
                                "nCC",         "CC",    "nLimp", "LC",   "LR",   "FtR",
                                "n3Bet",       "4Bet",  "C3Bet", "F3Bet"};
    for (int c = 0; c < titles.size(); ++c) {
        EXPECT_EQ(list->ColumnTitle(c), titles[c]);
        EXPECT_EQ(list->GetColumnWidth(c), 150) << c;
    }
    EXPECT_EQ(list->ColumnTitle(16), "WTSD");
    EXPECT_EQ(list->ColumnTitle(17), "W$SD");
    EXPECT_EQ(list->ColumnTitle(18), "Net won");
    EXPECT_EQ(list->ColumnTitle(19), "bb/100");
    EXPECT_EQ(view->Font().LogFont(), CFontRecord{});
    EXPECT_EQ(list->font().family(), "Tahoma");
    EXPECT_EQ(list->font().pixelSize(), 11);
    EXPECT_EQ(list->GetBkColor(), QColor(53, 53, 53));
    EXPECT_EQ(list->GetTextColor(), QColor(Qt::white));
}

TEST(CVeltrixViewTest, ColumnWidthsAndTheFontComeBackAtTheNextStart)
{
    {
        CFrameHarness h;
        CVeltrixView* view = h.Frame().NewPlayerList();
        view->List()->SetColumnWidth(0, 220);
        view->List()->SetColumnWidth(2, 64);
        view->SaveColumnWidths();
        EXPECT_EQ(h.profile.GetProfileInt(L"Column Settings", L"c00", 0), 220);
        EXPECT_EQ(h.profile.GetProfileInt(L"Column Settings", L"c02", 0), 64);
        EXPECT_EQ(h.profile.GetProfileInt(L"Column Settings", L"c15", 0), 150);
    }
    CFrameHarness h([&](CMainFrameContext& c) {
        c.profile.WriteProfileInt(L"Column Settings", L"c00", 220);
        c.profile.WriteProfileInt(L"Column Settings", L"c02", 64);
        c.profile.WriteProfileString(L"Settings", L"FontObjectsDesc",
                                     L"-15:0:0:0:700:1:0:0:1:1:2:0:2");
        c.profile.WriteProfileString(L"Settings", L"FontObjects_Name", L"DejaVu Sans");
    });
    CVeltrixView* view = h.Frame().NewPlayerList();
    EXPECT_EQ(view->List()->GetColumnWidth(0), 220);
    EXPECT_EQ(view->List()->GetColumnWidth(2), 64);
    EXPECT_EQ(view->List()->GetColumnWidth(1), 150);
    const QFont font = view->List()->font();
    EXPECT_EQ(font.family(), "DejaVu Sans");
    EXPECT_EQ(font.pixelSize(), 15);
    EXPECT_TRUE(font.bold());
    EXPECT_TRUE(font.italic());
}

TEST(CVeltrixViewTest, TheFontIsStoredWhenTheViewGoes)
{
    CFrameHarness h;
    {
        CVeltrixView view(*h.context);
        view.OnInitialUpdate();
    }
    EXPECT_EQ(h.profile.GetProfileString(L"Settings", L"FontObjectsDesc", L""),
              L"-11:0:0:0:400:0:0:0:1:1:2:0:2");
    EXPECT_EQ(h.profile.GetProfileString(L"Settings", L"FontObjects_Name", L""), L"Tahoma");
}

TEST(CFontHelperTest, ADescWithoutThirteenNumbersOrWithoutANameKeepsTheDefault)
{
    CMemoryProfile profile;
    CFontHelper font(profile, L"Settings", L"FontObjects");
    profile.WriteProfileString(L"Settings", L"FontObjectsDesc", L"-15:0:0:0:700:1");
    profile.WriteProfileString(L"Settings", L"FontObjects_Name", L"Arial");
    EXPECT_FALSE(font.Load());
    EXPECT_EQ(font.LogFont(), CFontRecord{});
    profile.WriteProfileString(L"Settings", L"FontObjectsDesc", L"a:b:c");
    EXPECT_FALSE(font.Load());
    profile.WriteProfileString(L"Settings", L"FontObjectsDesc", L"-15:0:0:0:700:1:0:0:1:1:2:0:2");
    profile.WriteProfileString(L"Settings", L"FontObjects_Name", L"");
    EXPECT_FALSE(font.Load());
    EXPECT_EQ(font.LogFont(), CFontRecord{});
    profile.WriteProfileString(L"Settings", L"FontObjects_Name", L"Arial");
    EXPECT_TRUE(font.Load());
    EXPECT_EQ(font.LogFont().height, -15);
    EXPECT_EQ(font.LogFont().weight, 700);
    EXPECT_EQ(font.LogFont().faceName, L"Arial");
    EXPECT_EQ(CFontHelper::FormatDesc(font.LogFont()), L"-15:0:0:0:700:1:0:0:1:1:2:0:2");
}

TEST(CFontHelperTest, AFontBeyondReasonDrawsWithoutCrashing)
{
    CMemoryProfile profile;
    CFontHelper font(profile, L"Settings", L"FontObjects");
    profile.WriteProfileString(L"Settings", L"FontObjectsDesc",
                               L"-999999:0:0:0:99999:0:0:0:1:1:2:0:2");
    profile.WriteProfileString(L"Settings", L"FontObjects_Name", L"No Such Face");
    EXPECT_TRUE(font.Load());
    const QFont f = font.Font();
    EXPECT_EQ(f.family(), "No Such Face");
    EXPECT_NE(f.pixelSize(), 999999);
}

TEST(CVeltrixViewTest, PeriodsStartOnTheFirstOfTheirMonth)
{
    std::tm t{};
    t.tm_year = 2023 - 1900;
    t.tm_mon = 7;
    t.tm_mday = 27;
    t.tm_hour = 15;
    t.tm_isdst = -1;
    const int64_t now = static_cast<int64_t>(std::mktime(&t));
    const auto day = [](int64_t seconds) {
        const std::time_t s = static_cast<std::time_t>(seconds);
        std::tm local{};
        localtime_r(&s, &local);
        return QStringLiteral("%1-%2-%3 %4:%5")
            .arg(local.tm_year + 1900)
            .arg(local.tm_mon + 1)
            .arg(local.tm_mday)
            .arg(local.tm_hour)
            .arg(local.tm_min);
    };
    using P = CVeltrixView::Period;
    EXPECT_EQ(CVeltrixView::PeriodStart(P::AllTime, now), 0);
    EXPECT_EQ(day(CVeltrixView::PeriodStart(P::ThisMonth, now)), "2023-8-1 0:0");
    EXPECT_EQ(day(CVeltrixView::PeriodStart(P::LastSixMonths, now)), "2023-2-1 0:0");
    EXPECT_EQ(day(CVeltrixView::PeriodStart(P::LastTwelveMonths, now)), "2022-8-1 0:0");
    EXPECT_EQ(day(CVeltrixView::PeriodStart(P::ThisYear, now)), "2023-1-1 0:0");
}

TEST(CPlayerListModelTest, PercentagesWithoutAChanceShowADashAndSortBelowZero)
{
    kroStats::CPlayerListRow row;
    row.name = L"Alice";
    row.counts.hands = 10;
    row.counts.vpip = 3;
    row.counts.vpipOpp = 10;
    row.counts.pfr = 2;
    row.counts.pfrOpp = 10;
    row.counts.fourBet = 1;
    row.counts.fourBetOpp = 2;
    row.counts.netWonCents = -1250;
    row.counts.netWonBigBlinds = -25;
    EXPECT_EQ(CPlayerListModel::Text(row, CPlayerListModel::kVpip), "30.0");
    EXPECT_EQ(CPlayerListModel::Text(row, CPlayerListModel::kPfr), "20.0");
    EXPECT_EQ(CPlayerListModel::Text(row, CPlayerListModel::k3Bet), "-");
    EXPECT_EQ(CPlayerListModel::SortValue(row, CPlayerListModel::k3Bet), -1.0);
    EXPECT_EQ(CPlayerListModel::Text(row, CPlayerListModel::k4Bet), "50.0");
    EXPECT_EQ(CPlayerListModel::Text(row, CPlayerListModel::kNetWon), "-12.50");
    EXPECT_EQ(CPlayerListModel::Text(row, CPlayerListModel::kBbPer100), "-250.0");
    EXPECT_EQ(CPlayerListModel::Text(row, CPlayerListModel::kHands), "10");
}
