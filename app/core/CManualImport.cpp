#include "app/core/CManualImport.h"

#include "companion/ReadHistoryFileEx.h"
#include "db/CDbContext.h"
#include "db/DatabaseAdmin.h"
#include "db/IConnection.h"
#include "db/pq/CSharedWriter.h"
#include "db/tables/CActionList.h"
#include "db/tables/kroAliases.h"
#include "db/tables/kroFiles.h"
#include "foundation/CStatDefinitions.h"
#include "foundation/ILogSink.h"
#include "foundation/IUserNotifier.h"
#include "foundation/Sites.h"
#include "foundation/WideText.h"
#include "hud/CHudStatsCache.h"
#include "live/HistoryFileWalks.h"
#include "parser/CHandHistoryImporter.h"
#include "parser/CParseContext.h"
#include "parser/CRoomDetector.h"
#include "parser/FileFingerprint.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <ctime>
#include <memory>
#include <mutex>
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
    // The lines the detector looks at are at the start: a large file is not
    // read whole for them.
    constexpr int64_t kHeadBytes = 256 * 1024;
    int64_t pos = 0;
    std::vector<std::wstring> lines;
    if (ReadHistoryFileEx(path, pos, lines, true, kHeadBytes) != kReadOk) {
        return std::wstring();
    }
    if (lines.empty()) {
        // One line longer than the head: the whole file, as before.
        pos = 0;
        if (ReadHistoryFileEx(path, pos, lines) != kReadOk) {
            return std::wstring();
        }
    }
    const int code = kroHandParser::CRoomDetector::GuessSiteCode(lines);
    return code < 0 ? std::wstring() : RoomNameOfSiteCode(code, definitions);
}

}  // namespace

int DefaultImportWorkers()
{
    return std::thread::hardware_concurrency() > 2 ? 2 : 1;
}

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

// The lines of the file a worker is importing, kept until the run writes
// them in file order.
class CManualImport::CFileLines : public ILogSink
{
public:
    CFileLines(ILogSink& target, std::mutex& mutex)
        : m_target(target)
        , m_mutex(mutex)
    {}
    // Requires the run's mutex: `lines` takes what comes from now on.
    void Into(std::vector<std::pair<bool, std::wstring>>* lines) { m_lines = lines; }
    void Log(const std::wstring& text) override { Keep(false, text); }
    void Output(const std::wstring& text) override { Keep(true, text); }
    void Trace(const std::wstring& text) override { m_target.Trace(text); }
    bool DebugEnabled() const override { return m_target.DebugEnabled(); }

private:
    void Keep(bool output, const std::wstring& text)
    {
        std::scoped_lock lock(m_mutex);
        if (m_lines != nullptr) {
            m_lines->emplace_back(output, text);
        } else if (output) {
            m_target.Output(text);
        } else {
            m_target.Log(text);
        }
    }

    ILogSink& m_target;
    std::mutex& m_mutex;
    std::vector<std::pair<bool, std::wstring>>* m_lines = nullptr;
};

// The user's notifier for several workers: one message at a time.
class CManualImport::COneAtATime : public IUserNotifier
{
public:
    explicit COneAtATime(IUserNotifier& target)
        : m_target(target)
    {}
    void Notify(const std::wstring& text) override
    {
        std::scoped_lock lock(m_mutex);
        m_target.Notify(text);
    }

private:
    IUserNotifier& m_target;
    std::mutex m_mutex;
};

namespace {

// Gives the contexts of an import's workers one shared writer while it
// lives, when it is wanted; the context of the program goes back to its own
// session after.
class CSharedWriterScope
{
public:
    CSharedWriterScope(bool wanted,
                       kroDB::CDbContext& main,
                       const std::vector<std::unique_ptr<kroDB::CDbContext>>& others)
        : m_main(main)
    {
        if (!wanted || !main.PreparedWrites() || others.empty() || main.SharedWriter()) {
            return;
        }
        auto writer = std::make_shared<kroDB::pq::CSharedWriter>();
        main.ShareWriter(writer);
        for (const auto& db : others) {
            db->ShareWriter(writer);
        }
        m_shared = true;
    }
    ~CSharedWriterScope()
    {
        if (m_shared) {
            m_main.ShareWriter(nullptr);
        }
    }
    CSharedWriterScope(const CSharedWriterScope&) = delete;
    CSharedWriterScope& operator=(const CSharedWriterScope&) = delete;

private:
    kroDB::CDbContext& m_main;
    bool m_shared = false;
};

}  // namespace

