// The process list read from /proc (or a folder laid out like it, for tests):
// names from "comm", the "exe" link and the first word of "cmdline"; the
// effective user from "status"; open files from "fd" and their access modes
// from "fdinfo". Processes that end while they are read are skipped.
#pragma once

#include "platform/IProcessList.h"

#include <string>

class CProcProcessList : public IProcessList
{
public:
    explicit CProcProcessList(std::string procRoot = "/proc");

    std::vector<CProcessInfo> Processes() override;
    std::vector<int> WritersOf(const std::string& path) override;

private:
    std::string m_root;
};
