// The shared behaviour of the main and the administrative connection: a use
// count, an optional open database, the three statement operations and units
// (see IConnection).
#pragma once

#include "db/CUnitSender.h"
#include "db/HeldStatements.h"
#include "db/IConnection.h"
#include "db/pq/CPqSession.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>

namespace kroDB {

class CDbContext;

class CConnectionBase : public IConnection
{
public:
    bool OpenRecordset(const std::wstring& sql,
                       std::unique_ptr<CODBCRecordset>& recordset) override;
    bool ExecuteBatch(const std::vector<std::wstring>& statements) override;
    bool Execute(const std::wstring& sql) override;
    bool InsertRow(const std::wstring& table, int64_t id, const RowValues& values) override;
    bool ChangeHeldRow(const std::wstring& table, int64_t id, const RowValues& values) override;
    CDatabase* Database() override { return m_db.get(); }
    CDatabase* IdleDatabase() override;
    bool IsOpen() override;
    CStatus BeginUnit() override;
    CStatus CommitUnit() override;
    CStatus CommitUnitAhead() override;
    std::optional<CStatus> TakeAheadOutcome(bool wait) override;
    void RollbackUnit() override;
    CStatus UnitStatus() const override;
    CStatus LastStatus() const override;

    int UseCount() const { return m_uses; }
    void AddUse() { ++m_uses; }
    // Subtracts one use; true when it was the last.
    bool DropUse() { return --m_uses <= 0; }
    // Opens the database; shows "OpenDB error [...]" and returns false on failure.
    bool OpenDatabase(const std::wstring& connectString);
    // Closes the database (an open unit is dropped); the object and its uses
    // stay, so that the next acquisition opens it anew.
    void CloseDatabase();

protected:
    // Requires: `context` outlives this object.
    explicit CConnectionBase(CDbContext& context);
    ~CConnectionBase() override;

    CDbContext& m_context;

private:
    // Waits for the unit sent ahead, keeps its outcome for TakeAheadOutcome
    // and fails the open unit when it failed. Every use of the database
    // begins here.
    void SettleAhead();
    // Holds the open unit's COMMIT when it can still commit; otherwise rolls
    // it back. The unit's status either way.
    CStatus HoldCommit();
    // Sends `sql` now; the status of the statement.
    CStatus Run(const std::wstring& sql);
    // Sends what a unit holds back; its status.
    CStatus Flush();
    // Remembers a failure of `sql` and shows it, unless a unit may overcome it
    // or the caller reports it (a conflict or a server gone, inside a unit).
    void Failed(const CStatus& status, const std::wstring& sql);
    // The held statements as one text (each ended by ";"), and none held.
    std::wstring TakeHeldText();

    std::unique_ptr<CDatabase> m_db;
    int m_uses = 0;
    CStatus m_last;
    bool m_inUnit = false;
    // Something of the open unit has reached the server.
    bool m_unitSent = false;
    CStatus m_unitStatus;
    // Holds `sql` and sends what is held when it grew too large or `sql`
    // returns rows; false when that failed.
    bool Hold(CHeldStatement held, bool returnsRows);
    // True when the held unit goes to the second session: it adds rows,
    // nothing of it was sent yet and the session is open (opened here).
    bool UsesSession();
    // Commits the held unit through the second session and waits.
    CStatus CommitHeld();

    std::vector<CHeldStatement> m_held;
    size_t m_heldChars = 0;

    // Made on the first unit committed ahead.
    std::unique_ptr<CUnitSender> m_sender;
    std::optional<CStatus> m_aheadOutcome;

    // Opened with the first unit that adds rows; closed with the database.
    std::unique_ptr<pq::CPqSession> m_pq;
    // The second session could not be opened: units go as text until the
    // database is opened anew.
    bool m_pqRefused = false;
};

}  // namespace kroDB
