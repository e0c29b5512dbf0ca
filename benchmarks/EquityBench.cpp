// Milliseconds per exact all-in enumeration (and one sampled one), single thread.
#include "companion/HandEvaluators.h"
#include "companion/WinProbability.h"
#include "foundation/Cards.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

uint64_t Mask(const std::wstring& text)
{
    uint64_t mask = 0;
    for (size_t i = 0; i + 1 < text.size(); i += 2) {
        mask |= uint64_t{1} << CardFromName(text.substr(i, 2));
    }
    return mask;
}

enum Game
{
    kOmaha = 0,
    kOmahaHiLo = 1,
    kShortDeck = 2,
};

void RunAllin(benchmark::State& state,
              Game game,
              const std::vector<std::wstring>& hands,
              const std::wstring& board)
{
    load_ofsm_omaha7();
    const std::vector<uint64_t> hero = {Mask(hands[0])};
    std::vector<uint64_t> opponents[9];
    for (size_t i = 1; i < hands.size(); ++i) {
        opponents[i - 1] = {Mask(hands[i])};
    }
    const int count = static_cast<int>(hands.size()) - 1;
    CWinResults results;
    for (auto _ : state) {
        int counter1 = 1000000;
        int counter2 = 10000;
        const double p =
            game == kShortDeck
                ? getProbabilityOfWinHoldem6PlusChinaEnumerate64(
                      hero, Mask(board), 5, opponents, count, 0, &results, counter1, counter2)
                : getProbabilityOfWinOmaha64Enumerate(hero, Mask(board), 5, opponents, count, 0,
                                                      &results, counter1, counter2, game);
        benchmark::DoNotOptimize(p);
    }
    state.counters["boards"] = static_cast<double>(results.deals);
}

void BM_Omaha4HeadsUpPreflop(benchmark::State& state)
{
    RunAllin(state, kOmaha, {L"AsAhKsKh", L"JcTc9d8d"}, L"");
}
BENCHMARK(BM_Omaha4HeadsUpPreflop)->Unit(benchmark::kMillisecond);

void BM_Omaha4HiLoHeadsUpPreflop(benchmark::State& state)
{
    RunAllin(state, kOmahaHiLo, {L"Ac2dKhKs", L"Ad3c4h5h"}, L"");
}
BENCHMARK(BM_Omaha4HiLoHeadsUpPreflop)->Unit(benchmark::kMillisecond);

void BM_Omaha5HeadsUpPreflop(benchmark::State& state)
{
    RunAllin(state, kOmaha, {L"AsAhKsKh2c", L"JcTc9d8d3d"}, L"");
}
BENCHMARK(BM_Omaha5HeadsUpPreflop)->Unit(benchmark::kMillisecond);

void BM_Omaha6HeadsUpPreflop(benchmark::State& state)
{
    RunAllin(state, kOmaha, {L"AsAhKsKh2c3c", L"JcTc9d8d7h6h"}, L"");
}
BENCHMARK(BM_Omaha6HeadsUpPreflop)->Unit(benchmark::kMillisecond);

void BM_Omaha4ThreeWayPreflop(benchmark::State& state)
{
    RunAllin(state, kOmaha, {L"AsAhKsKh", L"JcTc9d8d", L"QdQc7s6s"}, L"");
}
BENCHMARK(BM_Omaha4ThreeWayPreflop)->Unit(benchmark::kMillisecond);

void BM_Holdem6PlusHeadsUpPreflop(benchmark::State& state)
{
    RunAllin(state, kShortDeck, {L"AsKs", L"QhQd"}, L"");
}
BENCHMARK(BM_Holdem6PlusHeadsUpPreflop)->Unit(benchmark::kMillisecond);

void BM_Omaha4HeadsUpFlop(benchmark::State& state)
{
    RunAllin(state, kOmaha, {L"AsAhKsKh", L"JcTc9d8d"}, L"Qc7d2h");
}
BENCHMARK(BM_Omaha4HeadsUpFlop)->Unit(benchmark::kMillisecond);

// Hole cards still to come before the flop: a million sampled deals.
void BM_FusionHeadsUpPreflopSampled(benchmark::State& state)
{
    std::vector<uint64_t> hero;
    std::vector<uint64_t> opponents[9];
    const uint64_t heroKnown = Mask(L"AsAh");
    const uint64_t villainKnown = Mask(L"7c2d");
    for (int i = 0; i < 52; ++i) {
        for (int j = i + 1; j < 52; ++j) {
            const uint64_t extra = uint64_t{1} << i | uint64_t{1} << j;
            if (!(extra & heroKnown)) {
                hero.push_back(heroKnown | extra);
            }
            if (!(extra & villainKnown)) {
                opponents[0].push_back(villainKnown | extra);
            }
        }
    }
    CWinResults results;
    for (auto _ : state) {
        int counter1 = 1000000;
        int counter2 = 10000;
        benchmark::DoNotOptimize(getProbabilityOfWinOmaha64Common(4, hero, 0, 5, opponents, 1, 0,
                                                                  &results, counter1, counter2));
    }
    state.counters["deals"] = static_cast<double>(results.deals);
}
BENCHMARK(BM_FusionHeadsUpPreflopSampled)->Unit(benchmark::kMillisecond);

}  // namespace
