#include "app/core/CStartupSettings.h"

#include "foundation/CIniFile.h"
#include "foundation/Folders.h"
#include "foundation/WideText.h"

#include <cwchar>

namespace {

std::wstring ExpandHome(const std::wstring& value, const std::wstring& home)
{
    if (!value.empty() && value[0] == L'~' && (value.size() == 1 || value[1] == L'/')) {
        return home + value.substr(1);
    }
    return value;
}

}  // namespace

std::wstring JoinFolder(const std::wstring& folder, const std::wstring& name)
{
    if (folder.empty() || folder.back() == L'/') {
        return folder + name;
    }
    return folder + L"/" + name;
}

std::array<int, 9> ParseSeatPref(const std::wstring& text)
{
    std::array<int, 9> values{};
    std::wstring rest = text;
    for (auto& value : values) {
        int v = static_cast<int>(std::wcstol(rest.c_str(), nullptr, 10));
        value = v < 0 ? 0 : v;
        const size_t blank = rest.find(L' ');
        if (blank != std::wstring::npos) {
            rest = rest.substr(blank + 1);
        }
    }
    return values;
}

CStartupSettings LoadStartupSettings(const CIniFile& ini,
                                     const std::wstring& programFolder,
                                     const CClientProbeResult& probe,
                                     const std::wstring& home)
{
    CStartupSettings s;
    s.startupFileFound = ini.Exists();
    if (!ini.Exists()) {
        return s;
    }
    const auto folder = [&](const wchar_t* section, const wchar_t* key, const std::wstring& def) {
        return ExpandHome(ini.GetString(section, key, def), home);
    };

    s.exportFolder = folder(L"Export", L"Folder", home + L"/KROArchive/");
    s.archiveDelayDays = ini.GetUnsigned(L"Export", L"Delay_Days", 1);
    s.archiveDelayHours = ini.GetUnsigned(L"Export", L"Delay_Hours", 20);
    if (s.archiveDelayHours >= 24) {
        s.archiveDelayHours = 23;
    }
    s.debug = ini.GetUnsigned(L"Debug", L"Debug", 0);
    s.allinEv = ini.GetUnsigned(L"Debug", L"AllinEV", 0);
    s.allinEvFolder = folder(L"Debug", L"FolderAllinEV", home + L"/AllinDir/");
    // Without a folder to write to, the dump is off; nothing is reported.
    if (s.allinEv != 0 && !CreateFolderWithParents(ToUtf8(s.allinEvFolder))) {
        s.allinEv = 0;
    }
    s.hudFolder = folder(kHudProgramSection, L"Folder", programFolder);
    s.hudFileName = std::wstring(kHudProgramSection) + L".exe";
    s.varnhelmFolder = folder(L"Varnhelm", L"Folder", L"");
    s.dorriganFolder = folder(L"Dorrigan", L"Folder", L"");
    s.redStarHistory = folder(L"RedStar", L"History", L"");
    s.titanHistory = folder(L"Titan", L"History", L"");
    s.varnhelmHud = ini.GetUnsigned(L"Varnhelm", L"HUD", 0);

    s.pokerStarsHistory = folder(kPokerStarsSection, L"History", probe.historyFolder);
    s.pokerStarsFolder = folder(kPokerStarsSection, L"Folder", probe.clientFolder);
    s.pokerStarsAudit = folder(kPokerStarsSection, L"Audit", L"");
    if (s.pokerStarsAudit.empty()) {
        s.pokerStarsAudit = JoinFolder(s.pokerStarsFolder, L"Audit/");
    }
    s.pokerStarsHud = ini.GetUnsigned(kPokerStarsSection, L"HUD", 0);

    const CIniFile user(ToUtf8(JoinFolder(s.pokerStarsFolder, L"user.ini")));
    s.heroName = user.GetString(L"User", L"Name", L"");
    if (s.pokerStarsHistory.empty()) {
        s.pokerStarsHistory = user.GetString(L"PipeOption", L"SaveMyHandsPath", L"") + s.heroName;
    }
    // One trailing separator is dropped: "/hands/" is used as "/hands".
    if (!s.pokerStarsHistory.empty() &&
        (s.pokerStarsHistory.back() == L'/' || s.pokerStarsHistory.back() == L'\\')) {
        s.pokerStarsHistory.pop_back();
    }
    s.seatPrefList =
        ParseSeatPref(user.GetString(L"PipeOption", L"SeatPref", L"0 0 0 0 0 0 0 0 0"));
    static constexpr int kPositions[9] = {1, 8, 6, 9, 2, 7, 3, 4, 5};
    for (size_t size = 0; size < 9; ++size) {
        s.preferredSeatBySize[size] = s.seatPrefList[static_cast<size_t>(kPositions[size] - 1)];
    }
    return s;
}
