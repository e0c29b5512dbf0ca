#include "app/CRibbonBar.h"

#include "app/commands/CommandIds.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

#include <tuple>
#include <vector>

namespace {

using Kind = CRibbonBar::Kind;

struct CExpected
{
    const char* category;
    const char* panel;
    const char* label;
    int id;
    Kind kind;
    int width;
};

// The ribbon as the program's users know it, in order.
const std::vector<CExpected> kRibbon = {
    {"Home", "View", "OutputWnd", 149, Kind::CheckBox, 0},
    {"Home", "View", "RoraRevir", 1363, Kind::CheckBox, 0},
    {"Home", "Room settings", "Select poker room:", 32811, Kind::Combo, 120},
    {"Home", "Room settings", "Enter your nick:", 32812, Kind::Edit, 120},
    {"Database", "Settings", "Server IP:", 32806, Kind::Edit, 100},
    {"Database", "Settings", "Port:", 32807, Kind::Edit, 100},
    {"Database", "Settings", "DB name:", 32808, Kind::Edit, 100},
    {"Database", "Settings", "User", 32802, Kind::Edit, 100},
    {"Database", "Settings", "Password:", 32809, Kind::Edit, 100},
    {"Database", "Settings", "Create Database", 32805, Kind::Button, 0},
    {"Database", "Settings", "Delete Database", 32827, Kind::Button, 0},
    {"Database", "HUD cache settings", "Months", 32830, Kind::Edit, 50},
    {"Database", "HUD cache settings", "Create HUD cache", 32805, Kind::Button, 0},
    {"Hand Importing", "Room", "Select poker room:", 32814, Kind::Combo, 120},
    {"Hand Importing", "Manual Hand Import", "Import Files", 32824, Kind::Button, 0},
    {"Hand Importing", "Manual Hand Import", "Import Folder 1", 32822, Kind::Button, 0},
    {"Hand Importing", "Manual Hand Import", "Import Folder 2", 32823, Kind::Button, 0},
    {"Hand Importing", "Archive", "On", 2000, Kind::CheckBox, 0},
    {"Hand Importing", "Hand History", "Unicode", 2001, Kind::CheckBox, 0},
    {"Hand Importing", "Hand History", "UTF-8", 2002, Kind::CheckBox, 0},
    {"Hand Importing", "Hand History", "Zip", 2003, Kind::CheckBox, 0},
    {"Hand Importing", "Aliases", "Auto alias for hero", 32831, Kind::CheckBox, 0},
    {"HUD", "Auto Import", "Start", 32800, Kind::Button, 0},
    {"HUD", "Layouts", "HUD Options", 32797, Kind::Button, 0},
};

}  // namespace

TEST(CRibbonBarTest, CategoriesPanelsAndElementsCarryTheirIdsAndLabels)
{
    CRibbonBar ribbon;
    EXPECT_EQ(ribbon.Categories(), QStringList({"Home", "Database", "Hand Importing", "HUD"}));
    std::vector<const CRibbonBar::CElement*> shown;
    for (const auto& e : ribbon.Elements()) {
        if (e.category != "File" && e.category != "Style" && e.category != "Quick Access") {
            shown.push_back(&e);
        }
    }
    ASSERT_EQ(shown.size(), kRibbon.size());
    for (size_t i = 0; i < kRibbon.size(); ++i) {
        const CExpected& want = kRibbon[i];
        const CRibbonBar::CElement& got = *shown[i];
        SCOPED_TRACE(want.label);
        EXPECT_EQ(got.category, QString::fromLatin1(want.category));
        EXPECT_EQ(got.panel, QString::fromLatin1(want.panel));
        EXPECT_EQ(got.label, QString::fromLatin1(want.label));
        EXPECT_EQ(got.id, want.id);
        EXPECT_EQ(got.kind, want.kind);
        EXPECT_EQ(got.width, want.width);
        ASSERT_NE(got.widget, nullptr);
        EXPECT_EQ(got.widget->property("vxCommandId").toInt(), want.id);
    }
}

