#include "db/tables/kroFiles.h"

#include "companion/CODBCRecordset.h"
#include "db/CDbContext.h"
#include "db/IConnection.h"
#include "db/SqlText.h"
#include "foundation/WideText.h"

namespace kroDB {

namespace {

const wchar_t* const kMaxId = L"SELECT max(id)AS maxid from files;";

}  // namespace

std::wstring kroFiles::CreateText() const
{
    return L"CREATE TABLE files (id bigint not null, path text null, idsite integer null, "
           L"timestart integer null, timeupdate integer null, timeend integer null, hands "
           L"integer null, finish boolean, PRIMARY KEY(id))";
}

bool kroFiles::data::Insert()
{
    CConnectionLease connection(m_context.AcquireConnection(true));
    if (!connection) {
        return false;
    }
    auto lock = m_context.LockConnection();
    if (id < 1) {
        id = NextTableId(m_context, kMaxId);
        if (id < 0) {
            return false;
        }
    } else {
        m_context.NoteIdUsed(kMaxId, id);
    }
    if (Exists()) {
        return false;
    }
    return connection->Execute(
        FormatW(L"insert into files (id,path,idsite,finish) values(%ld,'%ls',%d,%ls);",
                static_cast<long>(id), SqlEscape(path).c_str(), idsite, SqlBool(finish)));
}

bool kroFiles::data::Load()
{
    std::wstring sql;
    if (id >= 1) {
        sql = FormatW(L"SELECT * from files where id=%ld;", static_cast<long>(id));
    } else if (idsite != 0) {
        sql = FormatW(L"select * from files where path='%ls' and idsite=%d;",
                      SqlEscape(path).c_str(), idsite);
    } else {
        return false;
    }
    CConnectionLease connection(m_context.AcquireConnection(true));
    std::unique_ptr<CODBCRecordset> rs;
    if (!connection || !connection->OpenRecordset(sql, rs) || rs->IsEOF()) {
        return false;
    }
    id = rs->Field(L"id").AsLong();
    path = Trim(rs->Field(L"path").AsString());
    idsite = rs->Field(L"idsite").AsInt();
    finish = rs->Field(L"finish").AsBool();
    return true;
}

bool kroFiles::data::Exists()
{
    if (id > 0 && QueryHasRow(m_context, FormatW(L"SELECT 1 from files where id=%ld;",
                                                 static_cast<long>(id)))) {
        return true;
    }
    return QueryHasRow(m_context,
                       FormatW(L"SELECT 1 from files where path='%ls';", SqlEscape(path).c_str()));
}

bool kroFiles::data::SetFinished(int64_t fileId)
{
    CConnectionLease connection(m_context.AcquireConnection(true));
    return connection && connection->Execute(FormatW(L"update files set finish=%ls where id=%ld;",
                                                     SqlBool(true), static_cast<long>(fileId)));
}

}  // namespace kroDB
