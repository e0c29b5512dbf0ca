#include "stats/AllinEquity.h"

#include <algorithm>

namespace {

constexpr int kMaxOpponents = 9;
constexpr int kFusionKind = 30;
constexpr int kShortDeckKind = 202;

}  // namespace

std::vector<uint64_t> ExpandHand(uint64_t mask)
{
    std::vector<uint64_t> hands;
    const int known = __builtin_popcountll(mask);
    if (known == 4) {
        hands.push_back(mask);
    } else if (known == 3 || known == 2) {
        for (int i = 0; i < 52; ++i) {
            const uint64_t first = uint64_t{1} << i;
            if (mask & first) {
                continue;
            }
            if (known == 3) {
                hands.push_back(mask | first);
                continue;
            }
            for (int j = i + 1; j < 52; ++j) {
                const uint64_t second = uint64_t{1} << j;
                if (!(mask & second)) {
                    hands.push_back(mask | first | second);
                }
            }
        }
    }
    return hands;
}

double Equity(const AllinEvInput& input,
              const std::vector<uint64_t>& opponents,
              uint64_t dead,
              CWinResults* results)
{
    if (input.heroIndex < 0 || input.heroIndex >= static_cast<int>(input.players.size()) ||
        opponents.empty()) {
        return -1.0;
    }
    const uint64_t hero = input.players[static_cast<size_t>(input.heroIndex)].cardsMask;
    const int count = std::min(static_cast<int>(opponents.size()), kMaxOpponents);
    // A lone opponent for the whole pot is worth the most work; side pots and
    // crowded pots get the smaller budget.
    const bool headsUpSinglePot = opponents.size() == 1 && input.pots.size() <= 1;
    int counter1 = headsUpSinglePot ? 1000000 : 10000;
    int counter2 = 10000;
    std::vector<uint64_t> heroHands;
    std::vector<uint64_t> opponentHands[kMaxOpponents];
    double probability = -1.0;
    if (input.gameKind == kFusionKind) {
        // The cards still to be dealt to each player are enumerated as hands.
        heroHands = ExpandHand(hero);
        for (int i = 0; i < count; ++i) {
            opponentHands[i] = ExpandHand(opponents[static_cast<size_t>(i)]);
        }
        if (__builtin_popcountll(input.boardMask) < 3) {
            probability =
                getProbabilityOfWinOmaha64Common(4, heroHands, input.boardMask, 5, opponentHands,
                                                 count, dead, results, counter1, counter2);
        } else {
            probability =
                getProbabilityOfWinOmaha64Enumerate(heroHands, input.boardMask, 5, opponentHands,
                                                    count, dead, results, counter1, counter2, 0);
        }
    } else {
        heroHands = {hero};
        for (int i = 0; i < count; ++i) {
            opponentHands[i] = {opponents[static_cast<size_t>(i)]};
        }
        if (input.gameKind == kShortDeckKind) {
            probability = getProbabilityOfWinHoldem6PlusChinaEnumerate64(
                heroHands, input.boardMask, 5, opponentHands, count, dead, results, counter1,
                counter2);
        } else {
            probability = getProbabilityOfWinOmaha64Enumerate(
                heroHands, input.boardMask, 5, opponentHands, count, dead, results, counter1,
                counter2, input.variant % 10);
        }
    }
    return probability < 0 ? -1.0 : probability * 100.0;
}
