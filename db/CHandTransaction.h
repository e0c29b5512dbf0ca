// One hand stored as a unit: from its hand row to its last row in one
// transaction on the shared connection, which no other thread can use until the
// unit ends. Without Commit() (a failure, an exception, an early return)
// everything of the unit is rolled back.
#pragma once

#include "foundation/CStatus.h"

#include <mutex>

namespace kroDB {

class CDbContext;
class IConnection;

class CHandTransaction
{
public:
    // Requires: `context` outlives this object. With `asyncCommit` the commit
    // does not wait for the server's disk (MakeDurable makes it durable).
    explicit CHandTransaction(CDbContext& context, bool asyncCommit = false);
    ~CHandTransaction();
    CHandTransaction(const CHandTransaction&) = delete;
    CHandTransaction& operator=(const CHandTransaction&) = delete;

    // False when the unit could not begin (no open database): nothing can be
    // stored; StartStatus() tells why.
    bool IsActive() const { return m_connection != nullptr; }
    const CStatus& StartStatus() const { return m_start; }
    // The first failure of the unit so far; Ok while everything succeeded.
    CStatus Status() const;
    // Sends what is held and commits; Ok only when every statement of the
    // unit and the commit succeeded, else everything is rolled back and the
    // first failure returned.
    [[nodiscard]] CStatus Commit();
    // Commits without waiting for the server (IConnection::CommitUnitAhead):
    // Ok means on its way, and the connection's TakeAheadOutcome tells later.
    [[nodiscard]] CStatus CommitAhead();

private:
    void End();

    std::unique_lock<std::recursive_mutex> m_lock;
    IConnection* m_connection = nullptr;
    CStatus m_start;
    bool m_done = false;
};

}  // namespace kroDB
