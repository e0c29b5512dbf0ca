// Where an import's time goes, for the benchmarks: wall time summed per
// stage over every thread. Off unless switched on, so that the import pays
// one relaxed load per measured step.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

namespace vxstage {

enum class Stage
{
    // Working out the statistic flags of a hand.
    Flags,
    // Building the statements' text and handing it to the driver.
    SqlText,
    // Waiting for the server's answer.
    Wait,
    Count
};

void SetEnabled(bool on);
bool Enabled();
void Add(Stage stage, uint64_t nanoseconds);
uint64_t Nanoseconds(Stage stage);
void Reset();

// Adds the time from its making to its end to `stage`, when switched on.
class CScope
{
public:
    explicit CScope(Stage stage)
        : m_stage(stage)
        , m_on(Enabled())
    {
        if (m_on) {
            m_start = std::chrono::steady_clock::now();
        }
    }
    ~CScope()
    {
        if (m_on) {
            Add(m_stage, static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                                   std::chrono::steady_clock::now() - m_start)
                                                   .count()));
        }
    }
    CScope(const CScope&) = delete;
    CScope& operator=(const CScope&) = delete;

private:
    Stage m_stage;
    bool m_on;
    std::chrono::steady_clock::time_point m_start;
};

}  // namespace vxstage
