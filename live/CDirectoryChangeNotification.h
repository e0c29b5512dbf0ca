// One change of a watched folder on its way from the watcher's worker to the
// main thread.
#pragma once

#include <cstdint>
#include <string>

enum class DirectoryChange : int32_t
{
    Added = 1,
    Removed = 2,
    Modified = 3,
    Renamed = 4,
    // The folder can no longer be read (error code set); also sent, with
    // kErrorNotifyEnumDir, when changes were lost and the folder is still watched.
    ReadError = 5,
    WatchStarted = 6,
    WatchStopped = 7,
};

struct CDirectoryChangeNotification
{
    DirectoryChange kind = DirectoryChange::Modified;
    // Full path for kinds 1 to 4, the watched folder for 5 to 7.
    std::wstring path;
    // The new full path of a rename.
    std::wstring newPath;
    // Kinds 5 and 6: 0 or an error number.
    uint32_t errorCode = 0;
    // Length of the watched folder's path with its separator.
    int32_t prefixLength = 0;
};
