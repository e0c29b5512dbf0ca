#include "foundation/StageTimes.h"

namespace vxstage {

namespace {

std::atomic<bool> g_enabled{false};
std::atomic<uint64_t> g_nanoseconds[static_cast<int>(Stage::Count)];

}  // namespace

void SetEnabled(bool on)
{
    g_enabled.store(on, std::memory_order_relaxed);
}

bool Enabled()
{
    return g_enabled.load(std::memory_order_relaxed);
}

void Add(Stage stage, uint64_t nanoseconds)
{
    g_nanoseconds[static_cast<int>(stage)].fetch_add(nanoseconds, std::memory_order_relaxed);
}

uint64_t Nanoseconds(Stage stage)
{
    return g_nanoseconds[static_cast<int>(stage)].load(std::memory_order_relaxed);
}

void Reset()
{
    for (auto& value : g_nanoseconds) {
        value.store(0, std::memory_order_relaxed);
    }
}

}  // namespace vxstage
