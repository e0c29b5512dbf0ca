// What live import keeps per watched file: its files-table row, how far it has
// been read, and what the live reader needs to read it safely while it grows.
// Guarded by the watcher lock of live tracking.
#pragma once

#include "foundation/records/CPeopleRecords.h"

#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct CWatchedFile
{
    // The file's row; its path is the name without folder (empty until the
    // file was registered by its creation).
    CFileRecord file;
    // Bytes of the file already read.
    int64_t readPosition = 0;
    // The file that was read (device and inode); 0 when not known yet. A
    // different file under the same path is read again from its start.
    uint64_t device = 0;
    uint64_t inode = 0;
    // Complete lines of a hand the client may still be writing: read, but held
    // back until the next hand begins or an empty line follows its summary.
    std::vector<std::wstring> heldLines;
    // An import failed because the database was gone; read again when it is
    // back.
    bool retry = false;
};

// Keyed by the full path, compared exactly.
using CWatchedFileMap = std::map<std::wstring, CWatchedFile>;
