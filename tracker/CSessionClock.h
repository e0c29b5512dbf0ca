// The session clock of the tracker: when the session started, whether its
// timer runs, is paused (by hand or after minutes without hands) or stopped,
// and how much playing time has passed. Times are seconds since 1970 passed
// in by the caller, so the rules are testable without waiting. Qt-free.
#pragma once

#include <cstdint>

class CSessionClock
{
public:
    enum class State
    {
        // Not started with the timer buttons: the time shown is the time since
        // the session start, taken whenever figures arrive.
        Idle,
        Running,
        Paused,
        Stopped,
    };

    State GetState() const { return m_state; }
    bool AutoPaused() const { return m_autoPaused; }

    // A new session: the time counts from `now`, pauses are forgotten; the
    // state stays, except that a paused clock runs again.
    void Restart(int64_t now);
    // "Start timer": a new session whose timer runs.
    void Start(int64_t now);
    // "Stop timer": the time stops where it is.
    void Stop(int64_t now);
    // "Pause timer": pauses a running clock, resumes a paused one.
    void TogglePause(int64_t now);

    // New hands arrived at `now`: resumes a clock that paused itself.
    void HandsArrived(int64_t now);
    // Pauses a running clock when no hand arrived for `minutes` (from the last
    // hand or the start); the pause counts from the last hand, since the
    // table was already left then. True when it paused now.
    bool CheckAutoPause(int64_t now, int minutes);

    // Seconds of session time at `now`, without the pauses.
    int64_t Elapsed(int64_t now) const;
    int64_t Start() const { return m_start; }

private:
    void Resume(int64_t now);

    State m_state = State::Idle;
    int64_t m_start = 0;
    int64_t m_pausedSeconds = 0;
    int64_t m_pauseBegan = 0;
    int64_t m_stoppedAt = 0;
    int64_t m_lastHand = 0;
    bool m_autoPaused = false;
};
