#include "db/tables/kroRunittwice.h"

#include "companion/CODBCRecordset.h"
#include "db/CDbContext.h"
#include "db/IConnection.h"
#include "foundation/WideText.h"

#include <vector>

namespace kroDB {

std::wstring kroRunittwice::CreateText() const
{
    return L"CREATE TABLE runittwice (idhand bigint not null, nb smallint not null, board1card1 "
           L"smallint null, board1card2 smallint null, board1card3 smallint null, board1card4 "
           L"smallint null, board1card5 smallint null, board2card1 smallint null, board2card2 "
           L"smallint null, board2card3 smallint null, board2card4 smallint null, board2card5 "
           L"smallint null, board3card1 smallint null, board3card2 smallint null, board3card3 "
           L"smallint null, board3card4 smallint null, board3card5 smallint null, PRIMARY "
           L"KEY(idhand))";
}

bool kroRunittwice::data::Exists()
{
    return QueryHasRow(m_context, FormatW(L"SELECT 1 from runittwice where idhand=%ld;",
                                          static_cast<long>(idhand)));
}

bool kroRunittwice::data::Insert()
{
    if (idhand == 0 || Exists()) {
        return false;
    }
    CConnectionLease connection(m_context.AcquireConnection(true));
    if (!connection ||
        !connection->Execute(FormatW(L"insert into runittwice (idhand, nb) values (%ld,%d);",
                                     static_cast<long>(idhand), nb))) {
        return false;
    }
    std::vector<std::wstring> statements;
    const auto addBoard = [&](int b) {
        const auto& cards = boards[static_cast<size_t>(b - 1)];
        for (size_t i = 0; i < cards.size() && i < 5; ++i) {
            statements.push_back(FormatW(L"update runittwice set board%dcard%d=%d where idhand=%ld",
                                         b, static_cast<int>(i + 1), cards[i],
                                         static_cast<long>(idhand)));
        }
    };
    addBoard(1);
    addBoard(2);
    if (nb > 2) {
        statements.push_back(FormatW(L"update runittwice set nb=%d where idhand=%ld", nb,
                                     static_cast<long>(idhand)));
        addBoard(3);
    }
    return statements.empty() || connection->ExecuteBatch(statements);
}

bool kroRunittwice::data::Load()
{
    CConnectionLease connection(m_context.AcquireConnection(true));
    std::unique_ptr<CODBCRecordset> rs;
    if (!connection ||
        !connection->OpenRecordset(
            FormatW(L"select * from runittwice where idhand=%ld;", static_cast<long>(idhand)),
            rs) ||
        rs->IsEOF()) {
        return false;
    }
    nb = rs->Field(L"nb").AsInt();
    for (int b = 1; b <= 3; ++b) {
        auto& cards = boards[static_cast<size_t>(b - 1)];
        cards.clear();
        for (int i = 1; i <= 5; ++i) {
            const CDBField& card = rs->Field(FormatW(L"board%dcard%d", b, i));
            if (card.IsNull()) {
                break;
            }
            cards.push_back(card.AsInt());
        }
    }
    return true;
}

}  // namespace kroDB
