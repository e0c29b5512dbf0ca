#include "stats/CPlayerListQuery.h"

#include "companion/CDatabase.h"
#include "db/CDbContext.h"
#include "db/DatabaseAdmin.h"
#include "foundation/CStatDefinitions.h"
#include "foundation/ILogSink.h"
#include "foundation/IUserNotifier.h"
#include "testing/PgTestServer.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using kroStats::CPlayerListFilter;
using kroStats::CPlayerListRow;

namespace {

class CQuiet : public ILogSink, public IUserNotifier
{
public:
    void Log(const std::wstring&) override {}
    void Output(const std::wstring&) override {}
    void Trace(const std::wstring&) override {}
    void Notify(const std::wstring& text) override { shown.push_back(text); }
    std::vector<std::wstring> shown;
};

// One hand player as the flags store it.
struct CSeat
{
    int player;
    std::wstring flags;
    int netwin = 0;
};

}  // namespace

class CPlayerListQueryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        VX_REQUIRE_PG(m_server);
        m_definitions.LoadStatTypes(std::string(VX_SOURCE_DIR) + "/data/predeftypes.json");
        m_db = std::make_unique<kroDB::CDbContext>(m_definitions, m_quiet, m_quiet);
        ASSERT_TRUE(m_db->AllocateEnvironment().IsOk());
        m_name = vxtest::UniqueDatabaseName("vxplayers");
        m_connect = m_server.ConnectString(m_name);
        ASSERT_TRUE(kroDB::CreateDatabase(*m_db, m_connect));
        m_conn = std::make_unique<CDatabase>(m_db->Environment());
        ASSERT_TRUE(m_conn->Open(m_connect).IsOk());
        Exec(
            L"insert into players(idplayer,name,idsite,hero) values (1,'Alice',1,false),"
            L"(2,'Bob',1,false),(3,'Chen',1,false),(4,'Dora''s',6,false)");
        Exec(
            L"insert into gametypes(id,idsite,currency,type,idgamekind,maxseats,mix,smallblind,"
            L"bigblind,ante,fast) values (1,1,0,1,7,6,0,50,100,0,false)");
    }

    void TearDown() override
    {
        if (m_name.empty()) {
            return;
        }
        m_conn.reset();
        (void)kroDB::DropDatabase(*m_db, m_connect);
    }

    void Exec(const std::wstring& sql) { ASSERT_TRUE(m_conn->ExecuteSQL(sql).IsOk()) << sql; }

    // A hand at local time `when` with the preflop action string `actions`.
    void Hand(int id, int64_t when, const std::wstring& actions, const std::vector<CSeat>& seats)
    {
        Exec(L"insert into hands(id,idgametype,\"localtime\",utc,str_pf_actions) values (" +
             std::to_wstring(id) + L",1," + std::to_wstring(when) + L"," + std::to_wstring(when) +
             L"," + (actions.empty() ? L"null" : L"'" + actions + L"'") + L")");
        for (const CSeat& seat : seats) {
            std::wstring columns = L"id,idhand,idplayer,netwin";
            std::wstring values = std::to_wstring(++m_rowId) + L"," + std::to_wstring(id) + L"," +
                                  std::to_wstring(seat.player) + L"," +
                                  std::to_wstring(seat.netwin);
            size_t start = 0;
            while (start < seat.flags.size()) {
                const size_t end = seat.flags.find(L' ', start);
                const std::wstring flag = seat.flags.substr(
                    start, end == std::wstring::npos ? std::wstring::npos : end - start);
                if (!flag.empty()) {
                    columns += L"," + flag;
                    values += L",true";
                }
                start = end == std::wstring::npos ? seat.flags.size() : end + 1;
            }
            Exec(L"insert into handsplayers(" + columns + L") values (" + values + L")");
        }
    }

    std::map<std::wstring, CPlayerListRow> Load(const CPlayerListFilter& filter = {})
    {
        std::vector<CPlayerListRow> rows;
        const CStatus status = kroStats::LoadPlayerList(*m_conn, filter, rows);
        EXPECT_TRUE(status.IsOk()) << std::string(status.Message().begin(), status.Message().end());
        std::map<std::wstring, CPlayerListRow> byName;
        for (auto& row : rows) {
            byName[row.name] = row;
        }
        return byName;
    }

    vxtest::CPgTestServer m_server;
    CQuiet m_quiet;
    CStatDefinitions m_definitions;
    std::unique_ptr<kroDB::CDbContext> m_db;
    std::unique_ptr<CDatabase> m_conn;
    std::string m_name;
    std::wstring m_connect;
    int m_rowId = 0;
};

