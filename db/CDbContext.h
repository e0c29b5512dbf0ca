// The process-wide database state: the ODBC environment, the main and
// administrative connect strings and the two shared, use-counted connections.
// One object per application (tests make their own). Thread-safe: the
// connection lock serialises acquisition, release and every statement, and a
// caller may hold it across several statements (one hand) with LockConnection.
#pragma once

#include "companion/COdbcEnvironment.h"
#include "foundation/CStatus.h"

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <unordered_set>

class CStatDefinitions;
class ILogSink;
class IUserNotifier;

namespace kroDB {

class IConnection;
class kroConnection;
class pgConnection;
namespace pq {
class CSharedWriter;
}

// What the shared connection has spent: round trips to the server and the
// time waited for them.
struct CDbTraffic
{
    uint64_t roundTrips = 0;
    uint64_t nanoseconds = 0;
};

class CDbContext
{
public:
    // Requires: the three references outlive this object.
    CDbContext(const CStatDefinitions& definitions, IUserNotifier& notifier, ILogSink& log);
    ~CDbContext();
    CDbContext(const CDbContext&) = delete;
    CDbContext& operator=(const CDbContext&) = delete;

    // Allocates the ODBC environment; idempotent. Fails when the driver
    // manager cannot be loaded.
    [[nodiscard]] CStatus AllocateEnvironment();
    SQLHENV Environment() const { return m_env.Handle(); }

    // The main connection, opened on first use after CheckDatabase succeeds on
    // the main connect string; null when that fails and nobody else holds it.
    // With an empty main string the connection has no database and every
    // operation fails. Pair with one Release().
    IConnection* AcquireConnection(bool readOnly);
    // Whether the main connection is open now (AcquireConnection then skips
    // the check).
    bool MainOpen() const;
    // The connection to the server's "postgres" database; null when it cannot
    // be opened. Pair with one Release().
    IConnection* AcquireAdminConnection();

    // From now on AcquireConnection returns `connection` instead of the shared
    // connection to the server (a connection without a server, in tests); null
    // goes back to the server. Requires: `connection` outlives its use here.
    void AttachConnection(IConnection* connection);

    // Closes the shared connection's database after the server went away,
    // keeping its uses: the next acquisition opens it anew. Counted ids are
    // forgotten too, since a server that crashed may hand them out again.
    void ResetConnection();

    // Stores `connectString` and its administrative form (the same text with
    // the Database value replaced by "postgres").
    void SetConnectStrings(const std::wstring& connectString);
    std::wstring MainConnectString() const;
    std::wstring AdminConnectString() const;

    // Held for the duration of a unit of work on the shared connection (one
    // hand); recursive, so the operations inside take it again.
    std::unique_lock<std::recursive_mutex> LockConnection()
    {
        return std::unique_lock<std::recursive_mutex>(m_lock);
    }

    const CStatDefinitions& Definitions() const { return m_definitions; }
    IUserNotifier& Notifier() { return m_notifier; }
    ILogSink& Log() { return m_log; }

    // Shows a failure to the user: `text` as it is.
    void ShowError(const std::wstring& text);

    // A new id from the database sequence `sequence`, which no other writer
    // (thread or process) ever gets. Ids are taken from the server `block` at a
    // time and handed out from memory. -1 when the server cannot give any.
    int64_t TakeId(const std::wstring& sequence, int block);
    // The outcome of the unit the shared connection last committed ahead
    // (IConnection::TakeAheadOutcome); nullopt without a connection.
    std::optional<CStatus> TakeAheadOutcome(bool wait);
    // Forgets the ids taken but not handed out, and the column lists.
    void ForgetIds();

    // The columns of `table` as the catalogue lists them, read once per
    // connection; empty when they cannot be read. Statistic values whose
    // column is missing are left out of the statements rather than failing
    // the whole hand. The set stays valid however the context changes.
    std::shared_ptr<const std::unordered_set<std::wstring>> TableColumns(const std::wstring& table);

    // The hand row that the open unit inserted or found stored (its id), so
    // that whoever stores the hand can tell which row it became. Requires the
    // connection lock, which the unit holds.
    void NoteUnitHand(int64_t handId) { m_unitHand = handId; }
    int64_t UnitHand() const { return m_unitHand; }

