#include "stats/flags/HandFlags.h"

#include "companion/HandEvaluators.h"
#include "foundation/CStatDefinitions.h"
#include "foundation/Cards.h"
#include "foundation/GameKinds.h"
#include "stats/flags/tests/CTestHand.h"

#include <gtest/gtest.h>

#include <set>

namespace {

std::vector<int> Cards(const std::wstring& text)
{
    std::vector<int> cards;
    for (size_t i = 0; i + 1 < text.size(); i += 2) {
        cards.push_back(CardFromName(text.substr(i, 2)));
    }
    return cards;
}

// "name type" of every column of a section of the shipped stat definitions.
std::set<std::wstring> Columns(const std::wstring& section)
{
    CStatDefinitions defs;
    EXPECT_TRUE(defs.LoadStatTypes(std::string(VX_SOURCE_DIR) + "/data/predeftypes.json"));
    std::vector<CStatDefinition> entries;
    EXPECT_TRUE(defs.ReadStatSection(section, entries));
    std::set<std::wstring> columns;
    for (const CStatDefinition& entry : entries) {
        columns.insert(entry.name + L" " + entry.type);
    }
    return columns;
}

// The written names that are no column of their type, and every flag name.
void CheckNames(const CStatMaps& stats,
                const std::set<std::wstring>& columns,
                std::set<std::wstring>& missing,
                std::set<std::wstring>& flags)
{
    const auto check = [&](const std::wstring& name, const wchar_t* type) {
        if (columns.count(name + type) == 0) {
            missing.insert(name + type);
        }
    };
    for (const auto& [name, v] : stats.flags) {
        check(name, L" boolean");
        flags.insert(name);
    }
    for (const auto* map : {&stats.counts, &stats.values}) {
        for (const auto& [name, v] : *map) {
            check(name, L" integer");
        }
    }
    for (const auto& [name, v] : stats.texts) {
        check(name, L" text");
    }
}

}  // namespace

TEST(HandFlagsTest, EveryWrittenNameIsAColumnOfItsTable)
{
    const std::set<std::wstring> playerColumns = Columns(L"handplayerstats");
    const std::set<std::wstring> handColumns = Columns(L"handstats");
    CTestHand hands[] = {
        {"utg:MP2 co:CO btn:BTN sb:SB bb:BB:900",
         "sb sb 1, bb bb 2, utg raises 6, co raises 18, btn calls 18, sb raises 50, bb raises 150, "
         "utg raises 400, co folds, btn folds, sb folds, bb calls 250, FLOP, bb checks, utg bets "
         "100, bb raises 300, utg raises 900, bb calls 600, TURN, bb bets 10, utg raises 30, bb "
         "raises 90, utg calls 60, RIVER, bb bets 5, utg raises 15, bb folds",
         true},
        {"utg:MP2 btn:BTN sb:SB bb:BB", "sb sb 1, bb bb 2, utg folds, btn folds, sb folds"},
        {"btn:BTN:10 bb:BB",
         "btn sb 1, bb bb 2, btn raises 5, bb calls 3, FLOP, TURN, RIVER, "
         "bb shows, btn shows",
         true},
    };
    std::set<std::wstring> missing, flags;
    for (CTestHand& h : hands) {
        h.Compute();
        for (const CHandPlayerRecord& player : h.players) {
            CheckNames(player.stats, playerColumns, missing, flags);
        }
        CheckNames(h.hand.stats, handColumns, missing, flags);
    }
    EXPECT_EQ(missing, std::set<std::wstring>{});
    EXPECT_GE(flags.size(), 40u);
}

TEST(HandFlagsTest, OmahaHandsAreEvaluatedOnAFullBoardOnly)
{
    CTestHand h("a:SB b:BB c:BTN", "a sb 1, b bb 2, c calls 2, a calls 1, b checks, FLOP");
    h.Player("a").cards = Cards(L"AhKhQhJh");
    h.Player("b").cards = Cards(L"2c3d8s9s");
    h.Player("c").cards = Cards(L"AsKs");
    h.hand.board = Cards(L"ThTd4c5h7d");
    CTestHand hilo = h, high = h, holdem = h, turn = h;
    turn.hand.board.pop_back();

    hilo.Compute(kGameOmahaHiLoPotLimit);
    const std::vector<int>& b = h.Player("b").cards;
    EXPECT_EQ(hilo.Player("b").combination,
              getCombinationOmahaFsm5Common(b.data(), 4, h.hand.board.data(), 5, nullptr));
    EXPECT_GT(hilo.Player("a").combination, hilo.Player("b").combination);
    EXPECT_GT(hilo.Player("b").lowcombination, 0);
    EXPECT_EQ(hilo.Player("a").lowcombination, 0) << "no low with four broadway cards";
    EXPECT_EQ(hilo.Player("c").combination, 0) << "two known cards are no Omaha hand";
    high.Compute(kGameOmahaPotLimit);
    EXPECT_EQ(high.Player("b").lowcombination, 0);
    holdem.Compute(kGameHoldemNoLimit);
    turn.Compute(kGameOmahaPotLimit);
    EXPECT_EQ(holdem.Player("a").combination + turn.Player("a").combination, 0);
}
