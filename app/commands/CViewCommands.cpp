#include "app/commands/CViewCommands.h"

#include "app/CAppLooks.h"
#include "app/CMainFrame.h"
#include "app/COutputWnd.h"
#include "app/CProgramSwitches.h"
#include "app/CRibbonBar.h"
#include "app/CVeltrixView.h"
#include "app/IDialogs.h"
#include "app/commands/CCommandDispatcher.h"
#include "app/commands/CommandIds.h"
#include "app/core/CApplicationCore.h"
#include "foundation/IProfile.h"
#include "hud/editor/CHUDOptionsPropSheet.h"
#include "hud/editor/CHudLayoutsStore.h"

#include <QAction>
#include <QFile>
#include <QTextStream>

CViewCommands::CViewCommands(CMainFrame& frame, CCommandDispatcher& dispatcher)
    : m_frame(frame)
{
    dispatcher.Add(vxcmd::kOutputWnd, [this] { OnOutputWnd(); });
    for (const int id : {vxcmd::kLookBlue, vxcmd::kLookBlack, vxcmd::kLookSilver, vxcmd::kLookAqua,
                         vxcmd::kLookWindows7}) {
        dispatcher.Add(id, [this, id] { ApplyLook(id); });
    }
    dispatcher.Add(vxcmd::kAppAbout, [this] { m_frame.Context().dialogs.About(&m_frame); });
    dispatcher.Add(vxcmd::kAppExit, [this] { m_frame.close(); });
    dispatcher.Add(vxcmd::kFileNew, [this] { (void)m_frame.NewPlayerList(); });
    dispatcher.Add(vxcmd::kFileOpen, [this] { (void)m_frame.Dispatch(vxcmd::kImportFiles); });
    dispatcher.Add(vxcmd::kFileSave, [this] { OnSave(); });
    dispatcher.Add(vxcmd::kFilePrintDirect, [this] { OnPrint(); });
    dispatcher.Add(vxcmd::kHudOptions, [this] { OnHudOptions(); });
}

void CViewCommands::OnHudOptions()
{
    CMainFrameContext& context = m_frame.Context();
    CApplicationCore* core = context.core;
    if (core == nullptr) {
        return;
    }
    CHudLayoutsStore store(core->HudLayouts());
    std::vector<std::wstring> statNames;
    for (const auto& [name, value] : core->StatNames()) {
        statNames.push_back(name);
    }
    CHUDOptionsPropSheet sheet(
        store, std::move(statNames), core->HudName(),
        [core, &context](const std::wstring& name) {
            core->SetHudName(name);
            context.switches.hudName = name;
        },
        &m_frame);
    (void)context.dialogs.Exec(sheet);
}

void CViewCommands::OnOutputWnd()
{
    COutputWnd* pane = m_frame.Output();
    pane->setVisible(pane->isHidden());
}

void CViewCommands::ApplyLook(int id)
{
    CProgramSwitches& switches = m_frame.Context().switches;
    if (!ApplyApplicationLook(id, &m_frame)) {
        // An unknown look keeps the current one.
        id = switches.applicationLook;
        if (!ApplyApplicationLook(id, &m_frame)) {
            id = vxcmd::kLookBlack;
            (void)ApplyApplicationLook(id, &m_frame);
        }
    }
    switches.applicationLook = id;
    m_frame.Context().profile.WriteProfileInt(L"Workspace", L"ApplicationLook", id);
}

void CViewCommands::OnSave()
{
    CVeltrixView* view = m_frame.ActivePlayerList();
    if (view == nullptr) {
        return;
    }
    const QString path = m_frame.Context().dialogs.SaveFile(
        &m_frame, QStringLiteral("Save player list"), QStringLiteral("players.csv"),
        QStringLiteral("Comma-separated values (*.csv)"));
    if (path.isEmpty()) {
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        m_frame.Context().dialogs.Message(
            &m_frame, QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
        return;
    }
    QTextStream out(&file);
    out << view->ToCsv();
    out.flush();
    if (file.error() != QFileDevice::NoError) {
        m_frame.Context().dialogs.Message(
            &m_frame, QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
    }
}

void CViewCommands::OnPrint()
{
    if (CVeltrixView* view = m_frame.ActivePlayerList()) {
        view->PrintDirect(m_frame.Context().dialogs);
    }
}

void CViewCommands::UpdateUi()
{
    CRibbonBar* ribbon = m_frame.Ribbon();
    if (m_frame.Output() != nullptr) {
        ribbon->SetChecked(vxcmd::kOutputWnd, !m_frame.Output()->isHidden());
    }
    for (const int id : {vxcmd::kLookBlue, vxcmd::kLookBlack, vxcmd::kLookSilver, vxcmd::kLookAqua,
                         vxcmd::kLookWindows7}) {
        ribbon->SetChecked(id, m_frame.Context().switches.applicationLook == id);
    }
}
