// The values of the start-up file Veltrix.ini and of the PokerStars client's
// user.ini, read once while the application is made.
#pragma once

#include <array>
#include <cstdint>
#include <string>

class CIniFile;

// What the probe of the PokerStars client found (its settings folder and the
// history folder it writes to); both may be empty.
struct CClientProbeResult
{
    std::wstring clientFolder;
    std::wstring historyFolder;
};

struct CStartupSettings
{
    std::wstring exportFolder;
    uint32_t archiveDelayDays = 0;
    uint32_t archiveDelayHours = 0;
    uint32_t debug = 0;
    uint32_t allinEv = 0;
    std::wstring allinEvFolder;
    std::wstring hudFolder;
    std::wstring hudFileName;
    std::wstring varnhelmFolder;
    std::wstring dorriganFolder;
    std::wstring redStarHistory;
    std::wstring titanHistory;
    uint32_t varnhelmHud = 0;
    std::wstring pokerStarsHistory;
    std::wstring pokerStarsFolder;
    std::wstring pokerStarsAudit;
    uint32_t pokerStarsHud = 0;
    std::wstring heroName;
    // The nine numbers of SeatPref as written, and the preferred seat per table
    // size 0..8 taken from list positions 1, 8, 6, 9, 2, 7, 3, 4, 5.
    std::array<int, 9> seatPrefList{};
    std::array<int, 9> preferredSeatBySize{};
    bool startupFileFound = false;
};

// Section names of the start-up file that the program chooses itself.
inline constexpr const wchar_t* kHudProgramSection = L"Pelmora";
inline constexpr const wchar_t* kPokerStarsSection = L"PokerStars";

// Reads the start-up file and then user.ini of the client folder. A missing
// start-up file leaves everything empty and 0. The all-in dump folder is
// created when the dump is on; when that fails the dump is switched off. `programFolder` is the
// default of the HUD program folder; `home` replaces a leading "~" in folder values.
CStartupSettings LoadStartupSettings(const CIniFile& startupFile,
                                     const std::wstring& programFolder,
                                     const CClientProbeResult& probe,
                                     const std::wstring& home);

// The SeatPref rule: numbers separated by single blanks, each read like _wtoi
// with negatives as 0; once the text has no blank left the last number repeats.
std::array<int, 9> ParseSeatPref(const std::wstring& text);

// `folder` followed by `name`, with a "/" between them when `folder` has none.
std::wstring JoinFolder(const std::wstring& folder, const std::wstring& name);
