#include "hud/display/HudLayout.h"
#include "hud/display/tests/CFakePokerTable.h"
#include "hud/display/tests/ScreenBoxes.h"
#include "hud/display/tests/X11TestEnvironment.h"
#include "platform/HudMessages.h"
#include "platform/linux/CUnixMessageChannel.h"
#include "platform/linux/CUnixMessageEndpoint.h"
#include "platform/linux/MessageEndpointPath.h"
#include "testing/CTempDir.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QWindow>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace std::chrono_literals;
using vxtest::FindBoxes;
using vxtest::PumpUntil;
using vxtest::TestServer;

namespace {

// pelmora as the tracker starts it, with its own runtime and settings
// folders; the test sends through the same runtime folder.
class CPelmoraRun
{
public:
    CPelmoraRun()
    {
        m_runtime = m_dir.Path() + "/run";
        std::filesystem::create_directories(m_runtime);
        ::chmod(m_runtime.c_str(), 0700);
        ::setenv("XDG_RUNTIME_DIR", m_runtime.c_str(), 1);
    }
    ~CPelmoraRun()
    {
        for (QProcess* p : m_processes) {
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(3000);
            }
            delete p;
        }
    }

    QProcess* Start(const QStringList& arguments, bool withDisplay = true)
    {
        auto* process = new QProcess();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(m_runtime));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"),
                   QString::fromStdString(m_dir.Path() + "/config"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.remove(QStringLiteral("PELMORA_SCREENSHOT"));
        if (!withDisplay) {
            env.remove(QStringLiteral("DISPLAY"));
        }
        process->setProcessEnvironment(env);
        process->start(QStringLiteral(VX_PELMORA_PATH), arguments);
        m_processes.push_back(process);
        return process;
    }

    bool WaitForEndpoint()
    {
        CUnixMessageChannel channel;
        return PumpUntil([&] { return channel.EndpointExists(L"Pelmora"); }, {}, 20.0);
    }

    static bool WaitForExit(QProcess* process, double seconds = 20.0)
    {
        return PumpUntil([&] { return process->state() == QProcess::NotRunning; }, {}, seconds);
    }

    CStatus Send(const CHudMessage& message, uint64_t* answer = nullptr)
    {
        CUnixMessageChannel channel;
        const auto bytes = EncodeHudMessage(message);
        return channel.Send(L"Pelmora", kHudMessageTag, bytes, 2000ms, answer);
    }

    vxtest::CTempDir m_dir;
    std::string m_runtime;
    std::vector<QProcess*> m_processes;
};

}  // namespace

