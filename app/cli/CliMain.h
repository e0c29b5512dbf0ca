// The whole of veltrix-cli behind its main function, for tests to drive.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

class IProfile;

// Runs veltrix-cli with `args` (without the program name) and returns its exit
// code. `programFolder` empty: resolved from the executable's place.
int RunCli(const std::vector<std::string>& args,
           std::wostream& out,
           std::wostream& err,
           IProfile& profile,
           const std::string& programFolder = std::string());
