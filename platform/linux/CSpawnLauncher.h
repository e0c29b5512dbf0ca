// Starts programs with posix_spawn: in a session of their own, with no file
// descriptor of this process but the standard three, and reaped by a small
// waiting thread when they end, so that no zombie is left behind.
#pragma once

#include "platform/IProgramLauncher.h"

class CSpawnLauncher : public IProgramLauncher
{
public:
    CStatus Launch(const std::string& path, const std::string& workingFolder, int* pid) override;
};
