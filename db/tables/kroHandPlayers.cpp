#include "db/tables/kroHandPlayers.h"

#include "db/CDbContext.h"
#include "db/Catalog.h"
#include "db/IConnection.h"

#include <vector>

namespace kroDB {

std::wstring kroHandPlayers::CreateText() const
{
    return L"CREATE TABLE handsplayers (id bigint not null, idhand bigint not null, idplayer integer null, startcashincents integer null, seat smallint null, position smallint null, card1 smallint null, card2 smallint null, card3 smallint null, card4 smallint null, card5 smallint null, card6 smallint null, card7 smallint null, cards64 bigint null, combination integer null, lowcombination integer null, handtype char(10) null, totalwin integer null, bet integer null, netwin integer null, rakeincents integer null, showdownwin integer null, nonshowdownwin integer null,allinev integer null, PRIMARY KEY(id));";
}

bool kroHandPlayers::UpgradeColumns()
{
    std::set<std::wstring> existing = kroDB::ColumnNames(m_context, TableName());
    std::vector<std::wstring> statements;
    AddStatColumnStatements(L"handplayerstats", existing, false, statements);
    if (statements.empty()) {
        return false;
    }
    kroDB::CConnectionLease connection(m_context.AcquireConnection(true));
    return connection && connection->ExecuteBatch(statements);
}

}  // namespace kroDB
