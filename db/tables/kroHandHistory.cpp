#include "db/tables/kroHandHistory.h"

#include "companion/CODBCRecordset.h"
#include "db/CDbContext.h"
#include "db/HandHistoryArchive.h"
#include "db/IConnection.h"
#include "db/SqlText.h"
#include "foundation/NumberText.h"
#include "foundation/WideText.h"

#include <ctime>

namespace kroDB {

std::wstring kroHandHistory::CreateText() const
{
    return L"CREATE TABLE handhistory (id bigint not null, nvar char null, hh text null, PRIMARY "
           L"KEY(id))";
}

void kroHandHistory::data::Encode(const std::vector<std::wstring>& lines)
{
    switch (nvar) {
    case L'U':
        hh = JoinHandLines(lines);
        break;
    case L'8':
        hh = HexText(ToUtf8(JoinHandLines(lines)));
        break;
    case L'z':
        hh = HexText(ZipSingleEntry(ToUtf8(JoinHandLines(lines)), std::time(nullptr)));
        break;
    default:
        nvar = L'0';
        hh.clear();
        break;
    }
}

bool kroHandHistory::data::Insert()
{
    CConnectionLease connection(m_context.AcquireConnection(true));
    return connection &&
           connection->InsertRow(L"handhistory", id,
                                 RowValues{{L"id", NumberText(id)},
                                           {L"nvar", L"'" + std::wstring(1, nvar) + L"'"},
                                           {L"hh", L"'" + SqlEscape(hh) + L"'"}});
}

bool kroHandHistory::data::Load()
{
    CConnectionLease connection(m_context.AcquireConnection(true));
    std::unique_ptr<CODBCRecordset> rs;
    if (!connection ||
        !connection->OpenRecordset(
            FormatW(L"select * from handhistory where id=%ld;", static_cast<long>(id)), rs) ||
        rs->IsEOF()) {
        return false;
    }
    id = rs->Field(L"id").AsLong();
    nvar = rs->Field(L"nvar").AsChar();
    hh = rs->Field(L"hh").AsString();
    return true;
}

bool kroHandHistory::data::Exists()
{
    return QueryHasRow(m_context,
                       FormatW(L"SELECT 1 from handhistory where id=%ld;", static_cast<long>(id)));
}

}  // namespace kroDB
