// Importing the largest PokerStars cash file of the corpus into a fresh
// database: hands per second, and how the time splits between reading hands
// (parsing, statistics, all-in EV) and waiting for the database. The processor
// time of the client and of its server process per hand tell the cost apart
// from the machine's load. Needs the test server of ./test (VX_TEST_PG_PORT)
// on this machine; prints nothing else without it. The second run stores the
// rows as older builds did (inserted, then updated) for comparison.
#include "app/core/CManualImport.h"
#include "db/CDbContext.h"
#include "db/DatabaseAdmin.h"
#include "db/IConnection.h"
#include "db/tables/CActionList.h"
#include "foundation/CStatDefinitions.h"
#include "foundation/ILogSink.h"
#include "foundation/IUserNotifier.h"
#include "foundation/LocalTime.h"
#include "foundation/StageTimes.h"
#include "hud/CHudStatsCache.h"
#include "parser/CHandHistoryImporter.h"
#include "parser/CParseContext.h"
#include "parser/CParserEnvironment.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "benchmarks/BenchCorpus.h"

namespace {

class CQuietNotifier : public IUserNotifier
{
public:
    void Notify(const std::wstring&) override {}
};

std::wstring TestServerConnect(const std::string& name)
{
    const char* port = std::getenv("VX_TEST_PG_PORT");
    const std::string p = port ? port : "";
    return std::wstring(L"Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=") +
           std::wstring(p.begin(), p.end()) + L";Database=" +
           std::wstring(name.begin(), name.end()) + L";Uid=postgres;Pwd=lindqvarte42;";
}

// Seconds of processor time the process `pid` used so far; 0 when unknown.
double ProcessSeconds(long pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t close = text.rfind(')');
    if (close == std::string::npos) {
        return 0;
    }
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    unsigned long long user = 0;
    unsigned long long system = 0;
    // After the name: state is field 3, utime 14 and stime 15.
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14) {
            user = std::stoull(field);
        } else if (i == 15) {
            system = std::stoull(field);
        }
    }
    return static_cast<double>(user + system) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

