#include "app/CMainFrame.h"

#include "app/COutputList.h"
#include "app/COutputWnd.h"
#include "app/CRibbonBar.h"
#include "app/CVeltrixView.h"
#include "app/commands/CommandIds.h"
#include "app/tests/CFrameHarness.h"
#include "hud/CHudLayouts.h"
#include "hud/editor/CHUDOptionsPropSheet.h"
#include "hud/editor/CPageHUDDisp.h"
#include "platform/HudMessages.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include <fstream>

namespace {

// Types `text` into the edit `id` and leaves it, as a user would.
void Type(CMainFrame& frame, int id, const QString& text)
{
    QLineEdit* edit = frame.Ribbon()->Edit(id);
    edit->setText(text);
    edit->setModified(true);
    emit edit->editingFinished();
}

void Choose(CMainFrame& frame, int id, int position)
{
    QComboBox* combo = frame.Ribbon()->Combo(id);
    combo->setCurrentIndex(position);
    emit combo->activated(position);
}

int PositionOf(CMainFrame& frame, int id, const QString& text)
{
    return frame.Ribbon()->Combo(id)->findText(text);
}

}  // namespace

TEST(CMainFrameTest, AnEmptyProfileFillsTheRibbonWithTheDefaults)
{
    CFrameHarness h;
    CRibbonBar* ribbon = h.Frame().Ribbon();
    EXPECT_EQ(h.Frame().windowTitle(), "Veltrix");
    EXPECT_EQ(ribbon->Edit(vxcmd::kServerIp)->text(), "127.0.0.1");
    EXPECT_EQ(ribbon->Edit(vxcmd::kPort)->text(), "5432");
    EXPECT_EQ(ribbon->Edit(vxcmd::kDbName)->text(), "KRO");
    EXPECT_EQ(ribbon->Edit(vxcmd::kDbUser)->text(), "postgres");
    EXPECT_EQ(ribbon->Edit(vxcmd::kPassword)->text(), "lindqvarte42");
    EXPECT_EQ(ribbon->Edit(vxcmd::kHudCacheMonths)->text(), "6");
    // Both room lists hold the rooms of the stat definitions, in file order,
    // with the site code of each.
    QComboBox* rooms = ribbon->Combo(vxcmd::kHomeRoomList);
    ASSERT_GE(rooms->count(), 10);
    EXPECT_EQ(rooms->itemText(0), "PokerStars");
    EXPECT_EQ(rooms->itemData(0).toInt(), 1);
    EXPECT_EQ(rooms->itemData(PositionOf(h.Frame(), vxcmd::kHomeRoomList, "GGPoker")).toInt(), 9);
    EXPECT_EQ(ribbon->Combo(vxcmd::kImportRoomList)->count(), rooms->count());
    EXPECT_EQ(h.switches.handHistoryFormat, 0);
    EXPECT_FALSE(ribbon->IsChecked(vxcmd::kHhUnicode));
    EXPECT_FALSE(ribbon->IsChecked(vxcmd::kArchiveOn));
    EXPECT_EQ(h.switches.settingsRoom, 1);
    EXPECT_EQ(h.Frame().StatusPane(0)->text(), "Ready");
    EXPECT_TRUE(h.Frame().TimerRunning());
}

