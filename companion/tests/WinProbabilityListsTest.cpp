// Probabilities of players whose hands are lists, and the answers to input that
// cannot be dealt.
#include "companion/WinProbability.h"
#include "companion/tests/OracleEvaluator.h"
#include "foundation/Cards.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

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

std::vector<int> MaskCards(uint64_t mask)
{
    std::vector<int> cards;
    for (int c = 0; c < 52; ++c) {
        if (mask >> c & 1) {
            cards.push_back(c);
        }
    }
    return cards;
}

// Every hand of `known` plus one more card that neither it nor `taken` holds.
std::vector<uint64_t> PlusOneCard(uint64_t known, uint64_t taken)
{
    std::vector<uint64_t> hands;
    for (int c = 0; c < 52; ++c) {
        if (!((known | taken) >> c & 1)) {
            hands.push_back(known | uint64_t{1} << c);
        }
    }
    return hands;
}

double Omaha(const std::vector<uint64_t>& hero,
             const std::vector<uint64_t>& opponent,
             uint64_t board,
             int& counter1,
             int& counter2,
             CWinResults& results)
{
    const std::vector<uint64_t> opponents[1] = {opponent};
    return getProbabilityOfWinOmaha64Common(4, hero, board, 5, opponents, 1, 0, &results, counter1,
                                            counter2);
}

}  // namespace

TEST(WinProbabilityListsTest, SmallListsAreEnumeratedExactly)
{
    const uint64_t board = Mask(L"Qc7d2h3c");
    const std::vector<uint64_t> hero = {Mask(L"AsAhKsKh"), Mask(L"AsAhKsKd")};
    const std::vector<uint64_t> villain = {Mask(L"JcTc9d8d"), Mask(L"JcTc9d8s"), Mask(L"KdTc9d8s")};
    // Each fitting pair of hands is as likely as any other, and every pair meets
    // the same number of rivers, so the answer is the mean over the pairs.
    double expected = 0;
    int pairs = 0;
    for (const uint64_t h : hero) {
        for (const uint64_t v : villain) {
            if ((h & v) == 0) {
                expected +=
                    oracle::BruteForceShares(oracle::Game::OmahaHigh, {MaskCards(h), MaskCards(v)},
                                             Cards(L"Qc7d2h3c"), 0)[0];
                ++pairs;
            }
        }
    }
    ASSERT_EQ(pairs, 5);
    int counter1 = 10000;
    int counter2 = 10000;
    CWinResults results;
    EXPECT_NEAR(Omaha(hero, villain, board, counter1, counter2, results), expected / pairs, 1e-12);
    EXPECT_TRUE(results.exact);
    EXPECT_EQ(counter2, 5);
    EXPECT_EQ(counter1, 5 * 40);
    EXPECT_EQ(results.deals, 5 * 40);
}

TEST(WinProbabilityListsTest, HandsMeetingTheBoardOrDeadCardsAreDropped)
{
    const uint64_t board = Mask(L"Qc7d2h3c");
    const std::vector<uint64_t> villain = {Mask(L"JcTc9d8d")};
    int c1 = 10000;
    int c2 = 10000;
    CWinResults alone;
    const double one = Omaha({Mask(L"AsAhKsKh")}, villain, board, c1, c2, alone);
    CWinResults padded;
    const double two =
        Omaha({Mask(L"AsAhKsKh"), Mask(L"AsAhKsQc")}, villain, board, c1, c2, padded);
    EXPECT_DOUBLE_EQ(one, two);
    EXPECT_EQ(alone.deals, padded.deals);
}

TEST(WinProbabilityListsTest, LargeListsAreSampledReproduciblyAndCloseToExact)
{
    // Three known cards each on a flop, the fourth still to come.
    const uint64_t board = Mask(L"Qc7d2h");
    const uint64_t heroKnown = Mask(L"AsAhKs");
    const uint64_t villainKnown = Mask(L"JcTc9d");
    const std::vector<uint64_t> hero = PlusOneCard(heroKnown, board | villainKnown);
    const std::vector<uint64_t> villain = PlusOneCard(villainKnown, board | heroKnown);

    int c1 = 100000000;
    int c2 = 10000;
    CWinResults exact;
    const double truth = Omaha(hero, villain, board, c1, c2, exact);
    EXPECT_TRUE(exact.exact);

    c1 = 100000;
    c2 = 1000;
    CWinResults sampled;
    const double estimate = Omaha(hero, villain, board, c1, c2, sampled);
    EXPECT_FALSE(sampled.exact);
    EXPECT_EQ(sampled.deals, 100000);
    EXPECT_EQ(c1, 100000);
    EXPECT_EQ(c2, 1000);
    EXPECT_NEAR(estimate, truth, 0.03);
    EXPECT_NEAR(sampled.share[0] + sampled.share[1], 1.0, 1e-12);

    c1 = 100000;
    c2 = 1000;
    CWinResults again;
    EXPECT_EQ(Omaha(hero, villain, board, c1, c2, again), estimate);
}

TEST(WinProbabilityListsTest, CrowdedListsStillDeal)
{
    // Ten players with two known cards each and two to come: hardly any random
    // choice of ten hands fits together, yet every draw must find one.
    const std::wstring known[10] = {L"AsAh", L"KsKh", L"QsQh", L"JsJh", L"TsTh",
                                    L"9s9h", L"8s8h", L"7s7h", L"6s6h", L"5s5h"};
    std::vector<uint64_t> lists[10];
    for (int p = 0; p < 10; ++p) {
        const uint64_t mine = Mask(known[p]);
        for (int i = 0; i < 52; ++i) {
            for (int j = i + 1; j < 52; ++j) {
                const uint64_t extra = uint64_t{1} << i | uint64_t{1} << j;
                if (!(extra & mine)) {
                    lists[p].push_back(mine | extra);
                }
            }
        }
    }
    int c1 = 10000;
    int c2 = 1000;
    CWinResults results;
    const double hero =
        getProbabilityOfWinOmaha64Common(4, lists[0], 0, 5, lists + 1, 9, 0, &results, c1, c2);
    EXPECT_GT(hero, 0.0);
    EXPECT_EQ(c2, 1000);
    double sum = 0;
    for (const double share : results.share) {
        sum += share;
    }
    EXPECT_NEAR(sum, 1.0, 1e-9);
    EXPECT_GT(results.share[0], results.share[9]);  // aces against fives
}

