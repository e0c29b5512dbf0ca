// The application core as a front uses it: start-up, a database, live
// tracking with the audit side and the HUD link, the end of the run. The
// client's window and the HUD program's endpoint are stand-ins; files, the
// watcher and the database are real.
#include "app/cli/CliMain.h"
#include "app/core/CApplicationCore.h"
#include "foundation/CMemoryProfile.h"
#include "foundation/IUserNotifier.h"
#include "foundation/WideText.h"
#include "hud/CHudLayouts.h"
#include "hud/CHudLink.h"
#include "platform/CTaskQueue.h"
#include "platform/HudMessages.h"
#include "platform/fakes/CFakeMessageChannel.h"
#include "platform/fakes/CFakeProcessList.h"
#include "platform/fakes/CFakeProgramLauncher.h"
#include "platform/fakes/CFakeWindowFinder.h"
#include "platform/linux/CInotifyChangeSource.h"
#include "testing/CTempDir.h"
#include "testing/DatabaseDump.h"
#include "testing/PgTestServer.h"
#include "testing/TestPaths.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <stop_token>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

class CNotices : public IUserNotifier
{
public:
    void Notify(const std::wstring& text) override { notices.push_back(text); }
    std::vector<std::wstring> notices;
};

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

size_t Occurrences(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

class CoreHudTest : public ::testing::Test
{
protected:
    CApplicationCoreOptions Options() const
    {
        CApplicationCoreOptions options;
        options.programFolder = m_dir.File("program");
        options.home = m_dir.File("home");
        options.probe.winePrefixes = {m_dir.File("wine")};
        options.probe.userName = "bob";
        options.shareFolder = std::string(VX_SHARE_DIR);
        return options;
    }

    CPlatformServices Platform()
    {
        CPlatformServices platform;
        platform.loop = &m_loop;
        platform.processes = &m_processes;
        platform.channel = &m_channel;
        platform.windows = &m_windows;
        platform.launcher = &m_launcher;
        platform.makeSource = [] { return std::make_unique<CInotifyChangeSource>(); };
        return platform;
    }

    vxtest::CTempDir m_dir;
    CNotices m_notices;
    CMemoryProfile m_profile;
    CTaskQueue m_loop;
    CFakeProcessList m_processes;
    CFakeMessageChannel m_channel;
    CFakeWindowFinder m_windows;
    CFakeProgramLauncher m_launcher;
};

TEST_F(CoreHudTest, StartUpFillsTheStatNamesAndLayoutsAndShutDownKeepsTheHudName)
{
    m_profile.WriteProfileInt(L"Poker Room", L"RedStar", 1);
    m_profile.WriteProfileString(L"RedStar Settings", L"HUDName", L"Mine");
    {
        CApplicationCore core(Options(), m_notices, &m_profile);
        ASSERT_TRUE(core.StartUp());
        EXPECT_EQ(core.StatNames().size(), 94u);
        EXPECT_EQ(core.SettingsRoom(), 4);
        EXPECT_EQ(core.HudName(), L"Mine");
        EXPECT_TRUE(core.HudLayouts().Layouts().empty());
        EXPECT_TRUE(std::filesystem::exists(m_dir.File("program/HUDs.xml")));
        EXPECT_TRUE(std::filesystem::exists(m_dir.File("program/predeftypes.json")));
        core.SetHudName(L"\u041C\u043E\u0439");
    }
    EXPECT_EQ(m_profile.GetProfileString(L"RedStar Settings", L"HUDName", L""),
              L"\u041C\u043E\u0439");
    const std::string log = ReadAll(m_dir.File("program/Veltrix.log"));
    EXPECT_EQ(Occurrences(log, "Version number:"), 1u);
    EXPECT_EQ(Occurrences(log, " End of work "), 1u);
}

TEST_F(CoreHudTest, LiveTrackingShowsTheSeatsOfAnAuditLineAndEndsTheHudProgram)
{
    vxtest::CPgTestServer server;
    VX_REQUIRE_PG(server);
    // The client's settings: the hero and his preferred seat at 6-seat tables
    // (list position 3), and a Veltrix.ini with the debug switch on.
    m_dir.Write("wine/drive_c/users/bob/AppData/Local/PokerStars/user.ini",
                "[User]\nName=Hero\n[PipeOption]\nSeatPref=0 0 1 0 0 0 0 0 0\n");
    std::filesystem::create_directories(m_dir.File("hh"));
    std::filesystem::create_directories(m_dir.File("audit"));
    m_dir.Write("program/Veltrix.ini",
                "[Export]\nFolder=" + m_dir.File("archive/") +
                    "\n[Debug]\nDebug=1\n[PokerStars]\nHUD=1\nHistory=" + m_dir.File("hh") +
                    "\nAudit=" + m_dir.File("audit") + "\n");
    m_processes.processes = {{700, {L"PokerStars.exe"}, 1000}};
    m_windows.windows.push_back({0x4400001, 700, L"pokerstars.exe", L"pokerstars.exe",
                                 L"Halley - $0.25/$0.50 USD - Pot Limit Omaha"});
    m_channel.endpoints.insert(L"Pelmora");

    CDatabaseSettings settings;
    settings.server = FromUtf8(server.server);
    settings.port = FromUtf8(server.port);
    settings.user = FromUtf8(server.user);
    settings.password = FromUtf8(server.password);
    settings.name = FromUtf8(vxtest::UniqueDatabaseName("vxcore"));
    std::vector<std::wstring> output;
    {
        CApplicationCore core(Options(), m_notices, &m_profile, Platform());
        core.Log().SetOutput([&](const std::wstring& line) { output.push_back(line); });
        ASSERT_TRUE(core.StartUp());
        ASSERT_TRUE(core.CreateDatabase(settings).ok);
        ASSERT_TRUE(core.UseDatabase(settings));
        EXPECT_EQ(core.Rooms().Room(kRoomPokerStars).heroName, L"Hero");
        core.StartLiveTracking(true, nullptr);
        ASSERT_NE(core.HudLink(), nullptr);
        ASSERT_EQ(m_channel.sent.size(), 1u);

        const std::string line =
            "tablenumber=Halley,  hand=1,  format=RING,  game=OMAHA,  currency=USD,  "
            "smallblind=0.25,  bigblind=0.50,  button=1,  ante=0,  zoom=False,  hi-lo=False,  "
            "user=Hero,  userstack=50,  maxseats=6, seat2=Hero,  seat2stack=50,  seat5=Marlin,  "
            "seat5stack=20\r\n";
        const int fd = ::open(m_dir.File("audit/audit.dat").c_str(),
                              O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, line.data(), line.size()), static_cast<ssize_t>(line.size()));
        ::close(fd);
        ASSERT_TRUE(m_loop.RunUntil([&] { return m_channel.sent.size() >= 3; }, 20s));
        core.Tick();

        // Hero on seat 2 prefers seat 1: seat 2 is box 114, seat 5 box 117.
        const auto hero = DecodeHudMessage(m_channel.sent[1].payload);
        const auto marlin = DecodeHudMessage(m_channel.sent[2].payload);
        ASSERT_TRUE(hero && marlin);
        EXPECT_EQ(hero->hudNumber, 114);
        EXPECT_EQ(marlin->hudNumber, 117);
        EXPECT_EQ(marlin->tableWindow, 0x4400001u);
        EXPECT_NE(std::find(output.begin(), output.end(), L"SendHud: nHud=117 Message = "),
                  output.end());
        core.ShutDown();
    }
    // The last message of the run ends the HUD program.
    const auto last = DecodeHudMessage(m_channel.sent.back().payload);
    ASSERT_TRUE(last.has_value());
    EXPECT_EQ(last->command, HudCommand::Shutdown);
    const std::string log = ReadAll(m_dir.File("program/Veltrix.log"));
    EXPECT_NE(log.find("Start WatchDirectory Auidit OK!"), std::string::npos);
    EXPECT_NE(log.find("CountProcessID: Pelmora.exe = 0\n"), std::string::npos);

    CApplicationCore admin(Options(), m_notices, &m_profile);
    ASSERT_TRUE(admin.StartUp());
    EXPECT_TRUE(admin.DropDatabase(settings).ok);
}

