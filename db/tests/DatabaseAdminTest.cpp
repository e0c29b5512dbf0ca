#include "db/Catalog.h"
#include "db/IConnection.h"
#include "db/SqlText.h"
#include "db/tables/CActionList.h"
#include "db/tables/kroGameTypes.h"
#include "db/tables/kroSites.h"
#include "db/tests/DbTestFixture.h"
#include "foundation/WideText.h"

#include <algorithm>
#include <chrono>
#include <set>
#include <thread>

using namespace kroDB;

class DatabaseAdminTest : public DbTestFixture
{
protected:
    std::wstring SchemaShape()
    {
        return Scalar(
            L"SELECT (SELECT count(*) FROM pg_tables WHERE schemaname='public') || '/' || "
            L"(SELECT count(*) FROM pg_indexes WHERE schemaname='public') || '/' || "
            L"(SELECT count(*) FROM information_schema.columns WHERE "
            L"table_schema='public') || '/' || (SELECT count(*) FROM actions) || '/' || "
            L"(SELECT count(*) FROM sites)");
    }
};

TEST_F(DatabaseAdminTest, CreateCheckCreateAgainUpgradeDrop)
{
    EXPECT_FALSE(CheckDatabase(*m_context, m_connect));
    ASSERT_TRUE(CreateDatabase(*m_context, m_connect));
    EXPECT_TRUE(CheckDatabase(*m_context, m_connect));
    const std::wstring shape = SchemaShape();
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM pg_tables WHERE schemaname='public'"), L"14");
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM pg_indexes WHERE indexname LIKE 'h%index%' OR "
                     L"indexname LIKE 'plindex1'"),
              L"11");
    // The same hand, player, game type, file and alias member are kept once by
    // the database itself.
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM pg_indexes WHERE indexname LIKE '%_same%' AND "
                     L"indexdef LIKE 'CREATE UNIQUE INDEX%'"),
              L"5");

    m_notifier.messages.clear();
    ASSERT_TRUE(CreateDatabase(*m_context, m_connect));
    EXPECT_EQ(m_notifier.messages, (std::vector<std::wstring>{L"Database already exists!"}));
    EXPECT_EQ(SchemaShape(), shape);

    ASSERT_TRUE(UpgradeDatabase(*m_context));
    EXPECT_EQ(SchemaShape(), shape);

    ASSERT_TRUE(DropDatabase(*m_context, m_connect));
    EXPECT_FALSE(CheckDatabase(*m_context, m_connect));
    EXPECT_FALSE(DropDatabase(*m_context, m_connect));
}

TEST_F(DatabaseAdminTest, StatisticColumnsFollowTheDefinitions)
{
    ASSERT_TRUE(CreateDatabase(*m_context, m_connect));
    EXPECT_TRUE(ColumnExists(*m_context, L"handsplayers", L"flag_vpip"));
    EXPECT_TRUE(ColumnExists(*m_context, L"hands", L"str_pf_actions"));
    EXPECT_TRUE(ColumnExists(*m_context, L"statcache", L"count_vpip"));
    EXPECT_TRUE(ColumnExists(*m_context, L"statcache", L"count_fp_aggr"));
    EXPECT_FALSE(ColumnExists(*m_context, L"statcache", L"count_allin_street"));
    EXPECT_FALSE(ColumnExists(*m_context, L"statcache", L"val_allin_street"));
    EXPECT_FALSE(ColumnExists(*m_context, L"handsplayers", L"flag_VPIP"));
    EXPECT_EQ(Scalar(L"SELECT data_type || ' ' || column_default FROM information_schema.columns "
                     L"WHERE table_name='handsplayers' AND column_name='flag_vpip'"),
              L"boolean false");
    EXPECT_EQ(Scalar(L"SELECT data_type || ' ' || column_default FROM information_schema.columns "
                     L"WHERE table_name='handsplayers' AND column_name='val_allin_street'"),
              L"integer 0");
    EXPECT_EQ(Scalar(L"SELECT data_type FROM information_schema.columns WHERE "
                     L"table_name='statcache' AND column_name='count_vpip'"),
              L"integer");
    EXPECT_TRUE(TableExists(*m_context, L"handsplayers"));
    EXPECT_FALSE(TableExists(*m_context, L"handsplayer"));
}

