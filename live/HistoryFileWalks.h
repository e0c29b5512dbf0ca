// The four walks that find a room's hand-history files in a folder and all its
// sub-folders, to any depth: the files old enough to archive, the files to
// import by hand, the file of one table, and the files already present when
// watching starts. Each tests the name's extension (exactly, in case), the
// last-write time against a limit (seconds since 1970) and a name rule of the
// room. A missing folder gives nothing. Links to folders are not followed.
// Paths are the folder, "/" when it has none, and the name.
#pragma once

#include "live/CWatchedFile.h"

#include <cstdint>
#include <string>
#include <vector>

// Files last written not later than `limit`. Extension: ".txt" for the rooms
// 0, 1, 10, 11, 12, 16, ".xml" for 4, 8, 9, none (nothing found) for the
// others. Room 0 with `flag` takes no name containing "Table"; the club rooms
// take only names carrying their marks after the first character. `text` is
// not used.
void SelectFilesToArchive(const std::wstring& folder,
                          int64_t limit,
                          const std::wstring& text,
                          int room,
                          bool flag,
                          std::vector<std::wstring>& out);

// Files last written not later than `limit`. Extension ".dat" for the rooms 4
// and 9, ".txt" for the others. Room 1 skips play-money files, room 0 with
// `flag` names containing "Table". `text` is not used.
void SelectFilesToImport(const std::wstring& folder,
                         int64_t limit,
                         const std::wstring& text,
                         int room,
                         bool flag,
                         std::vector<std::wstring>& out);

// Files last written not earlier than `limit`, extensions as for the import.
// The rooms 10, 11 and 12 take only names holding `tableName` from character
// 10 on; room 1 skips play-money files. `flag` is not used.
void FindTableFiles(const std::wstring& folder,
                    int64_t limit,
                    const std::wstring& tableName,
                    int room,
                    bool flag,
                    std::vector<std::wstring>& out);

// Registers into `files` every file with `extension` written within the last
// 20 whole hours before `now` (room 1: only names beginning with "HH"), read
// up to its present size, so that only what is appended later is imported. A
// file already in the map keeps its entry.
void PreRegisterFiles(const std::wstring& folder,
                      const std::wstring& extension,
                      int room,
                      CWatchedFileMap& files,
                      int64_t now);

// `folder` followed by `name`, with a "/" between them when `folder` has none.
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);

// The part of `path` after its last "/".
std::wstring FileNameOf(const std::wstring& path);
