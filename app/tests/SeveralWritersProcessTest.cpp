// Several veltrix-cli processes storing into one database at once, a client
// writing hands while live tracking runs, and servers that stop under them.
// After each, the database holds what one clean import of the same files
// stores, row for row (ids aside), and no hand twice.
#include "db/CDbContext.h"
#include "db/DatabaseAdmin.h"
#include "foundation/CStatDefinitions.h"
#include "foundation/ILogSink.h"
#include "foundation/IUserNotifier.h"
#include "foundation/WideText.h"
#include "testing/CChildProcess.h"
#include "testing/CTempDir.h"
#include "testing/DatabaseDump.h"
#include "testing/PgTestServer.h"
#include "testing/PrivatePgCluster.h"
#include "testing/TestPaths.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;
using vxtest::CChildProcess;
using vxtest::ReadText;

namespace {

class CQuiet : public ILogSink, public IUserNotifier
{
public:
    void Log(const std::wstring&) override {}
    void Output(const std::wstring&) override {}
    void Trace(const std::wstring&) override {}
    void Notify(const std::wstring&) override {}
};

std::string Storage(const std::string& name)
{
    return vxtest::TestDataDir() + "/storage/" + name;
}

// The hands of a synthetic file, each as written: its lines and empty lines.
std::vector<std::string> HandsOf(const std::string& path)
{
    const std::string text = ReadText(path);
    std::vector<std::string> hands;
    size_t at = text.find("PokerStars Hand #");
    while (at != std::string::npos) {
        const size_t next = text.find("PokerStars Hand #", at + 1);
        hands.push_back(text.substr(at, next == std::string::npos ? std::string::npos : next - at));
        at = next;
    }
    return hands;
}

// One write, as a client appends.
void Append(const std::string& path, const std::string& text)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    ::close(fd);
}

}  // namespace

class SeveralWritersProcessTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        VX_REQUIRE_PG(m_server);
        ASSERT_TRUE(
            m_definitions.LoadStatTypes(std::string(VX_SOURCE_DIR) + "/data/predeftypes.json"));
        ASSERT_TRUE(m_admin.AllocateEnvironment().IsOk());
        m_env = {"HOME=" + m_home.Path(), "VELTRIX_HOME=" + m_home.Path(),
                 "XDG_CONFIG_HOME=" + m_home.File("config")};
        m_home.Write("hh/.keep", "");
        m_home.Write("Veltrix.ini", "[Export]\nFolder=" + m_home.File("archive/") +
                                        "\n[PokerStars]\nHistory=" + m_home.File("hh") +
                                        "\nHUD=1\n");
    }

    void TearDown() override
    {
        m_children.clear();
        for (const auto& connect : m_made) {
            (void)kroDB::DropDatabase(m_admin, connect);
        }
    }

    // A fresh database on `server`; its name.
    std::string NewDatabase(const vxtest::CPgTestServer& server)
    {
        const std::string name = vxtest::UniqueDatabaseName("vxwriters");
        const std::wstring connect = server.ConnectString(name);
        EXPECT_TRUE(kroDB::CreateDatabase(m_admin, connect));
        m_made.push_back(connect);
        return name;
    }

    // Starts veltrix-cli `args` on database `name` of `server`; its output
    // goes to <tag>.out and <tag>.err of the home folder.
    CChildProcess& Cli(const std::string& tag,
                       std::vector<std::string> args,
                       const vxtest::CPgTestServer& server,
                       const std::string& name)
    {
        args.insert(args.end(), {"--server", server.server, "--port", server.port, "--user",
                                 server.user, "--password", server.password, "--name", name});
        m_children.push_back(std::make_unique<CChildProcess>());
        EXPECT_TRUE(m_children.back()->Start(VX_CLI, args, m_env, m_home.File(tag + ".out"),
                                             m_home.File(tag + ".err")));
        return *m_children.back();
    }

    std::string Out(const std::string& tag) { return ReadText(m_home.File(tag + ".out")); }

    int64_t Hands(const vxtest::CPgTestServer& server, const std::string& name)
    {
        const std::wstring n = vxtest::QueryValue(m_admin.Environment(), server.ConnectString(name),
                                                  L"SELECT count(*) FROM hands");
        return n.empty() || n[0] == L'<' ? -1 : std::stoll(n);
    }

    bool WaitFor(const std::function<bool()>& done, std::chrono::seconds timeout)
    {
        const auto end = std::chrono::steady_clock::now() + timeout;
        while (!done()) {
            if (std::chrono::steady_clock::now() > end) {
                return false;
            }
            std::this_thread::sleep_for(100ms);
        }
        return true;
    }

    // The database `name` against one clean import of `files` into a new one.
    void ExpectAsOneCleanImport(const vxtest::CPgTestServer& server,
                                const std::string& name,
                                const std::vector<std::string>& files,
                                int exitCode = 0)
    {
        const std::string clean = NewDatabase(server);
        std::vector<std::string> args = {"import", "--room", "PokerStars"};
        args.insert(args.end(), files.begin(), files.end());
        ASSERT_EQ(Cli("clean", args, server, clean).Wait(300s), exitCode) << Out("clean");
        const SQLHENV env = m_admin.Environment();
        EXPECT_EQ(vxtest::DatabaseFlaws(env, server.ConnectString(name)), "");
        EXPECT_EQ(vxtest::CompareDumps(vxtest::DumpDatabase(env, server.ConnectString(clean)),
                                       vxtest::DumpDatabase(env, server.ConnectString(name))),
                  "");
    }

    // The figures of the import's counts line.
    static std::map<std::string, int64_t> Counts(const std::string& out)
    {
        std::map<std::string, int64_t> counts;
        const size_t at = out.rfind("New hands stored = ");
        if (at == std::string::npos) {
            return counts;
        }
        long long stored = -1;
        long long already = -1;
        long long out2 = -1;
        long long failed = -1;
        std::sscanf(out.c_str() + at,
                    "New hands stored = %lld, already stored = %lld, left out = %lld, failed = "
                    "%lld.",
                    &stored, &already, &out2, &failed);
        counts["stored"] = stored;
        counts["already"] = already;
        counts["failed"] = failed;
        return counts;
    }

    // Starts live tracking of the home folder's "hh" and waits until it
    // watches.
    CChildProcess& Live(const vxtest::CPgTestServer& server, const std::string& name)
    {
        CChildProcess& live = Cli("live", {"live"}, server, name);
        EXPECT_TRUE(WaitFor([&] { return Out("live").find("Watching") != std::string::npos; }, 60s))
            << Out("live") << ReadText(m_home.File("live.err"));
        return live;
    }

    vxtest::CPgTestServer m_server;
    CStatDefinitions m_definitions;
    CQuiet m_quiet;
    kroDB::CDbContext m_admin{m_definitions, m_quiet, m_quiet};
    vxtest::CTempDir m_home;
    std::vector<std::string> m_env;
    std::vector<std::wstring> m_made;
    std::vector<std::unique_ptr<CChildProcess>> m_children;
};

TEST_F(SeveralWritersProcessTest, TwoImportsOfTheSameFileAtOnceStoreEachHandOnce)
{
    const std::string name = NewDatabase(m_server);
    const std::string file = Storage("overlap_export.txt");
    CChildProcess& a = Cli("a", {"import", file}, m_server, name);
    CChildProcess& b = Cli("b", {"import", file}, m_server, name);
    EXPECT_EQ(a.Wait(300s), 0) << Out("a");
    EXPECT_EQ(b.Wait(300s), 0) << Out("b");
    const auto ca = Counts(Out("a"));
    const auto cb = Counts(Out("b"));
    // Each hand stored by exactly one of them. The other found it stored, or
    // never read it: an import that starts when the file's hands up to some
    // point are stored already goes on from there, as a re-import does.
    EXPECT_EQ(ca.at("stored") + cb.at("stored"), 600);
    EXPECT_LE(ca.at("stored") + ca.at("already"), 600);
    EXPECT_LE(cb.at("stored") + cb.at("already"), 600);
    EXPECT_EQ(ca.at("failed") + cb.at("failed"), 0);
    EXPECT_EQ(ReadText(m_home.File("a.err")) + ReadText(m_home.File("b.err")), "");
    EXPECT_EQ(Hands(m_server, name), 600);
    ExpectAsOneCleanImport(m_server, name, {file});
}