TEST(WinProbabilityListsTest, FixedHandsAreExactWhateverTheBudget)
{
    int c1 = 1;
    int c2 = 1;
    CWinResults results;
    Omaha({Mask(L"AsAhKsKh")}, {Mask(L"JcTc9d8d")}, 0, c1, c2, results);
    EXPECT_TRUE(results.exact);
    EXPECT_EQ(results.deals, 1086008);
}

TEST(WinProbabilityListsTest, InputThatCannotBeDealtGivesMinusOne)
{
    const std::vector<uint64_t> hero = {Mask(L"AsAhKsKh")};
    const std::vector<uint64_t> ok[9] = {{Mask(L"JcTc9d8d")}};
    int c1 = 10000;
    int c2 = 10000;
    CWinResults results;
    const auto omaha = [&](const std::vector<uint64_t>& h, const std::vector<uint64_t>* opponents,
                           int count, uint64_t board, int boardCards, uint64_t dead, int variant) {
        c1 = 10000;
        c2 = 10000;
        results.deals = 99;
        return getProbabilityOfWinOmaha64Enumerate(h, board, boardCards, opponents, count, dead,
                                                   &results, c1, c2, variant);
    };
    EXPECT_GT(omaha(hero, ok, 1, 0, 5, 0, 0), 0.0);
    const std::vector<uint64_t> shared[9] = {{Mask(L"AsTc9d8d")}};
    EXPECT_EQ(omaha(hero, shared, 1, 0, 5, 0, 0), -1.0);
    EXPECT_EQ(results.deals, 0);
    EXPECT_EQ(c1, 0);
    EXPECT_EQ(c2, 0);
    EXPECT_EQ(omaha(hero, ok, 1, Mask(L"As2c3c"), 5, 0, 0), -1.0);        // board meets a hand
    EXPECT_EQ(omaha(hero, ok, 1, Mask(L"2c3c4c5c6c7c"), 5, 0, 0), -1.0);  // six board cards
    EXPECT_EQ(omaha(hero, ok, 1, 0, 4, 0, 0), -1.0);
    EXPECT_EQ(omaha(hero, ok, 1, Mask(L"2c"), 5, Mask(L"2c"), 0), -1.0);
    EXPECT_EQ(omaha(hero, ok, 0, 0, 5, 0, 0), -1.0);
    EXPECT_EQ(omaha(hero, ok, 10, 0, 5, 0, 0), -1.0);
    EXPECT_EQ(omaha(hero, nullptr, 1, 0, 5, 0, 0), -1.0);
    EXPECT_EQ(omaha(hero, ok, 1, 0, 5, 0, 2), -1.0);  // no such variant
    EXPECT_EQ(omaha({Mask(L"AsAhKs")}, ok, 1, 0, 5, 0, 0), -1.0);
    EXPECT_EQ(omaha({}, ok, 1, 0, 5, 0, 0), -1.0);
    EXPECT_EQ(omaha({Mask(L"AsAhKsKh"), Mask(L"AsAhKsKhQh")}, ok, 1, 0, 5, 0, 0), -1.0);
    // Nine opponents with six cards each need more than a deck.
    std::vector<uint64_t> crowd[9];
    for (int p = 0; p < 9; ++p) {
        crowd[p] = {uint64_t{0x3F} << (6 * p % 46)};
    }
    EXPECT_EQ(omaha({Mask(L"AsAhKsKhQhQs")}, crowd, 9, 0, 5, 0, 0), -1.0);

    std::vector<uint64_t> common[1] = {{Mask(L"JcTc9d8d7d")}};
    EXPECT_EQ(getProbabilityOfWinOmaha64Common(4, hero, 0, 5, common, 1, 0, nullptr, c1, c2), -1.0);
    EXPECT_EQ(getProbabilityOfWinOmaha64Common(7, hero, 0, 5, ok, 1, 0, nullptr, c1, c2), -1.0);

    const std::vector<uint64_t> shortOk[9] = {{Mask(L"QhQd")}};
    EXPECT_GE(getProbabilityOfWinHoldem6PlusChinaEnumerate64({Mask(L"AsKs")}, 0, 5, shortOk, 1, 0,
                                                             nullptr, c1, c2),
              0.0);
    // Fives and lower are not in the short deck, neither in a hand nor dead.
    EXPECT_EQ(getProbabilityOfWinHoldem6PlusChinaEnumerate64({Mask(L"As5s")}, 0, 5, shortOk, 1, 0,
                                                             nullptr, c1, c2),
              -1.0);
    EXPECT_EQ(getProbabilityOfWinHoldem6PlusChinaEnumerate64({Mask(L"AsKs")}, 0, 5, shortOk, 1,
                                                             Mask(L"2c"), nullptr, c1, c2),
              -1.0);
    EXPECT_EQ(getProbabilityOfWinHoldem6PlusChinaEnumerate64({Mask(L"AsKsQs")}, 0, 5, shortOk, 1, 0,
                                                             nullptr, c1, c2),
              -1.0);
}
