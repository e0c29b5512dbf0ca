// A slow evaluator written for obviousness, not speed: it classifies five cards
// by counting, and plays Omaha and Hold'em by trying every choice of cards. The
// tests hold the library's evaluators and probabilities against it.
#pragma once

#include <cstdint>
#include <vector>

namespace oracle {

// Category codes as the library reports them (1 high card .. 9 straight flush).
// The key orders hands: a higher key wins, equal keys tie. Short-deck keys use
// that game's order of categories.
struct CHand
{
    int category = 0;
    int64_t key = 0;
};

CHand FiveCards(const int* cards, bool shortDeck);

// Best hand of exactly two hole cards and three board cards.
CHand OmahaHigh(const std::vector<int>& hole, const std::vector<int>& board);

// Best eight-or-better low of exactly two hole and three board cards; a higher
// key is a better low, 0 means none.
int64_t OmahaLow(const std::vector<int>& hole, const std::vector<int>& board);

// Best five of the hole and board cards together.
CHand BestOfAll(const std::vector<int>& hole, const std::vector<int>& board, bool shortDeck);

enum class Game
{
    OmahaHigh,
    OmahaHiLo,
    ShortDeck,
};

// Every player's pot share, found by dealing each remaining board one by one.
std::vector<double> BruteForceShares(Game game,
                                     const std::vector<std::vector<int>>& hands,
                                     const std::vector<int>& board,
                                     uint64_t dead,
                                     int64_t* boards = nullptr);

}  // namespace oracle