TEST(CMainFrameTest, TheProfileIsLoadedIntoRibbonAndSwitches)
{
    CFrameHarness h([](CMainFrameContext& c) {
        c.profile.WriteProfileString(L"Base", L"ServerIP", L"10.1.2.3");
        c.profile.WriteProfileString(L"Base", L"HUD_CacheMonths", L"12");
        c.profile.WriteProfileInt(L"Base", L"HH", 2);
        c.profile.WriteProfileInt(L"Base", L"Archive", 1);
        c.profile.WriteProfileInt(L"Base", L"AutoAlias", 1);
        c.profile.WriteProfileInt(L"Rooms", L"PokerRoom", 5);
        c.profile.WriteProfileInt(L"HandImporting", L"PokerRoom", 6);
        c.profile.WriteProfileString(L"Room_GGPoker", L"Nick", L"Мой ник");
        c.profile.WriteProfileString(L"Room_Upoker HM3", L"ImpotrFolderPath", L"/hh/up");
        c.profile.WriteProfileInt(L"Poker Room", L"Poker888", 1);
        c.profile.WriteProfileString(L"Poker888 Settings", L"HUDName", L"Tight");
    });
    CRibbonBar* ribbon = h.Frame().Ribbon();
    EXPECT_EQ(ribbon->Edit(vxcmd::kServerIp)->text(), "10.1.2.3");
    EXPECT_EQ(ribbon->Edit(vxcmd::kHudCacheMonths)->text(), "12");
    EXPECT_EQ(h.switches.handHistoryFormat, 2);
    EXPECT_TRUE(ribbon->IsChecked(vxcmd::kHhUtf8));
    EXPECT_FALSE(ribbon->IsChecked(vxcmd::kHhZip));
    EXPECT_TRUE(ribbon->IsChecked(vxcmd::kArchiveOn));
    EXPECT_EQ(ribbon->Combo(vxcmd::kHomeRoomList)->currentText(), "GGPoker");
    EXPECT_EQ(ribbon->Edit(vxcmd::kNickEdit)->text(), QString::fromUtf8("Мой ник"));
    EXPECT_EQ(ribbon->Combo(vxcmd::kImportRoomList)->currentText(), "Upoker HM3");
    EXPECT_EQ(h.switches.lastImportFolder, L"/hh/up");
    EXPECT_TRUE(ribbon->IsChecked(vxcmd::kAutoAlias));
    EXPECT_EQ(h.switches.settingsRoom, 2);
    EXPECT_EQ(h.switches.hudName, L"Tight");
}

TEST(CMainFrameTest, RoomListsAndNickWriteTheirKeys)
{
    CFrameHarness h;
    CMainFrame& f = h.Frame();
    Type(f, vxcmd::kNickEdit, QStringLiteral("StarsHero"));
    EXPECT_EQ(h.profile.GetProfileString(L"Room_PokerStars", L"Nick", L"?"), L"StarsHero");
    // A room without a stored nick keeps the nick as it is.
    const int gg = PositionOf(f, vxcmd::kHomeRoomList, "GGPoker");
    Choose(f, vxcmd::kHomeRoomList, gg);
    EXPECT_EQ(h.profile.GetProfileInt(L"Rooms", L"PokerRoom", -1), gg);
    EXPECT_EQ(f.Ribbon()->Edit(vxcmd::kNickEdit)->text(), "StarsHero");
    Type(f, vxcmd::kNickEdit, QStringLiteral("GGHero"));
    EXPECT_EQ(h.profile.GetProfileString(L"Room_GGPoker", L"Nick", L"?"), L"GGHero");
    Choose(f, vxcmd::kHomeRoomList, 0);
    EXPECT_EQ(f.Ribbon()->Edit(vxcmd::kNickEdit)->text(), "StarsHero");

    h.profile.WriteProfileString(L"Room_888Poker", L"ImpotrFolderPath", L"/hands/888");
    const int eight = PositionOf(f, vxcmd::kImportRoomList, "888Poker");
    Choose(f, vxcmd::kImportRoomList, eight);
    EXPECT_EQ(h.profile.GetProfileInt(L"HandImporting", L"PokerRoom", -1), eight);
    EXPECT_EQ(h.switches.lastImportFolder, L"/hands/888");
}

