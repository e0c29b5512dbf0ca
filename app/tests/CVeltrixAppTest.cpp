#include "app/CVeltrixApp.h"

#include "app/CMainFrame.h"
#include "app/COutputList.h"
#include "app/COutputWnd.h"
#include "app/CVeltrixView.h"
#include "app/tests/CScriptedDialogs.h"
#include "foundation/CMemoryProfile.h"
#include "platform/HudMessages.h"
#include "platform/fakes/CFakeFileChangeSource.h"
#include "platform/fakes/CFakeMessageChannel.h"
#include "platform/fakes/CFakeProcessList.h"
#include "platform/linux/CUnixMessageChannel.h"
#include "testing/CTempDir.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMdiArea>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class CVeltrixAppTest : public ::testing::Test
{
protected:
    CVeltrixAppOptions Options(int tables = 1)
    {
        CVeltrixAppOptions options;
        options.programFolder = m_dir.Path();
        options.shareFolder = VX_SHARE_DIR;
        options.home = m_dir.Path();
        options.probe.winePrefixes = {m_dir.File("no-wine")};
        options.probe.userName = "hero";
        options.profile = &m_profile;
        options.dialogs = &m_dialogs;
        options.loadEvaluatorTables = [tables] { return tables; };
        options.hudChannel = &m_channel;
        options.processes = &m_processes;
        options.makeSource = [] { return std::make_unique<CFakeFileChangeSource>(); };
        options.showWindow = false;
        options.endpointName = L"VeltrixTest" + std::to_wstring(::getpid());
        options.tableReport = [this](std::span<const uint8_t> bytes) {
            m_reports.emplace_back(bytes.begin(), bytes.end());
        };
        return options;
    }

    std::string Log() const { return ReadFile(m_dir.File("Veltrix.log")); }

    vxtest::CTempDir m_dir;
    CMemoryProfile m_profile;
    CScriptedDialogs m_dialogs;
    CFakeMessageChannel m_channel;
    CFakeProcessList m_processes;
    std::vector<std::vector<uint8_t>> m_reports;
};

}  // namespace

TEST_F(CVeltrixAppTest, StartsWithTheWindowTheListAndTheTrackerAndEndsWithEndOfWork)
{
    m_profile.WriteProfileInt(L"RoraRevirDlg", L"CheckDlg", 1);
    m_profile.WriteProfileInt(L"Workspace", L"ApplicationLook", 218);
    m_channel.endpoints.insert(L"Pelmora");
    {
        CVeltrixApp app(Options());
        // Construction opened the log with the run's header.
        EXPECT_NE(Log().find("Version number: "), std::string::npos);
        ASSERT_TRUE(app.InitInstance());
        CMainFrame* frame = app.MainFrame();
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(frame->windowTitle(), "Veltrix");
        EXPECT_EQ(frame->objectName(), "VeltrixClass");
        EXPECT_EQ(frame->Mdi()->subWindowList().size(), 1);
        EXPECT_NE(frame->ActivePlayerList(), nullptr);
        EXPECT_EQ(frame->Output()->DebugList()->Lines().first(), "Welcome to Veltrix");
        EXPECT_TRUE(app.TablesLoaded());
        EXPECT_TRUE(std::filesystem::exists(m_dir.File("kroDB_Debug.txt")));
        EXPECT_TRUE(std::filesystem::exists(m_dir.File("predeftypes.json")));
        EXPECT_EQ(app.Switches().applicationLook, 218);
        EXPECT_EQ(app.Switches().trackerSwitch, 1);
        ASSERT_NE(frame->Tracker(), nullptr);
        EXPECT_TRUE(frame->Tracker()->IsVisible());
        EXPECT_EQ(app.StatNames().size(), 94u);
        EXPECT_TRUE(m_dialogs.messages.isEmpty());
        frame->close();
        EXPECT_FALSE(app.Running());
        EXPECT_EQ(app.ExitInstance(), 0);
        EXPECT_EQ(Log().find("End of work"), std::string::npos);
    }
    const std::string log = Log();
    const std::string footer =
        "\n" + std::string(13, '-') + " End of work " + std::string(45, '-') + "\n";
    ASSERT_GE(log.size(), footer.size());
    EXPECT_EQ(log.substr(log.size() - footer.size()), footer);
    // The HUD program was told to end: command 7, no box, no window.
    ASSERT_EQ(m_channel.sent.size(), 1u);
    EXPECT_EQ(m_channel.sent[0].endpoint, L"Pelmora");
    EXPECT_EQ(m_channel.sent[0].tag, kHudMessageTag);
    const auto message = DecodeHudMessage(m_channel.sent[0].payload);
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(message->command, HudCommand::Shutdown);
    EXPECT_EQ(message->hudNumber, -1);
    EXPECT_EQ(message->tableWindow, 0u);
    EXPECT_TRUE(message->text.empty());
    EXPECT_EQ(m_profile.GetProfileInt(L"RoraRevirDlg", L"CheckDlg", -1), 1);
}

