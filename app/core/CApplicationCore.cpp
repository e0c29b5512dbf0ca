#include "app/core/CApplicationCore.h"

#include "foundation/CIniFile.h"
#include "foundation/Folders.h"
#include "foundation/IUserNotifier.h"
#include "foundation/Rooms.h"
#include "foundation/Sites.h"
#include "foundation/WideText.h"
#include "live/ArchiveFiles.h"
#include "live/HistoryFileWalks.h"

#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#ifndef VX_VERSION
#define VX_VERSION "0.0.0"
#endif

namespace {

bool FileExists(const std::string& path)
{
    struct stat st
    {
    };
    return ::stat(path.c_str(), &st) == 0;
}

// "Aug  5 2023" as "05.08.2023".
std::wstring BuildDate()
{
    static const char* const kMonths = "JanFebMarAprMayJunJulAugSepOctNovDec";
    const char* date = __DATE__;
    const char* month = std::strstr(kMonths, std::string(date, 3).c_str());
    const int number = month == nullptr ? 0 : static_cast<int>((month - kMonths) / 3) + 1;
    return FormatW(L"%02d.%02d.%s", std::atoi(date + 4), number, date + 7);
}

// The version as four numbers.
std::wstring FourPartVersion()
{
    std::wstring version = FromUtf8(VX_VERSION);
    int parts = 1;
    for (const wchar_t c : version) {
        parts += c == L'.' ? 1 : 0;
    }
    for (; parts < 4; ++parts) {
        version += L".0";
    }
    return version;
}

// A folder written the Windows way (the client's own settings give its history
// folder so) lies in the Wine prefix the client runs in.
std::wstring LinuxFolder(const std::wstring& folder, const CClientProbeOptions& probe)
{
    const bool windows = folder.size() >= 2 && folder[1] == L':';
    if (!windows || probe.winePrefixes.empty()) {
        return folder;
    }
    return WinePathToLinux(probe.winePrefixes.front(), folder);
}

}  // namespace

CApplicationCore::CApplicationCore(CApplicationCoreOptions options, IUserNotifier& notifier)
    : m_options(std::move(options))
    , m_notifier(notifier)
{
    if (m_options.probe.winePrefixes.empty()) {
        const char* prefix = std::getenv("WINEPREFIX");
        m_options.probe.winePrefixes = DefaultWinePrefixes(prefix ? prefix : "", m_options.home);
    }
    if (m_options.probe.userName.empty()) {
        const char* user = std::getenv("USER");
        const char* login = ::getlogin();
        m_options.probe.userName = user && *user ? user : (login ? login : "");
    }
    Construct();
}

CApplicationCore::~CApplicationCore()
{
    m_live.reset();
    if (m_logFile.IsOpen()) {
        m_logFile.WriteRaw(L"\n" + std::wstring(13, L'-') + L" End of work " +
                           std::wstring(45, L'-') + L"\n");
    }
}

std::wstring CApplicationCore::RunHeader()
{
    return L"\n" + std::wstring(59, L'-') + L"\n" +
           FormatW(L"\n%ls\nVersion number: %ls\n", (L"Creation date:  " + BuildDate()).c_str(),
                   FourPartVersion().c_str());
}