TEST_F(CPlayerListQueryTest, CountsTheStoredFlagsOfEveryPlayer)
{
    // Alice opens and is 3-bet by Bob; she folds. Chen folds.
    Hand(1, 1000, L"0000001R0000002R0000003L0000001L",
         {{1,
           L"flag_vpip_opp flag_vpip flag_pf_pfr_opp flag_pf_pfr flag_pf_4bet_opp "
           L"flag_pf_face_3bet flag_pf_fold_3bet",
           -300},
          {2, L"flag_vpip_opp flag_vpip flag_pf_pfr_opp flag_pf_pfr flag_pf_3bet_opp flag_pf_3bet",
           400},
          {3, L"flag_vpip_opp flag_pf_pfr_opp flag_pf_3bet_opp", -100}});
    // Alice limps and calls Bob's raise; Chen cold calls; to showdown, Bob wins.
    Hand(2, 2000, L"0000001P0000002R0000003P0000001P",
         {{1, L"flag_vpip_opp flag_vpip flag_pf_pfr_opp flag_pf_3bet_opp flag_wtsd_opp flag_wtsd",
           -500},
          {2,
           L"flag_vpip_opp flag_vpip flag_pf_pfr_opp flag_pf_pfr flag_wtsd_opp flag_wtsd "
           L"flag_won_wtsd",
           1000},
          {3, L"flag_vpip_opp flag_vpip flag_pf_pfr_opp flag_pf_3bet_opp flag_wtsd_opp", -500}});
    // A walk: no action string.
    Hand(3, 3000, L"", {{1, L"flag_vpip_opp flag_pf_3bet_opp"}, {2, L""}});

    auto rows = Load();
    ASSERT_EQ(rows.size(), 3u);
    const auto& alice = rows[L"Alice"].counts;
    EXPECT_EQ(alice.hands, 3);
    EXPECT_EQ(alice.vpip, 2);
    EXPECT_EQ(alice.vpipOpp, 3);
    EXPECT_EQ(alice.pfr, 1);
    EXPECT_EQ(alice.pfrOpp, 2);
    EXPECT_EQ(alice.face3Bet, 1);
    EXPECT_EQ(alice.fold3Bet, 1);
    EXPECT_EQ(alice.call3Bet, 0);
    EXPECT_EQ(alice.limp, 1);
    EXPECT_EQ(alice.limpFacedRaise, 1);
    EXPECT_EQ(alice.limpCall, 1);
    EXPECT_EQ(alice.coldCallOpp, 0);
    EXPECT_EQ(alice.wtsd, 1);
    EXPECT_EQ(alice.wonAtShowdown, 0);
    EXPECT_EQ(alice.netWonCents, -800);
    EXPECT_DOUBLE_EQ(alice.netWonBigBlinds, -8.0);
    EXPECT_NEAR(kroStats::Vpip(alice), 66.67, 0.01);
    EXPECT_NEAR(kroStats::BigBlindsPer100(alice), -266.67, 0.01);

    const auto& bob = rows[L"Bob"].counts;
    EXPECT_EQ(bob.threeBet, 1);
    EXPECT_EQ(bob.threeBetOpp, 1);
    EXPECT_EQ(bob.limp, 0);
    EXPECT_EQ(bob.coldCallOpp, 1);
    EXPECT_EQ(bob.coldCall, 0);
    EXPECT_EQ(bob.wonAtShowdown, 1);
    EXPECT_DOUBLE_EQ(kroStats::WonAtShowdown(bob), 100.0);

    const auto& chen = rows[L"Chen"].counts;
    EXPECT_EQ(chen.coldCallOpp, 2);
    EXPECT_EQ(chen.coldCall, 1);
    EXPECT_DOUBLE_EQ(kroStats::ColdCall(chen), 50.0);
    EXPECT_EQ(chen.wtsdOpp, 1);
    EXPECT_EQ(chen.wtsd, 0);
}