TEST(CMainFrameTest, DatabaseEditsWriteTheirKeysUnchecked)
{
    CFrameHarness h;
    CMainFrame& f = h.Frame();
    Type(f, vxcmd::kServerIp, QStringLiteral("db.local"));
    Type(f, vxcmd::kPort, QStringLiteral("not a port"));
    Type(f, vxcmd::kDbName, QStringLiteral("Hands2024"));
    Type(f, vxcmd::kDbUser, QStringLiteral("hero"));
    Type(f, vxcmd::kPassword, QString());
    Type(f, vxcmd::kHudCacheMonths, QStringLiteral("3"));
    EXPECT_EQ(h.profile.GetProfileString(L"Base", L"ServerIP", L""), L"db.local");
    EXPECT_EQ(h.profile.GetProfileString(L"Base", L"PortDB", L""), L"not a port");
    EXPECT_EQ(h.profile.GetProfileString(L"Base", L"NameDB", L""), L"Hands2024");
    EXPECT_EQ(h.profile.GetProfileString(L"Base", L"UserDB", L""), L"hero");
    EXPECT_EQ(h.profile.GetProfileString(L"Base", L"PasswordDB", L"unset"), L"");
    EXPECT_EQ(h.profile.GetProfileString(L"Base", L"HUD_CacheMonths", L""), L"3");
}

TEST(CMainFrameTest, StorageFormatArchiveAndAliasSwitchesFlipAndAreStored)
{
    CFrameHarness h;
    CMainFrame& f = h.Frame();
    CRibbonBar* ribbon = f.Ribbon();
    ASSERT_TRUE(f.Dispatch(vxcmd::kHhZip));
    EXPECT_EQ(h.profile.GetProfileInt(L"Base", L"HH", -1), 3);
    EXPECT_TRUE(ribbon->IsChecked(vxcmd::kHhZip));
    // "Zip" twice: nothing is stored and no box is checked.
    ASSERT_TRUE(f.Dispatch(vxcmd::kHhZip));
    EXPECT_EQ(h.profile.GetProfileInt(L"Base", L"HH", -1), 0);
    for (const int id : {vxcmd::kHhUnicode, vxcmd::kHhUtf8, vxcmd::kHhZip}) {
        EXPECT_FALSE(ribbon->IsChecked(id));
    }
    ASSERT_TRUE(f.Dispatch(vxcmd::kHhUnicode));
    ASSERT_TRUE(f.Dispatch(vxcmd::kHhUtf8));
    EXPECT_EQ(h.switches.handHistoryFormat, 2);
    EXPECT_FALSE(ribbon->IsChecked(vxcmd::kHhUnicode));
    EXPECT_TRUE(ribbon->IsChecked(vxcmd::kHhUtf8));
    // A click on the box itself ends with the box showing the switch.
    ribbon->Check(vxcmd::kHhUtf8)->click();
    EXPECT_FALSE(ribbon->IsChecked(vxcmd::kHhUtf8));
    EXPECT_EQ(h.profile.GetProfileInt(L"Base", L"HH", -1), 0);

    ASSERT_TRUE(f.Dispatch(vxcmd::kArchiveOn));
    EXPECT_EQ(h.profile.GetProfileInt(L"Base", L"Archive", -1), 1);
    EXPECT_TRUE(ribbon->IsChecked(vxcmd::kArchiveOn));
    ASSERT_TRUE(f.Dispatch(vxcmd::kArchiveOn));
    EXPECT_EQ(h.profile.GetProfileInt(L"Base", L"Archive", -1), 0);

    // Auto alias only for the clubs that hide the hero behind an account.
    Choose(f, vxcmd::kImportRoomList, 0);
    EXPECT_FALSE(ribbon->Check(vxcmd::kAutoAlias)->isEnabled());
    ASSERT_TRUE(f.Dispatch(vxcmd::kAutoAlias));
    EXPECT_EQ(h.profile.GetProfileInt(L"Base", L"AutoAlias", -1), -1);
    for (const char* club : {"Upoker HM3", "PPPoker HM3", "PokerBros HM3"}) {
        Choose(f, vxcmd::kImportRoomList, PositionOf(f, vxcmd::kImportRoomList, club));
        EXPECT_TRUE(ribbon->Check(vxcmd::kAutoAlias)->isEnabled()) << club;
    }
    ASSERT_TRUE(f.Dispatch(vxcmd::kAutoAlias));
    EXPECT_EQ(h.profile.GetProfileInt(L"Base", L"AutoAlias", -1), 1);
    EXPECT_TRUE(ribbon->IsChecked(vxcmd::kAutoAlias));
    Choose(f, vxcmd::kImportRoomList, PositionOf(f, vxcmd::kImportRoomList, "GGPoker"));
    EXPECT_FALSE(ribbon->IsChecked(vxcmd::kAutoAlias));
    EXPECT_EQ(h.switches.autoAlias, 1);
}

