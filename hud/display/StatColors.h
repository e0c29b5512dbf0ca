// The colours of the HUD numbers, by range, as a player reads them: blue is
// tight (or rare), green the usual regular, orange loose (or frequent), red
// very loose (or very frequent). The bands are those of six-handed pot-limit
// Omaha, the game most of our tables play:
//
//   VPIP    under 22 | 22 to 32 | 32 to 45 | 45 and more
//   PFR     under  8 |  8 to 18 | 18 to 26 | 26 and more
//   3-bet   under  3 |  3 to  7 |  7 to 11 | 11 and more
//   4-bet   under  2 |  2 to  6 |  6 to 12 | 12 and more
//
// The hand count is grey below 30 hands (too few to trust), white above.
// Pure functions; thread-safe.
#pragma once

#include <QColor>

enum class HudStat
{
    Vpip = 0,
    Pfr = 1,
    ThreeBet = 2,
    FourBet = 3,
};

namespace StatColors {

inline constexpr int kReliableHands = 30;

QColor Background();
QColor Border();
QColor NameText();
// Every number when colours are off.
QColor PlainNumber();
QColor Hands(int hands);
QColor ForValue(HudStat stat, double percent);

}  // namespace StatColors
