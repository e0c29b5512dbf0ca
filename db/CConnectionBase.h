// The shared behaviour of the main and the administrative connection: a use
// count, an optional open database and the three statement operations.
#pragma once

#include "db/IConnection.h"

#include <cstdint>
#include <memory>
#include <mutex>

namespace kroDB {

class CDbContext;

class CConnectionBase : public IConnection
{
public:
    bool OpenRecordset(const std::wstring& sql,
                       std::unique_ptr<CODBCRecordset>& recordset) override;
    bool ExecuteBatch(const std::vector<std::wstring>& statements) override;
    bool Execute(const std::wstring& sql) override;
    CDatabase* Database() override { return m_db.get(); }

    int UseCount() const { return m_uses; }
    // How many statements and queries have failed on this connection.
    uint64_t FailureCount() const { return m_failures; }
    void AddUse() { ++m_uses; }
    // Subtracts one use; true when it was the last.
    bool DropUse() { return --m_uses <= 0; }
    // Opens the database; shows "OpenDB error [...]" and returns false on failure.
    bool OpenDatabase(const std::wstring& connectString);
    void CloseDatabase();

    // While deferring, Execute only queues its statement (and reports
    // success); the queue is sent as one text before the next query, on
    // FlushDeferred, and when it grows large. Used inside a transaction, where
    // a failure at sending rolls the whole unit back.
    void BeginDeferred();
    // Sends what is queued and stops deferring; false when a statement failed.
    bool EndDeferred();
    bool FlushDeferred();
    // Drops what is queued (the unit is being rolled back) and stops deferring.
    void DiscardDeferred();

protected:
    // Requires: `context` outlives this object.
    explicit CConnectionBase(CDbContext& context);

    CDbContext& m_context;

private:
    bool Run(const std::wstring& sql);
    // The queued statements as one text (each ended by ";"), and an empty queue.
    std::wstring TakeDeferredText();

    std::unique_ptr<CDatabase> m_db;
    int m_uses = 0;
    uint64_t m_failures = 0;
    int m_deferDepth = 0;
    std::vector<std::wstring> m_deferred;
    size_t m_deferredChars = 0;
};

}  // namespace kroDB
