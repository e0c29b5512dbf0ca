#include "app/core/CApplicationCore.h"

#include "app/core/ProgramFolder.h"
#include "db/DatabaseAdmin.h"
#include "foundation/CIniFile.h"
#include "foundation/Folders.h"
#include "foundation/IProfile.h"
#include "foundation/IUserNotifier.h"
#include "foundation/LocalTime.h"
#include "foundation/Rooms.h"
#include "foundation/Sites.h"
#include "foundation/WideText.h"
#include "hud/CHudLayouts.h"
#include "hud/CHudLink.h"
#include "hud/CHudStats.h"
#include "hud/CHudStatsCache.h"
#include "hud/StatNames.h"
#include "live/ArchiveFiles.h"
#include "live/CAuditSeating.h"
#include "live/HistoryFileWalks.h"
#include "platform/PokerClientWindows.h"

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

CApplicationCore::CApplicationCore(CApplicationCoreOptions options,
                                   IUserNotifier& notifier,
                                   IProfile* profile,
                                   CPlatformServices platform)
    : m_options(std::move(options))
    , m_notifier(notifier)
    , m_profile(profile != nullptr ? *profile : m_ownProfile)
    , m_platform(std::move(platform))
    , m_db(std::make_unique<kroDB::CDbContext>(m_definitions, notifier, m_sink))
    , m_hudLayouts(std::make_unique<CHudLayouts>(m_options.programFolder + "/HUDs.xml", notifier))
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
    ShutDown();
    // The HUD program of this run ends with it; one that another run started
    // is left alone.
    if (m_hudLink) {
        m_hudLink->SendShutdown();
    }
    m_auditSeating.reset();
    m_live.reset();
    m_hudLink.reset();
    m_hudStats.reset();
    m_db.reset();
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
    (void)CreateFolderWithParents(m_options.programFolder);
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
    if (!m_options.configureRooms) {
        return;
    }

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
    stars.tableWindowClasses = {kPokerStarsTableWindowClasses[0], kPokerStarsTableWindowClasses[1]};
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

bool CApplicationCore::StartUp()
{
    if (!m_options.shareFolder.empty()) {
        (void)SeedDataFile(m_options.programFolder, m_options.shareFolder, "predeftypes.json");
    }
    const std::string definitions = m_options.programFolder + "/predeftypes.json";
    if (!m_definitions.LoadStatTypes(definitions)) {
        m_sink.Log(L"predeftypes.json not found in " + FromUtf8(m_options.programFolder) +
                   L": no rooms and no statistic columns are known");
    }
    (void)OpenDebugTrace();
    const CStatus environment = m_db->AllocateEnvironment();
    if (!environment.IsOk()) {
        m_notifier.Notify(environment.Message());
        return false;
    }
    // The first room of the profile's choice whose key is set.
    static constexpr std::pair<const wchar_t*, int> kSettingsRooms[] = {{L"PartyPoker", 0},
                                                                        {L"PokerStars", 1},
                                                                        {L"Poker888", 2},
                                                                        {L"RedStar", 4},
                                                                        {L"RedKings", 9}};
    for (const auto& [key, room] : kSettingsRooms) {
        if (m_profile.GetProfileInt(L"Poker Room", key, 0) != 0) {
            m_settingsRoom = room;
            break;
        }
    }
    m_hudName = m_profile.GetProfileString(SettingsRoomSection(m_settingsRoom), L"HUDName", L"");
    if (m_profile.GetProfileInt(L"Base", L"Archive", 0) != 0 && m_platform.processes != nullptr) {
        ArchiveAtStart(*m_platform.processes, static_cast<int64_t>(std::time(nullptr)));
    }
    BuildStatNames(CPlayer(), m_statNames);
    (void)m_hudLayouts->Load();
    return true;
}

void CApplicationCore::ShutDown()
{
    if (m_shutDown) {
        return;
    }
    m_shutDown = true;
    if (m_live) {
        m_live->FinishWatchedFiles();
        m_live->StopWatching();
        m_live->SetSessionSink(nullptr);
    }
    if (m_compaction.joinable()) {
        m_compaction.join();
    }
    (void)m_profile.WriteProfileString(SettingsRoomSection(m_settingsRoom), L"HUDName", m_hudName);
    m_traceFile.Close();
}

