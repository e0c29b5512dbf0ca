#include "companion/BoardEnumeration.h"

#include <algorithm>
#include <utility>

namespace ostrand {

namespace {

// What the known board and the deck hold, rank by rank and suit by suit.
struct CBoardState
{
    uint8_t knownCounts[13] = {};
    uint32_t knownSuitRanks[4] = {};
    int missing = 5;
    uint8_t deckSuits[13] = {};  // suits of the deck's cards of each rank, one bit each
    uint8_t deckCount[13] = {};

    CBoardState(uint64_t known, uint64_t deck)
    {
        for (uint64_t rest = known; rest; rest &= rest - 1) {
            const int card = __builtin_ctzll(rest);
            ++knownCounts[card % 13];
            knownSuitRanks[card / 13] |= 1u << (card % 13);
            --missing;
        }
        for (uint64_t rest = deck; rest; rest &= rest - 1) {
            const int card = __builtin_ctzll(rest);
            deckSuits[card % 13] = static_cast<uint8_t>(deckSuits[card % 13] | 1u << (card / 13));
            ++deckCount[card % 13];
        }
    }
};

int BoardPattern(const uint8_t counts[13])
{
    uint8_t ranks[5] = {};
    int n = 0;
    for (int r = 0; r < 13 && n < 5; ++r) {
        for (int c = 0; c < counts[r] && n < 5; ++c) {
            ranks[n++] = static_cast<uint8_t>(r);
        }
    }
    return PatternIndex(ranks);
}

// Walks the rank multisets the missing board cards can take. For each it counts
// the boards dealing those ranks and splits off, suit by suit, the boards on
// which somebody can make a flush.
class CPatternWalker
{
public:
    CPatternWalker(const CEvaluatorTables& tables,
                   const CHandScorer& scorer,
                   const CBoardState& state,
                   CBoardTotals& totals)
        : m_tables(tables)
        , m_scorer(scorer)
        , m_state(state)
        , m_totals(totals)
    {}

    void Walk(int rank, int remaining)
    {
        if (remaining == 0) {
            Leaf();
            return;
        }
        if (rank == 13) {
            return;
        }
        Walk(rank + 1, remaining);
        const int most = std::min<int>(m_state.deckCount[rank], remaining);
        for (int mult = 1; mult <= most; ++mult) {
            m_rank[m_distinct] = rank;
            m_mult[m_distinct] = mult;
            ++m_distinct;
            Walk(rank + 1, remaining - mult);
            --m_distinct;
        }
    }

private:
    void Leaf()
    {
        int64_t ways = 1;
        uint8_t counts[13];
        std::copy(m_state.knownCounts, m_state.knownCounts + 13, counts);
        for (int i = 0; i < m_distinct; ++i) {
            ways *= Binomial(m_state.deckCount[m_rank[i]], m_mult[i]);
            counts[m_rank[i]] = static_cast<uint8_t>(counts[m_rank[i]] + m_mult[i]);
        }
        const int pattern = BoardPattern(counts);
        const int players = m_scorer.Count();
        uint32_t high[kMaxPlayers] = {};
        uint32_t low[kMaxPlayers] = {};
        for (int p = 0; p < players; ++p) {
            high[p] = m_scorer.High(p, pattern);
            if (m_scorer.HiLo()) {
                low[p] = m_scorer.Low(p, m_tables.patterns[pattern].lowMask);
            }
        }
        int64_t plain = ways;
        for (int suit = 0; suit < 4; ++suit) {
            plain -= FlushBoards(suit, high, low);
        }
        m_scorer.Score(high, low, plain, m_totals.shares);
        m_totals.boards += ways;
    }

