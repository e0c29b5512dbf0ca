#include "live/PokerStarsClientProbe.h"

#include "foundation/CIniFile.h"
#include "foundation/WideText.h"

#include <cctype>
#include <cwctype>
#include <fstream>
#include <sys/stat.h>

namespace {

// The key under which the client keeps its hand-history folder.
constexpr const wchar_t* kHistoryKey = L"SaveMyHandsPath";
constexpr const char* kClientFolderName = "PokerStars";
constexpr const char* kAlternateSettings = "PokerStars.EU/user.ini";
constexpr const char* kClientLog = "PokerStars.log.0";

bool Exists(const std::string& path)
{
    struct stat st
    {
    };
    return ::stat(path.c_str(), &st) == 0;
}

int64_t LastWrite(const std::string& path)
{
    struct stat st
    {
    };
    return ::stat(path.c_str(), &st) == 0 ? static_cast<int64_t>(st.st_mtim.tv_sec) : -1;
}

struct CDataFolder
{
    std::string prefix;
    std::string folder;
};

std::vector<CDataFolder> DataFolders(const CClientProbeOptions& options)
{
    std::vector<CDataFolder> folders;
    for (const auto& prefix : options.winePrefixes) {
        const std::string users = prefix + "/drive_c/users/" + options.userName;
        folders.push_back({prefix, users + "/AppData/Local"});
        folders.push_back({prefix, users + "/Local Settings/Application Data"});
    }
    return folders;
}

// The last "ps.clb.getAppRef().login" line of the log names the language.
std::wstring LanguageOfLog(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string line;
    std::wstring language;
    while (std::getline(in, line)) {
        if (line.rfind("ps.clb.getAppRef().login", 0) != 0) {
            continue;
        }
        const size_t at = line.find("language:");
        if (at != std::string::npos && at + 12 <= line.size()) {
            language = FromUtf8(line.substr(at + 10, 2));
        }
    }
    return language;
}

}  // namespace

const wchar_t* const kClientLanguageMessage =
    L"The PokerStars client does not run in English. Hand histories are read only in English: "
    L"please choose English in the client's settings.";

std::vector<std::string> DefaultWinePrefixes(const std::string& winePrefix, const std::string& home)
{
    std::vector<std::string> prefixes;
    if (!winePrefix.empty()) {
        prefixes.push_back(winePrefix);
    }
    if (!home.empty() && home + "/.wine" != winePrefix) {
        prefixes.push_back(home + "/.wine");
    }
    return prefixes;
}

std::wstring WinePathToLinux(const std::string& prefix, const std::wstring& windowsPath)
{
    std::wstring path = ReplaceAll(windowsPath, L"\\", L"/");
    if (path.size() < 2 || path[1] != L':' || !std::iswalpha(static_cast<wint_t>(path[0]))) {
        return path;
    }
    const char drive = static_cast<char>(std::tolower(static_cast<int>(path[0])));
    std::string root = prefix + "/dosdevices/" + std::string(1, drive) + ":";
    if (!Exists(root) && drive == 'c') {
        root = prefix + "/drive_c";
    }
    return FromUtf8(root) + path.substr(2);
}

CClientProbe ProbePokerStarsClient(const CClientProbeOptions& options)
{
    CClientProbe probe;
    const std::vector<CDataFolder> folders = DataFolders(options);
    if (folders.empty()) {
        return probe;
    }
    const CDataFolder* chosen = nullptr;
    for (const auto& f : folders) {
        const std::string client = f.folder + "/" + kClientFolderName;
        if (Exists(client + "/user.ini") || Exists(f.folder + "/" + kAlternateSettings)) {
            chosen = &f;
            break;
        }
    }
    for (size_t i = 0; chosen == nullptr && i < folders.size(); ++i) {
        if (Exists(folders[i].folder + "/" + kClientFolderName)) {
            chosen = &folders[i];
        }
    }
    if (chosen == nullptr) {
        chosen = &folders.front();
    }
    const std::string client = chosen->folder + "/" + kClientFolderName;
    probe.clientFolder = FromUtf8(client + "/");

    std::string settings;
    if (Exists(client + "/user.ini")) {
        settings = client + "/user.ini";
    } else if (Exists(chosen->folder + "/" + kAlternateSettings)) {
        settings = chosen->folder + "/" + kAlternateSettings;
    }
    if (!settings.empty()) {
        const CIniFile ini(settings);
        for (const wchar_t* section : {L"", L"PipeOption", L"Options"}) {
            if (probe.historyFolder.empty()) {
                probe.historyFolder = ini.GetString(section, kHistoryKey, L"");
            }
        }
        probe.heroName = ini.GetString(L"User", L"Name", L"");
        if (!probe.historyFolder.empty()) {
            probe.historyFolder =
                WinePathToLinux(chosen->prefix, probe.historyFolder + probe.heroName);
        }
    }

    // The newer of the two logs; the first when both were written at once.
    const std::string log0 = client + "/" + kClientLog;
    const std::string log1 = client + "/PokerStars.log.1";
    if (Exists(log0) || Exists(log1)) {
        probe.language = LanguageOfLog(LastWrite(log1) > LastWrite(log0) ? log1 : log0);
    }
    return probe;
}
