// Tells the tracker about the poker tables on the screen: each PokerStars
// table window (PokerClientWindows.h) is reported to the tracker's endpoint
// "VeltrixClass" with command 6 (a new table) until the tracker has taken the
// report, and with command 4 (a known table) when its title changes, in the
// 20-byte table report. A window that closes is forgotten, so a new window
// that gets its id is new again. When the tracker is not running nothing is
// lost: a later scan reports the tables again, and a tracker that went away
// and came back gets every table as new (it has forgotten them).
//
// The sends go through a dispatcher, so that the program can wait for the
// tracker's answer on another thread: the tracker may itself be waiting for
// this program's answer to a HUD message at that moment. Without a
// dispatcher the sends are made at once. GUI thread only.
#pragma once

#include "platform/IMessageChannel.h"
#include "platform/IWindowFinder.h"

#include <QString>

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <string>

class CTableReporter
{
public:
    using LogFunction = std::function<void(const QString& line)>;
    // Runs `send` (possibly on another thread) and then `done` with its
    // result on the reporter's thread.
    using Dispatcher =
        std::function<void(std::function<CStatus()> send, std::function<void(CStatus)> done)>;

    static constexpr const wchar_t* kTrackerEndpoint = L"VeltrixClass";
    // The room number of the PokerStars room.
    static constexpr uint8_t kPokerStarsRoom = 1;

    CTableReporter(IWindowFinder& finder,
                   IMessageChannel& channel,
                   LogFunction log,
                   Dispatcher dispatcher = {},
                   std::chrono::milliseconds timeout = std::chrono::milliseconds(2000));

    // Called when a report failed and a later scan should try again.
    void SetRetryNeeded(std::function<void()> retry) { m_retry = std::move(retry); }

    // Looks at the windows and reports what is new or changed.
    void Scan();

    // The tables the tracker has taken, with the titles reported.
    const std::map<uint64_t, std::wstring>& Reported() const { return m_reported; }
    // Reports on their way.
    size_t PendingCount() const { return m_pending.size(); }

private:
    void Delivered(uint64_t window, const std::wstring& title, bool isNew, const CStatus& status);

    IWindowFinder& m_finder;
    IMessageChannel& m_channel;
    LogFunction m_log;
    Dispatcher m_dispatcher;
    std::chrono::milliseconds m_timeout;
    std::function<void()> m_retry;
    std::map<uint64_t, std::wstring> m_reported;
    std::map<uint64_t, std::wstring> m_pending;
    // Counts the scans that found the tracker gone: answers to reports sent
    // before are stale then.
    uint64_t m_trackerEpoch = 0;
};
