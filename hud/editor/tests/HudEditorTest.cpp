// The HUD editor as real widgets over a store of layouts kept in memory.
#include "hud/StatNames.h"
#include "hud/editor/CDlgNewHUD.h"
#include "hud/editor/CHUDOptionsPropSheet.h"
#include "hud/editor/CPageHUDDisp.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

namespace {

const std::wstring kNewLine = L"-------new line-------";

// Layouts kept in memory; the changes that would reach the file are counted.
// Like the program's store, it refuses to rename onto an empty name or onto
// another layout's name (two layouts would merge on the next load).
class CMemoryLayouts : public IHudLayoutStore
{
public:
    std::vector<std::wstring> Names() const override
    {
        std::vector<std::wstring> names;
        for (const auto& [name, items] : layouts) {
            names.push_back(name);
        }
        return names;
    }
    Items* Find(const std::wstring& name) override
    {
        const auto it = layouts.find(name);
        return it == layouts.end() ? nullptr : &it->second;
    }
    Items& NewLayout(const std::wstring& name) override
    {
        layouts[name] = Items{{0, L"Name"}};
        return layouts[name];
    }
    CStatus SaveHudLayout(const std::wstring& name) override
    {
        saved.push_back(name);
        file[name] = layouts[name];
        return CStatus::Ok();
    }
    CStatus RenameHudLayout(const std::wstring& oldName, const std::wstring& newName) override
    {
        if (newName.empty() || layouts.count(newName) != 0) {
            return CStatus::InvalidArgument(L"the name is empty or taken");
        }
        layouts[newName] = layouts[oldName];
        layouts.erase(oldName);
        if (file.count(oldName) != 0) {
            file[newName] = file[oldName];
            file.erase(oldName);
        }
        return CStatus::Ok();
    }
    CStatus DeleteHudLayout(const std::wstring& name) override
    {
        layouts.erase(name);
        file.erase(name);
        return CStatus::Ok();
    }

    std::map<std::wstring, Items> layouts;
    std::map<std::wstring, Items> file;
    std::vector<std::wstring> saved;
};

std::vector<std::wstring> Rows(const QTableWidget* list)
{
    std::vector<std::wstring> rows;
    for (int i = 0; i < list->rowCount(); ++i) {
        rows.push_back(list->item(i, 0)->text().toStdWString());
    }
    return rows;
}

class HudEditorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_store.layouts[L"Cash"] = {
            {0, L"Name"}, {1, L"VPIP"}, {2, L"PFR"}, {3, kNewLine}, {4, L"3bet"}};
        m_store.layouts[L"Short"] = {{0, L"Name"}, {1, L"Hands"}};
        m_store.file = m_store.layouts;
        Open(L"Cash");
    }

    void Open(const std::wstring& inUse)
    {
        m_sheet = std::make_unique<CHUDOptionsPropSheet>(
            m_store, m_stats, inUse, [this](const std::wstring& name) { m_inUse = name; });
        page()->SetMessageHandler([this](const QString& text) { m_messages.push_back(text); });
        page()->SetNameAsker([this](QString& name) {
            m_askedWith.push_back(name);
            if (m_answers.empty()) {
                return false;
            }
            name = m_answers.front();
            m_answers.erase(m_answers.begin());
            return true;
        });
        m_sheet->show();
    }

    CPageHUDDisp* page() { return m_sheet->Page(); }
    void Click(const char* name)
    {
        auto* button = page()->findChild<QAbstractButton*>(QLatin1String(name));
        ASSERT_NE(button, nullptr) << name;
        QTest::mouseClick(button, Qt::LeftButton);
    }
    void ClickLayout(const std::wstring& name)
    {
        for (int row = 0; row < page()->Layouts()->rowCount(); ++row) {
            if (page()->Layouts()->item(row, 0)->text().toStdWString() == name) {
                const QRect r = page()->Layouts()->visualItemRect(page()->Layouts()->item(row, 0));
                QTest::mouseClick(page()->Layouts()->viewport(), Qt::LeftButton, Qt::NoModifier,
                                  r.center());
                return;
            }
        }
        FAIL() << "no layout row";
    }

    CMemoryLayouts m_store;
    std::vector<std::wstring> m_stats = {L"Hands", L"VPIP", L"PFR", L"3bet", L"4bet", L"AF"};
    std::unique_ptr<CHUDOptionsPropSheet> m_sheet;
    std::wstring m_inUse;
    std::vector<QString> m_messages;
    std::vector<QString> m_answers;
    std::vector<QString> m_askedWith;
};

