// The HUD editor over the program's own layouts file: what reaches
// "HUDs.xml" and what does not.
#include "foundation/IUserNotifier.h"
#include "hud/CHudLayouts.h"
#include "hud/editor/CHUDOptionsPropSheet.h"
#include "hud/editor/CHudLayoutsStore.h"
#include "hud/editor/CPageHUDDisp.h"
#include "testing/CTempDir.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QTest>

#include <fstream>
#include <sstream>

namespace {

class CQuietNotifier : public IUserNotifier
{
public:
    void Notify(const std::wstring& text) override { notices.push_back(text); }
    std::vector<std::wstring> notices;
};

std::string Read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

class HudEditorFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_path = m_dir.Write("HUDs.xml",
                             "<?xml version=\"1.0\" encoding=\"windows-1251\" ?>\r\n<HUDs>\r\n"
                             "<HUD Name=\"A\"><Stats><Stat Name=\"Name\"/><Stat Name=\"VPIP\"/>"
                             "</Stats></HUD>\r\n<HUD Name=\"B\"><Stats><Stat Name=\"Name\"/>"
                             "<Stat Name=\"PFR\"/></Stats></HUD>\r\n</HUDs>");
        m_layouts = std::make_unique<CHudLayouts>(m_path, m_notifier);
        ASSERT_TRUE(m_layouts->Load());
        m_store = std::make_unique<CHudLayoutsStore>(*m_layouts);
        m_sheet = std::make_unique<CHUDOptionsPropSheet>(
            *m_store, std::vector<std::wstring>{L"VPIP", L"PFR", L"3bet"}, L"A",
            [this](const std::wstring& name) { m_inUse = name; });
        page()->SetMessageHandler([this](const QString& text) { m_messages.push_back(text); });
        page()->SetNameAsker([this](QString& name) {
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
        QTest::mouseClick(page()->findChild<QAbstractButton*>(QLatin1String(name)), Qt::LeftButton);
    }
    // The layouts as a fresh load of the file gives them.
    std::map<std::wstring, CHUDOptions> Reloaded()
    {
        CHudLayouts fresh(m_path, m_notifier);
        EXPECT_TRUE(fresh.Load());
        return fresh.Layouts();
    }

    vxtest::CTempDir m_dir;
    std::string m_path;
    CQuietNotifier m_notifier;
    std::unique_ptr<CHudLayouts> m_layouts;
    std::unique_ptr<CHudLayoutsStore> m_store;
    std::unique_ptr<CHUDOptionsPropSheet> m_sheet;
    std::wstring m_inUse;
    std::vector<QString> m_messages;
    std::vector<QString> m_answers;
};

TEST_F(HudEditorFileTest, ANewHudWithoutSaveLeavesTheFileAsItWas)
{
    const std::string before = Read(m_path);
    m_answers = {QStringLiteral("Zoom")};
    Click("newHudButton");
    page()->SelectStatistic(L"3bet");
    Click("add");
    m_sheet->reject();
    EXPECT_EQ(Read(m_path), before);
    EXPECT_EQ(m_layouts->Layouts().count(L"Zoom"), 1u);
}

TEST_F(HudEditorFileTest, SaveWritesTheLayoutThatTheNextLoadReads)
{
    page()->SelectStatistic(L"3bet");
    Click("add");
    Click("newLine");
    page()->SelectStatistic(L"PFR");
    Click("add");
    Click("save");
    const auto layouts = Reloaded();
    ASSERT_EQ(layouts.count(L"A"), 1u);
    EXPECT_EQ(layouts.at(L"A").items,
              (std::map<int32_t, std::wstring>{{0, L"Name"},
                                               {1, L"VPIP"},
                                               {2, L"3bet"},
                                               {3, L"-------new line-------"},
                                               {4, L"PFR"}}));
    EXPECT_EQ(layouts.at(L"B").items, (std::map<int32_t, std::wstring>{{0, L"Name"}, {1, L"PFR"}}));
}

TEST_F(HudEditorFileTest, RenamingOntoAnotherLayoutIsRefusedAndLosesNothing)
{
    const std::string before = Read(m_path);
    m_answers = {QStringLiteral("B")};
    Click("renameHud");
    EXPECT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(Read(m_path), before);
    EXPECT_EQ(page()->CurrentLayout(), L"A");

    m_answers = {QStringLiteral("A 6-max")};
    Click("renameHud");
    const auto layouts = Reloaded();
    EXPECT_EQ(layouts.count(L"A"), 0u);
    EXPECT_EQ(layouts.at(L"A 6-max").items,
              (std::map<int32_t, std::wstring>{{0, L"Name"}, {1, L"VPIP"}}));
}

TEST_F(HudEditorFileTest, DeleteTakesTheLayoutOutOfTheFile)
{
    page()->SelectLayout(L"B");
    Click("deleteHud");
    const auto layouts = Reloaded();
    EXPECT_EQ(layouts.count(L"B"), 0u);
    EXPECT_EQ(layouts.count(L"A"), 1u);
}

}  // namespace
