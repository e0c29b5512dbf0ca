#include "db/CDbContext.h"
#include "hud/CHudStats.h"
#include "hud/CHudStatsCache.h"
#include "hud/tests/CommaLocale.h"
#include "hud/tests/HudTestDatabase.h"
#include "testing/TestPaths.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace {

using vxtest::CHudFlags;

// 27 August 2023, noon local time: the six months start on 1 February.
int64_t Now()
{
    std::tm tm{};
    tm.tm_year = 123;
    tm.tm_mon = 7;
    tm.tm_mday = 27;
    tm.tm_hour = 12;
    tm.tm_isdst = -1;
    return static_cast<int64_t>(std::mktime(&tm));
}

int64_t Start(int months)
{
    return HudPeriodStart(Now(), months).value();
}

class HudStatsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        VX_REQUIRE_PG(m_server);
        ASSERT_TRUE(m_db.Create());
        // As live tracking does, the shared connection is kept open.
        m_lease = std::make_unique<kroDB::CConnectionLease>(m_db.Db().AcquireConnection(true));
        m_stats = std::make_unique<CHudStats>(m_db.Db(), m_db.profile);
        m_stats->SetClock(Now);
        m_db.GameType(1, 7, 50);
        m_db.GameType(2, 7, 100);
        m_db.GameType(3, 10, 50);
        m_db.GameType(4, 2, 50);
    }

    // Ten Omaha hands of "Marlin": 3 of 10 played voluntarily, 2 of 10 raised,
    // no 3-bet chance, 1 of 2 4-bets.
    void TenHandsOfMarlin()
    {
        m_db.Player(7, L"Marlin");
        for (int i = 0; i < 10; ++i) {
            m_db.Hand(100 + i, 1, Start(6) + 3600 * (i + 1));
            CHudFlags f;
            f.vpipOpp = true;
            f.vpip = i < 3;
            f.pfrOpp = true;
            f.pfr = i < 2;
            f.p4bOpp = i < 2;
            f.p4b = i == 0;
            m_db.HandPlayer(1000 + i, 100 + i, 7, f);
        }
    }

    vxtest::CPgTestServer m_server;
    vxtest::CHudTestDatabase m_db;
    std::unique_ptr<kroDB::CConnectionLease> m_lease;
    std::unique_ptr<CHudStats> m_stats;
};

TEST_F(HudStatsTest, ThePlayersTextComesFromHisStoredFlags)
{
    TenHandsOfMarlin();
    EXPECT_EQ(m_stats->HudStatsText(L"Marlin", 50, 0), L"Marl 10 30.0 20.0 0.0 50.0\n");
    m_stats->SetUseSummary(false);
    EXPECT_EQ(m_stats->HudStatsText(L"Marlin", 50, 0), L"Marl 10 30.0 20.0 0.0 50.0\n");
    ASSERT_TRUE(CHudStatsCache(m_db.Db()).Install().IsOk());
    m_stats = std::make_unique<CHudStats>(m_db.Db(), m_db.profile);
    m_stats->SetClock(Now);
    EXPECT_EQ(m_stats->HudStatsText(L"Marlin", 50, 0), L"Marl 10 30.0 20.0 0.0 50.0\n");
}

TEST_F(HudStatsTest, ACommaDecimalLocaleChangesNothing)
{
    TenHandsOfMarlin();
    vxtest::CCommaLocale locale;
    if (!locale.Ok()) {
        GTEST_SKIP() << "no comma-decimal locale: " << locale.Reason();
    }
    EXPECT_EQ(m_stats->HudStatsText(L"Marlin", 50, 0), L"Marl 10 30.0 20.0 0.0 50.0\n");
}

