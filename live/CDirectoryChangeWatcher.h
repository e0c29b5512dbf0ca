// Watches folders (with all their sub-folders) for added, removed, modified
// and renamed files. One worker thread per watcher reads the change source for
// all its folders and posts every change, filtered, to the main loop, where the
// folder's handler gets it. The public operations are called on the main
// thread. Starting and stopping a folder wait only for the worker, which never
// waits for the main thread, so they cannot deadlock; changes already posted
// for a stopped folder still arrive, followed by its watch-stopped change.
#pragma once

#include "live/CDirectoryChangeHandler.h"
#include "platform/IFileChangeSource.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

class CDelayedDirectoryChangeHandler;
class IMainLoop;

class CDirectoryChangeWatcher
{
public:
    // Requires: `loop` outlives the watcher and every change it posts.
    CDirectoryChangeWatcher(IMainLoop& loop, std::unique_ptr<IFileChangeSource> source);
    // Stops every folder (StopAll).
    virtual ~CDirectoryChangeWatcher();
    CDirectoryChangeWatcher(const CDirectoryChangeWatcher&) = delete;
    CDirectoryChangeWatcher& operator=(const CDirectoryChangeWatcher&) = delete;

    // Starts watching `folder` and its sub-folders for `handler`, delivering
    // the changes of files whose names match `includeFilter` (patterns with
    // `*` and `?`, separated by ";"; empty: all). A folder this watcher
    // already watches is stopped first. Returns 0, or kErrorInvalidParameter
    // (empty folder, no handler), kErrorBadPathName (missing or no folder),
    // kErrorNoMoreThreads (no worker), or the system's errno. The handler gets
    // WatchStarted with the same code either way.
    uint32_t WatchDirectory(const std::wstring& folder,
                            std::shared_ptr<CDirectoryChangeHandler> handler,
                            const std::wstring& includeFilter);

    // Whether `folder` is watched; a trailing "/" does not count, case does.
    bool IsWatched(const std::wstring& folder) const;

    // Stops `folder`; false when it is not watched.
    bool StopWatching(const std::wstring& folder);

    // Stops every folder and ends the worker.
    void StopAll();

    // The watched folders, in the order of their slots.
    std::vector<std::wstring> WatchedFolders() const;

protected:
    // Called on the worker thread when it starts and before it ends.
    virtual void ThreadStarting() {}
    virtual void ThreadEnding() {}

private:
    struct CFolder
    {
        std::wstring folder;
        std::wstring key;
        int tree = 0;
        std::shared_ptr<CDelayedDirectoryChangeHandler> wrapper;
        // The wrapper's handler, kept here for its watch count: the wrapper
        // lets go of it on the main thread.
        std::shared_ptr<CDirectoryChangeHandler> handler;
    };
    struct CRequest
    {
        bool start = true;
        int tree = 0;
        std::string folder;
        std::shared_ptr<CDelayedDirectoryChangeHandler> wrapper;
        // Start: the error code, and the tree id when it is 0.
        std::promise<std::pair<int, int>> done;
    };

    void Run(std::stop_token stop);
    std::pair<int, int> Submit(CRequest request);
    void HandleRequests();
    void HandleChanges(std::vector<CFileChange>& changes);
    void DeliverPendingMove();
    void DropFolder(int tree);
    static std::wstring KeyOf(const std::wstring& folder);

    IMainLoop& m_loop;
    const std::unique_ptr<IFileChangeSource> m_source;

    // Guards m_folders and m_requests.
    mutable std::mutex m_mutex;
    std::vector<std::optional<CFolder>> m_folders;
    std::deque<CRequest> m_requests;

    std::jthread m_worker;

    // Worker only: the wrappers by tree, and the first half of a rename whose
    // second half may still come.
    std::map<int, std::shared_ptr<CDelayedDirectoryChangeHandler>> m_trees;
    std::optional<CFileChange> m_pendingMove;
    std::chrono::steady_clock::time_point m_pendingSince;
};
