// "Import Files", "Import Folder 1" and "Import Folder 2": the chosen file or
// the room's hand-history files of a chosen folder are imported on a worker,
// with a progress dialog, lines in the output pane and the log, and Cancel.
// The database must exist; the last folder is remembered per room and
// button. Main thread only.
#pragma once

#include "app/IManualImport.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <string>
#include <vector>

class CCommandDispatcher;
class CImportDialog;
class CMainFrame;

class CImportCommands
{
public:
    // Registers its commands. Requires: `frame` outlives this object.
    CImportCommands(CMainFrame& frame, CCommandDispatcher& dispatcher);
    // Cancels and waits for every import still running.
    ~CImportCommands();

    void OnImportFiles();
    void OnImportFolder(int id);

    // Asks every running import to stop.
    void CancelAll();
    // The dialog of the last import started, null when it is gone.
    CImportDialog* LastDialog() const;
    // Whether an import still runs.
    bool Running() const;

private:
    // Makes the database current and checks it; false with the message shown.
    bool PrepareDatabase();
    // The options of an import of the room `room` as the ribbon and the
    // profile give them; the caller adds the paths.
    CManualImportOptions Options(const std::wstring& room);
    void Start(CManualImportOptions options, const QString& title);

    CMainFrame& m_frame;
    // Receives the workers' reports on the main thread; outlives the tasks.
    QObject m_receiver;
    struct CRunning
    {
        std::unique_ptr<IManualImportTask> task;
        QPointer<CImportDialog> dialog;
    };
    std::vector<CRunning> m_running;
    QPointer<CImportDialog> m_lastDialog;
};