double OwnSeconds()
{
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

long BackendPid(kroDB::IConnection& connection)
{
    std::unique_ptr<CODBCRecordset> rs;
    if (!connection.OpenRecordset(L"SELECT pg_backend_pid() AS pid", rs) || rs->IsEOF()) {
        return 0;
    }
    return static_cast<long>(rs->Field(L"pid").AsLong());
}

// The processor seconds of every other session of the benchmark's database
// (the second session of prepared writes); it began during the import.
double OtherSessionsSeconds(kroDB::IConnection& connection, long except)
{
    std::unique_ptr<CODBCRecordset> rs;
    if (!connection.OpenRecordset(L"SELECT pid FROM pg_stat_activity WHERE datname = "
                                  L"current_database() AND pid <> pg_backend_pid()",
                                  rs)) {
        return 0;
    }
    double seconds = 0;
    for (; !rs->IsEOF(); rs->MoveNext()) {
        const long pid = static_cast<long>(rs->Field(L"pid").AsLong());
        if (pid != except) {
            seconds += ProcessSeconds(pid);
        }
    }
    return seconds;
}

// A new, empty database of that name on the test server; false (the
// benchmark told why) when it cannot be made.
bool FreshDatabase(kroDB::CDbContext& db, const std::wstring& connect, benchmark::State& state)
{
    (void)db.AllocateEnvironment();
    (void)kroDB::DropDatabase(db, connect);
    if (!kroDB::CreateDatabase(db, connect)) {
        state.SkipWithError("cannot create the benchmark database");
        return false;
    }
    // As the program creates a database: the HUD's summary is installed,
    // and each hand sums itself into it.
    db.SetConnectStrings(connect);
    CHudStatsCache summary(db);
    if (!summary.Install().IsOk()) {
        state.SkipWithError("cannot install the HUD summary");
        return false;
    }
    (void)summary.SumHandsByUnit();
    return true;
}

void BM_ImportPokerStarsCashFile(benchmark::State& state)
{
    const bool completeRows = state.range(0) != 0;
    const bool sendAhead = state.range(1) != 0;
    const bool prepared = state.range(2) != 0;
    const std::string file = vxbench::CorpusFile("pokerstars/PokerStudier_allHands.txt");
    if (!vxbench::RequireCorpusFile(state, file)) {
        return;
    }
    if (std::getenv("VX_TEST_PG_PORT") == nullptr) {
        state.SkipWithError("no test server (VX_TEST_PG_PORT)");
        return;
    }
    CStatDefinitions definitions;
    definitions.LoadStatTypes(std::string(VX_SOURCE_DIR) + "/data/predeftypes.json");
    CNullLogSink log;
    CQuietNotifier notifier;
    int64_t hands = 0;
    double seconds = 0;
    double clientSeconds = 0;
    double serverSeconds = 0;
    double dbSeconds = 0;
    uint64_t roundTrips = 0;
    double stageSeconds[static_cast<int>(vxstage::Stage::Count)] = {};
    for (auto _ : state) {
        state.PauseTiming();
        const std::string name = "vxbench_" + std::to_string(::getpid());
        const std::wstring connect = TestServerConnect(name);
        kroDB::CDbContext db(definitions, notifier, log);
        if (!FreshDatabase(db, connect, state)) {
            return;
        }
        db.SetConnectStrings(connect);
        db.SetCompleteRows(completeRows);
        db.SetPreparedWrites(prepared);
        // As the import command does it: commits do not wait for the disk.
        kroDB::CConnectionLease lease(db.AcquireConnection(true));
        (void)lease->Execute(L"SET synchronous_commit = off");
        const long backend = BackendPid(*lease.get());
        kroDB::CActionList actions;
        kroHandParser::CParseContext context;
        kroHandParser::CParseSettings settings;
        settings.localOffset = MeasureLocalUtcOffset();
        settings.sendAhead = sendAhead;
        settings.asyncCommit = true;
        settings.loadRoomPlayers = true;
        kroHandParser::CParserEnvironment env(db, actions, context, log, notifier, settings);
        kroHandParser::CHandHistoryImporter importer(env);
        const kroDB::CDbTraffic before = db.Traffic();
        vxstage::Reset();
        vxstage::SetEnabled(true);
        const double serverBefore = backend > 0 ? ProcessSeconds(backend) : 0;
        const double clientBefore = OwnSeconds();
        state.ResumeTiming();

        const auto start = std::chrono::steady_clock::now();
        int64_t fileId = 0;
        int currency = 0;
        int64_t position = 0;
        hands += importer.ImportHandHistoryFile(file, fileId, currency, position, L"PokerStars", 0);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

        state.PauseTiming();
        vxstage::SetEnabled(false);
        for (int stage = 0; stage < static_cast<int>(vxstage::Stage::Count); ++stage) {
            stageSeconds[stage] +=
                static_cast<double>(vxstage::Nanoseconds(static_cast<vxstage::Stage>(stage))) / 1e9;
        }
        clientSeconds += OwnSeconds() - clientBefore;
        serverSeconds += backend > 0 ? ProcessSeconds(backend) - serverBefore : 0;
        serverSeconds += OtherSessionsSeconds(*lease.get(), backend);
        const kroDB::CDbTraffic after = db.Traffic();
        dbSeconds += static_cast<double>(after.nanoseconds - before.nanoseconds) / 1e9;
        roundTrips += after.roundTrips - before.roundTrips;
        (void)kroDB::DropDatabase(db, connect);
        state.ResumeTiming();
    }
    state.counters["hands_per_second"] = seconds > 0 ? static_cast<double>(hands) / seconds : 0;
    state.counters["db_share"] = seconds > 0 ? dbSeconds / seconds : 0;
    state.counters["round_trips_per_hand"] =
        hands > 0 ? static_cast<double>(roundTrips) / static_cast<double>(hands) : 0;
    state.counters["ms_reading_per_hand"] =
        hands > 0 ? (seconds - dbSeconds) * 1000 / static_cast<double>(hands) : 0;
    state.counters["ms_database_per_hand"] =
        hands > 0 ? dbSeconds * 1000 / static_cast<double>(hands) : 0;
    state.counters["client_cpu_ms_per_hand"] =
        hands > 0 ? clientSeconds * 1000 / static_cast<double>(hands) : 0;
    state.counters["server_cpu_ms_per_hand"] =
        hands > 0 ? serverSeconds * 1000 / static_cast<double>(hands) : 0;
    // Wall time of the importing thread per hand: reading and parsing (the
    // rest), statistic flags, statement text, and waiting for the server
    // (with the driver's own work when the thread sends itself).
    const auto perHand = [&](double stageTotal) {
        return hands > 0 ? stageTotal * 1000 / static_cast<double>(hands) : 0;
    };
    const double flags = stageSeconds[static_cast<int>(vxstage::Stage::Flags)];
    const double sql = stageSeconds[static_cast<int>(vxstage::Stage::SqlText)];
    const double wait = stageSeconds[static_cast<int>(vxstage::Stage::Wait)];
    state.counters["ms_flags"] = perHand(flags);
    state.counters["ms_sql"] = perHand(sql);
    state.counters["ms_wait"] = perHand(wait);
    state.counters["ms_parse"] = perHand(seconds - flags - sql - wait);
}
BENCHMARK(BM_ImportPokerStarsCashFile)
    ->ArgNames({"complete_rows", "send_ahead", "prepared"})
    ->Args({1, 1, 1})
    ->Args({1, 1, 0})
    ->Args({1, 0, 1})
    ->Args({1, 0, 0})
    ->Args({0, 0, 0})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// A folder import of several PokerStars cash files (the 3,061 hands of the
// largest file in four parts, and three more files) into a fresh database,
// with one worker, two with a session each, or two sharing one session:
// hands per second, the processor time of the whole process per hand and the
// server's per hand. Registered in turns so that the runs interleave under
// the machine's changing load.
void BM_FolderImportWorkers(benchmark::State& state)
{
    const int workers = static_cast<int>(state.range(0));
    const bool sharedWriter = state.range(1) != 0;
    const std::string big = vxbench::CorpusFile("pokerstars/PokerStudier_allHands.txt");
    if (!vxbench::RequireCorpusFile(state, big)) {
        return;
    }
    if (std::getenv("VX_TEST_PG_PORT") == nullptr) {
        state.SkipWithError("no test server (VX_TEST_PG_PORT)");
        return;
    }
    const std::string folder = "/tmp/vxbench_folder_" + std::to_string(::getpid());
    std::filesystem::create_directories(folder);
    std::vector<std::string> files;
    {
        std::ifstream in(big, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
        std::vector<size_t> starts;
        for (size_t at = text.find("PokerStars Hand #"); at != std::string::npos;
             at = text.find("PokerStars Hand #", at + 1)) {
            starts.push_back(at);
        }
        constexpr size_t kParts = 4;
        for (size_t part = 0; part < kParts && !starts.empty(); ++part) {
            const size_t from = part == 0 ? 0 : starts[starts.size() * part / kParts];
            const size_t to =
                part + 1 == kParts ? text.size() : starts[starts.size() * (part + 1) / kParts];
            files.push_back(folder + "/part" + std::to_string(part + 1) + ".txt");
            std::ofstream(files.back(), std::ios::binary) << text.substr(from, to - from);
        }
    }
    for (const char* name : {"pokerstars/PokerStudier_HH6.txt",
                             "pokerstars/NLHE-FR-USD-0.01-0.02-201005.microgrind.txt",
                             "pokerstars/NLHE-6max-USD-0.05-0.10-200911.txt"}) {
        const std::string path = vxbench::CorpusFile(name);
        if (std::filesystem::exists(path)) {
            files.push_back(path);
        }
    }
    CStatDefinitions definitions;
    definitions.LoadStatTypes(std::string(VX_SOURCE_DIR) + "/data/predeftypes.json");
    CNullLogSink log;
    CQuietNotifier notifier;
    int64_t hands = 0;
    double seconds = 0;
    double cpu = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::string name = "vxbench_folder_" + std::to_string(::getpid());
        const std::wstring connect = TestServerConnect(name);
        kroDB::CDbContext db(definitions, notifier, log);
        if (!FreshDatabase(db, connect, state)) {
            return;
        }
        CManualImportOptions options;
        options.connectString = connect;
        options.paths = files;
        options.room = L"PokerStars";
        options.workers = workers;
        options.sharedWriter = sharedWriter;
        options.parse.localOffset = MeasureLocalUtcOffset();
        // As the program's imports run.
        options.parse.asyncCommit = true;
        options.parse.sendAhead = true;
        options.parse.loadRoomPlayers = true;
        CManualImport import(db, definitions, log, notifier);
        const double cpuBefore = OwnSeconds();
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        const CManualImportResult result = import.Run(options, {});
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.PauseTiming();
        cpu += OwnSeconds() - cpuBefore;
        hands += result.counts.Handled();
        (void)kroDB::DropDatabase(db, connect);
        state.ResumeTiming();
        if (result.ExitCode() != 0) {
            state.SkipWithError("the import failed");
            break;
        }
    }
    std::filesystem::remove_all(folder);
    state.counters["hands_per_second"] = seconds > 0 ? static_cast<double>(hands) / seconds : 0;
    state.counters["client_cpu_ms_per_hand"] =
        hands > 0 ? cpu * 1000 / static_cast<double>(hands) : 0;
    state.counters["hands"] = static_cast<double>(hands);
}
BENCHMARK(BM_FolderImportWorkers)
    ->ArgNames({"workers", "shared_writer"})
    ->Args({1, 0})
    ->Args({2, 0})
    ->Args({2, 1})
    ->Args({1, 0})
    ->Args({2, 0})
    ->Args({2, 1})
    ->Args({1, 0})
    ->Args({2, 0})
    ->Args({2, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