TEST_F(DatabaseAdminTest, CatalogueNamesAreExactTextAndDroppedColumnsAreGone)
{
    ASSERT_TRUE(CreateDatabase(*m_context, m_connect));
    // No pattern: "_" is a letter like any other, and a quote is text.
    EXPECT_FALSE(TableExists(*m_context, L"hand_"));
    EXPECT_FALSE(TableExists(*m_context, L"hands' OR ''='"));
    EXPECT_TRUE(ColumnNames(*m_context, L"hand_").empty());
    {
        CConnectionLease connection(m_context->AcquireConnection(true));
        ASSERT_TRUE(connection->Execute(L"CREATE VIEW recent AS SELECT id FROM hands"));
        ASSERT_TRUE(connection->Execute(L"ALTER TABLE pots ADD COLUMN gone integer"));
        ASSERT_TRUE(connection->Execute(L"ALTER TABLE pots DROP COLUMN gone"));
    }
    EXPECT_TRUE(TableExists(*m_context, L"recent"));
    EXPECT_EQ(ColumnNames(*m_context, L"pots"),
              (std::set<std::wstring>{L"idhand", L"potnum", L"amt"}));
}

TEST_F(DatabaseAdminTest, DefaultRowsOfActionsAndSites)
{
    ASSERT_TRUE(CreateDatabase(*m_context, m_connect));
    EXPECT_EQ(Scalar(L"SELECT name || '/' || code FROM actions WHERE id=15"),
              L"uncalled bet returns/UB");
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM actions"), L"33");
    CConnectionLease lease(m_context->AcquireConnection(true));
    CActionList actions;
    ASSERT_TRUE(actions.LoadActions(*m_context));
    EXPECT_EQ(actions.Entries().size(), 33u);
    EXPECT_EQ(actions.ActionByCode(L"ACO"), 30);
    kroSites::data site(*m_context);
    site.name = L"Run It Once Poker";
    ASSERT_TRUE(site.Load());
    EXPECT_EQ(site.code, L"RIO");
    kroSites::data byId(*m_context);
    byId.id = site.id;
    ASSERT_TRUE(byId.Load());
    EXPECT_EQ(byId.name, L"Run It Once Poker");
}

TEST_F(DatabaseAdminTest, NamesOfEveryScriptRoundTripThroughTheSharedConnection)
{
    ASSERT_TRUE(CreateDatabase(*m_context, m_connect));
    const std::wstring name = L"it's a \\ trap'; DROP TABLE players;-- Дмитрий 张伟 😀";
    CConnectionLease lease(m_context->AcquireConnection(true));
    ASSERT_TRUE(lease);
    ASSERT_TRUE(lease->Execute(L"INSERT INTO players (idplayer, name, idsite) VALUES (1, '" +
                               SqlEscape(name) + L"', 1)"));
    std::unique_ptr<CODBCRecordset> rs;
    ASSERT_TRUE(lease->OpenRecordset(L"SELECT name FROM players WHERE idplayer=1", rs));
    EXPECT_EQ(rs->Field(L"name").AsString(), name);
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM players"), L"1");
}

TEST_F(DatabaseAdminTest, DatabaseNameWithQuotesIsAnIdentifierNotSql)
{
    m_name = vxtest::UniqueDatabaseName("vx\"q'");
    m_connect = m_server.ConnectString(m_name);
    ASSERT_TRUE(CreateDatabase(*m_context, m_connect));
    EXPECT_TRUE(CheckDatabase(*m_context, m_connect));
    EXPECT_EQ(Scalar(L"SELECT current_database()"), std::wstring(m_name.begin(), m_name.end()));
}

