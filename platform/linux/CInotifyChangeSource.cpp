#include "platform/linux/CInotifyChangeSource.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/stat.h>

namespace {

constexpr uint32_t kEvents = IN_CREATE | IN_DELETE | IN_MODIFY | IN_MOVED_FROM | IN_MOVED_TO |
                             IN_DELETE_SELF | IN_MOVE_SELF | IN_EXCL_UNLINK | IN_ONLYDIR;

bool IsUnder(const std::string& path, const std::string& folder)
{
    return path == folder ||
           (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
            path[folder.size()] == '/');
}

std::string Join(const std::string& relative, const std::string& name)
{
    return relative.empty() ? name : relative + "/" + name;
}

}  // namespace

CInotifyChangeSource::CInotifyChangeSource()
    : m_inotify(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    , m_buffer(64 * 1024)
{
    if (!m_inotify.IsOpen()) {
        m_openError = errno;
    }
    m_wake.Reset(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC));
    if (!m_wake.IsOpen() && m_openError == 0) {
        m_openError = errno;
    }
}

int CInotifyChangeSource::AddTree(const std::string& folder, int& tree)
{
    if (m_openError != 0) {
        return m_openError;
    }
    struct stat st
    {
    };
    if (::stat(folder.c_str(), &st) != 0) {
        return errno;
    }
    if (!S_ISDIR(st.st_mode)) {
        return ENOTDIR;
    }
    // The tree's own folder may be a link to a folder; folders below are not
    // followed, so that a link cannot make the tree endless.
    const int wd = ::inotify_add_watch(m_inotify.Get(), folder.c_str(), kEvents);
    if (wd < 0) {
        return errno;
    }
    tree = m_nextTree++;
    CTree& t = m_trees[tree];
    t.prefix = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    t.rootWatch = wd;
    m_watches[wd].push_back({tree, std::string()});
    std::vector<CFileChange> none;
    ScanFolder(tree, std::string(), false, none);
    return 0;
}

void CInotifyChangeSource::RemoveTree(int tree)
{
    DropUses(tree, std::string(), true);
    m_trees.erase(tree);
    std::erase_if(m_folderMoves, [tree](const CFolderMove& m) { return m.tree == tree; });
}

void CInotifyChangeSource::Wait(std::vector<CFileChange>& out, int timeoutMs)
{
    if (m_openError != 0) {
        return;
    }
    pollfd fds[2] = {{m_inotify.Get(), POLLIN, 0}, {m_wake.Get(), POLLIN, 0}};
    int n = 0;
    do {
        n = ::poll(fds, 2, timeoutMs);
    } while (n < 0 && errno == EINTR);
    if (n <= 0) {
        return;
    }
    if ((fds[1].revents & POLLIN) != 0) {
        uint64_t count = 0;
        (void)!::read(m_wake.Get(), &count, sizeof count);
    }
    if ((fds[0].revents & POLLIN) != 0) {
        ReadEvents(out);
    }
}

void CInotifyChangeSource::Interrupt()
{
    const uint64_t one = 1;
    (void)!::write(m_wake.Get(), &one, sizeof one);
}

void CInotifyChangeSource::ReadEvents(std::vector<CFileChange>& out)
{
    for (;;) {
        const ssize_t n = ::read(m_inotify.Get(), m_buffer.data(), m_buffer.size());
        if (n <= 0) {
            break;
        }
        for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= n;) {
            inotify_event ev{};
            std::memcpy(&ev, m_buffer.data() + at, sizeof ev);
            const char* namePtr = m_buffer.data() + at + sizeof(inotify_event);
            const std::string name(namePtr, ::strnlen(namePtr, ev.len));
            Handle(ev.wd, ev.mask, ev.cookie, name, out);
            at += static_cast<ssize_t>(sizeof(inotify_event) + ev.len);
        }
    }
    DropFolderMoves();
}

void CInotifyChangeSource::DropFolderMoves()
{
    // A folder moved away whose new place did not follow at once left the
    // trees: the system queues both halves of a rename together.
    for (const auto& move : m_folderMoves) {
        DropUses(move.tree, move.relative, true);
    }
    m_folderMoves.clear();
}