TEST(HudPreviewTest, ItemsJoinWithSlashesAndLineBreaksStartNewLines)
{
    EXPECT_EQ(CPageHUDDisp::PreviewLines(
                  {{0, L"Name"}, {1, L"VPIP"}, {2, L"PFR"}, {3, kNewLine}, {4, L"3bet"}}),
              (std::vector<std::wstring>{L"Name/VPIP/PFR", L"3bet"}));
    EXPECT_EQ(CPageHUDDisp::PreviewLines({{0, L"Name"}, {1, kNewLine}, {2, kNewLine}, {3, L"AF"}}),
              (std::vector<std::wstring>{L"Name", L"", L"AF"}));
    EXPECT_EQ(CPageHUDDisp::PreviewLines({}), (std::vector<std::wstring>{L""}));
}

TEST_F(HudEditorTest, OpeningShowsTheLayoutInUseWithItsItemsPreviewAndFreeStatistics)
{
    EXPECT_EQ(m_sheet->windowTitle(), QStringLiteral("HUD Options"));
    EXPECT_TRUE(m_sheet->ApplyButton()->isEnabled());
    EXPECT_EQ(Rows(page()->Layouts()), (std::vector<std::wstring>{L"Cash", L"Short"}));
    EXPECT_EQ(page()->SelectedLayout(), L"Cash");
    EXPECT_EQ(page()->NameLabel()->text(), QStringLiteral("Cash"));
    EXPECT_EQ(Rows(page()->Items()),
              (std::vector<std::wstring>{L"Name", L"VPIP", L"PFR", kNewLine, L"3bet"}));
    EXPECT_EQ(Rows(page()->Preview()), (std::vector<std::wstring>{L"Name/VPIP/PFR", L"3bet"}));
    EXPECT_EQ(Rows(page()->Statistics()), (std::vector<std::wstring>{L"Hands", L"4bet", L"AF"}));
    EXPECT_EQ(page()->Layouts()->horizontalHeaderItem(0)->text(), QStringLiteral("Name Stat"));
    EXPECT_EQ(page()->Layouts()->columnWidth(0), 167);
    EXPECT_EQ(page()->Preview()->horizontalHeaderItem(0)->text(), QStringLiteral("Preview"));
    EXPECT_EQ(page()->Preview()->columnWidth(0), 177);
}

TEST_F(HudEditorTest, ClickingALayoutShowsItAndOffersEveryStatisticItDoesNotHold)
{
    ClickLayout(L"Short");
    EXPECT_EQ(page()->CurrentLayout(), L"Short");
    EXPECT_EQ(Rows(page()->Items()), (std::vector<std::wstring>{L"Name", L"Hands"}));
    // VPIP and PFR, held by the other layout, can be added to this one.
    EXPECT_EQ(Rows(page()->Statistics()),
              (std::vector<std::wstring>{L"VPIP", L"PFR", L"3bet", L"4bet", L"AF"}));
}

