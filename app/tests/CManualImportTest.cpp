// The manual import of the application core, against the test server and, for
// outages, a cluster of the test's own.
#include "app/core/CManualImport.h"

#include "db/CDbContext.h"
#include "db/DatabaseAdmin.h"
#include "foundation/CStatDefinitions.h"
#include "foundation/ILogSink.h"
#include "foundation/IUserNotifier.h"
#include "foundation/LocalTime.h"
#include "foundation/WideText.h"
#include "hud/CHudStatsCache.h"
#include "testing/CChildProcess.h"
#include "testing/CTempDir.h"
#include "testing/DatabaseDump.h"
#include "testing/PgTestServer.h"
#include "testing/PrivatePgCluster.h"
#include "testing/TestPaths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>
#include <tuple>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// What the user would see, from any thread.
class CSeenSink : public ILogSink, public IUserNotifier
{
public:
    void Log(const std::wstring& text) override
    {
        std::scoped_lock lock(m_mutex);
        logs.push_back(text);
    }
    void Output(const std::wstring& text) override
    {
        std::scoped_lock lock(m_mutex);
        outputs.push_back(text);
    }
    void Trace(const std::wstring&) override {}
    void Notify(const std::wstring& text) override
    {
        std::scoped_lock lock(m_mutex);
        notices.push_back(text);
    }
    bool SawOutput(const std::wstring& start)
    {
        std::scoped_lock lock(m_mutex);
        return std::any_of(outputs.begin(), outputs.end(),
                           [&](const std::wstring& o) { return o.rfind(start, 0) == 0; });
    }

    std::vector<std::wstring> logs;
    std::vector<std::wstring> outputs;
    std::vector<std::wstring> notices;

private:
    std::mutex m_mutex;
};

std::string Storage(const std::string& name)
{
    return vxtest::TestDataDir() + "/storage/" + name;
}

// The first `count` hands of a hand-history file, each with its empty lines.
std::string FirstHands(const std::string& path, int count)
{
    const std::string text = vxtest::ReadText(path);
    size_t at = 0;
    for (int i = 0; i <= count && at != std::string::npos; ++i) {
        at = text.find("PokerStars Hand #", i == 0 ? 0 : at + 1);
    }
    return text.substr(0, at == std::string::npos ? text.size() : at);
}

}  // namespace

class CManualImportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        VX_REQUIRE_PG(m_server);
        ASSERT_TRUE(
            m_definitions.LoadStatTypes(std::string(VX_SOURCE_DIR) + "/data/predeftypes.json"));
        UseServer(m_server);
    }

    void TearDown() override
    {
        m_db.reset();
        for (const auto& connect : m_made) {
            CSeenSink quiet;
            kroDB::CDbContext admin(m_definitions, quiet, quiet);
            (void)admin.AllocateEnvironment();
            (void)kroDB::DropDatabase(admin, connect);
        }
    }

    // A fresh database on `server` for the import; its connect string.
    std::wstring NewDatabase(const vxtest::CPgTestServer& server)
    {
        const std::wstring connect = server.ConnectString(vxtest::UniqueDatabaseName("vxmanual"));
        CSeenSink quiet;
        kroDB::CDbContext admin(m_definitions, quiet, quiet);
        EXPECT_TRUE(admin.AllocateEnvironment().IsOk());
        EXPECT_TRUE(kroDB::CreateDatabase(admin, connect));
        m_made.push_back(connect);
        return connect;
    }

    void UseServer(const vxtest::CPgTestServer& server)
    {
        m_db = std::make_unique<kroDB::CDbContext>(m_definitions, m_seen, m_seen);
        ASSERT_TRUE(m_db->AllocateEnvironment().IsOk());
        m_connect = NewDatabase(server);
    }

    CManualImportOptions Options(std::vector<std::string> paths) const
    {
        CManualImportOptions options;
        options.connectString = m_connect;
        options.paths = std::move(paths);
        options.room = L"PokerStars";
        options.parse.localOffset = MeasureLocalUtcOffset();
        options.parse.handHistoryFormat = 1;
        // As the program imports.
        options.parse.asyncCommit = true;
        options.parse.loadRoomPlayers = true;
        options.parse.sendAhead = true;
        return options;
    }

    CManualImportResult Import(const CManualImportOptions& options,
                               const CManualImport::ProgressFn& progress = {},
                               std::stop_token stop = {})
    {
        CManualImport import(*m_db, m_definitions, m_seen, m_seen);
        return import.Run(options, progress, std::move(stop));
    }

    std::wstring Value(const std::wstring& sql)
    {
        return vxtest::QueryValue(m_db->Environment(), m_connect, sql);
    }
    int64_t Hands() { return std::stoll(Value(L"SELECT count(*) FROM hands")); }
    std::string Flaws() { return vxtest::DatabaseFlaws(m_db->Environment(), m_connect); }
    vxtest::CDatabaseDump ImportEveryRoomTwice(bool sendAhead, std::vector<std::string>& totals);

    vxtest::CPgTestServer m_server;
    CStatDefinitions m_definitions;
    CSeenSink m_seen;
    std::unique_ptr<kroDB::CDbContext> m_db;
    std::wstring m_connect;
    std::vector<std::wstring> m_made;
    vxtest::CTempDir m_dir;
};

