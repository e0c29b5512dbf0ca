// The HUD messages over the real transport: one show message from the
// tracker's side to a receiving endpoint served on its own thread, answer
// included (messages per second), as a table of nine seats sends them after
// each hand.
#include "platform/HudMessages.h"
#include "platform/linux/CUnixMessageChannel.h"
#include "platform/linux/CUnixMessageEndpoint.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <stdlib.h>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

void BM_HudShowRoundTrip(benchmark::State& state)
{
    char folder[] = "/tmp/vxbench.XXXXXX";
    if (::mkdtemp(folder) == nullptr) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const std::string path = std::string(folder) + "/Pelmora";
    std::atomic<uint64_t> received{0};
    CUnixMessageEndpoint endpoint(
        [&](uint64_t, std::span<const uint8_t>) { received.fetch_add(1); });
    if (!endpoint.OpenPath(path).IsOk()) {
        state.SkipWithError("cannot open the endpoint");
        return;
    }
    std::atomic<bool> stop{false};
    std::thread loop([&] {
        while (!stop) {
            endpoint.WaitAndProcess(20);
        }
    });
    const char* oldRuntime = std::getenv("XDG_RUNTIME_DIR");
    const std::string restore = oldRuntime != nullptr ? oldRuntime : "";
    ::setenv("XDG_RUNTIME_DIR", folder, 1);
    CUnixMessageChannel channel;
    const auto bytes = EncodeHudMessage(MakeShowMessage(
        0x3a00007, 144, std::wstring(kHudStatsMarkup) + L"Blue 1234 30.0 20.0 5.0 0.0\n"));
    for (auto _ : state) {
        const CStatus status =
            channel.Send(L"Pelmora", kHudMessageTag, bytes, std::chrono::milliseconds(2000));
        benchmark::DoNotOptimize(status.IsOk());
    }
    state.SetItemsProcessed(state.iterations());
    if (oldRuntime != nullptr) {
        ::setenv("XDG_RUNTIME_DIR", restore.c_str(), 1);
    } else {
        ::unsetenv("XDG_RUNTIME_DIR");
    }
    stop = true;
    loop.join();
    endpoint.Close();
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_HudShowRoundTrip)->Unit(benchmark::kMicrosecond);

}  // namespace
