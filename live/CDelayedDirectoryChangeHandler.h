// What a watcher puts between one watched folder and its handler: called on the
// watcher's worker, it filters each change by the folder's include patterns and
// posts it to the main loop, where Deliver calls the real handler. Shared by
// the watcher and the changes still queued.
#pragma once

#include "live/CDirectoryChangeHandler.h"

#include <memory>
#include <string>
#include <vector>

class IMainLoop;

class CDelayedDirectoryChangeHandler
    : public CDirectoryChangeHandler,
      public std::enable_shared_from_this<CDelayedDirectoryChangeHandler>
{
public:
    // Requires: `loop` outlives every change this wrapper posts.
    CDelayedDirectoryChangeHandler(IMainLoop& loop,
                                   std::shared_ptr<CDirectoryChangeHandler> handler,
                                   std::wstring folder,
                                   const std::wstring& includeFilter);

    // Worker side: each posts one change (after the filter) and returns.
    void FileAdded(const std::wstring& path) override;
    void FileRemoved(const std::wstring& path) override;
    void FileRenamed(const std::wstring& oldPath, const std::wstring& newPath) override;
    void FileModified(const std::wstring& path) override;
    void WatchError(uint32_t errorCode, const std::wstring& folder) override;
    void WatchStarted(uint32_t errorCode, const std::wstring& folder) override;
    void WatchStopped(const std::wstring& folder) override;

    // Main thread: hands `change` to the real handler when it passes the
    // handler's AcceptNotification. After the change that ends the watch (its
    // stop, a failed start, a read error other than lost changes) the real
    // handler is let go. An exception of the handler is caught: the next change
    // must still arrive.
    void Deliver(const CDirectoryChangeNotification& change);

    // Whether a change passes the include patterns: the file name (after the
    // last "/"; for a rename either name) matches one; kinds 5 to 7 always
    // pass, and so does everything without patterns.
    bool PassesFilter(const CDirectoryChangeNotification& change) const;

    const std::wstring& Folder() const { return m_folder; }
    const std::shared_ptr<CDirectoryChangeHandler>& RealHandler() const { return m_real; }

private:
    void Post(CDirectoryChangeNotification change);

    IMainLoop& m_loop;
    // Set at construction, let go on the main thread.
    std::shared_ptr<CDirectoryChangeHandler> m_real;
    const std::wstring m_folder;
    const int32_t m_prefixLength;
    const std::vector<std::wstring> m_includePatterns;
};

// `*` stands for any run of characters (also none), `?` for one; all others
// must be equal, exactly in case.
bool MatchesPattern(const std::wstring& name, const std::wstring& pattern);

// The include filter split at ";"; empty parts are dropped.
std::vector<std::wstring> SplitPatterns(const std::wstring& filter);