TEST_F(SeveralWritersProcessTest, TwoOverlappingFilesAtOnceStoreTheirUnion)
{
    std::vector<std::pair<std::string, std::string>> pairs = {
        {Storage("overlap_table.txt"), Storage("overlap_export.txt")}};
    if (!vxtest::CorpusDir().empty()) {
        pairs.emplace_back(vxtest::CorpusFile("pokerstars/PokerStudier_HH6.txt"),
                           vxtest::CorpusFile("pokerstars/PokerStudier_allHands.txt"));
    }
    for (const auto& [small, large] : pairs) {
        SCOPED_TRACE(small);
        const std::string name = NewDatabase(m_server);
        CChildProcess& a = Cli("a", {"import", small}, m_server, name);
        CChildProcess& b = Cli("b", {"import", large}, m_server, name);
        EXPECT_EQ(a.Wait(600s), 0) << Out("a");
        EXPECT_EQ(b.Wait(600s), 0) << Out("b");
        const auto ca = Counts(Out("a"));
        const auto cb = Counts(Out("b"));
        EXPECT_EQ(ca.at("stored") + cb.at("stored"), Hands(m_server, name));
        EXPECT_EQ(ReadText(m_home.File("a.err")) + ReadText(m_home.File("b.err")), "");
        // What each import said, for a difference that only shows now and then.
        SCOPED_TRACE("a: " + Out("a") + "\nb: " + Out("b"));
        ExpectAsOneCleanImport(m_server, name, {small, large});
    }
}

TEST_F(SeveralWritersProcessTest, ALiveSessionBesideAManualImportLosesNoHand)
{
    const std::string name = NewDatabase(m_server);
    CChildProcess& live = Live(m_server, name);
    const std::string table = m_home.File("hh/HH20210304 Alnair II.txt");
    CChildProcess& import =
        Cli("import", {"import", Storage("overlap_export.txt")}, m_server, name);
    // The client plays 200 hands meanwhile, 150 of which the import brings too.
    for (const auto& hand : HandsOf(Storage("overlap_table.txt"))) {
        Append(table, hand);
        std::this_thread::sleep_for(15ms);
    }
    EXPECT_EQ(import.Wait(300s), 0) << Out("import");
    EXPECT_TRUE(WaitFor([&] { return Hands(m_server, name) == 650; }, 120s))
        << Hands(m_server, name);
    live.Signal(SIGTERM);
    EXPECT_EQ(live.Wait(60s), 0) << Out("live");
    EXPECT_NE(Out("live").find("Live tracking ended"), std::string::npos);
    ExpectAsOneCleanImport(m_server, name, {table, Storage("overlap_export.txt")});
}

TEST_F(SeveralWritersProcessTest, AHandWhoseRowFailsLeavesNothingAndItsGoodCopyImportsWhole)
{
    const std::string name = NewDatabase(m_server);
    CChildProcess& bad = Cli("bad", {"import", Storage("row_fails.txt")}, m_server, name);
    EXPECT_EQ(bad.Wait(120s), 1) << Out("bad");
    const auto cb = Counts(Out("bad"));
    EXPECT_EQ(cb.at("stored"), 2);
    EXPECT_EQ(cb.at("failed"), 1);
    EXPECT_EQ(Hands(m_server, name), 2);
    EXPECT_EQ(vxtest::DatabaseFlaws(m_admin.Environment(), m_server.ConnectString(name)), "");

    CChildProcess& good =
        Cli("good", {"import", Storage("row_fails_good_copy.txt")}, m_server, name);
    EXPECT_EQ(good.Wait(120s), 0) << Out("good");
    const auto cg = Counts(Out("good"));
    EXPECT_EQ(cg.at("stored"), 1);
    EXPECT_EQ(cg.at("already"), 2);
    // One import of both files: the bad copy fails alone, the good one stores
    // the hand.
    ExpectAsOneCleanImport(m_server, name,
                           {Storage("row_fails.txt"), Storage("row_fails_good_copy.txt")}, 1);
}

