// The link to the HUD display program: it finds and starts the program, sends
// it the statistics boxes of the tables (show, hide), a reset when live
// tracking starts and the shutdown at the end, and takes the table windows the
// program reports. Messages go as packets to the program's endpoint, named
// after its caption ("Pelmora"); each waits at most two seconds for the
// program's answer. Main thread only.
#pragma once

#include "live/ITableHud.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

class IHudStatsSource;
class CRoomTable;
class ILogSink;
class IMessageChannel;
class IProcessList;
class IProgramLauncher;
class IUserNotifier;
class IWindowFinder;
struct CHudMessage;

// Where the HUD display program is and what it is called.
struct CHudProgram
{
    // The folder of the start-up file's HUD section.
    std::wstring folder;
    // The start-up file's name of the program ("Pelmora.exe"); the program
    // built for this system is also found under the same name in lower case
    // without ".exe" ("pelmora").
    std::wstring fileName = L"Pelmora.exe";
    // The caption of its main window, which names its endpoint.
    std::wstring caption = L"Pelmora";
    // The folder of this program's executables: the HUD program is looked for
    // there when `folder` has no file of its name.
    std::wstring executableFolder;
    // An auxiliary program started beside the HUD program when a process of
    // the helper pattern runs; none when empty.
    std::wstring auxiliaryFileName;
    // The folder of the auxiliary program.
    std::wstring programFolder;
};

// What the HUD program reported about one table window.
struct CReportedTable
{
    int32_t room = 0;
    int32_t seatCount = 0;
    // The table's hand-history file and the bytes of it already read.
    std::wstring file;
    int64_t readPosition = 0;
};

class CHudLink : public ITableHud
{
public:
    using RawLogFn = std::function<void(const std::wstring&)>;

    // Requires: every reference outlives this object. `rawLog` writes text
    // directly into the log file, without time stamp; may be empty.
    CHudLink(CHudProgram program,
             CRoomTable& rooms,
             IMessageChannel& channel,
             IProcessList& processes,
             IProgramLauncher& launcher,
             IWindowFinder& windows,
             IHudStatsSource& stats,
             ILogSink& log,
             IUserNotifier& notifier,
             RawLogFn rawLog = {});
    ~CHudLink() override;

    // Finds the PokerStars client and whether it runs with administrator
    // rights, logs how many HUD programs run, starts the auxiliary and the HUD
    // program and resets the HUD's boxes. False, with the message to the user,
    // when the client has administrator rights and the HUD program not.
    bool CountProcessID() override;

    // Starts the HUD program unless one runs and serves this session's
    // endpoint, and waits up to the start wait for its endpoint. False when
    // the program's file is found nowhere.
    bool StartHudProgram();

    // Shows `text` in box `hudNumber` over `tableWindow`; finds (or starts) the
    // HUD program first when it is not known. False when the box was not sent.
    bool SendHud(uint64_t tableWindow, int32_t value, int32_t hudNumber, const std::wstring& text);
    // Hides box `hudNumber`. False when the message could not be sent.
    bool SendHide(uint64_t tableWindow, int32_t value, int32_t hudNumber);

    void UpdateTableHud(CTableRecord& table,
                        int32_t tableSize,
                        int32_t bigBlind,
                        int32_t gameKind,
                        const std::vector<std::wstring>& namesByPosition) override;

    // A table report of the HUD program (20 bytes): a new table window is
    // recorded with its hand-history file when exactly one file of the
    // table's room fits it.
    void ReadDataDSH(std::span<const uint8_t> record);

    // A packet that came to this program's endpoint: a table report when it
    // carries the report tag and 20 bytes, otherwise ignored. Returns the
    // answer: the packet's tag.
    uint64_t HandlePacket(uint64_t tag, std::span<const uint8_t> payload);

    // The last message of a run: tells the HUD program to end.
    void SendShutdown();

    // Whether the HUD program's endpoint is known.
    bool HudKnown() const { return m_hudKnown; }
    bool AdminFlag() const { return m_admin; }
    const std::map<uint64_t, CReportedTable>& ReportedTables() const { return m_reported; }

    // How long a started HUD program is waited for (4 s by default).
    void SetStartWait(std::chrono::milliseconds wait) { m_startWait = wait; }
    // Whether this program runs with administrator rights; the system's
    // answer by default.
    void SetUserAdminTest(std::function<bool()> test) { m_isUserAdmin = std::move(test); }
    // Seconds since 1970; the system's clock by default.
    void SetClock(std::function<int64_t()> now) { m_now = std::move(now); }

    // The paths the HUD program is looked for at, in order.
    std::vector<std::wstring> HudProgramPaths() const;

private:
    bool Send(const CHudMessage& message);
    bool FindHud();
    int CountHudProcesses();
    bool HudProcessElevated();
    bool IsHudProcessName(const std::wstring& name) const;
    void StartAuxiliaryProgram();
    void DebugLine(const std::wstring& text);

    CHudProgram m_program;
    CRoomTable& m_rooms;
    IMessageChannel& m_channel;
    IProcessList& m_processes;
    IProgramLauncher& m_launcher;
    IWindowFinder& m_windows;
    IHudStatsSource& m_stats;
    ILogSink& m_log;
    IUserNotifier& m_notifier;
    RawLogFn m_rawLog;

    bool m_hudKnown = false;
    bool m_admin = false;
    std::chrono::milliseconds m_startWait{4000};
    // A HUD program that did not come up is not started again before this.
    std::optional<std::chrono::steady_clock::time_point> m_startFailedAt;
    std::function<bool()> m_isUserAdmin;
    std::function<int64_t()> m_now;
    std::map<uint64_t, CReportedTable> m_reported;
};