TEST_F(DatabaseAdminTest, GameTypesAreFoundByTheirNaturalKey)
{
    ASSERT_TRUE(CreateDatabase(*m_context, m_connect));
    kroGameTypes::data slow(*m_context);
    slow.idsite = 1;
    slow.currency = 0;
    slow.idgamekind = 2;
    slow.bigblind = 10;
    slow.smallblind = 5;
    slow.maxseats = 6;
    ASSERT_TRUE(slow.FindOrInsert());
    EXPECT_EQ(slow.id, 1);
    kroGameTypes::data fast(*m_context);
    static_cast<CGameTypeRecord&>(fast) = slow;
    fast.id = 0;
    fast.fast = true;
    ASSERT_TRUE(fast.FindOrInsert());
    EXPECT_EQ(fast.id, 2);
    kroGameTypes::data again(*m_context);
    static_cast<CGameTypeRecord&>(again) = slow;
    again.id = 0;
    ASSERT_TRUE(again.FindOrInsert());
    EXPECT_EQ(again.id, 1);
    EXPECT_FALSE(again.Insert());
    ASSERT_TRUE(again.SetMaxSeats(9));
    EXPECT_EQ(Scalar(L"SELECT maxseats FROM gametypes WHERE id=1"), L"9");

    kroGameTypes::data nothing(*m_context);
    nothing.idsite = 0;
    nothing.idgamekind = 0;
    EXPECT_FALSE(nothing.Load());
    kroGameTypes::data unknownGame(*m_context);
    unknownGame.idsite = 1;
    unknownGame.idgamekind = 0;
    EXPECT_TRUE(unknownGame.FindOrInsert());
    EXPECT_TRUE(unknownGame.FindOrInsert());
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM gametypes"), L"3");
}

TEST_F(DatabaseAdminTest, EmptyConnectStringGivesAConnectionThatFailsEverything)
{
    IConnection* connection = m_context->AcquireConnection(true);
    ASSERT_NE(connection, nullptr);
    std::unique_ptr<CODBCRecordset> rs;
    EXPECT_FALSE(connection->Execute(L"SELECT 1"));
    EXPECT_FALSE(connection->OpenRecordset(L"SELECT 1", rs));
    EXPECT_FALSE(connection->ExecuteBatch({L"SELECT 1"}));
    connection->Release();
}

TEST_F(DatabaseAdminTest, UnreachableServerFailsWithTheOpenMessageAndNoHang)
{
    const std::wstring unreachable =
        L"Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=1;Database=KRO;Uid=postgres;Pwd=secret;";
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(CheckDatabase(*m_context, unreachable));
    EXPECT_FALSE(CreateDatabase(*m_context, unreachable));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(15));
    ASSERT_FALSE(m_notifier.messages.empty());
    EXPECT_EQ(m_notifier.messages[0].rfind(L"OpenDB error [", 0), 0u);
    // The password never reaches a message.
    EXPECT_EQ(m_notifier.messages[0].find(L"secret"), std::wstring::npos);
    EXPECT_EQ(m_context->AcquireConnection(true), nullptr);
}

TEST_F(DatabaseAdminTest, AdministrativeStringReplacesOnlyTheDatabaseName)
{
    m_context->SetConnectStrings(
        L"Driver={PostgreSQL Unicode};Server=h;Port=1;Database=KRO;Uid=KROadmin;Pwd=KRO;");
    EXPECT_EQ(
        m_context->AdminConnectString(),
        L"Driver={PostgreSQL Unicode};Server=h;Port=1;Database=postgres;Uid=KROadmin;Pwd=KRO;");
}

TEST_F(DatabaseAdminTest, WithoutSitesSectionTheSitesTableStaysEmpty)
{
    CStatDefinitions noSites;
    noSites.LoadFromText(R"({"handplayerstats": [{"name": "flag_vpip", "type": "boolean"}]})");
    CDbContext context(noSites, m_notifier, m_log);
    ASSERT_TRUE(context.AllocateEnvironment().IsOk());
    ASSERT_TRUE(CreateDatabase(context, m_connect));
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM sites"), L"0");
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM information_schema.columns WHERE "
                     L"table_name='statcache' AND column_name='count_vpip'"),
              L"1");
}

TEST_F(DatabaseAdminTest, ConnectionIsSharedSafelyByTwoThreads)
{
    ASSERT_TRUE(CreateDatabase(*m_context, m_connect));
    m_context->SetConnectStrings(m_connect);
    auto work = [this](int base) {
        for (int i = 0; i < 40; ++i) {
            CConnectionLease lease(m_context->AcquireConnection(true));
            ASSERT_TRUE(lease);
            ASSERT_TRUE(lease->Execute(
                FormatW(L"INSERT INTO pots (idhand, potnum, amt) VALUES (%d, 0, 1)", base + i)));
        }
    };
    std::thread a(work, 0);
    std::thread b(work, 1000);
    a.join();
    b.join();
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM pots"), L"80");
}
