#include "db/CHandTransaction.h"

#include "db/CDbContext.h"
#include "db/IConnection.h"

namespace kroDB {

CHandTransaction::CHandTransaction(CDbContext& context, bool asyncCommit)
    : m_lock(context.LockConnection())
{
    IConnection* connection = context.AcquireConnection(true);
    if (connection == nullptr) {
        m_start = CStatus::Error(CStatus::Code::Unavailable, L"the database cannot be opened");
        return;
    }
    m_start = connection->BeginUnit();
    if (!m_start.IsOk()) {
        connection->Release();
        return;
    }
    m_connection = connection;
    context.NoteUnitHand(0);
    if (asyncCommit) {
        (void)m_connection->Execute(kAsyncCommitSql);
    }
}

CHandTransaction::~CHandTransaction()
{
    if (m_connection != nullptr && !m_done) {
        m_connection->RollbackUnit();
        End();
    }
}

CStatus CHandTransaction::Status() const
{
    return m_connection != nullptr && !m_done ? m_connection->UnitStatus() : m_start;
}

CStatus CHandTransaction::Commit()
{
    if (m_connection == nullptr || m_done) {
        return m_start.IsOk() ? CStatus::InvalidArgument(L"the unit has ended") : m_start;
    }
    const CStatus status = m_connection->CommitUnit();
    End();
    return status;
}

CStatus CHandTransaction::CommitAhead()
{
    if (m_connection == nullptr || m_done) {
        return m_start.IsOk() ? CStatus::InvalidArgument(L"the unit has ended") : m_start;
    }
    const CStatus status = m_connection->CommitUnitAhead();
    End();
    return status;
}

void CHandTransaction::End()
{
    m_done = true;
    m_connection->Release();
    m_connection = nullptr;
}

}  // namespace kroDB