TEST_F(HudStatsTest, UnknownPlayersOtherRoomsAndOtherGamesGiveNoText)
{
    TenHandsOfMarlin();
    m_db.Player(8, L"Eel", 2);
    m_db.Hand(200, 1, Start(6) + 10);
    m_db.HandPlayer(2000, 200, 8, CHudFlags{});
    EXPECT_EQ(m_stats->HudStatsText(L"", 50, 0), L"");
    EXPECT_EQ(m_stats->HudStatsText(L"Nobody", 50, 0), L"");
    EXPECT_EQ(m_stats->HudStatsText(L"Eel", 50, 0), L"");
    EXPECT_EQ(m_stats->HudStatsText(L"Marlin", 50, 1), L"");
    EXPECT_EQ(m_stats->HudStatsText(L"marlin", 50, 0), L"");
    const auto texts = m_stats->HudStatsTexts({L"", L"Marlin", L"Nobody"}, 50, 0);
    ASSERT_TRUE(texts.has_value());
    EXPECT_EQ(*texts, (std::vector<std::wstring>{L"", L"Marl 10 30.0 20.0 0.0 50.0\n", L""}));
}

TEST_F(HudStatsTest, AShortNameIsWholeAndQuotesInNamesAreHarmless)
{
    m_db.Player(9, L"Ray");
    m_db.Player(10, L"O''Neil");
    m_db.Hand(300, 1, Start(6) + 60);
    m_db.HandPlayer(3000, 300, 9, CHudFlags{true, true});
    m_db.HandPlayer(3001, 300, 10, CHudFlags{true, false});
    EXPECT_EQ(m_stats->HudStatsText(L"Ray", 50, 0), L"Ray 1 100.0 0.0 0.0 0.0\n");
    EXPECT_EQ(m_stats->HudStatsText(L"O'Neil", 50, 0), L"O'Ne 1 0.0 0.0 0.0 0.0\n");
}

TEST_F(HudStatsTest, BigBlindsOfOneGameAddUpAndOtherKindsKeepToTheTablesBigBlind)
{
    m_db.Player(11, L"Bluefish");
    m_db.Hand(400, 1, Start(6) + 60);
    m_db.Hand(401, 2, Start(6) + 60);
    m_db.Hand(402, 2, Start(6) + 60);
    m_db.Hand(403, 4, Start(6) + 60);
    m_db.HandPlayer(4000, 400, 11, CHudFlags{true, true});
    m_db.HandPlayer(4001, 401, 11, CHudFlags{true, false});
    m_db.HandPlayer(4002, 402, 11, CHudFlags{true, false});
    m_db.HandPlayer(4003, 403, 11, CHudFlags{true, true});
    // The query gives two rows (big blinds 50 and 100); the text adds them.
    EXPECT_EQ(m_stats->HudStatsText(L"Bluefish", 100, 0), L"Blue 3 33.3 0.0 0.0 0.0\n");
    EXPECT_EQ(m_stats->HudStatsText(L"Bluefish", 50, -1), L"Blue 2 100.0 0.0 0.0 0.0\n");
    EXPECT_EQ(m_stats->HudStatsText(L"Bluefish", 100, -1), L"Blue 2 0.0 0.0 0.0 0.0\n");
}

TEST_F(HudStatsTest, TheMonthsSettingSetsWhereThePeriodStarts)
{
    m_db.Player(12, L"Tuna");
    m_db.Hand(500, 1, Start(0) + 1);
    m_db.Hand(501, 1, Start(0) - 1);
    m_db.Hand(502, 1, Start(12) + 1);
    m_db.Hand(503, 1, Start(12));
    for (int i = 0; i < 4; ++i) {
        m_db.HandPlayer(5000 + i, 500 + i, 12, CHudFlags{});
    }
    m_db.profile.WriteProfileString(L"Base", L"HUD_CacheMonths", L"0");
    EXPECT_EQ(m_stats->HudStatsText(L"Tuna", 50, 0), L"Tuna 1 0.0 0.0 0.0 0.0\n");
    m_db.profile.WriteProfileString(L"Base", L"HUD_CacheMonths", L"12");
    EXPECT_EQ(m_stats->HudStatsText(L"Tuna", 50, 0), L"Tuna 3 0.0 0.0 0.0 0.0\n");
    // A period before 1970 abandons the table.
    m_db.profile.WriteProfileString(L"Base", L"HUD_CacheMonths", L"100000");
    EXPECT_FALSE(m_stats->HudStatsTexts({L"Tuna"}, 50, 0).has_value());
    EXPECT_EQ(m_stats->HudStatsText(L"Tuna", 50, 0), L"");
}

