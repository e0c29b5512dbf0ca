#include "foundation/Folders.h"

#include <cerrno>
#include <climits>
#include <sys/stat.h>

namespace {

bool IsFolder(const std::string& path)
{
    struct stat st
    {
    };
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool TryMake(const std::string& path)
{
    if (::mkdir(path.c_str(), 0755) == 0) {
        return true;
    }
    return errno == EEXIST && IsFolder(path);
}

}  // namespace

bool CreateFolderWithParents(const std::string& rawPath)
{
    std::string path = rawPath;
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    if (path.empty()) {
        return false;
    }
    if (TryMake(path)) {
        return true;
    }
    if (path.size() >= PATH_MAX || errno != ENOENT) {
        return false;
    }
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return false;
    }
    const std::string parent = slash == 0 ? "/" : path.substr(0, slash);
    if (!CreateFolderWithParents(parent)) {
        return false;
    }
    return TryMake(path);
}
