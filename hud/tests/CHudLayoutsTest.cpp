#include "hud/CHudLayouts.h"

#include "parser/tests/ParserTestEnvironment.h"
#include "testing/CTempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class HudLayoutsTest : public ::testing::Test
{
protected:
    std::string Path() const { return m_dir.File("HUDs.xml"); }

    std::unique_ptr<CHudLayouts> Fresh() { return std::make_unique<CHudLayouts>(Path(), m_sink); }

    // The layout's items as index=text pairs.
    static std::wstring Items(const CHUDOptions& layout)
    {
        std::wstring text;
        for (const auto& [index, item] : layout.items) {
            text += std::to_wstring(index) + L"=" + item + L";";
        }
        return text;
    }

    vxtest::CTempDir m_dir;
    vxtest::CRecordingSink m_sink;
};

TEST_F(HudLayoutsTest, AMissingFileIsCreatedWithTheEmptyList)
{
    auto layouts = Fresh();
    ASSERT_TRUE(layouts->Load());
    EXPECT_TRUE(layouts->Layouts().empty());
    EXPECT_EQ(ReadAll(Path()),
              "<?xml version=\"1.0\" encoding=\"windows-1251\" ?>\r\n<HUDs>\r\n</HUDs>");
}

// Programs started together (an import beside live tracking) all find the
// file missing and all create it.
TEST_F(HudLayoutsTest, ProgramsCreatingTheMissingFileAtOnceAllLoadIt)
{
    for (int round = 0; round < 20; ++round) {
        std::filesystem::remove(Path());
        std::vector<std::unique_ptr<CHudLayouts>> programs;
        for (int i = 0; i < 6; ++i) {
            programs.push_back(Fresh());
        }
        std::vector<int> loaded(programs.size(), 0);
        {
            std::vector<std::jthread> threads;
            for (size_t i = 0; i < programs.size(); ++i) {
                threads.emplace_back([&, i] { loaded[i] = programs[i]->Load() ? 1 : 0; });
            }
        }
        EXPECT_EQ(std::count(loaded.begin(), loaded.end(), 1), 6) << "round " << round;
    }
    EXPECT_TRUE(m_sink.notices.empty());
    // No temporary file stays behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(HudLayoutsTest, AFileThatCannotBeCreatedIsReportedAndNothingLoads)
{
    CHudLayouts layouts(m_dir.File("no/such/folder/HUDs.xml"), m_sink);
    EXPECT_FALSE(layouts.Load());
    ASSERT_EQ(m_sink.notices.size(), 1u);
    EXPECT_NE(m_sink.notices[0].find(L"HUDs.xml"), std::wstring::npos);
    EXPECT_FALSE(layouts.SaveHudLayout(L"A").IsOk());
}

TEST_F(HudLayoutsTest, StatElementsBelongToTheLastHudElementBeforeThem)
{
    m_dir.Write("HUDs.xml",
                "<?xml version=\"1.0\" encoding=\"windows-1251\" ?>\r\n<HUDs>"
                "<HUD Name=\"A\"><Stats><Stat Name=\"Name\"/><Stat Name=\"VPIP\"/></Stats></HUD>"
                "<hud Name=\"B\"><Stats><STAT Name=\"PFR\"/><Stat/><Stat Name=\"3bet\"/>"
                "<Stat name=\"lost\"/><Stat Name=\"WTSD\"/></Stats></hud>"
                "<HUD Name=\"A\"><Stats><Stat Name=\"Hands\"/></Stats></HUD>"
                "<Other><Stat Name=\"deep\"/></Other></HUDs>");
    auto layouts = Fresh();
    ASSERT_TRUE(layouts->Load());
    ASSERT_EQ(layouts->Layouts().size(), 2u);
    // An element without "Name" (or with "name") leaves a gap.
    EXPECT_EQ(Items(layouts->Layouts().at(L"B")), L"0=PFR;2=3bet;4=WTSD;");
    // The second "A" starts again at index 0, and a "Stat" outside any "HUD"
    // still belongs to the last one before it: "deep" overwrites "VPIP".
    EXPECT_EQ(Items(layouts->Layouts().at(L"A")), L"0=Hands;1=deep;");
}

TEST_F(HudLayoutsTest, ACyrillicLayoutRoundTripsInWindows1251)
{
    auto layouts = Fresh();
    ASSERT_TRUE(layouts->Load());
    const std::wstring name = L"\u041C\u043E\u0439 HUD";
    CHUDOptions& layout = layouts->NewLayout(name);
    layout.items[1] = L"VPIP";
    layout.items[2] = kHudNewLineItem;
    layout.items[3] = L"PFR";
    ASSERT_TRUE(layouts->SaveHudLayout(name).IsOk());

    const std::string bytes = ReadAll(Path());
    EXPECT_EQ(bytes.rfind("<?xml version=\"1.0\" encoding=\"windows-1251\"", 0), 0u) << bytes;
    // "Мой" in windows-1251.
    EXPECT_NE(bytes.find("Name=\"\xCC\xEE\xE9 HUD\""), std::string::npos) << bytes;

    auto again = Fresh();
    ASSERT_TRUE(again->Load());
    ASSERT_EQ(again->Layouts().count(name), 1u);
    EXPECT_EQ(Items(again->Layouts().at(name)), L"0=Name;1=VPIP;2=-------new line-------;3=PFR;");
}

TEST_F(HudLayoutsTest, CharactersOutsideTheCodePageAreWrittenAsReferences)
{
    auto layouts = Fresh();
    ASSERT_TRUE(layouts->Load());
    const std::wstring name = L"\u674E \U0001F41F \u00E9 &<\"";
    layouts->NewLayout(name);
    ASSERT_TRUE(layouts->SaveHudLayout(name).IsOk());
    const std::string bytes = ReadAll(Path());
    EXPECT_NE(bytes.find("&#26446;"), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("&#128031;"), std::string::npos) << bytes;
    auto again = Fresh();
    ASSERT_TRUE(again->Load());
    EXPECT_EQ(again->Layouts().count(name), 1u);
}

TEST_F(HudLayoutsTest, SavingReplacesTheItemsOfTheLayoutAndKeepsTheOthers)
{
    m_dir.Write("HUDs.xml",
                "<?xml version=\"1.0\" encoding=\"windows-1251\" ?>\r\n<!-- mine -->\r\n<HUDs>"
                "<HUD Name=\"A\"><Stats><Stat Name=\"Name\"/><Stat Name=\"VPIP\"/>"
                "<Stat Name=\"PFR\"/></Stats></HUD>"
                "<HUD Name=\"B\"><Stats><Stat Name=\"WTSD\"/></Stats></HUD></HUDs>");
    auto layouts = Fresh();
    ASSERT_TRUE(layouts->Load());
    layouts->Layouts()[L"A"].items = {{0, L"Name"}, {1, L"3bet"}};
    ASSERT_TRUE(layouts->SaveHudLayout(L"A").IsOk());
    EXPECT_NE(ReadAll(Path()).find("<!-- mine -->"), std::string::npos);
    auto again = Fresh();
    ASSERT_TRUE(again->Load());
    EXPECT_EQ(Items(again->Layouts().at(L"A")), L"0=Name;1=3bet;");
    EXPECT_EQ(Items(again->Layouts().at(L"B")), L"0=WTSD;");
    EXPECT_EQ(layouts->SaveHudLayout(L"Unknown").GetCode(), CStatus::Code::NotFound);
}

TEST_F(HudLayoutsTest, RenamingAndDeletingChangeTheFileAndTheMap)
{
    auto layouts = Fresh();
    ASSERT_TRUE(layouts->Load());
    layouts->NewLayout(L"A").items[1] = L"VPIP";
    layouts->NewLayout(L"B");
    ASSERT_TRUE(layouts->SaveHudLayout(L"A").IsOk());
    ASSERT_TRUE(layouts->SaveHudLayout(L"B").IsOk());
    // Two layouts must not become one.
    EXPECT_EQ(layouts->RenameHudLayout(L"A", L"B").GetCode(), CStatus::Code::InvalidArgument);
    EXPECT_EQ(layouts->RenameHudLayout(L"A", L"").GetCode(), CStatus::Code::InvalidArgument);
    ASSERT_TRUE(layouts->RenameHudLayout(L"A", L"\u0421\u0435\u0442\u043A\u0430").IsOk());
    ASSERT_TRUE(layouts->DeleteHudLayout(L"B").IsOk());
    EXPECT_EQ(layouts->Layouts().count(L"A"), 0u);
    EXPECT_EQ(layouts->Layouts().count(L"B"), 0u);

    auto again = Fresh();
    ASSERT_TRUE(again->Load());
    ASSERT_EQ(again->Layouts().size(), 1u);
    EXPECT_EQ(Items(again->Layouts().at(L"\u0421\u0435\u0442\u043A\u0430")), L"0=Name;1=VPIP;");
}

TEST_F(HudLayoutsTest, AFileThatIsNotWellFormedLoadsNothingAndIsNeverOverwritten)
{
    const std::string broken =
        "<?xml version=\"1.0\" encoding=\"windows-1251\" ?>\r\n<HUDs><HUD Name=\"A\">";
    m_dir.Write("HUDs.xml", broken);
    auto layouts = Fresh();
    layouts->NewLayout(L"kept");
    EXPECT_FALSE(layouts->Load());
    EXPECT_EQ(layouts->Layouts().size(), 1u);
    EXPECT_FALSE(layouts->SaveHudLayout(L"kept").IsOk());
    EXPECT_FALSE(layouts->DeleteHudLayout(L"kept").IsOk());
    EXPECT_EQ(ReadAll(Path()), broken);
    EXPECT_TRUE(m_sink.notices.empty());
}

TEST_F(HudLayoutsTest, AFileDeclaredUtf8StaysUtf8)
{
    m_dir.Write("HUDs.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<HUDs></HUDs>");
    auto layouts = Fresh();
    ASSERT_TRUE(layouts->Load());
    layouts->NewLayout(L"\u674E");
    ASSERT_TRUE(layouts->SaveHudLayout(L"\u674E").IsOk());
    EXPECT_NE(ReadAll(Path()).find("Name=\"\xE6\x9D\x8E\""), std::string::npos);
    auto again = Fresh();
    ASSERT_TRUE(again->Load());
    EXPECT_EQ(again->Layouts().count(L"\u674E"), 1u);
}

TEST_F(HudLayoutsTest, AnUnknownDeclaredEncodingLoadsNothing)
{
    m_dir.Write("HUDs.xml", "<?xml version=\"1.0\" encoding=\"x-no-such\"?>\n<HUDs></HUDs>");
    EXPECT_FALSE(Fresh()->Load());
}

}  // namespace
