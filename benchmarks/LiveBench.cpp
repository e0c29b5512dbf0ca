// Live import under a steady stream of hands: a writer thread appends real
// corpus hands to one file per table at a fixed rate while live tracking (real
// inotify, the benchmark's thread as main loop) imports them into a fresh
// database. Prints, per rate, the latency from the append to the hand being
// stored (median, 95th percentile, largest) and whether the import kept up; the
// first rate is the target load of 12 tables at one hand per second each. The
// load then grows step by step until the import falls behind. Needs the test server of
// ./test (VX_TEST_PG_PORT); VX_LIVE_BENCH_SECONDS sets the length of the first
// rate (default 10 s).
#include "db/CDbContext.h"
#include "db/DatabaseAdmin.h"
#include "foundation/CStatDefinitions.h"
#include "foundation/ILogSink.h"
#include "foundation/IUserNotifier.h"
#include "foundation/LocalTime.h"
#include "live/CLiveTracking.h"
#include "live/CRoomTable.h"
#include "platform/CTaskQueue.h"
#include "platform/IProcessList.h"
#include "platform/linux/CInotifyChangeSource.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "benchmarks/BenchCorpus.h"

namespace {

using Clock = std::chrono::steady_clock;

class CQuietNotifier : public IUserNotifier
{
public:
    void Notify(const std::wstring&) override {}
};

class CNoProcesses : public IProcessList
{
public:
    std::vector<CProcessInfo> Processes() override { return {}; }
    std::vector<int> WritersOf(const std::string&) override { return {}; }
};

// The hands of the corpus's largest PokerStars file, as a client writes them.
std::string CorpusHandsFile()
{
    return vxbench::CorpusFile("pokerstars/PokerStudier_allHands.txt");
}

std::vector<std::string> CorpusHands()
{
    std::ifstream in(CorpusHandsFile(), std::ios::binary);
    std::vector<std::string> hands;
    std::string line;
    bool open = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.rfind("PokerStars Hand #", 0) == 0) {
            hands.emplace_back();
            open = true;
        } else if (line.empty()) {
            if (open) {
                hands.back() += "\r\n\r\n";
            }
            open = false;
        }
        if (open) {
            hands.back() += line + "\r\n";
        }
    }
    if (open) {
        hands.back() += "\r\n\r\n";
    }
    return hands;
}

// Hand `index` of an endless supply: the corpus hands, and after them the same
// hands again under new hand numbers, so that every one is a new hand.
std::string HandOfSupply(const std::vector<std::string>& hands, size_t index)
{
    if (hands.empty()) {
        return std::string();
    }
    std::string hand = hands[index % hands.size()];
    const size_t round = index / hands.size();
    if (round > 0) {
        const size_t at = std::string("PokerStars Hand #").size();
        const size_t end = hand.find(':', at);
        const long long number = std::stoll(hand.substr(at, end - at));
        hand.replace(at, end - at,
                     std::to_string(number + static_cast<long long>(round) * 1000000000000LL));
    }
    return hand;
}

struct CAppend
{
    size_t table = 0;
    int64_t end = 0;
    Clock::time_point at;
};

struct CPhase
{
    double rate = 0;
    double seconds = 0;
    std::vector<double> latenciesMs;
    size_t written = 0;
    bool keptUp = false;
};

double Percentile(std::vector<double> values, double p)
{
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const size_t at = static_cast<size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[at];
}

class CLiveLoad
{
public:
    static constexpr size_t kTables = 12;

    CLiveLoad(CLiveTracking& live, CTaskQueue& loop, std::string folder)
        : m_live(live)
        , m_loop(loop)
        , m_folder(std::move(folder))
        , m_hands(CorpusHands())
    {
        m_sizes.assign(kTables, 0);
    }

