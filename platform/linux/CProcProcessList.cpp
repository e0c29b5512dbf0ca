#include "platform/linux/CProcProcessList.h"

#include "foundation/WideText.h"

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::vector<int> NumericEntries(const std::string& folder)
{
    std::vector<int> numbers;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return numbers;
    }
    while (const dirent* e = ::readdir(dir)) {
        char* end = nullptr;
        const long n = std::strtol(e->d_name, &end, 10);
        if (end != e->d_name && *end == '\0' && n >= 0) {
            numbers.push_back(static_cast<int>(n));
        }
    }
    ::closedir(dir);
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

std::string ReadSmallFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The file name of a Windows or Unix path: after the last "\" or "/".
std::string BaseName(const std::string& path)
{
    const size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

void AddName(std::vector<std::wstring>& names, const std::string& name)
{
    if (name.empty()) {
        return;
    }
    std::wstring wide = FromUtf8(name);
    if (std::find(names.begin(), names.end(), wide) == names.end()) {
        names.push_back(std::move(wide));
    }
}

// The "flags:" value of an fdinfo file (octal), or -1.
long OpenFlags(const std::string& fdinfo)
{
    std::istringstream in(ReadSmallFile(fdinfo));
    std::string key;
    while (in >> key) {
        if (key == "flags:") {
            std::string value;
            in >> value;
            return std::strtol(value.c_str(), nullptr, 8);
        }
    }
    return -1;
}

}  // namespace

CProcProcessList::CProcProcessList(std::string procRoot)
    : m_root(std::move(procRoot))
{}

std::vector<CProcessInfo> CProcProcessList::Processes()
{
    std::vector<CProcessInfo> list;
    for (const int pid : NumericEntries(m_root)) {
        const std::string dir = m_root + "/" + std::to_string(pid);
        const std::string status = ReadSmallFile(dir + "/status");
        if (status.empty()) {
            continue;
        }
        CProcessInfo info;
        info.pid = pid;
        std::string comm = ReadSmallFile(dir + "/comm");
        while (!comm.empty() && (comm.back() == '\n' || comm.back() == '\r')) {
            comm.pop_back();
        }
        AddName(info.names, comm);
        char target[4096];
        const ssize_t n = ::readlink((dir + "/exe").c_str(), target, sizeof target - 1);
        if (n > 0) {
            AddName(info.names, BaseName(std::string(target, static_cast<size_t>(n))));
        }
        const std::string cmdline = ReadSmallFile(dir + "/cmdline");
        AddName(info.names, BaseName(cmdline.substr(0, cmdline.find('\0'))));
        // "Uid:" real, effective, saved, file-system.
        const size_t uid = status.find("\nUid:");
        if (uid != std::string::npos) {
            std::istringstream fields(status.substr(uid + 5));
            unsigned long real = 0;
            unsigned long effective = 0;
            fields >> real >> effective;
            info.effectiveUserId = static_cast<uint32_t>(effective);
        }
        list.push_back(std::move(info));
    }
    return list;
}

std::vector<int> CProcProcessList::WritersOf(const std::string& path)
{
    std::vector<int> writers;
    struct stat target
    {
    };
    if (::stat(path.c_str(), &target) != 0) {
        return writers;
    }
    for (const int pid : NumericEntries(m_root)) {
        const std::string dir = m_root + "/" + std::to_string(pid);
        for (const int fd : NumericEntries(dir + "/fd")) {
            struct stat st
            {
            };
            if (::stat((dir + "/fd/" + std::to_string(fd)).c_str(), &st) != 0 ||
                st.st_dev != target.st_dev || st.st_ino != target.st_ino) {
                continue;
            }
            const long flags = OpenFlags(dir + "/fdinfo/" + std::to_string(fd));
            if (flags >= 0 && (flags & O_ACCMODE) != O_RDONLY) {
                writers.push_back(pid);
                break;
            }
        }
    }
    return writers;
}
