#include "companion/WinProbability.h"

#include "companion/HandEvaluators.h"
#include "companion/tests/OracleEvaluator.h"
#include "foundation/Cards.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using oracle::Game;

std::vector<int> Cards(const std::wstring& text)
{
    std::vector<int> cards;
    for (size_t i = 0; i + 1 < text.size(); i += 2) {
        cards.push_back(CardFromName(text.substr(i, 2)));
    }
    return cards;
}

uint64_t Mask(const std::wstring& text)
{
    uint64_t mask = 0;
    for (const int card : Cards(text)) {
        mask |= uint64_t{1} << card;
    }
    return mask;
}

struct CQuery
{
    Game game = Game::OmahaHigh;
    std::vector<std::vector<uint64_t>> hands;  // hero first
    uint64_t board = 0;
    uint64_t dead = 0;
    int counter1 = 1000000;
    int counter2 = 10000;
};

double Ask(CQuery& q, CWinResults& results)
{
    std::vector<uint64_t> opponents[9];
    for (size_t p = 1; p < q.hands.size() && p <= 9; ++p) {
        opponents[p - 1] = q.hands[p];
    }
    const int count = static_cast<int>(q.hands.size()) - 1;
    if (q.game == Game::ShortDeck) {
        return getProbabilityOfWinHoldem6PlusChinaEnumerate64(
            q.hands[0], q.board, 5, opponents, count, q.dead, &results, q.counter1, q.counter2);
    }
    return getProbabilityOfWinOmaha64Enumerate(q.hands[0], q.board, 5, opponents, count, q.dead,
                                               &results, q.counter1, q.counter2,
                                               q.game == Game::OmahaHiLo ? 1 : 0);
}

// The library's shares for fixed hands against the brute-force deal of every board.
void ExpectMatchesBruteForce(Game game,
                             const std::vector<std::wstring>& hands,
                             const std::wstring& board,
                             const std::wstring& dead = L"")
{
    CQuery q;
    q.game = game;
    std::vector<std::vector<int>> cards;
    for (const auto& hand : hands) {
        q.hands.push_back({Mask(hand)});
        cards.push_back(Cards(hand));
    }
    q.board = Mask(board);
    q.dead = Mask(dead);
    CWinResults results;
    const double hero = Ask(q, results);
    int64_t boards = 0;
    const std::vector<double> expected =
        oracle::BruteForceShares(game, cards, Cards(board), Mask(dead), &boards);
    EXPECT_TRUE(results.exact);
    EXPECT_EQ(results.deals, boards);
    EXPECT_EQ(q.counter1, boards);
    EXPECT_EQ(q.counter2, 1);
    EXPECT_DOUBLE_EQ(hero, expected[0]);
    double sum = 0;
    for (size_t p = 0; p < hands.size(); ++p) {
        EXPECT_NEAR(results.share[p], expected[p], 1e-12) << "player " << p << " on " << board;
        sum += results.share[p];
    }
    EXPECT_NEAR(sum, 1.0, 1e-12);
}

}  // namespace

TEST(WinProbabilityTest, OmahaHighMatchesBruteForceOnFlopsAndTurns)
{
    ExpectMatchesBruteForce(Game::OmahaHigh, {L"AsAhKsKh", L"JcTc9d8d"}, L"Qc7d2h");
    ExpectMatchesBruteForce(Game::OmahaHigh, {L"AsAhKsKh", L"JcTc9d8d"}, L"Qc7d2h3c");
    ExpectMatchesBruteForce(Game::OmahaHigh, {L"AsKs5h6h7c", L"QdQcJdTc2s"}, L"8h9sTs");
    ExpectMatchesBruteForce(Game::OmahaHigh, {L"AsKs5h6h7c8c", L"QdQcJdTc2s3d"}, L"8h9sTs4s");
    // Three and four players, with monotone and paired boards.
    ExpectMatchesBruteForce(Game::OmahaHigh, {L"AhKh2c3d", L"QhJhTc9c", L"8s8d7s6s"}, L"4h5h9h");
    ExpectMatchesBruteForce(Game::OmahaHigh, {L"AhAd2c3d", L"KcKdTc9c", L"8s8d7s6s", L"QsJsQdJd"},
                            L"KhTh8h");
    // The river already dealt: one board, nothing to enumerate.
    ExpectMatchesBruteForce(Game::OmahaHigh, {L"AhKh2c3d", L"QhJhTc9c"}, L"4h5h9h2h2s");
}

TEST(WinProbabilityTest, HiLoMatchesBruteForceWithSplitAndQuarteredPots)
{
    ExpectMatchesBruteForce(Game::OmahaHiLo, {L"Ac2dKhKs", L"Ad3cQhQs"}, L"4h5s9d");
    ExpectMatchesBruteForce(Game::OmahaHiLo, {L"Ac2dKhKs", L"Ah2cQhQs", L"7c8cTdJd"}, L"4h5s9d6h");
    ExpectMatchesBruteForce(Game::OmahaHiLo, {L"Ac2d3hKs5c", L"Ah2c4d8c8s"}, L"6h7hTc");
}