TEST_F(SeveralWritersProcessTest, AHandWrittenWithATenSecondPauseIsStoredWhole)
{
    const std::string name = NewDatabase(m_server);
    CChildProcess& live = Live(m_server, name);
    const std::string table = m_home.File("hh/HH20210304 Alnair II.txt");
    const std::vector<std::string> hands = HandsOf(Storage("overlap_table.txt"));
    Append(table, hands[0] + hands[1]);
    ASSERT_TRUE(WaitFor([&] { return Hands(m_server, name) == 2; }, 60s));
    // The client stops in the middle of a summary line, for ten seconds.
    const std::string& third = hands[2];
    const size_t cut = third.find("Seat ", third.find("*** SUMMARY ***")) + 7;
    Append(table, third.substr(0, cut));
    std::this_thread::sleep_for(10s);
    EXPECT_EQ(Hands(m_server, name), 2);
    Append(table, third.substr(cut));
    ASSERT_TRUE(WaitFor([&] { return Hands(m_server, name) == 3; }, 60s));
    live.Signal(SIGTERM);
    EXPECT_EQ(live.Wait(60s), 0);
    ExpectAsOneCleanImport(m_server, name, {table});
}

// Servers that stop under the writers: a cluster of the test's own.
class SeveralWritersOutageTest : public SeveralWritersProcessTest
{
protected:
    void SetUp() override
    {
        SeveralWritersProcessTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        ASSERT_TRUE(m_cluster.Start());
    }

    void TearDown() override
    {
        m_children.clear();
        (void)m_cluster.Start();
        SeveralWritersProcessTest::TearDown();
    }

    vxtest::CPrivatePgCluster m_cluster;
};

TEST_F(SeveralWritersOutageTest, AManualImportWaitsForACrashedServerAndEndsWithItsTotals)
{
    const vxtest::CPgTestServer& server = m_cluster.Server();
    const std::string name = NewDatabase(server);
    const std::vector<std::string> files = {Storage("overlap_export.txt"),
                                            Storage("overlap_table.txt")};
    std::vector<std::string> args = {"import", "--wait", "60", "--room", "PokerStars"};
    args.insert(args.end(), files.begin(), files.end());
    CChildProcess& import = Cli("import", args, server, name);
    ASSERT_TRUE(WaitFor([&] { return Hands(server, name) >= 100; }, 120s));
    ASSERT_TRUE(m_cluster.Crash());
    ASSERT_TRUE(WaitFor(
        [&] {
            return Out("import").find("The database cannot be reached: waiting") !=
                   std::string::npos;
        },
        60s))
        << Out("import");
    std::this_thread::sleep_for(2s);
    ASSERT_TRUE(m_cluster.Start());
    EXPECT_EQ(import.Wait(300s), 0) << Out("import");
    // The totals are what the database holds.
    const auto counts = Counts(Out("import"));
    EXPECT_EQ(counts.at("stored"), Hands(server, name));
    EXPECT_EQ(counts.at("stored") + counts.at("already"), 800);
    ExpectAsOneCleanImport(server, name, files);
}

TEST_F(SeveralWritersOutageTest, LiveTrackingStoresWhatWasWrittenWhileTheServerWasStopped)
{
    const vxtest::CPgTestServer& server = m_cluster.Server();
    const std::string name = NewDatabase(server);
    CChildProcess& live = Live(server, name);
    const std::string table = m_home.File("hh/HH20210304 Alnair II.txt");
    const std::vector<std::string> hands = HandsOf(Storage("overlap_table.txt"));
    for (size_t i = 0; i < 60; ++i) {
        Append(table, hands[i]);
        std::this_thread::sleep_for(20ms);
        if (i == 30) {
            ASSERT_TRUE(WaitFor([&] { return Hands(server, name) >= 20; }, 60s));
            ASSERT_TRUE(m_cluster.Stop());
        }
    }
    std::this_thread::sleep_for(3s);
    ASSERT_TRUE(m_cluster.Start());
    EXPECT_TRUE(WaitFor([&] { return Hands(server, name) == 60; }, 120s))
        << Hands(server, name) << "\n"
        << Out("live");
    live.Signal(SIGTERM);
    EXPECT_EQ(live.Wait(60s), 0);
    ExpectAsOneCleanImport(server, name, {table});
}
