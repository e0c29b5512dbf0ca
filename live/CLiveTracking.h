// Live tracking: the watched-file maps, the live totals and the watchers of
// the rooms' history folders; "Start", live import of what the clients append,
// the session figures, and marking the files finished at the end. Program-wide
// state owned by the application; called on the main thread, while the
// watchers' workers post to the main loop.
//
// Locking: the watcher lock (WatcherLock()) guards the two watched-file maps
// and every record in them. Every public operation takes it for its whole run
// (the importing included) and releases it before it returns; none may be
// called while it is held, except LiveImport, which requires it.
// HistoryFiles() and AuditFiles() hand out the maps themselves and require it
// too; HistoryFilesCopy() takes it for the copy.
//
// Live import reads each watched file from where it stopped and imports only
// complete hands: a hand is complete when the next hand begins or when an
// empty line follows its summary. A hand the client is still writing waits,
// however long the client pauses; when tracking ends it stays for the next
// start (the file is then read again when it grew). A file that shrinks or is
// replaced is read again from its start; stored hands are never stored twice.
// When the database goes away, nothing read meanwhile is lost: the files are
// read again once Tick finds it back.
#pragma once

#include "db/tables/CActionList.h"
#include "live/CDirectoryChangeHandler.h"
#include "live/CDirectoryChangeWatcher.h"
#include "live/CWatchedFile.h"
#include "parser/CHandHistoryImporter.h"
#include "parser/CParseContext.h"
#include "parser/CParserEnvironment.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

class CRoomTable;
class CPokerRoom;
class ILogSink;
class IUserNotifier;
class IMainLoop;
class IProcessList;
class ISessionSink;
class ITableHud;
class CDirectoryChangeHandlerHistory;

namespace kroDB {
class CConnectionLease;
}

class CLiveTracking
{
public:
    using SourceFactory = std::function<std::unique_ptr<IFileChangeSource>()>;

    // Requires: every reference outlives this object. `makeSource` makes the
    // change source of each watcher.
    CLiveTracking(CRoomTable& rooms,
                  kroDB::CDbContext& db,
                  ILogSink& log,
                  IUserNotifier& notifier,
                  IMainLoop& loop,
                  IProcessList& processes,
                  SourceFactory makeSource,
                  kroHandParser::CParseSettings settings);
    ~CLiveTracking();
    CLiveTracking(const CLiveTracking&) = delete;
    CLiveTracking& operator=(const CLiveTracking&) = delete;

    // The session tracker's switch: live import runs only while it is on.
    void SetTrackerSwitch(bool on) { m_trackerOn = on; }
    bool TrackerSwitch() const { return m_trackerOn; }
    // Where the session figures go; may be null. Requires: it outlives this.
    void SetSessionSink(ISessionSink* sink) { m_sink = sink; }
    // The handler of the PokerStars audit folder; without one that folder is
    // not watched.
    void SetAuditHandler(std::shared_ptr<CDirectoryChangeHandler> handler);
    // The HUD whose display program "Start" starts (after the clients'
    // processes are found); may be null. Requires: it outlives this object.
    void SetTableHud(ITableHud* hud) { m_tableHud = hud; }

    // "Start": with the tracker on, sets the totals (and the figures) to 0;
    // empties the history map, finds the clients' processes, and for each room
    // whose HUD switch is on and whose folder exists registers the files
    // present (read to their end) and watches the folder anew. Log lines tell
    // how each watch started. A registered file that was marked finished and
    // has changed since (the client wrote to it while tracking was off) is
    // read from its start at once, storing only the hands not stored yet; a
    // file whose unfinished hand was held keeps it.
    void StartLiveTracking();

    // Imports what was appended to the watched file `path` since its record's
    // read position, adds the hero's money and EV of every newly stored hand
    // to the totals and updates the session figures. Returns 1. With the
    // tracker off nothing is read and the position stays.
    // Requires: the watcher lock is held; `record` is the map's entry.
    int LiveImport(const std::wstring& path, CWatchedFile& record);

    // Periodic work (the main loop calls it about once a second): when the
    // database came back, reads again the files whose import failed.
    void Tick();

