#include "db/Catalog.h"
#include "db/tables/kroStatCache.h"
#include "db/tests/DbTestFixture.h"

#include <algorithm>

using namespace kroDB;

class StatCacheTest : public DbTestFixture
{
protected:
    std::set<std::wstring> Columns(CDbContext& context)
    {
        return ColumnNames(context, L"statcache");
    }

    // A second context on the same database whose stat definitions are `json`.
    std::unique_ptr<CDbContext> ContextWith(CStatDefinitions& definitions, const std::string& json)
    {
        definitions.LoadFromText(json);
        auto context = std::make_unique<CDbContext>(definitions, m_notifier, m_log);
        EXPECT_TRUE(context->AllocateEnvironment().IsOk());
        context->SetConnectStrings(m_connect);
        return context;
    }
};

TEST_F(StatCacheTest, TheDatabaseHasTheTableWithACountForEveryFlag)
{
    ASSERT_TRUE(CreateDatabase(*m_context, m_connect));
    const std::set<std::wstring> columns = Columns(*m_context);
    for (const wchar_t* column :
         {L"id", L"idplayer", L"month", L"idgametype", L"bb", L"activeseats", L"position",
          L"handscount", L"netwin", L"winrate", L"complete"}) {
        EXPECT_EQ(columns.count(column), 1u) << column;
    }
    // Flags become counts; names that are counts already stay as they are.
    EXPECT_EQ(columns.count(L"count_vpip"), 1u);
    EXPECT_EQ(columns.count(L"count_pf_pfr"), 1u);
    EXPECT_EQ(columns.count(L"count_fp_aggr"), 1u);
    EXPECT_EQ(columns.count(L"count_allin_cash_out"), 1u);
    EXPECT_EQ(columns.count(L"flag_vpip"), 0u);
    // Values are no counts: none of them, under either name.
    for (const auto& column : columns) {
        EXPECT_EQ(column.find(L"val_"), std::wstring::npos) << column;
        EXPECT_NE(column, L"count_seen_street");
    }
    // The table's own section adds its columns with their type and default.
    EXPECT_EQ(Scalar(L"SELECT string_agg(column_name || ' ' || data_type || ' ' || "
                     L"coalesce(column_default, '-'), ',' ORDER BY column_name) FROM "
                     L"information_schema.columns WHERE table_name = 'statcache' AND "
                     L"column_name IN ('allinev', 'rakeincents', 'count_vpip')"),
              L"allinev integer 0,count_vpip integer -,rakeincents integer 0");

    std::vector<CStatDefinition> flags;
    ASSERT_TRUE(m_definitions.ReadStatSection(L"handplayerstats", flags));
    const auto counts = std::count_if(flags.begin(), flags.end(), [](const CStatDefinition& d) {
        return !d.name.empty() && d.name.find(L"val_") == std::wstring::npos;
    });
    EXPECT_EQ(columns.size(), 11u + static_cast<size_t>(counts) + 2u);
}

TEST_F(StatCacheTest, CreatingTheTablesAgainAddsNothing)
{
    ASSERT_TRUE(CreateDatabase(*m_context, m_connect));
    const std::set<std::wstring> before = Columns(*m_context);
    kroStats::kroStatCache table(*m_context);
    EXPECT_FALSE(table.UpgradeColumns());
    EXPECT_TRUE(table.Create());
    EXPECT_EQ(Columns(*m_context), before);
}

TEST_F(StatCacheTest, NewDefinitionsAddTheirColumnsOnceAndOnlyPlainNames)
{
    ASSERT_TRUE(CreateDatabase(*m_context, m_connect));
    CStatDefinitions definitions;
    const auto context = ContextWith(definitions, R"json({
        "handplayerstats": [
            {"name": "flag_new_flag", "type": "boolean"},
            {"name": "count_Mixed_Case", "type": "integer"},
            {"name": "val_new_value", "type": "integer"},
            {"name": "", "type": "integer"},
            {"name": "flag_x; DROP TABLE hands", "type": "boolean"}
        ],
        "statcache": [
            {"name": "complete_months", "type": "boolean"},
            {"name": "count_new_flag", "type": "integer"},
            {"name": "hands_seen", "type": ""},
            {"name": "sizes", "type": "character varying(20)"},
            {"name": "evil", "type": "integer DEFAULT 0; DROP TABLE hands; --"}
        ]
    })json");
    kroStats::kroStatCache table(*context);
    EXPECT_TRUE(table.UpgradeColumns());
    const std::set<std::wstring> columns = Columns(*context);
    EXPECT_EQ(columns.count(L"count_new_flag"), 1u);
    EXPECT_EQ(columns.count(L"count_mixed_case"), 1u);
    EXPECT_EQ(columns.count(L"val_new_value"), 0u);
    EXPECT_EQ(Scalar(L"SELECT data_type || ' ' || column_default FROM information_schema.columns "
                     L"WHERE table_name = 'statcache' AND column_name = 'complete_months'"),
              L"boolean false");
    EXPECT_EQ(Scalar(L"SELECT data_type || ' ' || column_default FROM information_schema.columns "
                     L"WHERE table_name = 'statcache' AND column_name = 'hands_seen'"),
              L"integer 0");
    EXPECT_EQ(Scalar(L"SELECT data_type FROM information_schema.columns WHERE table_name = "
                     L"'statcache' AND column_name = 'sizes'"),
              L"character varying");
    // A type that is SQL of its own is no type.
    EXPECT_EQ(columns.count(L"evil"), 0u);
    EXPECT_EQ(Scalar(L"SELECT count(*) FROM pg_tables WHERE tablename = 'hands'"), L"1");
    // Everything is there now: the second time there is nothing to do.
    EXPECT_FALSE(table.UpgradeColumns());
    EXPECT_EQ(Columns(*context), columns);
}