TEST_F(CPlayerListQueryTest, TheRoomAndThePeriodNarrowTheHands)
{
    Hand(1, 1000, L"", {{1, L"flag_vpip_opp"}, {4, L"flag_vpip_opp flag_vpip"}});
    Hand(2, 5000, L"", {{1, L"flag_vpip_opp flag_vpip"}});
    EXPECT_EQ(Load().size(), 2u);
    CPlayerListFilter room;
    room.siteId = 6;
    auto rows = Load(room);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows.begin()->first, L"Dora's");
    CPlayerListFilter period;
    period.fromLocalTime = 2000;
    rows = Load(period);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[L"Alice"].counts.hands, 1);
    EXPECT_EQ(rows[L"Alice"].counts.vpip, 1);
}

TEST_F(CPlayerListQueryTest, AnEmptyDatabaseGivesNoRowsAndACancelStopsEarly)
{
    EXPECT_TRUE(Load().empty());
    Hand(1, 1000, L"", {{1, L""}, {2, L""}, {3, L""}});
    std::atomic<bool> cancel{true};
    std::vector<CPlayerListRow> rows;
    EXPECT_TRUE(kroStats::LoadPlayerList(*m_conn, {}, rows, &cancel).IsOk());
    EXPECT_TRUE(rows.empty());
}

TEST(PlayerStatisticsTest, APercentageWithoutChancesIsZero)
{
    kroStats::CPlayerCounts c;
    EXPECT_EQ(kroStats::Vpip(c), 0.0);
    EXPECT_EQ(kroStats::BigBlindsPer100(c), 0.0);
    c.pfr = 1;
    c.pfrOpp = 4;
    EXPECT_EQ(kroStats::Pfr(c), 25.0);
    c.fourBet = 1;
    c.fourBetOpp = 2;
    EXPECT_EQ(kroStats::FourBet(c), 50.0);
}

TEST(CountPreflopActionsTest, ReadsFirstActionsAndLimpersAnswersAndSurvivesBadText)
{
    std::map<int32_t, kroStats::CPlayerCounts> counts;
    const auto countsOf = [&counts](int32_t id) { return &counts[id]; };
    // An 8-digit id, a limp answered by a fold, a cold call and a raise.
    kroStats::CountPreflopActions(L"10000000P0000002R0000003P10000000L", countsOf);
    EXPECT_EQ(counts[0x10000000].limp, 1);
    EXPECT_EQ(counts[0x10000000].limpFacedRaise, 1);
    EXPECT_EQ(counts[0x10000000].limpFold, 1);
    EXPECT_EQ(counts[2].coldCallOpp, 0);
    EXPECT_EQ(counts[3].coldCallOpp, 1);
    EXPECT_EQ(counts[3].coldCall, 1);
    // Nothing of this is a token, or the player is not counted: no crash.
    for (const wchar_t* text : {L"", L"P", L"RRRR", L"0000001", L"zzzz0000001P",
                                L"ffffffffffffffffffffP", L"0000001P0000001P0000001P"}) {
        kroStats::CountPreflopActions(text, countsOf);
        kroStats::CountPreflopActions(text, [](int32_t) { return nullptr; });
    }
    // "zzzz0000001P" still holds one limp; the last string a limp and a call.
    EXPECT_EQ(counts[1].limp, 2);
    EXPECT_EQ(counts[1].limpCall, 1);
}