// The import both fronts run: on a worker, as they do, with the core's
// database, log and parse settings.
TEST_F(CoreHudTest, TheCoreImportsFilesWithProgressAndAStopBetweenHands)
{
    vxtest::CPgTestServer server;
    VX_REQUIRE_PG(server);
    CDatabaseSettings settings;
    settings.server = FromUtf8(server.server);
    settings.port = FromUtf8(server.port);
    settings.user = FromUtf8(server.user);
    settings.password = FromUtf8(server.password);
    settings.name = FromUtf8(vxtest::UniqueDatabaseName("vxcoreimport"));
    const std::string storage = vxtest::TestDataDir() + "/storage/";
    const std::vector<std::string> files = {storage + "overlap_export.txt",
                                            storage + "overlap_table.txt"};
    m_profile.WriteProfileInt(L"Base", L"HH", 3);

    CApplicationCore core(Options(), m_notices, &m_profile);
    std::vector<std::wstring> output;
    std::mutex outputMutex;
    core.Log().SetOutput([&](const std::wstring& line) {
        std::scoped_lock lock(outputMutex);
        output.push_back(line);
    });
    ASSERT_TRUE(core.StartUp());
    ASSERT_TRUE(core.CreateDatabase(settings).ok);
    const auto value = [&](const std::wstring& sql) {
        return vxtest::QueryValue(core.Db().Environment(), settings.ConnectString(), sql);
    };

    CManualImportOptions options = core.ImportOptions(settings);
    // The profile's storage format, and the connect string of the settings.
    EXPECT_EQ(options.parse.handHistoryFormat, 3);
    EXPECT_EQ(core.ImportOptions(settings, 1).parse.handHistoryFormat, 1);
    EXPECT_EQ(options.connectString, settings.ConnectString());
    options.paths = files;
    options.room = L"PokerStars";

    std::vector<CManualImportProgress> seen;
    CManualImportResult stopped;
    std::jthread([&](std::stop_token) {
        std::stop_source stop;
        stopped = core.ImportFiles(
            options,
            [&](const CManualImportProgress& p) {
                seen.push_back(p);
                if (p.handsSoFar >= 40) {
                    stop.request_stop();
                }
            },
            stop.get_token());
    }).join();
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front().fileNumber, 1);
    EXPECT_EQ(seen.front().fileCount, 2);
    EXPECT_EQ(seen.front().path, files[0]);
    EXPECT_TRUE(stopped.stopped);
    EXPECT_EQ(stopped.ExitCode(), 1);
    // Stopped between two hands of the larger first file; the second, which
    // the other worker reads at the same time, may have been read whole.
    ASSERT_FALSE(stopped.filesNotImported.empty());
    EXPECT_EQ(stopped.filesNotImported.front(), files[0]);
    EXPECT_LE(stopped.filesNotImported.size(), files.size());
    if (stopped.filesNotImported.size() == files.size()) {
        EXPECT_EQ(stopped.filesNotImported, files);
    }
    EXPECT_GE(stopped.counts.stored, 40);
    EXPECT_EQ(value(L"SELECT count(*) FROM hands"), std::to_wstring(stopped.counts.stored));
    EXPECT_EQ(vxtest::DatabaseFlaws(core.Db().Environment(), settings.ConnectString()), "");

    // Again to the end: what the stop left is stored, nothing twice.
    const CManualImportResult rest = core.ImportFiles(options, {});
    EXPECT_FALSE(rest.stopped);
    EXPECT_EQ(rest.ExitCode(), 0);
    EXPECT_GE(rest.counts.alreadyStored, stopped.counts.stored);
    EXPECT_EQ(value(L"SELECT count(*) FROM hands"),
              std::to_wstring(stopped.counts.stored + rest.counts.stored));
    EXPECT_EQ(vxtest::DatabaseFlaws(core.Db().Environment(), settings.ConnectString()), "");
    {
        std::scoped_lock lock(outputMutex);
        EXPECT_NE(std::find(output.begin(), output.end(),
                            L"The import was stopped: these files were not imported, or not "
                            L"completely:"),
                  output.end());
    }
    EXPECT_TRUE(core.DropDatabase(settings).ok);
}