TEST_F(HudStatsTest, AServerThatCannotBeReachedGivesEmptyTextsAtOnce)
{
    TenHandsOfMarlin();
    m_lease.reset();
    m_db.profile.WriteProfileString(L"Base", L"PortDB", L"1");
    EXPECT_EQ(m_stats->HudStatsText(L"Marlin", 50, 0), L"");
    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(m_stats->HudStatsText(L"Marlin", 50, 0), L"");
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(1));
}

// Every way the stored hands change, and every period start near an hour's
// edge: the summary gives what the row-by-row query gives.
class HudSummaryTest : public HudStatsTest
{
public:
    // A new reader of the statistics, as a program started now has.
    void NewReader()
    {
        m_stats = std::make_unique<CHudStats>(m_db.Db(), m_db.profile);
        m_stats->SetClock(Now);
    }

    std::vector<std::wstring> Names() const
    {
        return {L"P1", L"P2", L"P3", L"P4", L"P5", L"Nobody"};
    }

    void ExpectSameCounts(const char* when)
    {
        SCOPED_TRACE(when);
        const int64_t base = Start(1);
        // Starts at and beside hour edges, in the middle of an hour (zones of
        // half hours), days and weeks away (other days and months).
        for (const int64_t start :
             {base - 1, base, base + 1, base + 1799, base + 1800, base + 3599, base + 7200,
              base - 3600, base + 19800, base + 86400 * 10 + 12345, base - 86400 * 20,
              base - 86400 * 45 + 7, base + 86400 * 40}) {
            for (const auto& [kind, bb] : {std::pair{0, 50}, {1, 50}, {-1, 100}}) {
                const auto byQuery = m_stats->CountsByQuery(Names(), start, bb, kind);
                const auto bySummary = m_stats->CountsBySummary(Names(), start, bb, kind);
                ASSERT_TRUE(byQuery.has_value());
                ASSERT_TRUE(bySummary.has_value());
                EXPECT_EQ(*byQuery, *bySummary)
                    << "start " << start - base << " kind " << kind << " bb " << bb;
            }
        }
    }

    CHudFlags RandomFlags()
    {
        CHudFlags f;
        bool* all[] = {&f.vpipOpp, &f.vpip, &f.pfrOpp, &f.pfr,
                       &f.p3bOpp,  &f.p3b,  &f.p4bOpp, &f.p4b};
        for (bool* flag : all) {
            *flag = m_random() % 2 == 0;
        }
        return f;
    }

    void Players()
    {
        for (int i = 1; i <= 5; ++i) {
            m_db.Player(i, L"P" + std::to_wstring(i));
        }
    }

    // `count` hands from `firstHand` on, each with some of the five players.
    void Fill(int64_t firstHand, int count)
    {
        const int64_t base = Start(1);
        for (int h = 0; h < count; ++h) {
            const int64_t hand = firstHand + h;
            // Most near the period start, the others over four months.
            const int64_t offset =
                h % 3 != 0 ? (static_cast<int64_t>(m_random() % 9) - 4) * 1800 +
                                 static_cast<int64_t>(m_random() % 3) - 1
                           : static_cast<int64_t>(m_random() % (120 * 86400)) - 60 * 86400;
            m_db.Hand(hand, 1 + static_cast<int32_t>(m_random() % 4), base + offset);
            for (int p = 1; p <= 5; ++p) {
                if (m_random() % 3 != 0) {
                    m_db.HandPlayer(hand * 10 + p, hand, p, RandomFlags());
                }
            }
        }
    }

    // Updates and deletes of hand players and hands among those of Fill.
    void Change()
    {
        m_db.Execute(
            L"update handsplayers set flag_vpip = not coalesce(flag_vpip, false) where "
            L"id % 6 = 0");
        m_db.Execute(L"update handsplayers set idplayer = 4 where id % 7 = 1");
        m_db.Execute(L"delete from handsplayers where id % 5 = 3");
        m_db.Execute(L"update hands set \"localtime\" = \"localtime\" + 3600 where id % 4 = 0");
        m_db.Execute(L"delete from hands where id % 9 = 5");
    }

