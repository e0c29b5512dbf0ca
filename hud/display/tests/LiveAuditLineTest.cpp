// The whole HUD path as a player runs it: a database of imported real hands,
// `veltrix-cli live` watching the client's audit folder, the pelmora it
// starts, all on a private Xvfb. The poker client is the one stand-in: a
// process named "PokerStars.exe" and a table window drawn by this test that
// names that process as its owner, with the client's WM_CLASS under Wine.
#include "hud/display/HudLayout.h"
#include "hud/display/tests/CFakePokerTable.h"
#include "hud/display/tests/ScreenBoxes.h"
#include "hud/display/tests/X11TestEnvironment.h"
#include "testing/CChildProcess.h"
#include "testing/CTempDir.h"
#include "testing/PgTestServer.h"
#include "testing/TestPaths.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWindow>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <regex>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace std::chrono_literals;
using vxtest::CChildProcess;
using vxtest::FindBoxes;
using vxtest::PumpUntil;
using vxtest::ReadText;
using vxtest::TestServer;

namespace {

constexpr const char* kHero = "PlayTheBlues4U";
constexpr const char* kHands = "pokerstars/PokerStudier_HH6.txt";

// The players of a hand-history file by the number of hands they sat in,
// most first (ties by name), without the hero.
std::vector<std::string> RegularsOf(const std::string& text)
{
    static const std::regex kSeat(R"(^Seat \d+: (.+) \(\$[0-9.]+ in chips\))");
    std::map<std::string, int> hands;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        std::smatch match;
        if (std::regex_search(line, match, kSeat) && match[1] != kHero) {
            ++hands[match[1]];
        }
    }
    std::vector<std::pair<std::string, int>> byCount(hands.begin(), hands.end());
    std::stable_sort(byCount.begin(), byCount.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    std::vector<std::string> names;
    for (const auto& entry : byCount) {
        names.push_back(entry.first);
    }
    return names;
}

// A name as the client writes it into an audit line: percent-encoded where
// it is not a plain letter or digit.
std::string Encoded(const std::string& name)
{
    std::string out;
    for (const unsigned char c : name) {
        if (std::isalnum(c) != 0) {
            out.push_back(static_cast<char>(c));
        } else {
            char escape[4];
            std::snprintf(escape, sizeof escape, "%%%02X", c);
            out += escape;
        }
    }
    return out;
}

// The audit line of a hand at the six-seat table "Halley"; `seats` holds
// the name of seat s + 1, "" for an empty seat.
std::string AuditLine(const std::string& hand, const std::vector<std::string>& seats)
{
    std::string line = "tablenumber=Halley,  hand=" + hand +
                       ",  format=RING,  game=HOLDEM,  currency=USD,  smallblind=0.02,  "
                       "bigblind=0.05,  button=1,  ante=0.00,  zoom=False,  hi-lo=False,  user=" +
                       std::string(kHero) + ",  userstack=5.00,  maxseats=6, ";
    const char* separator = "";
    for (size_t s = 0; s < seats.size(); ++s) {
        if (!seats[s].empty()) {
            const std::string n = std::to_string(s + 1);
            line += separator;
            line += "seat" + n + "=" + Encoded(seats[s]) + ",  seat" + n + "stack=5.00";
            separator = ",  ";
        }
    }
    return line + "\r\n";
}

// Months from the first day of this month back to before the corpus hands
// (October 2019), so that the HUD counts all of them.
int MonthsBackTo2019()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return (local.tm_year + 1900 - 2019) * 12 + local.tm_mon + 1;
}

// The processes whose environment holds `entry`: what the run started,
// whichever parent they have by now.
std::vector<pid_t> ProcessesWithEnvironment(const std::string& entry)
{
    std::vector<pid_t> found;
    // An empty entry would match every process whose environment area was
    // rewritten (servers that show their state as the process title).
    if (entry.find('=') == std::string::npos) {
        return found;
    }
    DIR* proc = ::opendir("/proc");
    if (proc == nullptr) {
        return found;
    }
    while (const dirent* e = ::readdir(proc)) {
        const pid_t pid = static_cast<pid_t>(std::atoi(e->d_name));
        if (pid <= 0 || pid == ::getpid()) {
            continue;
        }
        const std::string environment = ReadText("/proc/" + std::to_string(pid) + "/environ");
        std::istringstream entries(environment);
        std::string one;
        while (std::getline(entries, one, '\0')) {
            if (one == entry) {
                found.push_back(pid);
                break;
            }
        }
    }
    ::closedir(proc);
    return found;
}

class LiveAuditLineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        VX_REQUIRE_XVFB(TestServer());
        VX_REQUIRE_PG(m_server);
        VX_REQUIRE_CORPUS();
        m_home.Write("hh/.keep", "");
        m_home.Write("audit/.keep", "");
        m_home.Write("client/user.ini", "[User]\nName=" + std::string(kHero) +
                                            "\n[PipeOption]\nSeatPref=0 0 0 0 0 0 0 0 0\n");
        m_home.Write("Veltrix.ini", "[Export]\nFolder=" + m_home.File("archive/") +
                                        "\n[PokerStars]\nHistory=" + m_home.File("hh") +
                                        "\nFolder=" + m_home.File("client") + "\nAudit=" +
                                        m_home.File("audit") + "\nHUD=1\n[Debug]\nDebug=1\n");
        m_home.Write("config/Quendal/Veltrix.conf",
                     "[Base]\nHUD_CacheMonths=" + std::to_string(MonthsBackTo2019()) + "\n");
        std::filesystem::create_directories(m_home.File("run"));
        ::chmod(m_home.File("run").c_str(), 0700);
        m_runtimeEntry = "XDG_RUNTIME_DIR=" + m_home.File("run");
        m_env = {"HOME=" + m_home.Path(), "VELTRIX_HOME=" + m_home.Path(),
                 "XDG_CONFIG_HOME=" + m_home.File("config"), m_runtimeEntry,
                 "PELMORA_SCREENSHOT=" + m_home.File("pelmora.png")};
        m_database = vxtest::UniqueDatabaseName("vxpelmora");
    }

    void TearDown() override
    {
        m_children.clear();
        if (m_runtimeEntry.empty()) {
            return;  // skipped before anything was started
        }
        // A pelmora that outlived the test (it ends with the shutdown message
        // otherwise) goes too; it is known by the runtime folder it serves.
        for (const pid_t pid : ProcessesWithEnvironment(m_runtimeEntry)) {
            ::kill(pid, SIGKILL);
        }
        if (m_databaseMade) {
            (void)Cli("drop", {"db", "drop"}).Wait(60s);
            m_children.clear();
        }
    }

    // veltrix-cli `args` on the test database; its output goes to <tag>.out
    // and <tag>.err of the home folder.
    CChildProcess& Cli(const std::string& tag, std::vector<std::string> args)
    {
        args.insert(args.end(),
                    {"--server", m_server.server, "--port", m_server.port, "--user", m_server.user,
                     "--password", m_server.password, "--name", m_database});
        m_children.push_back(std::make_unique<CChildProcess>());
        EXPECT_TRUE(m_children.back()->Start(VX_CLI_PATH, args, m_env, m_home.File(tag + ".out"),
                                             m_home.File(tag + ".err")));
        return *m_children.back();
    }

    std::string Out(const std::string& tag) const { return ReadText(m_home.File(tag + ".out")); }
    std::string Err(const std::string& tag) const { return ReadText(m_home.File(tag + ".err")); }

    // One write, as the client appends a line.
    void AppendAuditLine(const std::string& line)
    {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        char name[32];
        std::strftime(name, sizeof name, "audit/audit.%Y%m%d.dat", &local);
        const std::string path = m_home.File(name);
        const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, line.data(), line.size()), static_cast<ssize_t>(line.size()));
        ::close(fd);
    }

    static size_t Count(const std::string& text, const std::string& what)
    {
        size_t n = 0;
        for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
            ++n;
        }
        return n;
    }

    // The boxes on the screen now, as the X server shows it.
    static std::vector<QRect> BoxesOnScreen()
    {
        return FindBoxes(QGuiApplication::primaryScreen()->grabWindow(0).toImage());
    }

    vxtest::CPgTestServer m_server;
    vxtest::CTempDir m_home;
    std::vector<std::string> m_env;
    std::string m_runtimeEntry;
    std::string m_database;
    bool m_databaseMade = false;
    std::vector<std::unique_ptr<CChildProcess>> m_children;
};

}  // namespace