TEST_F(CManualImportTest, TotalsAndExitCodesTellWhatTheDatabaseHolds)
{
    const CManualImportResult first = Import(Options({Storage("overlap_table.txt")}));
    EXPECT_EQ(first.ExitCode(), 0);
    EXPECT_EQ(first.counts.stored, 200);
    EXPECT_EQ(first.totalHands, 200);
    EXPECT_EQ(Hands(), 200);

    const CManualImportResult again = Import(Options({Storage("overlap_table.txt")}));
    EXPECT_EQ(again.ExitCode(), 0);
    EXPECT_EQ(again.counts.stored, 0);
    EXPECT_EQ(again.counts.alreadyStored, 200);

    // A hand whose number does not fit the column: that hand fails, alone.
    const CManualImportResult bad = Import(Options({Storage("row_fails.txt")}));
    EXPECT_EQ(bad.ExitCode(), 1);
    EXPECT_EQ(bad.counts.rejected, 1);
    EXPECT_EQ(bad.counts.alreadyStored, 2);
    EXPECT_EQ(Hands(), 200);
    EXPECT_EQ(Flaws(), "");

    const CManualImportResult missing = Import(Options({m_dir.File("no such file.txt")}));
    EXPECT_EQ(missing.ExitCode(), 1);
    EXPECT_EQ(missing.filesNotImported, (std::vector<std::string>{m_dir.File("no such file.txt")}));
    EXPECT_TRUE(m_seen.SawOutput(L"These files were not imported:"));
}

TEST_F(CManualImportTest, AMissingDatabaseIsReportedAndNothingIsRead)
{
    CManualImportOptions options = Options({Storage("overlap_table.txt")});
    options.connectString = m_server.ConnectString("vx_no_such_database");
    const CManualImportResult result = Import(options);
    EXPECT_TRUE(result.databaseMissing);
    EXPECT_EQ(result.ExitCode(), 1);
    EXPECT_EQ(m_seen.notices, (std::vector<std::wstring>{L"DataBase does not exist!"}));
}

TEST_F(CManualImportTest, AFolderImportWritesItsLinesAndTakesTheRoomsSelection)
{
    fs::create_directories(m_dir.File("hh/2021"));
    fs::copy_file(Storage("overlap_table.txt"), m_dir.File("hh/HH20210304 Alnair II.txt"));
    m_dir.Write("hh/2021/HH20210305 Mirfak.txt", FirstHands(Storage("overlap_export.txt"), 30));
    m_dir.Write("hh/HH20210306 Halley - Play Money.txt",
                FirstHands(Storage("overlap_export.txt"), 3));
    m_dir.Write("hh/notes.dat", "not a hand history");

    std::vector<CManualImportProgress> seen;
    const CManualImportResult result =
        Import(Options({m_dir.File("hh")}),
               [&seen](const CManualImportProgress& p) { seen.push_back(p); });
    EXPECT_EQ(result.ExitCode(), 0);
    EXPECT_EQ(result.fileCount, 2);
    EXPECT_EQ(result.totalHands, 230);
    EXPECT_EQ(Hands(), 230);

    const std::wstring first = FromUtf8(m_dir.File("hh/2021/HH20210305 Mirfak.txt"));
    const std::wstring second = FromUtf8(m_dir.File("hh/HH20210304 Alnair II.txt"));
    const std::vector<std::wstring> expected = {
        L"All files = 2 file number 1. Start import from file = " + first + L" \n",
        L"Hands = 30 is imported from file = " + first + L" \n\n",
        L"All files = 2 file number 2. Start import from file = " + second + L" \n",
        L"Hands = 200 is imported from file = " + second + L" \n\n",
    };
    ASSERT_GE(m_seen.outputs.size(), 6u);
    EXPECT_EQ(std::vector<std::wstring>(m_seen.outputs.begin(), m_seen.outputs.begin() + 4),
              expected);
    EXPECT_EQ(m_seen.outputs[4].rfind(L"Total hands = 230. Elapsed time = 0 mins. ", 0), 0u);
    EXPECT_EQ(m_seen.outputs[5],
              L"New hands stored = 230, already stored = 0, left out = 0, failed = 0.");
    // The same lines reach the log.
    EXPECT_NE(std::find(m_seen.logs.begin(), m_seen.logs.end(), expected[3]), m_seen.logs.end());

    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front().fileNumber, 1);
    EXPECT_EQ(seen.back().fileNumber, 2);
    EXPECT_EQ(seen.back().fileCount, 2);
    EXPECT_EQ(seen.back().handsSoFar, 230);
    for (size_t i = 1; i < seen.size(); ++i) {
        EXPECT_GE(seen[i].handsSoFar, seen[i - 1].handsSoFar);
    }
    // Both PokerStars "HH" files are finished, with what they held then.
    EXPECT_EQ(Value(L"SELECT count(*) FROM files WHERE finish AND finishsize > 0"), L"2");
}

