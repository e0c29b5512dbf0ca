// "Start"/"Stop" of live import and the "RoraRevir" switch of the session
// tracker. Start makes the profile's database the run's (the core says when it
// is missing), holds a connection, resets the session when the tracker is on
// and has the core watch the rooms' folders; Stop stops watching. The switch shows or hides the
// tracker window and tells live import whether to import. Main thread only.
#pragma once

#include <QTimer>

#include <memory>

class CCommandDispatcher;
class CLiveTracking;
class CMainFrame;
class IProfile;
class ITrackerWindow;
class QWidget;

class CLiveCommands
{
public:
    // Registers its commands. Requires: `frame` outlives this object.
    CLiveCommands(CMainFrame& frame, CCommandDispatcher& dispatcher);
    ~CLiveCommands();

    void OnStart();
    void OnTrackerSwitch();
    void UpdateUi();
    // The main window closes: the core ends the run (the watched files are
    // marked finished, the HUD name is stored).
    void OnClose();
    // The tracker window goes: live import stops sending it figures.
    void DetachTracker();

    bool Running() const { return m_running; }
    // Live tracking once Start made it, else null.
    CLiveTracking* Live() const;

private:
    void ConnectTracker();

    CMainFrame& m_frame;
    bool m_running = false;
    // Drives live import's periodic work while it runs.
    QTimer m_tick;
};
