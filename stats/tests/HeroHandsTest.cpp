// The hero's stored hands as the session graph reads them, from a real
// database: who counts as hero, which EV counts, the time window and order.
#include "stats/HeroHands.h"

#include "companion/CDatabase.h"
#include "db/CDbContext.h"
#include "db/DatabaseAdmin.h"
#include "db/IConnection.h"
#include "foundation/CStatDefinitions.h"
#include "foundation/ILogSink.h"
#include "foundation/IUserNotifier.h"
#include "foundation/WideText.h"
#include "testing/PgTestServer.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class CQuietSink : public ILogSink, public IUserNotifier
{
public:
    void Log(const std::wstring&) override {}
    void Output(const std::wstring&) override {}
    void Trace(const std::wstring&) override {}
    void Notify(const std::wstring& text) override { notices.push_back(text); }
    std::vector<std::wstring> notices;
};

class HeroHandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        VX_REQUIRE_PG(m_server);
        ASSERT_TRUE(
            m_definitions.LoadStatTypes(std::string(VX_SOURCE_DIR) + "/data/predeftypes.json"));
        m_db = std::make_unique<kroDB::CDbContext>(m_definitions, m_sink, m_sink);
        ASSERT_TRUE(m_db->AllocateEnvironment().IsOk());
        m_name = vxtest::UniqueDatabaseName("vxhero");
        m_connect = m_server.ConnectString(m_name);
        ASSERT_TRUE(kroDB::CreateDatabase(*m_db, m_connect));
        m_db->SetConnectStrings(m_connect);
    }

    void TearDown() override
    {
        if (m_db && !m_name.empty()) {
            kroDB::CDbContext admin(m_definitions, m_sink, m_sink);
            (void)admin.AllocateEnvironment();
            m_db.reset();
            (void)kroDB::DropDatabase(admin, m_connect);
        }
    }

    void Run(const std::wstring& sql)
    {
        kroDB::CConnectionLease connection(m_db->AcquireConnection(false));
        ASSERT_TRUE(connection);
        ASSERT_TRUE(connection->Execute(sql)) << ToUtf8(sql);
    }

    // One hand at `utc` in a game of `currency` where `player` won `netwin`
    // with the all-in EV `allinev` reached on `street` (0: no all-in).
    void AddHand(int64_t id,
                 int64_t utc,
                 int currency,
                 int player,
                 int netwin,
                 const wchar_t* allinev,
                 int street)
    {
        Run(FormatW(
            L"insert into gametypes (id, idsite, currency) values (%lld, 1, %d) on conflict "
            L"do nothing;",
            static_cast<long long>(100 + currency), currency));
        Run(
            FormatW(L"insert into hands (id, idgametype, utc, \"localtime\") values (%lld, %d, "
                    L"%lld, %lld);",
                    static_cast<long long>(id), 100 + currency, static_cast<long long>(utc),
                    static_cast<long long>(utc)));
        Run(
            FormatW(L"insert into handsplayers (id, idhand, idplayer, netwin, allinev, "
                    L"val_allin_street) values (%lld, %lld, %d, %d, %ls, %d);",
                    static_cast<long long>(id * 10 + player), static_cast<long long>(id), player,
                    netwin, allinev, street));
    }

    vxtest::CPgTestServer m_server;
    CStatDefinitions m_definitions;
    CQuietSink m_sink;
    std::unique_ptr<kroDB::CDbContext> m_db;
    std::string m_name;
    std::wstring m_connect;
};

TEST_F(HeroHandsTest, OnlyTheHeroesHandsOfTheWindowInPlayOrderWithTheirMoneyAndEv)
{
    Run(L"insert into players (idplayer, name, idsite, hero) values (1, 'Hero', 1, TRUE), (2, "
        L"'Villain', 1, FALSE), (3, 'HeroOnGG', 2, TRUE), (4, 'Unknown', 1, NULL);");
    // Played out of id order: the order is the time of play.
    AddHand(1, 1000, 0, 1, 250, L"NULL", 0);
    AddHand(2, 900, 0, 1, -400, L"-130", 2);   // all in on the flop: EV counts
    AddHand(3, 1100, 1, 3, 75, L"999", 0);     // a stale EV without an all-in does not
    AddHand(4, 1050, 0, 2, 500, L"NULL", 0);   // the villain's
    AddHand(5, 1060, 0, 4, 500, L"NULL", 0);   // a player never marked
    AddHand(6, 1200, 0, 1, 10, L"NULL", 0);    // outside the window
    AddHand(7, 899, 0, 1, 10, L"NULL", 0);     // outside the window
    AddHand(8, 1150, 0, 1, -300, L"NULL", 1);  // all in, but no EV stored: the money

    const auto hands = LoadHeroHands(*m_db, 900, 1200);
    ASSERT_TRUE(hands.has_value());
    const std::vector<CHeroHand> expected = {
        {2, 900, 0, -400, -130},
        {1, 1000, 0, 250, 250},
        {3, 1100, 1, 75, 75},
        {8, 1150, 0, -300, -300},
    };
    EXPECT_EQ(*hands, expected);

    const auto none = LoadHeroHands(*m_db, 2000, 3000);
    ASSERT_TRUE(none.has_value());
    EXPECT_TRUE(none->empty());
}

TEST_F(HeroHandsTest, AnUnreachableDatabaseGivesNothingRatherThanAnEmptyDay)
{
    m_db->SetConnectStrings(m_server.ConnectString(m_name + "_gone"));
    EXPECT_FALSE(LoadHeroHands(*m_db, 0, 2000000000).has_value());
    m_db->SetConnectStrings(m_connect);
}

TEST(HeroHandsDayTest, TheDayMovesByTheLocalOffsetOfTheStoredTimes)
{
    // 2023-08-05 00:00 in a zone two hours east of UTC.
    const auto [from, to] = StoredUtcRangeOfDay(1691186400, 86400, 7200);
    EXPECT_EQ(from, 1691186400 - 7200);
    EXPECT_EQ(to, 1691186400 + 86400 - 7200);
    // A daylight-saving day of 23 hours.
    const auto [from2, to2] = StoredUtcRangeOfDay(1000, 82800, 0);
    EXPECT_EQ(to2 - from2, 82800);
}

}  // namespace
