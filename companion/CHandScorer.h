// The players' fixed hole cards of one deal, ready to be scored on many boards.
// Built per deal and used by one thread; holds references to the loaded tables.
// Private to the companion library.
#pragma once

#include "companion/EvaluatorTables.h"

#include <cstdint>

namespace ostrand {

enum class EquityGame
{
    OmahaHigh,
    OmahaHiLo,
    ShortDeck,
};

inline constexpr int kMaxPlayers = 10;
// What one board is worth. 2520 is divisible by every number of winners up to
// ten, and hi-lo halves the pot before splitting it.
inline constexpr int64_t kShareUnits = 5040;

class CHandScorer
{
public:
    // `hands` are the hole-card masks of `count` players (1..10), valid for `game`.
    // With `prepare` each Omaha hand is first scored against every three board
    // ranks, which pays off once it meets more than about fifty boards.
    CHandScorer(const CEvaluatorTables& tables,
                EquityGame game,
                const uint64_t* hands,
                int count,
                bool prepare);

    int Count() const { return m_count; }
    bool HiLo() const { return m_game == EquityGame::OmahaHiLo; }

    // Player p's best hand without a flush on a board of rank pattern `pattern`.
    uint32_t High(int p, int pattern) const;
    // Player p's low (0 for none) on a board whose distinct low ranks are `lowMask`.
    uint32_t Low(int p, uint32_t lowMask) const;
    // Whether any player can make a flush of `suit` when the board holds
    // `boardCount` cards of it.
    bool AnyFlush(int suit, int boardCount) const;
    // Player p's best flush of `suit` when the board's cards of that suit have the
    // ranks `boardRanks` (at least three); 0 when the player has none.
    uint32_t Flush(int p, int suit, uint32_t boardRanks) const;

    // Adds `weight` boards on which the players hold high[] and low[] to
    // `shares`: every player gets its part of kShareUnits per board, ties split.
    void Score(const uint32_t* high, const uint32_t* low, int64_t weight, int64_t* shares) const;

private:
    struct CPlayer
    {
        uint32_t suitRanks[4] = {};
        uint32_t lowRanks = 0;
        uint8_t rankCounts[13] = {};
        uint8_t pairs[15] = {};  // distinct two-rank choices, as pair indexes
        int pairCount = 0;
        uint32_t bestByTriple[kRankTriples];  // with `prepare` only
    };

    const CEvaluatorTables& m_tables;
    EquityGame m_game;
    int m_count;
    bool m_prepared;
    int m_maxSuited[4] = {};  // most hole cards of each suit any player holds
    CPlayer m_players[kMaxPlayers];
};

}  // namespace ostrand
