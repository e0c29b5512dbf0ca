#include "foundation/CStatDefinitions.h"

#include "testing/CTempDir.h"

#include <gtest/gtest.h>

TEST(CStatDefinitionsTest, EntriesReadWithDefaultsForAbsentKeys)
{
    CStatDefinitions defs;
    defs.LoadFromText(R"({"handplayerstats": [
        {"id": 3, "name": "flag_vpip", "type": "boolean", "options": [1, 2]},
        {"name": "val_allin_street"}]})");
    std::vector<CStatDefinition> entries;
    ASSERT_TRUE(defs.ReadStatSection(L"handplayerstats", entries));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].id, 3);
    EXPECT_EQ(entries[0].type, L"boolean");
    EXPECT_EQ(entries[0].options, (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(entries[1].id, 0);
    EXPECT_EQ(entries[1].value, 0);
    EXPECT_TRUE(entries[1].description.empty());
}

TEST(CStatDefinitionsTest, DottedPathsAndMissingSections)
{
    CStatDefinitions defs;
    defs.LoadFromText(R"({"outer": {"inner": [{"name": "x"}]}})");
    std::vector<CStatDefinition> entries;
    EXPECT_TRUE(defs.ReadStatSection(L"outer.inner", entries));
    entries.clear();
    EXPECT_FALSE(defs.ReadStatSection(L"sites", entries));
}

TEST(CStatDefinitionsTest, MissingFileIsFalseAndLeavesNothing)
{
    CStatDefinitions defs;
    EXPECT_FALSE(defs.LoadStatTypes("/nonexistent/predeftypes.json"));
    std::vector<CStatDefinition> entries;
    EXPECT_FALSE(defs.ReadStatSection(L"sites", entries));
}

TEST(CStatDefinitionsTest, SyntaxErrorKeepsWhatWasParsedBefore)
{
    vxtest::CTempDir dir;
    const std::string path = dir.Write(
        "predeftypes.json",
        "\xEF\xBB\xBF{\"sites\": [{\"id\": 1, \"name\": \"SITE_POKER_STARS\"}], \"handstats\": [{\"name\": ");
    CStatDefinitions defs;
    EXPECT_TRUE(defs.LoadStatTypes(path));
    std::vector<CStatDefinition> sites;
    EXPECT_TRUE(defs.ReadStatSection(L"sites", sites));
    EXPECT_EQ(sites.at(0).name, L"SITE_POKER_STARS");
}

TEST(CStatDefinitionsTest, WrongValueTypeEndsTheReadingAtThatEntry)
{
    CStatDefinitions defs;
    defs.LoadFromText(R"({"s": [{"id": 1}, {"id": "many"}, {"id": 3}]})");
    std::vector<CStatDefinition> entries;
    EXPECT_TRUE(defs.ReadStatSection(L"s", entries));
    EXPECT_EQ(entries.size(), 1u);
}

TEST(CStatDefinitionsTest, ShippedFileNamesEveryRoomAndFlag)
{
    CStatDefinitions defs;
    ASSERT_TRUE(defs.LoadStatTypes(std::string(VX_SOURCE_DIR) + "/data/predeftypes.json"));
    std::vector<CStatDefinition> sites;
    ASSERT_TRUE(defs.ReadStatSection(L"sites", sites));
    std::vector<std::wstring> names;
    for (const auto& s : sites) {
        names.push_back(s.description);
    }
    for (const wchar_t* room :
         {L"PokerStars", L"888Poker", L"Run It Once Poker", L"PokerKing Asia", L"PokerMaster HM3",
          L"GGPoker", L"Upoker HM3", L"PPPoker HM3", L"PokerBros HM3", L"Suprema"}) {
        EXPECT_NE(std::find(names.begin(), names.end(), room), names.end()) << room;
    }
    std::vector<CStatDefinition> hp;
    ASSERT_TRUE(defs.ReadStatSection(L"handplayerstats", hp));
    for (const auto& e : hp) {
        if (e.name.rfind(L"flag_", 0) == 0) {
            EXPECT_EQ(e.type, L"boolean") << std::string(e.name.begin(), e.name.end());
        } else {
            EXPECT_EQ(e.type, L"integer") << std::string(e.name.begin(), e.name.end());
        }
    }
}
