// The audit side of live tracking: the PokerStars client appends one line per
// hand to an audit file of its audit folder, naming the table and everyone
// seated. For each new line of the hero's account this finds the client's
// window of that table (once per table), turns seats into HUD positions around
// the hero's preferred seat and has the HUD show every seated player's
// statistics and hide the boxes of seats that emptied. Keeps the table map.
// Main thread only.
#pragma once

#include "live/CTableRecord.h"

#include <cstdint>
#include <memory>
#include <string>

class CDirectoryChangeHandler;
class CLiveTracking;
class CRoomTable;
class ILogSink;
class ITableHud;
class IWindowFinder;

class CAuditSeating
{
public:
    // Requires: every reference outlives this object and every change
    // delivered to its handler.
    CAuditSeating(CLiveTracking& live,
                  CRoomTable& rooms,
                  IWindowFinder& windows,
                  ITableHud& hud,
                  ILogSink& log);
    ~CAuditSeating();
    CAuditSeating(const CAuditSeating&) = delete;
    CAuditSeating& operator=(const CAuditSeating&) = delete;

    // The handler of the audit folder's watcher (give it to live tracking).
    std::shared_ptr<CDirectoryChangeHandler> Handler() const { return m_handler; }

    // The handler's operations on live tracking's audit-file map: a new file is
    // read from its start, a removed one forgotten, a renamed one is new under
    // its new name; a grown one has its first new line processed (under the
    // watcher lock).
    void FileAdded(const std::wstring& path);
    void FileRemoved(const std::wstring& path);
    void FileRenamed(const std::wstring& oldPath, const std::wstring& newPath);
    void FileModified(const std::wstring& path);

    // Reads the first new line of `path` from `readPosition` (advanced) and,
    // when it is a line of the hero's account at a table of 2 to 10 seats
    // whose window is found, updates that table's HUD. False when nothing was
    // shown. Requires: the watcher lock is held.
    bool AuditFileChanged(const std::wstring& path, int64_t& readPosition);

    const CTableMap& Tables() const { return m_tables; }

private:
    CTableRecord* TableOf(const std::wstring& tableName, int32_t tableSize);

    CLiveTracking& m_live;
    CRoomTable& m_rooms;
    IWindowFinder& m_windows;
    ITableHud& m_hud;
    ILogSink& m_log;
    CTableMap m_tables;
    std::shared_ptr<CDirectoryChangeHandler> m_handler;
};
