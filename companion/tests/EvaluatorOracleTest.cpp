// The fast evaluators against the oracle: every five-card hand, and fixed-seed
// samples of Omaha, Omaha low and short-deck hands.
#include "companion/HandEvaluators.h"
#include "companion/tests/OracleEvaluator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>
#include <vector>

namespace {

// Oracle key and library value of one hand.
using Pair = std::pair<int64_t, int>;

// The library must order the hands exactly as the oracle does: equal keys give
// equal values and a higher key a higher value. Returns the number of classes.
size_t ExpectSameOrder(std::vector<Pair>& hands)
{
    std::sort(hands.begin(), hands.end());
    size_t classes = hands.empty() ? 0 : 1;
    size_t faults = 0;
    for (size_t i = 1; i < hands.size(); ++i) {
        const bool sameKey = hands[i].first == hands[i - 1].first;
        classes += sameKey ? 0 : 1;
        const bool ok = sameKey ? hands[i].second == hands[i - 1].second
                                : hands[i].second > hands[i - 1].second;
        if (!ok && faults++ < 5) {
            ADD_FAILURE() << "oracle keys " << std::hex << hands[i - 1].first << " and "
                          << hands[i].first << " got values " << hands[i - 1].second << " and "
                          << hands[i].second;
        }
    }
    EXPECT_EQ(faults, 0u);
    return classes;
}

std::vector<int> Deal(std::mt19937_64& random, std::vector<int> deck, size_t n)
{
    std::shuffle(deck.begin(), deck.end(), random);
    deck.resize(n);
    return deck;
}

std::vector<int> FullDeck()
{
    std::vector<int> deck(52);
    for (int c = 0; c < 52; ++c) {
        deck[c] = c;
    }
    return deck;
}

}  // namespace

TEST(EvaluatorOracleTest, EveryFiveCardHandRanksAsTheOracleSays)
{
    std::vector<Pair> hands;
    hands.reserve(2598960);
    int wrongCategory = 0;
    int c[5];
    for (c[0] = 0; c[0] < 52; ++c[0]) {
        for (c[1] = c[0] + 1; c[1] < 52; ++c[1]) {
            for (c[2] = c[1] + 1; c[2] < 52; ++c[2]) {
                for (c[3] = c[2] + 1; c[3] < 52; ++c[3]) {
                    for (c[4] = c[3] + 1; c[4] < 52; ++c[4]) {
                        const int value = getCombinationOmahaFsm5Common(c, 2, c + 2, 3, nullptr);
                        const oracle::CHand expected = oracle::FiveCards(c, false);
                        wrongCategory += Get_rankFsm5(value) != expected.category ? 1 : 0;
                        hands.emplace_back(expected.key, value);
                    }
                }
            }
        }
    }
    EXPECT_EQ(wrongCategory, 0);
    EXPECT_EQ(hands.size(), 2598960u);
    EXPECT_EQ(ExpectSameOrder(hands), 7462u);
}

TEST(EvaluatorOracleTest, OmahaHighMatchesTheOracleForFourFiveAndSixCards)
{
    std::mt19937_64 random(7);
    for (int holeCount = 4; holeCount <= 6; ++holeCount) {
        std::vector<Pair> hands;
        for (int i = 0; i < 30000; ++i) {
            const size_t boardCount = 3 + static_cast<size_t>(i % 3);
            const std::vector<int> cards = Deal(random, FullDeck(), holeCount + boardCount);
            const std::vector<int> hole(cards.begin(), cards.begin() + holeCount);
            const std::vector<int> board(cards.begin() + holeCount, cards.end());
            int best5[5];
            const int value = getCombinationOmahaFsm5Common(hole.data(), holeCount, board.data(),
                                                            static_cast<int>(board.size()), best5);
            const oracle::CHand expected = oracle::OmahaHigh(hole, board);
            ASSERT_EQ(Get_rankFsm5(value), expected.category) << "hole cards " << holeCount;
            // The five cards reported are two of the hand and three of the board
            // and make the hand that was valued.
            EXPECT_EQ(oracle::FiveCards(best5, false).key, expected.key);
            EXPECT_EQ(std::count_if(best5, best5 + 2,
                                    [&](int c) {
                                        return std::find(hole.begin(), hole.end(), c) != hole.end();
                                    }),
                      2);
            hands.emplace_back(expected.key, value);
        }
        ExpectSameOrder(hands);
    }
}

TEST(EvaluatorOracleTest, OmahaLowMatchesTheOracle)
{
    // Mostly low cards, so that lows, counterfeits and misses all come up often.
    std::vector<int> lowHeavy;
    for (int c = 0; c < 52; ++c) {
        const int rank = c % 13;
        if (rank <= 6 || rank == 12 || c % 4 == 0) {
            lowHeavy.push_back(c);
        }
    }
    std::mt19937_64 random(11);
    std::vector<Pair> hands;
    int withLow = 0;
    for (int i = 0; i < 40000; ++i) {
        const int holeCount = 4 + i % 3;
        const std::vector<int> cards = Deal(random, lowHeavy, holeCount + 5);
        const std::vector<int> hole(cards.begin(), cards.begin() + holeCount);
        const std::vector<int> board(cards.begin() + holeCount, cards.end());
        const int value =
            SetLowValueCombinationOmahaCommon(hole.data(), holeCount, board.data(), 5);
        const int64_t expected = oracle::OmahaLow(hole, board);
        ASSERT_EQ(value == 0, expected == 0);
        withLow += value != 0 ? 1 : 0;
        hands.emplace_back(expected, value);
    }
    EXPECT_GT(withLow, 10000);
    // All 56 lows (five of eight ranks) and "no low" come up.
    EXPECT_EQ(ExpectSameOrder(hands), 57u);
}

TEST(EvaluatorOracleTest, ShortDeckMatchesTheOracleOnSampledSevenCardHands)
{
    std::vector<int> shortDeck;
    for (int c = 0; c < 52; ++c) {
        if (c % 13 >= 4) {
            shortDeck.push_back(c);
        }
    }
    std::mt19937_64 random(13);
    std::vector<Pair> hands;
    for (int i = 0; i < 100000; ++i) {
        const size_t boardCount = i % 10 == 0 ? 3 + static_cast<size_t>(i % 3) : 5;
        const std::vector<int> cards = Deal(random, shortDeck, 2 + boardCount);
        const std::vector<int> hole(cards.begin(), cards.begin() + 2);
        const std::vector<int> board(cards.begin() + 2, cards.end());
        const int value =
            EvaluateHoldem6Plus(hole.data(), 2, board.data(), static_cast<int>(board.size()));
        const oracle::CHand expected = oracle::BestOfAll(hole, board, true);
        ASSERT_EQ(Get_rankFsm5(value), expected.category);
        hands.emplace_back(expected.key, value);
    }
    ExpectSameOrder(hands);
}
