#include "companion/tests/OracleEvaluator.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace oracle {

namespace {

int OrderOf(int category, bool shortDeck)
{
    // The short deck swaps flush with full house and straight with three of a kind.
    static constexpr int kShort[10] = {0, 1, 2, 3, 5, 4, 7, 6, 8, 9};
    return shortDeck ? kShort[category] : category;
}

void ForEachChoice(int n, int k, const std::function<void(const std::vector<int>&)>& visit)
{
    std::vector<int> chosen;
    std::function<void(int)> step = [&](int from) {
        if (static_cast<int>(chosen.size()) == k) {
            visit(chosen);
            return;
        }
        for (int i = from; i < n; ++i) {
            chosen.push_back(i);
            step(i + 1);
            chosen.pop_back();
        }
    };
    step(0);
}

}  // namespace

CHand FiveCards(const int* cards, bool shortDeck)
{
    std::vector<int> ranks;
    bool flush = true;
    int counts[13] = {};
    for (int i = 0; i < 5; ++i) {
        ranks.push_back(cards[i] % 13);
        flush = flush && cards[i] / 13 == cards[0] / 13;
        ++counts[cards[i] % 13];
    }
    std::sort(ranks.rbegin(), ranks.rend());
    std::vector<std::pair<int, int>> groups;  // (count, rank), largest first
    for (int r = 0; r < 13; ++r) {
        if (counts[r] > 0) {
            groups.emplace_back(counts[r], r);
        }
    }
    std::sort(groups.rbegin(), groups.rend());
    int straightTop = -1;
    if (groups.size() == 5) {
        if (ranks[0] - ranks[4] == 4) {
            straightTop = ranks[0];
        } else if (!shortDeck && ranks == std::vector<int>{12, 3, 2, 1, 0}) {
            straightTop = 3;
        } else if (shortDeck && ranks == std::vector<int>{12, 7, 6, 5, 4}) {
            straightTop = 7;
        }
    }
    const bool straight = straightTop >= 0;
    CHand hand;
    if (straight && flush) {
        hand.category = 9;
    } else if (groups[0].first == 4) {
        hand.category = 8;
    } else if (groups[0].first == 3 && groups[1].first == 2) {
        hand.category = 7;
    } else if (flush) {
        hand.category = 6;
    } else if (straight) {
        hand.category = 5;
    } else if (groups[0].first == 3) {
        hand.category = 4;
    } else if (groups[0].first == 2 && groups[1].first == 2) {
        hand.category = 3;
    } else if (groups[0].first == 2) {
        hand.category = 2;
    } else {
        hand.category = 1;
    }
    std::vector<int> tiebreak;
    if (straight) {
        tiebreak.push_back(straightTop);
    } else {
        for (const auto& group : groups) {
            tiebreak.push_back(group.second);
        }
    }
    tiebreak.resize(5, 0);
    hand.key = OrderOf(hand.category, shortDeck);
    for (const int t : tiebreak) {
        hand.key = hand.key * 16 + t;
    }
    return hand;
}

CHand OmahaHigh(const std::vector<int>& hole, const std::vector<int>& board)
{
    CHand best;
    ForEachChoice(static_cast<int>(hole.size()), 2, [&](const std::vector<int>& h) {
        ForEachChoice(static_cast<int>(board.size()), 3, [&](const std::vector<int>& b) {
            const int cards[5] = {hole[h[0]], hole[h[1]], board[b[0]], board[b[1]], board[b[2]]};
            const CHand hand = FiveCards(cards, false);
            if (hand.key > best.key) {
                best = hand;
            }
        });
    });
    return best;
}

int64_t OmahaLow(const std::vector<int>& hole, const std::vector<int>& board)
{
    int64_t best = 0;
    ForEachChoice(static_cast<int>(hole.size()), 2, [&](const std::vector<int>& h) {
        ForEachChoice(static_cast<int>(board.size()), 3, [&](const std::vector<int>& b) {
            std::vector<int> lows;
            for (const int card : {hole[h[0]], hole[h[1]], board[b[0]], board[b[1]], board[b[2]]}) {
                const int rank = card % 13;
                lows.push_back(rank == 12 ? 1 : rank + 2);
            }
            std::sort(lows.rbegin(), lows.rend());
            if (lows[0] > 8 || std::adjacent_find(lows.begin(), lows.end()) != lows.end()) {
                return;
            }
            int64_t key = 0;
            for (const int low : lows) {
                key = key * 16 + low;
            }
            best = std::max(best, (int64_t{1} << 20) - key);
        });
    });
    return best;
}

CHand BestOfAll(const std::vector<int>& hole, const std::vector<int>& board, bool shortDeck)
{
    std::vector<int> all = hole;
    all.insert(all.end(), board.begin(), board.end());
    CHand best;
    ForEachChoice(static_cast<int>(all.size()), 5, [&](const std::vector<int>& c) {
        const int cards[5] = {all[c[0]], all[c[1]], all[c[2]], all[c[3]], all[c[4]]};
        const CHand hand = FiveCards(cards, shortDeck);
        if (hand.key > best.key) {
            best = hand;
        }
    });
    return best;
}

std::vector<double> BruteForceShares(Game game,
                                     const std::vector<std::vector<int>>& hands,
                                     const std::vector<int>& board,
                                     uint64_t dead,
                                     int64_t* boards)
{
    uint64_t used = dead;
    for (const auto& hand : hands) {
        for (const int card : hand) {
            used |= uint64_t{1} << card;
        }
    }
    for (const int card : board) {
        used |= uint64_t{1} << card;
    }
    std::vector<int> deck;
    for (int card = 0; card < 52; ++card) {
        if (!(used >> card & 1) && (game != Game::ShortDeck || card % 13 >= 4)) {
            deck.push_back(card);
        }
    }
    const size_t players = hands.size();
    std::vector<double> shares(players, 0.0);
    int64_t count = 0;
    const int missing = 5 - static_cast<int>(board.size());
    ForEachChoice(static_cast<int>(deck.size()), missing, [&](const std::vector<int>& c) {
        std::vector<int> full = board;
        for (const int i : c) {
            full.push_back(deck[i]);
        }
        std::vector<int64_t> high(players);
        std::vector<int64_t> low(players, 0);
        for (size_t p = 0; p < players; ++p) {
            high[p] = game == Game::ShortDeck ? BestOfAll(hands[p], full, true).key
                                              : OmahaHigh(hands[p], full).key;
            if (game == Game::OmahaHiLo) {
                low[p] = OmahaLow(hands[p], full);
            }
        }
        const int64_t bestHigh = *std::max_element(high.begin(), high.end());
        const int64_t bestLow = *std::max_element(low.begin(), low.end());
        const auto highWinners = std::count(high.begin(), high.end(), bestHigh);
        const auto lowWinners = bestLow > 0 ? std::count(low.begin(), low.end(), bestLow) : 0;
        const double highPot = bestLow > 0 ? 0.5 : 1.0;
        for (size_t p = 0; p < players; ++p) {
            shares[p] += high[p] == bestHigh ? highPot / static_cast<double>(highWinners) : 0.0;
            shares[p] +=
                bestLow > 0 && low[p] == bestLow ? 0.5 / static_cast<double>(lowWinners) : 0.0;
        }
        ++count;
    });
    for (double& share : shares) {
        share /= static_cast<double>(count);
    }
    if (boards != nullptr) {
        *boards = count;
    }
    return shares;
}

}  // namespace oracle
