#include "hud/StatNames.h"

#include <gtest/gtest.h>

#include <set>

TEST(StatNamesTest, VocabularyHoldsExactlyTheNinetyFourNamesAtZero)
{
    CPlayer player;
    std::map<std::wstring, int32_t> names{{L"stale", 5}};
    BuildStatNames(player, names);
    EXPECT_EQ(names.size(), 94u);
    EXPECT_EQ(names.count(L"stale"), 0u);
    for (const wchar_t* name : kStatNames) {
        ASSERT_EQ(names.count(name), 1u);
        EXPECT_EQ(names[name], 0);
    }
    EXPECT_EQ(std::set<std::wstring>(kStatNames.begin(), kStatNames.end()).size(), 94u);
}

TEST(StatNamesTest, CountersComeFromTheFirstRecordByName)
{
    CPlayer player;
    player.m_stats[0].m_threeBet = 7;
    player.m_stats[0].m_wTSD = 3;
    player.m_stats[1].m_vPIP = 99;
    std::map<std::wstring, int32_t> names;
    BuildStatNames(player, names);
    EXPECT_EQ(names[L"3bet"], 7);
    EXPECT_EQ(names[L"WTSD"], 3);
    EXPECT_EQ(names[L"VPIP"], 0);
}
