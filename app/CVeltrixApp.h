// The desktop program's application object: construction opens the log, reads
// Veltrix.ini and configures the rooms (the application core); InitInstance
// loads the stat definitions, makes the main window and the first player
// list, loads the evaluator tables, opens the debug trace file, prepares ODBC,
// shows the session tracker when it is on, archives old files when the
// archive is on, and loads the stat names. Shutdown runs the other way round:
// the window closes, ExitInstance lets go of the windows and ODBC, and the
// destructor tells the HUD program to end, frees the tables and writes "End of
// work". Main thread only.
#pragma once

#include "app/CMainFrameContext.h"
#include "app/CProgramSwitches.h"
#include "live/PokerStarsClientProbe.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>

class CApplicationCore;
class CUnixMessageEndpoint;
class QSocketNotifier;
class CGuiNotifier;
class CMainFrame;
class CParserManualImport;
class CQtMainLoop;
class CStatDefinitions;
class IDialogs;
class IMessageChannel;
class IProcessList;
class IProfile;

namespace kroDB {
class CDbContext;
}

struct CVeltrixAppOptions
{
    // Where the log, Veltrix.ini and predeftypes.json lie; empty: found from
    // the executable's place.
    std::string programFolder;
    // Where the installed data files are copied from when missing.
    std::string shareFolder;
    // The user's home folder; empty: $HOME.
    std::string home;
    CClientProbeOptions probe;
    // Requires: both outlive the application object.
    IProfile* profile = nullptr;
    IDialogs* dialogs = nullptr;
    // Loads the evaluator tables; 0 when they cannot be had.
    std::function<int()> loadEvaluatorTables;
    // The way to the HUD program, told to end at shutdown; null: the real
    // Unix-socket channel.
    IMessageChannel* hudChannel = nullptr;
    // The name of the program's own endpoint, where the HUD program reports
    // table windows; empty: none (tests).
    std::wstring endpointName = L"VeltrixClass";
    // What a table report leads to; empty: it is logged.
    std::function<void(std::span<const uint8_t>)> tableReport;
    // The process list (default: /proc) and the file change source (default:
    // inotify) of live tracking.
    IProcessList* processes = nullptr;
    CLiveTracking::SourceFactory makeSource;
    TrackerWindowFactory makeTracker;
    // Show the main window (tests may leave it hidden).
    bool showWindow = true;
};

class CVeltrixApp
{
public:
    // The caption under which the HUD program runs.
    static constexpr const wchar_t* kHudProgramCaption = L"Pelmora";

    // Construction: the log, Veltrix.ini and the rooms. Never fails.
    explicit CVeltrixApp(CVeltrixAppOptions options);
    // Destruction: the HUD program's shutdown message, the tables freed and
    // the "End of work" line.
    ~CVeltrixApp();
    CVeltrixApp(const CVeltrixApp&) = delete;
    CVeltrixApp& operator=(const CVeltrixApp&) = delete;

    // False when the program must end at once (the main window could not be
    // made). When the evaluator tables are missing it says so, closes the
    // main window and returns true without the later steps.
    bool InitInstance();
    // Lets go of the windows, the debug trace file and ODBC; returns 0.
    int ExitInstance();

    // Whether the program's endpoint is open.
    bool EndpointOpen() const;

    // Whether the main window is open (false after the evaluator tables were
    // found missing, or once it was closed).
    bool Running() const;

    CMainFrame* MainFrame() const { return m_frame.get(); }
    CApplicationCore& Core() { return *m_core; }
    kroDB::CDbContext& Db() { return *m_db; }
    CProgramSwitches& Switches() { return m_switches; }
    const CStatDefinitions& Definitions() const { return *m_definitions; }
    const std::map<std::wstring, int32_t>& StatNames() const { return m_statNames; }
    bool TablesLoaded() const { return m_tablesLoaded; }

private:
    void OpenEndpoint();

    CVeltrixAppOptions m_options;
    std::unique_ptr<IProcessList> m_ownProcesses;
    std::unique_ptr<IMessageChannel> m_ownChannel;
    std::unique_ptr<CUnixMessageEndpoint> m_endpoint;
    std::unique_ptr<QSocketNotifier> m_endpointNotifier;
    std::unique_ptr<CGuiNotifier> m_notifier;
    std::unique_ptr<CApplicationCore> m_core;
    std::unique_ptr<CStatDefinitions> m_definitions;
    std::unique_ptr<CQtMainLoop> m_loop;
    std::unique_ptr<kroDB::CDbContext> m_db;
    std::unique_ptr<CParserManualImport> m_import;
    CProgramSwitches m_switches;
    std::unique_ptr<CMainFrameContext> m_frameContext;
    std::unique_ptr<CMainFrame> m_frame;
    std::map<std::wstring, int32_t> m_statNames;
    bool m_tablesLoaded = false;
    bool m_exited = false;
};
