#include "companion/CHandScorer.h"

#include "companion/HandValue.h"
#include "companion/LowHand.h"
#include "companion/RankEvaluation.h"

#include <algorithm>

namespace ostrand {

CHandScorer::CHandScorer(
    const CEvaluatorTables& tables, EquityGame game, const uint64_t* hands, int count, bool prepare)
    : m_tables(tables)
    , m_game(game)
    , m_count(std::clamp(count, 0, kMaxPlayers))
    , m_prepared(prepare && game != EquityGame::ShortDeck)
{
    for (int p = 0; p < m_count; ++p) {
        CPlayer& player = m_players[p];
        int ranks[52];
        int n = 0;
        for (uint64_t rest = hands[p]; rest; rest &= rest - 1) {
            const int card = __builtin_ctzll(rest);
            const int rank = card % 13;
            ranks[n++] = rank;
            player.suitRanks[card / 13] |= 1u << rank;
            ++player.rankCounts[rank];
            if (LowRank(rank) >= 0) {
                player.lowRanks |= 1u << LowRank(rank);
            }
        }
        for (int s = 0; s < 4; ++s) {
            m_maxSuited[s] = std::max(m_maxSuited[s], __builtin_popcount(player.suitRanks[s]));
        }
        for (int i = 0; i < n && game != EquityGame::ShortDeck; ++i) {
            for (int j = i + 1; j < n; ++j) {
                const uint8_t pair = tables.pairIndex[ranks[i]][ranks[j]];
                if (std::find(player.pairs, player.pairs + player.pairCount, pair) ==
                        player.pairs + player.pairCount &&
                    player.pairCount < 15) {
                    player.pairs[player.pairCount++] = pair;
                }
            }
        }
        if (m_prepared) {
            for (int t = 0; t < kRankTriples; ++t) {
                uint32_t best = 0;
                for (int k = 0; k < player.pairCount; ++k) {
                    best = std::max(best, tables.omahaRank[player.pairs[k]][t]);
                }
                player.bestByTriple[t] = best;
            }
        }
    }
}

uint32_t CHandScorer::High(int p, int pattern) const
{
    const CPlayer& player = m_players[p];
    const CBoardPattern& board = m_tables.patterns[pattern];
    if (m_game == EquityGame::ShortDeck) {
        uint8_t counts[13];
        std::copy(player.rankCounts, player.rankCounts + 13, counts);
        for (const uint8_t rank : board.ranks) {
            ++counts[rank];
        }
        return BestRankValue(counts, true);
    }
    uint32_t best = 0;
    if (m_prepared) {
        for (int t = 0; t < board.tripleCount; ++t) {
            best = std::max(best, player.bestByTriple[board.triples[t]]);
        }
        return best;
    }
    for (int t = 0; t < board.tripleCount; ++t) {
        for (int k = 0; k < player.pairCount; ++k) {
            best = std::max(best, m_tables.omahaRank[player.pairs[k]][board.triples[t]]);
        }
    }
    return best;
}

uint32_t CHandScorer::Low(int p, uint32_t lowMask) const
{
    return BestLow(m_players[p].lowRanks, lowMask);
}

bool CHandScorer::AnyFlush(int suit, int boardCount) const
{
    if (boardCount < 3) {
        return false;
    }
    // Omaha plays exactly two hole cards; Hold'em any number with the board.
    return m_game == EquityGame::ShortDeck ? boardCount + m_maxSuited[suit] >= 5
                                           : m_maxSuited[suit] >= 2;
}

uint32_t CHandScorer::Flush(int p, int suit, uint32_t boardRanks) const
{
    const uint32_t hole = m_players[p].suitRanks[suit];
    if (m_game == EquityGame::ShortDeck) {
        return BestFlushValue(hole | boardRanks, true);
    }
    if (__builtin_popcount(hole) < 2 || __builtin_popcount(boardRanks) < 3) {
        return 0;
    }
    // A straight flush needs its five ranks split two from the hand, three from
    // the board; hand and board cards of one suit never share a rank.
    for (int top = 12; top >= 3; --top) {
        const uint32_t window = top == 3 ? (1u << 12 | 0xFu) : 0x1Fu << (top - 4);
        if (__builtin_popcount(window & hole) >= 2 &&
            __builtin_popcount(window & boardRanks) >= 3 && (window & ~(hole | boardRanks)) == 0) {
            return MakeValue(kStraightFlush, top);
        }
    }
    return BestFlushValue(HighestRanks(hole, 2) | HighestRanks(boardRanks, 3), false);
}

void CHandScorer::Score(const uint32_t* high,
                        const uint32_t* low,
                        int64_t weight,
                        int64_t* shares) const
{
    if (weight == 0) {
        return;
    }
    uint32_t bestHigh = 0;
    uint32_t bestLow = 0;
    for (int p = 0; p < m_count; ++p) {
        bestHigh = std::max(bestHigh, high[p]);
        if (m_game == EquityGame::OmahaHiLo) {
            bestLow = std::max(bestLow, low[p]);
        }
    }
    int highWinners = 0;
    int lowWinners = 0;
    for (int p = 0; p < m_count; ++p) {
        highWinners += high[p] == bestHigh ? 1 : 0;
        lowWinners += bestLow != 0 && low[p] == bestLow ? 1 : 0;
    }
    // Without a qualifying low the high hand takes the whole pot.
    const int64_t highPot = bestLow != 0 ? kShareUnits / 2 : kShareUnits;
    const int64_t highPart = highPot / highWinners * weight;
    const int64_t lowPart = lowWinners ? (kShareUnits / 2) / lowWinners * weight : 0;
    for (int p = 0; p < m_count; ++p) {
        if (high[p] == bestHigh) {
            shares[p] += highPart;
        }
        if (lowWinners && low[p] == bestLow) {
            shares[p] += lowPart;
        }
    }
}

}  // namespace ostrand
