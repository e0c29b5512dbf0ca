// The command line of pelmora. Read before the GUI starts, so that --help
// works without a display. Pure functions; thread-safe.
#pragma once

#include <string>
#include <vector>

struct CPelmoraOptions
{
    bool help = false;
    bool version = false;
    // Save a picture of the screen here when the shutdown message comes
    // (also from $PELMORA_SCREENSHOT).
    std::string screenshot;
    // Numbers in one colour for this run, whatever the settings say.
    bool noColors = false;
    // Log lines also go to this file.
    std::string logFile;
    // Why the command line was not understood; empty when it was.
    std::string error;
};

// Reads the arguments after the program name. `environmentScreenshot` is the
// value of $PELMORA_SCREENSHOT (empty when unset); an option wins over it.
CPelmoraOptions ParsePelmoraOptions(const std::vector<std::string>& arguments,
                                    const std::string& environmentScreenshot = {});

// The text of --help.
std::string PelmoraHelpText();
