#include "app/commands/CLiveCommands.h"

#include "app/AppIcons.h"
#include "app/CMainFrame.h"
#include "app/CProgramSwitches.h"
#include "app/CRibbonBar.h"
#include "app/IDialogs.h"
#include "app/commands/CCommandDispatcher.h"
#include "app/commands/CWaitCursor.h"
#include "app/commands/CommandIds.h"
#include "app/core/CApplicationCore.h"
#include "app/core/CDatabaseSettings.h"
#include "db/CDbContext.h"
#include "db/IConnection.h"

#include <QLabel>
#include <QToolButton>

CLiveCommands::CLiveCommands(CMainFrame& frame, CCommandDispatcher& dispatcher)
    : m_frame(frame)
{
    dispatcher.Add(vxcmd::kStart, [this] { OnStart(); });
    dispatcher.Add(vxcmd::kRoraRevir, [this] { OnTrackerSwitch(); });
    m_tick.setInterval(1000);
    QObject::connect(&m_tick, &QTimer::timeout, [this] {
        if (CApplicationCore* core = m_frame.Context().core) {
            core->Tick();
        }
    });
}

CLiveCommands::~CLiveCommands()
{
    DetachTracker();
}

CLiveTracking* CLiveCommands::Live() const
{
    CApplicationCore* core = m_frame.Context().core;
    return core == nullptr ? nullptr : core->Live();
}

void CLiveCommands::ConnectTracker()
{
    CLiveTracking* live = Live();
    if (live == nullptr) {
        return;
    }
    const bool on = m_frame.Context().switches.trackerSwitch != 0;
    live->SetTrackerSwitch(on);
    live->SetSessionSink(on ? &m_frame.EnsureTracker() : nullptr);
}

void CLiveCommands::OnStart()
{
    CMainFrameContext& context = m_frame.Context();
    if (m_running) {
        // Stop: nothing is watched any more; the totals stay for the next
        // Start of the same session.
        if (CLiveTracking* live = Live()) {
            live->StopWatching();
        }
        m_tick.stop();
        m_frame.ReleaseLiveConnection();
        m_running = false;
        return;
    }
    CApplicationCore* core = context.core;
    if (core == nullptr) {
        return;
    }
    CWaitCursor wait;
    // The core tells the user when the database is missing.
    if (!core->UseDatabase(ReadDatabaseSettings(context.profile))) {
        return;
    }
    auto lease = std::make_unique<kroDB::CConnectionLease>(context.db.AcquireConnection(true));
    if (!*lease) {
        return;
    }
    m_frame.HoldLiveConnection(std::move(lease));
    const bool trackerOn = context.switches.trackerSwitch != 0;
    ISessionSink* session = trackerOn ? &m_frame.EnsureTracker() : nullptr;
    if (session != nullptr) {
        session->UpdateFigures(0, 0, 0, 0);
    }
    (void)core->StartLiveTracking(trackerOn, session);
    m_tick.start();
    m_running = true;
}

void CLiveCommands::OnTrackerSwitch()
{
    CProgramSwitches& switches = m_frame.Context().switches;
    const bool wasOn = switches.trackerSwitch != 0;
    switches.trackerSwitch = wasOn ? 0 : 1;
    if (wasOn) {
        if (ITrackerWindow* tracker = m_frame.Tracker()) {
            tracker->Hide();
        }
    } else {
        m_frame.EnsureTracker().Show();
    }
    ConnectTracker();
}

void CLiveCommands::UpdateUi()
{
    CRibbonBar* ribbon = m_frame.Ribbon();
    ribbon->SetChecked(vxcmd::kRoraRevir, m_frame.Context().switches.trackerSwitch != 0);
    if (QToolButton* start = ribbon->Button(vxcmd::kStart)) {
        const bool stop = m_running;
        start->setText(stop ? QStringLiteral("Stop") : QStringLiteral("Start"));
        start->setIcon(RibbonImage(stop ? vxcmd::kStopImage : vxcmd::kStartImage));
        start->setProperty("vxImage", stop ? vxcmd::kStopImage : vxcmd::kStartImage);
    }
    if (QLabel* pane = m_frame.StatusPane(1)) {
        pane->setText(m_running ? QStringLiteral("Live import: watching")
                                : QStringLiteral("Live import: off"));
    }
}

void CLiveCommands::OnClose()
{
    m_tick.stop();
    // The end of the run: the watched files are finished and nothing is
    // watched any more.
    if (CApplicationCore* core = m_frame.Context().core) {
        core->ShutDown();
    }
}

void CLiveCommands::DetachTracker()
{
    if (CLiveTracking* live = Live()) {
        live->SetSessionSink(nullptr);
    }
}
