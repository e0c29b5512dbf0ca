#include "live/CAuditSeating.h"

#include "foundation/WideText.h"
#include "live/CAuditFile.h"
#include "live/CDirectoryChangeHandlerAudit.h"
#include "live/CLiveTracking.h"
#include "live/CRoomTable.h"
#include "live/HistoryFileWalks.h"
#include "live/ITableHud.h"
#include "live/TableSeating.h"
#include "platform/IWindowFinder.h"

#include <mutex>
#include <sys/stat.h>

namespace {

bool HasAuditExtension(const std::wstring& path)
{
    const std::wstring name = FileNameOf(path);
    return name.size() >= 5 && name.compare(name.size() - 4, 4, L".dat") == 0;
}

bool HasContent(const std::wstring& path)
{
    struct stat st
    {
    };
    return ::stat(ToUtf8(path).c_str(), &st) == 0 && st.st_size > 0;
}

}  // namespace

CAuditSeating::CAuditSeating(
    CLiveTracking& live, CRoomTable& rooms, IWindowFinder& windows, ITableHud& hud, ILogSink& log)
    : m_live(live)
    , m_rooms(rooms)
    , m_windows(windows)
    , m_hud(hud)
    , m_log(log)
    , m_handler(std::make_shared<CDirectoryChangeHandlerAudit>(*this))
{}

CAuditSeating::~CAuditSeating() = default;

void CAuditSeating::FileAdded(const std::wstring& path)
{
    // Audit files hold no hands: they get no row of the imported files.
    CWatchedFile& record = m_live.AuditFiles()[path];
    record = CWatchedFile();
    record.file.path = FileNameOf(path);
    record.file.idsite = 1;
    // A file that arrives with its line (moved in, or written before this
    // change was read) may see no later change that would have it read.
    if (HasContent(path)) {
        std::scoped_lock lock(m_live.WatcherLock());
        (void)AuditFileChanged(path, record.readPosition);
    }
}

void CAuditSeating::FileRemoved(const std::wstring& path)
{
    m_live.AuditFiles().erase(path);
}

void CAuditSeating::FileRenamed(const std::wstring& oldPath, const std::wstring& newPath)
{
    FileRemoved(oldPath);
    if (HasAuditExtension(newPath)) {
        FileAdded(newPath);
    }
}

void CAuditSeating::FileModified(const std::wstring& path)
{
    std::scoped_lock lock(m_live.WatcherLock());
    const auto found = m_live.AuditFiles().find(path);
    if (found != m_live.AuditFiles().end()) {
        (void)AuditFileChanged(path, found->second.readPosition);
    }
}

bool CAuditSeating::AuditFileChanged(const std::wstring& path, int64_t& readPosition)
{
    CAuditFile line;
    if (!ParseAuditLine(path, readPosition, line, m_log)) {
        return false;
    }
    const CPokerRoom& stars = m_rooms.Room(kRoomPokerStars);
    if (stars.heroName.empty() || line.names[0] != stars.heroName) {
        return false;
    }
    const int32_t n = line.tableSize;
    if (n < 2 || n > 10) {
        return false;
    }
    const std::vector<std::wstring> names = NamesByPosition(line, PreferredSeat(stars, n));
    CTableRecord* table = TableOf(line.tableName, n);
    if (table == nullptr) {
        return false;
    }
    m_hud.UpdateTableHud(*table, n, line.bigBlind, line.gameKind, names);
    return true;
}

CTableRecord* CAuditSeating::TableOf(const std::wstring& tableName, int32_t tableSize)
{
    auto found = m_tables.find(tableName);
    // The client reuses table names: a table closed and opened again has a
    // new window, and boxes sent to the old one would show nowhere.
    if (found != m_tables.end() && !m_windows.Title(found->second.tableWindow).has_value()) {
        m_tables.erase(found);
        found = m_tables.end();
    }
    if (found != m_tables.end()) {
        return &found->second;
    }
    const uint64_t window = FindTableWindow(m_windows, m_rooms.Room(kRoomPokerStars), tableName);
    if (window == 0) {
        return nullptr;
    }
    CTableRecord& table = m_tables[tableName];
    table.tableWindow = window;
    table.tableSize = tableSize;
    return &table;
}