TEST_F(CManualImportTest, ASingleFileHasItsOwnLineAndPlayMoneyIsRefused)
{
    const std::string path = Storage("overlap_table.txt");
    const CManualImportResult result = Import(Options({path}));
    EXPECT_EQ(result.ExitCode(), 0);
    EXPECT_EQ(m_seen.outputs.at(0),
              L"All files = 1 file number 1. Hands = 200 is imported from "
              L"file = " +
                  FromUtf8(path) + L" \n");

    const std::string money =
        m_dir.Write("HH20210306 Halley - Play Money.txt", FirstHands(path, 2));
    const CManualImportResult refused = Import(Options({money}));
    EXPECT_TRUE(refused.playMoney);
    EXPECT_EQ(m_seen.notices.back(), L"Play Money is not supported!");
    EXPECT_EQ(Hands(), 200);
}

TEST_F(CManualImportTest, AFinishedFileIsReadAgainOnlyWhenItHoldsSomethingElse)
{
    const std::string table = Storage("overlap_table.txt");
    const std::string file = m_dir.Write("hh/HH20210304 Alnair II.txt", FirstHands(table, 50));
    ASSERT_EQ(Import(Options({file})).counts.stored, 50);
    EXPECT_EQ(Value(L"SELECT finish FROM files"), L"1");

    // Unchanged: skipped without reading a hand.
    const CManualImportResult same = Import(Options({file}));
    EXPECT_EQ(same.totalHands, 0);
    EXPECT_EQ(same.counts.alreadyStored, 0);

    // The client opened the table again the same day and wrote more.
    m_dir.Write("hh/HH20210304 Alnair II.txt", FirstHands(table, 80));
    const CManualImportResult grown = Import(Options({file}));
    EXPECT_EQ(grown.ExitCode(), 0);
    EXPECT_EQ(grown.counts.stored, 30);
    EXPECT_EQ(grown.counts.alreadyStored, 50);
    EXPECT_EQ(Hands(), 80);

    // A file of the same name in another folder, with other hands.
    const std::string other = m_dir.Write("other/HH20210304 Alnair II.txt",
                                          FirstHands(Storage("overlap_export.txt"), 20));
    const CManualImportResult another = Import(Options({other}));
    EXPECT_EQ(another.counts.stored, 20);
    EXPECT_EQ(Hands(), 100);
    EXPECT_EQ(Value(L"SELECT count(*) FROM files"), L"1");
    EXPECT_EQ(Flaws(), "");
}

TEST_F(CManualImportTest, AStopKeepsEveryStoredHandWholeAndNamesWhatWasLeft)
{
    std::stop_source stop;
    CManualImportOptions options =
        Options({Storage("overlap_export.txt"), Storage("overlap_table.txt")});
    options.workers = 2;
    const CManualImportResult result = Import(
        options,
        [&stop](const CManualImportProgress& p) {
            if (p.handsSoFar >= 40) {
                stop.request_stop();
            }
        },
        stop.get_token());
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(result.ExitCode(), 1);
    // The larger file cannot be through by then; the smaller one, read by the
    // other worker at over a thousand hands a second, may be.
    ASSERT_FALSE(result.filesNotImported.empty());
    EXPECT_EQ(result.filesNotImported.front(), Storage("overlap_export.txt"));
    EXPECT_LE(result.filesNotImported.size(), 2u);
    EXPECT_GE(result.counts.stored, 40);
    EXPECT_LT(result.counts.stored, 600);
    EXPECT_EQ(Hands(), result.counts.stored);
    EXPECT_EQ(Flaws(), "");
    EXPECT_TRUE(m_seen.SawOutput(L"The import was stopped: these files were not imported"));
}

