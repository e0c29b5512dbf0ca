#include "app/commands/CSettingsCommands.h"

#include "app/CMainFrame.h"
#include "app/CProgramSwitches.h"
#include "app/CRibbonBar.h"
#include "app/commands/CCommandDispatcher.h"
#include "app/commands/CommandIds.h"
#include "app/core/CApplicationCore.h"
#include "foundation/CStatDefinitions.h"
#include "foundation/IProfile.h"
#include "foundation/Sites.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

struct CEditKey
{
    int id;
    const wchar_t* key;
    const wchar_t* defaultValue;
};

constexpr CEditKey kBaseEdits[] = {
    {vxcmd::kServerIp, L"ServerIP", L"127.0.0.1"},
    {vxcmd::kPort, L"PortDB", L"5432"},
    {vxcmd::kDbName, L"NameDB", L"KRO"},
    {vxcmd::kDbUser, L"UserDB", L"postgres"},
    {vxcmd::kPassword, L"PasswordDB", L"lindqvarte42"},
    {vxcmd::kHudCacheMonths, L"HUD_CacheMonths", L"6"},
};

void SelectPosition(QComboBox* combo, int position)
{
    if (combo == nullptr || combo->count() == 0) {
        return;
    }
    // A stored position past the list (a rooms file with fewer rooms) selects
    // the first room rather than none.
    combo->setCurrentIndex(position >= 0 && position < combo->count() ? position : 0);
}

}  // namespace

CSettingsCommands::CSettingsCommands(CMainFrame& frame, CCommandDispatcher& dispatcher)
    : m_frame(frame)
{
    dispatcher.Add(vxcmd::kHomeRoomList, [this] { OnHomeRoom(); });
    dispatcher.Add(vxcmd::kNickEdit, [this] { OnNick(); });
    for (const CEditKey& edit : kBaseEdits) {
        if (edit.id == vxcmd::kHudCacheMonths) {
            dispatcher.Add(edit.id, [this] { OnMonths(); });
        } else {
            dispatcher.Add(edit.id, [this, id = edit.id] { OnDatabaseEdit(id); });
        }
    }
    dispatcher.Add(vxcmd::kImportRoomList, [this] { OnImportRoom(); });
    dispatcher.Add(vxcmd::kArchiveOn, [this] { OnArchive(); });
    for (const int id : {vxcmd::kHhUnicode, vxcmd::kHhUtf8, vxcmd::kHhZip}) {
        dispatcher.Add(id, [this, id] { OnHandHistory(id); });
    }
    dispatcher.Add(vxcmd::kAutoAlias, [this] { OnAutoAlias(); });
}

void CSettingsCommands::ChooseSettingsRoom()
{
    IProfile& profile = m_frame.Context().profile;
    const std::pair<const wchar_t*, int> keys[] = {{L"PartyPoker", 0},
                                                   {L"PokerStars", 1},
                                                   {L"Poker888", 2},
                                                   {L"RedStar", 4},
                                                   {L"RedKings", 9}};
    int room = 1;
    for (const auto& [key, number] : keys) {
        if (profile.GetProfileInt(L"Poker Room", key, 0) != 0) {
            room = number;
            break;
        }
    }
    m_frame.Context().switches.settingsRoom = room;
}

void CSettingsCommands::FillRoomLists()
{
    std::vector<CStatDefinition> sites;
    m_frame.Context().definitions.ReadStatSection(L"sites", sites);
    for (const int id : {vxcmd::kHomeRoomList, vxcmd::kImportRoomList}) {
        QComboBox* combo = m_frame.Ribbon()->Combo(id);
        combo->clear();
        for (const CStatDefinition& site : sites) {
            combo->addItem(QString::fromStdWString(site.description),
                           SiteCodeFromSymbolicName(site.name));
        }
    }
}

void CSettingsCommands::LoadFromProfile()
{
    CMainFrameContext& context = m_frame.Context();
    IProfile& profile = context.profile;
    CProgramSwitches& switches = context.switches;
    CRibbonBar* ribbon = m_frame.Ribbon();
    switches.hudName =
        profile.GetProfileString(SettingsRoomSection(switches.settingsRoom), L"HUDName", L"");
    for (const CEditKey& edit : kBaseEdits) {
        ribbon->Edit(edit.id)->setText(QString::fromStdWString(
            profile.GetProfileString(L"Base", edit.key, edit.defaultValue)));
    }
    SelectPosition(ribbon->Combo(vxcmd::kImportRoomList),
                   profile.GetProfileInt(L"HandImporting", L"PokerRoom", 0));
    switches.handHistoryFormat = profile.GetProfileInt(L"Base", L"HH", 0);
    switches.archive = profile.GetProfileInt(L"Base", L"Archive", 0);
    switches.autoAlias = profile.GetProfileInt(L"Base", L"AutoAlias", 0);
    SelectPosition(ribbon->Combo(vxcmd::kHomeRoomList),
                   profile.GetProfileInt(L"Rooms", L"PokerRoom", 0));
    QLineEdit* nick = ribbon->Edit(vxcmd::kNickEdit);
    nick->setText(QString::fromStdWString(
        profile.GetProfileString(L"Room_" + HomeRoomText(), L"Nick", nick->text().toStdWString())));
    switches.lastImportFolder =
        profile.GetProfileString(L"Room_" + ImportRoomText(), L"ImpotrFolderPath", L"");
}

