// The Qt-free application object: the one owner of the program-wide state
// (program folder, log file, debug trace file and log sink, start-up values,
// stat definitions, the database context, the room table, stat names and HUD
// layouts, live tracking with its audit side, the HUD statistics and the link
// to the HUD display program) and the steps of a run: construction (log,
// Veltrix.ini, rooms), StartUp (the non-window steps of the start), the
// database commands with their messages, live tracking, and ShutDown and
// destruction at the end. The command-line program and the desktop program
// are fronts over it: they give it the platform's services and show what it
// reports.
//
// Threads: everything runs on the thread that made the object (the main
// thread); the directory watchers' workers only post to the main loop of the
// platform services. A desktop front gives its Qt event loop as that main loop,
// calls Tick from a timer and hands the packets its endpoint receives to
// HandlePacket.
#pragma once

#include "app/core/CAppLogSink.h"
#include "app/core/CDatabaseSettings.h"
#include "app/core/CLogFile.h"
#include "app/core/CManualImport.h"
#include "app/core/CStartupSettings.h"
#include "db/CDbContext.h"
#include "foundation/CMemoryProfile.h"
#include "foundation/CStatDefinitions.h"
#include "live/CLiveTracking.h"
#include "live/CRoomTable.h"
#include "live/PokerStarsClientProbe.h"

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <stop_token>
#include <string>
#include <thread>

class CAuditSeating;
class CHudLayouts;
class CHudLink;
class CHudStats;
class IMessageChannel;
class IProfile;
class IProgramLauncher;
class ISessionSink;
class IUserNotifier;
class IWindowFinder;

struct CApplicationCoreOptions
{
    // Where Veltrix.log, Veltrix.ini, predeftypes.json and HUDs.xml lie.
    std::string programFolder;
    // The user's home folder: "~" in folder values, the default folders.
    std::string home;
    // Where the PokerStars client is looked for; empty: the default Wine
    // prefixes of `home` ($WINEPREFIX, then ~/.wine) and the login name.
    CClientProbeOptions probe;
    // The installed data files copied into the program folder when missing
    // there; none when empty.
    std::string shareFolder;
    // Whether construction configures the rooms (and makes their work
    // directories). A front that only administers the database or reads
    // statistics leaves them alone.
    bool configureRooms = true;
};

// What the platform gives the core: the main loop, the processes, the
// transport to the HUD program, the windows and the starting of programs.
// Required for live tracking; a front that runs none may leave them null.
struct CPlatformServices
{
    IMainLoop* loop = nullptr;
    IProcessList* processes = nullptr;
    IMessageChannel* channel = nullptr;
    IWindowFinder* windows = nullptr;
    IProgramLauncher* launcher = nullptr;
    // Makes the change source of each directory watcher.
    CLiveTracking::SourceFactory makeSource;
    // The folder of the program's executables (where the HUD program built
    // with it lies).
    std::string executableFolder;
};

// The outcome of a database command: the text the user is shown and whether
// the command succeeded.
struct CDbCommandResult
{
    bool ok = false;
    std::wstring message;
    // The settings lacked a required value (the user was told).
    bool incomplete = false;
};

// The profile section that holds the HUD name of a settings room (0, 1, 2, 4
// or 9): "PartyPoker Settings", "PokerStars Settings", "Poker888 Settings",
// "RedStar Settings" or "iPoker Settings".
std::wstring SettingsRoomSection(int settingsRoom);

class CApplicationCore
{
public:
    // Opens the log and writes the run's header, reads Veltrix.ini and, when
    // asked, runs the client probe and configures the rooms 4, 8, 10, 11, 12,
    // 16 and 1, making each room's work directory. Never fails: a work
    // directory that cannot be made is logged and shown through `notifier`,
    // and the rooms after it stay empty. `profile` null: a profile in memory.
    // Requires: `notifier`, `profile` and the services outlive this object.
    CApplicationCore(CApplicationCoreOptions options,
                     IUserNotifier& notifier,
                     IProfile* profile = nullptr,
                     CPlatformServices platform = {});
    // ShutDown when it did not run; the shutdown message to the HUD program
    // when this run started live tracking; the "End of work" line.
    ~CApplicationCore();
    CApplicationCore(const CApplicationCore&) = delete;
    CApplicationCore& operator=(const CApplicationCore&) = delete;

    // The start steps that need no window: the stat definitions, the debug
    // trace file, the ODBC environment, the settings room and HUD name from
    // the profile, the archive at start when its switch is on, the stat names
    // and the HUD layouts. False (the user told why) when the ODBC
    // environment cannot be made: nothing of the database works then.
    bool StartUp();

    // The end of a run: with live tracking, its watched files are marked
    // finished and its watchers stopped; the HUD name is written to the
    // profile; the debug trace file is closed. Safe to call twice.
    void ShutDown();

    // The database commands. Each first needs the server, port, name and
    // user; without them the user is told "Please fill all the required
    // fields!". The result text is written to the output and the log.
    // Create: "Database is already being!", "Database was created
    // successfully!" (its HUD summary made too) or "Database is not created!".
    CDbCommandResult CreateDatabase(const CDatabaseSettings& settings);
    // "Database is found!" or "Database is not found!".
    CDbCommandResult CheckDatabase(const CDatabaseSettings& settings);
    // "Database was deleted successfully!", "Database is not found!" or
    // "Database is not deleted!".
    CDbCommandResult DropDatabase(const CDatabaseSettings& settings);
    // "Database was upgraded successfully!" (its HUD summary made when
    // missing), "Database is not found!" or "Database is not upgraded!".
    CDbCommandResult UpgradeDatabase(const CDatabaseSettings& settings);