TEST(WinProbabilityTest, HiLoPotIsQuarteredWhenTheLowsTie)
{
    // Both hold A-4 for the same low; the kings take the high half.
    CQuery q;
    q.game = Game::OmahaHiLo;
    q.hands = {{Mask(L"Ac4dKhKc")}, {Mask(L"Ad4cQhJd")}};
    q.board = Mask(L"2c3d7hKsQd");
    CWinResults results;
    EXPECT_DOUBLE_EQ(Ask(q, results), 0.75);
    EXPECT_DOUBLE_EQ(results.share[1], 0.25);
    EXPECT_EQ(results.deals, 1);
}

TEST(WinProbabilityTest, ShortDeckMatchesBruteForce)
{
    ExpectMatchesBruteForce(Game::ShortDeck, {L"AsKs", L"QhQd"}, L"6s7sTd");
    ExpectMatchesBruteForce(Game::ShortDeck, {L"Ah6d", L"9c9d", L"JhTh"}, L"7s8hKd");
    ExpectMatchesBruteForce(Game::ShortDeck, {L"AsKs", L"QhQd"}, L"6s7sTdJs");
}

TEST(WinProbabilityTest, DeadCardsChangeTheResult)
{
    // The hero's flush cards dead: less for the hero, and exactly as dealt.
    ExpectMatchesBruteForce(Game::OmahaHigh, {L"AhKh2c3d", L"QsQdJsTc"}, L"4h5h9c");
    ExpectMatchesBruteForce(Game::OmahaHigh, {L"AhKh2c3d", L"QsQdJsTc"}, L"4h5h9c", L"2h3h6h7h8h");
    CQuery alive;
    alive.hands = {{Mask(L"AhKh2c3d")}, {Mask(L"QsQdJsTc")}};
    alive.board = Mask(L"4h5h9c");
    CQuery dead = alive;
    dead.dead = Mask(L"2h3h6h7h8h");
    CWinResults a;
    CWinResults d;
    EXPECT_GT(Ask(alive, a), Ask(dead, d));
    EXPECT_LT(d.deals, a.deals);
    ExpectMatchesBruteForce(Game::ShortDeck, {L"AsKs", L"QhQd"}, L"6s7sTd", L"8s9sJs");
}

TEST(WinProbabilityTest, PreflopEnumerationCountsEveryBoard)
{
    CQuery q;
    q.hands = {{Mask(L"AsAhKsKh")}, {Mask(L"JcTc9d8d")}};
    CWinResults results;
    const double hero = Ask(q, results);
    EXPECT_TRUE(results.exact);
    EXPECT_EQ(results.deals, 1086008);
    // The same boards dealt one by one with the single-hand evaluator.
    const std::vector<int> a = Cards(L"AsAhKsKh");
    const std::vector<int> b = Cards(L"JcTc9d8d");
    std::vector<int> deck;
    for (int c = 0; c < 52; ++c) {
        if (!((Mask(L"AsAhKsKhJcTc9d8d") >> c) & 1)) {
            deck.push_back(c);
        }
    }
    double won = 0;
    int64_t boards = 0;
    const int n = static_cast<int>(deck.size());
    int board[5];
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            for (int k = j + 1; k < n; ++k) {
                for (int l = k + 1; l < n; ++l) {
                    for (int m = l + 1; m < n; ++m) {
                        const int cards[5] = {deck[i], deck[j], deck[k], deck[l], deck[m]};
                        std::copy(cards, cards + 5, board);
                        const int va =
                            getCombinationOmahaFsm5Common(a.data(), 4, board, 5, nullptr);
                        const int vb =
                            getCombinationOmahaFsm5Common(b.data(), 4, board, 5, nullptr);
                        won += va > vb ? 1.0 : (va == vb ? 0.5 : 0.0);
                        ++boards;
                    }
                }
            }
        }
    }
    EXPECT_EQ(boards, 1086008);
    EXPECT_NEAR(hero, won / static_cast<double>(boards), 1e-12);

    CQuery six;
    six.hands = {{Mask(L"AsAhKsKh2c3c")}, {Mask(L"JcTc9d8d7h6h")}};
    EXPECT_GT(Ask(six, results), 0.0);
    EXPECT_EQ(results.deals, 658008);
    CQuery shortDeck;
    shortDeck.game = Game::ShortDeck;
    shortDeck.hands = {{Mask(L"AsKs")}, {Mask(L"QhQd")}};
    EXPECT_GT(Ask(shortDeck, results), 0.0);
    EXPECT_EQ(results.deals, 201376);
}

TEST(WinProbabilityTest, MirroredHandsSplitEvenly)
{
    CQuery q;
    q.hands = {{Mask(L"AsKsQdJd")}, {Mask(L"AhKhQcJc")}};
    CWinResults results;
    EXPECT_DOUBLE_EQ(Ask(q, results), 0.5);
    EXPECT_DOUBLE_EQ(results.share[1], 0.5);
    CQuery three;
    three.game = Game::ShortDeck;
    three.hands = {{Mask(L"AsKs")}, {Mask(L"AhKh")}, {Mask(L"AdKd")}};
    three.board = Mask(L"7c8c9c");
    EXPECT_NEAR(Ask(three, results), 1.0 / 3.0, 1e-12);
    EXPECT_NEAR(results.share[0] + results.share[1] + results.share[2], 1.0, 1e-12);
}
