#include "tracker/CSessionClock.h"

#include <algorithm>

void CSessionClock::Restart(int64_t now)
{
    m_start = now;
    m_lastHand = now;
    m_pausedSeconds = 0;
    m_pauseBegan = 0;
    m_stoppedAt = now;
    m_autoPaused = false;
    if (m_state == State::Paused) {
        m_state = State::Running;
    }
}

void CSessionClock::Start(int64_t now)
{
    m_state = State::Running;
    Restart(now);
}

void CSessionClock::Stop(int64_t now)
{
    if (m_state == State::Paused) {
        Resume(now);
    }
    if (m_state != State::Stopped) {
        m_stoppedAt = now;
    }
    m_state = State::Stopped;
}

void CSessionClock::TogglePause(int64_t now)
{
    if (m_state == State::Running) {
        m_state = State::Paused;
        m_pauseBegan = now;
        m_autoPaused = false;
    } else if (m_state == State::Paused) {
        Resume(now);
    }
}

void CSessionClock::Resume(int64_t now)
{
    m_pausedSeconds += std::max<int64_t>(now - m_pauseBegan, 0);
    m_pauseBegan = 0;
    m_autoPaused = false;
    m_state = State::Running;
}

void CSessionClock::HandsArrived(int64_t now)
{
    m_lastHand = now;
    if (m_state == State::Paused && m_autoPaused) {
        Resume(now);
    }
}

bool CSessionClock::CheckAutoPause(int64_t now, int minutes)
{
    if (m_state != State::Running || minutes <= 0) {
        return false;
    }
    const int64_t quietFrom = std::max(m_lastHand, m_start);
    if (now - quietFrom < int64_t{minutes} * 60) {
        return false;
    }
    m_state = State::Paused;
    m_pauseBegan = quietFrom;
    m_autoPaused = true;
    return true;
}

int64_t CSessionClock::Elapsed(int64_t now) const
{
    int64_t end = now;
    if (m_state == State::Stopped) {
        end = m_stoppedAt;
    } else if (m_state == State::Paused) {
        end = m_pauseBegan;
    }
    return std::max<int64_t>(end - m_start - m_pausedSeconds, 0);
}