    // Makes `settings` the database of this run: it must exist ("DataBase
    // does not exist!" otherwise); it is brought up to date and gets its HUD
    // summary when it has none. False when it cannot be used.
    bool UseDatabase(const CDatabaseSettings& settings);

    // The parse settings of every import of this run: the storage format of
    // the profile (or `handHistoryFormat` when not negative), the local
    // offset, and the all-in dump of Veltrix.ini.
    kroHandParser::CParseSettings ParseSettings(int handHistoryFormat = -1) const;

    // The options of a manual import of this run into `settings`' database:
    // its connect string and the parse settings of
    // ParseSettings(handHistoryFormat); the caller adds the paths, the room and
    // the nick. Main thread (it reads the profile).
    CManualImportOptions ImportOptions(const CDatabaseSettings& settings,
                                       int handHistoryFormat = -1) const;

    // Imports the files and folders of `options` (see CManualImport::Run)
    // with this run's database context, stat definitions, log and notifier:
    // the lines go to the output and the log, `progress` (may be empty) hears
    // of each file and about four times a second of the hands, and `stop`
    // ends the import between hands, every stored hand whole. Any thread:
    // the desktop program and veltrix-cli call it from a worker of their own,
    // so `progress` runs there; several imports and live tracking may store
    // at once. Requires: construction finished; the stat definitions loaded.
    CManualImportResult ImportFiles(const CManualImportOptions& options,
                                    const CManualImport::ProgressFn& progress,
                                    std::stop_token stop = {});

    // "Start": makes live tracking on first use (with its audit side and the
    // HUD link when the platform has a transport), sets the tracker switch,
    // finds the clients, starts the HUD program and watches the folders.
    // Requires: UseDatabase succeeded, the platform's loop, processes and
    // change sources are set; `session` outlives live tracking or is null.
    CLiveTracking& StartLiveTracking(bool trackerOn, ISessionSink* session);
    // Live tracking when it was made, else null.
    CLiveTracking* Live() { return m_live.get(); }

    // Periodic work, about once a second: live tracking's retries and held
    // hands, and now and then the folding of the HUD summary.
    void Tick();

    // A packet that came to this program's endpoint (a table report of the
    // HUD program); returns the answer. Main thread.
    uint64_t HandlePacket(uint64_t tag, std::span<const uint8_t> payload);

    // The HUD text of a player (see CHudStats); empty without a database.
    std::wstring HudStatsText(const std::wstring& name, int32_t bigBlind, int32_t gameKind);

    // The archive at start: for every configured room folder, the files last
    // written before now − (delay days and hours) move into the room's work
    // directory.
    void ArchiveAtStart(IProcessList& processes, int64_t now);

    // Opens the debug trace file kroDB_Debug.txt in the program folder.
    bool OpenDebugTrace();

    const std::string& ProgramFolder() const { return m_options.programFolder; }
    CLogFile& LogFile() { return m_logFile; }
    CAppLogSink& Log() { return m_sink; }
    bool LogOpen() const { return m_logOpen; }
    IUserNotifier& Notifier() { return m_notifier; }
    IProfile& Profile() { return m_profile; }
    const CStartupSettings& Settings() const { return m_settings; }
    const CClientProbe& ClientProbe() const { return m_probe; }
    CRoomTable& Rooms() { return m_rooms; }
    CStatDefinitions& Definitions() { return m_definitions; }
    kroDB::CDbContext& Db() { return *m_db; }
    // The stat-name vocabulary (filled by StartUp).
    const std::map<std::wstring, int32_t>& StatNames() const { return m_statNames; }
    // The HUD layouts (loaded by StartUp).
    CHudLayouts& HudLayouts() { return *m_hudLayouts; }
    // The name of the chosen HUD layout; written to the profile at ShutDown.
    const std::wstring& HudName() const { return m_hudName; }
    void SetHudName(const std::wstring& name) { m_hudName = name; }
    // The HUD link when live tracking made it, else null.
    CHudLink* HudLink() { return m_hudLink.get(); }
    // The room whose profile section holds the HUD name; 1 after construction.
    int SettingsRoom() const { return m_settingsRoom; }

    // The header written at the top of every run: a rule, the build date and
    // the version.
    static std::wstring RunHeader();

private:
    void Construct();
    bool ConfigureRoom(int number, const std::wstring& name, const std::wstring& historyFolder);
    void ResultLine(const std::wstring& text);
    bool Complete(const CDatabaseSettings& settings);
    void InstallHudSummary();

    CApplicationCoreOptions m_options;
    IUserNotifier& m_notifier;
    CMemoryProfile m_ownProfile;
    IProfile& m_profile;
    CPlatformServices m_platform;
    CLogFile m_logFile{true};
    CLogFile m_traceFile{false};
    CAppLogSink m_sink{&m_logFile, &m_traceFile};
    bool m_logOpen = false;
    CStartupSettings m_settings;
    CClientProbe m_probe;
    CRoomTable m_rooms;
    int m_settingsRoom = 1;
    std::wstring m_hudName;
    CStatDefinitions m_definitions;
    std::unique_ptr<kroDB::CDbContext> m_db;
    std::map<std::wstring, int32_t> m_statNames;
    std::unique_ptr<CHudLayouts> m_hudLayouts;
    std::unique_ptr<CHudStats> m_hudStats;
    std::unique_ptr<CHudLink> m_hudLink;
    // Last: they use everything above.
    std::unique_ptr<CLiveTracking> m_live;
    std::unique_ptr<CAuditSeating> m_auditSeating;
    bool m_shutDown = false;
    // How often the HUD summary's rows of differences are folded while live
    // tracking runs, and the worker that folds them.
    static constexpr std::chrono::seconds kCompactEvery{30};
    std::chrono::steady_clock::time_point m_lastCompact;
    std::thread m_compaction;
};
