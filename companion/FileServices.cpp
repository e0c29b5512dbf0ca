#include "companion/FileServices.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>
#include <vector>

std::wstring LastName(const std::wstring& path)
{
    const size_t sep = path.find_last_of(L"/\\");
    return sep == std::wstring::npos ? path : path.substr(sep + 1);
}

std::string GetExecPath()
{
    std::vector<char> buf(4096);
    while (true) {
        const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
        if (n < 0) {
            return std::string();
        }
        if (static_cast<size_t>(n) < buf.size()) {
            return std::string(buf.data(), static_cast<size_t>(n));
        }
        buf.resize(buf.size() * 2);
    }
}

std::string GetExecDir()
{
    const std::string exe = GetExecPath();
    const size_t sep = exe.rfind('/');
    if (sep == std::string::npos) {
        return std::string();
    }
    return sep == 0 ? std::string("/") : exe.substr(0, sep);
}

bool TrimLogFile(const std::string& path, int64_t keepBytes, int64_t maxBytes)
{
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || static_cast<int64_t>(size) <= maxBytes) {
        return true;
    }
    std::string tail;
    {
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            return false;
        }
        const int64_t from = static_cast<int64_t>(size) - std::max<int64_t>(keepBytes, 0);
        in.seekg(from);
        tail.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        // Start at a whole line.
        const size_t nl = tail.find('\n');
        tail = nl == std::string::npos ? std::string() : tail.substr(nl + 1);
    }
    const std::string tmp = path + ".trim";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out) {
            return false;
        }
        out.write(tail.data(), static_cast<std::streamsize>(tail.size()));
        if (!out) {
            return false;
        }
    }
    std::filesystem::rename(tmp, path, ec);
    return !ec;
}