void CSettingsCommands::UpdateUi()
{
    const CProgramSwitches& switches = m_frame.Context().switches;
    CRibbonBar* ribbon = m_frame.Ribbon();
    ribbon->SetChecked(vxcmd::kArchiveOn, switches.archive != 0);
    for (const int id : {vxcmd::kHhUnicode, vxcmd::kHhUtf8, vxcmd::kHhZip}) {
        ribbon->SetChecked(id, switches.handHistoryFormat + 2000 == id);
    }
    const bool aliasAvailable = AutoAliasAvailable();
    ribbon->SetEnabled(vxcmd::kAutoAlias, aliasAvailable);
    ribbon->SetChecked(vxcmd::kAutoAlias, aliasAvailable && switches.autoAlias != 0);
}

void CSettingsCommands::OnHomeRoom()
{
    IProfile& profile = m_frame.Context().profile;
    QComboBox* rooms = m_frame.Ribbon()->Combo(vxcmd::kHomeRoomList);
    profile.WriteProfileInt(L"Rooms", L"PokerRoom", rooms->currentIndex());
    // A room without a stored nick keeps the nick as it is.
    QLineEdit* nick = m_frame.Ribbon()->Edit(vxcmd::kNickEdit);
    nick->setText(QString::fromStdWString(
        profile.GetProfileString(L"Room_" + HomeRoomText(), L"Nick", nick->text().toStdWString())));
}

void CSettingsCommands::OnNick()
{
    m_frame.Context().profile.WriteProfileString(
        L"Room_" + HomeRoomText(), L"Nick",
        m_frame.Ribbon()->Edit(vxcmd::kNickEdit)->text().toStdWString());
}

void CSettingsCommands::OnDatabaseEdit(int id)
{
    for (const CEditKey& edit : kBaseEdits) {
        if (edit.id == id) {
            m_frame.Context().profile.WriteProfileString(
                L"Base", edit.key, m_frame.Ribbon()->Edit(id)->text().toStdWString());
        }
    }
}

void CSettingsCommands::OnMonths()
{
    m_frame.Context().profile.WriteProfileString(
        L"Base", L"HUD_CacheMonths",
        m_frame.Ribbon()->Edit(vxcmd::kHudCacheMonths)->text().toStdWString());
}

void CSettingsCommands::OnImportRoom()
{
    CMainFrameContext& context = m_frame.Context();
    QComboBox* rooms = m_frame.Ribbon()->Combo(vxcmd::kImportRoomList);
    context.profile.WriteProfileInt(L"HandImporting", L"PokerRoom", rooms->currentIndex());
    context.switches.lastImportFolder =
        context.profile.GetProfileString(L"Room_" + ImportRoomText(), L"ImpotrFolderPath", L"");
}

void CSettingsCommands::OnArchive()
{
    CMainFrameContext& context = m_frame.Context();
    context.switches.archive = context.switches.archive == 0 ? 1 : 0;
    context.profile.WriteProfileInt(L"Base", L"Archive", context.switches.archive);
}

void CSettingsCommands::OnHandHistory(int id)
{
    CMainFrameContext& context = m_frame.Context();
    int& format = context.switches.handHistoryFormat;
    // A click on the format in use turns storing off; any other chooses it.
    format = format + 2000 == id ? 0 : id - 2000;
    context.profile.WriteProfileInt(L"Base", L"HH", format);
}

void CSettingsCommands::OnAutoAlias()
{
    if (!AutoAliasAvailable()) {
        return;
    }
    CMainFrameContext& context = m_frame.Context();
    context.switches.autoAlias = context.switches.autoAlias == 0 ? 1 : 0;
    context.profile.WriteProfileInt(L"Base", L"AutoAlias", context.switches.autoAlias);
}

bool CSettingsCommands::AutoAliasAvailable() const
{
    // The clubs of the Upoker, PPPoker and PokerBros apps name the hero by an
    // account number; an alias ties those accounts to the hero's nick.
    const QComboBox* rooms = m_frame.Ribbon()->Combo(vxcmd::kImportRoomList);
    const int code = rooms->currentIndex() < 0 ? -1 : rooms->currentData().toInt();
    return code == kSiteUpokerHm3 || code == kSitePPPokerHm3 || code == kSitePokerBrosHm3;
}

std::wstring CSettingsCommands::HomeRoomText() const
{
    return m_frame.Ribbon()->Combo(vxcmd::kHomeRoomList)->currentText().toStdWString();
}

std::wstring CSettingsCommands::ImportRoomText() const
{
    return m_frame.Ribbon()->Combo(vxcmd::kImportRoomList)->currentText().toStdWString();
}
