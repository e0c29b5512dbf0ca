#include "db/tables/kroPots.h"

#include "companion/CODBCRecordset.h"
#include "db/CDbContext.h"
#include "db/IConnection.h"
#include "foundation/NumberText.h"
#include "foundation/WideText.h"

namespace kroDB {

std::wstring kroPots::CreateText() const
{
    return L"CREATE TABLE pots (idhand bigint not null, potnum smallint null, amt integer null)";
}

bool kroPots::data::Insert()
{
    if (idhand <= 0) {
        return false;
    }
    CConnectionLease connection(m_context.AcquireConnection(true));
    return connection && connection->InsertRow(L"pots", 0,
                                               RowValues{{L"idhand", NumberText(idhand)},
                                                         {L"potnum", NumberText(potnum)},
                                                         {L"amt", NumberText(amt)}});
}

bool kroPots::data::Load()
{
    CConnectionLease connection(m_context.AcquireConnection(true));
    std::unique_ptr<CODBCRecordset> rs;
    if (!connection ||
        !connection->OpenRecordset(FormatW(L"SELECT * from pots where idhand=%ld and potnum=%d;",
                                           static_cast<long>(idhand), potnum),
                                   rs) ||
        rs->IsEOF()) {
        return false;
    }
    amt = rs->Field(L"amt").AsInt();
    return true;
}

}  // namespace kroDB