    // Writes `rate` hands per second, spread evenly over the tables, for
    // `seconds`, while the import runs on this thread; then allows one second
    // to catch up.
    CPhase Run(double rate, double seconds)
    {
        CPhase phase;
        phase.rate = rate;
        phase.seconds = seconds;
        const size_t count = static_cast<size_t>(rate * seconds + 0.5);
        std::mutex mutex;
        std::vector<CAppend> appends;
        std::atomic<bool> writing{true};
        const Clock::time_point start = Clock::now();
        std::jthread writer([&] {
            for (size_t i = 0; i < count; ++i) {
                std::this_thread::sleep_until(
                    start + std::chrono::duration_cast<Clock::duration>(
                                std::chrono::duration<double>(static_cast<double>(i) / rate)));
                const size_t table = (m_next + i) % kTables;
                const std::string hand = HandOfSupply(m_hands, m_next + i);
                const int fd = ::open(Path(table).c_str(), O_WRONLY | O_APPEND | O_CREAT, 0644);
                if (fd < 0 ||
                    ::write(fd, hand.data(), hand.size()) != static_cast<ssize_t>(hand.size())) {
                    std::fprintf(stderr, "live bench: cannot write %s\n", Path(table).c_str());
                }
                const Clock::time_point at = Clock::now();
                ::close(fd);
                std::scoped_lock lock(mutex);
                m_sizes[table] += static_cast<int64_t>(hand.size());
                appends.push_back({table, m_sizes[table], at});
            }
            writing = false;
        });

        std::vector<bool> seen;
        size_t done = 0;
        Clock::time_point lastTick = start;
        Clock::time_point writingEnded{};
        const auto collect = [&] {
            const Clock::time_point now = Clock::now();
            std::scoped_lock lock(mutex, m_live.WatcherLock());
            seen.resize(appends.size(), false);
            for (size_t i = done; i < appends.size(); ++i) {
                if (seen[i]) {
                    continue;
                }
                const auto found = m_live.HistoryFiles().find(Wide(Path(appends[i].table)));
                if (found != m_live.HistoryFiles().end() &&
                    found->second.readPosition >= appends[i].end &&
                    found->second.heldLines.empty()) {
                    seen[i] = true;
                    phase.latenciesMs.push_back(
                        std::chrono::duration<double, std::milli>(now - appends[i].at).count());
                }
            }
            while (done < seen.size() && seen[done]) {
                ++done;
            }
        };
        for (;;) {
            (void)m_loop.WaitAndRun(std::chrono::milliseconds(5));
            collect();
            const Clock::time_point now = Clock::now();
            if (now - lastTick >= std::chrono::seconds(1)) {
                m_live.Tick();
                lastTick = now;
            }
            if (!writing && writingEnded == Clock::time_point{}) {
                writingEnded = now;
            }
            if (writingEnded != Clock::time_point{} &&
                (phase.latenciesMs.size() == count ||
                 now - writingEnded > std::chrono::seconds(1))) {
                break;
            }
        }
        writer.join();
        m_next += count;
        phase.written = count;
        // Kept up: every hand was stored, and 95 of 100 within half a second
        // of their append; an import slower than the writer piles hands up and
        // their waits grow through the phase.
        phase.keptUp =
            phase.latenciesMs.size() == count && Percentile(phase.latenciesMs, 0.95) <= 500.0;
        return phase;
    }

private:
    std::string Path(size_t table) const
    {
        return m_folder + "/HH20191007 Table " + std::to_string(table + 1) + ".txt";
    }
    static std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

    CLiveTracking& m_live;
    CTaskQueue& m_loop;
    std::string m_folder;
    std::vector<std::string> m_hands;
    std::vector<int64_t> m_sizes;
    size_t m_next = 0;
};

std::wstring TestServerConnect(const std::string& name)
{
    const char* port = std::getenv("VX_TEST_PG_PORT");
    const std::string p = port ? port : "";
    return std::wstring(L"Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=") +
           std::wstring(p.begin(), p.end()) + L";Database=" +
           std::wstring(name.begin(), name.end()) + L";Uid=postgres;Pwd=lindqvarte42;";
}

