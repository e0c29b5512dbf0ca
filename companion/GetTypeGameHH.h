// Game kind of a hand header's game description.
#pragma once

#include "companion/OstrandExport.h"

#include <string>

// Maps the game description of a hand header ("Hold'em No Limit", "Omaha Hi/Lo
// Pot Limit", "PLO-5", "5 Card Omaha Pot Limit", "Pot Limit OmahaHL", "Courchevel
// Pot Limit", "6 Card Omaha Pot Limit", "ShortDeck No Limit", ...) to its game
// kind (foundation/GameKinds.h):
//
//   game             Limit  Pot Limit  No Limit   Hi/Lo: Limit  Pot Limit  No Limit
//   Hold'em            1        3          2             -          -          -
//   Omaha              6        7          8             9         10         11
//   5 Card Omaha      13       13         13            15         14         15
//   Courchevel        16       16         16            18         17         18
//   6 Card Omaha      36       36         36            37         37         37
//   6+ / short deck  202 (any structure); "Fusion" 30
//
// Matching ignores case and punctuation. Without a betting structure Hold'em is
// No Limit and the Omaha family Pot Limit ("PLO"). Any other game (stud, draw,
// mixed games) and empty text give 0.
VX_COMPANION_EXPORT int GetTypeGameHH(const std::wstring& description);
