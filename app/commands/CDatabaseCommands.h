// "Create Database" (also "Create HUD cache") and "Delete Database": the
// target is what the five edits show, typed but not yet stored included. The
// result is shown in a message box and then written to the output pane and
// the log. Main thread only; both wait for the database server.
#pragma once

#include <QString>

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
    // The connection text of the edits; empty (with the message shown) when
    // the server, port, name or user is empty.
    QString TargetFromEdits();
    void ShowResult(const QString& text);

    CMainFrame& m_frame;
};
