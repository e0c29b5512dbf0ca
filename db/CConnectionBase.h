// The shared behaviour of the main and the administrative connection: a use
// count, an optional open database, the three statement operations and units
// (see IConnection).
#pragma once

#include "db/CUnitSender.h"
#include "db/HeldStatements.h"
#include "db/IConnection.h"
#include "db/pq/CPqPipeline.h"
#include "db/pq/CPqSession.h"
#include "db/pq/CSharedWriter.h"

#include <cstdint>
#include <deque>
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
    bool OpenRecordsetAside(const std::wstring& sql,
                            std::unique_ptr<CODBCRecordset>& recordset) override;
    bool ExecuteAside(const std::wstring& sql) override;
    bool WritesAside() override;
    bool ReadsAlone() override;
    bool ExecuteBatch(const std::vector<std::wstring>& statements) override;
    bool Execute(const std::wstring& sql) override;
    bool InsertRow(const std::wstring& table, int64_t id, RowValues values) override;
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
    // Sends the next units through the context's shared writer (or its own
    // pipeline again), once every unit sent the old way is settled. Requires
    // the connection lock.
    void FollowWriter();

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
    // Keeps the outcome of a unit sent ahead for TakeAheadOutcome; a failure
    // is shown (unless the caller overcomes or reports it) and, with
    // `failOpenUnit`, fails the open unit, which may rest on its rows.
    void NoteOutcome(const CStatus& status, const std::wstring& text, bool failOpenUnit);
    // Keeps the outcome of the oldest pipelined unit when it is known (with
    // `wait`, once it is); false when there was none.
    bool TakeOneFinished(bool wait, bool failOpenUnit);
    // Keeps the outcomes of pipelined units that are known (with `wait`, of
    // every one).
    void TakeFinished(bool wait, bool failOpenUnit);
    // True when the open unit may be pipelined behind those on their way: it
    // only adds rows of its hand and nothing of it was sent. A unit on its
    // way through the connection's own sender is waited for first.
    bool CanPipeline();
    // Hands the open unit to the pipeline.
    CStatus Pipeline();
    // Holds the open unit's COMMIT when it can still commit; otherwise rolls
    // it back. The unit's status either way.
    CStatus HoldCommit();
    // Waits for the unit on its way through the connection's own sender, if
    // any; units in the pipeline use another session and go on.
    void SettleSender();
    // True when a statement aside runs on its own: a unit is open and nothing
    // of it was sent.
    bool RunsAside() const { return m_inUnit && !m_unitSent; }
    // The status of a statement run aside: a conflict is the caller's, any
    // other failure fails the open unit too.
    void FailedAside(const CStatus& status, const std::wstring& sql);
    // Sends `text` through ODBC, timed, into `recordset` when given; nullopt
    // (shown) when memory ran out.
    std::optional<CStatus> SendText(const std::wstring& text,
                                    std::unique_ptr<CODBCRecordset>* recordset);
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
    // Outcomes of units sent ahead, oldest first, not taken yet.
    std::deque<CStatus> m_outcomes;

    // Opened with the first unit that adds rows; closed with the database.
    std::unique_ptr<pq::CPqSession> m_pq;
    // The second session could not be opened: units go as text until the
    // database is opened anew.
    bool m_pqRefused = false;
    // Made with the first unit pipelined; stopped before the session goes.
    std::unique_ptr<pq::CPqPipeline> m_pipeline;
    // The context's shared writer this connection's units go through instead
    // of its own pipeline, on a lane of its own.
    std::shared_ptr<pq::CSharedWriter> m_writer;
    const uint64_t m_lane = pq::CPqPipeline::NewLane();
    // Units pipelined (through the writer or the own pipeline) whose outcome
    // was not taken, and the oldest such outcome.
    size_t UnsettledAhead();
    std::optional<pq::CPqPipeline::COutcome> TakeAhead(bool wait);
};

}  // namespace kroDB