// What imports files one after the other: a connection, a parse context and
// the counts of what it did.
class CManualImport::CWorker
{
public:
    enum class Outcome
    {
        Imported,
        // The database stayed away.
        Lost,
        // Stopped inside the file.
        Stopped,
    };

    CWorker(const CManualImport& owner,
            kroDB::CDbContext& db,
            ILogSink& log,
            IUserNotifier& notifier,
            const CManualImportOptions& options,
            std::stop_token stop)
        : m_owner(owner)
        , m_db(db)
        , m_log(log)
        , m_options(options)
        , m_stop(std::move(stop))
        , m_env(db, m_actions, m_context, log, notifier, options.parse)
        , m_importer(m_env)
    {
        m_env.stop = m_stop;
        m_env.ownHands = &m_ownHands;
        // Only live tracking reads them.
        m_context.KeepPublishedHeroes(false);
    }

    // Imports one file, reading it again from its start after each outage;
    // `hands` is what the file gave, `failed` that its row could not be written.
    Outcome ImportFile(
        const std::string& path, int32_t aliasId, bool finishing, int& hands, bool& failed);

    kroHandParser::CParserEnvironment& Env() { return m_env; }
    const kroHandParser::CParserEnvironment& Env() const { return m_env; }

private:
    void Say(const std::wstring& text)
    {
        m_log.Output(text);
        m_log.Log(text);
    }
    bool WaitForDatabase();

    const CManualImport& m_owner;
    kroDB::CDbContext& m_db;
    ILogSink& m_log;
    const CManualImportOptions& m_options;
    std::stop_token m_stop;
    kroDB::CActionList m_actions;
    kroHandParser::CParseContext m_context;
    kroHandParser::CParserEnvironment m_env;
    kroHandParser::CHandHistoryImporter m_importer;
    std::set<int64_t> m_ownHands;
};

