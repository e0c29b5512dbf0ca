// The Qt-free application object: the program-wide state (program folder, log
// file, start-up values, the room table, live tracking) and the steps that make
// it, from opening the log to configuring the rooms with what the PokerStars
// client knows, the archive at start, and the closing line of the log. The
// desktop program and the command-line program wrap it. Main thread only.
#pragma once

#include "app/core/CAppLogSink.h"
#include "app/core/CLogFile.h"
#include "app/core/CStartupSettings.h"
#include "live/CLiveTracking.h"
#include "live/CRoomTable.h"
#include "live/PokerStarsClientProbe.h"

#include <cstdint>
#include <memory>
#include <string>

class IUserNotifier;

struct CApplicationCoreOptions
{
    // Where Veltrix.log and Veltrix.ini lie.
    std::string programFolder;
    // The user's home folder: "~" in folder values, the default folders.
    std::string home;
    // Where the PokerStars client is looked for; empty: the default Wine
    // prefixes of `home` ($WINEPREFIX, then ~/.wine) and the login name.
    CClientProbeOptions probe;
};

class CApplicationCore
{
public:
    // Opens the log and writes the run's header, reads Veltrix.ini, runs the
    // client probe and configures the rooms 4, 8, 10, 11, 12, 16 and 1, making
    // each room's work directory. Never fails: a work directory that cannot be
    // made is logged and shown through `notifier`, and the rooms after it stay
    // empty. Requires: `notifier` outlives this object.
    CApplicationCore(CApplicationCoreOptions options, IUserNotifier& notifier);
    // Ends live tracking and writes the "End of work" line.
    ~CApplicationCore();
    CApplicationCore(const CApplicationCore&) = delete;
    CApplicationCore& operator=(const CApplicationCore&) = delete;

    // Opens the debug trace file kroDB_Debug.txt in the program folder.
    bool OpenDebugTrace();

    // The archive at start: for every configured room folder, the files last
    // written before now − (delay days and hours) move into the room's work
    // directory.
    void ArchiveAtStart(IProcessList& processes, int64_t now);

    // Live tracking over `db`, made on the first call (later calls return it
    // unchanged). Requires: the references outlive this object.
    CLiveTracking& Live(kroDB::CDbContext& db,
                        IMainLoop& loop,
                        IProcessList& processes,
                        CLiveTracking::SourceFactory makeSource,
                        kroHandParser::CParseSettings settings);
    // Live tracking when it was made, else null.
    CLiveTracking* Live() { return m_live.get(); }
    // Ends live tracking (its watchers and its hold on the database) before
    // the database it was made over goes.
    void EndLiveTracking() { m_live.reset(); }

    const std::string& ProgramFolder() const { return m_options.programFolder; }
    CLogFile& LogFile() { return m_logFile; }
    CAppLogSink& Log() { return m_sink; }
    bool LogOpen() const { return m_logOpen; }
    const CStartupSettings& Settings() const { return m_settings; }
    const CClientProbe& ClientProbe() const { return m_probe; }
    CRoomTable& Rooms() { return m_rooms; }
    // The room whose profile section holds the HUD name; 1 after construction.
    int SettingsRoom() const { return m_settingsRoom; }

    // The header written at the top of every run: a rule, the build date and
    // the version.
    static std::wstring RunHeader();

private:
    void Construct();
    bool ConfigureRoom(int number, const std::wstring& name, const std::wstring& historyFolder);

    CApplicationCoreOptions m_options;
    IUserNotifier& m_notifier;
    CLogFile m_logFile{true};
    CLogFile m_traceFile{false};
    CAppLogSink m_sink{&m_logFile, &m_traceFile};
    bool m_logOpen = false;
    CStartupSettings m_settings;
    CClientProbe m_probe;
    CRoomTable m_rooms;
    int m_settingsRoom = 1;
    // Last: it uses the rooms and the log.
    std::unique_ptr<CLiveTracking> m_live;
};
