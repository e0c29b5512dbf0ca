#include "hud/CHudLink.h"

#include "companion/Privileges.h"
#include "companion/ReadHistoryFileEx.h"
#include "foundation/ILogSink.h"
#include "foundation/IUserNotifier.h"
#include "foundation/WideText.h"
#include "hud/IHudStatsSource.h"
#include "live/CRoomTable.h"
#include "live/HistoryFileWalks.h"
#include "platform/HudMessages.h"
#include "platform/IMessageChannel.h"
#include "platform/IProcessList.h"
#include "platform/IProgramLauncher.h"
#include "platform/IWindowFinder.h"

#include <boost/regex.hpp>

#include <algorithm>
#include <ctime>
#include <sys/stat.h>
#include <thread>

namespace {

// The HUD program answers within this time or the message counts as lost.
constexpr std::chrono::milliseconds kSendTimeout{2000};
// How often a starting HUD program's endpoint is looked for.
constexpr std::chrono::milliseconds kStartPoll{50};
// A HUD program that did not come up is not started again within this time:
// each show would otherwise hold the main thread for the whole start wait.
constexpr std::chrono::seconds kStartRetry{30};
// How far back the hand-history file of a reported table may have been written.
constexpr int64_t kTableFileAge = 122400;
// The first index at which the "-" that ends a reported table's name counts.
constexpr size_t kTitleNameEnd = 20;
constexpr size_t kTitleLimit = 499;

bool FileExists(const std::wstring& path)
{
    struct stat st
    {
    };
    return ::stat(ToUtf8(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The name of the program built for this system: "Pelmora.exe" is "pelmora".
std::wstring NativeName(const std::wstring& fileName)
{
    std::wstring name = ToLowerAscii(fileName);
    if (name.size() > 4 && name.compare(name.size() - 4, 4, L".exe") == 0) {
        name.resize(name.size() - 4);
    }
    return name;
}

std::wstring FolderFile(const std::wstring& folder, const std::wstring& name)
{
    return folder.empty() ? name : JoinPath(folder, name);
}

}  // namespace

CHudLink::CHudLink(CHudProgram program,
                   CRoomTable& rooms,
                   IMessageChannel& channel,
                   IProcessList& processes,
                   IProgramLauncher& launcher,
                   IWindowFinder& windows,
                   IHudStatsSource& stats,
                   ILogSink& log,
                   IUserNotifier& notifier,
                   RawLogFn rawLog)
    : m_program(std::move(program))
    , m_rooms(rooms)
    , m_channel(channel)
    , m_processes(processes)
    , m_launcher(launcher)
    , m_windows(windows)
    , m_stats(stats)
    , m_log(log)
    , m_notifier(notifier)
    , m_rawLog(std::move(rawLog))
    , m_isUserAdmin([] { return IsUserAdmin() != 0; })
    , m_now([] { return static_cast<int64_t>(std::time(nullptr)); })
{}

CHudLink::~CHudLink() = default;

void CHudLink::DebugLine(const std::wstring& text)
{
    if (m_log.DebugEnabled()) {
        m_log.Log(text);
        m_log.Output(text);
    }
}

bool CHudLink::IsHudProcessName(const std::wstring& name) const
{
    return name == m_program.fileName || name == NativeName(m_program.fileName);
}

int CHudLink::CountHudProcesses()
{
    int count = 0;
    for (const auto& process : m_processes.Processes()) {
        for (const auto& name : process.names) {
            if (IsHudProcessName(name)) {
                ++count;
                break;
            }
        }
    }
    return count;
}

bool CHudLink::HudProcessElevated()
{
    for (const auto& process : m_processes.Processes()) {
        for (const auto& name : process.names) {
            if (IsHudProcessName(name)) {
                return process.effectiveUserId == 0;
            }
        }
    }
    return false;
}

std::vector<std::wstring> CHudLink::HudProgramPaths() const
{
    std::vector<std::wstring> paths;
    for (const std::wstring& folder : {m_program.folder, m_program.executableFolder}) {
        for (const std::wstring& name : {m_program.fileName, NativeName(m_program.fileName)}) {
            const std::wstring path = FolderFile(folder, name);
            if (std::find(paths.begin(), paths.end(), path) == paths.end()) {
                paths.push_back(path);
            }
        }
    }
    return paths;
}

bool CHudLink::CountProcessID()
{
    CPokerRoom& stars = m_rooms.Room(kRoomPokerStars);
    const std::vector<CProcessInfo> processes = m_processes.Processes();
    stars.clientProcessId = 0;
    stars.clientElevation = 0;
    for (const auto& wanted : stars.clientProcessNames) {
        for (const auto& process : processes) {
            for (const auto& name : process.names) {
                if (stars.clientProcessId == 0 && name == wanted) {
                    stars.clientProcessId = process.pid;
                    stars.clientElevation = process.effectiveUserId == 0 ? 2 : 1;
                }
            }
        }
        if (stars.clientProcessId != 0) {
            break;
        }
    }
    if (m_rawLog) {
        m_rawLog(FormatW(L"CountProcessID: %ls = %d\n", m_program.fileName.c_str(),
                         CountHudProcesses()));
    }
    StartAuxiliaryProgram();
    (void)StartHudProgram();
    if (stars.clientElevation == 2 && m_admin && !HudProcessElevated()) {
        m_notifier.Notify(L"Please start Pelmora.exe as Administrator!");
        return false;
    }
    if (FindHud()) {
        (void)Send(MakeResetMessage());
    }
    return true;
}

void CHudLink::StartAuxiliaryProgram()
{
    m_admin = m_isUserAdmin();
    if (m_program.auxiliaryFileName.empty()) {
        return;
    }
    static const boost::wregex kHelper(LR"((Tamsvik|Orlemby|Quillane).(\d+).(\d+).exe)");
    bool helper = false;
    bool running = false;
    for (const auto& process : m_processes.Processes()) {
        for (const auto& name : process.names) {
            helper = helper || boost::regex_search(name, kHelper);
            running = running || name == m_program.auxiliaryFileName;
        }
    }
    const std::wstring path = FolderFile(m_program.programFolder, m_program.auxiliaryFileName);
    if (!helper || running || !FileExists(path)) {
        return;
    }
    if (m_launcher.Launch(ToUtf8(path), ToUtf8(m_program.programFolder), nullptr).IsOk()) {
        m_log.Log(FormatW(L"ShellExecute: %ls", path.c_str()));
    }
}

bool CHudLink::StartHudProgram()
{
    const std::vector<std::wstring> paths = HudProgramPaths();
    m_log.Log(FormatW(L"Try ShellExecute: %ls", paths.front().c_str()));
    std::wstring path;
    for (const auto& candidate : paths) {
        if (FileExists(candidate)) {
            path = candidate;
            break;
        }
    }
    if (path.empty()) {
        return false;
    }
    m_admin = m_isUserAdmin();
    // A HUD program of another user or desktop session runs under the same
    // name but serves another endpoint: only one that serves ours counts.
    if (CountHudProcesses() != 0 && m_channel.EndpointExists(m_program.caption)) {
        return true;
    }
    const auto now = std::chrono::steady_clock::now();
    if (m_startFailedAt && now - *m_startFailedAt < kStartRetry) {
        return true;
    }
    const std::wstring folder = path.substr(0, path.rfind(L'/') + 1);
    const CStatus started = m_launcher.Launch(ToUtf8(path), ToUtf8(folder), nullptr);
    if (!started.IsOk()) {
        m_log.Log(started.Message());
    } else {
        const auto end = std::chrono::steady_clock::now() + m_startWait;
        while (!(m_hudKnown = m_channel.EndpointExists(m_program.caption)) &&
               std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(kStartPoll);
        }
    }
    if (m_hudKnown) {
        m_startFailedAt.reset();
    } else {
        m_startFailedAt = std::chrono::steady_clock::now();
    }
    m_log.Log(
        FormatW(m_admin ? L"ShellExecute: %ls as admin" : L"ShellExecute: %ls", path.c_str()));
    return true;
}

bool CHudLink::FindHud()
{
    if (!m_hudKnown) {
        m_hudKnown = m_channel.EndpointExists(m_program.caption);
    }
    return m_hudKnown;
}

bool CHudLink::Send(const CHudMessage& message)
{
    const std::vector<uint8_t> payload = EncodeHudMessage(message);
    const CStatus sent = m_channel.Send(m_program.caption, kHudMessageTag, payload, kSendTimeout);
    if (sent.GetCode() == CStatus::Code::NotFound) {
        // The program ended; the next show looks for it (and starts it) anew.
        m_hudKnown = false;
    }
    return sent.IsOk();
}

bool CHudLink::SendHud(uint64_t tableWindow,
                       int32_t value,
                       int32_t hudNumber,
                       const std::wstring& text)
{
    if (tableWindow == 0) {
        m_log.Log(FormatW(L"Window = 0 for hud = %d and command = %d\n", hudNumber,
                          static_cast<int>(HudCommand::Show)));
        return false;
    }
    if (!FindHud()) {
        m_log.Log(FormatW(L"%ls not found by <FindWindow>!", m_program.caption.c_str()));
        if (m_rawLog) {
            m_rawLog(FormatW(L"CountProcessID before ShellExecute %ls: %ls = %d\n",
                             m_program.caption.c_str(), m_program.fileName.c_str(),
                             CountHudProcesses()));
        }
        (void)StartHudProgram();
        if (!FindHud()) {
            m_log.Log(FormatW(L"%ls not found by <FindWindow> after ShellExecute!",
                              m_program.caption.c_str()));
            return false;
        }
    }
    CHudMessage message = MakeShowMessage(tableWindow, hudNumber, text);
    message.value = value;
    return Send(message);
}

bool CHudLink::SendHide(uint64_t tableWindow, int32_t value, int32_t hudNumber)
{
    if (!FindHud()) {
        return false;
    }
    CHudMessage message = MakeHideMessage(tableWindow, hudNumber);
    message.value = value;
    return Send(message);
}

void CHudLink::UpdateTableHud(CTableRecord& table,
                              int32_t tableSize,
                              int32_t bigBlind,
                              int32_t gameKind,
                              const std::vector<std::wstring>& namesByPosition)
{
    const int n = std::min<int>(tableSize, static_cast<int>(namesByPosition.size()));
    if (n < 2 || n > static_cast<int>(table.shown.size())) {
        return;
    }
    if (table.tableSize != n) {
        // The boxes of the old size are numbered differently: they go first.
        for (int p = 0; p < table.tableSize && p < static_cast<int>(table.shown.size()); ++p) {
            if (table.shown[static_cast<size_t>(p)]) {
                (void)SendHide(table.tableWindow, kHudValue, HudNumber(table.tableSize, p));
            }
        }
        table.shown.fill(false);
        table.tableSize = n;
    }
    const std::vector<std::wstring> names(namesByPosition.begin(), namesByPosition.begin() + n);
    const auto texts = m_stats.HudStatsTexts(names, bigBlind, gameKind);
    if (!texts) {
        m_log.Log(L"The HUD statistics period starts before 1970: HUD_CacheMonths is too large");
        return;
    }
    for (int p = 0; p < n; ++p) {
        const auto position = static_cast<size_t>(p);
        const int hud = HudNumber(n, p);
        if (!names[position].empty()) {
            const std::wstring& text = (*texts)[position];
            (void)SendHud(table.tableWindow, kHudValue, hud, kHudStatsMarkup + text);
            table.shown[position] = true;
            DebugLine(FormatW(L"SendHud: nHud=%d Message = %ls", hud, text.c_str()));
        } else if (table.shown[position]) {
            (void)SendHide(table.tableWindow, kHudValue, hud);
            table.shown[position] = false;
            DebugLine(FormatW(L"SendHide: nHud=%d", hud));
        }
    }
}

void CHudLink::ReadDataDSH(std::span<const uint8_t> record)
{
    const std::optional<CTableReport> report = DecodeTableReport(record);
    if (!report) {
        return;
    }
    m_log.Log(FormatW(L"ReadDataDSH: command = %d HWND = 0x%08X", static_cast<int>(report->command),
                      report->tableWindow));
    const uint64_t window = TableReportWindow(*report);
    if (report->command != static_cast<uint8_t>(TableReportCommand::NewTable) ||
        m_reported.count(window) != 0) {
        return;
    }
    // X11 window ids take 29 bits: the report's 32 bits are the id as they are.
    std::wstring title = m_windows.Title(report->tableWindow).value_or(std::wstring());
    if (title.size() > kTitleLimit) {
        title.resize(kTitleLimit);
    }
    const int length = static_cast<int>(title.size());
    m_log.Log(FormatW(L"rc = %d", length));
    m_log.Log(FormatW(L"ii = %d str = <%ls>", length, title.c_str()));
    m_log.Log(FormatW(L"ReadDataDSH: command = %d HWND = 0x%08X idRoom = %d nType = %d",
                      static_cast<int>(report->command), report->tableWindow,
                      static_cast<int>(report->room), static_cast<int>(report->type)));
    if (report->room >= kRoomCount) {
        return;
    }
    const size_t dash = title.find(L'-', kTitleNameEnd);
    const std::wstring tableName =
        dash == std::wstring::npos ? std::wstring() : title.substr(0, dash - 1);
    const CPokerRoom& room = m_rooms.Room(report->room);
    std::vector<std::wstring> files;
    FindTableFiles(room.historyFolder, m_now() - kTableFileAge, tableName, report->room, true,
                   files);
    if (files.size() != 1) {
        return;
    }
    CReportedTable table;
    table.room = report->room;
    table.file = files.front();
    std::vector<std::wstring> lines;
    if (ReadHistoryFileEx(ToUtf8(table.file), table.readPosition, lines) != kReadOk) {
        return;
    }
    m_reported[window] = table;
}

uint64_t CHudLink::HandlePacket(uint64_t tag, std::span<const uint8_t> payload)
{
    if (tag == kTableReportTag && payload.size() == kTableReportSize) {
        ReadDataDSH(payload);
    }
    return tag;
}

void CHudLink::SendShutdown()
{
    if (FindHud()) {
        (void)Send(MakeShutdownMessage());
    }
}