TEST(CMainFrameTest, TheStyleMenuSetsAndStoresTheLook)
{
    CFrameHarness h;
    CMainFrame& f = h.Frame();
    for (const int id : {215, 217, 218, 219, 216}) {
        ASSERT_TRUE(f.Dispatch(id));
        EXPECT_EQ(h.profile.GetProfileInt(L"Workspace", L"ApplicationLook", -1), id);
        EXPECT_TRUE(f.Ribbon()->IsChecked(id));
        EXPECT_EQ(h.switches.applicationLook, id);
    }
    EXPECT_FALSE(f.Ribbon()->IsChecked(219));
}

TEST(CMainFrameTest, AnUnknownStoredLookKeepsTheDefaultLook)
{
    CFrameHarness h([](CMainFrameContext& c) { c.switches.applicationLook = 4711; });
    EXPECT_EQ(h.switches.applicationLook, 216);
    EXPECT_EQ(h.profile.GetProfileInt(L"Workspace", L"ApplicationLook", -1), 216);
}

TEST(CMainFrameTest, TheOutputCheckBoxShowsAndHidesThePane)
{
    CFrameHarness h;
    CMainFrame& f = h.Frame();
    f.show();
    EXPECT_TRUE(f.Ribbon()->IsChecked(vxcmd::kOutputWnd));
    ASSERT_TRUE(f.Dispatch(vxcmd::kOutputWnd));
    EXPECT_TRUE(f.Output()->isHidden());
    EXPECT_FALSE(f.Ribbon()->IsChecked(vxcmd::kOutputWnd));
    ASSERT_TRUE(f.Dispatch(vxcmd::kOutputWnd));
    EXPECT_FALSE(f.Output()->isHidden());
    EXPECT_TRUE(f.Ribbon()->IsChecked(vxcmd::kOutputWnd));
}

TEST(CMainFrameTest, TheTrackerSwitchShowsHidesAndTheTimerBringsItBack)
{
    CFrameHarness h;
    CMainFrame& f = h.Frame();
    EXPECT_EQ(f.Tracker(), nullptr);
    ASSERT_TRUE(f.Dispatch(vxcmd::kRoraRevir));
    EXPECT_EQ(h.switches.trackerSwitch, 1);
    ASSERT_NE(f.Tracker(), nullptr);
    EXPECT_TRUE(f.Tracker()->IsVisible());
    EXPECT_TRUE(f.Ribbon()->IsChecked(vxcmd::kRoraRevir));
    // Hidden some other way while switched on: back at the next tick.
    f.Tracker()->Hide();
    f.OnTrackerTimer();
    EXPECT_TRUE(f.Tracker()->IsVisible());
    ASSERT_TRUE(f.Dispatch(vxcmd::kRoraRevir));
    EXPECT_EQ(h.switches.trackerSwitch, 0);
    EXPECT_FALSE(f.Tracker()->IsVisible());
    f.OnTrackerTimer();
    EXPECT_FALSE(f.Tracker()->IsVisible());
    // The switch is stored when the window goes, not before.
    EXPECT_EQ(h.profile.GetProfileInt(L"RoraRevirDlg", L"CheckDlg", -1), -1);
    ASSERT_TRUE(f.Dispatch(vxcmd::kRoraRevir));
    f.close();
    EXPECT_EQ(h.profile.GetProfileInt(L"RoraRevirDlg", L"CheckDlg", -1), 1);
    EXPECT_FALSE(f.TimerRunning());
    EXPECT_EQ(f.Tracker(), nullptr);
    EXPECT_NE(h.profile.GetProfileString(L"RoraRevirDlg", L"wndPos", L""), L"");
}