// Outages, on a cluster the test may stop.
class CManualImportOutageTest : public CManualImportTest
{
protected:
    void SetUp() override
    {
        CManualImportTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        ASSERT_TRUE(m_cluster.Start());
        UseServer(m_cluster.Server());
    }

    void TearDown() override
    {
        (void)m_cluster.Start();
        CManualImportTest::TearDown();
    }

    // Imports on a thread; `outage` is called once 100 hands are in, while
    // the worker that reported them waits (a fast import would otherwise end
    // before the outage begins), and `afterwards` once it goes on.
    CManualImportResult ImportAround(const CManualImportOptions& options,
                                     const std::function<void()>& outage,
                                     const std::function<void()>& afterwards = {})
    {
        std::atomic<bool> reached{false};
        std::atomic<bool> released{false};
        CManualImportResult result;
        std::jthread worker([&] {
            result = Import(options, [&](const CManualImportProgress& p) {
                if (p.handsSoFar < 100 || released) {
                    return;
                }
                reached = true;
                while (!released) {
                    std::this_thread::sleep_for(5ms);
                }
            });
        });
        const auto end = std::chrono::steady_clock::now() + 60s;
        while (!reached && std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(20ms);
        }
        outage();
        released = true;
        if (afterwards) {
            afterwards();
        }
        worker.join();
        return result;
    }

    // Both synthetic files, as ImportAround.
    CManualImportResult ImportWith(int waitSeconds,
                                   const std::function<void()>& outage,
                                   const std::function<void()>& afterwards,
                                   int workers = 2,
                                   bool sharedWriter = false)
    {
        CManualImportOptions options =
            Options({Storage("overlap_export.txt"), Storage("overlap_table.txt")});
        options.waitSeconds = waitSeconds;
        options.workers = workers;
        options.sharedWriter = sharedWriter;
        return ImportAround(options, outage, afterwards);
    }

    // The server crashes during the import and comes back a second after
    // the import says it waits: the import goes on, and stores what one
    // import without an outage stores.
    void CrashAndComeBack(bool sharedWriter)
    {
        const CManualImportResult result = ImportWith(
            120, [this] { ASSERT_TRUE(m_cluster.Crash()); },
            [this] {
                const auto end = std::chrono::steady_clock::now() + 30s;
                while (!m_seen.SawOutput(L"The database cannot be reached: waiting") &&
                       std::chrono::steady_clock::now() < end) {
                    std::this_thread::sleep_for(50ms);
                }
                EXPECT_TRUE(m_seen.SawOutput(L"The database cannot be reached: waiting up to 120"));
                std::this_thread::sleep_for(1s);
                ASSERT_TRUE(m_cluster.Start());
            },
            2, sharedWriter);
        EXPECT_EQ(result.ExitCode(), 0);
        EXPECT_FALSE(result.databaseLost);
        EXPECT_TRUE(m_seen.SawOutput(L"The database is back"));
        // What the import reports is what the database holds, and that is
        // what one import without an outage stores.
        EXPECT_EQ(result.counts.stored, Hands());
        EXPECT_EQ(result.counts.stored + result.counts.alreadyStored, 800);
        EXPECT_EQ(Flaws(), "");
        const std::wstring broken = m_connect;
        m_connect = NewDatabase(m_cluster.Server());
        ASSERT_EQ(Import(Options({Storage("overlap_export.txt"), Storage("overlap_table.txt")}))
                      .ExitCode(),
                  0);
        EXPECT_EQ(vxtest::CompareDumps(vxtest::DumpDatabase(m_db->Environment(), m_connect),
                                       vxtest::DumpDatabase(m_db->Environment(), broken)),
                  "");
    }

    vxtest::CPrivatePgCluster m_cluster;
};

TEST_F(CManualImportOutageTest, AServerThatCrashesIsWaitedForAndTheImportGoesOnWhereItWas)
{
    CrashAndComeBack(false);
}

// The workers' shared session breaks with the crash; it is opened anew once
// both workers have the outcomes of what they sent through it.
TEST_F(CManualImportOutageTest, WorkersSharingASessionGoOnAfterACrashToo)
{
    CrashAndComeBack(true);
}

