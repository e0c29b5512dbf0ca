#include "live/CDirectoryChangeWatcher.h"

#include "foundation/WideText.h"
#include "live/CDelayedDirectoryChangeHandler.h"
#include "live/SystemErrorText.h"

#include <cerrno>
#include <sys/stat.h>
#include <system_error>

namespace {

// How long the first half of a rename waits for its second half.
constexpr std::chrono::milliseconds kRenameGrace(50);

}  // namespace

CDirectoryChangeWatcher::CDirectoryChangeWatcher(IMainLoop& loop,
                                                 std::unique_ptr<IFileChangeSource> source)
    : m_loop(loop)
    , m_source(std::move(source))
{}

CDirectoryChangeWatcher::~CDirectoryChangeWatcher()
{
    StopAll();
}

std::wstring CDirectoryChangeWatcher::KeyOf(const std::wstring& folder)
{
    std::wstring key = folder;
    while (key.size() > 1 && key.back() == L'/') {
        key.pop_back();
    }
    return key;
}

uint32_t CDirectoryChangeWatcher::WatchDirectory(const std::wstring& folder,
                                                 std::shared_ptr<CDirectoryChangeHandler> handler,
                                                 const std::wstring& includeFilter)
{
    if (folder.empty() || !handler) {
        return kErrorInvalidParameter;
    }
    struct stat st
    {
    };
    if (::stat(ToUtf8(folder).c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        return kErrorBadPathName;
    }
    if (IsWatched(folder)) {
        (void)StopWatching(folder);
    }
    auto wrapper =
        std::make_shared<CDelayedDirectoryChangeHandler>(m_loop, handler, folder, includeFilter);
    if (!m_worker.joinable()) {
        try {
            m_worker = std::jthread([this](std::stop_token stop) { Run(stop); });
        } catch (const std::system_error& e) {
            return e.code().value() != 0 ? static_cast<uint32_t>(e.code().value())
                                         : kErrorNoMoreThreads;
        }
    }
    CRequest request;
    request.start = true;
    request.folder = ToUtf8(folder);
    request.wrapper = wrapper;
    const auto [error, tree] = Submit(std::move(request));
    if (error != 0) {
        return error == ENOENT || error == ENOTDIR ? kErrorBadPathName
                                                   : static_cast<uint32_t>(error);
    }
    ++handler->m_watchCount;
    std::scoped_lock lock(m_mutex);
    CFolder entry{folder, KeyOf(folder), tree, wrapper, std::move(handler)};
    for (auto& slot : m_folders) {
        if (!slot) {
            slot = std::move(entry);
            return 0;
        }
    }
    m_folders.emplace_back(std::move(entry));
    return 0;
}

bool CDirectoryChangeWatcher::IsWatched(const std::wstring& folder) const
{
    const std::wstring key = KeyOf(folder);
    std::scoped_lock lock(m_mutex);
    for (const auto& slot : m_folders) {
        if (slot && slot->key == key) {
            return true;
        }
    }
    return false;
}

bool CDirectoryChangeWatcher::StopWatching(const std::wstring& folder)
{
    const std::wstring key = KeyOf(folder);
    std::optional<CFolder> taken;
    {
        std::scoped_lock lock(m_mutex);
        for (auto& slot : m_folders) {
            if (slot && slot->key == key) {
                taken = std::move(slot);
                slot.reset();
                break;
            }
        }
    }
    if (!taken || !m_worker.joinable()) {
        return false;
    }
    CRequest request;
    request.start = false;
    request.tree = taken->tree;
    request.wrapper = taken->wrapper;
    (void)Submit(std::move(request));
    --taken->handler->m_watchCount;
    return true;
}

void CDirectoryChangeWatcher::StopAll()
{
    std::vector<CFolder> all;
    {
        std::scoped_lock lock(m_mutex);
        for (auto& slot : m_folders) {
            if (slot) {
                all.push_back(std::move(*slot));
            }
        }
        m_folders.clear();
    }
    if (!m_worker.joinable()) {
        return;
    }
    for (auto& folder : all) {
        CRequest request;
        request.start = false;
        request.tree = folder.tree;
        request.wrapper = folder.wrapper;
        (void)Submit(std::move(request));
        --folder.handler->m_watchCount;
    }
    m_worker.request_stop();
    m_source->Interrupt();
    m_worker.join();
    m_worker = std::jthread();
    m_trees.clear();
    m_pendingMove.reset();
}

std::vector<std::wstring> CDirectoryChangeWatcher::WatchedFolders() const
{
    std::scoped_lock lock(m_mutex);
    std::vector<std::wstring> folders;
    for (const auto& slot : m_folders) {
        if (slot) {
            folders.push_back(slot->folder);
        }
    }
    return folders;
}

std::pair<int, int> CDirectoryChangeWatcher::Submit(CRequest request)
{
    std::future<std::pair<int, int>> done = request.done.get_future();
    {
        std::scoped_lock lock(m_mutex);
        m_requests.push_back(std::move(request));
    }
    m_source->Interrupt();
    return done.get();
}

void CDirectoryChangeWatcher::Run(std::stop_token stop)
{
    ThreadStarting();
    std::vector<CFileChange> changes;
    while (!stop.stop_requested()) {
        HandleRequests();
        changes.clear();
        int timeoutMs = -1;
        if (m_pendingMove) {
            const auto waited = std::chrono::steady_clock::now() - m_pendingSince;
            timeoutMs = static_cast<int>(std::max<int64_t>(
                0, std::chrono::duration_cast<std::chrono::milliseconds>(kRenameGrace - waited)
                       .count()));
        }
        m_source->Wait(changes, timeoutMs);
        if (m_pendingMove && changes.empty() &&
            std::chrono::steady_clock::now() - m_pendingSince >= kRenameGrace) {
            DeliverPendingMove();
        }
        HandleChanges(changes);
    }
    DeliverPendingMove();
    HandleRequests();
    ThreadEnding();
}

void CDirectoryChangeWatcher::HandleRequests()
{
    std::deque<CRequest> requests;
    {
        std::scoped_lock lock(m_mutex);
        requests.swap(m_requests);
    }
    for (auto& request : requests) {
        if (request.start) {
            int tree = 0;
            const int error = m_source->AddTree(request.folder, tree);
            if (error == 0) {
                m_trees[tree] = request.wrapper;
            }
            const uint32_t code = error == ENOENT || error == ENOTDIR
                                      ? kErrorBadPathName
                                      : static_cast<uint32_t>(error);
            request.wrapper->WatchStarted(code, request.wrapper->Folder());
            request.done.set_value({error, tree});
        } else {
            if (m_pendingMove && m_pendingMove->tree == request.tree) {
                DeliverPendingMove();
            }
            m_source->RemoveTree(request.tree);
            m_trees.erase(request.tree);
            request.wrapper->WatchStopped(request.wrapper->Folder());
            request.done.set_value({0, request.tree});
        }
    }
}

void CDirectoryChangeWatcher::HandleChanges(std::vector<CFileChange>& changes)
{
    for (auto& change : changes) {
        if (m_pendingMove) {
            if (change.kind == CFileChange::Kind::MovedTo &&
                change.cookie == m_pendingMove->cookie && change.tree == m_pendingMove->tree) {
                const auto tree = m_trees.find(change.tree);
                if (tree != m_trees.end()) {
                    tree->second->FileRenamed(FromUtf8(m_pendingMove->path), FromUtf8(change.path));
                }
                m_pendingMove.reset();
                continue;
            }
            DeliverPendingMove();
        }
        if (change.kind == CFileChange::Kind::Overflow) {
            for (const auto& [tree, wrapper] : m_trees) {
                wrapper->WatchError(kErrorNotifyEnumDir, wrapper->Folder());
            }
            continue;
        }
        const auto tree = m_trees.find(change.tree);
        if (tree == m_trees.end()) {
            continue;
        }
        const auto& wrapper = tree->second;
        switch (change.kind) {
        case CFileChange::Kind::Added:
        case CFileChange::Kind::MovedTo:
            wrapper->FileAdded(FromUtf8(change.path));
            break;
        case CFileChange::Kind::Removed:
            wrapper->FileRemoved(FromUtf8(change.path));
            break;
        case CFileChange::Kind::Modified:
            wrapper->FileModified(FromUtf8(change.path));
            break;
        case CFileChange::Kind::MovedFrom:
            m_pendingMove = std::move(change);
            m_pendingSince = std::chrono::steady_clock::now();
            break;
        case CFileChange::Kind::TreeGone: {
            // Dropped before the error goes out, so that whoever handles the
            // error already finds the folder unwatched.
            const std::shared_ptr<CDelayedDirectoryChangeHandler> gone = wrapper;
            DropFolder(change.tree);
            gone->WatchError(ENOENT, gone->Folder());
            break;
        }
        case CFileChange::Kind::Overflow:
            break;
        }
    }
}

void CDirectoryChangeWatcher::DeliverPendingMove()
{
    if (!m_pendingMove) {
        return;
    }
    // The file left the folder: its new name lies outside, or never came.
    const auto tree = m_trees.find(m_pendingMove->tree);
    if (tree != m_trees.end()) {
        tree->second->FileRemoved(FromUtf8(m_pendingMove->path));
    }
    m_pendingMove.reset();
}

void CDirectoryChangeWatcher::DropFolder(int tree)
{
    m_trees.erase(tree);
    std::scoped_lock lock(m_mutex);
    for (auto& slot : m_folders) {
        if (slot && slot->tree == tree) {
            --slot->handler->m_watchCount;
            slot.reset();
        }
    }
}