    // With complete rows (the default) a unit's new hand and hand player rows
    // wait for their later values and go as one insert per table; without,
    // each row is inserted at once and then updated, as older builds did.
    // The stored rows are the same either way.
    bool CompleteRows() const { return m_completeRows; }
    void SetCompleteRows(bool on) { m_completeRows = on; }
    // With prepared writes (the default) a unit that only adds rows goes to
    // the server as prepared statements on a second session of its own;
    // without, as SQL text on the connection. The stored rows are the same.
    bool PreparedWrites() const { return m_preparedWrites; }
    void SetPreparedWrites(bool on) { m_preparedWrites = on; }

    // How a pipelined unit that adds one new hand sums it for the HUD itself,
    // which costs the server less than the triggers that would: `setting`
    // goes before its first statement, `statement` ("$1": the hand's id)
    // after its last. Null (the default, and again when another database is
    // set): the triggers do it.
    struct CHandSummary
    {
        std::wstring setting;
        std::wstring statement;
    };
    std::shared_ptr<const CHandSummary> HandSummary() const
    {
        std::scoped_lock lock(m_lock);
        return m_handSummary;
    }
    void SetHandSummary(std::shared_ptr<const CHandSummary> summary)
    {
        std::scoped_lock lock(m_lock);
        m_handSummary = std::move(summary);
    }

    // Units of new hands go to the server through `writer` (null: each
    // connection's own session), which other contexts may share: the
    // server then stores the hands of several importing threads in one
    // process. Units sent the old way are waited for first.
    void ShareWriter(std::shared_ptr<pq::CSharedWriter> writer);
    std::shared_ptr<pq::CSharedWriter> SharedWriter() const
    {
        std::scoped_lock lock(m_lock);
        return m_writer;
    }

    CDbTraffic Traffic() const
    {
        std::scoped_lock lock(m_lock);
        return m_traffic;
    }
    void AddTraffic(uint64_t nanoseconds)
    {
        std::scoped_lock lock(m_lock);
        ++m_traffic.roundTrips;
        m_traffic.nanoseconds += nanoseconds;
    }

    // Seconds allowed for logging in to the server.
    int LoginTimeoutSeconds() const { return m_loginTimeout; }
    void SetLoginTimeoutSeconds(int seconds) { m_loginTimeout = seconds; }

private:
    friend class kroConnection;
    friend class pgConnection;
    void ReleaseMain();
    void ReleaseAdmin();

    const CStatDefinitions& m_definitions;
    IUserNotifier& m_notifier;
    ILogSink& m_log;
    COdbcEnvironment m_env;
    int m_loginTimeout = 5;

    // Guards everything below and every statement on the two connections.
    mutable std::recursive_mutex m_lock;
    std::wstring m_mainConnect;
    std::wstring m_adminConnect;
    std::unique_ptr<kroConnection> m_main;
    std::unique_ptr<pgConnection> m_admin;
    IConnection* m_attached = nullptr;
    CDbTraffic m_traffic;
    std::map<std::wstring, std::deque<int64_t>> m_ids;
    std::map<std::wstring, std::shared_ptr<const std::unordered_set<std::wstring>>> m_columns;
    int64_t m_unitHand = 0;
    bool m_completeRows = true;
    bool m_preparedWrites = true;
    std::shared_ptr<const CHandSummary> m_handSummary;
    std::shared_ptr<pq::CSharedWriter> m_writer;
};

// Owns one use of a shared connection: releases it when it goes.
class CConnectionLease
{
public:
    explicit CConnectionLease(IConnection* connection)
        : m_connection(connection)
    {}
    ~CConnectionLease();
    CConnectionLease(const CConnectionLease&) = delete;
    CConnectionLease& operator=(const CConnectionLease&) = delete;

    IConnection* get() const { return m_connection; }
    IConnection* operator->() const { return m_connection; }
    explicit operator bool() const { return m_connection != nullptr; }

private:
    IConnection* m_connection;
};

// The connect string with the password value hidden, for messages and logs.
std::wstring MaskPassword(const std::wstring& connectString);

}  // namespace kroDB