TEST(CRibbonBarTest, MenusToolbarAndAboutCarryTheirIds)
{
    CRibbonBar ribbon;
    ASSERT_TRUE(ribbon.HasApplicationButton());
    const std::vector<std::tuple<int, const char*, const char*>> others = {
        {57665, "E&xit", "File"},
        {215, "Office 2007 (&Blue Style)", "Style"},
        {216, "Office 2007 (B&lack Style)", "Style"},
        {217, "Office 2007 (&Silver Style)", "Style"},
        {218, "Office 2007 (&Aqua Style)", "Style"},
        {219, "Win&dows 7", "Style"},
        {57664, "About", "Style"},
        {57600, "New", "Quick Access"},
        {57601, "Open", "Quick Access"},
        {57603, "Save", "Quick Access"},
        {57608, "Print Direct", "Quick Access"},
    };
    for (const auto& [id, label, where] : others) {
        const CRibbonBar::CElement* e = ribbon.FindElement(id);
        ASSERT_NE(e, nullptr) << id;
        EXPECT_EQ(e->label, QString::fromLatin1(label));
        EXPECT_EQ(e->category, QString::fromLatin1(where));
    }
}

TEST(CRibbonBarTest, TheFirstElementOfASharedIdIsFound)
{
    CRibbonBar ribbon;
    EXPECT_EQ(ribbon.FindElement(vxcmd::kCreateDatabase)->label, "Create Database");
    EXPECT_EQ(ribbon.Button(vxcmd::kCreateDatabase)->text(), "Create Database");
    EXPECT_EQ(ribbon.FindElement(12345), nullptr);
    EXPECT_EQ(ribbon.Edit(vxcmd::kStart), nullptr);
}

TEST(CRibbonBarTest, UsingAnElementEmitsItsCommandId)
{
    CRibbonBar ribbon;
    QSignalSpy spy(&ribbon, &CRibbonBar::Command);
    ribbon.Button(vxcmd::kStart)->click();
    ribbon.Check(vxcmd::kHhZip)->click();
    ribbon.Action(vxcmd::kLookAqua)->trigger();
    // The second "Create" button sends the same command.
    for (const auto& e : ribbon.Elements()) {
        if (e.label == "Create HUD cache") {
            qobject_cast<QToolButton*>(e.widget)->click();
        }
    }
    QLineEdit* server = ribbon.Edit(vxcmd::kServerIp);
    server->setText(QStringLiteral("10.0.0.5"));
    server->setModified(true);
    emit server->editingFinished();
    // Leaving an edit without a change is no command.
    emit server->editingFinished();
    QComboBox* rooms = ribbon.Combo(vxcmd::kHomeRoomList);
    rooms->addItems({"A", "B"});
    emit rooms->activated(1);
    std::vector<int> ids;
    for (const auto& call : spy) {
        ids.push_back(call.at(0).toInt());
    }
    EXPECT_EQ(ids,
              (std::vector<int>{vxcmd::kStart, vxcmd::kHhZip, vxcmd::kLookAqua,
                                vxcmd::kCreateDatabase, vxcmd::kServerIp, vxcmd::kHomeRoomList}));
}

TEST(CRibbonBarTest, ChecksAndEnabledStatesAreSetByIdNotByClicks)
{
    CRibbonBar ribbon;
    ribbon.SetChecked(vxcmd::kArchiveOn, true);
    EXPECT_TRUE(ribbon.IsChecked(vxcmd::kArchiveOn));
    ribbon.SetChecked(vxcmd::kLookSilver, true);
    EXPECT_TRUE(ribbon.Action(vxcmd::kLookSilver)->isChecked());
    ribbon.SetEnabled(vxcmd::kAutoAlias, false);
    EXPECT_FALSE(ribbon.Check(vxcmd::kAutoAlias)->isEnabled());
    ribbon.SetActiveCategory(QStringLiteral("HUD"));
    EXPECT_EQ(ribbon.CategoryTabs()->currentIndex(), 3);
}
