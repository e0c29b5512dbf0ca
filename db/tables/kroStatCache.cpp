#include "db/tables/kroStatCache.h"

#include "db/CDbContext.h"
#include "db/Catalog.h"
#include "db/IConnection.h"
#include "db/SqlText.h"
#include "foundation/CStatDefinitions.h"
#include "foundation/WideText.h"

#include <set>
#include <vector>

namespace kroStats {

std::wstring kroStatCache::CreateText() const
{
    return L"CREATE TABLE statcache (id bigint not null, idplayer integer null, month integer "
           L"null, idgametype integer null, bb integer null, activeseats smallint null, position "
           L"smallint null, handscount integer null, netwin integer null, winrate integer null, "
           L"complete boolean null, PRIMARY KEY(id))";
}

bool kroStatCache::UpgradeColumns()
{
    std::set<std::wstring> existing = kroDB::ColumnNames(m_context, TableName());
    std::vector<std::wstring> statements;
    // First a count for every flag of a hand player.
    AddStatColumnStatements(L"handplayerstats", existing, true, statements);
    // Then the table's own entries, each with its type and a default.
    std::vector<CStatDefinition> entries;
    m_context.Definitions().ReadStatSection(L"statcache", entries);
    for (const auto& entry : entries) {
        const std::wstring key = ToLowerAscii(entry.name);
        const std::wstring type = entry.type.empty() ? L"integer" : entry.type;
        if (!kroDB::IsPlainColumnName(entry.name) || existing.count(key) != 0 ||
            !kroDB::IsPlainTypeName(type)) {
            continue;
        }
        existing.insert(key);
        statements.push_back(FormatW(L"ALTER TABLE statcache ADD COLUMN %ls %ls DEFAULT %ls;",
                                     entry.name.c_str(), type.c_str(),
                                     type == L"boolean" ? L"false" : L"0"));
    }
    if (statements.empty()) {
        return false;
    }
    kroDB::CConnectionLease connection(m_context.AcquireConnection(true));
    return connection && connection->ExecuteBatch(statements);
}

}  // namespace kroStats
