// The running processes as the operating system lists them, and which of them
// hold a file open for writing. Thread-compatible.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct CProcessInfo
{
    int pid = 0;
    // The names the process goes by: its command name, the file name of its
    // executable and of the first word of its command line. A Windows program
    // run by Wine shows its own name (PokerStars.exe) in the last.
    std::vector<std::wstring> names;
    // Effective user id; 0 means the process runs with administrator rights.
    uint32_t effectiveUserId = 0;
};

class IProcessList
{
public:
    virtual ~IProcessList() = default;

    // Every process the caller can see, in ascending pid order.
    virtual std::vector<CProcessInfo> Processes() = 0;

    // The pids of the processes that hold the file at `path` open for writing
    // (the calling process included), as far as the caller may inspect them;
    // empty when none does or the file does not exist.
    virtual std::vector<int> WritersOf(const std::string& path) = 0;
};
