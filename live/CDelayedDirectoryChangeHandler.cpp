#include "live/CDelayedDirectoryChangeHandler.h"

#include "live/HistoryFileWalks.h"
#include "live/SystemErrorText.h"
#include "platform/IMainLoop.h"

#include <utility>

bool MatchesPattern(const std::wstring& name, const std::wstring& pattern)
{
    // Greedy match with one back-track point: the last star seen.
    size_t n = 0;
    size_t p = 0;
    size_t starAt = std::wstring::npos;
    size_t starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == L'?' || pattern[p] == name[n])) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == L'*') {
            starAt = p++;
            starName = n;
        } else if (starAt != std::wstring::npos) {
            p = starAt + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == L'*') {
        ++p;
    }
    return p == pattern.size();
}

std::vector<std::wstring> SplitPatterns(const std::wstring& filter)
{
    std::vector<std::wstring> patterns;
    size_t start = 0;
    while (start <= filter.size()) {
        const size_t end = std::min(filter.find(L';', start), filter.size());
        if (end > start) {
            patterns.push_back(filter.substr(start, end - start));
        }
        start = end + 1;
    }
    return patterns;
}

CDelayedDirectoryChangeHandler::CDelayedDirectoryChangeHandler(
    IMainLoop& loop,
    std::shared_ptr<CDirectoryChangeHandler> handler,
    std::wstring folder,
    const std::wstring& includeFilter)
    : m_loop(loop)
    , m_real(std::move(handler))
    , m_folder(std::move(folder))
    , m_prefixLength(static_cast<int32_t>(m_folder.size()) +
                     (!m_folder.empty() && m_folder.back() == L'/' ? 0 : 1))
    , m_includePatterns(SplitPatterns(includeFilter))
{}

void CDelayedDirectoryChangeHandler::FileAdded(const std::wstring& path)
{
    Post({DirectoryChange::Added, path, {}, 0, m_prefixLength});
}

void CDelayedDirectoryChangeHandler::FileRemoved(const std::wstring& path)
{
    Post({DirectoryChange::Removed, path, {}, 0, m_prefixLength});
}

void CDelayedDirectoryChangeHandler::FileRenamed(const std::wstring& oldPath,
                                                 const std::wstring& newPath)
{
    Post({DirectoryChange::Renamed, oldPath, newPath, 0, m_prefixLength});
}

void CDelayedDirectoryChangeHandler::FileModified(const std::wstring& path)
{
    Post({DirectoryChange::Modified, path, {}, 0, m_prefixLength});
}

void CDelayedDirectoryChangeHandler::WatchError(uint32_t errorCode, const std::wstring& folder)
{
    Post({DirectoryChange::ReadError, folder, {}, errorCode, m_prefixLength});
}

void CDelayedDirectoryChangeHandler::WatchStarted(uint32_t errorCode, const std::wstring& folder)
{
    Post({DirectoryChange::WatchStarted, folder, {}, errorCode, m_prefixLength});
}

void CDelayedDirectoryChangeHandler::WatchStopped(const std::wstring& folder)
{
    Post({DirectoryChange::WatchStopped, folder, {}, 0, m_prefixLength});
}

void CDelayedDirectoryChangeHandler::Post(CDirectoryChangeNotification change)
{
    if (!PassesFilter(change)) {
        return;
    }
    m_loop.Post([self = shared_from_this(), change = std::move(change)] { self->Deliver(change); });
}

bool CDelayedDirectoryChangeHandler::PassesFilter(const CDirectoryChangeNotification& change) const
{
    if (change.kind == DirectoryChange::ReadError || change.kind == DirectoryChange::WatchStarted ||
        change.kind == DirectoryChange::WatchStopped || m_includePatterns.empty()) {
        return true;
    }
    const std::wstring name = FileNameOf(change.path);
    const std::wstring newName =
        change.kind == DirectoryChange::Renamed ? FileNameOf(change.newPath) : std::wstring();
    for (const auto& pattern : m_includePatterns) {
        if (MatchesPattern(name, pattern) ||
            (change.kind == DirectoryChange::Renamed && MatchesPattern(newName, pattern))) {
            return true;
        }
    }
    return false;
}

void CDelayedDirectoryChangeHandler::Deliver(const CDirectoryChangeNotification& change)
{
    const std::shared_ptr<CDirectoryChangeHandler> real = m_real;
    if (real && real->AcceptNotification(change.kind, change.path, change.newPath)) {
        real->m_currentFolder = m_folder;
        try {
            switch (change.kind) {
            case DirectoryChange::Added:
                real->FileAdded(change.path);
                break;
            case DirectoryChange::Removed:
                real->FileRemoved(change.path);
                break;
            case DirectoryChange::Modified:
                real->FileModified(change.path);
                break;
            case DirectoryChange::Renamed:
                real->FileRenamed(change.path, change.newPath);
                break;
            case DirectoryChange::ReadError:
                real->WatchError(change.errorCode, change.path);
                break;
            case DirectoryChange::WatchStarted:
                real->WatchStarted(change.errorCode, change.path);
                break;
            case DirectoryChange::WatchStopped:
                real->WatchStopped(change.path);
                break;
            }
        } catch (...) {
            // The handler's failure ends this change only.
        }
    }
    // Nothing follows the end of a watch: a stop, a start that failed or a
    // folder that can no longer be read.
    const bool ended =
        change.kind == DirectoryChange::WatchStopped ||
        (change.kind == DirectoryChange::WatchStarted && change.errorCode != 0) ||
        (change.kind == DirectoryChange::ReadError && change.errorCode != kErrorNotifyEnumDir);
    if (ended) {
        m_real.reset();
    }
}