TEST(PelmoraProgramTest, SixShowsAndAHideThroughTheRealTransportDrawFiveBoxesAroundTheTable)
{
    VX_REQUIRE_XVFB(TestServer());
    CPelmoraRun run;
    // The tracker's endpoint, served on a thread of its own as the tracker's
    // event loop would, to hear the table report.
    std::mutex mutex;
    std::vector<CTableReport> heard;
    auto reports = [&] {
        std::lock_guard<std::mutex> lock(mutex);
        return heard;
    };
    CUnixMessageEndpoint tracker([&](uint64_t tag, std::span<const uint8_t> payload) {
        if (tag == kTableReportTag) {
            if (auto report = DecodeTableReport(payload)) {
                std::lock_guard<std::mutex> lock(mutex);
                heard.push_back(*report);
            }
        }
    });
    ASSERT_TRUE(tracker.Open(L"VeltrixClass").IsOk());
    std::atomic<bool> stop{false};
    std::thread trackerLoop([&] {
        while (!stop) {
            tracker.WaitAndProcess(20);
        }
    });
    struct CJoin
    {
        std::atomic<bool>& stop;
        std::thread& thread;
        ~CJoin()
        {
            stop = true;
            thread.join();
        }
    } join{stop, trackerLoop};

    CFakePokerTable table(
        QStringLiteral("Halley - $0.01/$0.02 USD - Pot Limit Omaha"),
        {QStringLiteral("Bluefish"), QStringLiteral("Annika_T"), QStringLiteral("Ventura"),
         QString(), QString::fromUtf8("王小明😀"), QStringLiteral("Olafsson")},
        2);
    table.setGeometry(120, 90, 792, 546);
    const uint64_t window = table.WindowId();
    table.show();
    ASSERT_TRUE(PumpUntil([&] { return table.isVisible() && table.windowHandle()->isExposed(); }));

    const std::string picture = run.m_dir.File("pelmora.png");
    QProcess* pelmora =
        run.Start({QStringLiteral("--screenshot"), QString::fromStdString(picture)});
    ASSERT_TRUE(run.WaitForEndpoint()) << pelmora->readAllStandardError().toStdString();

    const wchar_t* texts[] = {L"Blue 42 30.0 20.0 5.0 0.0\n",
                              L"Anni 1204 24.1 18.0 6.2 1.5\n",
                              L"Vent 3650 22.8 17.9 7.4 2.1\n",
                              L"Kurt 88 55.3 6.1 2.0 0.0\n",
                              L"\u738b\u5c0f\u660e\U0001F600 310 28.0 22.4 9.1 3.3\n",
                              L"Olaf 15 40.0 10.0 0.0 0.0\n"};
    for (int p = 0; p < 6; ++p) {
        uint64_t answer = 0;
        const CStatus status = run.Send(
            MakeShowMessage(window, HudNumber(6, p), std::wstring(kHudStatsMarkup) + texts[p]),
            &answer);
        ASSERT_TRUE(status.IsOk());
        EXPECT_EQ(answer, kHudMessageTag);
    }
    ASSERT_TRUE(run.Send(MakeHideMessage(window, HudNumber(6, 3))).IsOk());

    // pelmora finds the table and reports it to the tracker once.
    ASSERT_TRUE(PumpUntil([&] { return !reports().empty(); }, {}, 10.0));
    EXPECT_EQ(TableReportWindow(reports()[0]), window);
    EXPECT_EQ(reports()[0].command, 6);
    EXPECT_EQ(reports()[0].room, 1);

    PumpUntil([] { return false; }, {}, 0.5);
    ASSERT_TRUE(run.Send(MakeShutdownMessage()).IsOk());
    ASSERT_TRUE(CPelmoraRun::WaitForExit(pelmora));
    EXPECT_EQ(pelmora->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(pelmora->exitCode(), 0) << pelmora->readAllStandardError().toStdString();
    EXPECT_FALSE(std::filesystem::exists(MessageEndpointPath(L"Pelmora")));
    EXPECT_EQ(reports().size(), 1u);

    QImage image(QString::fromStdString(picture));
    ASSERT_FALSE(image.isNull()) << pelmora->readAllStandardError().toStdString();
    if (const char* keep = std::getenv("VX_SCREENSHOT_DIR")) {
        image.save(QString::fromUtf8(keep) + QStringLiteral("/pelmora-halley.png"));
    }
    const QRect tableArea(table.geometry());
    const QRect middle = HudLayout::ToPixels(HudLayout::MiddleFraction(), tableArea);
    const std::vector<QRect> boxes = FindBoxes(image);
    ASSERT_EQ(boxes.size(), 5u);
    for (const QRect& box : boxes) {
        EXPECT_TRUE(tableArea.contains(box));
        EXPECT_FALSE(box.intersects(middle));
    }
    // None stands beside the seat that was left.
    const QRect leftSeat = HudLayout::ToPixels(HudLayout::SeatPlateFraction(6, 3), tableArea);
    for (const QRect& box : boxes) {
        EXPECT_GT((box.center() - leftSeat.center()).manhattanLength(), leftSeat.height() * 2);
    }
}

TEST(PelmoraProgramTest, MalformedPacketsAreAnsweredAndIgnoredAndAStaleSocketIsTakenOver)
{
    VX_REQUIRE_XVFB(TestServer());
    CPelmoraRun run;
    // A socket left behind by a crashed pelmora.
    const std::string path = MessageEndpointPath(L"Pelmora");
    {
        const int dead = ::socket(AF_UNIX, SOCK_SEQPACKET, 0);
        sockaddr_un address{};
        ASSERT_TRUE(MakeEndpointAddress(path, address));
        ASSERT_EQ(::bind(dead, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
        ::close(dead);
    }
    QProcess* pelmora = run.Start({});
    ASSERT_TRUE(run.WaitForEndpoint()) << pelmora->readAllStandardError().toStdString();

    CUnixMessageChannel channel;
    uint64_t answer = 1;
    const std::vector<uint8_t> shortMessage = {1, 2, 3};
    EXPECT_TRUE(channel.Send(L"Pelmora", 5, shortMessage, 2000ms, &answer).IsOk());
    EXPECT_EQ(answer, 5u);
    auto badCommand = EncodeHudMessage(MakeShowMessage(0x400001, 114, L"x"));
    badCommand[16] = 99;
    EXPECT_TRUE(channel.Send(L"Pelmora", 9, badCommand, 2000ms, &answer).IsOk());
    EXPECT_EQ(answer, 9u);
    // A show for a window that does not exist, and a packet without a tag.
    EXPECT_TRUE(
        run.Send(MakeShowMessage(0x7ffffff, 114, L"[style=Stats]Blue 1 0.0 0.0 0.0 0.0\n")).IsOk());
    const int raw = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    ASSERT_TRUE(MakeEndpointAddress(path, address));
    ASSERT_EQ(::connect(raw, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    ASSERT_EQ(::send(raw, "abc", 3, 0), 3);
    uint8_t reply[8] = {1};
    timeval limit{5, 0};
    ::setsockopt(raw, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof(limit));
    EXPECT_EQ(::recv(raw, reply, sizeof(reply), 0), 8);
    ::close(raw);

    // A second pelmora finds the endpoint taken and leaves the first alone.
    QProcess* second = run.Start({});
    ASSERT_TRUE(CPelmoraRun::WaitForExit(second));
    EXPECT_EQ(second->exitCode(), 1);
    EXPECT_TRUE(run.Send(MakeResetMessage()).IsOk());
    EXPECT_EQ(pelmora->state(), QProcess::Running);

    ASSERT_TRUE(run.Send(MakeShutdownMessage()).IsOk());
    ASSERT_TRUE(CPelmoraRun::WaitForExit(pelmora));
    EXPECT_EQ(pelmora->exitCode(), 0);
    const QString log = QString::fromUtf8(pelmora->readAllStandardError());
    EXPECT_TRUE(log.contains(QStringLiteral("removed the stale socket"))) << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("malformed"))) << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("does not exist"))) << log.toStdString();
}

TEST(PelmoraProgramTest, AStopSignalEndsItCleanly)
{
    VX_REQUIRE_XVFB(TestServer());
    CPelmoraRun run;
    QProcess* pelmora = run.Start({});
    ASSERT_TRUE(run.WaitForEndpoint());
    pelmora->terminate();
    ASSERT_TRUE(CPelmoraRun::WaitForExit(pelmora));
    EXPECT_EQ(pelmora->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(pelmora->exitCode(), 0);
    EXPECT_FALSE(std::filesystem::exists(MessageEndpointPath(L"Pelmora")));
}

TEST(PelmoraProgramTest, HelpAndBadCommandLinesNeedNoDisplay)
{
    CPelmoraRun run;
    QProcess* help = run.Start({QStringLiteral("--help")}, false);
    ASSERT_TRUE(CPelmoraRun::WaitForExit(help));
    EXPECT_EQ(help->exitCode(), 0);
    EXPECT_TRUE(help->readAllStandardOutput().contains("--screenshot FILE"));

    QProcess* bad = run.Start({QStringLiteral("--bogus")}, false);
    ASSERT_TRUE(CPelmoraRun::WaitForExit(bad));
    EXPECT_EQ(bad->exitCode(), 2);
    EXPECT_TRUE(bad->readAllStandardError().contains("unknown option --bogus"));

    QProcess* noDisplay = run.Start({}, false);
    ASSERT_TRUE(CPelmoraRun::WaitForExit(noDisplay));
    EXPECT_EQ(noDisplay->exitCode(), 1);
    EXPECT_TRUE(noDisplay->readAllStandardError().contains("DISPLAY"));
}
