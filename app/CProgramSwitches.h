// The program-wide values that the ribbon's commands change and the rest of
// the program reads: how hand texts are stored, the archive and auto alias
// switches, the session tracker's switch, the settings room with its HUD
// name, the remembered alias id and the application look. Main thread only.
#pragma once

#include <cstdint>
#include <string>

struct CProgramSwitches
{
    // 0 nothing, 1 text, 2 UTF-8 in hex, 3 zipped.
    int handHistoryFormat = 0;
    int archive = 0;
    int autoAlias = 0;
    // The "RoraRevir" check box: the session tracker is on.
    int trackerSwitch = 0;
    // The room whose profile section holds the HUD name: 0, 1, 2, 4 or 9.
    int settingsRoom = 1;
    std::wstring hudName;
    // The alias of the hero's nick, looked up when the auto alias switch is
    // on and kept for the rest of the run.
    int32_t aliasId = 0;
    // The look of the main window (215..219, 205..210).
    int applicationLook = 216;
    // The last folder imported for the Hand Importing room ("Import Folder 1").
    std::wstring lastImportFolder;
};
