// The player list of a database with 10,000 players (20 hands each, six
// players a hand): the time to read every player's statistics over a fresh
// connection, and to sort them by VPIP as the list does. Needs the test server
// of ./test (VX_TEST_PG_PORT); says why it skips without it.
#include "app/CPlayerListModel.h"
#include "companion/CDatabase.h"
#include "db/CDbContext.h"
#include "db/DatabaseAdmin.h"
#include "foundation/CStatDefinitions.h"
#include "foundation/ILogSink.h"
#include "foundation/IUserNotifier.h"
#include "stats/CPlayerListQuery.h"

#include <benchmark/benchmark.h>

#include <QSortFilterProxyModel>

#include <chrono>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

constexpr int kPlayers = 10000;
constexpr int kSeats = 6;
constexpr int kHandsPerPlayer = 20;

class CQuiet : public ILogSink, public IUserNotifier
{
public:
    void Log(const std::wstring&) override {}
    void Output(const std::wstring&) override {}
    void Trace(const std::wstring&) override {}
    void Notify(const std::wstring&) override {}
};

std::wstring Connect(const std::string& name)
{
    const char* port = std::getenv("VX_TEST_PG_PORT");
    const std::string p = port ? port : "";
    return std::wstring(L"Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=") +
           std::wstring(p.begin(), p.end()) + L";Database=" +
           std::wstring(name.begin(), name.end()) + L";Uid=postgres;Pwd=lindqvarte42;";
}

// Fills the database on the server side: players spread over three rooms,
// hands with a preflop action string, hand players with flags that vary
// with the seat and the hand.
bool Fill(CDatabase& db)
{
    const int hands = kPlayers * kHandsPerPlayer / kSeats;
    const std::wstring statements[] = {
        L"insert into players(idplayer,name,idsite,hero) select g, 'player' || g, 1 + g % 3, "
        L"false from generate_series(1, " +
            std::to_wstring(kPlayers) + L") g",
        L"insert into gametypes(id,idsite,currency,type,idgamekind,maxseats,mix,smallblind,"
        L"bigblind,ante,fast) values (1,1,0,1,7,6,0,50,100,0,false)",
        L"insert into hands(id,idgametype,\"localtime\",utc,str_pf_actions) select h, 1, "
        L"1700000000 + h, 1700000000 + h, (select string_agg(lpad(to_hex(((h * 6 + s) % " +
            std::to_wstring(kPlayers) +
            L") + 1), 7, '0') || substr('PRLLKP', 1 + (h + s) % 6, 1), '' order by s) from "
            L"generate_series(0, 5) s) from generate_series(1, " +
            std::to_wstring(hands) + L") h",
        L"insert into handsplayers(id,idhand,idplayer,netwin,flag_vpip_opp,flag_vpip,"
        L"flag_pf_pfr_opp,flag_pf_pfr,flag_pf_3bet_opp,flag_pf_3bet,flag_pf_4bet_opp,"
        L"flag_pf_4bet,flag_pf_face_3bet,flag_pf_fold_3bet,flag_wtsd_opp,flag_wtsd,"
        L"flag_won_wtsd) select h * 6 + s, h, ((h * 6 + s) % " +
            std::to_wstring(kPlayers) +
            L") + 1, ((h * 7 + s * 13) % 41 - 20) * 10, true, (h + s) % 3 = 0, true, "
            L"(h + s) % 5 = 0, (h + s) % 2 = 0, (h + s) % 11 = 0, (h + s) % 7 = 0, "
            L"(h + s) % 14 = 0, (h + s) % 7 = 0, (h + s) % 21 = 0, (h + s) % 3 = 0, "
            L"(h + s) % 9 = 0, (h + s) % 18 = 0 from generate_series(1, " +
            std::to_wstring(hands) + L") h, generate_series(0, 5) s",
        L"analyze",
    };
    for (const std::wstring& sql : statements) {
        if (!db.ExecuteSQL(sql).IsOk()) {
            return false;
        }
    }
    return true;
}

void BM_PlayerListOf10000Players(benchmark::State& state)
{
    if (std::getenv("VX_TEST_PG_PORT") == nullptr) {
        state.SkipWithError("no test server (VX_TEST_PG_PORT)");
        return;
    }
    CStatDefinitions definitions;
    definitions.LoadStatTypes(std::string(VX_SOURCE_DIR) + "/data/predeftypes.json");
    CQuiet quiet;
    kroDB::CDbContext context(definitions, quiet, quiet);
    (void)context.AllocateEnvironment();
    const std::string name = "vxbench_players_" + std::to_string(::getpid());
    const std::wstring connect = Connect(name);
    (void)kroDB::DropDatabase(context, connect);
    if (!kroDB::CreateDatabase(context, connect)) {
        state.SkipWithError("cannot create the benchmark database");
        return;
    }
    {
        CDatabase db(context.Environment());
        if (!db.Open(connect).IsOk() || !Fill(db)) {
            state.SkipWithError("cannot fill the benchmark database");
            (void)kroDB::DropDatabase(context, connect);
            return;
        }
    }
    size_t players = 0;
    double readSeconds = 0;
    double sortSeconds = 0;
    int runs = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        CDatabase db(context.Environment());
        std::vector<kroStats::CPlayerListRow> rows;
        if (!db.Open(connect).IsOk() ||
            !kroStats::LoadPlayerList(db, kroStats::CPlayerListFilter{}, rows).IsOk()) {
            state.SkipWithError("the player query failed");
            break;
        }
        const auto read = std::chrono::steady_clock::now();
        players = rows.size();
        CPlayerListModel model;
        model.SetRows(std::move(rows));
        QSortFilterProxyModel proxy;
        proxy.setSourceModel(&model);
        proxy.setSortRole(CPlayerListModel::kSortRole);
        proxy.sort(CPlayerListModel::kVpip, Qt::DescendingOrder);
        benchmark::DoNotOptimize(proxy.index(0, 0).data());
        const auto sorted = std::chrono::steady_clock::now();
        readSeconds += std::chrono::duration<double>(read - start).count();
        sortSeconds += std::chrono::duration<double>(sorted - read).count();
        ++runs;
    }
    if (runs > 0) {
        state.counters["players"] = static_cast<double>(players);
        state.counters["ms_to_read"] = readSeconds * 1000 / runs;
        state.counters["ms_to_sort"] = sortSeconds * 1000 / runs;
    }
    (void)kroDB::DropDatabase(context, connect);
}
BENCHMARK(BM_PlayerListOf10000Players)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
