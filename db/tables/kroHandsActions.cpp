#include "db/tables/kroHandsActions.h"

#include "db/CDbContext.h"
#include "db/IConnection.h"
#include "foundation/NumberText.h"
#include "foundation/WideText.h"

namespace kroDB {

std::wstring kroHandsActions::CreateText() const
{
    return L"CREATE TABLE handsactions (idhand bigint not null, actionno smallint null, idaction "
           L"integer null, idplayer integer null, amount integer null);";
}

bool kroHandsActions::InsertAll(std::vector<CActionRecord>& actions)
{
    if (actions.empty()) {
        return false;
    }
    CConnectionLease connection(m_context.AcquireConnection(true));
    if (!connection) {
        return false;
    }
    if (m_context.CompleteRows()) {
        // Held in the hand's unit, the rows still go as one insert, without
        // being written out as text first.
        for (size_t i = 0; i < actions.size(); ++i) {
            CActionRecord& a = actions[i];
            a.actionno = static_cast<int32_t>(i + 1);
            if (!connection->InsertRow(L"handsactions", 0,
                                       RowValues{{L"idhand", NumberText(a.idhand)},
                                                 {L"actionno", NumberText(a.actionno)},
                                                 {L"idaction", NumberText(a.idaction)},
                                                 {L"idplayer", NumberText(a.idplayer)},
                                                 {L"amount", NumberText(a.amount)}})) {
                return false;
            }
        }
        return true;
    }
    std::wstring sql =
        L"INSERT INTO handsactions (idhand,actionno,idaction,idplayer,amount) Values ";
    sql.reserve(sql.size() + actions.size() * 32);
    for (size_t i = 0; i < actions.size(); ++i) {
        CActionRecord& a = actions[i];
        a.actionno = static_cast<int32_t>(i + 1);
        if (i) {
            sql += L',';
        }
        sql += FormatW(L"(%ld,%d,%ld,%ld,%ld)", static_cast<long>(a.idhand), a.actionno,
                       static_cast<long>(a.idaction), static_cast<long>(a.idplayer),
                       static_cast<long>(a.amount));
    }
    sql += L';';
    return connection->Execute(sql);
}

bool kroHandsActions::data::Exists()
{
    if (idhand <= 0 || actionno <= 0) {
        return false;
    }
    return QueryHasRow(m_context,
                       FormatW(L"SELECT 1 from handsactions where idhand=%ld and actionno=%d;",
                               static_cast<long>(idhand), actionno));
}

bool kroHandsActions::data::Insert()
{
    if (idhand == 0 || actionno == 0 || Exists()) {
        return false;
    }
    CConnectionLease connection(m_context.AcquireConnection(true));
    return connection && connection->Execute(FormatW(
                             L"insert into handsactions "
                             L"(idhand,actionno,idaction,idplayer,amount) "
                             L"values(%ld,%d,%ld,%ld,%ld);",
                             static_cast<long>(idhand), actionno, static_cast<long>(idaction),
                             static_cast<long>(idplayer), static_cast<long>(amount)));
}

}  // namespace kroDB
