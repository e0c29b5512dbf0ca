#include "stats/AllinEvInput.h"

std::optional<CHoleCards> HoleCardsForKind(int gameKind)
{
    switch (gameKind) {
    case 7:
    case 30:
        return CHoleCards{4, 0};
    case 10:
        return CHoleCards{4, 1};
    case 13:
        return CHoleCards{5, 0};
    case 14:
        return CHoleCards{5, 1};
    case 16:
        return CHoleCards{5, 10};
    case 17:
        return CHoleCards{5, 11};
    case 36:
        return CHoleCards{6, 0};
    case 37:
        return CHoleCards{6, 1};
    case 202:
        return CHoleCards{2, 0};
    default:
        return std::nullopt;
    }
}

int KnownBoardCards(int street, int variant)
{
    if (street == 1) {
        return variant > 2 ? 1 : 0;
    }
    return street + 1;
}
