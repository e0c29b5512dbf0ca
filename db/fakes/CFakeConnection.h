// A connection without a server, for tests: it records every statement and
// query, answers queries through a responder, keeps units the way the server
// keeps transactions (what a unit sent takes effect only when it commits), and
// can be told to fail the Nth statement with a chosen status. One thread at a
// time; attach it to a context with CDbContext::AttachConnection.
#pragma once

#include "db/IConnection.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kroDB {

class CFakeConnection : public IConnection
{
public:
    // The answer to one query: column names and rows of values (nullopt is
    // NULL).
    struct CRows
    {
        std::vector<std::wstring> names;
        std::vector<std::vector<std::optional<std::wstring>>> rows;
    };
    using Responder = std::function<CRows(const std::wstring& sql)>;

    // Queries the responder leaves without rows yield none. The id queries
    // of CDbContext::TakeId are answered with ids counted from 1 per
    // sequence, before the responder is asked.
    void SetResponder(Responder responder) { m_responder = std::move(responder); }

    // The `n`th statement or query from now (1-based, counted over Execute,
    // every statement of ExecuteBatch and OpenRecordset, not over the unit's
    // own BEGIN and COMMIT) fails with `status`; 0 fails none.
    void FailStatement(uint64_t n, CStatus status);
    // Every later statement or query fails with `status` (a server that went
    // away); Ok ends it.
    void FailEverything(CStatus status) { m_failAll = std::move(status); }
    // The commit of the next unit fails with `status` after its statements
    // were accepted, as when the server goes away while committing.
    void FailNextCommit(CStatus status) { m_failCommit = std::move(status); }

    // Every statement and query in the order it was given, failed ones too.
    const std::vector<std::wstring>& Sent() const { return m_sent; }
    // What took effect: statements outside units, and the statements of each
    // committed unit, in order.
    const std::vector<std::wstring>& Committed() const { return m_committed; }
    // The statements of each committed unit.
    const std::vector<std::vector<std::wstring>>& CommittedUnits() const { return m_units; }
    // How many statements and queries were given so far.
    uint64_t Count() const { return m_count; }
    // Releases minus nothing: how often Release() was called.
    int Releases() const { return m_releases; }

    void Release() override { ++m_releases; }
    bool OpenRecordset(const std::wstring& sql,
                       std::unique_ptr<CODBCRecordset>& recordset) override;
    bool ExecuteBatch(const std::vector<std::wstring>& statements) override;
    bool Execute(const std::wstring& sql) override;
    CDatabase* Database() override { return nullptr; }
    bool IsOpen() override { return true; }
    CStatus BeginUnit() override;
    CStatus CommitUnit() override;
    // Decides the unit's outcome at once (a commit told to fail fails it)
    // but keeps it unknown to the caller until the connection is used next,
    // as a server still storing it would.
    CStatus CommitUnitAhead() override;
    std::optional<CStatus> TakeAheadOutcome(bool wait) override;
    void RollbackUnit() override;
    CStatus UnitStatus() const override { return m_unitStatus; }
    CStatus LastStatus() const override { return m_last; }

private:
    // Makes the outcome of the unit sent ahead known; a failure fails the
    // open unit.
    void Settle();
    // Counts `sql`, records it and decides whether it fails.
    CStatus Take(const std::wstring& sql);
    CRows Answer(const std::wstring& sql);

    Responder m_responder;
    uint64_t m_failAt = 0;
    CStatus m_failWith;
    CStatus m_failAll;
    CStatus m_failCommit;
    uint64_t m_count = 0;
    int m_releases = 0;
    std::vector<std::wstring> m_sent;
    std::vector<std::wstring> m_committed;
    std::vector<std::vector<std::wstring>> m_units;
    bool m_inUnit = false;
    std::vector<std::wstring> m_unit;
    CStatus m_unitStatus;
    CStatus m_last;
    std::optional<CStatus> m_aheadInFlight;
    std::optional<CStatus> m_aheadKnown;
    // Ids handed out per sequence name.
    std::vector<std::pair<std::wstring, int64_t>> m_sequences;
};

}  // namespace kroDB
