#include "db/CHandTransaction.h"

#include "companion/CDatabase.h"
#include "db/CConnectionBase.h"
#include "db/CDbContext.h"
#include "foundation/IUserNotifier.h"

namespace kroDB {

// The unit is opened and closed by statements of its own instead of the
// driver's transaction calls: "BEGIN" goes out with the first statements that
// need sending and "COMMIT" with the last, so that a new hand costs one round
// trip for its lookup and one for all of its rows.
CHandTransaction::CHandTransaction(CDbContext& context)
    : m_context(context)
    , m_lock(context.LockConnection())
{
    auto* connection = dynamic_cast<CConnectionBase*>(context.AcquireConnection(true));
    if (connection == nullptr) {
        return;
    }
    if (connection->Database() == nullptr) {
        connection->Release();
        return;
    }
    m_connection = connection;
    m_failuresAtStart = connection->FailureCount();
    m_connection->BeginDeferred();
    (void)m_connection->Execute(L"BEGIN");
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
    // A failed statement has aborted the server's transaction: its COMMIT
    // would quietly roll back, so the unit fails as a whole.
    if (m_connection->FailureCount() != m_failuresAtStart) {
        End(false);
        return false;
    }
    (void)m_connection->Execute(L"COMMIT");
    const bool sent = m_connection->EndDeferred();
    if (!sent || m_connection->FailureCount() != m_failuresAtStart) {
        End(false);
        return false;
    }
    End(true);
    return true;
}

void CHandTransaction::End(bool committed)
{
    m_done = true;
    if (!committed) {
        m_connection->DiscardDeferred();
        if (CDatabase* db = m_connection->Database()) {
            // Harmless when nothing was sent: the server only warns then.
            (void)db->ExecuteSQL(L"ROLLBACK");
        }
        // Ids counted during the unit may now be free again; reading them
        // afresh keeps them right either way.
        m_context.ForgetIds();
    }
    m_connection->Release();
    m_connection = nullptr;
}

}  // namespace kroDB
