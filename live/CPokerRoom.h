// One poker room that live tracking knows: its client's folders and names, the
// hero's name there, and the watcher of its hand-history folder. A plain
// record, owned by the room table; main thread only.
#pragma once

#include "live/CDirectoryChangeWatcher.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CPokerRoom
{
public:
    CPokerRoom() = default;
    // Stops and releases the watcher.
    virtual ~CPokerRoom();
    CPokerRoom(const CPokerRoom&) = delete;
    CPokerRoom& operator=(const CPokerRoom&) = delete;

    // The index of the record in the room table.
    int32_t roomNumber = 0;
    // The room's name, also the name of its work directory.
    std::wstring name;
    // Executable names of the room's client; the first that runs gives the
    // client process.
    std::vector<std::wstring> clientProcessNames;
    std::wstring heroName;
    std::wstring historyFolder;
    // The archive root of the room: the export folder followed directly by
    // the room's name.
    std::wstring workDirectory;
    std::wstring auditFolder;
    std::array<std::wstring, 2> tableWindowClasses;
    int32_t clientProcessId = 0;
    // 0 no client found, 1 found, 2 found and running with administrator rights.
    int32_t clientElevation = 0;
    // Not 0: the room's folders are watched when live tracking starts.
    int32_t hudSwitch = 0;
    // The hero's preferred seat per table size.
    std::array<int32_t, 9> preferredSeats{};
    // The watcher of the history folder; made when live tracking first needs
    // it.
    std::unique_ptr<CDirectoryChangeWatcher> watcher;
};