void BM_LiveImportLatency(benchmark::State& state)
{
    if (!vxbench::RequireCorpusFile(state, CorpusHandsFile())) {
        return;
    }
    if (CorpusHands().empty()) {
        state.SkipWithError("the corpus file holds no PokerStars hand");
        return;
    }
    if (std::getenv("VX_TEST_PG_PORT") == nullptr) {
        state.SkipWithError("no test server (VX_TEST_PG_PORT)");
        return;
    }
    const char* secondsText = std::getenv("VX_LIVE_BENCH_SECONDS");
    const double targetSeconds = secondsText ? std::atof(secondsText) : 10.0;
    CStatDefinitions definitions;
    definitions.LoadStatTypes(std::string(VX_SOURCE_DIR) + "/data/predeftypes.json");
    CNullLogSink log;
    CQuietNotifier notifier;
    for (auto _ : state) {
        const std::string name = "vxlivebench_" + std::to_string(::getpid());
        const std::wstring connect = TestServerConnect(name);
        kroDB::CDbContext db(definitions, notifier, log);
        (void)db.AllocateEnvironment();
        (void)kroDB::DropDatabase(db, connect);
        if (!kroDB::CreateDatabase(db, connect)) {
            state.SkipWithError("cannot create the benchmark database");
            return;
        }
        db.SetConnectStrings(connect);
        char folderTemplate[] = "/tmp/vxlivebench.XXXXXX";
        const std::string folder = ::mkdtemp(folderTemplate);

        std::vector<CPhase> phases;
        {
            CTaskQueue loop;
            CNoProcesses processes;
            CRoomTable rooms;
            rooms.Room(kRoomPokerStars).historyFolder = std::wstring(folder.begin(), folder.end());
            rooms.Room(kRoomPokerStars).hudSwitch = 1;
            kroHandParser::CParseSettings settings;
            settings.localOffset = MeasureLocalUtcOffset();
            CLiveTracking live(
                rooms, db, log, notifier, loop, processes,
                [] { return std::make_unique<CInotifyChangeSource>(); }, settings);
            live.SetTrackerSwitch(true);
            live.StartLiveTracking();
            CLiveLoad load(live, loop, folder);

            phases.push_back(load.Run(12.0, targetSeconds));
            for (double rate = 24; phases.back().keptUp && rate <= 2000; rate += rate < 64 ? 8
                                                                                 : rate < 256
                                                                                     ? 16
                                                                                     : 64) {
                phases.push_back(load.Run(rate, 4.0));
            }
            live.StopWatching();
        }
        std::filesystem::remove_all(folder);
        (void)kroDB::DropDatabase(db, connect);

        double sustained = 0;
        for (const auto& p : phases) {
            std::printf(
                "live: %6.0f hands/s over %zu tables, %4zu hands: median %7.1f ms, "
                "p95 %7.1f ms, max %7.1f ms, %s\n",
                p.rate, CLiveLoad::kTables, p.written, Percentile(p.latenciesMs, 0.5),
                Percentile(p.latenciesMs, 0.95), Percentile(p.latenciesMs, 1.0),
                p.keptUp ? "kept up" : "fell behind");
            if (p.keptUp) {
                sustained = std::max(sustained, p.rate);
            }
        }
        std::printf("live: highest rate kept up %.0f hands/s (%u cores)\n", sustained,
                    std::thread::hardware_concurrency());
        std::fflush(stdout);
        state.counters["p50_ms_12x1"] = Percentile(phases.front().latenciesMs, 0.5);
        state.counters["p95_ms_12x1"] = Percentile(phases.front().latenciesMs, 0.95);
        state.counters["sustained_hands_per_s"] = sustained;
    }
}
BENCHMARK(BM_LiveImportLatency)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace
