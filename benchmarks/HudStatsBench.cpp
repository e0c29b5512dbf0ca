// The HUD texts of one 9-seat table in a grinder's database: a database is
// filled with VX_HUD_BENCH_HANDS hands (default 5,000, for the smoke run;
// 1,000,000 for the real measure), renumbered copies of a corpus file's hands
// (synthetic hands without the corpus) spread over the last eight months and
// over a few thousand players, written with bulk SQL. Thirty regulars share
// the hero's seat of every copy (a thirtieth of all hands each); the others
// are typical players. Prints the fill, then the time for the texts of nine
// typical players and of nine regulars, from the hourly summary and, for
// comparison, by the row-by-row query. Needs the test server of ./test
// (VX_TEST_PG_PORT). VX_HUD_BENCH_DB names a database to keep and reuse.
#include "companion/CDatabase.h"
#include "companion/CODBCRecordset.h"
#include "db/CDbContext.h"
#include "db/Catalog.h"
#include "db/DatabaseAdmin.h"
#include "db/IConnection.h"
#include "foundation/CMemoryProfile.h"
#include "foundation/CStatDefinitions.h"
#include "foundation/ILogSink.h"
#include "foundation/IUserNotifier.h"
#include "foundation/WideText.h"
#include "hud/CHudStats.h"
#include "hud/CHudStatsCache.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <unistd.h>

#include "benchmarks/BenchFill.h"

namespace {

using Clock = std::chrono::steady_clock;

class CQuietNotifier : public IUserNotifier
{
public:
    void Notify(const std::wstring&) override {}
};

std::string Env(const char* name, const char* fallback)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : fallback;
}

double Seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

struct CBenchDatabase
{
    CStatDefinitions definitions;
    CNullLogSink log;
    CQuietNotifier notifier;
    std::unique_ptr<kroDB::CDbContext> db;
    std::unique_ptr<kroDB::CConnectionLease> lease;
    CMemoryProfile profile;
    std::unique_ptr<CHudStats> stats;
    std::vector<std::wstring> typical;
    std::vector<std::wstring> regulars;
    int32_t bigBlind = 0;
    int64_t typicalCount = 0;
    std::string error;
    std::string name;
    std::wstring connect;
    bool drop = true;

    // Ends the connections and drops the database unless it is kept. Runs
    // from an exit handler registered after every static the database code
    // makes, so that they are still there.
    void Cleanup()
    {
        stats.reset();
        lease.reset();
        if (db && drop && !name.empty()) {
            kroDB::CConnectParts parts;
            (void)kroDB::ParseConnectString(connect, parts);
            parts.database = L"postgres";
            CDatabase admin(db->Environment());
            // With force: the server's own workers may still be in it.
            if (admin.Open(kroDB::MakeConnectString(parts)).IsOk()) {
                (void)admin.ExecuteSQL(L"DROP DATABASE IF EXISTS \"" + FromUtf8(name) +
                                       L"\" WITH (FORCE)");
            }
        }
        db.reset();
    }

    bool Execute(CDatabase& connection, const std::wstring& sql)
    {
        const CStatus status = connection.ExecuteSQL(sql);
        if (!status.IsOk()) {
            error = ToUtf8(status.Message());
        }
        return status.IsOk();
    }

    int64_t Number(CDatabase& connection, const std::wstring& sql)
    {
        CODBCRecordset rs(connection);
        if (!rs.Open(sql).IsOk() || rs.IsEOF()) {
            return -1;
        }
        return rs.Field(size_t{0}).AsLong();
    }

    bool Fill(int64_t wanted)
    {
        CDatabase c(db->Environment());
        if (!c.Open(connect).IsOk()) {
            error = "cannot open the benchmark database";
            return false;
        }
        const auto start = Clock::now();
        const int64_t regularCount = wanted >= 100000 ? 30 : 9;
        typicalCount = std::clamp<int64_t>(wanted / 200, 50, 5000);
        (void)Execute(c, FormatW(L"insert into players (idplayer, name, idsite, hero) select "
                                 L"100000 + g, 'Regular' || g, 1, false from generate_series(1, "
                                 L"%lld) g",
                                 static_cast<long long>(regularCount)));
        (void)Execute(c, FormatW(L"insert into players (idplayer, name, idsite, hero) select "
                                 L"200000 + g, 'Player' || g, 1, false from generate_series(0, "
                                 L"%lld) g",
                                 static_cast<long long>(typicalCount - 1)));
        // Thirty regulars take turns in the hero's seat; the others are typical.
        const auto playerOf = [&](int64_t hero) {
            return FormatW(
                L"case when t.idplayer = %lld then 100001 + g.k %% %lld else 200000 + "
                L"(t.idplayer * 31 + g.k * 7) %% %lld end",
                static_cast<long long>(hero), static_cast<long long>(regularCount),
                static_cast<long long>(typicalCount));
        };
        if (!vxbench::FillWithCopies(*db, c, wanted, playerOf, error)) {
            return false;
        }
        const double fillSeconds = Seconds(start);

        const auto installStart = Clock::now();
        const CStatus installed = CHudStatsCache(*db).Install();
        if (!installed.IsOk()) {
            error = ToUtf8(installed.Message());
            return false;
        }
        (void)Execute(c, L"ANALYZE hudcache");
        std::printf(
            "HUD bench fill: %lld hands, %lld hand players, %lld players in %.1f s; "
            "summary of %lld rows made in %.1f s\n",
            static_cast<long long>(Number(c, L"select count(*) from hands")),
            static_cast<long long>(Number(c, L"select count(*) from handsplayers")),
            static_cast<long long>(Number(c, L"select count(*) from players")), fillSeconds,
            static_cast<long long>(Number(c, L"select count(*) from hudcache")),
            Seconds(installStart));
        std::fflush(stdout);
        return true;
    }

    bool Make()
    {
        if (std::getenv("VX_TEST_PG_PORT") == nullptr) {
            error = "no test server (VX_TEST_PG_PORT)";
            return false;
        }
        definitions.LoadStatTypes(std::string(VX_SOURCE_DIR) + "/data/predeftypes.json");
        db = std::make_unique<kroDB::CDbContext>(definitions, notifier, log);
        (void)db->AllocateEnvironment();
        const char* kept = std::getenv("VX_HUD_BENCH_DB");
        drop = kept == nullptr || *kept == '\0';
        name = drop ? "vxhudbench_" + std::to_string(::getpid()) : kept;
        kroDB::CConnectParts parts;
        parts.server = FromUtf8(Env("VX_TEST_PG_SERVER", "127.0.0.1"));
        parts.port = FromUtf8(Env("VX_TEST_PG_PORT", "5432"));
        parts.database = FromUtf8(name);
        parts.user = FromUtf8(Env("VX_TEST_PG_USER", "postgres"));
        parts.password = FromUtf8(Env("VX_TEST_PG_PASSWORD", "lindqvarte42"));
        connect = kroDB::MakeConnectString(parts);
        const bool reuse = !drop && kroDB::CheckDatabase(*db, connect);
        if (!reuse && !kroDB::CreateDatabase(*db, connect)) {
            error = "cannot create the benchmark database";
            return false;
        }
        db->SetConnectStrings(connect);
        const int64_t wanted = std::atoll(Env("VX_HUD_BENCH_HANDS", "5000").c_str());
        if (!reuse && !Fill(std::max<int64_t>(wanted, 1))) {
            return false;
        }
        if (reuse) {
            const auto start = Clock::now();
            const CStatus installed = CHudStatsCache(*db).Install();
            std::printf("HUD bench: database %s reused; summary there or made in %.1f s (%s)\n",
                        name.c_str(), Seconds(start), installed.IsOk() ? "ok" : "failed");
        }
        lease = std::make_unique<kroDB::CConnectionLease>(db->AcquireConnection(true));
        profile.WriteProfileString(L"Base", L"ServerIP", parts.server);
        profile.WriteProfileString(L"Base", L"PortDB", parts.port);
        profile.WriteProfileString(L"Base", L"NameDB", parts.database);
        profile.WriteProfileString(L"Base", L"UserDB", parts.user);
        profile.WriteProfileString(L"Base", L"PasswordDB", parts.password);
        stats = std::make_unique<CHudStats>(*db, profile);

        CDatabase c(db->Environment());
        if (!c.Open(connect).IsOk()) {
            return false;
        }
        bigBlind = static_cast<int32_t>(Number(
            c,
            L"select g.bigblind from hands h join gametypes g on g.id = h.idgametype group by "
            L"g.bigblind order by count(*) desc limit 1"));
        if (typicalCount == 0) {
            typicalCount = Number(c, L"select count(*) from players where idplayer >= 200000");
        }
        for (int64_t i = 1; i <= 9; ++i) {
            regulars.push_back(L"Regular" + std::to_wstring(i));
            typical.push_back(L"Player" + std::to_wstring(i * typicalCount / 10));
        }
        std::printf("HUD bench players: a regular has %lld hands, a typical player %lld\n",
                    static_cast<long long>(
                        Number(c, L"select count(*) from handsplayers where idplayer = 100001")),
                    static_cast<long long>(Number(
                        c, FormatW(L"select count(*) from handsplayers where idplayer = %lld",
                                   static_cast<long long>(200000 + typicalCount / 10)))));
        std::fflush(stdout);
        return true;
    }
};

CBenchDatabase& Bench()
{
    static CBenchDatabase bench;
    static const bool made = [] {
        const bool ok = bench.Make();
        std::atexit([] { bench.Cleanup(); });
        return ok;
    }();
    if (!made && bench.error.empty()) {
        bench.error = "the benchmark database could not be made";
    }
    return bench;
}

void TableTexts(benchmark::State& state, bool regulars, bool summary)
{
    CBenchDatabase& bench = Bench();
    if (!bench.error.empty()) {
        state.SkipWithError(bench.error.c_str());
        return;
    }
    bench.stats->SetUseSummary(summary);
    const std::vector<std::wstring>& names = regulars ? bench.regulars : bench.typical;
    size_t shown = 0;
    for (auto _ : state) {
        const auto texts = bench.stats->HudStatsTexts(names, bench.bigBlind, -1);
        shown = 0;
        for (const auto& text : texts.value_or(std::vector<std::wstring>())) {
            shown += text.empty() ? 0 : 1;
        }
    }
    state.counters["players_shown"] = static_cast<double>(shown);
}

void BM_HudTableOfTypicalPlayers(benchmark::State& state)
{
    TableTexts(state, false, true);
}
void BM_HudTableOfRegulars(benchmark::State& state)
{
    TableTexts(state, true, true);
}
void BM_HudTableOfTypicalPlayersByQuery(benchmark::State& state)
{
    TableTexts(state, false, false);
}
void BM_HudTableOfRegularsByQuery(benchmark::State& state)
{
    TableTexts(state, true, false);
}

BENCHMARK(BM_HudTableOfTypicalPlayers)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_HudTableOfRegulars)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_HudTableOfTypicalPlayersByQuery)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_HudTableOfRegularsByQuery)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