    int64_t Number(const std::wstring& sql)
    {
        const std::wstring value = m_db.Scalar(sql);
        return value.empty() ? -1 : std::stoll(value);
    }

    std::mt19937 m_random{20230827};
};

// The triggers of the first version of the summary, all by the row, as a
// database made by it holds them.
std::vector<std::wstring> FirstVersionTriggers()
{
    const std::vector<std::wstring> flags = CHudStatsCache::CountedFlags();
    const auto values = [&](const wchar_t* row, const wchar_t* sign) {
        std::wstring list;
        for (const auto& flag : flags) {
            list += FormatW(L", %ls(CASE WHEN %ls.%ls THEN 1 ELSE 0 END)", sign, row, flag.c_str());
        }
        return list;
    };
    std::wstring differences;
    std::wstring differ;
    for (const auto& flag : flags) {
        differences += FormatW(
            L", (CASE WHEN NEW.%ls THEN 1 ELSE 0 END) - (CASE WHEN OLD.%ls THEN 1 ELSE "
            L"0 END)",
            flag.c_str(), flag.c_str());
        differ += FormatW(L" OR OLD.%ls IS DISTINCT FROM NEW.%ls", flag.c_str(), flag.c_str());
    }
    const std::wstring insert =
        L"INSERT INTO hudcache (idplayer, idgametype, bucket, n, "
        L"vpip_opp, vpip, pfr_opp, pfr, p3b_opp, p3b, p4b_opp, p4b)";
    const auto hour = [](const wchar_t* hand) {
        return FormatW(L"floor(%ls.\"localtime\" / 3600.0)::integer", hand);
    };
    const std::wstring known = L" AND h.idgametype IS NOT NULL AND h.\"localtime\" IS NOT NULL; ";
    return {
        L"CREATE OR REPLACE FUNCTION hudcache_handsplayers() RETURNS trigger LANGUAGE plpgsql "
        L"AS $body$ BEGIN IF TG_OP = 'UPDATE' AND OLD.idplayer IS NOT DISTINCT FROM "
        L"NEW.idplayer AND OLD.idhand IS NOT DISTINCT FROM NEW.idhand THEN " +
            insert + L" SELECT NEW.idplayer, h.idgametype, " + hour(L"h") + L", 0" + differences +
            L" FROM hands h WHERE h.id = NEW.idhand AND NEW.idplayer IS NOT NULL" + known +
            L"RETURN NULL; END IF; IF TG_OP <> 'INSERT' THEN " + insert +
            L" SELECT OLD.idplayer, h.idgametype, " + hour(L"h") + L", -1" + values(L"OLD", L"-") +
            L" FROM hands h WHERE h.id = OLD.idhand AND OLD.idplayer IS NOT NULL" + known +
            L"END IF; IF TG_OP <> 'DELETE' THEN " + insert + L" SELECT NEW.idplayer, " +
            L"h.idgametype, " + hour(L"h") + L", 1" + values(L"NEW", L"") +
            L" FROM hands h WHERE h.id = NEW.idhand AND NEW.idplayer IS NOT NULL" + known +
            L"END IF; RETURN NULL; END $body$",
        L"CREATE OR REPLACE FUNCTION hudcache_hands() RETURNS trigger LANGUAGE plpgsql AS "
        L"$body$ BEGIN IF TG_OP <> 'INSERT' AND OLD.idgametype IS NOT NULL AND "
        L"OLD.\"localtime\" IS NOT NULL THEN " +
            insert + L" SELECT hp.idplayer, OLD.idgametype, " + hour(L"OLD") + L", -1" +
            values(L"hp", L"-") +
            L" FROM handsplayers hp WHERE hp.idhand = OLD.id AND hp.idplayer IS NOT NULL; END "
            L"IF; IF TG_OP <> 'DELETE' AND NEW.idgametype IS NOT NULL AND NEW.\"localtime\" IS "
            L"NOT NULL THEN " +
            insert + L" SELECT hp.idplayer, NEW.idgametype, " + hour(L"NEW") + L", 1" +
            values(L"hp", L"") +
            L" FROM handsplayers hp WHERE hp.idhand = NEW.id AND hp.idplayer IS NOT NULL; END "
            L"IF; RETURN NULL; END $body$",
        L"CREATE TRIGGER hudcache_hp_change AFTER INSERT OR DELETE ON handsplayers FOR EACH ROW "
        L"EXECUTE FUNCTION hudcache_handsplayers()",
        L"CREATE TRIGGER hudcache_hp_update AFTER UPDATE ON handsplayers FOR EACH ROW WHEN "
        L"(OLD.idplayer IS DISTINCT FROM NEW.idplayer OR OLD.idhand IS DISTINCT FROM NEW.idhand" +
            differ + L") EXECUTE FUNCTION hudcache_handsplayers()",
        L"CREATE TRIGGER hudcache_hands_change AFTER INSERT OR DELETE ON hands FOR EACH ROW "
        L"EXECUTE FUNCTION hudcache_hands()",
        L"CREATE TRIGGER hudcache_hands_update AFTER UPDATE ON hands FOR EACH ROW WHEN (OLD.id IS "
        L"DISTINCT FROM NEW.id OR OLD.idgametype IS DISTINCT FROM NEW.idgametype OR "
        L"OLD.\"localtime\" IS DISTINCT FROM NEW.\"localtime\") EXECUTE FUNCTION hudcache_hands()",
        L"CREATE TRIGGER hudcache_hp_truncate AFTER TRUNCATE ON handsplayers FOR EACH STATEMENT "
        L"EXECUTE FUNCTION hudcache_clear()",
        L"CREATE TRIGGER hudcache_hands_truncate AFTER TRUNCATE ON hands FOR EACH STATEMENT "
        L"EXECUTE FUNCTION hudcache_clear()",
    };
}

