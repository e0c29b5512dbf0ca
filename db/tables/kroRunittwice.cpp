#include "db/tables/kroRunittwice.h"

namespace kroDB {

std::wstring kroRunittwice::CreateText() const
{
    return L"CREATE TABLE runittwice (idhand bigint not null, nb smallint not null, board1card1 smallint null, board1card2 smallint null, board1card3 smallint null, board1card4 smallint null, board1card5 smallint null, board2card1 smallint null, board2card2 smallint null, board2card3 smallint null, board2card4 smallint null, board2card5 smallint null, board3card1 smallint null, board3card2 smallint null, board3card3 smallint null, board3card4 smallint null, board3card5 smallint null, PRIMARY KEY(idhand))";
}

}  // namespace kroDB
