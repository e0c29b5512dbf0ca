// The desktop program's application object, a front over the application core:
// construction opens the log, reads Veltrix.ini and configures the rooms;
// InitInstance makes the main window (with the stat definitions its room lists
// need) and the first player list, loads the evaluator tables, runs the core's
// start steps (debug trace file, ODBC, settings room, archive at start, stat
// names, HUD layouts), tests the ODBC driver, opens the program's endpoint for
// the HUD program's table reports and shows the session tracker when it is
// on. Shutdown runs the other way round: the window closes, ExitInstance lets
// go of the windows and ends the core's run, and the destructor frees the
// tables and lets the core write "End of work". Main thread only.
#pragma once

#include "app/CMainFrameContext.h"
#include "app/CProgramSwitches.h"
#include "live/CLiveTracking.h"
#include "live/PokerStarsClientProbe.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>

class CApplicationCore;
class CGuiNotifier;
class CMainFrame;
class CCoreManualImport;
class CQtMainLoop;
class CUnixMessageEndpoint;
class IDialogs;
class IMessageChannel;
class IProcessList;
class IProfile;
class IProgramLauncher;
class IWindowFinder;
class QSocketNotifier;

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
    // The platform's services for live tracking and the HUD; null: the real
    // ones (/proc, the Unix-socket transport, X11, posix_spawn, inotify).
    IProcessList* processes = nullptr;
    IMessageChannel* hudChannel = nullptr;
    IWindowFinder* windows = nullptr;
    IProgramLauncher* launcher = nullptr;
    CLiveTracking::SourceFactory makeSource;
    // Makes the session tracker window; empty: the tracker itself.
    TrackerWindowFactory makeTracker;
    // The name of the program's own endpoint, where the HUD program reports
    // table windows; empty: none.
    std::wstring endpointName = L"VeltrixClass";
    // Show the main window (tests may leave it hidden).
    bool showWindow = true;
};

class CVeltrixApp
{
public:
    // Construction: the log, Veltrix.ini and the rooms. Never fails.
    explicit CVeltrixApp(CVeltrixAppOptions options);
    // Destruction: the tables freed, the core's end (the HUD program told to
    // end when this run started it, the "End of work" line).
    ~CVeltrixApp();
    CVeltrixApp(const CVeltrixApp&) = delete;
    CVeltrixApp& operator=(const CVeltrixApp&) = delete;

    // False when the program must end at once (the main window could not be
    // made). When the evaluator tables are missing it says so, closes the
    // main window and returns true without the later steps.
    bool InitInstance();
    // Lets go of the windows and the endpoint and ends the core's run;
    // returns 0.
    int ExitInstance();

    // Whether the main window is open (false after the evaluator tables were
    // found missing, or once it was closed).
    bool Running() const;
    // Whether the program's endpoint is open.
    bool EndpointOpen() const;

    CMainFrame* MainFrame() const { return m_frame.get(); }
    CApplicationCore& Core() { return *m_core; }
    CProgramSwitches& Switches() { return m_switches; }
    bool TablesLoaded() const { return m_tablesLoaded; }

private:
    void OpenEndpoint();

    CVeltrixAppOptions m_options;
    std::unique_ptr<IProcessList> m_ownProcesses;
    std::unique_ptr<IMessageChannel> m_ownChannel;
    std::unique_ptr<IWindowFinder> m_ownWindows;
    std::unique_ptr<IProgramLauncher> m_ownLauncher;
    std::unique_ptr<CQtMainLoop> m_loop;
    std::unique_ptr<CGuiNotifier> m_notifier;
    std::unique_ptr<CApplicationCore> m_core;
    std::unique_ptr<CCoreManualImport> m_import;
    CProgramSwitches m_switches;
    std::unique_ptr<CMainFrameContext> m_frameContext;
    std::unique_ptr<CMainFrame> m_frame;
    std::unique_ptr<CUnixMessageEndpoint> m_endpoint;
    std::unique_ptr<QSocketNotifier> m_endpointNotifier;
    bool m_tablesLoaded = false;
    bool m_exited = false;
};