void CApplicationCore::ResultLine(const std::wstring& text)
{
    m_sink.Output(text);
    m_sink.Log(text);
}

bool CApplicationCore::Complete(const CDatabaseSettings& settings)
{
    if (settings.Complete()) {
        return true;
    }
    m_notifier.Notify(L"Please fill all the required fields!");
    return false;
}

void CApplicationCore::InstallHudSummary()
{
    CHudStatsCache summary(*m_db);
    const CStatus installed = summary.Install();
    if (!installed.IsOk()) {
        m_sink.Log(L"The HUD statistics are read without their summary: " + installed.Message());
    }
    (void)summary.SumHandsByUnit();
}

CDbCommandResult CApplicationCore::CreateDatabase(const CDatabaseSettings& settings)
{
    CDbCommandResult result;
    if (!Complete(settings)) {
        result.incomplete = true;
        return result;
    }
    const std::wstring target = settings.ConnectString();
    if (kroDB::CheckDatabase(*m_db, target)) {
        result = {true, L"Database is already being!"};
    } else if (kroDB::CreateDatabase(*m_db, target)) {
        InstallHudSummary();
        result = {true, L"Database was created successfully!"};
    } else {
        result = {false, L"Database is not created!"};
    }
    ResultLine(result.message);
    return result;
}

CDbCommandResult CApplicationCore::CheckDatabase(const CDatabaseSettings& settings)
{
    CDbCommandResult result;
    if (!Complete(settings)) {
        result.incomplete = true;
        return result;
    }
    result = kroDB::CheckDatabase(*m_db, settings.ConnectString())
                 ? CDbCommandResult{true, L"Database is found!"}
                 : CDbCommandResult{false, L"Database is not found!"};
    ResultLine(result.message);
    return result;
}

CDbCommandResult CApplicationCore::DropDatabase(const CDatabaseSettings& settings)
{
    CDbCommandResult result;
    if (!Complete(settings)) {
        result.incomplete = true;
        return result;
    }
    const std::wstring target = settings.ConnectString();
    if (!kroDB::CheckDatabase(*m_db, target)) {
        result = {false, L"Database is not found!"};
    } else if (kroDB::DropDatabase(*m_db, target)) {
        result = {true, L"Database was deleted successfully!"};
    } else {
        result = {false, L"Database is not deleted!"};
    }
    ResultLine(result.message);
    return result;
}

CDbCommandResult CApplicationCore::UpgradeDatabase(const CDatabaseSettings& settings)
{
    CDbCommandResult result;
    if (!Complete(settings)) {
        result.incomplete = true;
        return result;
    }
    if (!kroDB::CheckDatabase(*m_db, settings.ConnectString())) {
        result = {false, L"Database is not found!"};
    } else if (kroDB::UpgradeDatabase(*m_db)) {
        InstallHudSummary();
        result = {true, L"Database was upgraded successfully!"};
    } else {
        result = {false, L"Database is not upgraded!"};
    }
    ResultLine(result.message);
    return result;
}

bool CApplicationCore::UseDatabase(const CDatabaseSettings& settings)
{
    if (!Complete(settings)) {
        return false;
    }
    const std::wstring connect = settings.ConnectString();
    if (!kroDB::CheckDatabase(*m_db, connect)) {
        m_notifier.Notify(L"DataBase does not exist!");
        return false;
    }
    m_db->SetConnectStrings(connect);
    (void)kroDB::UpgradeDatabase(*m_db);
    InstallHudSummary();
    return true;
}

kroHandParser::CParseSettings CApplicationCore::ParseSettings(int handHistoryFormat) const
{
    kroHandParser::CParseSettings parse;
    parse.handHistoryFormat =
        handHistoryFormat >= 0 ? handHistoryFormat : m_profile.GetProfileInt(L"Base", L"HH", 0);
    parse.localOffset = MeasureLocalUtcOffset();
    parse.allinDump = m_settings.allinEv != 0;
    parse.allinDumpFolder = m_settings.allinEvFolder;
    return parse;
}

