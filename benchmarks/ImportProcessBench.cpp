// `veltrix-cli import` of the largest PokerStars cash file of the corpus into a
// fresh database made by `veltrix-cli db create`, as a user runs it: hands per
// second of the whole process, its processor time per hand and its peak
// memory. Needs the test server of ./test (VX_TEST_PG_PORT).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "benchmarks/BenchCorpus.h"

namespace {

// The exit code of `command` run by the shell; -1 when it could not run.
int Run(const std::string& command)
{
    const int status = std::system(command.c_str());
    return status == -1 ? -1 : WEXITSTATUS(status);
}

double Seconds(const timeval& t)
{
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

void BM_CliImportPokerStarsCashFile(benchmark::State& state)
{
    const std::string file = vxbench::CorpusFile("pokerstars/PokerStudier_allHands.txt");
    if (!vxbench::RequireCorpusFile(state, file)) {
        return;
    }
    const char* port = std::getenv("VX_TEST_PG_PORT");
    if (port == nullptr) {
        state.SkipWithError("no test server (VX_TEST_PG_PORT)");
        return;
    }
    const std::string home = "/tmp/vxbench_cli_" + std::to_string(::getpid());
    const std::string cli = std::string("VELTRIX_HOME=") + home + " " + VX_CLI_PATH;
    const std::string options = std::string(" --port ") + port +
                                " --password lindqvarte42 --name vxbench_cli_" +
                                std::to_string(::getpid());
    const std::string quiet = " >/dev/null 2>&1";
    // The import's own peak: a child of this process starts out with this
    // process's pages, so the children's figure would be this process's.
    const std::string peakFile = home + "_peak";
    const bool timed = ::access("/usr/bin/time", X_OK) == 0;
    const std::string timer = timed ? "/usr/bin/time -f %M -o '" + peakFile + "' " : "";
    double peakKb = 0;
    constexpr double kHands = 3061;
    double seconds = 0;
    double cpu = 0;
    int64_t runs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        (void)Run(cli + " db drop" + options + quiet);
        if (Run(cli + " db create" + options + quiet) != 0) {
            state.SkipWithError("cannot create the benchmark database");
            return;
        }
        rusage before{};
        ::getrusage(RUSAGE_CHILDREN, &before);
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        const int code = Run(std::string("VELTRIX_HOME=") + home + " " + timer + VX_CLI_PATH +
                             " import" + options + " '" + file + "'" + quiet);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.PauseTiming();
        rusage after{};
        ::getrusage(RUSAGE_CHILDREN, &after);
        cpu += Seconds(after.ru_utime) + Seconds(after.ru_stime) - Seconds(before.ru_utime) -
               Seconds(before.ru_stime);
        if (std::FILE* f = timed ? std::fopen(peakFile.c_str(), "r") : nullptr) {
            double kb = 0;
            if (std::fscanf(f, "%lf", &kb) == 1) {
                peakKb = std::max(peakKb, kb);
            }
            std::fclose(f);
        }
        (void)Run(cli + " db drop" + options + quiet);
        ++runs;
        state.ResumeTiming();
        if (code != 0) {
            state.SkipWithError("the import failed");
            return;
        }
    }
    (void)Run("rm -rf '" + home + "' '" + peakFile + "'");
    rusage children{};
    ::getrusage(RUSAGE_CHILDREN, &children);
    if (peakKb > 0) {
        state.counters["peak_memory_mb"] = peakKb / 1024;
    } else {
        // Without a timer: an upper bound, this process's size included.
        state.counters["peak_memory_mb_at_most"] = static_cast<double>(children.ru_maxrss) / 1024;
    }
    const double hands = kHands * static_cast<double>(runs);
    state.counters["hands_per_second"] = seconds > 0 ? hands / seconds : 0;
    state.counters["client_cpu_ms_per_hand"] = hands > 0 ? cpu * 1000 / hands : 0;
}
BENCHMARK(BM_CliImportPokerStarsCashFile)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
