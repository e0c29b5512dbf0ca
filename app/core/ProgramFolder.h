// Where the program keeps its files (log, trace file, Veltrix.ini,
// predeftypes.json, HUDs.xml): $VELTRIX_HOME when set, else the executable's
// folder when it is writable, else $XDG_DATA_HOME/veltrix. Data files missing
// there are copied from the installed share folder.
#pragma once

#include <string>

// The program folder, created when missing; `executableFolder` is where the
// running program lies.
std::string ResolveProgramFolder(const std::string& executableFolder);

// Copies `name` from `shareFolder` into `programFolder` when it is missing
// there; true when the file is present afterwards.
bool SeedDataFile(const std::string& programFolder,
                  const std::string& shareFolder,
                  const std::string& name);

// The user's home folder ($HOME, else the password database).
std::string HomeFolder();
