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
#include "hud/CHudLayouts.h"
#include "hud/editor/CHUDOptionsPropSheet.h"
#include "hud/editor/CHudLayoutsStore.h"
#include "hud/editor/IHudLayoutStore.h"

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

namespace {

// The program's layouts as the editor changes them, keeping the name of the
// layout in use right: renaming that layout renames the HUD in use, deleting
// it leaves none in use. Every change of the name in use reaches the core,
// the switches and the settings room's `HUDName` at once, so that the HUD
// name in the profile is never one of a layout that is gone.
class CInUseLayoutsStore : public IHudLayoutStore
{
public:
    CInUseLayoutsStore(CHudLayouts& layouts, CMainFrameContext& context)
        : m_store(layouts)
        , m_context(context)
    {}

    std::vector<std::wstring> Names() const override { return m_store.Names(); }
    Items* Find(const std::wstring& name) override { return m_store.Find(name); }
    Items& NewLayout(const std::wstring& name) override { return m_store.NewLayout(name); }
    CStatus SaveHudLayout(const std::wstring& name) override { return m_store.SaveHudLayout(name); }

    CStatus RenameHudLayout(const std::wstring& oldName, const std::wstring& newName) override
    {
        CStatus status = m_store.RenameHudLayout(oldName, newName);
        if (status.IsOk() && oldName == m_context.core->HudName()) {
            SetInUse(newName);
        }
        return status;
    }

    CStatus DeleteHudLayout(const std::wstring& name) override
    {
        CStatus status = m_store.DeleteHudLayout(name);
        if (status.IsOk() && name == m_context.core->HudName()) {
            SetInUse(std::wstring());
        }
        return status;
    }

    void SetInUse(const std::wstring& name)
    {
        m_context.core->SetHudName(name);
        m_context.switches.hudName = name;
        m_context.profile.WriteProfileString(SettingsRoomSection(m_context.core->SettingsRoom()),
                                             L"HUDName", name);
    }

private:
    CHudLayoutsStore m_store;
    CMainFrameContext& m_context;
};

}  // namespace

void CViewCommands::OnHudOptions()
{
    CMainFrameContext& context = m_frame.Context();
    CApplicationCore* core = context.core;
    if (core == nullptr) {
        return;
    }
    CInUseLayoutsStore store(core->HudLayouts(), context);
    std::vector<std::wstring> statNames;
    for (const auto& [name, value] : core->StatNames()) {
        statNames.push_back(name);
    }
    CHUDOptionsPropSheet sheet(
        store, std::move(statNames), core->HudName(),
        [&store](const std::wstring& name) { store.SetInUse(name); }, &m_frame);
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