TEST_F(CoreHudTest, TheCommandLineProgramKeepsOneLogForALiveRun)
{
    vxtest::CPgTestServer server;
    VX_REQUIRE_PG(server);
    const std::string name = vxtest::UniqueDatabaseName("vxclilive");
    const std::vector<std::string> db = {"--server", server.server, "--port",     server.port,
                                         "--user",   server.user,   "--password", server.password,
                                         "--name",   name};
    std::wostringstream out;
    std::wostringstream err;
    const auto run = [&](std::vector<std::string> args) {
        args.insert(args.end(), db.begin(), db.end());
        return RunCli(args, out, err, m_profile, m_dir.File("program"));
    };
    ASSERT_EQ(run({"db", "create"}), 0);
    ASSERT_EQ(run({"live", "--seconds", "0.3"}), 0);
    EXPECT_NE(out.str().find(L"Live tracking ended: 0 hands"), std::wstring::npos);
    const std::string log = ReadAll(m_dir.File("program/Veltrix.log"));
    // One header and one closing line per run: two runs.
    EXPECT_EQ(Occurrences(log, "Version number:"), 2u);
    EXPECT_EQ(Occurrences(log, " End of work "), 2u);
    EXPECT_EQ(run({"db", "drop"}), 0);
}

}  // namespace
