#include "stats/AllinEquity.h"

#include "foundation/Cards.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

uint64_t Mask(const std::wstring& text)
{
    uint64_t mask = 0;
    for (size_t i = 0; i + 1 < text.size(); i += 2) {
        mask |= uint64_t{1} << CardFromName(text.substr(i, 2));
    }
    return mask;
}

AllinEvInput Input(int gameKind, const std::wstring& hero, const std::wstring& board)
{
    AllinEvInput input;
    input.gameKind = gameKind;
    const auto kind = HoleCardsForKind(gameKind);
    input.holeCount = kind ? kind->holeCount : 0;
    input.variant = kind ? kind->variant : 0;
    input.boardMask = Mask(board);
    input.heroIndex = 0;
    input.players = {{1, 10000, Mask(hero)}, {2, 10000, 0}};
    input.pots = {20000};
    return input;
}

double Library(const std::wstring& hero,
               const std::wstring& villain,
               const std::wstring& board,
               int variant)
{
    const std::vector<uint64_t> opponents[1] = {{Mask(villain)}};
    int c1 = 1000000;
    int c2 = 10000;
    return 100.0 * getProbabilityOfWinOmaha64Enumerate({Mask(hero)}, Mask(board), 5, opponents, 1,
                                                       0, nullptr, c1, c2, variant);
}

}  // namespace

TEST(AllinEquityTest, GameKindTable)
{
    const std::vector<std::vector<int>> table = {{7, 4, 0},  {30, 4, 0},  {10, 4, 1},  {13, 5, 0},
                                                 {14, 5, 1}, {16, 5, 10}, {17, 5, 11}, {36, 6, 0},
                                                 {37, 6, 1}, {202, 2, 0}};
    for (const auto& row : table) {
        const auto kind = HoleCardsForKind(row[0]);
        ASSERT_TRUE(kind) << row[0];
        EXPECT_EQ(kind->holeCount, row[1]) << row[0];
        EXPECT_EQ(kind->variant, row[2]) << row[0];
    }
    for (const int none : {0, 1, 2, 3, 6, 8, 9, 11, 15, 18, 201}) {
        EXPECT_FALSE(HoleCardsForKind(none)) << none;
    }
    EXPECT_EQ(KnownBoardCards(1, 0), 0);
    EXPECT_EQ(KnownBoardCards(1, 1), 0);
    EXPECT_EQ(KnownBoardCards(1, 10), 1);
    EXPECT_EQ(KnownBoardCards(1, 11), 1);
    EXPECT_EQ(KnownBoardCards(2, 10), 3);
    EXPECT_EQ(KnownBoardCards(3, 0), 4);
}

TEST(AllinEquityTest, ExpandHandCompletesToFourCards)
{
    const uint64_t two = Mask(L"AsKd");
    const std::vector<uint64_t> fromTwo = ExpandHand(two);
    EXPECT_EQ(fromTwo.size(), 1225u);  // C(50, 2)
    EXPECT_EQ(std::set<uint64_t>(fromTwo.begin(), fromTwo.end()).size(), 1225u);
    for (const uint64_t hand : fromTwo) {
        EXPECT_EQ(__builtin_popcountll(hand), 4);
        EXPECT_EQ(hand & two, two);
    }
    EXPECT_EQ(fromTwo.front(), two | 0b11);  // 2c and 3c first
    EXPECT_EQ(ExpandHand(Mask(L"AsKdQh")).size(), 49u);
    EXPECT_EQ(ExpandHand(Mask(L"AsKdQhJc")), std::vector<uint64_t>{Mask(L"AsKdQhJc")});
    EXPECT_TRUE(ExpandHand(Mask(L"As")).empty());
    EXPECT_TRUE(ExpandHand(Mask(L"AsKdQhJcTc")).empty());
    EXPECT_TRUE(ExpandHand(0).empty());
}

TEST(AllinEquityTest, EachKindAsksTheRightGame)
{
    // Omaha high and hi-lo differ where the low matters.
    const std::wstring board = L"2c7d8hKs";
    const double high = Equity(Input(7, L"Ac3dKhKc", board), {Mask(L"Ad3cQhJd")}, 0);
    EXPECT_DOUBLE_EQ(high, Library(L"Ac3dKhKc", L"Ad3cQhJd", board, 0));
    const double hiLo = Equity(Input(10, L"Ac3dKhKc", board), {Mask(L"Ad3cQhJd")}, 0);
    EXPECT_DOUBLE_EQ(hiLo, 75.0);
    EXPECT_NE(high, hiLo);
    // The games that show a card early play five-card Omaha with it on the board.
    EXPECT_DOUBLE_EQ(Equity(Input(16, L"Ac3dKhKc2s", L"9h"), {Mask(L"Ad3cQhJd2d")}, 0),
                     Library(L"Ac3dKhKc2s", L"Ad3cQhJd2d", L"9h", 0));
    EXPECT_DOUBLE_EQ(Equity(Input(17, L"Ac3dKhKc2s", L"9h"), {Mask(L"Ad3cQhJd2d")}, 0),
                     Library(L"Ac3dKhKc2s", L"Ad3cQhJd2d", L"9h", 1));
    // Short deck: a flush draw and two overcards against a pair of queens.
    CWinResults results;
    const double shortDeck = Equity(Input(202, L"AsKs", L"6s7sTd"), {Mask(L"QhQd")}, 0, &results);
    EXPECT_GT(shortDeck, 0.0);
    EXPECT_EQ(results.deals, 406);  // C(29, 2) turns and rivers
    EXPECT_NEAR(results.share[0] + results.share[1], 1.0, 1e-12);
}

TEST(AllinEquityTest, FusionDealsTheMissingHoleCards)
{
    // On the turn every hole card is known: plain four-card Omaha.
    EXPECT_DOUBLE_EQ(Equity(Input(30, L"AsAhKsKh", L"Qc7d2h3c"), {Mask(L"JcTc9d8d")}, 0),
                     Library(L"AsAhKsKh", L"JcTc9d8d", L"Qc7d2h3c", 0));
    // Before the flop two cards each are still to come: sampled, and the same
    // answer every time. A lone opponent for the whole pot gets the big budget.
    CWinResults results;
    AllinEvInput preflop = Input(30, L"AsAh", L"");
    preflop.holeCount = 2;
    const double first = Equity(preflop, {Mask(L"7c2d")}, 0, &results);
    EXPECT_FALSE(results.exact);
    EXPECT_EQ(results.deals, 1000000);
    EXPECT_GT(first, 60.0);
    EXPECT_LT(first, 90.0);
    EXPECT_EQ(Equity(preflop, {Mask(L"7c2d")}, 0), first);
    preflop.pots = {10000, 5000};
    Equity(preflop, {Mask(L"7c2d")}, 0, &results);
    EXPECT_EQ(results.deals, 10000);
}

TEST(AllinEquityTest, CardsThatCannotBeDealtGiveMinusOne)
{
    EXPECT_EQ(Equity(Input(7, L"AsAhKsKh", L""), {Mask(L"AsTc9d8d")}, 0), -1.0);
    EXPECT_EQ(Equity(Input(7, L"AsAhKsKh", L""), {Mask(L"JcTc9d")}, 0), -1.0);
    EXPECT_EQ(Equity(Input(7, L"AsAhKsKh", L""), {}, 0), -1.0);
    AllinEvInput noHero = Input(7, L"AsAhKsKh", L"");
    noHero.heroIndex = 5;
    EXPECT_EQ(Equity(noHero, {Mask(L"JcTc9d8d")}, 0), -1.0);
}