TEST_F(LiveAuditLineTest, AnAppendedAuditLineDrawsTheSeatedPlayersBoxesAroundTheTable)
{
    // The database of the player: real hands of a $0.02/$0.05 six-seat table.
    ASSERT_EQ(Cli("create", {"db", "create"}).Wait(120s), 0) << Out("create") << Err("create");
    m_databaseMade = true;
    const std::string hands = vxtest::CorpusFile(kHands);
    ASSERT_EQ(Cli("import", {"import", "--room", "PokerStars", hands}).Wait(300s), 0)
        << Out("import") << Err("import");
    const std::vector<std::string> regulars = RegularsOf(ReadText(hands));
    ASSERT_GE(regulars.size(), 5u);

    // The client: its process, and its table window with the hero on seat 3
    // (no preferred seat, so seat s is drawn at position s - 1).
    std::filesystem::create_directories(m_home.File("wine"));
    std::filesystem::copy_file("/bin/sleep", m_home.File("wine/PokerStars.exe"),
                               std::filesystem::copy_options::overwrite_existing);
    CChildProcess client;
    ASSERT_TRUE(client.Start(m_home.File("wine/PokerStars.exe"), {"600"}, {},
                             m_home.File("client.out"), m_home.File("client.err")));
    const std::vector<std::string> seats = {regulars[0], regulars[1], kHero,
                                            regulars[2], regulars[3], regulars[4]};
    QStringList plates;
    for (const auto& name : seats) {
        plates << QString::fromStdString(name);
    }
    CFakePokerTable table(QStringLiteral("Halley - $0.02/$0.05 USD - No Limit Hold'em"), plates, 2);
    table.setGeometry(120, 90, 792, 546);
    table.WindowId();
    table.SetOwnerPid(static_cast<uint32_t>(client.Pid()));
    table.show();
    ASSERT_TRUE(PumpUntil([&] { return table.isVisible() && table.windowHandle()->isExposed(); }));

    // Live tracking, which starts pelmora (beside veltrix-cli) for the HUD.
    CChildProcess& live = Cli("live", {"live", "--seconds", "120"});
    ASSERT_TRUE(PumpUntil(
        [&] { return Out("live").find("Watching audit files in") != std::string::npos; }, {}, 60.0))
        << Out("live") << Err("live");

    // A hand begins: six seated players, six boxes.
    AppendAuditLine(AuditLine("204330104001", seats));
    std::vector<QRect> boxes;
    const bool six = PumpUntil(
        [&] {
            boxes = BoxesOnScreen();
            return boxes.size() == 6;
        },
        {}, 30.0);
    ASSERT_TRUE(six) << boxes.size() << " boxes\n" << Out("live") << Err("live");
    EXPECT_EQ(Count(Out("live"), "SendHud: nHud="), 6u) << Out("live");
    // Each box carries the line `hud text` prints for that player.
    for (size_t s = 0; s < seats.size(); ++s) {
        const std::string& name = seats[s];
        const std::string tag = "text" + std::to_string(s);
        ASSERT_EQ(Cli(tag, {"hud", "text", name, "--bb", "5", "--kind", "-1"}).Wait(60s), 0)
            << Err(tag);
        std::string line = Out(tag);
        while (!line.empty() && line.back() == '\n') {
            line.pop_back();
        }
        ASSERT_GT(line.size(), 10u) << name;
        EXPECT_NE(Out("live").find("Message = " + line), std::string::npos) << name << "\n"
                                                                            << Out("live");
    }

    // The player of seat 5 leaves: his box goes, the others stay.
    std::vector<std::string> later = seats;
    later[4].clear();
    plates[4].clear();
    table.SetPlayers(plates);
    AppendAuditLine(AuditLine("204330104002", later));
    const bool five = PumpUntil(
        [&] {
            boxes = BoxesOnScreen();
            return boxes.size() == 5 && Out("live").find("SendHide: nHud=") != std::string::npos;
        },
        {}, 30.0);
    ASSERT_TRUE(five) << boxes.size() << " boxes\n" << Out("live");
    EXPECT_EQ(Count(Out("live"), "SendHide: nHud="), 1u) << Out("live");

    // Live tracking ends; pelmora, told to end, leaves its picture.
    live.Signal(SIGTERM);
    EXPECT_EQ(live.Wait(60s), 0) << Out("live") << Err("live");
    ASSERT_TRUE(
        PumpUntil([&] { return ProcessesWithEnvironment(m_runtimeEntry).empty(); }, {}, 20.0));
    QImage image(QString::fromStdString(m_home.File("pelmora.png")));
    ASSERT_FALSE(image.isNull()) << Out("live");
    if (const char* keep = std::getenv("VX_SCREENSHOT_DIR")) {
        image.save(QString::fromUtf8(keep) + QStringLiteral("/pelmora-live-audit-line.png"));
    }
    const QRect tableArea(table.geometry());
    const QRect middle = HudLayout::ToPixels(HudLayout::MiddleFraction(), tableArea);
    boxes = FindBoxes(image);
    ASSERT_EQ(boxes.size(), 5u);
    const QRect leftSeat = HudLayout::ToPixels(HudLayout::SeatPlateFraction(6, 4), tableArea);
    for (const QRect& box : boxes) {
        EXPECT_TRUE(tableArea.contains(box));
        EXPECT_FALSE(box.intersects(middle));
        EXPECT_GT((box.center() - leftSeat.center()).manhattanLength(), leftSeat.height() * 2);
    }
}