// Takes every trigger of the summary away, whatever version made it.
void DropSummaryTriggers(vxtest::CHudTestDatabase& db)
{
    db.Execute(
        L"DO $$ DECLARE t record; BEGIN FOR t IN SELECT tgname, tgrelid::regclass AS rel FROM "
        L"pg_trigger WHERE NOT tgisinternal AND tgname LIKE 'hudcache%' LOOP EXECUTE "
        L"format('DROP TRIGGER %I ON %s', t.tgname, t.rel); END LOOP; END $$");
}

TEST_F(HudSummaryTest, TheSummaryCountsExactlyWhatTheQueryCounts)
{
    Players();
    const int64_t base = Start(1);
    Fill(1, 60);
    ASSERT_TRUE(CHudStatsCache(m_db.Db()).Install().IsOk());
    ASSERT_TRUE(CHudStatsCache(m_db.Db()).Installed());
    ExpectSameCounts("filled at install");
    // A second install changes nothing.
    ASSERT_TRUE(CHudStatsCache(m_db.Db()).Install().IsOk());
    ExpectSameCounts("installed twice");

    Fill(100, 60);
    EXPECT_GT(CHudStatsCache(m_db.Db()).PendingRows(), 0);
    ExpectSameCounts("new hands");

    m_db.Execute(
        L"update handsplayers set flag_vpip = not coalesce(flag_vpip, false), "
        L"flag_pf_4bet_opp = true where id % 4 = 0");
    m_db.Execute(L"update handsplayers set idplayer = 3 where id % 7 = 1");
    m_db.Execute(L"update handsplayers set idplayer = null where id % 11 = 2");
    m_db.Execute(L"delete from handsplayers where id % 5 = 3");
    ExpectSameCounts("hand players changed");

    m_db.Execute(L"update hands set \"localtime\" = \"localtime\" + 1800 where id % 3 = 0");
    m_db.Execute(L"update hands set idgametype = 3 where id % 8 = 1");
    m_db.Execute(L"update hands set \"localtime\" = null where id % 13 = 4");
    m_db.Execute(L"delete from hands where id % 9 = 5");
    ExpectSameCounts("hands changed");

    // A hand player stored before his hand, and a hand of an unknown game.
    m_db.HandPlayer(99991, 9999, 1, CHudFlags{true, true});
    m_db.Hand(9999, 2, base + 5);
    m_db.Hand(9998, 77, base + 5);
    m_db.HandPlayer(99981, 9998, 1, CHudFlags{true, true});
    ExpectSameCounts("late hand");

    ASSERT_TRUE(CHudStatsCache(m_db.Db()).Compact().IsOk());
    EXPECT_EQ(CHudStatsCache(m_db.Db()).PendingRows(), 0);
    ExpectSameCounts("compacted");
    ASSERT_TRUE(CHudStatsCache(m_db.Db()).Rebuild().IsOk());
    ExpectSameCounts("rebuilt");

    m_db.Execute(L"truncate handsplayers");
    EXPECT_EQ(m_db.Scalar(L"select count(*) from hudcache"), L"0");
    ExpectSameCounts("emptied");
}