void CApplicationCore::Construct()
{
    m_logOpen = m_logFile.Open(m_options.programFolder + "/Veltrix.log");
    if (m_logOpen) {
        m_logFile.WriteRaw(RunHeader());
    }
    const CIniFile ini(m_options.programFolder + "/Veltrix.ini");
    if (!ini.Exists()) {
        return;
    }
    // The probe only reads files; what it tells the user comes in its turn,
    // after the rooms before PokerStars.
    m_probe = ProbePokerStarsClient(m_options.probe);
    CClientProbeResult probe;
    probe.clientFolder = m_probe.clientFolder;
    probe.historyFolder = m_probe.historyFolder;
    m_settings = LoadStartupSettings(ini, FromUtf8(m_options.programFolder), probe,
                                     FromUtf8(m_options.home));
    m_sink.SetDebug(m_settings.debug != 0);

    // Every room of the registry with a history folder, in the registry's
    // order; PokerStars, whose folders come from its client, last.
    const std::wstring& varnhelm = m_settings.varnhelmFolder;
    for (const CRoomInfo& info : AllRooms()) {
        std::wstring folder;
        switch (info.historyFolder) {
        case HistoryFolderSource::None:
        case HistoryFolderSource::PokerStarsClient:
            continue;
        case HistoryFolderSource::RedStarSetting:
            folder = m_settings.redStarHistory;
            break;
        case HistoryFolderSource::TitanSetting:
            folder = m_settings.titanHistory;
            break;
        case HistoryFolderSource::ClubFolder:
            folder = varnhelm.empty() ? std::wstring() : JoinFolder(varnhelm, info.clubSubfolder);
            break;
        }
        if (info.clubHudSwitch) {
            m_rooms.Room(info.roomNumber).hudSwitch = static_cast<int32_t>(m_settings.varnhelmHud);
        }
        if (!ConfigureRoom(info.roomNumber, info.liveName, folder)) {
            return;
        }
    }

    if (!m_probe.language.empty() && m_probe.language != L"en") {
        m_notifier.Notify(kClientLanguageMessage);
    }
    const CRoomInfo& starsInfo = *RoomOfSiteCode(kSitePokerStars);
    CPokerRoom& stars = m_rooms.Room(starsInfo.roomNumber);
    stars.clientProcessNames = {L"PokerStars.exe"};
    stars.hudSwitch = static_cast<int32_t>(m_settings.pokerStarsHud);
    if (!ConfigureRoom(starsInfo.roomNumber, starsInfo.liveName,
                       LinuxFolder(m_settings.pokerStarsHistory, m_options.probe))) {
        return;
    }
    stars.auditFolder = LinuxFolder(m_settings.pokerStarsAudit, m_options.probe);

    if (!FileExists(ToUtf8(JoinFolder(m_settings.pokerStarsFolder, L"user.ini")))) {
        m_sink.Log(FormatW(L"PokerStars Folder %ls error in file Veltrix.ini!",
                           m_settings.pokerStarsFolder.c_str()));
        return;
    }
    stars.heroName = m_settings.heroName;
    for (size_t size = 0; size < stars.preferredSeats.size(); ++size) {
        stars.preferredSeats[size] = m_settings.preferredSeatBySize[size];
    }
    m_sink.Log(FormatW(L"HistoryPath = %ls", stars.historyFolder.c_str()));
}

bool CApplicationCore::ConfigureRoom(int number,
                                     const std::wstring& name,
                                     const std::wstring& historyFolder)
{
    CPokerRoom& room = m_rooms.Room(number);
    room.name = name;
    room.historyFolder = historyFolder;
    // The export folder and the name are glued as written: the folder ends
    // with its own separator.
    room.workDirectory = m_settings.exportFolder + name;
    if (CreateFolderWithParents(ToUtf8(room.workDirectory))) {
        return true;
    }
    const std::wstring text =
        FormatW(L"Create WorkDirectory %ls error!", room.workDirectory.c_str());
    m_sink.Log(text);
    m_notifier.Notify(text);
    return false;
}

bool CApplicationCore::OpenDebugTrace()
{
    return m_traceFile.Open(m_options.programFolder + "/kroDB_Debug.txt");
}

void CApplicationCore::ArchiveAtStart(IProcessList& processes, int64_t now)
{
    const int64_t limit = now - (static_cast<int64_t>(m_settings.archiveDelayDays) * 86400 +
                                 static_cast<int64_t>(m_settings.archiveDelayHours) * 3600);
    const auto archive = [&](int number, const std::wstring& folder) {
        std::vector<std::wstring> paths;
        SelectFilesToArchive(folder, limit, std::wstring(), number, true, paths);
        (void)ArchiveFiles(paths, m_rooms.Room(number), processes, m_sink);
    };
    const auto roomsFrom = [](HistoryFolderSource source) {
        std::vector<int> numbers;
        for (const CRoomInfo& info : AllRooms()) {
            if (info.historyFolder == source) {
                numbers.push_back(info.roomNumber);
            }
        }
        return numbers;
    };
    for (const HistoryFolderSource source :
         {HistoryFolderSource::PokerStarsClient, HistoryFolderSource::RedStarSetting,
          HistoryFolderSource::TitanSetting}) {
        for (const int room : roomsFrom(source)) {
            archive(room, m_rooms.Room(room).historyFolder);
        }
    }
    const std::vector<int> clubRooms = roomsFrom(HistoryFolderSource::ClubFolder);
    if (!m_settings.varnhelmFolder.empty()) {
        for (const int room : clubRooms) {
            archive(room, m_rooms.Room(room).historyFolder);
        }
    }
    if (!m_settings.dorriganFolder.empty()) {
        for (const wchar_t* sub : {L"hist_conv/", L"hist_conv_PLO5_6_src/"}) {
            for (const int room : clubRooms) {
                archive(room, JoinFolder(m_settings.dorriganFolder, sub));
            }
        }
    }
}

CLiveTracking& CApplicationCore::Live(kroDB::CDbContext& db,
                                      IMainLoop& loop,
                                      IProcessList& processes,
                                      CLiveTracking::SourceFactory makeSource,
                                      kroHandParser::CParseSettings settings)
{
    if (!m_live) {
        m_live = std::make_unique<CLiveTracking>(m_rooms, db, m_sink, m_notifier, loop, processes,
                                                 std::move(makeSource), settings);
    }
    return *m_live;
}