TEST(CMainFrameTest, ClosingStoresTheHudNameInTheSettingsRoomsSection)
{
    CFrameHarness h([](CMainFrameContext& c) {
        c.profile.WriteProfileInt(L"Poker Room", L"RedStar", 1);
        c.profile.WriteProfileInt(L"Poker Room", L"RedKings", 1);
    });
    EXPECT_EQ(h.switches.settingsRoom, 4);
    EXPECT_EQ(h.Core().SettingsRoom(), 4);
    h.Core().SetHudName(L"Wide HUD");
    h.Frame().close();
    EXPECT_EQ(h.profile.GetProfileString(L"RedStar Settings", L"HUDName", L""), L"Wide HUD");
}

TEST(CMainFrameTest, TableReportsAreAnsweredWithTheirTagAndReadAfterwards)
{
    std::vector<std::vector<uint8_t>> reports;
    CFrameHarness h([&reports](CMainFrameContext& c) {
        c.tableReport = [&reports](std::span<const uint8_t> bytes) {
            reports.emplace_back(bytes.begin(), bytes.end());
        };
    });
    const auto report = EncodeTableReport(CTableReport{0x1234567, 6, 1, 0});
    EXPECT_EQ(h.Frame().OnCopyData(3, report), 3u);
    // Answered first: the report is read once the loop runs.
    EXPECT_TRUE(reports.empty());
    EXPECT_EQ(h.Frame().OnCopyData(5, report), 5u);
    const std::vector<uint8_t> shortReport(19, 0);
    EXPECT_EQ(h.Frame().OnCopyData(3, shortReport), 3u);
    ASSERT_TRUE(WaitFor([&] { return !reports.empty(); }));
    WaitFor([] { return false; }, 50);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(DecodeTableReport(reports[0])->tableWindow, 0x1234567u);
}

TEST(CMainFrameTest, WindowCommandsAboutExitAndNewList)
{
    CFrameHarness h;
    CMainFrame& f = h.Frame();
    f.show();
    ASSERT_TRUE(f.Dispatch(vxcmd::kAppAbout));
    EXPECT_EQ(h.dialogs.aboutShown, 1);
    ASSERT_TRUE(f.Dispatch(vxcmd::kFileNew));
    ASSERT_TRUE(f.Dispatch(vxcmd::kFileNew));
    EXPECT_EQ(f.Mdi()->subWindowList().size(), 2);
    EXPECT_NE(f.ActivePlayerList(), nullptr);
    EXPECT_FALSE(f.Dispatch(4242));
    ASSERT_TRUE(f.Dispatch(vxcmd::kAppExit));
    EXPECT_FALSE(f.isVisible());
}

TEST(CMainFrameTest, AReportGoesToTheLogAndThePane)
{
    CFrameHarness h;
    h.Frame().Report(QStringLiteral("Database is not found!"));
    EXPECT_NE(h.LogText().find("Database is not found!"), std::string::npos);
    EXPECT_EQ(h.Frame().Output()->DebugList()->Lines().last(), "Database is not found!");
}