// As the import stores them, and more: hand players of several hands in one
// statement, among them a player twice in one hour, one without a player, one
// of a hand of no known game, one of a hand with no time and one of a hand
// stored later.
TEST_F(HudSummaryTest, HandPlayersOfSeveralHandsInOneStatementAreSummarisedRight)
{
    Players();
    Fill(1, 20);
    ASSERT_TRUE(CHudStatsCache(m_db.Db()).Install().IsOk());
    const int64_t base = Start(1);
    m_db.Execute(
        FormatW(L"insert into hands (id, idgametype, \"localtime\") values (500, 1, "
                L"%lld), (501, 1, %lld), (502, 2, %lld), (503, 77, %lld), (504, 3, null)",
                static_cast<long long>(base + 10), static_cast<long long>(base + 20),
                static_cast<long long>(base - 86400 * 3), static_cast<long long>(base + 30)));
    // One call of the summary's function for the whole statement.
    m_db.Execute(L"begin");
    m_db.Execute(L"set local track_functions = 'all'");
    m_db.Execute(
        L"insert into handsplayers (id, idhand, idplayer, position, flag_vpip_opp, flag_vpip, "
        L"flag_pf_pfr_opp, flag_pf_pfr, flag_pf_3bet_opp, flag_pf_3bet, flag_pf_4bet_opp, "
        L"flag_pf_4bet) values "
        L"(5001, 500, 1, 0, true, true, true, true, false, false, false, false), "
        L"(5002, 500, 2, 1, true, false, true, false, true, true, false, false), "
        L"(5003, 500, null, 2, true, true, true, true, true, true, true, true), "
        L"(5011, 501, 1, 0, true, false, true, false, false, false, true, true), "
        L"(5012, 501, 3, 1, true, true, true, false, true, false, false, false), "
        L"(5021, 502, 2, 0, true, true, true, true, true, true, true, false), "
        L"(5022, 502, 4, 1, false, false, false, false, false, false, false, false), "
        L"(5031, 503, 5, 0, true, true, true, true, true, true, true, true), "
        L"(5041, 504, 5, 0, true, true, true, true, true, true, true, true), "
        L"(5051, 505, 1, 0, true, true, false, false, false, false, false, false), "
        L"(5052, 505, 5, 1, true, false, true, true, false, false, false, false)");
    EXPECT_EQ(Number(L"select calls from pg_stat_xact_user_functions where funcname = "
                     L"'hudcache_hp_added'"),
              1);
    m_db.Execute(L"commit");
    ExpectSameCounts("inserted in one statement");
    m_db.Hand(505, 2, base + 40);
    ExpectSameCounts("their hand stored later");

    // Deleted in one statement too, with their hands in another.
    m_db.Execute(L"delete from handsplayers where idhand in (1, 2, 500, 502, 505) or id = 5012");
    ExpectSameCounts("hand players deleted");
    m_db.Execute(L"delete from hands where id in (3, 4, 5, 501, 503)");
    // Their remaining hand players go with them.
    ExpectSameCounts("hands deleted");
}

