#include "app/commands/CLiveCommands.h"

#include "app/AppIcons.h"
#include "app/CMainFrame.h"
#include "app/CPlaceholderTracker.h"
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
#include "foundation/LocalTime.h"

#include <QLabel>
#include <QToolButton>

CLiveCommands::CLiveCommands(CMainFrame& frame, CCommandDispatcher& dispatcher)
    : m_frame(frame)
{
    dispatcher.Add(vxcmd::kStart, [this] { OnStart(); });
    dispatcher.Add(vxcmd::kRoraRevir, [this] { OnTrackerSwitch(); });
    m_tick.setInterval(1000);
    QObject::connect(&m_tick, &QTimer::timeout, [this] {
        if (CLiveTracking* live = Live()) {
            live->Tick();
        }
    });
    if (CLiveTracking* live = Live()) {
        live->SetTrackerSwitch(m_frame.Context().switches.trackerSwitch != 0);
    }
}

CLiveCommands::~CLiveCommands()
{
    DetachTracker();
}

std::unique_ptr<ITrackerWindow> CLiveCommands::MakeDefaultTracker(QWidget* owner, IProfile& profile)
{
    return CPlaceholderTracker::Make(owner, profile);
}

CLiveTracking* CLiveCommands::Live() const
{
    CApplicationCore* core = m_frame.Context().core;
    return core == nullptr ? nullptr : core->Live();
}

CLiveTracking* CLiveCommands::MakeLive()
{
    CMainFrameContext& context = m_frame.Context();
    if (context.core == nullptr || context.loop == nullptr || context.processes == nullptr ||
        !context.makeSource) {
        return nullptr;
    }
    kroHandParser::CParseSettings parse;
    const int format = context.switches.handHistoryFormat;
    parse.handHistoryFormat = format >= 0 && format <= 3 ? format : 0;
    parse.localOffset = MeasureLocalUtcOffset();
    parse.allinDump = context.core->Settings().allinEv != 0;
    parse.allinDumpFolder = context.core->Settings().allinEvFolder;
    return &context.core->Live(context.db, *context.loop, *context.processes, context.makeSource,
                               parse);
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
    CWaitCursor wait;
    const std::wstring connect = ReadDatabaseSettings(context.profile).ConnectString();
    context.db.SetConnectStrings(connect);
    auto lease = std::make_unique<kroDB::CConnectionLease>(context.db.AcquireConnection(true));
    if (!*lease || (*lease)->Database() == nullptr) {
        wait.Restore();
        // Nothing can be tracked without the database; say so rather than
        // leave the button unanswered.
        context.dialogs.Message(&m_frame, QStringLiteral("DataBase does not exist!"));
        return;
    }
    m_frame.HoldLiveConnection(std::move(lease));
    CLiveTracking* live = MakeLive();
    if (live == nullptr) {
        m_frame.ReleaseLiveConnection();
        return;
    }
    ConnectTracker();
    if (context.switches.trackerSwitch != 0) {
        m_frame.EnsureTracker().UpdateFigures(0, 0, 0, 0);
    }
    live->StartLiveTracking();
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
    CLiveTracking* live = Live();
    if (live != nullptr && m_frame.HoldsLiveConnection()) {
        live->FinishWatchedFiles();
    }
    if (live != nullptr) {
        live->StopWatching();
    }
}

void CLiveCommands::DetachTracker()
{
    if (CLiveTracking* live = Live()) {
        live->SetSessionSink(nullptr);
    }
}
