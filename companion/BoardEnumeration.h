// Scoring every completion of a board, or a random sample of them, for one deal of
// fixed hands. Private to the companion library; no state of its own.
#pragma once

#include "companion/CHandScorer.h"

#include <cstdint>

namespace ostrand {

// Sums over the boards scored: each player's share in units of kShareUnits per
// board, and the number of boards.
struct CBoardTotals
{
    int64_t shares[kMaxPlayers] = {};
    int64_t boards = 0;
};

// A small fixed-seed generator (splitmix64), so that a sampled result is the same
// on every run and every machine.
class CRandom
{
public:
    explicit CRandom(uint64_t seed)
        : m_state(seed)
    {}
    uint64_t Next();
    // Uniform in 0..bound-1. Requires: bound > 0.
    uint64_t Below(uint64_t bound) { return Next() % bound; }

private:
    uint64_t m_state;
};

// Adds every completion of the board `known` to five cards, drawn from `deck`,
// to `totals`. Requires: `deck` holds neither a board card nor a hole card.
// Boards that share a rank pattern are counted together instead of being dealt
// one by one; only boards with three or more cards of a suit that some player can
// use for a flush are told apart by their suited ranks.
void EnumerateBoards(const CEvaluatorTables& tables,
                     const CHandScorer& scorer,
                     uint64_t known,
                     uint64_t deck,
                     CBoardTotals& totals);

// Adds `count` completions of `known` drawn at random from `deck` to `totals`.
// Same requirements as EnumerateBoards.
void SampleBoards(const CEvaluatorTables& tables,
                  const CHandScorer& scorer,
                  uint64_t known,
                  uint64_t deck,
                  int64_t count,
                  CRandom& random,
                  CBoardTotals& totals);

}  // namespace ostrand
