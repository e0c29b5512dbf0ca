// Sends one unit at a time on a connection's database from a thread of its own, so that the caller
// prepares the next hand while the server stores this one. The caller must not use the database
// between Send and the Wait that follows it.
#pragma once

#include "foundation/CStatus.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

class CDatabase;

namespace kroDB {

class CUnitSender
{
public:
    CUnitSender();
    // Waits for a text in flight.
    ~CUnitSender();
    CUnitSender(const CUnitSender&) = delete;
    CUnitSender& operator=(const CUnitSender&) = delete;

    // Starts running `text` on `db`. Requires: nothing in flight; `db` stays
    // open and unused by others until Wait returns.
    void Send(CDatabase& db, std::wstring text);
    // Starts `job`, which sends a unit by other means and returns its outcome
    // (on failure with the server's transaction rolled back); `describe`
    // gives its text for the log of a failure.
    void Send(std::function<CStatus()> job, std::function<std::wstring()> describe);
    bool InFlight() const { return m_inFlight; }
    // The outcome of the text in flight once the server answered, and the
    // nanoseconds it took; Ok without one in flight. On failure the server's
    // transaction has been rolled back.
    CStatus Wait(uint64_t& nanoseconds);
    // The text last sent (for the log of a failure).
    std::wstring LastText() const { return m_describe ? m_describe() : std::wstring(); }

private:
    void Loop();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::function<CStatus()> m_work;
    std::function<std::wstring()> m_describe;
    bool m_job = false;
    bool m_done = false;
    bool m_quit = false;
    bool m_inFlight = false;
    CStatus m_status;
    uint64_t m_nanoseconds = 0;
    std::thread m_thread;
};

}  // namespace kroDB
