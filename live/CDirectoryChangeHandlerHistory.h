// The handler of the watched hand-history folders: it keeps the map of watched
// files of live tracking up to date and has what the client appends imported.
// Main thread only.
#pragma once

#include "live/CDirectoryChangeHandler.h"

class CLiveTracking;

class CDirectoryChangeHandlerHistory : public CDirectoryChangeHandler
{
public:
    // Requires: `live` outlives every change delivered to this handler.
    explicit CDirectoryChangeHandlerHistory(CLiveTracking& live)
        : m_live(live)
    {}

    // Registers a new file (read from its start) and imports what it holds.
    void FileAdded(const std::wstring& path) override;
    void FileRemoved(const std::wstring& path) override;
    // A renamed file is a new file under its new name.
    void FileRenamed(const std::wstring& oldPath, const std::wstring& newPath) override;
    // Imports what was appended, under the watcher lock.
    void FileModified(const std::wstring& path) override;
    // After lost changes, looks at every file of the folder anew.
    void WatchError(uint32_t errorCode, const std::wstring& folder) override;

private:
    CLiveTracking& m_live;
};
