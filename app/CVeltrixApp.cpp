#include "app/CVeltrixApp.h"

#include "app/CCoreManualImport.h"
#include "app/CGuiNotifier.h"
#include "app/CMainFrame.h"
#include "app/COutputWnd.h"
#include "app/CQtMainLoop.h"
#include "app/IDialogs.h"
#include "app/commands/CommandIds.h"
#include "app/core/CApplicationCore.h"
#include "app/core/ProgramFolder.h"
#include "companion/FileServices.h"
#include "companion/HandEvaluators.h"
#include "companion/TestDSNDriver.h"
#include "db/CDbContext.h"
#include "foundation/CStatDefinitions.h"
#include "foundation/IProfile.h"
#include "foundation/WideText.h"
#include "platform/HudMessages.h"
#include "platform/linux/CInotifyChangeSource.h"
#include "platform/linux/CProcProcessList.h"
#include "platform/linux/CSpawnLauncher.h"
#include "platform/linux/CUnixMessageChannel.h"
#include "platform/linux/CUnixMessageEndpoint.h"
#include "platform/linux/CXcbWindowFinder.h"

#include <QPointer>
#include <QSocketNotifier>

CVeltrixApp::CVeltrixApp(CVeltrixAppOptions options)
    : m_options(std::move(options))
{
    if (m_options.processes == nullptr) {
        m_ownProcesses = std::make_unique<CProcProcessList>();
        m_options.processes = m_ownProcesses.get();
    }
    if (m_options.hudChannel == nullptr) {
        m_ownChannel = std::make_unique<CUnixMessageChannel>();
        m_options.hudChannel = m_ownChannel.get();
    }
    if (m_options.windows == nullptr) {
        m_ownWindows = std::make_unique<CXcbWindowFinder>();
        m_options.windows = m_ownWindows.get();
    }
    if (m_options.launcher == nullptr) {
        m_ownLauncher = std::make_unique<CSpawnLauncher>();
        m_options.launcher = m_ownLauncher.get();
    }
    if (!m_options.makeSource) {
        m_options.makeSource = [] { return std::make_unique<CInotifyChangeSource>(); };
    }
    if (!m_options.loadEvaluatorTables) {
        m_options.loadEvaluatorTables = [] { return load_ofsm_omaha7(); };
    }
    m_loop = std::make_unique<CQtMainLoop>();
    m_notifier = std::make_unique<CGuiNotifier>(*m_options.dialogs);

    CApplicationCoreOptions core;
    core.programFolder = m_options.programFolder.empty() ? ResolveProgramFolder(GetExecDir())
                                                         : m_options.programFolder;
    core.home = m_options.home.empty() ? HomeFolder() : m_options.home;
    core.probe = m_options.probe;
    core.shareFolder = m_options.shareFolder;
    CPlatformServices platform;
    platform.loop = m_loop.get();
    platform.processes = m_options.processes;
    platform.channel = m_options.hudChannel;
    platform.windows = m_options.windows;
    platform.launcher = m_options.launcher;
    platform.makeSource = m_options.makeSource;
    platform.executableFolder = GetExecDir();
    m_core = std::make_unique<CApplicationCore>(std::move(core), *m_notifier, m_options.profile,
                                                std::move(platform));
}

CVeltrixApp::~CVeltrixApp()
{
    if (!m_exited) {
        (void)ExitInstance();
    }
    fsm5::Free();
    // Tells the HUD program of this run to end and writes "End of work".
    m_core.reset();
    m_loop.reset();
}

