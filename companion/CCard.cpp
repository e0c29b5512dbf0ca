#include "companion/CCard.h"

#include "foundation/Cards.h"

CCard::CCard(wchar_t rankLetter, wchar_t suitLetter)
{
    const CRankSuit rs = RankSuitFromLetters(rankLetter, suitLetter);
    rank = rs.rank;
    suit = rs.suit;
}

int CCard::Number() const
{
    return CardNumber(CRankSuit{rank, suit});
}
