// Reading hand-history files into lines: the first step of every import.
#include "companion/GetTypeGameHH.h"
#include "companion/ReadHistoryFileEx.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "benchmarks/BenchCorpus.h"

namespace {

std::string LargestPokerStarsFile()
{
    return vxbench::CorpusFile("pokerstars/PokerStudier_allHands.txt");
}

void BM_ReadHistoryFile(benchmark::State& state)
{
    const std::string path = LargestPokerStarsFile();
    if (!vxbench::RequireCorpusFile(state, path)) {
        return;
    }
    int64_t bytes = 0;
    for (auto _ : state) {
        int64_t pos = 0;
        std::vector<std::wstring> lines;
        benchmark::DoNotOptimize(ReadHistoryFileEx(path, pos, lines));
        bytes += pos;
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_ReadHistoryFile)->Unit(benchmark::kMillisecond);

void BM_GetTypeGameHH(benchmark::State& state)
{
    const std::vector<std::wstring> descriptions = {L"Hold'em No Limit", L"Omaha Hi/Lo Pot Limit",
                                                    L"PLO-5", L"Pot Limit OmahaHL"};
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(GetTypeGameHH(descriptions[i++ % descriptions.size()]));
    }
}
BENCHMARK(BM_GetTypeGameHH);

}  // namespace
