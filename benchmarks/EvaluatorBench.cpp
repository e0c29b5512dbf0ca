// Single hands through each evaluator (evaluations per second), and the time to
// build the evaluator tables. Inputs are dealt with a fixed seed.
#include "companion/BoardTexture.h"
#include "companion/HandEvaluators.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

constexpr size_t kHands = 4096;

// `kHands` deals of `hole` hole cards and a five-card board, as one flat list.
std::vector<int> Deals(int hole, bool shortDeck)
{
    std::vector<int> deck;
    for (int card = 0; card < 52; ++card) {
        if (!shortDeck || card % 13 >= 4) {
            deck.push_back(card);
        }
    }
    std::mt19937_64 random(2024);
    std::vector<int> deals;
    for (size_t i = 0; i < kHands; ++i) {
        std::shuffle(deck.begin(), deck.end(), random);
        deals.insert(deals.end(), deck.begin(), deck.begin() + hole + 5);
    }
    return deals;
}

void BM_OmahaHigh(benchmark::State& state)
{
    const int hole = static_cast<int>(state.range(0));
    const std::vector<int> deals = Deals(hole, false);
    load_ofsm_omaha7();
    size_t i = 0;
    for (auto _ : state) {
        const int* deal = deals.data() + (i++ % kHands) * static_cast<size_t>(hole + 5);
        benchmark::DoNotOptimize(
            getCombinationOmahaFsm5Common(deal, hole, deal + hole, 5, nullptr));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_OmahaHigh)->Arg(4)->Arg(5)->Arg(6);

void BM_OmahaLow(benchmark::State& state)
{
    const std::vector<int> deals = Deals(4, false);
    size_t i = 0;
    for (auto _ : state) {
        const int* deal = deals.data() + (i++ % kHands) * 9;
        benchmark::DoNotOptimize(SetLowValueCombinationOmahaCommon(deal, 4, deal + 4, 5));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_OmahaLow);

void BM_Holdem6Plus(benchmark::State& state)
{
    const std::vector<int> deals = Deals(2, true);
    size_t i = 0;
    for (auto _ : state) {
        const int* deal = deals.data() + (i++ % kHands) * 7;
        benchmark::DoNotOptimize(EvaluateHoldem6Plus(deal, 2, deal + 2, 5));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Holdem6Plus);

void BM_ClassifyBoard(benchmark::State& state)
{
    const std::vector<int> deals = Deals(0, false);
    size_t i = 0;
    for (auto _ : state) {
        const auto first = deals.begin() + static_cast<long>((i++ % kHands) * 5);
        benchmark::DoNotOptimize(ClassifyBoard(std::vector<int>(first, first + 5)));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ClassifyBoard);

void BM_LoadTables(benchmark::State& state)
{
    for (auto _ : state) {
        fsm5::Free();
        benchmark::DoNotOptimize(load_ofsm_omaha7());
    }
}
BENCHMARK(BM_LoadTables)->Unit(benchmark::kMillisecond);

}  // namespace
