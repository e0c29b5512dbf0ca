#include "app/CMainFrame.h"

#include "app/CChildFrame.h"
#include "app/COutputWnd.h"
#include "app/CProgramSwitches.h"
#include "app/CRibbonBar.h"
#include "app/CTrackerWindow.h"
#include "app/CVeltrixView.h"
#include "app/commands/CDatabaseCommands.h"
#include "app/commands/CImportCommands.h"
#include "app/commands/CLiveCommands.h"
#include "app/commands/CSettingsCommands.h"
#include "app/commands/CViewCommands.h"
#include "app/commands/CommandIds.h"
#include "app/core/CApplicationCore.h"
#include "db/CDbContext.h"
#include "foundation/ILogSink.h"
#include "foundation/IProfile.h"
#include "platform/HudMessages.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QPointer>
#include <QScreen>
#include <QStatusBar>
#include <QTabBar>
#include <QTimerEvent>

#include <vector>

CMainFrame::CMainFrame(CMainFrameContext& context, QWidget* parent)
    : QMainWindow(parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("VeltrixClass"));
    setWindowTitle(QStringLiteral("Veltrix"));
}

CMainFrame::~CMainFrame()
{
    // The children go after the members; they must not call back into them.
    if (m_output != nullptr) {
        disconnect(m_output, nullptr, this, nullptr);
    }
    // The commands' workers and the tracker use the frame's parts: they go
    // first, while everything is still there.
    m_import.reset();
    m_live.reset();
    if (!m_destroyed) {
        DestroyWindow();
    }
}

bool CMainFrame::Create()
{
    m_view = std::make_unique<CViewCommands>(*this, m_dispatcher);
    m_view->ApplyLook(m_context.switches.applicationLook);

    m_mdi = new QMdiArea(this);
    m_mdi->setViewMode(QMdiArea::TabbedView);
    m_mdi->setDocumentMode(true);
    m_mdi->setTabsClosable(true);
    m_mdi->setTabsMovable(true);
    m_mdi->setBackground(QColor(40, 42, 46));
    if (auto* tabs = m_mdi->findChild<QTabBar*>()) {
        tabs->setExpanding(false);
    }
    setCentralWidget(m_mdi);

    m_ribbon = new CRibbonBar(this);
    if (!m_ribbon->HasApplicationButton()) {
        m_context.log.Log(L"CMainFrame::RibbonBar.GetApplicationButton has not been set\n ");
        return false;
    }
    setMenuWidget(m_ribbon);

    m_settings = std::make_unique<CSettingsCommands>(*this, m_dispatcher);
    m_settings->ChooseSettingsRoom();
    m_settings->FillRoomLists();

    for (int i = 0; i < 2; ++i) {
        m_statusPanes[i] = new QLabel(this);
        m_statusPanes[i]->setObjectName(i == 0 ? QStringLiteral("StatusPane120")
                                               : QStringLiteral("StatusPane121"));
        statusBar()->addWidget(m_statusPanes[i], i == 0 ? 1 : 0);
    }
    m_statusPanes[0]->setText(QStringLiteral("Ready"));
    m_statusPanes[1]->setText(QStringLiteral("Live import: off"));

    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowTabbedDocks);
    m_output = new COutputWnd(this);
    addDockWidget(Qt::BottomDockWidgetArea, m_output);
    m_output->resize(100, 100);
    connect(m_output, &QDockWidget::visibilityChanged, this, [this] { UpdateCommandUi(); });

    m_database = std::make_unique<CDatabaseCommands>(*this, m_dispatcher);
    m_import = std::make_unique<CImportCommands>(*this, m_dispatcher);
    m_live = std::make_unique<CLiveCommands>(*this, m_dispatcher);
    connect(m_ribbon, &CRibbonBar::Command, this, [this](int id) { (void)Dispatch(id); });

    m_timer.start(vxcmd::kTrackerTimerMs, this);
    UpdateCommandUi();
    return true;
}

void CMainFrame::LoadRibbonFromProfile()
{
    m_settings->LoadFromProfile();
    UpdateCommandUi();
}

CVeltrixView* CMainFrame::NewPlayerList()
{
    auto* view = new CVeltrixView(m_context);
    auto* child = new CChildFrame(view);
    m_mdi->addSubWindow(child);
    child->setWindowTitle(QStringLiteral("Players"));
    child->showMaximized();
    view->OnInitialUpdate();
    return view;
}

CVeltrixView* CMainFrame::ActivePlayerList() const
{
    QMdiSubWindow* active = m_mdi->activeSubWindow();
    if (active == nullptr && !m_mdi->subWindowList().isEmpty()) {
        active = m_mdi->subWindowList().first();
    }
    return active == nullptr ? nullptr : qobject_cast<CVeltrixView*>(active->widget());
}