    // The main window closes: with a database and the tracker on, marks every
    // watched file finished (in key order), recording what it held as far as
    // it was read.
    void FinishWatchedFiles();

    // Stops every watcher of live tracking.
    void StopWatching();

    // The history handler's operations (see CDirectoryChangeHandlerHistory).
    void HistoryFileAdded(const std::wstring& path);
    void HistoryFileRemoved(const std::wstring& path);
    void HistoryFileRenamed(const std::wstring& oldPath, const std::wstring& newPath);
    void HistoryFileModified(const std::wstring& path);
    void HistoryChangesLost(const std::wstring& folder);

    // Guards the watched-file maps (see the locking rule above).
    std::mutex& WatcherLock() { return m_watcherLock; }
    // Requires: the watcher lock is held for as long as the map is used.
    CWatchedFileMap& HistoryFiles() { return m_historyFiles; }
    CWatchedFileMap& AuditFiles() { return m_auditFiles; }
    // A copy of the history map, taken under the watcher lock.
    CWatchedFileMap HistoryFilesCopy();
    const std::shared_ptr<CDirectoryChangeHandlerHistory>& HistoryHandler() const
    {
        return m_historyHandler;
    }
    CDirectoryChangeWatcher* AuditWatcher() { return m_auditWatcher.get(); }

    int32_t TotalHands() const { return m_hands; }
    int32_t TotalMoney() const { return m_money; }
    int32_t TotalEv() const { return m_ev; }
    // Whether the last import found the database gone (until Tick finds it
    // back).
    bool DatabaseDown() const { return m_dbDown; }
    const kroHandParser::CImportCounts& Counts() const { return m_env.counts; }

private:
    // The operations above without taking the watcher lock. Requires: it is
    // held.
    void FileAddedLocked(const std::wstring& path);
    void FileRemovedLocked(const std::wstring& path);
    // Reads from its start every registered file whose finished row no longer
    // matches it.
    void ReadChangedFinishedFiles();
    void Watch(CDirectoryChangeWatcher& watcher,
               const std::wstring& folder,
               std::shared_ptr<CDirectoryChangeHandler> handler,
               const wchar_t* filter,
               const wchar_t* started,
               const wchar_t* failed);
    CDirectoryChangeWatcher& WatcherOf(CPokerRoom& room);
    void FindClientProcesses();
    // Reads the new lines of `record` into `complete`; false when there is
    // nothing to import.
    bool ReadNewLines(const std::wstring& path,
                      CWatchedFile& record,
                      std::vector<std::wstring>& complete);
    int ImportLines(const std::wstring& path,
                    CWatchedFile& record,
                    const std::vector<std::wstring>& lines,
                    bool& failed);
    void AddHeroHands(const std::wstring& path, int stored);
    void HoldConnection();
    void DebugLine(const std::wstring& text);

    CRoomTable& m_rooms;
    kroDB::CDbContext& m_db;
    ILogSink& m_log;
    IMainLoop& m_loop;
    IProcessList& m_processes;
    SourceFactory m_makeSource;

    // Live import's own parse state, so that the hero rows it takes are its
    // own hands only, whatever else imports at the same time.
    kroDB::CActionList m_actions;
    kroHandParser::CParseContext m_parseContext;
    kroHandParser::CParserEnvironment m_env;
    kroHandParser::CHandHistoryImporter m_importer;

    // Guards the two maps and their records.
    std::mutex m_watcherLock;
    CWatchedFileMap m_historyFiles;
    CWatchedFileMap m_auditFiles;
    int32_t m_hands = 0;
    int32_t m_money = 0;
    int32_t m_ev = 0;
    bool m_trackerOn = false;
    ISessionSink* m_sink = nullptr;
    ITableHud* m_tableHud = nullptr;
    int64_t m_startTime = 0;

    std::shared_ptr<CDirectoryChangeHandlerHistory> m_historyHandler;
    std::shared_ptr<CDirectoryChangeHandler> m_auditHandler;
    std::unique_ptr<CDirectoryChangeWatcher> m_auditWatcher;

    // Keeps the shared connection open while tracking runs; let go when the
    // database went away, so that the next use opens a new one.
    std::unique_ptr<kroDB::CConnectionLease> m_lease;
    bool m_dbDown = false;
};