    // Scores the boards of this rank multiset with three or more cards of `suit`
    // on which a player can use them; returns how many there are. At most one
    // suit can show three of five cards, so the suits never count a board twice.
    int64_t FlushBoards(int suit, const uint32_t* high, const uint32_t* low)
    {
        const int known = __builtin_popcount(m_state.knownSuitRanks[suit]);
        uint32_t eligible = 0;  // missing ranks that could come in this suit
        for (int i = 0; i < m_distinct; ++i) {
            eligible |= static_cast<uint32_t>(m_state.deckSuits[m_rank[i]] >> suit & 1) << i;
        }
        if (!m_scorer.AnyFlush(suit, known + __builtin_popcount(eligible))) {
            return 0;
        }
        int64_t flushBoards = 0;
        uint32_t withSuit = eligible;
        while (true) {
            if (m_scorer.AnyFlush(suit, known + __builtin_popcount(withSuit))) {
                int64_t count = 1;
                uint32_t boardRanks = m_state.knownSuitRanks[suit];
                for (int i = 0; i < m_distinct; ++i) {
                    const int rank = m_rank[i];
                    const int inDeck = m_state.deckSuits[rank] >> suit & 1;
                    if (withSuit >> i & 1) {
                        count *= Binomial(m_state.deckCount[rank] - 1, m_mult[i] - 1);
                        boardRanks |= 1u << rank;
                    } else {
                        count *= Binomial(m_state.deckCount[rank] - inDeck, m_mult[i]);
                    }
                }
                if (count != 0) {
                    uint32_t flushHigh[kMaxPlayers] = {};
                    for (int p = 0; p < m_scorer.Count(); ++p) {
                        flushHigh[p] = std::max(high[p], m_scorer.Flush(p, suit, boardRanks));
                    }
                    m_scorer.Score(flushHigh, low, count, m_totals.shares);
                    flushBoards += count;
                }
            }
            if (withSuit == 0) {
                break;
            }
            withSuit = (withSuit - 1) & eligible;
        }
        return flushBoards;
    }

    const CEvaluatorTables& m_tables;
    const CHandScorer& m_scorer;
    const CBoardState& m_state;
    CBoardTotals& m_totals;
    int m_rank[5] = {};
    int m_mult[5] = {};
    int m_distinct = 0;
};

}  // namespace

uint64_t CRandom::Next()
{
    uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

void EnumerateBoards(const CEvaluatorTables& tables,
                     const CHandScorer& scorer,
                     uint64_t known,
                     uint64_t deck,
                     CBoardTotals& totals)
{
    const CBoardState state(known, deck);
    if (state.missing < 0) {
        return;
    }
    CPatternWalker walker(tables, scorer, state, totals);
    walker.Walk(0, state.missing);
}

void SampleBoards(const CEvaluatorTables& tables,
                  const CHandScorer& scorer,
                  uint64_t known,
                  uint64_t deck,
                  int64_t count,
                  CRandom& random,
                  CBoardTotals& totals)
{
    const CBoardState state(known, deck);
    int cards[52];
    int n = 0;
    for (uint64_t rest = deck; rest; rest &= rest - 1) {
        cards[n++] = __builtin_ctzll(rest);
    }
    if (state.missing < 0 || n < state.missing) {
        return;
    }
    const int players = scorer.Count();
    for (int64_t sample = 0; sample < count; ++sample) {
        uint8_t counts[13];
        uint32_t suitRanks[4];
        std::copy(state.knownCounts, state.knownCounts + 13, counts);
        std::copy(state.knownSuitRanks, state.knownSuitRanks + 4, suitRanks);
        // A partial shuffle deals the missing cards; the rest of the array stays a
        // permutation of the deck for the next board.
        for (int i = 0; i < state.missing; ++i) {
            const int j = i + static_cast<int>(random.Below(static_cast<uint64_t>(n - i)));
            std::swap(cards[i], cards[j]);
            ++counts[cards[i] % 13];
            suitRanks[cards[i] / 13] |= 1u << (cards[i] % 13);
        }
        const int pattern = BoardPattern(counts);
        uint32_t high[kMaxPlayers] = {};
        uint32_t low[kMaxPlayers] = {};
        for (int p = 0; p < players; ++p) {
            high[p] = scorer.High(p, pattern);
            if (scorer.HiLo()) {
                low[p] = scorer.Low(p, tables.patterns[pattern].lowMask);
            }
        }
        for (int suit = 0; suit < 4; ++suit) {
            if (scorer.AnyFlush(suit, __builtin_popcount(suitRanks[suit]))) {
                for (int p = 0; p < players; ++p) {
                    high[p] = std::max(high[p], scorer.Flush(p, suit, suitRanks[suit]));
                }
            }
        }
        scorer.Score(high, low, 1, totals.shares);
    }
    totals.boards += count;
}

}  // namespace ostrand
