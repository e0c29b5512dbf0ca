// `veltrix-cli import` of 100,000 hands, renumbered copies of the largest
// PokerStars cash file of the corpus, into an empty database and into one
// that already holds 1,000,000 hands (filled with bulk SQL, its HUD summary
// installed): hands per second of the whole process for both, to show that
// the cost does not grow with the database. It takes many minutes, so it runs
// only with VX_LARGE_IMPORT_BENCH=1; VX_LARGE_IMPORT_HANDS and
// VX_LARGE_IMPORT_BASE change the two sizes. VX_LARGE_IMPORT_DB names a filled
// database to keep and reuse: each run imports into a copy of it. Needs the
// test server of ./test (VX_TEST_PG_PORT).
#include "companion/CDatabase.h"
#include "companion/CODBCRecordset.h"
#include "db/CDbContext.h"
#include "db/DatabaseAdmin.h"
#include "foundation/CStatDefinitions.h"
#include "foundation/ILogSink.h"
#include "foundation/IUserNotifier.h"
#include "foundation/WideText.h"
#include "hud/CHudStatsCache.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "benchmarks/BenchCorpus.h"
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

int Run(const std::string& command)
{
    const int status = std::system(command.c_str());
    return status == -1 ? -1 : WEXITSTATUS(status);
}

// Writes `hands` hands of the PokerStars file `source` to `target`: the whole
// file again and again, each copy's hand numbers moved by another trillion so
// that every hand is new. The number of hands written.
int64_t WriteCopies(const std::string& source, const std::string& target, int64_t hands)
{
    std::ifstream in(source, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string mark = "PokerStars Hand #";
    std::vector<size_t> starts;
    for (size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + 1)) {
        starts.push_back(at);
    }
    std::ofstream out(target, std::ios::binary);
    int64_t written = 0;
    for (int64_t copy = 1; !starts.empty() && written < hands; ++copy) {
        for (size_t i = 0; i < starts.size() && written < hands; ++i, ++written) {
            const size_t end = i + 1 < starts.size() ? starts[i + 1] : text.size();
            const size_t number = starts[i] + mark.size();
            const size_t digits = text.find_first_not_of("0123456789", number);
            const long long moved =
                std::stoll(text.substr(number, digits - number)) + copy * 1000000000000LL;
            out << mark << moved << std::string_view(text).substr(digits, end - digits);
            // The file's last hand needs the blank lines that end the others.
            if (end == text.size()) {
                out << "\n\n\n";
            }
        }
    }
    return written;
}

struct CServer
{
    std::string port = Env("VX_TEST_PG_PORT", "");
    std::string password = Env("VX_TEST_PG_PASSWORD", "lindqvarte42");

    std::wstring Connect(const std::string& name) const
    {
        kroDB::CConnectParts parts;
        parts.server = FromUtf8(Env("VX_TEST_PG_SERVER", "127.0.0.1"));
        parts.port = FromUtf8(port);
        parts.database = FromUtf8(name);
        parts.user = FromUtf8(Env("VX_TEST_PG_USER", "postgres"));
        parts.password = FromUtf8(password);
        return kroDB::MakeConnectString(parts);
    }
};

class CLargeImport
{
public:
    CLargeImport()
    {
        m_definitions.LoadStatTypes(std::string(VX_SOURCE_DIR) + "/data/predeftypes.json");
    }

    // A statement on the server's maintenance database (making and dropping
    // databases); false when it fails.
    bool Admin(const std::wstring& sql)
    {
        kroDB::CDbContext db(m_definitions, m_notifier, m_log);
        (void)db.AllocateEnvironment();
        CDatabase admin(db.Environment());
        return admin.Open(m_server.Connect("postgres")).IsOk() && admin.ExecuteSQL(sql).IsOk();
    }

    int64_t Hands(const std::string& name)
    {
        kroDB::CDbContext db(m_definitions, m_notifier, m_log);
        (void)db.AllocateEnvironment();
        CDatabase c(db.Environment());
        if (!c.Open(m_server.Connect(name)).IsOk()) {
            return -1;
        }
        CODBCRecordset rs(c);
        return rs.Open(L"select count(*) from hands").IsOk() && !rs.IsEOF()
                   ? rs.Field(size_t{0}).AsLong()
                   : -1;
    }

    // Makes the database `name` with `hands` hands and its HUD summary.
    bool Fill(const std::string& name, int64_t hands, std::string& error)
    {
        const auto start = Clock::now();
        kroDB::CDbContext db(m_definitions, m_notifier, m_log);
        (void)db.AllocateEnvironment();
        const std::wstring connect = m_server.Connect(name);
        if (!kroDB::CreateDatabase(db, connect)) {
            error = "cannot create the benchmark database";
            return false;
        }
        db.SetConnectStrings(connect);
        CDatabase c(db.Environment());
        if (!c.Open(connect).IsOk()) {
            error = "cannot open the benchmark database";
            return false;
        }
        if (!vxbench::FillWithCopies(
                db, c, hands, [](int64_t) { return std::wstring(); }, error)) {
            return false;
        }
        const double filled = Seconds(start);
        const auto installStart = Clock::now();
        const CStatus installed = CHudStatsCache(db).Install();
        if (!installed.IsOk()) {
            error = ToUtf8(installed.Message());
            return false;
        }
        (void)c.ExecuteSQL(L"ANALYZE");
        std::printf(
            "Large import bench: %s filled with %lld hands in %.0f s, HUD summary in %.0f "
            "s\n",
            name.c_str(), static_cast<long long>(Hands(name)), filled, Seconds(installStart));
        std::fflush(stdout);
        return true;
    }

