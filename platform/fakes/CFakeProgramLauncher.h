// A launcher that starts nothing: it records what it was asked to start and
// runs what the test says a started program does (make its endpoint, say).
// Not thread-safe.
#pragma once

#include "platform/IProgramLauncher.h"

#include <functional>
#include <string>
#include <vector>

class CFakeProgramLauncher : public IProgramLauncher
{
public:
    struct CLaunch
    {
        std::string path;
        std::string workingFolder;
    };

    CStatus Launch(const std::string& path, const std::string& workingFolder, int* pid) override
    {
        if (failLaunches) {
            return CStatus::IoError(L"launch failed");
        }
        launches.push_back({path, workingFolder});
        if (pid != nullptr) {
            *pid = nextPid;
        }
        if (onLaunch) {
            onLaunch(path);
        }
        return CStatus::Ok();
    }

    std::vector<CLaunch> launches;
    bool failLaunches = false;
    int nextPid = 4242;
    std::function<void(const std::string&)> onLaunch;
};
