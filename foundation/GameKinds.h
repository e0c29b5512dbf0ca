// Game-kind codes as stored in gametypes.idgamekind. Most come from the header's
// game description (the companion's GetTypeGameHH); the parsers set 202 for
// "6+ Hold'em" headers and 30 for files of "Fusion" tables themselves.
//
// Ranges: 1-3 Hold'em, 6-8 Omaha, 9-11 Omaha Hi/Lo, 13 5-card Omaha, 14-15
// 5-card Omaha Hi/Lo, 16 Courchevel, 17-18 Courchevel Hi/Lo, 36/37 6-card Omaha.
// Within a range the betting structure picks the code; the code named first in
// each range is what the equity tables know.
#pragma once

enum GameKind : int
{
    kGameUnknown = 0,
    kGameHoldemLimit = 1,
    kGameHoldemNoLimit = 2,
    kGameHoldemPotLimit = 3,
    kGameOmahaLimit = 6,
    kGameOmahaPotLimit = 7,
    kGameOmahaNoLimit = 8,
    kGameOmahaHiLoLimit = 9,
    kGameOmahaHiLoPotLimit = 10,
    kGameOmahaHiLoNoLimit = 11,
    kGameOmaha5PotLimit = 13,
    kGameOmaha5HiLoPotLimit = 14,
    kGameOmaha5HiLoOther = 15,
    kGameCourchevelPotLimit = 16,
    kGameCourchevelHiLoPotLimit = 17,
    kGameCourchevelHiLoOther = 18,
    kGameFusion = 30,
    kGameOmaha6PotLimit = 36,
    kGameOmaha6HiLoPotLimit = 37,
    kGameShortDeckHoldem = 202,
};

// Every Omaha kind: four, five or six hole cards, high or hi/lo, and
// Courchevel.
constexpr bool IsOmahaGame(int kind)
{
    return (kind >= kGameOmahaLimit && kind <= kGameOmahaHiLoNoLimit) ||
           (kind >= kGameOmaha5PotLimit && kind <= kGameCourchevelHiLoOther) ||
           kind == kGameOmaha6PotLimit || kind == kGameOmaha6HiLoPotLimit;
}

// Every kind that splits the pot between a high and a low hand.
constexpr bool IsHiLoGame(int kind)
{
    return kind == kGameOmahaHiLoLimit || kind == kGameOmahaHiLoPotLimit ||
           kind == kGameOmahaHiLoNoLimit || kind == kGameOmaha5HiLoPotLimit ||
           kind == kGameOmaha5HiLoOther || kind == kGameCourchevelHiLoPotLimit ||
           kind == kGameCourchevelHiLoOther || kind == kGameOmaha6HiLoPotLimit;
}

// The kinds whose players' hands the statistic step evaluates on a full board:
// the first code of each Omaha range, as the evaluator tables know them.
constexpr bool IsEvaluatedAtFlags(int kind)
{
    return kind == kGameOmahaPotLimit || kind == kGameOmahaHiLoPotLimit ||
           kind == kGameOmaha5PotLimit || kind == kGameOmaha5HiLoPotLimit ||
           kind == kGameCourchevelPotLimit || kind == kGameCourchevelHiLoPotLimit ||
           kind == kGameOmaha6PotLimit;
}

// Of those, the ones whose low hand the statistic step stores as well.
constexpr bool StoresLowAtFlags(int kind)
{
    return kind == kGameOmahaHiLoPotLimit || kind == kGameOmaha5HiLoPotLimit ||
           kind == kGameCourchevelHiLoPotLimit;
}

// The games whose hands the program reads: Hold'em, short-deck Hold'em,
// Omaha in all its forms and Fusion. Stud, draw and every other game are left
// out, as their streets, antes and bring-ins follow other rules.
constexpr bool IsModelledGame(int kind)
{
    return (kind >= kGameHoldemLimit && kind <= kGameHoldemPotLimit) || IsOmahaGame(kind) ||
           kind == kGameFusion || kind == kGameShortDeckHoldem;
}