bool CManualImport::CWorker::WaitForDatabase()
{
    Say(FormatW(L"The database cannot be reached: waiting up to %d seconds for it to come back",
                m_options.waitSeconds));
    const auto deadline = Clock::now() + std::chrono::seconds(m_options.waitSeconds);
    for (;;) {
        if (m_stop.stop_requested()) {
            return false;
        }
        if (kroDB::DatabaseReachable(m_db)) {
            // The broken connection goes; the next statement opens a new one.
            m_db.ResetConnection();
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

CManualImport::CWorker::Outcome CManualImport::CWorker::ImportFile(
    const std::string& path, int32_t aliasId, bool finishing, int& hands, bool& failed)
{
    const kroHandParser::CImportCounts before = m_env.counts;
    m_ownHands.clear();
    failed = false;
    for (int attempt = 1;; ++attempt) {
        const std::wstring room =
            m_options.room.empty() ? DetectRoom(path, m_owner.m_definitions) : m_options.room;
        int64_t fileId = 0;
        int currency = -1;
        int64_t position = 0;
        hands = room.empty() ? 0
                             : m_importer.ImportHandHistoryFile(path, fileId, currency, position,
                                                                room, aliasId);
        // Commits that did not wait for the disk are made durable before the
        // file counts as imported: a server that crashes now would lose them.
        if (!m_env.databaseLost && m_options.parse.asyncCommit &&
            m_env.counts.stored > before.stored && !kroDB::MakeDurable(m_db)) {
            m_env.databaseLost = true;
        }
        if (m_env.databaseLost) {
            if (attempt >= kMaxAttemptsPerFile || !WaitForDatabase()) {
                return m_stop.stop_requested() ? Outcome::Stopped : Outcome::Lost;
            }
            // Counted again as the file is read again: the hands this import
            // stored count as stored when they are found.
            m_env.counts = before;
            // A crash lost what was committed without waiting for the disk:
            // players and game types remembered may be gone, and the ids
            // taken may come again (the sequences' advance was lost with them).
            m_context.Clear();
            m_db.ForgetIds();
            hands = 0;
            continue;
        }
        if (m_stop.stop_requested() && m_env.counts.unreached > before.unreached) {
            return Outcome::Stopped;
        }
        failed = m_env.fileFailed;
        if (hands > 0 && finishing && NameOf(path).rfind("HH", 0) == 0 && fileId > 0) {
            kroDB::kroFiles::data file(m_db);
            // What was read is recorded: a file that holds more later is read
            // again then.
            const kroHandParser::CFileFingerprint print =
                kroHandParser::FileFingerprint(path, position);
            (void)file.SetFinished(fileId, print.size, print.crc);
        }
        return Outcome::Imported;
    }
}

// One run of the import: its options, workers and figures.
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
        , m_first(owner, owner.m_db, owner.m_log, owner.m_notifier, options, m_stop)
    {
        m_first.Env().afterHand = [this] { Report(false); };
    }

    CManualImportResult Execute();

private:
    // A file of an import with several workers: how far it got and its lines.
    struct CFileJob
    {
        bool started = false;
        bool done = false;
        bool readable = false;
        bool failed = false;
        CWorker::Outcome outcome = CWorker::Outcome::Imported;
        int hands = 0;
        // Hands handled so far while it is imported.
        int64_t handled = 0;
        std::vector<std::pair<bool, std::wstring>> lines;
    };

    void Say(const std::wstring& text)
    {
        m_owner.m_log.Output(text);
        m_owner.m_log.Log(text);
    }
    int64_t HandsSoFar() const;
    void Report(bool force);
    int32_t FindAlias();
    bool Finishing() const
    {
        return m_single ? m_options.homeRoom == 0 : RoomNumberOf(m_options.room) == kPokerStarsRoom;
    }
    std::wstring StartLine(const std::string& path) const
    {
        return FormatW(L"All files = %d file number %d. Start import from file = %ls \n",
                       m_result.fileCount, m_fileNumber, FromUtf8(path).c_str());
    }
    std::wstring EndLine(const std::string& path, int hands) const
    {
        const std::wstring wide = FromUtf8(path);
        return m_single
                   ? FormatW(
                         L"All files = 1 file number 1. Hands = %d is imported from file = %ls \n",
                         hands, wide.c_str())
                   : FormatW(L"Hands = %d is imported from file = %ls \n\n", hands, wide.c_str());
    }
    void ImportInTurn(const std::vector<std::string>& files);
    void ImportAtOnce(const std::vector<std::string>& files, int workers);
    void WorkOn(const std::vector<std::string>& files, CWorker& worker, CFileLines& lines);

    CManualImport& m_owner;
    const CManualImportOptions& m_options;
    const ProgressFn& m_progress;
    std::stop_token m_stop;
    CWorker m_first;
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

    // With several workers: the files' state, guarded by m_mutex.
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<CFileJob> m_jobs;
    size_t m_next = 0;
    bool m_halt = false;
    bool m_atOnce = false;
};

int64_t CManualImport::CRun::HandsSoFar() const
{
    if (!m_atOnce) {
        return m_total + m_first.Env().counts.Handled() - m_fileCountsStart;
    }
    // Requires m_mutex.
    int64_t sum = m_total;
    for (const auto& job : m_jobs) {
        if (job.started && !job.done) {
            sum += job.handled;
        }
    }
    return sum;
}

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
    if (m_atOnce) {
        std::scoped_lock lock(m_mutex);
        p.handsSoFar = HandsSoFar();
    } else {
        p.handsSoFar = HandsSoFar();
    }
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

void CManualImport::CRun::ImportInTurn(const std::vector<std::string>& files)
{
    kroHandParser::CParserEnvironment& env = m_first.Env();
    for (size_t i = 0; i < files.size(); ++i) {
        const std::string& path = files[i];
        m_fileNumber = static_cast<int>(i + 1);
        m_path = path;
        if (m_stop.stop_requested()) {
            m_result.stopped = true;
            m_result.filesNotImported.assign(files.begin() + static_cast<std::ptrdiff_t>(i),
                                             files.end());
            break;
        }
        if (!m_single) {
            Say(StartLine(path));
        }
        m_fileCountsStart = env.counts.Handled();
        Report(true);
        int hands = 0;
        bool failed = false;
        const bool readable = IsRegularFile(path);
        const CWorker::Outcome outcome =
            readable ? m_first.ImportFile(path, m_aliasId, Finishing(), hands, failed)
                     : CWorker::Outcome::Imported;
        if (!readable || failed) {
            m_result.filesNotImported.push_back(path);
        }
        m_total += hands;
        m_fileCountsStart = env.counts.Handled();
        Say(EndLine(path, hands));
        Report(true);
        if (outcome != CWorker::Outcome::Imported) {
            m_result.databaseLost = outcome == CWorker::Outcome::Lost && !m_stop.stop_requested();
            m_result.stopped = m_stop.stop_requested();
            m_result.filesNotImported.insert(m_result.filesNotImported.end(),
                                             files.begin() + static_cast<std::ptrdiff_t>(i),
                                             files.end());
            break;
        }
    }
    m_result.counts = env.counts;
}

void CManualImport::CRun::WorkOn(const std::vector<std::string>& files,
                                 CWorker& worker,
                                 CFileLines& lines)
{
    kroHandParser::CParserEnvironment& env = worker.Env();
    for (;;) {
        size_t i = 0;
        {
            std::scoped_lock lock(m_mutex);
            // A stop or a database that stayed away: no file is begun.
            if (m_halt || m_stop.stop_requested() || m_next >= files.size()) {
                lines.Into(nullptr);
                break;
            }
            i = m_next++;
            m_jobs[i].started = true;
            lines.Into(&m_jobs[i].lines);
        }
        m_changed.notify_all();
        const int64_t start = env.counts.Handled();
        env.afterHand = [this, &env, i, start] {
            {
                std::scoped_lock lock(m_mutex);
                m_jobs[i].handled = env.counts.Handled() - start;
            }
            m_changed.notify_all();
        };
        int hands = 0;
        bool failed = false;
        const bool readable = IsRegularFile(files[i]);
        const CWorker::Outcome outcome =
            readable ? worker.ImportFile(files[i], m_aliasId, Finishing(), hands, failed)
                     : CWorker::Outcome::Imported;
        {
            std::scoped_lock lock(m_mutex);
            CFileJob& job = m_jobs[i];
            job.readable = readable;
            job.failed = failed;
            job.outcome = outcome;
            job.hands = hands;
            job.done = true;
            m_total += hands;
            lines.Into(nullptr);
            if (outcome != CWorker::Outcome::Imported) {
                m_halt = true;
            }
        }
        m_changed.notify_all();
    }
    env.afterHand = nullptr;
}

void CManualImport::CRun::ImportAtOnce(const std::vector<std::string>& files, int workers)
{
    m_atOnce = true;
    m_jobs.assign(files.size(), CFileJob{});
    COneAtATime notifier(m_owner.m_notifier);
    // Each further worker has a connection of its own.
    std::vector<std::unique_ptr<CFileLines>> sinks;
    std::vector<std::unique_ptr<kroDB::CDbContext>> contexts;
    std::vector<std::unique_ptr<CWorker>> others;
    for (int w = 0; w < workers; ++w) {
        sinks.push_back(std::make_unique<CFileLines>(m_owner.m_log, m_mutex));
    }
    for (int w = 1; w < workers; ++w) {
        auto db = std::make_unique<kroDB::CDbContext>(m_owner.m_definitions, notifier, *sinks[w]);
        if (!db->AllocateEnvironment().IsOk()) {
            break;
        }
        db->SetConnectStrings(m_owner.m_db.MainConnectString());
        db->SetCompleteRows(m_owner.m_db.CompleteRows());
        db->SetPreparedWrites(m_owner.m_db.PreparedWrites());
        db->SetHandSummary(m_owner.m_db.HandSummary());
        db->SetLoginTimeoutSeconds(m_owner.m_db.LoginTimeoutSeconds());
        others.push_back(
            std::make_unique<CWorker>(m_owner, *db, *sinks[w], notifier, m_options, m_stop));
        contexts.push_back(std::move(db));
    }
    CSharedWriterScope writer(m_options.sharedWriter, m_owner.m_db, contexts);
    // The first worker goes through its own sink too, so that its lines wait
    // their turn; its messages reach the user one at a time.
    CWorker first(m_owner, m_owner.m_db, *sinks[0], notifier, m_options, m_stop);
    std::vector<std::jthread> threads;
    threads.emplace_back([&] { WorkOn(files, first, *sinks[0]); });
    for (size_t w = 0; w < others.size(); ++w) {
        threads.emplace_back([&, w] { WorkOn(files, *others[w], *sinks[w + 1]); });
    }

    // The lines of the first file not yet written go out as they come; the
    // others' wait until it is done.
    size_t written = 0;
    for (size_t i = 0; i < files.size();) {
        std::vector<std::pair<bool, std::wstring>> fresh;
        bool begins = false;
        bool ends = false;
        bool never = false;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait_for(lock, std::chrono::milliseconds(50), [&] {
                return m_jobs[i].done ||
                       (m_jobs[i].started && m_fileNumber != static_cast<int>(i + 1)) ||
                       m_jobs[i].lines.size() > written;
            });
            CFileJob& job = m_jobs[i];
            if (!job.started) {
                // Nobody will begin it once the workers stopped taking files.
                never = (m_halt || m_stop.stop_requested()) &&
                        std::none_of(m_jobs.begin(), m_jobs.end(),
                                     [](const CFileJob& j) { return j.started && !j.done; });
            } else {
                fresh.assign(job.lines.begin() + static_cast<std::ptrdiff_t>(written),
                             job.lines.end());
                begins = m_fileNumber != static_cast<int>(i + 1);
                written = job.lines.size();
                ends = job.done;
            }
        }
        if (never) {
            break;
        }
        if (begins) {
            m_fileNumber = static_cast<int>(i + 1);
            m_path = files[i];
            Say(StartLine(files[i]));
            Report(true);
        }
        for (const auto& [output, text] : fresh) {
            if (output) {
                m_owner.m_log.Output(text);
            } else {
                m_owner.m_log.Log(text);
            }
        }
        if (ends) {
            Say(EndLine(files[i], m_jobs[i].hands));
            Report(true);
            written = 0;
            ++i;
        } else {
            Report(false);
        }
    }
    threads.clear();

    bool lost = false;
    bool incomplete = false;
    for (size_t i = 0; i < files.size(); ++i) {
        const CFileJob& job = m_jobs[i];
        if (!job.started || !job.readable || job.failed ||
            job.outcome != CWorker::Outcome::Imported) {
            m_result.filesNotImported.push_back(files[i]);
        }
        incomplete = incomplete || !job.started || job.outcome != CWorker::Outcome::Imported;
        lost = lost || job.outcome == CWorker::Outcome::Lost;
    }
    if (incomplete) {
        m_result.stopped = m_stop.stop_requested();
        m_result.databaseLost = lost && !m_result.stopped;
    }
    const auto add = [this](const kroHandParser::CImportCounts& c) {
        m_result.counts.stored += c.stored;
        m_result.counts.alreadyStored += c.alreadyStored;
        m_result.counts.skipped += c.skipped;
        m_result.counts.rejected += c.rejected;
        m_result.counts.unreached += c.unreached;
    };
    add(first.Env().counts);
    for (const auto& worker : others) {
        add(worker->Env().counts);
    }
}

CManualImportResult CManualImport::CRun::Execute()
{
    kroDB::CDbContext& db = m_owner.m_db;
    // A connection not open yet is only opened after the same check.
    if (db.MainOpen() && !kroDB::CheckDatabase(db, m_options.connectString)) {
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
    (void)CHudStatsCache(db).SumHandsByUnit();
    m_aliasId = FindAlias();
    m_result.aliasId = m_aliasId;

    const std::vector<std::string> files =
        CollectFiles(m_options.paths, RoomNumberOf(m_options.room));
    m_result.fileCount = static_cast<int>(files.size());
    m_single = files.size() == 1 && m_options.paths.size() == 1 && !IsFolder(m_options.paths[0]);

    if (m_single && m_options.homeRoom == 0 &&
        NameOf(files[0]).find("Play Money", 1) != std::string::npos) {
        m_owner.m_notifier.Notify(L"Play Money is not supported!");
        m_result.playMoney = true;
        return m_result;
    }

    m_start = Clock::now();
    m_lastReport = m_start;
    const int workers = std::min(std::max(m_options.workers, 1),
                                 static_cast<int>(std::max<size_t>(files.size(), 1)));
    if (workers > 1) {
        ImportAtOnce(files, workers);
    } else {
        ImportInTurn(files);
    }
    m_result.seconds = std::chrono::duration<double>(Clock::now() - m_start).count();
    m_result.totalHands = m_total;
    const kroHandParser::CImportCounts& counts = m_result.counts;
    const int whole = static_cast<int>(m_result.seconds);
    Say(FormatW(
        L"Total hands = %d. Elapsed time = %d mins. %d secs. Time for 1 hand: %.3lf secs.\n",
        static_cast<int>(m_total), whole / 60, whole % 60,
        // No hands, no time per hand: 0 rather than the "nan" of 0 / 0.
        m_total > 0 ? m_result.seconds / static_cast<double>(m_total) : 0.0));
    Say(FormatW(L"New hands stored = %lld, already stored = %lld, left out = %lld, failed = %lld.",
                static_cast<long long>(counts.stored), static_cast<long long>(counts.alreadyStored),
                static_cast<long long>(counts.skipped), static_cast<long long>(counts.rejected)));
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
