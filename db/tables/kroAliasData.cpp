#include "db/tables/kroAliasData.h"

#include "companion/CODBCRecordset.h"
#include "db/CDbContext.h"
#include "db/IConnection.h"
#include "foundation/WideText.h"

namespace kroDB {

std::wstring kroAliasData::CreateText() const
{
    return L"CREATE TABLE aliasdata (idalias integer not null , idplayer integer not null)";
}

bool kroAliasData::data::Insert()
{
    CConnectionLease connection(m_context.AcquireConnection(true));
    return connection &&
           connection->Execute(FormatW(L"insert into aliasdata (idalias,idplayer) values(%ld,%ld);",
                                       static_cast<long>(idalias), static_cast<long>(idplayer)));
}

bool kroAliasData::data::Load()
{
    return Exists();
}

bool kroAliasData::data::Exists()
{
    return QueryHasRow(m_context,
                       FormatW(L"SELECT 1 from aliasdata where idalias=%ld and idplayer=%ld;",
                               static_cast<long>(idalias), static_cast<long>(idplayer)));
}

}  // namespace kroDB
