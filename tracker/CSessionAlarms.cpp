#include "tracker/CSessionAlarms.h"

#include <algorithm>
#include <cmath>

namespace {

int64_t Cents(double units)
{
    return static_cast<int64_t>(std::llround(units * 100.0));
}

}  // namespace

void CSessionAlarms::Reset(const CTrackerSettings& settings)
{
    m_settings = settings;
    m_handsDone = false;
    m_timeDone = false;
    m_profitDone = false;
    m_lossDone = false;
    m_profitLevel = Cents(settings.takeProfit);
    m_lossLevel = Cents(settings.stopLoss);
    m_peak = 0;
}

std::vector<TrackerAlarm> CSessionAlarms::Check(int32_t hands,
                                                int64_t moneyCents,
                                                int64_t sessionSeconds)
{
    std::vector<TrackerAlarm> fired;
    if (m_settings.handsAlarm != 0 && m_settings.handsCount > 0 && !m_handsDone &&
        hands >= m_settings.handsCount) {
        m_handsDone = true;
        fired.push_back(TrackerAlarm::Hands);
    }
    if (m_settings.moneyAlarm != 0) {
        if (m_settings.takeProfitOn != 0 && !m_profitDone && m_profitLevel > 0 &&
            moneyCents >= m_profitLevel) {
            fired.push_back(TrackerAlarm::TakeProfit);
            if (m_settings.trailingTakeProfit != 0) {
                // The target moves up one step beyond the money reached, so a
                // run of winning hands is told once per step.
                const int64_t step = Cents(m_settings.takeProfit);
                m_profitLevel += step * ((moneyCents - m_profitLevel) / step + 1);
            } else {
                m_profitDone = true;
            }
        }
        if (m_settings.stopLossOn != 0) {
            if (m_settings.trailingStopLoss != 0 && moneyCents > m_peak) {
                // The stop follows the best money of the session at the same
                // distance; a higher stop arms the alarm again.
                m_peak = moneyCents;
                const int64_t raised = m_peak + Cents(m_settings.stopLoss);
                if (raised > m_lossLevel) {
                    m_lossLevel = raised;
                    m_lossDone = false;
                }
            }
            if (!m_lossDone && Cents(m_settings.stopLoss) < 0 && moneyCents <= m_lossLevel) {
                m_lossDone = true;
                fired.push_back(TrackerAlarm::StopLoss);
            }
        }
    }
    if (m_settings.timeAlarm != 0 && m_settings.timeMinutes > 0 && !m_timeDone &&
        sessionSeconds >= int64_t{m_settings.timeMinutes} * 60) {
        m_timeDone = true;
        fired.push_back(TrackerAlarm::Time);
    }
    return fired;
}
