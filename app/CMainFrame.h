// The main window: the ribbon, the output pane, the tabbed player-list
// windows and the status bar. It wires the ribbon's elements to the commands
// of app/commands through one dispatcher, runs timer 44 (the session tracker
// comes back every two seconds while it is switched on), owns the session
// tracker window, and takes the HUD display program's table reports. On close
// it finishes the watched files, saves the switches and closes the tracker.
// Main thread only.
#pragma once

#include "app/CMainFrameContext.h"
#include "app/commands/CCommandDispatcher.h"

#include <QBasicTimer>
#include <QMainWindow>

#include <cstdint>
#include <memory>
#include <span>

class CDatabaseCommands;
class CImportCommands;
class CLiveCommands;
class COutputWnd;
class CRibbonBar;
class CSettingsCommands;
class CVeltrixView;
class CViewCommands;
class QLabel;
class QMdiArea;

namespace kroDB {
class CConnectionLease;
}

class CMainFrame : public QMainWindow
{
    Q_OBJECT

public:
    // Requires: `context` outlives the frame.
    explicit CMainFrame(CMainFrameContext& context, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Builds the ribbon, the room lists, the status bar and the output pane
    // and starts timer 44; false when the ribbon has no application button
    // (logged) or the pane cannot be made.
    bool Create();
    // Puts the profile's values into the ribbon and the program's switches.
    void LoadRibbonFromProfile();
    // Opens a player-list window (the document window).
    CVeltrixView* NewPlayerList();

    // Puts the window where it was at the end of the last run (a size that
    // fits the screen the first time).
    void RestorePlacement();

    // Runs the command `id`; false when no handler knows it.
    bool Dispatch(int id);
    // Sets check marks, enabled states and the Start button from the switches.
    void UpdateCommandUi();

    // A packet that arrived on the program's endpoint: a 20-byte table report
    // tagged 3 goes to the HUD link. Returns the tag as the answer.
    uint64_t OnCopyData(uint64_t tag, std::span<const uint8_t> bytes);

    // The main window closes for good: the switches are saved and the tracker
    // window closes (after the close event).
    void DestroyWindow();

    CMainFrameContext& Context() { return m_context; }
    CRibbonBar* Ribbon() const { return m_ribbon; }
    COutputWnd* Output() const { return m_output; }
    QMdiArea* Mdi() const { return m_mdi; }
    CVeltrixView* ActivePlayerList() const;
    QLabel* StatusPane(int index) const;

    // The session tracker window, null until first needed.
    ITrackerWindow* Tracker() const { return m_tracker.get(); }
    ITrackerWindow& EnsureTracker();
    // The database connection held while live import runs.
    bool HoldsLiveConnection() const { return m_liveConnection != nullptr; }
    void HoldLiveConnection(std::unique_ptr<kroDB::CConnectionLease> lease);
    void ReleaseLiveConnection();
    bool TimerRunning() const { return m_timer.isActive(); }
    // One timer 44 tick (also what the timer runs).
    void OnTrackerTimer();

    // A line to the output pane and the log.
    void Report(const QString& text);

protected:
    void closeEvent(QCloseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    bool event(QEvent* event) override;

private:
    CMainFrameContext& m_context;
    CRibbonBar* m_ribbon = nullptr;
    COutputWnd* m_output = nullptr;
    QMdiArea* m_mdi = nullptr;
    QLabel* m_statusPanes[2] = {nullptr, nullptr};
    CCommandDispatcher m_dispatcher;
    std::unique_ptr<CSettingsCommands> m_settings;
    std::unique_ptr<CDatabaseCommands> m_database;
    std::unique_ptr<CImportCommands> m_import;
    std::unique_ptr<CLiveCommands> m_live;
    std::unique_ptr<CViewCommands> m_view;
    std::unique_ptr<ITrackerWindow> m_tracker;
    std::unique_ptr<kroDB::CConnectionLease> m_liveConnection;
    QBasicTimer m_timer;
    bool m_destroyed = false;
};
