// The hero's expected result of an all-in hand, pot by pot, from the equities at
// the moment of the all-in. Pure functions; thread-safe.
#pragma once

#include "stats/AllinEvInput.h"

#include <cstdint>
#include <string>
#include <vector>

class ILogSink;

// Fills input.ev and input.diff. Results: 1 done; 0 when the hero's cards are not
// holeCount cards (or there is no hero, no opponent, no pot, or cards that cannot
// be dealt, such as two players holding one card); 254 when holeCount is outside
// 2..6; 255 when allinStreet is outside 1..3. Only 1 leaves ev and diff set.
// With `log` the dump lines are appended to `lines`. `diagnostics`, when given,
// gets a trace line saying why a hand was not computed.
int ComputeAllinEv(AllinEvInput& input,
                   bool log,
                   std::vector<std::wstring>& lines,
                   ILogSink* diagnostics = nullptr);

// The hero's allinev in cents: floor(ev * 100 + 0.5), so that losses round the
// same way as wins.
int32_t AllinEvCents(double ev);
