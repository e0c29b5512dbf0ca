// The receiver of a watched folder's changes. Every operation is called on the
// main thread, in the order the changes happened; the base operations do
// nothing. Handlers are shared (std::shared_ptr): a watcher keeps its handler
// alive while a change for it is still on its way.
#pragma once

#include "live/CDirectoryChangeNotification.h"

#include <atomic>
#include <cstdint>
#include <string>

class CDirectoryChangeHandler
{
public:
    virtual ~CDirectoryChangeHandler() = default;

    virtual void FileAdded(const std::wstring& /*path*/) {}
    virtual void FileRemoved(const std::wstring& /*path*/) {}
    virtual void FileRenamed(const std::wstring& /*oldPath*/, const std::wstring& /*newPath*/) {}
    virtual void FileModified(const std::wstring& path) = 0;
    // The folder cannot be read any more, or (kErrorNotifyEnumDir) changes of
    // it were lost while it stays watched.
    virtual void WatchError(uint32_t /*errorCode*/, const std::wstring& /*folder*/) {}
    virtual void WatchStarted(uint32_t /*errorCode*/, const std::wstring& /*folder*/) {}
    virtual void WatchStopped(const std::wstring& /*folder*/) {}
    // Whether a change that passed the watcher's filter is delivered.
    virtual bool AcceptNotification(DirectoryChange /*kind*/,
                                    const std::wstring& /*path*/,
                                    const std::wstring& /*newPath*/)
    {
        return true;
    }

    // The watched folder whose change is being delivered; valid during a call.
    const std::wstring& CurrentFolder() const { return m_currentFolder; }
    // How many folders, of any watchers, use this handler now.
    int WatchCount() const { return m_watchCount.load(); }

private:
    friend class CDelayedDirectoryChangeHandler;
    friend class CDirectoryChangeWatcher;

    // Main thread only.
    std::wstring m_currentFolder;
    std::atomic<int> m_watchCount{0};
};