// After `installEarlier` put an earlier version's whole set of triggers in
// place of the current ones: changes counted by those, an upgrade that
// replaces them under the writers' lock and leaves the summary, which they
// kept current, as it is, and every later change counted once.
void ExpectUpgradedInPlace(HudSummaryTest& test,
                           vxtest::CHudTestDatabase& db,
                           const std::function<void()>& installEarlier,
                           const std::wstring& earlierOnly)
{
    test.Players();
    test.Fill(1, 30);
    ASSERT_TRUE(CHudStatsCache(db.Db()).Install().IsOk());
    installEarlier();
    test.Fill(100, 30);
    test.Change();
    const int64_t pending = CHudStatsCache(db.Db()).PendingRows();
    ASSERT_GT(pending, 0);
    EXPECT_FALSE(CHudStatsCache(db.Db()).Installed());

    ASSERT_TRUE(CHudStatsCache(db.Db()).Install().IsOk());
    EXPECT_TRUE(CHudStatsCache(db.Db()).Installed());
    // Not filled anew: what the earlier triggers wrote must be right.
    EXPECT_EQ(CHudStatsCache(db.Db()).PendingRows(), pending);
    EXPECT_EQ(
        test.Number(L"select count(*) from pg_trigger where tgname in (" + earlierOnly + L")"), 0);
    // A new reader; this one saw the summary missing and looks again later.
    test.NewReader();
    test.ExpectSameCounts("upgraded");
    // Each change counted once: by the new triggers, not by old ones as well.
    test.Fill(200, 30);
    test.Change();
    test.ExpectSameCounts("stored after the upgrade");
}

TEST_F(HudSummaryTest, ASummaryKeptByTheFirstVersionsTriggersIsUpgradedInPlace)
{
    ExpectUpgradedInPlace(
        *this, m_db,
        [this] {
            DropSummaryTriggers(m_db);
            m_db.Execute(
                L"drop function hudcache_hp_added(), hudcache_hp_removed(), "
                L"hudcache_hands_removed()");
            for (const auto& statement : FirstVersionTriggers()) {
                ASSERT_TRUE(m_db.Execute(statement));
            }
        },
        L"'hudcache_hp_change', 'hudcache_hands_change'");
}

// The second version's insert triggers never stood aside for a transaction
// that sums its hand itself.
TEST_F(HudSummaryTest, ASummaryKeptByTheSecondVersionsTriggersIsUpgradedInPlace)
{
    ExpectUpgradedInPlace(
        *this, m_db,
        [this] {
            m_db.Execute(L"drop trigger hudcache_hp_inserted on handsplayers");
            m_db.Execute(L"drop trigger hudcache_hands_inserted on hands");
            ASSERT_TRUE(
                m_db.Execute(L"CREATE TRIGGER hudcache_hp_insert AFTER INSERT ON handsplayers "
                             L"REFERENCING NEW TABLE AS changed FOR EACH STATEMENT EXECUTE "
                             L"FUNCTION hudcache_hp_added()"));
            ASSERT_TRUE(m_db.Execute(
                L"CREATE TRIGGER hudcache_hands_insert AFTER INSERT ON hands FOR EACH ROW WHEN "
                L"(NEW.idgametype IS NOT NULL AND NEW.\"localtime\" IS NOT NULL) EXECUTE "
                L"FUNCTION hudcache_hands()"));
        },
        L"'hudcache_hp_insert', 'hudcache_hands_insert'");
}

// A transaction that says it sums its hand itself is left alone by the
// insert triggers, and its statement counts what they would have; without
// the setting the triggers count as before.
TEST_F(HudSummaryTest, AHandSummedByItsOwnTransactionCountsOnce)
{
    Players();
    Fill(1, 30);
    ASSERT_TRUE(CHudStatsCache(m_db.Db()).Install().IsOk());
    const std::wstring statement = CHudStatsCache::HandStatement();
    const size_t param = statement.find(L"$1");
    ASSERT_NE(param, std::wstring::npos);
    for (int64_t hand = 500; hand < 530; ++hand) {
        ASSERT_TRUE(m_db.Execute(L"BEGIN"));
        ASSERT_TRUE(m_db.Execute(CHudStatsCache::HandSetting()));
        m_db.Hand(hand, 1 + static_cast<int32_t>(hand % 4), Start(1) + (hand % 7) * 1800);
        for (int p = 1; p <= 5; p += 1 + static_cast<int>(hand % 2)) {
            m_db.HandPlayer(hand * 10 + p, hand, p, RandomFlags());
        }
        std::wstring summed = statement;
        summed.replace(param, 2, std::to_wstring(hand));
        ASSERT_TRUE(m_db.Execute(summed));
        ASSERT_TRUE(m_db.Execute(L"COMMIT"));
    }
    ExpectSameCounts("summed by their transactions");
    Fill(600, 30);
    Change();
    ExpectSameCounts("and by the triggers after them");
}

