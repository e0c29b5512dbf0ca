// The hero's equity at an all-in, asked of the companion library's probability
// functions the way each game kind needs. Pure functions; thread-safe.
#pragma once

#include "companion/WinProbability.h"
#include "stats/AllinEvInput.h"

#include <cstdint>
#include <vector>

// Every complete four-card hand that contains `mask`: with 2 cards, each pair of
// absent cards i < j added; with 3, each absent card; with 4, the mask itself;
// otherwise nothing. Hands are listed by ascending added cards.
std::vector<uint64_t> ExpandHand(uint64_t mask);

// The hero's equity in percent against `opponents` (card masks; at most nine are
// used) with the `dead` cards out of play, on the known board of `input`, for
// its game kind and variant. The hero is input.players[input.heroIndex]. When
// `results` is not null it receives every player's share (hero first). -1 when
// the cards cannot be dealt (overlapping or wrong-sized hands, no hero).
double Equity(const AllinEvInput& input,
              const std::vector<uint64_t>& opponents,
              uint64_t dead,
              CWinResults* results = nullptr);