TEST_F(HudEditorTest, AddingAndTakingOutItemsKeepsTheIndexesDense)
{
    // Without a selection nothing happens.
    page()->Statistics()->clearSelection();
    Click("add");
    EXPECT_EQ(m_store.layouts[L"Cash"].size(), 5u);

    page()->SelectStatistic(L"AF");
    Click("add");
    EXPECT_EQ(m_store.layouts[L"Cash"].rbegin()->second, L"AF");
    EXPECT_EQ(Rows(page()->Statistics()), (std::vector<std::wstring>{L"Hands", L"4bet"}));
    EXPECT_EQ(Rows(page()->Preview()), (std::vector<std::wstring>{L"Name/VPIP/PFR", L"3bet/AF"}));

    // "Name" stays.
    page()->SelectItem(0);
    Click("takeOut");
    EXPECT_EQ(m_store.layouts[L"Cash"].begin()->second, L"Name");
    EXPECT_EQ(m_store.layouts[L"Cash"].size(), 6u);
    // The line break goes without coming back as a statistic; the items after
    // it move down.
    page()->SelectItem(3);
    Click("takeOut");
    EXPECT_EQ(m_store.layouts[L"Cash"],
              (IHudLayoutStore::Items{
                  {0, L"Name"}, {1, L"VPIP"}, {2, L"PFR"}, {3, L"3bet"}, {4, L"AF"}}));
    EXPECT_EQ(Rows(page()->Statistics()), (std::vector<std::wstring>{L"Hands", L"4bet"}));
    page()->SelectItem(1);
    Click("takeOut");
    EXPECT_EQ(Rows(page()->Statistics()), (std::vector<std::wstring>{L"Hands", L"4bet", L"VPIP"}));
    EXPECT_EQ(Rows(page()->Preview()), (std::vector<std::wstring>{L"Name/PFR/3bet/AF"}));

    Click("newLine");
    EXPECT_EQ(m_store.layouts[L"Cash"].rbegin()->second, kNewLine);
    EXPECT_EQ(Rows(page()->Preview()), (std::vector<std::wstring>{L"Name/PFR/3bet/AF", L""}));
    // Nothing reached the file.
    EXPECT_TRUE(m_store.saved.empty());
    Click("save");
    EXPECT_EQ(m_store.saved, (std::vector<std::wstring>{L"Cash"}));
    EXPECT_EQ(m_store.file[L"Cash"], m_store.layouts[L"Cash"]);
}

TEST_F(HudEditorTest, AnItemAddedToALayoutWithAGapGoesAfterItsLastItem)
{
    // A "Stat" without a name in the file leaves index 1 empty.
    m_store.layouts[L"Gap"] = {{0, L"Name"}, {2, L"VPIP"}};
    Open(L"Gap");
    page()->SelectStatistic(L"PFR");
    Click("add");
    EXPECT_EQ(m_store.layouts[L"Gap"],
              (IHudLayoutStore::Items{{0, L"Name"}, {2, L"VPIP"}, {3, L"PFR"}}));
}

TEST_F(HudEditorTest, ANewHudStartsWithTheNameAndReachesTheFileOnlyWithSave)
{
    m_answers = {QStringLiteral("Zoom")};
    Click("newHudButton");
    EXPECT_EQ(m_askedWith, (std::vector<QString>{QString()}));
    EXPECT_EQ(page()->CurrentLayout(), L"Zoom");
    EXPECT_EQ(Rows(page()->Items()), (std::vector<std::wstring>{L"Name"}));
    EXPECT_EQ(Rows(page()->Preview()), (std::vector<std::wstring>{L"Name"}));
    EXPECT_EQ(m_store.file.count(L"Zoom"), 0u);
    // Closed without Save: the file is unchanged, the layout stays in the map.
    m_sheet->reject();
    EXPECT_EQ(m_store.file.count(L"Zoom"), 0u);
    EXPECT_EQ(m_store.layouts.count(L"Zoom"), 1u);
    EXPECT_TRUE(m_store.saved.empty());
}

TEST_F(HudEditorTest, ANewHudNeedsANameNoOtherLayoutHas)
{
    m_answers = {QStringLiteral(""), QStringLiteral("Short")};
    Click("newHudButton");
    Click("newHudButton");
    ASSERT_EQ(m_messages.size(), 2u);
    EXPECT_EQ(m_store.layouts[L"Short"], (IHudLayoutStore::Items{{0, L"Name"}, {1, L"Hands"}}));
    EXPECT_EQ(page()->CurrentLayout(), L"Cash");
    // Cancel changes nothing.
    Click("newHudButton");
    EXPECT_EQ(m_store.layouts.size(), 2u);
}