// Hands stored while a trigger was missing, or counted twice while old and
// new triggers were both there: the upgrade fills the summary anew.
TEST_F(HudSummaryTest, ASummaryWhoseTriggersWereNotWholeIsFilledAnew)
{
    Players();
    Fill(1, 30);
    ASSERT_TRUE(CHudStatsCache(m_db.Db()).Install().IsOk());
    m_db.Execute(L"drop trigger hudcache_hp_inserted on handsplayers");
    Fill(100, 30);
    EXPECT_FALSE(CHudStatsCache(m_db.Db()).Installed());
    ASSERT_TRUE(CHudStatsCache(m_db.Db()).Install().IsOk());
    EXPECT_TRUE(CHudStatsCache(m_db.Db()).Installed());
    ExpectSameCounts("a trigger was missing");

    const std::vector<std::wstring> first = FirstVersionTriggers();
    // The first version's insert trigger beside the current one.
    ASSERT_TRUE(m_db.Execute(first[0]));
    ASSERT_TRUE(m_db.Execute(first[2]));
    Fill(200, 30);
    EXPECT_FALSE(CHudStatsCache(m_db.Db()).Installed());
    ASSERT_TRUE(CHudStatsCache(m_db.Db()).Install().IsOk());
    EXPECT_TRUE(CHudStatsCache(m_db.Db()).Installed());
    ExpectSameCounts("both versions' triggers were there");
    Fill(300, 30);
    Change();
    ExpectSameCounts("stored after the repair");
}

TEST_F(HudSummaryTest, ImportedRealHandsCountTheSameEitherWay)
{
    VX_REQUIRE_CORPUS();
    ASSERT_TRUE(CHudStatsCache(m_db.Db()).Install().IsOk());
    ASSERT_GT(m_db.Import(vxtest::CorpusFile("pokerstars/PokerStudier_HH6.txt")), 0);
    ASSERT_GT(m_db.Import(vxtest::CorpusFile("pokerstars/NLHE-6max-USD-0.05-0.10-200911.txt")), 0);
    std::vector<std::wstring> names;
    for (int id = 1; id < 400; ++id) {
        const std::wstring name =
            m_db.Scalar(FormatW(L"select name from players where idplayer = %d", id));
        if (!name.empty()) {
            names.push_back(name);
        }
    }
    ASSERT_GT(names.size(), 10u);
    const int64_t start = HudPeriodStart(Now(), 200).value();
    bool someone = false;
    for (const int bb : {2, 5, 10, 25}) {
        const auto byQuery = m_stats->CountsByQuery(names, start, bb, -1);
        const auto bySummary = m_stats->CountsBySummary(names, start, bb, -1);
        ASSERT_TRUE(byQuery && bySummary);
        EXPECT_EQ(*byQuery, *bySummary) << "bb " << bb;
        for (const auto& row : *byQuery) {
            someone = someone || row.n > 0;
        }
    }
    EXPECT_TRUE(someone);
    // Filled from the stored hands at install, the same again.
    ASSERT_TRUE(CHudStatsCache(m_db.Db()).Rebuild().IsOk());
    const auto byQuery = m_stats->CountsByQuery(names, start, 2, -1);
    const auto bySummary = m_stats->CountsBySummary(names, start, 2, -1);
    ASSERT_TRUE(byQuery && bySummary);
    EXPECT_EQ(*byQuery, *bySummary);
}

}  // namespace
