// A process list whose processes and open files the test sets.
#pragma once

#include "platform/IProcessList.h"

#include <map>
#include <string>
#include <vector>

class CFakeProcessList : public IProcessList
{
public:
    std::vector<CProcessInfo> Processes() override { return processes; }
    std::vector<int> WritersOf(const std::string& path) override
    {
        const auto it = writers.find(path);
        return it == writers.end() ? std::vector<int>() : it->second;
    }

    std::vector<CProcessInfo> processes;
    // Path -> pids that hold it open for writing.
    std::map<std::string, std::vector<int>> writers;
};