TEST_F(HudEditorTest, RenamingMovesTheLayoutAndRefusesAnotherLayoutsName)
{
    m_answers = {QStringLiteral("Cash 6-max")};
    Click("renameHud");
    EXPECT_EQ(m_askedWith.back(), QStringLiteral("Cash"));
    EXPECT_EQ(page()->CurrentLayout(), L"Cash 6-max");
    EXPECT_EQ(page()->NameLabel()->text(), QStringLiteral("Cash 6-max"));
    EXPECT_EQ(Rows(page()->Layouts()), (std::vector<std::wstring>{L"Cash 6-max", L"Short"}));
    EXPECT_EQ(m_store.file.count(L"Cash 6-max"), 1u);

    // Onto another layout's name: the layouts would merge, so it is refused
    // and both stay as they were.
    m_answers = {QStringLiteral("Short")};
    Click("renameHud");
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(page()->CurrentLayout(), L"Cash 6-max");
    EXPECT_EQ(m_store.layouts[L"Short"], (IHudLayoutStore::Items{{0, L"Name"}, {1, L"Hands"}}));
}

TEST_F(HudEditorTest, DeleteRemovesTheSelectedLayoutAndApplyChoosesTheOneInUse)
{
    page()->Layouts()->clearSelection();
    Click("deleteHud");
    EXPECT_EQ(m_store.layouts.size(), 2u);
    m_sheet->Apply();
    EXPECT_EQ(m_inUse, L"");

    ClickLayout(L"Short");
    QTest::mouseClick(m_sheet->ApplyButton(), Qt::LeftButton);
    EXPECT_EQ(m_inUse, L"Short");

    ClickLayout(L"Cash");
    Click("deleteHud");
    EXPECT_EQ(m_store.layouts.count(L"Cash"), 0u);
    EXPECT_EQ(m_store.file.count(L"Cash"), 0u);
    EXPECT_EQ(Rows(page()->Layouts()), (std::vector<std::wstring>{L"Short"}));
    EXPECT_TRUE(Rows(page()->Items()).empty());
}

TEST(CDlgNewHUDTest, AsksWithItsOwnLabelAndStartsWithTheGivenName)
{
    CDlgNewHUD dialog(QStringLiteral("Cash"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Add new HUD"));
    const auto labels = dialog.findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels[0]->text(), QString::fromUtf8("\xD0\x95nter the name:"));
    EXPECT_EQ(dialog.Edit()->text(), QStringLiteral("Cash"));
    dialog.Edit()->setText(QStringLiteral("  Zoom  "));
    EXPECT_EQ(dialog.Name(), QStringLiteral("Zoom"));
}

}  // namespace

namespace {

// A screenshot of the editor with the whole statistics vocabulary; only when
// VX_SCREENSHOT_DIR names the folder to write it to.
TEST(HudEditorScreenshotTest, TheEditorWithTypicalLayouts)
{
    const char* dir = std::getenv("VX_SCREENSHOT_DIR");
    if (dir == nullptr) {
        GTEST_SKIP() << "set VX_SCREENSHOT_DIR to write the screenshot";
    }
    CMemoryLayouts store;
    store.layouts[L"6-max cash"] = {{0, L"Name"}, {1, L"Hands"}, {2, kNewLine}, {3, L"VPIP"},
                                    {4, L"PFR"},  {5, L"3bet"},  {6, kNewLine}, {7, L"4bet"}};
    store.layouts[L"Heads-up"] = {{0, L"Name"}, {1, L"VPIP"}, {2, L"PFR"}};
    store.layouts[L"Zoom"] = {{0, L"Name"}, {1, L"VPIP"}, {2, L"PFR"}, {3, L"3bet"}};
    std::vector<std::wstring> stats(kStatNames.begin(), kStatNames.end());
    CHUDOptionsPropSheet sheet(store, stats, L"6-max cash", nullptr);
    sheet.show();
    sheet.Page()->SelectStatistic(L"VPIP");
    for (int i = 0; i < 10; ++i) {
        QApplication::processEvents();
        QTest::qWait(30);
    }
    EXPECT_TRUE(sheet.grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/hud_editor.png")));
}

}  // namespace
