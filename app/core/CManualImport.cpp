#include "app/core/CManualImport.h"

#include "companion/ReadHistoryFileEx.h"
#include "db/CDbContext.h"
#include "db/DatabaseAdmin.h"
#include "db/IConnection.h"
#include "db/tables/CActionList.h"
#include "db/tables/kroAliases.h"
#include "db/tables/kroFiles.h"
#include "foundation/CStatDefinitions.h"
#include "foundation/ILogSink.h"
#include "foundation/IUserNotifier.h"
#include "foundation/Sites.h"
#include "foundation/WideText.h"
#include "live/HistoryFileWalks.h"
#include "parser/CHandHistoryImporter.h"
#include "parser/CParseContext.h"
#include "parser/CRoomDetector.h"
#include "parser/FileFingerprint.h"

#include <chrono>
#include <ctime>
#include <set>
#include <sys/stat.h>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// A file is read again from its start this often at most after the database
// came back, so that a server that keeps failing cannot hold the import.
constexpr int kMaxAttemptsPerFile = 20;

// The room number of PokerStars, whose "HH" files are marked finished.
constexpr int kPokerStarsRoom = 1;

bool IsFolder(const std::string& path)
{
    struct stat st
    {
    };
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsRegularFile(const std::string& path)
{
    struct stat st
    {
    };
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string NameOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The room display name of a site code, as the room lists show it.
std::wstring RoomNameOfSiteCode(int siteCode, const CStatDefinitions& definitions)
{
    std::vector<CStatDefinition> sites;
    definitions.ReadStatSection(L"sites", sites);
    for (const auto& site : sites) {
        if (SiteCodeFromSymbolicName(site.name) == siteCode) {
            return site.description;
        }
    }
    return std::wstring();
}

// The room of a file named by its first lines; empty when no room's test
// passes.
std::wstring DetectRoom(const std::string& path, const CStatDefinitions& definitions)
{
    int64_t pos = 0;
    std::vector<std::wstring> lines;
    if (ReadHistoryFileEx(path, pos, lines) != kReadOk) {
        return std::wstring();
    }
    const int code = kroHandParser::CRoomDetector::GuessSiteCode(lines);
    return code < 0 ? std::wstring() : RoomNameOfSiteCode(code, definitions);
}

}  // namespace

int CManualImportResult::ExitCode() const
{
    const bool clean = !databaseMissing && !databaseLost && !stopped && filesNotImported.empty() &&
                       counts.rejected == 0 && counts.unreached == 0;
    return clean ? 0 : 1;
}

int CManualImport::RoomNumberOf(const std::wstring& room)
{
    if (room == L"RedStar") {
        return 4;
    }
    if (room == L"iPoker") {
        return 9;
    }
    return 1;
}

std::vector<std::string> CManualImport::CollectFiles(const std::vector<std::string>& paths,
                                                     int roomNumber)
{
    std::vector<std::string> files;
    // A day ahead, so that every file qualifies by its time.
    const int64_t limit = static_cast<int64_t>(std::time(nullptr)) + 86400;
    for (const auto& path : paths) {
        if (!IsFolder(path)) {
            files.push_back(path);
            continue;
        }
        if (roomNumber == 4 || roomNumber == 9) {
            const std::string dat = path + (path.back() == '/' ? "" : "/") + "GameHistory.dat";
            if (IsRegularFile(dat)) {
                files.push_back(dat);
            }
            continue;
        }
        std::vector<std::wstring> found;
        SelectFilesToImport(FromUtf8(path), limit, std::wstring(), roomNumber, true, found);
        for (const auto& file : found) {
            files.push_back(ToUtf8(file));
        }
    }
    return files;
}

CManualImport::CManualImport(kroDB::CDbContext& db,
                             const CStatDefinitions& definitions,
                             ILogSink& log,
                             IUserNotifier& notifier)
    : m_db(db)
    , m_definitions(definitions)
    , m_log(log)
    , m_notifier(notifier)
{}

// One run of the import: its options, environment and figures.
class CManualImport::CRun
{
public:
    CRun(CManualImport& owner,
         const CManualImportOptions& options,
         const ProgressFn& progress,
         std::stop_token stop)
        : m_owner(owner)
        , m_options(options)
        , m_progress(progress)
        , m_stop(std::move(stop))
        , m_env(owner.m_db, m_actions, m_context, owner.m_log, owner.m_notifier, options.parse)
        , m_importer(m_env)
    {
        m_env.stop = m_stop;
        m_env.ownHands = &m_ownHands;
        m_env.afterHand = [this] { HandDone(); };
    }

    CManualImportResult Execute();

private:
    void Say(const std::wstring& text)
    {
        m_owner.m_log.Output(text);
        m_owner.m_log.Log(text);
    }
    int64_t HandsSoFar() const { return m_total + m_env.counts.Handled() - m_fileCountsStart; }
    void Report(bool force);
    void HandDone() { Report(false); }
    int32_t FindAlias();
    // Imports one file, reading it again from its start after each outage.
    // False when the import must end here (the database stayed away, or a
    // stop).
    bool ImportFile(const std::string& path, int& hands);
    bool WaitForDatabase();

    CManualImport& m_owner;
    const CManualImportOptions& m_options;
    const ProgressFn& m_progress;
    std::stop_token m_stop;
    kroDB::CActionList m_actions;
    kroHandParser::CParseContext m_context;
    kroHandParser::CParserEnvironment m_env;
    kroHandParser::CHandHistoryImporter m_importer;
    std::set<int64_t> m_ownHands;
    CManualImportResult m_result;
    Clock::time_point m_start;
    Clock::time_point m_lastReport;
    int m_fileNumber = 0;
    std::string m_path;
    int64_t m_total = 0;
    int64_t m_fileCountsStart = 0;
    int32_t m_aliasId = 0;
    // One file chosen as a file: the lines and rules of the single-file import.
    bool m_single = false;
};

void CManualImport::CRun::Report(bool force)
{
    if (!m_progress) {
        return;
    }
    const auto now = Clock::now();
    if (!force && now - m_lastReport < std::chrono::milliseconds(250)) {
        return;
    }
    m_lastReport = now;
    CManualImportProgress p;
    p.fileNumber = m_fileNumber;
    p.fileCount = m_result.fileCount;
    p.path = m_path;
    p.handsSoFar = HandsSoFar();
    const double seconds = std::chrono::duration<double>(now - m_start).count();
    p.handsPerSecond = seconds > 0 ? static_cast<double>(p.handsSoFar) / seconds : 0;
    m_progress(p);
}

int32_t CManualImport::CRun::FindAlias()
{
    if (!m_options.autoAlias || m_options.nick.empty()) {
        return m_options.aliasId;
    }
    kroDB::kroAliases::data alias(m_owner.m_db);
    alias.name = m_options.nick;
    return alias.FindOrInsert() ? alias.id : 0;
}

bool CManualImport::CRun::WaitForDatabase()
{
    Say(FormatW(L"The database cannot be reached: waiting up to %d seconds for it to come back",
                m_options.waitSeconds));
    const auto deadline = Clock::now() + std::chrono::seconds(m_options.waitSeconds);
    for (;;) {
        if (m_stop.stop_requested()) {
            return false;
        }
        if (kroDB::DatabaseReachable(m_owner.m_db)) {
            // The broken connection goes; the next statement opens a new one.
            m_owner.m_db.ResetConnection();
            Say(L"The database is back: the import goes on");
            return true;
        }
        if (Clock::now() >= deadline) {
            return false;
        }
        for (int i = 0; i < 10 && !m_stop.stop_requested(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
}

bool CManualImport::CRun::ImportFile(const std::string& path, int& hands)
{
    const kroHandParser::CImportCounts before = m_env.counts;
    m_ownHands.clear();
    for (int attempt = 1;; ++attempt) {
        const std::wstring room =
            m_options.room.empty() ? DetectRoom(path, m_owner.m_definitions) : m_options.room;
        int64_t fileId = 0;
        int currency = -1;
        int64_t position = 0;
        hands = room.empty() ? 0
                             : m_importer.ImportHandHistoryFile(path, fileId, currency, position,
                                                                room, m_aliasId);
        // Commits that did not wait for the disk are made durable before the
        // file counts as imported: a server that crashes now would lose them.
        if (!m_env.databaseLost && m_options.parse.asyncCommit &&
            m_env.counts.stored > before.stored && !kroDB::MakeDurable(m_owner.m_db)) {
            m_env.databaseLost = true;
        }
        if (m_env.databaseLost) {
            if (attempt >= kMaxAttemptsPerFile || !WaitForDatabase()) {
                m_result.databaseLost = !m_stop.stop_requested();
                return false;
            }
            // Counted again as the file is read again: the hands this import
            // stored count as stored when they are found.
            m_env.counts = before;
            hands = 0;
            continue;
        }
        if (m_stop.stop_requested() && m_env.counts.unreached > before.unreached) {
            return false;
        }
        if (m_env.fileFailed) {
            m_result.filesNotImported.push_back(path);
        }
        const bool finishing =
            m_single ? m_options.homeRoom == 0 : RoomNumberOf(m_options.room) == kPokerStarsRoom;
        if (hands > 0 && finishing && NameOf(path).rfind("HH", 0) == 0 && fileId > 0) {
            kroDB::kroFiles::data file(m_owner.m_db);
            // What was read is recorded: a file that holds more later is read
            // again then.
            const kroHandParser::CFileFingerprint print =
                kroHandParser::FileFingerprint(path, position);
            (void)file.SetFinished(fileId, print.size, print.crc);
        }
        return true;
    }
}

CManualImportResult CManualImport::CRun::Execute()
{
    kroDB::CDbContext& db = m_owner.m_db;
    if (!kroDB::CheckDatabase(db, m_options.connectString)) {
        m_owner.m_notifier.Notify(L"DataBase does not exist!");
        m_result.databaseMissing = true;
        return m_result;
    }
    db.SetConnectStrings(m_options.connectString);
    // Held for the whole import, so that the connection stays open between
    // files.
    kroDB::CConnectionLease connection(db.AcquireConnection(true));
    if (!connection || !connection->IsOpen()) {
        m_owner.m_notifier.Notify(L"DataBase does not exist!");
        m_result.databaseMissing = true;
        return m_result;
    }
    (void)kroDB::UpgradeDatabase(db);
    m_aliasId = FindAlias();
    m_result.aliasId = m_aliasId;

    const std::vector<std::string> files =
        CollectFiles(m_options.paths, RoomNumberOf(m_options.room));
    m_result.fileCount = static_cast<int>(files.size());
    m_single = files.size() == 1 && m_options.paths.size() == 1 && !IsFolder(m_options.paths[0]);
    const bool single = m_single;

    if (single && m_options.homeRoom == 0 &&
        NameOf(files[0]).find("Play Money", 1) != std::string::npos) {
        m_owner.m_notifier.Notify(L"Play Money is not supported!");
        m_result.playMoney = true;
        return m_result;
    }

    m_start = Clock::now();
    m_lastReport = m_start;
    for (size_t i = 0; i < files.size(); ++i) {
        const std::string& path = files[i];
        const std::wstring widePath = FromUtf8(path);
        m_fileNumber = static_cast<int>(i + 1);
        m_path = path;
        if (m_stop.stop_requested()) {
            m_result.stopped = true;
            m_result.filesNotImported.assign(files.begin() + static_cast<std::ptrdiff_t>(i),
                                             files.end());
            break;
        }
        if (!single) {
            Say(FormatW(L"All files = %d file number %d. Start import from file = %ls \n",
                        m_result.fileCount, m_fileNumber, widePath.c_str()));
        }
        m_fileCountsStart = m_env.counts.Handled();
        Report(true);
        int hands = 0;
        const bool readable = IsRegularFile(path);
        const bool goOn = readable && ImportFile(path, hands);
        if (!readable) {
            m_result.filesNotImported.push_back(path);
        }
        m_total += hands;
        m_fileCountsStart = m_env.counts.Handled();
        Say(single
                ? FormatW(L"All files = 1 file number 1. Hands = %d is imported from file = %ls \n",
                          hands, widePath.c_str())
                : FormatW(L"Hands = %d is imported from file = %ls \n\n", hands, widePath.c_str()));
        Report(true);
        if (readable && !goOn) {
            m_result.stopped = m_stop.stop_requested();
            m_result.filesNotImported.insert(m_result.filesNotImported.end(),
                                             files.begin() + static_cast<std::ptrdiff_t>(i),
                                             files.end());
            break;
        }
    }
    m_result.seconds = std::chrono::duration<double>(Clock::now() - m_start).count();
    m_result.totalHands = m_total;
    m_result.counts = m_env.counts;
    const int whole = static_cast<int>(m_result.seconds);
    Say(FormatW(
        L"Total hands = %d. Elapsed time = %d mins. %d secs. Time for 1 hand: %.3lf secs.\n",
        static_cast<int>(m_total), whole / 60, whole % 60,
        // No hands, no time per hand: 0 rather than the "nan" of 0 / 0.
        m_total > 0 ? m_result.seconds / static_cast<double>(m_total) : 0.0));
    Say(FormatW(L"New hands stored = %lld, already stored = %lld, left out = %lld, failed = %lld.",
                static_cast<long long>(m_env.counts.stored),
                static_cast<long long>(m_env.counts.alreadyStored),
                static_cast<long long>(m_env.counts.skipped),
                static_cast<long long>(m_env.counts.rejected)));
    if (!m_result.filesNotImported.empty()) {
        const wchar_t* why = m_result.databaseLost
                                 ? L"The database did not come back: these files were not "
                                   L"imported, or not completely:"
                             : m_result.stopped ? L"The import was stopped: these files were not "
                                                  L"imported, or not completely:"
                                                : L"These files were not imported:";
        Say(why);
        for (const auto& path : m_result.filesNotImported) {
            Say(L"  " + FromUtf8(path));
        }
    }
    return m_result;
}

CManualImportResult CManualImport::Run(const CManualImportOptions& options,
                                       const ProgressFn& progress,
                                       std::stop_token stop)
{
    CRun run(*this, options, progress, std::move(stop));
    return run.Execute();
}
