// Position codes 0..10 and their names.
#pragma once

#include <array>
#include <string>

enum PositionCode : int
{
    kPosNone = 0,
    kPosUtg1 = 1,
    kPosUtg2 = 2,
    kPosUtg3 = 3,
    kPosMp1 = 4,
    kPosMp2 = 5,
    kPosMp3 = 6,
    kPosCo = 7,
    kPosBtn = 8,
    kPosSb = 9,
    kPosBb = 10,
};

extern const std::array<const wchar_t*, 11> kPositionNames;

// Name of a position code, "NONE" for codes outside 0..10.
std::wstring PositionName(int code);

// Position of the player `stepsAfterButton` seats after the button (0 is the
// button itself) at a table of `players` players. With two players the button is
// the small blind (9) and the other player the big blind (10).
int PositionFromButtonDistance(int stepsAfterButton, int players);
