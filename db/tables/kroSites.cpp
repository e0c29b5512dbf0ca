#include "db/tables/kroSites.h"

#include "companion/CODBCRecordset.h"
#include "db/CDbContext.h"
#include "db/IConnection.h"
#include "db/SqlText.h"
#include "foundation/CStatDefinitions.h"
#include "foundation/WideText.h"

#include <vector>

namespace kroDB {

std::wstring kroSites::CreateText() const
{
    return L"CREATE TABLE sites (id integer not null, name character varying(255) null, code "
           L"char(3) null, PRIMARY KEY(id))";
}

void kroSites::FillDefaults()
{
    std::vector<CStatDefinition> sites;
    m_context.Definitions().ReadStatSection(L"sites", sites);
    std::vector<std::wstring> statements;
    for (const auto& site : sites) {
        statements.push_back(FormatW(
            L"INSERT INTO sites (id, \"name\", \"code\") VALUES (%d, '%ls', '%ls')", site.id,
            SqlEscape(site.description).c_str(), SqlEscape(site.notation).c_str()));
    }
    if (statements.empty()) {
        return;
    }
    CConnectionLease connection(m_context.AcquireConnection(true));
    if (connection) {
        connection->ExecuteBatch(statements);
    }
}

bool kroSites::data::Load()
{
    CConnectionLease connection(m_context.AcquireConnection(true));
    if (!connection) {
        return false;
    }
    const std::wstring sql =
        id >= 1 ? FormatW(L"select * from sites where id=%d;", id)
                : FormatW(L"select * from sites where name='%ls';", SqlEscape(name).c_str());
    std::unique_ptr<CODBCRecordset> rs;
    if (!connection->OpenRecordset(sql, rs) || rs->IsEOF()) {
        return false;
    }
    id = rs->Field(L"id").AsInt();
    name = Trim(rs->Field(L"name").AsString());
    code = Trim(rs->Field(L"code").AsString());
    return true;
}

}  // namespace kroDB
