// A card read from its rank letter and suit letter. The first two fields are the
// rank (ace 1, deuce..king 2..13) and the suit (0..3 for c, d, h, s); both are -1
// for letters that name no card.
#pragma once

#include "companion/OstrandExport.h"

class VX_COMPANION_EXPORT CCard
{
public:
    CCard(wchar_t rankLetter, wchar_t suitLetter);

    int rank;
    int suit;

    // suit * 13 + rank index (ace 12, deuce 0), or -1.
    int Number() const;
};
