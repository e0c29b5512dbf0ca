// The tracker's alarms: a number of hands, a session time, and the money
// alarm's take-profit and stop-loss levels, each of which may trail the
// session. Each alarm sounds once when its level is reached and is armed
// again by a new session (Reset). Qt-free.
#pragma once

#include "tracker/CTrackerSettings.h"

#include <cstdint>
#include <vector>

enum class TrackerAlarm
{
    Hands,
    TakeProfit,
    StopLoss,
    Time,
};

class CSessionAlarms
{
public:
    // Arms every alarm for a new session with the levels of `settings`.
    void Reset(const CTrackerSettings& settings);

    // The alarms the figures reach now, in the order hands, take profit,
    // stop loss, time. Money is in cents of the display currency, the time in
    // seconds of session time.
    std::vector<TrackerAlarm> Check(int32_t hands, int64_t moneyCents, int64_t sessionSeconds);

    // The current levels in cents (they move when trailing).
    int64_t TakeProfitLevel() const { return m_profitLevel; }
    int64_t StopLossLevel() const { return m_lossLevel; }

private:
    CTrackerSettings m_settings;
    bool m_handsDone = false;
    bool m_timeDone = false;
    bool m_profitDone = false;
    bool m_lossDone = false;
    int64_t m_profitLevel = 0;
    int64_t m_lossLevel = 0;
    int64_t m_peak = 0;
};
