// "Create Database" (also "Create HUD cache") and "Delete Database" over the
// application core: the target is what the five edits show, typed but not yet
// stored included. The core writes the result to the output pane and the log;
// it is shown in a message box. Main thread only; both wait for the server.
#pragma once

#include "app/core/CDatabaseSettings.h"

class CCommandDispatcher;
class CMainFrame;

class CDatabaseCommands
{
public:
    // Registers its commands. Requires: `frame` outlives this object.
    CDatabaseCommands(CMainFrame& frame, CCommandDispatcher& dispatcher);

    void OnCreateDatabase();
    void OnDeleteDatabase();

private:
    CDatabaseSettings SettingsFromEdits() const;
    void Run(bool create);

    CMainFrame& m_frame;
};
