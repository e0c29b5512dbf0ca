#include "live/HistoryFileWalks.h"

#include "foundation/WideText.h"
#include "live/CRoomTable.h"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct CFoundFile
{
    std::wstring folder;
    std::wstring name;
    int64_t lastWrite = 0;
    int64_t size = 0;
    uint64_t device = 0;
    uint64_t inode = 0;
};

using FileFn = std::function<void(const CFoundFile&)>;

// Folders are opened relative to their parent, so that no path length limit
// applies however deep the tree or long the names.
void WalkOpened(int fd, const std::wstring& folder, const FileFn& onFile)
{
    DIR* dir = ::fdopendir(fd);
    if (dir == nullptr) {
        ::close(fd);
        return;
    }
    std::vector<std::string> names;
    while (const dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end());
    for (const auto& name : names) {
        struct stat st
        {
        };
        if (::fstatat(::dirfd(dir), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            continue;
        }
        const std::wstring wideName = FromUtf8(name);
        if (S_ISDIR(st.st_mode)) {
            const int sub = ::openat(::dirfd(dir), name.c_str(),
                                     O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (sub >= 0) {
                WalkOpened(sub, JoinPath(folder, wideName), onFile);
            }
            continue;
        }
        if (S_ISLNK(st.st_mode) && ::fstatat(::dirfd(dir), name.c_str(), &st, 0) != 0) {
            continue;
        }
        if (!S_ISREG(st.st_mode)) {
            continue;
        }
        onFile({folder, wideName, static_cast<int64_t>(st.st_mtim.tv_sec),
                static_cast<int64_t>(st.st_size), static_cast<uint64_t>(st.st_dev),
                static_cast<uint64_t>(st.st_ino)});
    }
    ::closedir(dir);
}

void Walk(const std::wstring& folder, const FileFn& onFile)
{
    if (folder.empty()) {
        return;
    }
    const int fd = ::open(ToUtf8(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        WalkOpened(fd, folder, onFile);
    }
}

bool HasExtension(const std::wstring& name, const std::wstring& extension)
{
    return !extension.empty() && name.size() >= 5 && name.size() >= extension.size() &&
           name.compare(name.size() - extension.size(), extension.size(), extension) == 0;
}

// The text occurs in the name at index `from` or later.
bool ContainsFrom(const std::wstring& name, const wchar_t* text, size_t from)
{
    return name.find(text, from) != std::wstring::npos;
}

bool IsPlayMoney(const std::wstring& name)
{
    return ContainsFrom(name, L"Play Money", 1);
}

std::wstring ArchiveExtension(int room)
{
    switch (room) {
    case kRoomPartyPoker:
    case kRoomPokerStars:
    case kRoomUpoker:
    case kRoomPPPoker:
    case kRoomPokerBros:
    case kRoomSuprema:
        return L".txt";
    case kRoomRedStar:
    case kRoomTitan:
    case kRoomIPoker:
        return L".xml";
    default:
        return std::wstring();
    }
}

std::wstring ImportExtension(int room)
{
    return room == kRoomRedStar || room == kRoomIPoker ? L".dat" : L".txt";
}

bool ArchiveNameTest(const std::wstring& name, int room, bool flag)
{
    switch (room) {
    case kRoomPartyPoker:
        return !flag || !ContainsFrom(name, L"Table", 0);
    case kRoomUpoker:
        return ContainsFrom(name, L"PKDOM_UPO", 1) || ContainsFrom(name, L"UPOKER", 1) ||
               ContainsFrom(name, L"upoker", 1);
    case kRoomPPPoker:
        return ContainsFrom(name, L"PPP", 1) || ContainsFrom(name, L"PPPoker", 1);
    case kRoomPokerBros:
        return ContainsFrom(name, L"PKDOM_PBR", 1);
    case kRoomSuprema:
        return ContainsFrom(name, L"PMS_SPRP_", 2) || ContainsFrom(name, L"PKDOM_SPR", 1) ||
               ContainsFrom(name, L"SupremaPoker", 1) ||
               ContainsFrom(name, L"SUPREMA_POKER_PLO", 1);
    default:
        return true;
    }
}

}  // namespace

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name)
{
    if (folder.empty() || folder.back() == L'/') {
        return folder + name;
    }
    return folder + L"/" + name;
}

std::wstring FileNameOf(const std::wstring& path)
{
    const size_t slash = path.rfind(L'/');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

void SelectFilesToArchive(const std::wstring& folder,
                          int64_t limit,
                          const std::wstring& /*text*/,
                          int room,
                          bool flag,
                          std::vector<std::wstring>& out)
{
    const std::wstring extension = ArchiveExtension(room);
    Walk(folder, [&](const CFoundFile& f) {
        if (HasExtension(f.name, extension) && f.lastWrite <= limit &&
            ArchiveNameTest(f.name, room, flag)) {
            out.push_back(JoinPath(f.folder, f.name));
        }
    });
}

void SelectFilesToImport(const std::wstring& folder,
                         int64_t limit,
                         const std::wstring& /*text*/,
                         int room,
                         bool flag,
                         std::vector<std::wstring>& out)
{
    const std::wstring extension = ImportExtension(room);
    Walk(folder, [&](const CFoundFile& f) {
        if (!HasExtension(f.name, extension) || f.lastWrite > limit) {
            return;
        }
        if ((room == kRoomPokerStars && IsPlayMoney(f.name)) ||
            (room == kRoomPartyPoker && flag && ContainsFrom(f.name, L"Table", 0))) {
            return;
        }
        out.push_back(JoinPath(f.folder, f.name));
    });
}

void FindTableFiles(const std::wstring& folder,
                    int64_t limit,
                    const std::wstring& tableName,
                    int room,
                    bool /*flag*/,
                    std::vector<std::wstring>& out)
{
    const std::wstring extension = ImportExtension(room);
    Walk(folder, [&](const CFoundFile& f) {
        if (!HasExtension(f.name, extension) || f.lastWrite < limit) {
            return;
        }
        if (room == kRoomUpoker || room == kRoomPPPoker || room == kRoomPokerBros) {
            if (f.name.find(tableName, 10) == std::wstring::npos) {
                return;
            }
        } else if (room == kRoomPokerStars && IsPlayMoney(f.name)) {
            return;
        }
        out.push_back(JoinPath(f.folder, f.name));
    });
}

void PreRegisterFiles(const std::wstring& folder,
                      const std::wstring& extension,
                      int room,
                      CWatchedFileMap& files,
                      int64_t now)
{
    Walk(folder, [&](const CFoundFile& f) {
        if (!HasExtension(f.name, extension) || (now - f.lastWrite) / 3600 > 20) {
            return;
        }
        if (room == kRoomPokerStars && f.name.rfind(L"HH", 0) != 0) {
            return;
        }
        const std::wstring path = JoinPath(f.folder, f.name);
        if (files.count(path) != 0) {
            return;
        }
        CWatchedFile record;
        record.readPosition = f.size;
        record.device = f.device;
        record.inode = f.inode;
        files.emplace(path, std::move(record));
    });
}
