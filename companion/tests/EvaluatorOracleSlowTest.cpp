// Every seven-card hand of the short deck against the oracle (8,347,680 hands).
#include "companion/HandEvaluators.h"
#include "companion/tests/OracleEvaluator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <unordered_map>
#include <vector>

namespace {

int64_t Choose(int n, int k)
{
    if (k < 0 || k > n) {
        return 0;
    }
    int64_t c = 1;
    for (int i = 1; i <= k; ++i) {
        c = c * (n - k + i) / i;
    }
    return c;
}

// Rank of five ascending positions among 36 in the combinatorial number system.
size_t FiveIndex(const int* p)
{
    size_t index = 0;
    for (int i = 0; i < 5; ++i) {
        index += static_cast<size_t>(Choose(p[i], i + 1));
    }
    return index;
}

}  // namespace

TEST(EvaluatorOracleSlowTest, EveryShortDeckSevenCardHandRanksAsTheOracleSays)
{
    std::vector<int> deck;
    for (int card = 0; card < 52; ++card) {
        if (card % 13 >= 4) {
            deck.push_back(card);
        }
    }
    // The oracle's key of every five cards, so that each seven-card hand takes
    // the best of its 21 fives by looking them up.
    std::vector<int64_t> fiveKeys(static_cast<size_t>(Choose(36, 5)));
    int p[7];
    for (p[0] = 0; p[0] < 36; ++p[0]) {
        for (p[1] = p[0] + 1; p[1] < 36; ++p[1]) {
            for (p[2] = p[1] + 1; p[2] < 36; ++p[2]) {
                for (p[3] = p[2] + 1; p[3] < 36; ++p[3]) {
                    for (p[4] = p[3] + 1; p[4] < 36; ++p[4]) {
                        const int cards[5] = {deck[p[0]], deck[p[1]], deck[p[2]], deck[p[3]],
                                              deck[p[4]]};
                        fiveKeys[FiveIndex(p)] = oracle::FiveCards(cards, true).key;
                    }
                }
            }
        }
    }
    std::unordered_map<int64_t, int> valueOfKey;
    int64_t hands = 0;
    int64_t faults = 0;
    for (p[0] = 0; p[0] < 36; ++p[0]) {
        for (p[1] = p[0] + 1; p[1] < 36; ++p[1]) {
            for (p[2] = p[1] + 1; p[2] < 36; ++p[2]) {
                for (p[3] = p[2] + 1; p[3] < 36; ++p[3]) {
                    for (p[4] = p[3] + 1; p[4] < 36; ++p[4]) {
                        for (p[5] = p[4] + 1; p[5] < 36; ++p[5]) {
                            for (p[6] = p[5] + 1; p[6] < 36; ++p[6]) {
                                int64_t best = 0;
                                // Leave out two of the seven positions.
                                for (int a = 0; a < 7; ++a) {
                                    for (int b = a + 1; b < 7; ++b) {
                                        int five[5];
                                        int n = 0;
                                        for (int i = 0; i < 7; ++i) {
                                            if (i != a && i != b) {
                                                five[n++] = p[i];
                                            }
                                        }
                                        best = std::max(best, fiveKeys[FiveIndex(five)]);
                                    }
                                }
                                const int hole[2] = {deck[p[0]], deck[p[1]]};
                                const int board[5] = {deck[p[2]], deck[p[3]], deck[p[4]],
                                                      deck[p[5]], deck[p[6]]};
                                const int value = EvaluateHoldem6Plus(hole, 2, board, 5);
                                const auto [it, fresh] = valueOfKey.emplace(best, value);
                                faults += !fresh && it->second != value ? 1 : 0;
                                ++hands;
                            }
                        }
                    }
                }
            }
        }
    }
    EXPECT_EQ(hands, 8347680);
    EXPECT_EQ(faults, 0);
    // Distinct oracle classes must map to strictly increasing values.
    const std::map<int64_t, int> ordered(valueOfKey.begin(), valueOfKey.end());
    int previous = 0;
    int64_t outOfOrder = 0;
    for (const auto& entry : ordered) {
        outOfOrder += entry.second <= previous ? 1 : 0;
        previous = entry.second;
    }
    EXPECT_EQ(outOfOrder, 0);
}