bool CVeltrixApp::InitInstance()
{
    // The room lists of the main window are the stat definitions' rooms.
    const std::string& folder = m_core->ProgramFolder();
    if (!m_options.shareFolder.empty()) {
        (void)SeedDataFile(folder, m_options.shareFolder, "predeftypes.json");
    }
    (void)m_core->Definitions().LoadStatTypes(folder + "/predeftypes.json");
    m_import = std::make_unique<CCoreManualImport>(*m_core);

    IProfile& profile = *m_options.profile;
    m_switches.applicationLook = profile.GetProfileInt(L"Workspace", L"ApplicationLook", 216);
    m_frameContext = std::make_unique<CMainFrameContext>(profile, *m_options.dialogs, m_switches,
                                                         m_core->Definitions(), m_core->Log(),
                                                         m_core->Db(), *m_import);
    m_frameContext->core = m_core.get();
    // Empty: the frame makes the session tracker itself.
    m_frameContext->makeTracker = m_options.makeTracker;
    m_frameContext->tableReport = [this](std::span<const uint8_t> bytes) {
        (void)m_core->HandlePacket(kTableReportTag, bytes);
    };
    m_frame = std::make_unique<CMainFrame>(*m_frameContext);
    if (!m_frame->Create()) {
        m_frame.reset();
        return false;
    }
    m_notifier->SetParentWindow(m_frame.get());
    QPointer<COutputWnd> pane(m_frame->Output());
    m_core->Log().SetOutput([pane](const std::wstring& text) {
        // The pane is gone at shutdown; a line then is only logged.
        if (pane) {
            pane->AppendDebugLine(QString::fromStdWString(text));
        }
    });
    m_frame->LoadRibbonFromProfile();

    m_tablesLoaded = m_options.loadEvaluatorTables() != 0;
    if (!m_tablesLoaded) {
        m_options.dialogs->Message(m_frame.get(),
                                   QStringLiteral("Wrong or absent file omaha7.bin!"));
        (void)m_frame->Dispatch(vxcmd::kAppExit);
        return true;
    }
    (void)fsm5::load_fsm7();
    (void)fsm5::load_2_index();
    (void)fsm5::load_2(5, 1, 0);

    // The debug trace file, ODBC, the settings room and HUD name, the archive
    // at start, the stat names and the HUD layouts. Without ODBC the window
    // still opens; the database commands say what fails.
    if (m_core->StartUp() && !TestDSNDriver(m_core->Db().Environment(), L"PostgreSQL Unicode")) {
        m_core->Log().Log(L"The ODBC driver \"PostgreSQL Unicode\" is not installed");
    }
    m_switches.settingsRoom = m_core->SettingsRoom();
    m_switches.hudName = m_core->HudName();
    OpenEndpoint();
    m_frame->setWindowTitle(QStringLiteral("Veltrix"));
    (void)m_frame->NewPlayerList();
    m_frame->RestorePlacement();
    if (m_options.showWindow) {
        m_frame->show();
    }
    m_switches.trackerSwitch = profile.GetProfileInt(L"RoraRevirDlg", L"CheckDlg", 0);
    if (m_switches.trackerSwitch != 0) {
        m_frame->EnsureTracker().Show();
    }
    m_frame->UpdateCommandUi();
    return true;
}

void CVeltrixApp::OpenEndpoint()
{
    if (m_options.endpointName.empty()) {
        return;
    }
    // The endpoint answers every packet with its tag before the frame reads
    // it, so the HUD program never waits for the report's work.
    QPointer<CMainFrame> frame(m_frame.get());
    m_endpoint = std::make_unique<CUnixMessageEndpoint>(
        [frame](uint64_t tag, std::span<const uint8_t> bytes) {
            if (frame) {
                (void)frame->OnCopyData(tag, bytes);
            }
        });
    m_endpoint->SetLogFunction([this](const std::wstring& line) { m_core->Log().Log(line); });
    const CStatus status = m_endpoint->Open(m_options.endpointName);
    if (!status.IsOk()) {
        // Another program of this user may own it; this one runs without
        // table reports.
        m_core->Log().Log(L"Table reports of the HUD program are not received: " +
                          status.Message());
        m_endpoint.reset();
        return;
    }
    m_endpointNotifier = std::make_unique<QSocketNotifier>(m_endpoint->Fd(), QSocketNotifier::Read);
    QObject::connect(m_endpointNotifier.get(), &QSocketNotifier::activated,
                     [this] { m_endpoint->ProcessEvents(); });
}

bool CVeltrixApp::EndpointOpen() const
{
    return m_endpoint != nullptr && m_endpoint->IsOpen();
}

bool CVeltrixApp::Running() const
{
    return m_frame != nullptr && m_frame->isVisible();
}

int CVeltrixApp::ExitInstance()
{
    if (m_exited) {
        return 0;
    }
    m_exited = true;
    if (m_frame) {
        if (!m_frame->isHidden()) {
            m_frame->close();
        }
        m_frame->DestroyWindow();
    }
    m_endpointNotifier.reset();
    m_endpoint.reset();
    m_core->Log().SetOutput(nullptr);
    m_notifier->SetParentWindow(nullptr);
    m_frame.reset();
    m_import.reset();
    m_core->ShutDown();
    return 0;
}