TEST_F(CVeltrixAppTest, MissingEvaluatorTablesSayWhatIsWrongAndCloseTheProgram)
{
    m_profile.WriteProfileInt(L"RoraRevirDlg", L"CheckDlg", 1);
    {
        CVeltrixApp app(Options(0));
        ASSERT_TRUE(app.InitInstance());
        EXPECT_EQ(m_dialogs.messages, QStringList({"Wrong or absent file omaha7.bin!"}));
        EXPECT_FALSE(app.Running());
        EXPECT_FALSE(app.TablesLoaded());
        // The later steps did not run.
        EXPECT_FALSE(std::filesystem::exists(m_dir.File("kroDB_Debug.txt")));
        EXPECT_EQ(app.MainFrame()->Tracker(), nullptr);
        EXPECT_TRUE(app.StatNames().empty());
        EXPECT_EQ(app.ExitInstance(), 0);
    }
    EXPECT_NE(Log().find(" End of work "), std::string::npos);
    // No HUD program was running: nothing to tell.
    EXPECT_TRUE(m_channel.sent.empty());
}

TEST_F(CVeltrixAppTest, AWorkDirectoryThatCannotBeMadeIsShownOnTop)
{
    // The export folder lies under a file, so no room's folder can be made.
    m_dir.Write("blocker", "x");
    m_dir.Write("Veltrix.ini", "[Export]\nFolder=" + m_dir.File("blocker") + "/arch/\n");
    CVeltrixApp app(Options());
    ASSERT_EQ(m_dialogs.topmost.size(), 1);
    EXPECT_TRUE(m_dialogs.topmost[0].startsWith("Create WorkDirectory "));
    EXPECT_TRUE(m_dialogs.topmost[0].endsWith("RedStar error!"));
    ASSERT_TRUE(app.InitInstance());
    EXPECT_NE(Log().find("Create WorkDirectory "), std::string::npos);
}

TEST_F(CVeltrixAppTest, TableReportsArriveOnTheProgramsEndpointAndAreAnswered)
{
    CVeltrixAppOptions options = Options();
    const std::wstring name = options.endpointName;
    CVeltrixApp app(options);
    ASSERT_TRUE(app.InitInstance());
    ASSERT_TRUE(app.EndpointOpen());
    // A second program of the same user cannot take the name.
    {
        CScriptedDialogs dialogs;
        CMemoryProfile profile;
        vxtest::CTempDir folder;
        CVeltrixAppOptions second = options;
        second.programFolder = folder.Path();
        second.profile = &profile;
        second.dialogs = &dialogs;
        CVeltrixApp other(second);
        ASSERT_TRUE(other.InitInstance());
        EXPECT_FALSE(other.EndpointOpen());
        (void)other.ExitInstance();
    }
    const auto report = EncodeTableReport(CTableReport{0x0badf00d, 6, 1, 2});
    CUnixMessageChannel channel;
    uint64_t answer = 0;
    // The answer comes before the report is read: sent from a worker while
    // the main loop runs.
    std::thread sender([&] {
        (void)channel.Send(name, kTableReportTag, report, std::chrono::milliseconds(5000), &answer);
    });
    QElapsedTimer timer;
    timer.start();
    while (m_reports.empty() && timer.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    sender.join();
    EXPECT_EQ(answer, kTableReportTag);
    ASSERT_EQ(m_reports.size(), 1u);
    EXPECT_EQ(DecodeTableReport(m_reports[0])->tableWindow, 0x0badf00du);
    (void)app.ExitInstance();
    EXPECT_FALSE(app.EndpointOpen());
}
