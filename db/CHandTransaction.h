// One hand stored as a unit: from its hand row to its last row in one
// transaction on the shared connection, which no other thread can use until the
// unit ends. Statements that need no answer are sent together. Without Commit()
// (a failure, an exception, an early return) everything of the unit is rolled
// back.
#pragma once

#include <cstdint>
#include <mutex>

namespace kroDB {

class CDbContext;
class CConnectionBase;

class CHandTransaction
{
public:
    // Requires: `context` outlives this object.
    explicit CHandTransaction(CDbContext& context);
    ~CHandTransaction();
    CHandTransaction(const CHandTransaction&) = delete;
    CHandTransaction& operator=(const CHandTransaction&) = delete;

    // False when there is no open database: nothing can be stored.
    bool IsActive() const { return m_connection != nullptr; }
    // Sends what is queued and commits; false (everything rolled back) when any
    // statement of the unit, its sending or the commit failed.
    bool Commit();

private:
    void End(bool commit);

    CDbContext& m_context;
    std::unique_lock<std::recursive_mutex> m_lock;
    CConnectionBase* m_connection = nullptr;
    uint64_t m_failuresAtStart = 0;
    bool m_done = false;
};

}  // namespace kroDB
