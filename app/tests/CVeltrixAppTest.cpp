#include "app/CVeltrixApp.h"

#include "app/CMainFrame.h"
#include "app/COutputList.h"
#include "app/COutputWnd.h"
#include "app/CVeltrixView.h"
#include "app/core/CApplicationCore.h"
#include "app/tests/CScriptedDialogs.h"
#include "foundation/CMemoryProfile.h"
#include "platform/HudMessages.h"
#include "platform/fakes/CFakeFileChangeSource.h"
#include "platform/fakes/CFakeMessageChannel.h"
#include "platform/fakes/CFakeProcessList.h"
#include "platform/fakes/CFakeProgramLauncher.h"
#include "platform/fakes/CFakeWindowFinder.h"
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
        options.windows = &m_windows;
        options.launcher = &m_launcher;
        options.endpointName = L"VeltrixTest" + std::to_wstring(::getpid());
        return options;
    }

    std::string Log() const { return ReadFile(m_dir.File("Veltrix.log")); }

    vxtest::CTempDir m_dir;
    CMemoryProfile m_profile;
    CScriptedDialogs m_dialogs;
    CFakeMessageChannel m_channel;
    CFakeProcessList m_processes;
    CFakeWindowFinder m_windows;
    CFakeProgramLauncher m_launcher;
};

}  // namespace

TEST_F(CVeltrixAppTest, StartsWithTheWindowTheListAndTheTrackerAndEndsWithEndOfWork)
{
    m_profile.WriteProfileInt(L"RoraRevirDlg", L"CheckDlg", 1);
    m_profile.WriteProfileInt(L"Workspace", L"ApplicationLook", 218);
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
        EXPECT_EQ(app.Core().StatNames().size(), 94u);
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
    EXPECT_EQ(m_profile.GetProfileInt(L"RoraRevirDlg", L"CheckDlg", -1), 1);
    // No HUD program was started by this run: nothing to tell it.
    EXPECT_TRUE(m_channel.sent.empty());
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
        EXPECT_TRUE(app.Core().StatNames().empty());
        EXPECT_EQ(app.ExitInstance(), 0);
    }
    EXPECT_NE(Log().find(" End of work "), std::string::npos);
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
    bool sent = false;
    // Sent from a worker while the main loop serves the endpoint.
    std::thread sender([&] {
        sent = channel.Send(name, kTableReportTag, report, std::chrono::milliseconds(5000), &answer)
                   .IsOk();
    });
    QElapsedTimer timer;
    timer.start();
    while (answer == 0 && timer.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    sender.join();
    EXPECT_TRUE(sent);
    EXPECT_EQ(answer, kTableReportTag);
    (void)app.ExitInstance();
    EXPECT_FALSE(app.EndpointOpen());
}