void CInotifyChangeSource::Handle(
    int wd, uint32_t mask, uint32_t cookie, const std::string& name, std::vector<CFileChange>& out)
{
    const bool secondHalf = (mask & IN_MOVED_TO) != 0 && (mask & IN_ISDIR) != 0 &&
                            std::any_of(m_folderMoves.begin(), m_folderMoves.end(),
                                        [&](const CFolderMove& m) { return m.cookie == cookie; });
    if (!secondHalf) {
        DropFolderMoves();
    }
    if ((mask & IN_Q_OVERFLOW) != 0) {
        CFileChange change;
        change.kind = CFileChange::Kind::Overflow;
        out.push_back(change);
        return;
    }
    const auto found = m_watches.find(wd);
    if (found == m_watches.end()) {
        return;
    }
    // Copied: handling a use may change the uses of this watch.
    const std::vector<CWatchUse> uses = found->second;
    if ((mask & IN_IGNORED) != 0) {
        m_watches.erase(found);
    }
    if ((mask & (IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF)) != 0) {
        // The folder is gone, deleted or moved away: so is a tree it was the
        // top of. A sub-folder's end is seen in its parent's changes.
        for (const auto& use : uses) {
            const auto t = m_trees.find(use.tree);
            if (t != m_trees.end() && t->second.rootWatch == wd) {
                CFileChange change;
                change.kind = CFileChange::Kind::TreeGone;
                change.tree = use.tree;
                change.path = t->second.prefix;
                out.push_back(change);
                RemoveTree(use.tree);
            }
        }
        return;
    }
    for (const auto& use : uses) {
        const auto t = m_trees.find(use.tree);
        if (t == m_trees.end()) {
            continue;
        }
        if (name.empty()) {
            continue;
        }
        const std::string relative = Join(use.relative, name);
        if ((mask & IN_ISDIR) != 0) {
            if ((mask & IN_MOVED_FROM) != 0) {
                m_folderMoves.push_back({cookie, use.tree, relative});
            } else if ((mask & IN_MOVED_TO) != 0) {
                const auto move = std::find_if(
                    m_folderMoves.begin(), m_folderMoves.end(),
                    [&](const auto& m) { return m.cookie == cookie && m.tree == use.tree; });
                if (move != m_folderMoves.end()) {
                    RenameFolder(use.tree, move->relative, relative);
                    m_folderMoves.erase(move);
                } else {
                    AddFolder(use.tree, relative, true, out);
                }
            } else if ((mask & IN_CREATE) != 0) {
                AddFolder(use.tree, relative, true, out);
            }
            continue;
        }
        CFileChange change;
        change.tree = use.tree;
        change.path = t->second.prefix + relative;
        change.cookie = cookie;
        if ((mask & IN_CREATE) != 0) {
            change.kind = CFileChange::Kind::Added;
        } else if ((mask & IN_DELETE) != 0) {
            change.kind = CFileChange::Kind::Removed;
        } else if ((mask & IN_MODIFY) != 0) {
            change.kind = CFileChange::Kind::Modified;
        } else if ((mask & IN_MOVED_FROM) != 0) {
            change.kind = CFileChange::Kind::MovedFrom;
        } else if ((mask & IN_MOVED_TO) != 0) {
            change.kind = CFileChange::Kind::MovedTo;
        } else {
            continue;
        }
        out.push_back(std::move(change));
    }
}

void CInotifyChangeSource::AddFolder(int tree,
                                     const std::string& relative,
                                     bool reportFiles,
                                     std::vector<CFileChange>& out)
{
    const std::string path = FullPath(tree, relative);
    const int wd = ::inotify_add_watch(m_inotify.Get(), path.c_str(), kEvents | IN_DONT_FOLLOW);
    if (wd < 0) {
        return;
    }
    auto& uses = m_watches[wd];
    const bool known = std::any_of(uses.begin(), uses.end(), [&](const CWatchUse& u) {
        return u.tree == tree && u.relative == relative;
    });
    if (!known) {
        uses.push_back({tree, relative});
    }
    ScanFolder(tree, relative, reportFiles, out);
}

void CInotifyChangeSource::ScanFolder(int tree,
                                      const std::string& relative,
                                      bool reportFiles,
                                      std::vector<CFileChange>& out)
{
    const std::string path = FullPath(tree, relative);
    DIR* dir = ::opendir(path.c_str());
    if (dir == nullptr) {
        return;
    }
    std::vector<std::string> folders;
    std::vector<std::pair<std::string, bool>> files;
    while (const dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        struct stat st
        {
        };
        if (::fstatat(::dirfd(dir), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
            continue;
        }
        if (S_ISDIR(st.st_mode)) {
            folders.push_back(name);
        } else if (reportFiles) {
            files.emplace_back(name, st.st_size > 0);
        }
    }
    ::closedir(dir);
    std::sort(files.begin(), files.end());
    for (const auto& [name, hasContent] : files) {
        CFileChange change;
        change.kind = CFileChange::Kind::Added;
        change.tree = tree;
        change.path = FullPath(tree, Join(relative, name));
        out.push_back(change);
        if (hasContent) {
            change.kind = CFileChange::Kind::Modified;
            out.push_back(change);
        }
    }
    std::sort(folders.begin(), folders.end());
    for (const auto& name : folders) {
        AddFolder(tree, Join(relative, name), reportFiles, out);
    }
}

void CInotifyChangeSource::DropUses(int tree, const std::string& relative, bool withSubfolders)
{
    for (auto it = m_watches.begin(); it != m_watches.end();) {
        auto& uses = it->second;
        std::erase_if(uses, [&](const CWatchUse& u) {
            return u.tree == tree && (withSubfolders && !relative.empty()
                                          ? IsUnder(u.relative, relative)
                                          : (relative.empty() || u.relative == relative));
        });
        if (uses.empty()) {
            (void)::inotify_rm_watch(m_inotify.Get(), it->first);
            it = m_watches.erase(it);
        } else {
            ++it;
        }
    }
}

void CInotifyChangeSource::RenameFolder(int tree, const std::string& from, const std::string& to)
{
    for (auto& [wd, uses] : m_watches) {
        for (auto& use : uses) {
            if (use.tree == tree && IsUnder(use.relative, from)) {
                use.relative = to + use.relative.substr(from.size());
            }
        }
    }
}

std::string CInotifyChangeSource::FullPath(int tree, const std::string& relative) const
{
    const auto t = m_trees.find(tree);
    const std::string prefix = t == m_trees.end() ? std::string() : t->second.prefix;
    return prefix + relative;
}