TEST_F(CManualImportOutageTest, WhatAnImportReportsStoredOutlivesACrashRightAfterIt)
{
    // Hands commit without waiting for the disk; the import waits once per
    // file, before it counts the file as imported.
    const CManualImportResult result = ImportWith(120, [] {}, {});
    ASSERT_EQ(result.ExitCode(), 0);
    ASSERT_TRUE(m_cluster.Crash());
    ASSERT_TRUE(m_cluster.Start());
    EXPECT_EQ(Hands(), result.counts.stored);
    EXPECT_EQ(result.counts.stored + result.counts.alreadyStored, 800);
}

TEST_F(CManualImportOutageTest, WhenTheServerStaysAwayTheFilesNotImportedAreNamed)
{
    // One file after the other: the file it was in and every file after it.
    const CManualImportResult result = ImportWith(
        2, [this] { ASSERT_TRUE(m_cluster.Stop()); }, {}, 1);
    EXPECT_TRUE(result.databaseLost);
    EXPECT_EQ(result.ExitCode(), 1);
    ASSERT_FALSE(result.filesNotImported.empty());
    EXPECT_EQ(result.filesNotImported.back(), Storage("overlap_table.txt"));
    EXPECT_TRUE(
        m_seen.SawOutput(L"The database did not come back: these files were not "
                         L"imported, or not completely:"));
    EXPECT_TRUE(m_seen.SawOutput(L"  " + FromUtf8(Storage("overlap_table.txt"))));
    ASSERT_TRUE(m_cluster.Start());
    EXPECT_EQ(result.counts.stored, Hands());
    EXPECT_EQ(Flaws(), "");
}

TEST_F(CManualImportOutageTest, WithTwoWorkersBothGiveUpAndOnlyFilesNotDoneAreNamed)
{
    const std::vector<std::string> files = {
        Storage("overlap_export.txt"), Storage("overlap_table.txt"),
        m_dir.Write("third.txt", vxtest::ReadText(Storage("overlap_export.txt")))};
    CManualImportOptions options = Options(files);
    options.waitSeconds = 2;
    options.workers = 2;
    const CManualImportResult result =
        ImportAround(options, [this] { ASSERT_TRUE(m_cluster.Stop()); });
    EXPECT_TRUE(result.databaseLost);
    EXPECT_FALSE(result.stopped);
    EXPECT_EQ(result.ExitCode(), 1);
    // The third file was never begun; a file finished before the outage is
    // not named.
    ASSERT_FALSE(result.filesNotImported.empty());
    EXPECT_EQ(result.filesNotImported.back(), files.back());
    for (const auto& path : result.filesNotImported) {
        EXPECT_TRUE(m_seen.SawOutput(L"  " + FromUtf8(path)));
    }
    EXPECT_TRUE(m_seen.SawOutput(L"The database cannot be reached: waiting up to 2 seconds"));
    ASSERT_TRUE(m_cluster.Start());
    EXPECT_EQ(result.counts.stored, Hands());
    EXPECT_EQ(Flaws(), "");
}

