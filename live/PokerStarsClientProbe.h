// What the PokerStars client itself knows, found in its own files: its
// settings folder, the folder it writes hand histories to, the hero's name and
// the client's language. On Linux the client runs under Wine, so its files lie
// inside a Wine prefix; Windows paths read from them are turned into paths of
// that prefix. Reads files only.
#pragma once

#include <string>
#include <vector>

struct CClientProbeOptions
{
    // The Wine prefixes to look in, in order.
    std::vector<std::string> winePrefixes;
    // The user name Wine gives the Windows user (the login name).
    std::string userName;
};

struct CClientProbe
{
    std::wstring clientFolder;
    std::wstring historyFolder;
    std::wstring heroName;
    // Two letters, such as "en"; empty when the client's log does not say.
    std::wstring language;
};

// The prefixes of a default Wine set-up: $WINEPREFIX when `winePrefix` is not
// empty, then `home`/.wine.
std::vector<std::string> DefaultWinePrefixes(const std::string& winePrefix,
                                             const std::string& home);

// The client's data folders tried in each prefix, in order:
// drive_c/users/USER/AppData/Local (the layout of current Windows versions)
// and drive_c/users/USER/Local Settings/Application Data (the older one).
// The client folder is "PokerStars" below the first of them that holds the
// client's user.ini (or the alternate "PokerStars.EU/user.ini"), else below
// the first that has a "PokerStars" folder, else below the very first.
CClientProbe ProbePokerStarsClient(const CClientProbeOptions& options);

// A Windows path of `prefix` as a Linux path: "X:\a\b" becomes the drive's
// folder (prefix/dosdevices/x:, or prefix/drive_c for C:) followed by "/a/b".
// A path without a drive letter is returned with its "\" turned into "/".
std::wstring WinePathToLinux(const std::string& prefix, const std::wstring& windowsPath);

// The message shown when the client does not run in English.
extern const wchar_t* const kClientLanguageMessage;
