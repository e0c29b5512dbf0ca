#include "live/CLiveTracking.h"

#include "companion/ReadHistoryFileEx.h"
#include "db/CDbContext.h"
#include "db/DatabaseAdmin.h"
#include "db/IConnection.h"
#include "db/tables/kroFiles.h"
#include "foundation/ILogSink.h"
#include "foundation/WideText.h"
#include "live/CDirectoryChangeHandlerHistory.h"
#include "live/CRoomTable.h"
#include "live/CompleteHands.h"
#include "live/HistoryFileWalks.h"
#include "live/ISessionSink.h"
#include "live/ITableHud.h"
#include "live/SystemErrorText.h"
#include "parser/FileFingerprint.h"
#include "platform/IProcessList.h"

#include <ctime>
#include <map>
#include <sys/stat.h>

namespace {

// Live import reads every file as the PokerStars layout, whichever room's
// folder it lies in: the club rooms' converted files are written in it.
constexpr const wchar_t* kLiveRoom = L"PokerStars";
constexpr int32_t kPokerStarsSiteId = 1;

bool IsFolder(const std::wstring& path)
{
    struct stat st
    {
    };
    return !path.empty() && ::stat(ToUtf8(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool HasTextExtension(const std::wstring& path)
{
    const std::wstring name = FileNameOf(path);
    return name.size() >= 5 && name.compare(name.size() - 4, 4, L".txt") == 0;
}

int64_t FileSize(const std::wstring& path)
{
    struct stat st
    {
    };
    return ::stat(ToUtf8(path).c_str(), &st) == 0 ? static_cast<int64_t>(st.st_size) : -1;
}

}  // namespace

CLiveTracking::CLiveTracking(CRoomTable& rooms,
                             kroDB::CDbContext& db,
                             ILogSink& log,
                             IUserNotifier& notifier,
                             IMainLoop& loop,
                             IProcessList& processes,
                             SourceFactory makeSource,
                             kroHandParser::CParseSettings settings)
    : m_rooms(rooms)
    , m_db(db)
    , m_log(log)
    , m_loop(loop)
    , m_processes(processes)
    , m_makeSource(std::move(makeSource))
    , m_env(db, m_actions, m_parseContext, log, notifier, settings)
    , m_importer(m_env)
    , m_historyHandler(std::make_shared<CDirectoryChangeHandlerHistory>(*this))
{}

CLiveTracking::~CLiveTracking()
{
    StopWatching();
}

void CLiveTracking::SetAuditHandler(std::shared_ptr<CDirectoryChangeHandler> handler)
{
    m_auditHandler = std::move(handler);
}

void CLiveTracking::StopWatching()
{
    for (int room = 0; room < kRoomCount; ++room) {
        if (m_rooms.Room(room).watcher) {
            m_rooms.Room(room).watcher->StopAll();
        }
    }
    if (m_auditWatcher) {
        m_auditWatcher->StopAll();
    }
}

CDirectoryChangeWatcher& CLiveTracking::WatcherOf(CPokerRoom& room)
{
    if (!room.watcher) {
        room.watcher = std::make_unique<CDirectoryChangeWatcher>(m_loop, m_makeSource());
    }
    return *room.watcher;
}

void CLiveTracking::Watch(CDirectoryChangeWatcher& watcher,
                          const std::wstring& folder,
                          std::shared_ptr<CDirectoryChangeHandler> handler,
                          const wchar_t* filter,
                          const wchar_t* started,
                          const wchar_t* failed)
{
    if (watcher.IsWatched(folder)) {
        (void)watcher.StopWatching(folder);
    }
    const uint32_t error = watcher.WatchDirectory(folder, std::move(handler), filter);
    if (error == 0) {
        m_log.Log(L"Start WatchDirectory " + std::wstring(started) + L" OK!\n" +
                  SystemErrorText(0));
    } else {
        m_log.Log(L"Failed to start watch for " + std::wstring(failed) + L":\n" +
                  SystemErrorText(error));
    }
}

void CLiveTracking::StartLiveTracking()
{
    if (m_trackerOn) {
        m_hands = 0;
        m_money = 0;
        m_ev = 0;
        if (m_sink != nullptr) {
            m_sink->UpdateFigures(0, 0, 0, 0);
        }
    }
    std::scoped_lock lock(m_watcherLock);
    // A hand the client was still writing stays for this start.
    CWatchedFileMap held;
    for (auto& [path, record] : m_historyFiles) {
        if (!record.heldLines.empty()) {
            held.emplace(path, std::move(record));
        }
    }
    m_historyFiles.clear();
    m_startTime = static_cast<int64_t>(std::time(nullptr));
    FindClientProcesses();
    if (m_tableHud != nullptr) {
        (void)m_tableHud->CountProcessID();
    }
    HoldConnection();

    CPokerRoom& stars = m_rooms.Room(kRoomPokerStars);
    if (stars.hudSwitch != 0) {
        if (IsFolder(stars.historyFolder)) {
            PreRegisterFiles(stars.historyFolder, L".txt", kRoomPokerStars, m_historyFiles,
                             m_startTime);
            Watch(WatcherOf(stars), stars.historyFolder, m_historyHandler, L"*.txt", L"History",
                  L"History");
        }
        if (m_auditHandler && IsFolder(stars.auditFolder)) {
            PreRegisterFiles(stars.auditFolder, L".dat", kRoomPokerStars, m_auditFiles,
                             m_startTime);
            if (!m_auditWatcher) {
                m_auditWatcher = std::make_unique<CDirectoryChangeWatcher>(m_loop, m_makeSource());
            }
            Watch(*m_auditWatcher, stars.auditFolder, m_auditHandler, L"*.dat", L"Auidit",
                  L"Audit");
        }
    }
    CPokerRoom& upoker = m_rooms.Room(kRoomUpoker);
    if (upoker.hudSwitch != 0 && IsFolder(upoker.historyFolder)) {
        PreRegisterFiles(upoker.historyFolder, L".txt", kRoomUpoker, m_historyFiles, m_startTime);
        Watch(WatcherOf(upoker), upoker.historyFolder, m_historyHandler, L"*.txt", L"History",
              L"History");
    }
    for (auto& [path, record] : held) {
        const auto found = m_historyFiles.find(path);
        if (found != m_historyFiles.end()) {
            found->second = std::move(record);
        }
    }
    ReadChangedFinishedFiles();
}

void CLiveTracking::ReadChangedFinishedFiles()
{
    if (!m_trackerOn || !m_lease) {
        return;
    }
    for (auto& [path, record] : m_historyFiles) {
        if (!record.heldLines.empty()) {
            continue;
        }
        kroDB::kroFiles::data row(m_db);
        row.path = FileNameOf(path);
        row.idsite = kPokerStarsSiteId;
        if (!row.Load() || !row.finish ||
            kroHandParser::FileUnchanged(ToUtf8(path), row.finishsize,
                                         static_cast<uint32_t>(row.finishcrc))) {
            continue;
        }
        // Written while tracking was off: the hands not stored yet are stored
        // now, the others are recognised.
        DebugLine(
            FormatW(L"File %ls changed since it was finished: it is read again", path.c_str()));
        record.file = row;
        record.readPosition = 0;
        record.inode = 0;
        (void)LiveImport(path, record);
    }
}

void CLiveTracking::FindClientProcesses()
{
    const std::vector<CProcessInfo> processes = m_processes.Processes();
    for (int number = 0; number < kRoomCount; ++number) {
        CPokerRoom& room = m_rooms.Room(number);
        if (room.clientProcessNames.empty()) {
            continue;
        }
        room.clientProcessId = 0;
        room.clientElevation = 0;
        for (const auto& wanted : room.clientProcessNames) {
            for (const auto& process : processes) {
                for (const auto& name : process.names) {
                    // Windows program names are compared without regard to case.
                    if (room.clientProcessId == 0 && EqualsNoCase(name, wanted)) {
                        room.clientProcessId = process.pid;
                        room.clientElevation = process.effectiveUserId == 0 ? 2 : 1;
                    }
                }
            }
        }
    }
}

void CLiveTracking::HoldConnection()
{
    if (!m_lease) {
        kroDB::IConnection* connection = m_db.AcquireConnection(true);
        if (connection != nullptr) {
            m_lease = std::make_unique<kroDB::CConnectionLease>(connection);
        }
    }
}

void CLiveTracking::DebugLine(const std::wstring& text)
{
    if (m_log.DebugEnabled()) {
        m_log.Log(text);
        m_log.Output(text);
    }
}

CWatchedFileMap CLiveTracking::HistoryFilesCopy()
{
    std::scoped_lock lock(m_watcherLock);
    return m_historyFiles;
}

void CLiveTracking::HistoryFileAdded(const std::wstring& path)
{
    std::scoped_lock lock(m_watcherLock);
    FileAddedLocked(path);
}

void CLiveTracking::FileAddedLocked(const std::wstring& path)
{
    DebugLine(FormatW(L"File %ls was added", path.c_str()));
    CWatchedFile record;
    record.file.path = FileNameOf(path);
    record.file.idsite = kPokerStarsSiteId;
    record.file.finish = false;
    if (!m_dbDown) {
        kroDB::kroFiles::data row(m_db);
        static_cast<CFileRecord&>(row) = record.file;
        (void)row.FindOrInsert();
        record.file = row;
    }
    record.readPosition = 0;
    auto& entry = m_historyFiles[path];
    entry = std::move(record);
    // A file that arrives with its content (moved in, or written before this
    // change was read) may see no later change that would have it read.
    if (FileSize(path) > 0) {
        (void)LiveImport(path, entry);
    }
}

void CLiveTracking::HistoryFileRemoved(const std::wstring& path)
{
    std::scoped_lock lock(m_watcherLock);
    FileRemovedLocked(path);
}

void CLiveTracking::FileRemovedLocked(const std::wstring& path)
{
    m_historyFiles.erase(path);
}

void CLiveTracking::HistoryFileRenamed(const std::wstring& oldPath, const std::wstring& newPath)
{
    std::scoped_lock lock(m_watcherLock);
    FileRemovedLocked(oldPath);
    if (HasTextExtension(newPath)) {
        FileAddedLocked(newPath);
    }
}

void CLiveTracking::HistoryFileModified(const std::wstring& path)
{
    std::scoped_lock lock(m_watcherLock);
    DebugLine(FormatW(L"File %ls was modified", path.c_str()));
    const auto found = m_historyFiles.find(path);
    if (found != m_historyFiles.end()) {
        (void)LiveImport(path, found->second);
    }
}

void CLiveTracking::HistoryChangesLost(const std::wstring& folder)
{
    std::scoped_lock lock(m_watcherLock);
    // Files made while changes were lost are new when written since "Start";
    // any known file may have grown.
    CWatchedFileMap found;
    PreRegisterFiles(folder, L".txt", -1, found, static_cast<int64_t>(std::time(nullptr)));
    for (const auto& [path, unused] : found) {
        struct stat st
        {
        };
        if (m_historyFiles.count(path) == 0 && ::stat(ToUtf8(path).c_str(), &st) == 0 &&
            static_cast<int64_t>(st.st_mtim.tv_sec) >= m_startTime) {
            FileAddedLocked(path);
        }
    }
    const std::wstring prefix = JoinPath(folder, L"");
    for (auto& [path, record] : m_historyFiles) {
        if (path.compare(0, prefix.size(), prefix) == 0) {
            (void)LiveImport(path, record);
        }
    }
}

int CLiveTracking::LiveImport(const std::wstring& path, CWatchedFile& record)
{
    if (!m_trackerOn) {
        return 1;
    }
    if (m_dbDown) {
        record.retry = true;
        return 1;
    }
    const CWatchedFile before = record;
    std::vector<std::wstring> complete;
    if (!ReadNewLines(path, record, complete)) {
        return 1;
    }
    const int64_t storedBefore = m_env.counts.stored;
    (void)m_parseContext.TakePublishedHeroes();
    bool failed = false;
    (void)ImportLines(path, record, complete, failed);
    if (failed) {
        // Read again from where this read began once the database is back;
        // hands stored before it went are recognised then.
        record.readPosition = before.readPosition;
        record.heldLines = before.heldLines;
        record.retry = true;
        m_dbDown = true;
        const std::wstring text = FormatW(
            L"The database cannot be reached: the hands of %ls are imported when it is back",
            path.c_str());
        m_log.Log(text);
        m_log.Output(text);
    }
    AddHeroHands(path, static_cast<int>(m_env.counts.stored - storedBefore));
    return 1;
}

bool CLiveTracking::ReadNewLines(const std::wstring& path,
                                 CWatchedFile& record,
                                 std::vector<std::wstring>& complete)
{
    const std::string file = ToUtf8(path);
    struct stat st
    {
    };
    if (::stat(file.c_str(), &st) != 0) {
        return false;
    }
    const bool otherFile = record.inode != 0 && (static_cast<uint64_t>(st.st_ino) != record.inode ||
                                                 static_cast<uint64_t>(st.st_dev) != record.device);
    if (otherFile || static_cast<int64_t>(st.st_size) < record.readPosition) {
        DebugLine(FormatW(L"File %ls was replaced or cut: it is read again from its start",
                          path.c_str()));
        record.readPosition = 0;
        record.heldLines.clear();
    }
    record.device = static_cast<uint64_t>(st.st_dev);
    record.inode = static_cast<uint64_t>(st.st_ino);

    std::vector<std::wstring> lines;
    int64_t position = record.readPosition;
    int result = ReadHistoryFileEx(file, position, lines, true);
    if (result == kReadPositionBeyondEnd) {
        // Cut between the test above and the read.
        position = 0;
        record.heldLines.clear();
        lines.clear();
        result = ReadHistoryFileEx(file, position, lines, true);
    }
    if (result != kReadOk) {
        return false;
    }
    record.readPosition = position;
    std::vector<std::wstring> all = std::move(record.heldLines);
    record.heldLines.clear();
    all.insert(all.end(), std::make_move_iterator(lines.begin()),
               std::make_move_iterator(lines.end()));
    const size_t count = CompleteHandLines(all);
    complete.assign(std::make_move_iterator(all.begin()),
                    std::make_move_iterator(all.begin() + static_cast<std::ptrdiff_t>(count)));
    record.heldLines.assign(
        std::make_move_iterator(all.begin() + static_cast<std::ptrdiff_t>(count)),
        std::make_move_iterator(all.end()));
    return HasText(complete);
}

int CLiveTracking::ImportLines(const std::wstring& path,
                               CWatchedFile& record,
                               const std::vector<std::wstring>& lines,
                               bool& failed)
{
    const std::string file = ToUtf8(path);
    const auto run = [&]() -> int {
        HoldConnection();
        if (!m_lease) {
            m_env.databaseLost = true;
            return 0;
        }
        int64_t fileId = 0;
        int currency = -1;
        const int hands = m_importer.ImportLines(file, lines, fileId, currency, kLiveRoom, 0);
        if (fileId > 0) {
            record.file.id = fileId;
            record.file.path = FileNameOf(path);
        }
        return hands;
    };
    int hands = run();
    if (!m_env.databaseLost) {
        return hands;
    }
    // A broken shared connection must go: the next use opens a new one.
    m_lease.reset();
    if (!kroDB::DatabaseReachable(m_db)) {
        failed = true;
        return hands;
    }
    // Once more; what is stored already is recognised.
    hands = run();
    if (m_env.databaseLost) {
        m_lease.reset();
        failed = !kroDB::DatabaseReachable(m_db);
    }
    return hands;
}

void CLiveTracking::AddHeroHands(const std::wstring& path, int stored)
{
    // Every hero hand stored by this import counts once, whatever else the
    // import read; amounts are converted per currency.
    std::map<int, std::pair<int64_t, int64_t>> byCurrency;
    std::vector<CSessionHand> counted;
    for (const auto& hand : m_parseContext.TakePublishedHeroes()) {
        const int64_t money = hand.hero.netwin;
        const auto allin = hand.hero.stats.values.find(L"val_allin_street");
        // An all-in hand whose EV could not be worked out (the hero was not
        // all in himself, or an opponent's cards stayed hidden) counts its
        // money: counting 0 would drop the hand's result from the EV line.
        const int64_t ev =
            allin != hand.hero.stats.values.end() && allin->second > 0 && hand.allinEvComputed
                ? hand.hero.allinev
                : money;
        auto& sums = byCurrency[hand.currency];
        sums.first += money;
        sums.second += ev;
        counted.push_back(CSessionHand{hand.handId, hand.currency, static_cast<int32_t>(money),
                                       static_cast<int32_t>(ev)});
    }
    int64_t money = 0;
    int64_t ev = 0;
    for (const auto& [currency, sums] : byCurrency) {
        if (m_sink != nullptr && currency != m_sink->DisplayCurrency()) {
            const double rate = m_sink->CurrencyRate(currency);
            money += static_cast<int64_t>(static_cast<double>(sums.first) * rate + 0.5);
            ev += static_cast<int64_t>(static_cast<double>(sums.second) * rate + 0.5);
        } else {
            money += sums.first;
            ev += sums.second;
        }
    }
    m_hands += stored;
    m_money += static_cast<int32_t>(money);
    m_ev += static_cast<int32_t>(ev);
    DebugLine(FormatW(L"File %ls - nHands = %d Money = %ld EV = %ld Diff = %ld", path.c_str(),
                      stored, static_cast<long>(money), static_cast<long>(ev),
                      static_cast<long>(money - ev)));
    if (m_sink != nullptr) {
        if (!counted.empty()) {
            m_sink->HandsCounted(counted);
        }
        m_sink->UpdateFigures(m_hands, m_money, m_ev, m_money - m_ev);
    }
}

void CLiveTracking::Tick()
{
    std::scoped_lock lock(m_watcherLock);
    if (!m_dbDown) {
        return;
    }
    if (!kroDB::DatabaseReachable(m_db)) {
        return;
    }
    m_dbDown = false;
    HoldConnection();
    const std::wstring text = L"The database is back: the files that waited are read again";
    m_log.Log(text);
    m_log.Output(text);
    for (auto& [path, record] : m_historyFiles) {
        if (record.retry) {
            record.retry = false;
            (void)LiveImport(path, record);
        }
        if (m_dbDown) {
            return;
        }
    }
}

void CLiveTracking::FinishWatchedFiles()
{
    std::scoped_lock lock(m_watcherLock);
    if (!m_trackerOn) {
        return;
    }
    kroDB::CConnectionLease connection(m_db.AcquireConnection(true));
    if (!connection || !connection->IsOpen()) {
        return;
    }
    for (const auto& [path, record] : m_historyFiles) {
        if (record.file.id <= 0) {
            continue;
        }
        // What was read is recorded: a file that holds more at the next start
        // (or a hand still held now, finished later) is read again then.
        const kroHandParser::CFileFingerprint print =
            kroHandParser::FileFingerprint(ToUtf8(path), record.readPosition);
        kroDB::kroFiles::data file(m_db);
        (void)file.SetFinished(record.file.id, print.size, print.crc);
        const std::wstring name = record.file.path.empty() ? FileNameOf(path) : record.file.path;
        DebugLine(FormatW(L"File %ls was SetFinished to DB", name.c_str()));
    }
}
