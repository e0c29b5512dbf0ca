// The statistic flags of one hand: what opportunities each player had and what
// they did, preflop, on the later streets and at showdown. Pure computation over
// the parsed hand; no database access. Safe to run on different hands at once.
#pragma once

#include "foundation/records/CHandPlayerRecord.h"
#include "foundation/records/CHandRecord.h"
#include "foundation/records/CHandRows.h"

#include <vector>

namespace kroStats {

// Computes the hand's flags, counts, values and action strings from its parsed
// record and writes them into the statistic maps: each player's into
// handPlayers[i].stats, the hand's into hand.stats. Also sets the players'
// combination and low combination when the board has five cards in an Omaha
// game. `actions` is the hand's action list in order; board events carry
// idplayer -1 and actions of players who are not in `handPlayers` are ignored.
// A flag that a player never had a reason to get is left out of the map.
// A walk (all fold to the big blind) gets its preflop entries only: the
// folders' VPIP, PFR, raise-first-in and steal chances, no postflop entry.
// Entries already in the maps are kept unless a pass writes the same name.
void ComputeHandFlags(int gameKind,
                      CHandRecord& hand,
                      std::vector<CHandPlayerRecord>& handPlayers,
                      const std::vector<CActionRecord>& actions);

}  // namespace kroStats
