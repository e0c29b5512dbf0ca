#include "db/CHandTransaction.h"

#include "companion/CDatabase.h"
#include "db/CConnectionBase.h"
#include "db/CDbContext.h"
#include "foundation/IUserNotifier.h"

namespace kroDB {

CHandTransaction::CHandTransaction(CDbContext& context)
    : m_context(context)
    , m_lock(context.LockConnection())
{
    auto* connection = dynamic_cast<CConnectionBase*>(context.AcquireConnection(true));
    if (connection == nullptr) {
        return;
    }
    if (connection->Database() == nullptr || !connection->Database()->SetAutoCommit(false).IsOk()) {
        connection->Release();
        return;
    }
    m_connection = connection;
    m_failuresAtStart = connection->FailureCount();
    m_connection->BeginDeferred();
}

CHandTransaction::~CHandTransaction()
{
    if (m_connection != nullptr && !m_done) {
        End(false);
    }
}

bool CHandTransaction::Commit()
{
    if (m_connection == nullptr || m_done) {
        return false;
    }
    const bool sent = m_connection->EndDeferred();
    // A failed statement has aborted the server's transaction: committing it
    // would quietly roll back, so the unit fails as a whole.
    if (!sent || m_connection->FailureCount() != m_failuresAtStart) {
        End(false);
        return false;
    }
    CDatabase* db = m_connection->Database();
    const CStatus status = db->Commit();
    if (!status.IsOk()) {
        m_context.ShowError(status.Message());
        End(false);
        return false;
    }
    End(true);
    return true;
}

void CHandTransaction::End(bool committed)
{
    m_done = true;
    CDatabase* db = m_connection->Database();
    if (!committed) {
        m_connection->DiscardDeferred();
        if (db != nullptr) {
            (void)db->Rollback();
        }
        // Ids counted during the unit may now be free again or taken by
        // nobody; reading them afresh keeps them right either way.
        m_context.ForgetIds();
    }
    if (db != nullptr) {
        (void)db->SetAutoCommit(true);
    }
    m_connection->Release();
    m_connection = nullptr;
}

}  // namespace kroDB