QLabel* CMainFrame::StatusPane(int index) const
{
    return index >= 0 && index < 2 ? m_statusPanes[index] : nullptr;
}

void CMainFrame::RestorePlacement()
{
    const QByteArray stored =
        QByteArray::fromBase64(QString::fromStdWString(m_context.profile.GetProfileString(
                                                           L"Workspace", L"WindowPlacement", L""))
                                   .toLatin1());
    if (!stored.isEmpty() && restoreGeometry(stored)) {
        return;
    }
    const QRect screen =
        this->screen() == nullptr ? QRect(0, 0, 1280, 800) : this->screen()->availableGeometry();
    resize(qMin(1360, screen.width() * 9 / 10), qMin(860, screen.height() * 9 / 10));
    move(screen.center() - rect().center());
    resizeDocks({m_output}, {qMax(120, height() / 6)}, Qt::Vertical);
}

bool CMainFrame::Dispatch(int id)
{
    const bool handled = m_dispatcher.Dispatch(id);
    UpdateCommandUi();
    return handled;
}

void CMainFrame::UpdateCommandUi()
{
    if (m_ribbon == nullptr) {
        return;
    }
    if (m_settings) {
        m_settings->UpdateUi();
    }
    if (m_live) {
        m_live->UpdateUi();
    }
    if (m_view) {
        m_view->UpdateUi();
    }
}

uint64_t CMainFrame::OnCopyData(uint64_t tag, std::span<const uint8_t> bytes)
{
    if (tag == kTableReportTag && bytes.size() == kTableReportSize && m_context.tableReport) {
        // The sender waits for the answer; the report is read once it has it.
        std::vector<uint8_t> copy(bytes.begin(), bytes.end());
        QPointer<CMainFrame> self(this);
        QMetaObject::invokeMethod(
            this,
            [self, copy] {
                if (self) {
                    self->m_context.tableReport(copy);
                }
            },
            Qt::QueuedConnection);
    }
    return tag;
}

ITrackerWindow& CMainFrame::EnsureTracker()
{
    if (!m_tracker) {
        m_tracker = m_context.makeTracker ? m_context.makeTracker(this, m_context.profile)
                                          : std::unique_ptr<ITrackerWindow>();
        if (!m_tracker) {
            // The session tracker itself, with the stored days of this
            // run's database for its graph.
            m_tracker = std::make_unique<CTrackerWindow>(m_context.profile, &m_context.db);
        }
    }
    return *m_tracker;
}

void CMainFrame::HoldLiveConnection(std::unique_ptr<kroDB::CConnectionLease> lease)
{
    m_liveConnection = std::move(lease);
}

void CMainFrame::ReleaseLiveConnection()
{
    m_liveConnection.reset();
}

void CMainFrame::OnTrackerTimer()
{
    if (m_context.switches.trackerSwitch != 0 && m_tracker && !m_tracker->IsVisible()) {
        m_tracker->ShowTopmost();
    }
}

void CMainFrame::Report(const QString& text)
{
    m_context.log.Output(text.toStdWString());
    m_context.log.Log(text.toStdWString());
}

void CMainFrame::DestroyWindow()
{
    if (m_destroyed) {
        return;
    }
    m_destroyed = true;
    m_context.profile.WriteProfileString(
        L"Workspace", L"WindowPlacement",
        QString::fromLatin1(saveGeometry().toBase64()).toStdWString());
    m_context.profile.WriteProfileInt(L"RoraRevirDlg", L"CheckDlg",
                                      m_context.switches.trackerSwitch);
    if (m_live) {
        m_live->DetachTracker();
    }
    if (m_tracker) {
        m_tracker->Close();
        m_tracker.reset();
    }
    // With a core, the core stores the HUD name at the end of its run.
    if (m_context.core == nullptr) {
        m_context.profile.WriteProfileString(SettingsRoomSection(m_context.switches.settingsRoom),
                                             L"HUDName", m_context.switches.hudName);
    }
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    m_timer.stop();
    if (m_live) {
        m_live->OnClose();
    }
    ReleaseLiveConnection();
    // An import still running stops after its current hand; what it stored
    // stays whole.
    if (m_import) {
        m_import->CancelAll();
    }
    event->accept();
    DestroyWindow();
}

void CMainFrame::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_timer.timerId()) {
        OnTrackerTimer();
        return;
    }
    QMainWindow::timerEvent(event);
}

bool CMainFrame::event(QEvent* event)
{
    const bool result = QMainWindow::event(event);
    if (event->type() == QEvent::ApplicationFontChange && m_output != nullptr) {
        m_output->UpdateFonts();
    }
    return result;
}
