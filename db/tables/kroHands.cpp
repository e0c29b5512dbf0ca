#include "db/tables/kroHands.h"

#include "db/CDbContext.h"
#include "db/Catalog.h"
#include "db/IConnection.h"

#include <vector>

namespace kroDB {

std::wstring kroHands::CreateText() const
{
    return L"CREATE TABLE hands (id bigint not null, idfile bigint null, sitehandnumber bigint null, idgametype integer null, et integer null, \"localtime\" integer null, utc integer null, seats smallint null, boardcard1 smallint null, boardcard2 smallint null, boardcard3 smallint null, boardcard4 smallint null, boardcard5 smallint null, boardcard64 bigint null, boardtype integer null, streetAllin integer null, showdown boolean null, runittwice boolean null, totalpot integer null, rake integer null, PRIMARY KEY(id)); ";
}

bool kroHands::UpgradeColumns()
{
    std::set<std::wstring> existing = kroDB::ColumnNames(m_context, TableName());
    std::vector<std::wstring> statements;
    AddStatColumnStatements(L"handstats", existing, false, statements);
    if (statements.empty()) {
        return false;
    }
    kroDB::CConnectionLease connection(m_context.AcquireConnection(true));
    return connection && connection->ExecuteBatch(statements);
}

}  // namespace kroDB
