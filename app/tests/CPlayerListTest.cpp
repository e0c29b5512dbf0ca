#include "app/CPlayerListModel.h"
#include "app/CVeltrixView.h"
#include "app/tests/CPgFrameFixture.h"
#include "app/widgets/CFListCtrl.h"
#include "db/SqlText.h"
#include "db/tables/CActionList.h"
#include "foundation/WideText.h"
#include "parser/CHandHistoryImporter.h"
#include "parser/CParseContext.h"
#include "parser/CParserEnvironment.h"
#include "testing/TestPaths.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QSignalSpy>
#include <QSortFilterProxyModel>

class CPlayerListTest : public CPgFrameFixture
{
protected:
    int Import(const std::string& relative, const std::wstring& room)
    {
        m_h->Db().SetConnectStrings(m_connect);
        kroDB::CActionList actions;
        kroHandParser::CParseContext context;
        kroHandParser::CParserEnvironment env(m_h->Db(), actions, context, m_h->Core().Log(),
                                              *m_h->notifier, kroHandParser::CParseSettings{});
        kroHandParser::CHandHistoryImporter importer(env);
        int64_t fileId = 0;
        int currency = 0;
        int64_t position = 0;
        return importer.ImportHandHistoryFile(vxtest::CorpusFile(relative), fileId, currency,
                                              position, room, 0);
    }

    CVeltrixView* OpenList()
    {
        CVeltrixView* view = m_h->Frame().NewPlayerList();
        EXPECT_TRUE(WaitFor([view] { return !view->Loading() && view->Model()->rowCount() > 0; }));
        return view;
    }
};

TEST_F(CPlayerListTest, FilledFromTheDatabaseAndSortedByVpip)
{
    VX_REQUIRE_CORPUS();
    MakeFrame();
    CreateDatabase();
    ASSERT_GT(Import("pokerstars/PokerStudier_HH6.txt", L"PokerStars"), 100);
    ASSERT_GT(Import("ggpoker/PLO-6max-USD-0.01-0.02-202104.STP.txt", L"GGPoker"), 0);
    CVeltrixView* view = OpenList();
    QSortFilterProxyModel* proxy = view->Proxy();
    const std::wstring players = Scalar(L"select count(distinct idplayer) from handsplayers");
    EXPECT_EQ(std::to_wstring(view->Model()->rowCount()), players);
    EXPECT_TRUE(view->StatusText().contains("players")) << view->StatusText().toStdString();

    view->List()->sortByColumn(CPlayerListModel::kVpip, Qt::DescendingOrder);
    double previous = 1000;
    for (int row = 0; row < proxy->rowCount(); ++row) {
        const double vpip =
            proxy->index(row, CPlayerListModel::kVpip).data(CPlayerListModel::kSortRole).toDouble();
        EXPECT_LE(vpip, previous) << row;
        previous = vpip;
    }
    // The top player's VPIP is their voluntary hands over their chances, as
    // the stored flags say.
    const QString top = proxy->index(0, CPlayerListModel::kName).data().toString();
    const std::wstring name = L"'" + kroDB::SqlEscape(top.toStdWString()) + L"'";
    const std::wstring expected = Scalar(
        L"select to_char(100.0 * sum(case when flag_vpip then 1 else 0 end) / "
        L"nullif(sum(case when flag_vpip_opp then 1 else 0 end), 0), 'FM990.0') from "
        L"handsplayers hp join players p on p.idplayer = hp.idplayer where p.name = " +
        name);
    EXPECT_EQ(proxy->index(0, CPlayerListModel::kVpip).data().toString().toStdWString(), expected);

    view->List()->sortByColumn(CPlayerListModel::kVpip, Qt::AscendingOrder);
    previous = -10;
    for (int row = 0; row < proxy->rowCount(); ++row) {
        const double vpip =
            proxy->index(row, CPlayerListModel::kVpip).data(CPlayerListModel::kSortRole).toDouble();
        EXPECT_GE(vpip, previous);
        previous = vpip;
    }
}

TEST_F(CPlayerListTest, TheRoomAndTheNameNarrowTheList)
{
    VX_REQUIRE_CORPUS();
    MakeFrame();
    CreateDatabase();
    ASSERT_GT(Import("pokerstars/PokerStudier_HH6.txt", L"PokerStars"), 100);
    ASSERT_GT(Import("ggpoker/PLO-6max-USD-0.01-0.02-202104.STP.txt", L"GGPoker"), 0);
    CVeltrixView* view = OpenList();
    const int all = view->Model()->rowCount();
    QSignalSpy loaded(view, &CVeltrixView::Loaded);
    view->SetRoom(6);  // GGPoker's id in the sites table
    view->Refresh();
    ASSERT_TRUE(loaded.wait(20000));
    const int gg = view->Model()->rowCount();
    EXPECT_GT(gg, 0);
    EXPECT_LT(gg, all);
    EXPECT_EQ(std::to_wstring(gg),
              Scalar(L"select count(distinct hp.idplayer) from handsplayers hp join players p on "
                     L"p.idplayer = hp.idplayer where p.idsite = 6"));
    const QString someone = view->Model()->index(0, 0).data().toString();
    view->SetNameFilter(someone.left(3).toUpper());
    EXPECT_GE(view->Proxy()->rowCount(), 1);
    for (int row = 0; row < view->Proxy()->rowCount(); ++row) {
        EXPECT_TRUE(view->Proxy()->index(row, 0).data().toString().contains(someone.left(3),
                                                                            Qt::CaseInsensitive));
    }
    view->SetNameFilter(QStringLiteral("no such player at all"));
    EXPECT_EQ(view->Proxy()->rowCount(), 0);
    view->SetNameFilter(QString());
    EXPECT_EQ(view->Proxy()->rowCount(), gg);
    EXPECT_TRUE(view->ToCsv().startsWith("Player Name,Hands,VPIP,PFR,"));
}

TEST_F(CPlayerListTest, AMissingDatabaseLeavesAnEmptyListWithAReason)
{
    MakeFrame();
    CVeltrixView* view = m_h->Frame().NewPlayerList();
    ASSERT_TRUE(WaitFor([view] { return view->StatusText().contains("cannot be read"); }));
    EXPECT_EQ(view->Model()->rowCount(), 0);
    EXPECT_TRUE(view->StatusText().contains("cannot be read")) << view->StatusText().toStdString();
}
