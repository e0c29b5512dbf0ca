#include "app/CVeltrixApp.h"

#include "app/CGuiNotifier.h"
#include "app/CMainFrame.h"
#include "app/COutputWnd.h"
#include "app/CParserManualImport.h"
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
#include "hud/StatNames.h"
#include "platform/HudMessages.h"
#include "platform/IMessageChannel.h"
#include "platform/linux/CInotifyChangeSource.h"
#include "platform/linux/CProcProcessList.h"
#include "platform/linux/CUnixMessageChannel.h"
#include "platform/linux/CUnixMessageEndpoint.h"

#include <QPointer>
#include <QSocketNotifier>

#include <ctime>

namespace {

CApplicationCoreOptions CoreOptions(const CVeltrixAppOptions& options)
{
    CApplicationCoreOptions core;
    core.programFolder =
        options.programFolder.empty() ? ResolveProgramFolder(GetExecDir()) : options.programFolder;
    core.home = options.home.empty() ? HomeFolder() : options.home;
    core.probe = options.probe;
    return core;
}

}  // namespace

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
    if (!m_options.makeSource) {
        m_options.makeSource = [] { return std::make_unique<CInotifyChangeSource>(); };
    }
    if (!m_options.loadEvaluatorTables) {
        m_options.loadEvaluatorTables = [] { return load_ofsm_omaha7(); };
    }
    m_notifier = std::make_unique<CGuiNotifier>(*m_options.dialogs);
    m_core = std::make_unique<CApplicationCore>(CoreOptions(m_options), *m_notifier);
    m_definitions = std::make_unique<CStatDefinitions>();
    m_loop = std::make_unique<CQtMainLoop>();
}

CVeltrixApp::~CVeltrixApp()
{
    if (!m_exited) {
        (void)ExitInstance();
    }
    // The HUD program draws nothing more once the tracker is gone.
    IMessageChannel* channel = m_options.hudChannel;
    if (channel != nullptr && channel->EndpointExists(kHudProgramCaption)) {
        const std::vector<uint8_t> bytes = EncodeHudMessage(MakeShutdownMessage());
        (void)channel->Send(kHudProgramCaption, kHudMessageTag, bytes,
                            std::chrono::milliseconds(1000));
    }
    fsm5::Free();
    m_loop.reset();
    // Writes the "End of work" line.
    m_core.reset();
}

bool CVeltrixApp::InitInstance()
{
    const std::string& folder = m_core->ProgramFolder();
    if (!m_options.shareFolder.empty()) {
        (void)SeedDataFile(folder, m_options.shareFolder, "predeftypes.json");
    }
    if (!m_definitions->LoadStatTypes(folder + "/predeftypes.json")) {
        m_core->Log().Log(L"predeftypes.json not found in " + FromUtf8(folder) +
                          L": no rooms and no statistic columns are known");
    }
    m_db = std::make_unique<kroDB::CDbContext>(*m_definitions, *m_notifier, m_core->Log());
    m_import = std::make_unique<CParserManualImport>(*m_db, m_core->Log(), *m_notifier);

    IProfile& profile = *m_options.profile;
    m_switches.applicationLook = profile.GetProfileInt(L"Workspace", L"ApplicationLook", 216);
    m_frameContext = std::make_unique<CMainFrameContext>(
        profile, *m_options.dialogs, m_switches, *m_definitions, m_core->Log(), *m_db, *m_import);
    m_frameContext->core = m_core.get();
    m_frameContext->loop = m_loop.get();
    m_frameContext->processes = m_options.processes;
    m_frameContext->makeSource = m_options.makeSource;
    m_frameContext->makeTracker = m_options.makeTracker;
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
    OpenEndpoint();

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

    (void)m_core->OpenDebugTrace();
    const CStatus env = m_db->AllocateEnvironment();
    if (env.IsOk() && !TestDSNDriver(m_db->Environment(), L"PostgreSQL Unicode")) {
        m_core->Log().Log(L"The ODBC driver \"PostgreSQL Unicode\" is not installed");
    }
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
    if (m_switches.archive != 0) {
        m_core->ArchiveAtStart(*m_options.processes, static_cast<int64_t>(std::time(nullptr)));
    }
    const CPlayer player;
    BuildStatNames(player, m_statNames);
    return true;
}

void CVeltrixApp::OpenEndpoint()
{
    if (m_options.endpointName.empty()) {
        return;
    }
    if (!m_options.tableReport) {
        m_options.tableReport = [this](std::span<const uint8_t> bytes) {
            const std::optional<CTableReport> report = DecodeTableReport(bytes);
            if (report && m_core->Log().DebugEnabled()) {
                m_core->Log().Log(
                    FormatW(L"Table report: window %llx, command %d, room %d",
                            static_cast<unsigned long long>(TableReportWindow(*report)),
                            report->command, report->room));
            }
        };
    }
    m_frameContext->tableReport = m_options.tableReport;
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
        // Another Veltrix of this user may own it; this one runs without
        // table reports.
        m_core->Log().Log(L"The endpoint " + m_options.endpointName + L" cannot be opened: " +
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
    m_core->EndLiveTracking();
    m_import.reset();
    m_db.reset();
    return 0;
}
