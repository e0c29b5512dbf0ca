// Starting another program: the stand-in for having the shell open an
// executable. Thread-compatible.
#pragma once

#include "foundation/CStatus.h"

#include <string>

class IProgramLauncher
{
public:
    virtual ~IProgramLauncher() = default;

    // Starts the executable at `path` without arguments, in `workingFolder`,
    // as a program of its own (it outlives this one and is not ended by the
    // terminal's signals to this one). Stores its process id in `pid` when not
    // null. NotFound when there is no such file; IoError when it cannot be
    // started.
    virtual CStatus Launch(const std::string& path, const std::string& workingFolder, int* pid) = 0;
};
