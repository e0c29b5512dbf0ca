#include "db/tables/kroAliases.h"

#include "companion/CODBCRecordset.h"
#include "db/CDbContext.h"
#include "db/IConnection.h"
#include "db/SqlText.h"
#include "foundation/WideText.h"

namespace kroDB {

namespace {

const wchar_t* const kSequence = L"aliases_id_seq";

}  // namespace

std::wstring kroAliases::CreateText() const
{
    return L"CREATE TABLE aliases (id integer PRIMARY KEY not null , name character varying(255) "
           L"UNIQUE)";
}

bool kroAliases::data::Insert()
{
    CConnectionLease connection(m_context.AcquireConnection(true));
    if (!connection) {
        return false;
    }
    auto lock = m_context.LockConnection();
    if (id < 1) {
        const int64_t next = m_context.TakeId(kSequence, 1);
        if (next < 0) {
            return false;
        }
        id = static_cast<int32_t>(next);
    }
    if (Exists()) {
        return false;
    }
    // Another writer may add the same name between the test and the insert.
    return connection->Execute(
        FormatW(L"insert into aliases (id,name) values(%ld,'%ls') on conflict do nothing;",
                static_cast<long>(id), SqlEscape(name).c_str()));
}

bool kroAliases::data::Load()
{
    const std::wstring sql =
        id >= 1 ? FormatW(L"select * from aliases where id=%ld;", static_cast<long>(id))
                : FormatW(L"select * from aliases where name='%ls';", SqlEscape(name).c_str());
    CConnectionLease connection(m_context.AcquireConnection(true));
    std::unique_ptr<CODBCRecordset> rs;
    if (!connection || !connection->OpenRecordset(sql, rs) || rs->IsEOF()) {
        return false;
    }
    id = rs->Field(L"id").AsInt();
    name = Trim(rs->Field(L"name").AsString());
    return true;
}

bool kroAliases::data::FindOrInsert()
{
    id = 0;
    if (Load()) {
        return true;
    }
    id = 0;
    (void)Insert();
    // Read back by name: the row of whichever writer inserted it first.
    id = 0;
    return Load();
}

bool kroAliases::data::Exists()
{
    return QueryHasRow(m_context,
                       FormatW(L"SELECT 1 from aliases where id=%ld;", static_cast<long>(id))) ||
           QueryHasRow(m_context, FormatW(L"SELECT 1 from aliases where name='%ls';",
                                          SqlEscape(name).c_str()));
}

}  // namespace kroDB
