#include "db/tables/kroFiles.h"

#include "companion/CODBCRecordset.h"
#include "db/CDbContext.h"
#include "db/IConnection.h"
#include "db/SqlText.h"
#include "foundation/WideText.h"

namespace kroDB {

namespace {

const wchar_t* const kSequence = L"files_id_seq";

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
        id = m_context.TakeId(kSequence, 1);
        if (id < 0) {
            return false;
        }
    }
    if (Exists()) {
        return false;
    }
    // Another writer may register the same file between the test and the
    // insert; its row is the one.
    return connection->Execute(FormatW(
        L"insert into files (id,path,idsite,finish) values(%ld,'%ls',%d,%ls) on conflict do nothing;",
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
    const CDBField& size = rs->Field(L"finishsize");
    finishsize = size.IsNull() ? -1 : size.AsLong();
    finishcrc = rs->Field(L"finishcrc").AsLong();
    return true;
}

bool kroFiles::data::FindOrInsert()
{
    id = 0;
    if (Load()) {
        return true;
    }
    finish = false;
    finishsize = -1;
    finishcrc = 0;
    const bool inserted = Insert();
    const int64_t chosen = id;
    // Read back by path and site: the row of whichever writer came first.
    id = 0;
    if (Load()) {
        return true;
    }
    id = chosen;
    return inserted;
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

bool kroFiles::data::SetFinished(int64_t fileId, int64_t size, uint32_t crc)
{
    if (size < 0) {
        return SetFinished(fileId);
    }
    CConnectionLease connection(m_context.AcquireConnection(true));
    return connection &&
           connection->Execute(
               FormatW(L"update files set finish=%ls,finishsize=%lld,finishcrc=%lld where id=%ld;",
                       SqlBool(true), static_cast<long long>(size), static_cast<long long>(crc),
                       static_cast<long>(fileId)));
}

bool kroFiles::data::SetUnfinished(int64_t fileId)
{
    CConnectionLease connection(m_context.AcquireConnection(true));
    return connection &&
           connection->Execute(
               FormatW(L"update files set finish=%ls,finishsize=NULL,finishcrc=NULL where id=%ld;",
                       SqlBool(false), static_cast<long>(fileId)));
}

}  // namespace kroDB
