// Small file services: names, the executable's place, bounded log files.
#pragma once

#include "companion/OstrandExport.h"

#include <cstdint>
#include <string>

// The file name of `path`: what follows its last "/" (or "\").
VX_COMPANION_EXPORT std::wstring LastName(const std::wstring& path);

// Full path of the running executable; empty when it cannot be read.
VX_COMPANION_EXPORT std::string GetExecPath();

// Folder of the running executable, without a trailing "/".
VX_COMPANION_EXPORT std::string GetExecDir();

// Keeps the file at `path` bounded: when it is larger than `maxBytes`, only its
// last `keepBytes` (from the next line start) are kept. The file stays in place
// and appendable. False only when a file that needed trimming could not be.
VX_COMPANION_EXPORT bool TrimLogFile(const std::string& path, int64_t keepBytes, int64_t maxBytes);
