// A shared, use-counted database connection. Every AcquireConnection is paired
// with one Release(); the last Release closes the database and deletes the
// object. Operations are serialised by the owning context's connection lock.
//
// Units: between BeginUnit and CommitUnit (or RollbackUnit) the statements form
// one transaction. Statements that need no answer may be held back and sent
// with the next query or with the commit, so a unit costs few round trips. The
// first failing statement fails the whole unit: the unit's later statements and
// queries are not sent and report failure, and nothing of it remains after the
// commit, which returns that first failure. A failure the unit may overcome by
// being tried again (CStatus::Code::Conflict: another writer holds or stored
// the same rows) or that only says the server went away (Unavailable) is not
// shown to the user; the caller decides what to say.
#pragma once

#include "companion/CODBCRecordset.h"
#include "foundation/CStatus.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class CDatabase;

namespace kroDB {

// Column names with their values as SQL text (literals or expressions).
using RowValues = std::vector<std::pair<std::wstring, std::wstring>>;

// Executed first in a unit, makes its commit not wait for the disk; writes
// aside from such a unit do not wait either.
inline constexpr const wchar_t* kAsyncCommitSql = L"SET LOCAL synchronous_commit = off";

// "insert into <table> (a,b) values(1,2);"; empty without a column.
std::wstring RowInsertText(const std::wstring& table, const RowValues& values);

class IConnection
{
public:
    virtual ~IConnection() = default;

    // Gives back one use; may delete this object.
    virtual void Release() = 0;

    // Runs `sql` and leaves the open result in `recordset`, replacing what was
    // there. False, with the failure shown, when there is no database, `sql` is
    // empty or the statement fails.
    [[nodiscard]] virtual bool OpenRecordset(const std::wstring& sql,
                                             std::unique_ptr<CODBCRecordset>& recordset) = 0;

    // OpenRecordset and Execute for statements that stand apart from the open
    // unit: reads that need none of its rows, and writes that may be committed
    // on their own (a sequence's next ids, a new player). Until the unit has
    // sent something they run at once in their own transaction, without
    // waiting for units on their way, so that the unit can still follow those
    // whole; afterwards they run within it. A write goes apart only from a
    // unit that does not wait for the disk (kAsyncCommitSql); a unit that
    // does keeps it. A conflict (another writer stored the same row) is left
    // to the caller and does not fail the unit.
    [[nodiscard]] virtual bool OpenRecordsetAside(const std::wstring& sql,
                                                  std::unique_ptr<CODBCRecordset>& recordset)
    {
        return OpenRecordset(sql, recordset);
    }
    [[nodiscard]] virtual bool ExecuteAside(const std::wstring& sql) { return Execute(sql); }
    // Whether ExecuteAside would run now in a transaction of its own: a write
    // held in the unit instead meets a conflict only at the unit's commit,
    // which then fails.
    [[nodiscard]] virtual bool WritesAside() { return false; }
    // Whether OpenRecordsetAside would run now in a transaction of its own,
    // not within the open unit.
    [[nodiscard]] virtual bool ReadsAlone() { return false; }

    // Runs the statements in order with a query time-out of 600 seconds; stops
    // at the first failure (shown) and returns false. No transaction is opened.
    [[nodiscard]] virtual bool ExecuteBatch(const std::vector<std::wstring>& statements) = 0;

    // Runs one statement; false (shown) on failure or without an open database.
    // Inside a unit the statement may only be queued: true then means
    // accepted, and a later failure shows in CommitUnit.
    [[nodiscard]] virtual bool Execute(const std::wstring& sql) = 0;

    // Inserts a new row of `table` whose "id" column is `id` (among `values`).
    // Inside a unit the row may be held until the unit's next round trip, so
    // that ChangeHeldRow can complete it and the held rows of one table go as
    // one statement; the result is that of executing RowInsertText.
    [[nodiscard]] virtual bool InsertRow(const std::wstring& table, int64_t id, RowValues values)
    {
        (void)id;
        return Execute(RowInsertText(table, values));
    }
    // Sets `values` in the held new row `id` of `table`: true when the row is
    // still held and now carries them; false when it is not held (it was sent
    // or never inserted this way), and the caller updates the stored row.
    virtual bool ChangeHeldRow(const std::wstring& table, int64_t id, const RowValues& values)
    {
        (void)table;
        (void)id;
        (void)values;
        return false;
    }

    // The open database, or null (also for connections without a server).
    virtual CDatabase* Database() = 0;
    // The open database for use by the caller itself, once nothing sent
    // ahead is still on its way; null as Database().
    virtual CDatabase* IdleDatabase() { return Database(); }
    // True when statements can be sent: a database is attached and open.
    virtual bool IsOpen() = 0;

    // Opens a unit. Fails (Unavailable) without an open database, and when a
    // unit is open already.
    [[nodiscard]] virtual CStatus BeginUnit() = 0;
    // Sends what is held and commits. Ok only when every statement of the unit
    // and the commit succeeded; otherwise everything of the unit is rolled back
    // and the first failure is returned. When the server went away during the
    // commit itself (Unavailable) the unit may or may not have been stored.
    [[nodiscard]] virtual CStatus CommitUnit() = 0;
    // Commits like CommitUnit, but may return once the unit is on its way:
    // Ok then means sent, and its outcome comes from TakeAheadOutcome. A
    // failure known before sending is returned at once, as by CommitUnit.
    // Whatever uses the connection next waits for the outcomes first; when
    // one is a failure, the unit open by then fails without sending
    // anything, as it may rest on rows of the failed one. Units that only add
    // rows of their own hand may be sent behind others still on their way.
    [[nodiscard]] virtual CStatus CommitUnitAhead() = 0;
    // The outcome of the oldest unit committed ahead whose outcome was not
    // taken yet, once known; with `wait`, waits for it. Nullopt when there is
    // none to take. One outcome for each unit CommitUnitAhead sent.
    virtual std::optional<CStatus> TakeAheadOutcome(bool wait) = 0;
    // Drops what is held and rolls the open unit back.
    virtual void RollbackUnit() = 0;
    // The first failure of the open unit; Ok when there is none or no unit.
    virtual CStatus UnitStatus() const = 0;
    // The result of the last statement, query or commit.
    virtual CStatus LastStatus() const = 0;
};

}  // namespace kroDB