    // `veltrix-cli import` of `file` into `name`: the seconds it took, or -1.
    double Import(const std::string& name, const std::string& file)
    {
        const auto start = Clock::now();
        const int code = Run(Cli() + " import" + Options(name) + " '" + file + "' >/dev/null 2>&1");
        return code == 0 ? Seconds(start) : -1;
    }

    std::string Cli() const
    {
        return "VELTRIX_HOME=/tmp/vxbench_large_home_" + std::to_string(::getpid()) + " " +
               VX_CLI_PATH;
    }

    std::string Options(const std::string& name) const
    {
        return " --port " + m_server.port + " --password " + m_server.password + " --name " + name;
    }

private:
    CStatDefinitions m_definitions;
    CNullLogSink m_log;
    CQuietNotifier m_notifier;
    CServer m_server;
};

void BM_ImportIntoALargeDatabase(benchmark::State& state)
{
    if (Env("VX_LARGE_IMPORT_BENCH", "") != "1") {
        state.SkipWithError("takes many minutes: set VX_LARGE_IMPORT_BENCH=1 to run it");
        return;
    }
    const std::string source = vxbench::CorpusFile("pokerstars/PokerStudier_allHands.txt");
    if (!vxbench::RequireCorpusFile(state, source)) {
        return;
    }
    if (Env("VX_TEST_PG_PORT", "").empty()) {
        state.SkipWithError("no test server (VX_TEST_PG_PORT)");
        return;
    }
    const int64_t hands = std::atoll(Env("VX_LARGE_IMPORT_HANDS", "100000").c_str());
    const int64_t base = std::atoll(Env("VX_LARGE_IMPORT_BASE", "1000000").c_str());
    const std::string pid = std::to_string(::getpid());
    const std::string file = "/tmp/vxbench_large_" + pid + ".txt";
    CLargeImport bench;
    double emptySeconds = 0;
    double largeSeconds = 0;
    int64_t baseHands = 0;
    std::string error;
    for (auto _ : state) {
        if (WriteCopies(source, file, hands) != hands) {
            error = "cannot write the hands to import";
            break;
        }
        const std::string kept = Env("VX_LARGE_IMPORT_DB", "");
        const std::string filled = kept.empty() ? "vxbench_large_base_" + pid : kept;
        if (bench.Hands(filled) < 0 && !bench.Fill(filled, base, error)) {
            (void)bench.Admin(FromUtf8("DROP DATABASE IF EXISTS \"" + filled + "\" WITH (FORCE)"));
            break;
        }
        // A kept database stays as it is; the hands go into a copy of it.
        const std::string large = kept.empty() ? filled : "vxbench_large_" + pid;
        if (!kept.empty() &&
            !bench.Admin(FromUtf8("CREATE DATABASE \"" + large + "\" TEMPLATE \"" + kept + "\""))) {
            error = "cannot copy " + kept;
            break;
        }
        baseHands = bench.Hands(large);
        // Each import begins with the disk at rest: copying a large database
        // leaves gigabytes to write back, which would slow whichever import
        // came next.
        const auto settle = [&bench] {
            (void)bench.Admin(L"CHECKPOINT");
            (void)Run("sync");
        };

        settle();
        const std::string empty = "vxbench_large_empty_" + pid;
        (void)Run(bench.Cli() + " db drop" + bench.Options(empty) + " >/dev/null 2>&1");
        if (Run(bench.Cli() + " db create" + bench.Options(empty) + " >/dev/null 2>&1") != 0) {
            error = "cannot create the empty database";
        } else {
            emptySeconds = bench.Import(empty, file);
            if (emptySeconds < 0 || bench.Hands(empty) != hands) {
                error = "the import into the empty database failed";
            }
        }
        (void)bench.Admin(FromUtf8("DROP DATABASE IF EXISTS \"" + empty + "\" WITH (FORCE)"));
        if (error.empty()) {
            settle();
            largeSeconds = bench.Import(large, file);
            if (largeSeconds < 0 || bench.Hands(large) != baseHands + hands) {
                error = "the import into the large database failed";
            }
        }
        (void)bench.Admin(FromUtf8("DROP DATABASE IF EXISTS \"" + large + "\" WITH (FORCE)"));
    }
    std::remove(file.c_str());
    (void)Run("rm -rf /tmp/vxbench_large_home_" + pid);
    if (!error.empty()) {
        state.SkipWithError(error.c_str());
        return;
    }
    const auto perSecond = [&](double seconds) {
        return seconds > 0 ? static_cast<double>(hands) / seconds : 0;
    };
    state.counters["hands"] = static_cast<double>(hands);
    state.counters["hands_before"] = static_cast<double>(baseHands);
    state.counters["hands_per_second_empty"] = perSecond(emptySeconds);
    state.counters["hands_per_second_large"] = perSecond(largeSeconds);
    state.counters["large_to_empty"] =
        emptySeconds > 0 ? perSecond(largeSeconds) / perSecond(emptySeconds) : 0;
}
BENCHMARK(BM_ImportIntoALargeDatabase)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