// Complete rows sent once store what the rows inserted and then updated
// stored, in every room: the same hands, players, actions, pots and texts,
// and the same HUD summary.
// Hand-history files of every room: the test data, and the first `perRoom`
// corpus files of each room below `maxBytes` when the corpus is there.
std::vector<std::string> FilesOfEveryRoom(uintmax_t maxBytes = 200000, size_t perRoom = 6)
{
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(vxtest::HandHistoryFile(""))) {
        if (entry.is_regular_file() && entry.path().extension() == ".txt") {
            files.push_back(entry.path().string());
        }
    }
    if (!vxtest::CorpusDir().empty()) {
        // A few files of each room: every layout without the time of all.
        for (const char* room : {"888", "club", "ggpoker", "pkng", "pokerstars", "runitonce"}) {
            std::vector<std::string> ofRoom;
            for (const auto& entry : fs::directory_iterator(vxtest::CorpusFile(room))) {
                if (entry.is_regular_file() && entry.file_size() < maxBytes) {
                    ofRoom.push_back(entry.path().string());
                }
            }
            std::sort(ofRoom.begin(), ofRoom.end());
            ofRoom.resize(std::min(ofRoom.size(), perRoom));
            files.insert(files.end(), ofRoom.begin(), ofRoom.end());
        }
    } else {
        vxtest::NoteCorpusSkip();
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST_F(CManualImportTest, CompleteRowsStoreTheSameDatabaseInEveryRoom)
{
    const std::vector<std::string> files = FilesOfEveryRoom();
    const auto importAll = [&]() {
        // The summary the program keeps beside the hands, by triggers.
        m_db->SetConnectStrings(m_connect);
        EXPECT_TRUE(CHudStatsCache(*m_db).Install().IsOk());
        for (const auto& file : files) {
            CManualImportOptions options = Options({file});
            options.room.clear();
            (void)Import(options);
        }
        return vxtest::DumpDatabase(m_db->Environment(), m_connect);
    };
    m_db->SetCompleteRows(false);
    const vxtest::CDatabaseDump before = importAll();
    ASSERT_EQ(before.error, "");
    ASSERT_GT(before.tables.at("handsplayers").size(), 50u);
    ASSERT_GT(before.tables.at("hudcache").size(), 10u);

    m_db.reset();
    UseServer(m_server);
    m_db->SetCompleteRows(true);
    const vxtest::CDatabaseDump after = importAll();
    ASSERT_EQ(after.error, "");
    EXPECT_EQ(vxtest::CompareDumps(before, after), "");
    EXPECT_EQ(Flaws(), "");
    // One summary row for each hand player: no row and then its correction.
    EXPECT_EQ(Value(L"SELECT count(*) FROM hudcache"), Value(L"SELECT count(*) FROM handsplayers"));
}

// Every file of every room imported twice (so that the hands found stored
// take the same way as the new ones) into a fresh database with the summary
// triggers: the rows of every table, and each import's totals in `totals`.
vxtest::CDatabaseDump CManualImportTest::ImportEveryRoomTwice(bool sendAhead,
                                                              std::vector<std::string>& totals)
{
    const std::vector<std::string> files = FilesOfEveryRoom();
    m_db->SetConnectStrings(m_connect);
    EXPECT_TRUE(CHudStatsCache(*m_db).Install().IsOk());
    for (int pass = 0; pass < 2; ++pass) {
        for (const auto& file : files) {
            CManualImportOptions options = Options({file});
            options.room.clear();
            options.parse.sendAhead = sendAhead;
            const CManualImportResult result = Import(options);
            totals.push_back(fs::path(file).filename().string() + ": " +
                             std::to_string(result.counts.stored) + " " +
                             std::to_string(result.counts.alreadyStored) + " " +
                             std::to_string(result.counts.skipped) + " " +
                             std::to_string(result.counts.rejected) + " " +
                             std::to_string(result.counts.unreached));
        }
    }
    return vxtest::DumpDatabase(m_db->Environment(), m_connect);
}

// Preparing the next hand while the server stores one changes neither a row
// nor a total, in any room.
TEST_F(CManualImportTest, HandsSentAheadStoreTheSameDatabaseAndTotalsInEveryRoom)
{
    std::vector<std::string> waitedTotals;
    const vxtest::CDatabaseDump waited = ImportEveryRoomTwice(false, waitedTotals);
    ASSERT_EQ(waited.error, "");
    ASSERT_GT(waited.tables.at("handsplayers").size(), 50u);

    m_db.reset();
    UseServer(m_server);
    std::vector<std::string> aheadTotals;
    const vxtest::CDatabaseDump ahead = ImportEveryRoomTwice(true, aheadTotals);
    ASSERT_EQ(ahead.error, "");
    EXPECT_EQ(vxtest::CompareDumps(waited, ahead), "");
    EXPECT_EQ(aheadTotals, waitedTotals);
    EXPECT_EQ(Flaws(), "");
}

// Hands sent as prepared statements on the second session store the rows and
// totals of hands sent as SQL text, in every room, sent ahead or not.
TEST_F(CManualImportTest, PreparedWritesStoreTheSameDatabaseAndTotalsInEveryRoom)
{
    m_db->SetPreparedWrites(false);
    std::vector<std::string> textTotals;
    const vxtest::CDatabaseDump text = ImportEveryRoomTwice(true, textTotals);
    ASSERT_EQ(text.error, "");
    ASSERT_GT(text.tables.at("handsplayers").size(), 50u);
    ASSERT_GT(text.tables.at("handsactions").size(), 100u);

    for (const bool sendAhead : {true, false}) {
        SCOPED_TRACE(sendAhead ? "sent ahead" : "waited for");
        m_db.reset();
        UseServer(m_server);
        m_db->SetPreparedWrites(true);
        std::vector<std::string> preparedTotals;
        const vxtest::CDatabaseDump prepared = ImportEveryRoomTwice(sendAhead, preparedTotals);
        ASSERT_EQ(prepared.error, "");
        EXPECT_EQ(vxtest::CompareDumps(text, prepared), "");
        EXPECT_EQ(preparedTotals, textTotals);
        EXPECT_EQ(Flaws(), "");
    }
}

// A hand the file holds twice in a row fails at the server after the next
// hand was prepared on top of it: the copy is found stored, the next hand is
// done again, nothing is stored twice and the totals are those of an import
// that waits for every hand.
TEST_F(CManualImportTest, AHandSentAheadThatFailsIsDoneAgainAndTheNextHandWithIt)
{
    const std::string source =
        vxtest::HandHistoryFile("pokerstars/nlhe_6max_steal_walk_showdown.txt");
    const std::string text = vxtest::ReadText(source);
    const std::string first = FirstHands(source, 1);
    ASSERT_FALSE(first.empty());
    ASSERT_LT(first.size(), text.size());
    const std::string path = m_dir.Path() + "/twice.txt";
    {
        std::ofstream out(path, std::ios::binary);
        out << first << "\n\n" << text;
    }
    CManualImportOptions options = Options({path});
    options.parse.sendAhead = false;
    const CManualImportResult waited = Import(options);
    EXPECT_EQ(Hands(), 3);
    EXPECT_EQ(waited.counts.rejected, 0);
    const vxtest::CDatabaseDump waitedRows = vxtest::DumpDatabase(m_db->Environment(), m_connect);

    m_db.reset();
    UseServer(m_server);
    options.connectString = m_connect;
    options.parse.sendAhead = true;
    const CManualImportResult ahead = Import(options);
    EXPECT_EQ(Hands(), 3);
    EXPECT_EQ(ahead.counts.stored, waited.counts.stored);
    EXPECT_EQ(ahead.counts.alreadyStored, waited.counts.alreadyStored);
    EXPECT_EQ(ahead.counts.rejected, 0);
    EXPECT_EQ(ahead.ExitCode(), 0);
    EXPECT_EQ(Flaws(), "");
    EXPECT_EQ(
        vxtest::CompareDumps(waitedRows, vxtest::DumpDatabase(m_db->Environment(), m_connect)), "");
}

// Several files imported at once by two workers, with a session each or
// sharing one, store what one worker stores, table by table, with the same
// counts and the same lines in the same order; a hand in two files is stored
// once and found stored once.
TEST_F(CManualImportTest, TwoWorkersStoreWhatOneStoresWithTheSameLinesAndTotals)
{
    std::vector<std::string> files = FilesOfEveryRoom(150000, 3);
    // Overlaps: two files that share hands, next to each other so that both
    // workers meet the same hands at once, and a copy of a whole file.
    files.push_back(Storage("overlap_export.txt"));
    files.push_back(Storage("overlap_table.txt"));
    files.push_back(
        m_dir.Write("copy/table again.txt", vxtest::ReadText(Storage("overlap_table.txt"))));
    files.push_back(m_dir.File("copy/missing.txt"));

    const auto importAll = [&](int workers, bool sharedWriter) {
        m_db->SetConnectStrings(m_connect);
        EXPECT_TRUE(CHudStatsCache(*m_db).Install().IsOk());
        m_seen.outputs.clear();
        CManualImportOptions options = Options(files);
        options.room.clear();
        options.workers = workers;
        options.sharedWriter = sharedWriter;
        const CManualImportResult result = Import(options);
        std::vector<std::wstring> lines;
        for (const auto& line : m_seen.outputs) {
            if (line.rfind(L"Total hands", 0) != 0) {
                lines.push_back(line);
            }
        }
        return std::make_tuple(result, lines, vxtest::DumpDatabase(m_db->Environment(), m_connect));
    };
    const auto [one, oneLines, oneDump] = importAll(1, false);
    ASSERT_EQ(oneDump.error, "");
    ASSERT_GT(one.counts.stored, 600);
    // At least the whole copy.
    EXPECT_GE(one.counts.alreadyStored, 200);
    EXPECT_EQ(one.filesNotImported, std::vector<std::string>{m_dir.File("copy/missing.txt")});

    for (const bool sharedWriter : {false, true}) {
        SCOPED_TRACE(sharedWriter ? "two workers sharing one session" : "two workers");
        m_db.reset();
        UseServer(m_server);
        const auto [two, twoLines, twoDump] = importAll(2, sharedWriter);
        ASSERT_EQ(twoDump.error, "");
        EXPECT_EQ(vxtest::CompareDumps(oneDump, twoDump), "");
        EXPECT_EQ(Flaws(), "");
        EXPECT_EQ(twoLines, oneLines);
        EXPECT_EQ(two.counts.stored, one.counts.stored);
        EXPECT_EQ(two.counts.alreadyStored, one.counts.alreadyStored);
        EXPECT_EQ(two.counts.skipped, one.counts.skipped);
        EXPECT_EQ(two.counts.rejected, one.counts.rejected);
        EXPECT_EQ(two.totalHands, one.totalHands);
        EXPECT_EQ(two.filesNotImported, one.filesNotImported);
        EXPECT_EQ(two.ExitCode(), one.ExitCode());
        EXPECT_EQ(two.counts.stored, Hands());
    }
}

// A room's players are read once per import: those stored before are used
// with their ids and hero marks, the others added once, also when a second
// import adds the same players at the same time.
TEST_F(CManualImportTest, PlayersReadWithTheirRoomKeepTheirIdsAndOnlyNewOnesAreAdded)
{
    const std::vector<std::string> later = {Storage("overlap_export.txt"),
                                            Storage("overlap_table.txt")};
    const auto importInTwoSteps = [&](bool loadRoomPlayers) {
        CManualImportOptions first = Options({Storage("overlap_table.txt")});
        first.parse.loadRoomPlayers = loadRoomPlayers;
        EXPECT_EQ(Import(first).ExitCode(), 0);
        EXPECT_EQ(Value(L"UPDATE players SET hero = true WHERE idplayer = (SELECT min(idplayer) "
                        L"FROM players) RETURNING 1"),
                  L"1");
        CManualImportOptions second = Options(later);
        second.parse.loadRoomPlayers = loadRoomPlayers;
        EXPECT_EQ(Import(second).ExitCode(), 0);
        return vxtest::DumpDatabase(m_db->Environment(), m_connect);
    };
    const vxtest::CDatabaseDump lookedUp = importInTwoSteps(false);
    ASSERT_EQ(lookedUp.error, "");
    m_db.reset();
    UseServer(m_server);
    const vxtest::CDatabaseDump read = importInTwoSteps(true);
    EXPECT_EQ(vxtest::CompareDumps(lookedUp, read), "");
    EXPECT_EQ(Flaws(), "");
}

// A stop with two workers ends both between hands: what was stored is whole
// and counted, and every file not done is named, in order.
TEST_F(CManualImportTest, AStopEndsBothWorkersBetweenHands)
{
    const std::vector<std::string> files = {
        m_dir.Write("a.txt", vxtest::ReadText(Storage("overlap_export.txt"))),
        m_dir.Write("b.txt", vxtest::ReadText(Storage("overlap_table.txt"))),
        m_dir.Write("c.txt", vxtest::ReadText(Storage("overlap_export.txt"))),
        m_dir.Write("d.txt", vxtest::ReadText(Storage("overlap_table.txt")))};
    std::stop_source stop;
    std::vector<CManualImportProgress> seen;
    CManualImportOptions options = Options(files);
    options.workers = 2;
    const CManualImportResult result = Import(
        options,
        [&](const CManualImportProgress& p) {
            seen.push_back(p);
            if (p.handsSoFar >= 60) {
                stop.request_stop();
            }
        },
        stop.get_token());
    EXPECT_TRUE(result.stopped);
    EXPECT_FALSE(result.databaseLost);
    EXPECT_EQ(result.ExitCode(), 1);
    EXPECT_GE(result.counts.stored, 60);
    EXPECT_EQ(Hands(), result.counts.stored);
    EXPECT_EQ(Flaws(), "");
    ASSERT_FALSE(result.filesNotImported.empty());
    EXPECT_TRUE(std::is_sorted(result.filesNotImported.begin(), result.filesNotImported.end()));
    EXPECT_EQ(result.filesNotImported.back(), files.back());
    EXPECT_TRUE(m_seen.SawOutput(L"The import was stopped: these files were not imported"));
    ASSERT_FALSE(seen.empty());
    for (size_t i = 1; i < seen.size(); ++i) {
        EXPECT_GE(seen[i].fileNumber, seen[i - 1].fileNumber);
    }

    // What was left is imported afterwards, and the totals add up.
    const CManualImportResult rest = Import(Options(files));
    EXPECT_EQ(rest.ExitCode(), 0);
    EXPECT_EQ(result.counts.stored + rest.counts.stored, Hands());
    EXPECT_EQ(Flaws(), "");
}