CManualImportOptions CApplicationCore::ImportOptions(const CDatabaseSettings& settings,
                                                     int handHistoryFormat) const
{
    CManualImportOptions options;
    options.connectString = settings.ConnectString();
    options.parse = ParseSettings(handHistoryFormat);
    // A manual import prepares the next hand while the server stores one;
    // live tracking stores each hand before it tells the HUD, so it does not.
    options.parse.sendAhead = true;
    // Every hand is still its own transaction; only the wait for the disk at
    // each commit goes: the import makes each file durable before it counts.
    options.parse.asyncCommit = true;
    options.parse.loadRoomPlayers = true;
    return options;
}

CManualImportResult CApplicationCore::ImportFiles(const CManualImportOptions& options,
                                                  const CManualImport::ProgressFn& progress,
                                                  std::stop_token stop)
{
    CManualImport import(*m_db, m_definitions, m_sink, m_notifier);
    return import.Run(options, progress, std::move(stop));
}

CLiveTracking& CApplicationCore::StartLiveTracking(bool trackerOn, ISessionSink* session)
{
    if (!m_live) {
        m_live = std::make_unique<CLiveTracking>(m_rooms, *m_db, m_sink, m_notifier,
                                                 *m_platform.loop, *m_platform.processes,
                                                 m_platform.makeSource, ParseSettings());
        if (m_platform.channel != nullptr && m_platform.windows != nullptr &&
            m_platform.launcher != nullptr) {
            m_hudStats = std::make_unique<CHudStats>(*m_db, m_profile);
            CHudProgram program;
            program.folder = m_settings.hudFolder;
            if (!m_settings.hudFileName.empty()) {
                program.fileName = m_settings.hudFileName;
            }
            program.executableFolder = FromUtf8(m_platform.executableFolder);
            program.programFolder = FromUtf8(m_options.programFolder);
            m_hudLink = std::make_unique<CHudLink>(
                program, m_rooms, *m_platform.channel, *m_platform.processes, *m_platform.launcher,
                *m_platform.windows, *m_hudStats, m_sink, m_notifier,
                [this](const std::wstring& text) { m_logFile.WriteRaw(text); });
            m_auditSeating = std::make_unique<CAuditSeating>(*m_live, m_rooms, *m_platform.windows,
                                                             *m_hudLink, m_sink);
            m_live->SetAuditHandler(m_auditSeating->Handler());
            m_live->SetTableHud(m_hudLink.get());
        }
    }
    m_live->SetTrackerSwitch(trackerOn);
    m_live->SetSessionSink(session);
    m_live->StartLiveTracking();
    return *m_live;
}

void CApplicationCore::Tick()
{
    if (m_live) {
        m_live->Tick();
    }
    // The summary's rows of differences are folded on a worker of their own
    // (with its own connection), so a large import never stalls this thread.
    const auto now = std::chrono::steady_clock::now();
    if (m_live && now - m_lastCompact >= kCompactEvery) {
        m_lastCompact = now;
        if (m_compaction.joinable()) {
            m_compaction.join();
        }
        m_compaction = std::thread([db = m_db.get()] { (void)CHudStatsCache(*db).Compact(); });
    }
}

uint64_t CApplicationCore::HandlePacket(uint64_t tag, std::span<const uint8_t> payload)
{
    return m_hudLink ? m_hudLink->HandlePacket(tag, payload) : tag;
}

std::wstring CApplicationCore::HudStatsText(const std::wstring& name,
                                            int32_t bigBlind,
                                            int32_t gameKind)
{
    if (!m_hudStats) {
        m_hudStats = std::make_unique<CHudStats>(*m_db, m_profile);
    }
    return m_hudStats->HudStatsText(name, bigBlind, gameKind);
}

std::wstring SettingsRoomSection(int settingsRoom)
{
    switch (settingsRoom) {
    case 0:
        return L"PartyPoker Settings";
    case 2:
        return L"Poker888 Settings";
    case 4:
        return L"RedStar Settings";
    case 9:
        return L"iPoker Settings";
    default:
        return L"PokerStars Settings";
    }
}