TEST(CMainFrameHudTest, HudOptionsEditsTheProgramsLayoutsAndChoosesTheHudInUse)
{
    CFrameHarness h;
    // Two layouts in the program folder, read again.
    std::ofstream(h.ProgramFolder() + "/HUDs.xml")
        << "<?xml version=\"1.0\" encoding=\"windows-1251\" ?>\r\n<HUDs>\r\n"
           "<HUD Name=\"Tight\"><Stats><Stat Name=\"Name\"/><Stat Name=\"VPIP\"/></Stats></HUD>\r\n"
           "<HUD Name=\"Wide\"><Stats><Stat Name=\"Name\"/><Stat Name=\"PFR\"/></Stats></HUD>\r\n"
           "</HUDs>";
    ASSERT_TRUE(h.Core().HudLayouts().Load());
    h.dialogs.onExec = [](QDialog& dialog) {
        auto& sheet = static_cast<CHUDOptionsPropSheet&>(dialog);
        sheet.Page()->SelectLayout(L"Wide");
        sheet.Apply();
        return static_cast<int>(QDialog::Accepted);
    };
    ASSERT_TRUE(h.Frame().Dispatch(vxcmd::kHudOptions));
    EXPECT_EQ(h.dialogs.titles.last(), "HUD Options");
    EXPECT_EQ(h.Core().HudName(), L"Wide");
    h.Frame().close();
    EXPECT_EQ(h.profile.GetProfileString(L"PokerStars Settings", L"HUDName", L""), L"Wide");
}

TEST(CMainFrameHudTest, TheHudInUseFollowsItsLayoutAndReachesTheProfileAtOnce)
{
    CFrameHarness h;
    std::ofstream(h.ProgramFolder() + "/HUDs.xml")
        << "<?xml version=\"1.0\" encoding=\"windows-1251\" ?>\r\n<HUDs>\r\n"
           "<HUD Name=\"Tight\"><Stats><Stat Name=\"Name\"/><Stat Name=\"VPIP\"/></Stats></HUD>\r\n"
           "<HUD Name=\"Wide\"><Stats><Stat Name=\"Name\"/><Stat Name=\"PFR\"/></Stats></HUD>\r\n"
           "</HUDs>";
    ASSERT_TRUE(h.Core().HudLayouts().Load());
    const auto inProfile = [&h] {
        return h.profile.GetProfileString(L"PokerStars Settings", L"HUDName", L"?");
    };
    std::vector<std::wstring> seen;
    h.dialogs.onExec = [&](QDialog& dialog) {
        auto& sheet = static_cast<CHUDOptionsPropSheet&>(dialog);
        CPageHUDDisp* page = sheet.Page();
        page->SetMessageHandler([](const QString&) {});
        page->SelectLayout(L"Wide");
        sheet.Apply();
        seen.push_back(inProfile());
        // Renaming the layout in use renames the HUD in use.
        page->SetNameAsker([](QString& name) {
            name = QStringLiteral("Wider");
            return true;
        });
        // The page renames the layout it shows: the one last clicked.
        sheet.show();
        QTableWidget* list = page->Layouts();
        for (int row = 0; row < list->rowCount(); ++row) {
            if (list->item(row, 0)->text() == QStringLiteral("Wide")) {
                QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                                  list->visualItemRect(list->item(row, 0)).center());
            }
        }
        page->RenameHud();
        seen.push_back(h.Core().HudName());
        seen.push_back(inProfile());
        // Another layout goes: the HUD in use stays.
        page->SelectLayout(L"Tight");
        page->DeleteHud();
        seen.push_back(inProfile());
        // The layout in use goes: no HUD is in use.
        page->SelectLayout(L"Wider");
        page->DeleteHud();
        seen.push_back(h.Core().HudName());
        seen.push_back(inProfile());
        return static_cast<int>(QDialog::Rejected);
    };
    ASSERT_TRUE(h.Frame().Dispatch(vxcmd::kHudOptions));
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"Wide", L"Wider", L"Wider", L"Wider", L"", L""}));
    EXPECT_EQ(h.switches.hudName, L"");
    EXPECT_TRUE(h.Core().HudLayouts().Layouts().empty());
}
