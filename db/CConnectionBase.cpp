#include "db/CConnectionBase.h"

#include "companion/CDatabase.h"
#include "db/CDbContext.h"
#include "foundation/ILogSink.h"
#include "foundation/StageTimes.h"
#include "foundation/WideText.h"

#include <chrono>
#include <new>

namespace kroDB {

namespace {

uint64_t Elapsed(std::chrono::steady_clock::time_point start)
{
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                     std::chrono::steady_clock::now() - start)
                                     .count());
}

// A unit's text is sent before it grows beyond this, so that a huge hand
// cannot build an endless text.
constexpr size_t kMaxHeldChars = 1u << 20;

// Units pipelined and not settled before a commit waits for the oldest: the
// server is never short of work, and a fast reader holds few hands.
constexpr size_t kMaxUnsettled = 8;

// Runs a unit's held statements as prepared statements on `session`, or as
// text on `db` when they do not allow it; on failure the unit is rolled back
// and `failed` holds what was sent.
CStatus RunHeld(pq::CPqSession& session,
                CDatabase& db,
                std::vector<CHeldStatement>& held,
                std::wstring& failed)
{
    std::vector<pq::CPqStep> steps;
    if (pq::BuildSteps(held, &session.Shapes(), steps)) {
        const CStatus status = session.Run(steps);
        if (!status.IsOk()) {
            failed = pq::DescribeSteps(steps);
        }
        return status;
    }
    const std::wstring text = HeldText(held);
    const CStatus status = db.ExecuteSQL(text);
    if (!status.IsOk()) {
        failed = text;
        if (status.GetCode() != CStatus::Code::Unavailable) {
            // Harmless when the server ended the transaction itself.
            (void)db.ExecuteSQL(L"ROLLBACK");
        }
    }
    return status;
}

}  // namespace

CConnectionBase::CConnectionBase(CDbContext& context)
    : m_context(context)
{}

CConnectionBase::~CConnectionBase()
{
    // The senders must stop using the database before it closes.
    m_sender.reset();
    m_pipeline.reset();
}

CDatabase* CConnectionBase::IdleDatabase()
{
    auto lock = m_context.LockConnection();
    SettleAhead();
    return m_db.get();
}

void CConnectionBase::NoteOutcome(const CStatus& status,
                                  const std::wstring& text,
                                  bool failOpenUnit)
{
    m_outcomes.push_back(status);
    if (status.IsOk()) {
        return;
    }
    m_last = status;
    if (status.GetCode() != CStatus::Code::Conflict &&
        status.GetCode() != CStatus::Code::Unavailable) {
        m_context.ShowError(FormatW(L"Ошибка [%ls] при выполнении <%ls> ", status.Message().c_str(),
                                    MaskPassword(m_db ? m_db->ConnectString() : L"").c_str()));
        m_context.Log().Log(L"SQL: " + text.substr(0, 4000));
    }
    if (failOpenUnit && m_inUnit && m_unitStatus.IsOk()) {
        m_unitStatus = CStatus::Error(CStatus::Code::Conflict,
                                      L"the unit sent before this one was not stored");
    }
}

size_t CConnectionBase::UnsettledAhead()
{
    if (m_writer) {
        return m_writer->Unsettled(m_lane);
    }
    return m_pipeline ? m_pipeline->Unsettled(m_lane) : 0;
}

std::optional<pq::CPqPipeline::COutcome> CConnectionBase::TakeAhead(bool wait)
{
    const vxstage::CScope timing(vxstage::Stage::Wait);
    if (m_writer) {
        return m_writer->Take(wait, m_lane);
    }
    return m_pipeline ? m_pipeline->Take(wait, m_lane) : std::nullopt;
}

void CConnectionBase::FollowWriter()
{
    std::shared_ptr<pq::CSharedWriter> writer = m_context.SharedWriter();
    if (writer == m_writer) {
        return;
    }
    // The outcomes of units sent the old way come from there.
    TakeFinished(true, true);
    m_writer = std::move(writer);
}

bool CConnectionBase::TakeOneFinished(bool wait, bool failOpenUnit)
{
    const std::optional<pq::CPqPipeline::COutcome> outcome = TakeAhead(wait);
    if (!outcome) {
        return false;
    }
    m_context.AddTraffic(outcome->nanoseconds);
    NoteOutcome(outcome->status, outcome->text, failOpenUnit);
    return true;
}

void CConnectionBase::TakeFinished(bool wait, bool failOpenUnit)
{
    while (TakeOneFinished(wait, failOpenUnit)) {
    }
}

void CConnectionBase::SettleAhead()
{
    TakeFinished(true, true);
    SettleSender();
}

void CConnectionBase::SettleSender()
{
    if (!m_sender || !m_sender->InFlight()) {
        return;
    }
    uint64_t nanoseconds = 0;
    CStatus status;
    {
        const vxstage::CScope timing(vxstage::Stage::Wait);
        status = m_sender->Wait(nanoseconds);
    }
    m_context.AddTraffic(nanoseconds);
    NoteOutcome(status, status.IsOk() ? std::wstring() : m_sender->LastText(), true);
}

bool CConnectionBase::OpenDatabase(const std::wstring& connectString)
{
    auto lock = m_context.LockConnection();
    try {
        auto db = std::make_unique<CDatabase>(m_context.Environment());
        const CStatus status = db->Open(connectString, m_context.LoginTimeoutSeconds());
        if (!status.IsOk()) {
            m_last = status;
            m_context.ShowError(FormatW(L"OpenDB error [%ls], file: <%ls> ",
                                        status.Message().c_str(),
                                        MaskPassword(connectString).c_str()));
            return false;
        }
        // Quotes are doubled in every text value and backslashes stay literal.
        (void)db->ExecuteSQL(L"SET standard_conforming_strings = on");
        SettleAhead();
        m_pipeline.reset();
        m_pq.reset();
        m_pqRefused = false;
        m_db = std::move(db);
        m_last = CStatus::Ok();
        return true;
    } catch (const std::bad_alloc&) {
        m_context.ShowError(
            FormatW(L"OpenDB memory error, file: <%ls> ", MaskPassword(connectString).c_str()));
        return false;
    }
}

void CConnectionBase::CloseDatabase()
{
    auto lock = m_context.LockConnection();
    SettleAhead();
    m_held.clear();
    m_heldChars = 0;
    m_inUnit = false;
    m_unitSent = false;
    m_unitStatus = CStatus::Ok();
    m_pipeline.reset();
    m_pq.reset();
    m_pqRefused = false;
    m_db.reset();
}

bool CConnectionBase::IsOpen()
{
    auto lock = m_context.LockConnection();
    return m_db && m_db->IsOpen();
}

CStatus CConnectionBase::UnitStatus() const
{
    auto lock = m_context.LockConnection();
    return m_inUnit ? m_unitStatus : CStatus::Ok();
}

CStatus CConnectionBase::LastStatus() const
{
    auto lock = m_context.LockConnection();
    return m_last;
}

void CConnectionBase::Failed(const CStatus& status, const std::wstring& sql)
{
    m_last = status;
    const bool overcome = status.GetCode() == CStatus::Code::Conflict ||
                          status.GetCode() == CStatus::Code::Unavailable;
    if (m_inUnit) {
        if (m_unitStatus.IsOk()) {
            m_unitStatus = status;
        }
        if (overcome) {
            // The caller tries a conflicting unit again and reports a server
            // that went away in its own words.
            return;
        }
    }
    m_context.ShowError(FormatW(L"Ошибка [%ls] при выполнении <%ls> ", status.Message().c_str(),
                                MaskPassword(m_db ? m_db->ConnectString() : L"").c_str()));
    m_context.Log().Log(L"SQL: " + sql.substr(0, 4000));
}

std::optional<CStatus> CConnectionBase::SendText(const std::wstring& text,
                                                 std::unique_ptr<CODBCRecordset>* recordset)
{
    try {
        const auto start = std::chrono::steady_clock::now();
        CStatus status;
        {
            const vxstage::CScope timing(vxstage::Stage::Wait);
            if (recordset != nullptr) {
                recordset->reset();
                auto rs = std::make_unique<CODBCRecordset>(*m_db);
                status = rs->Open(text, 2, 0x2004);
                if (status.IsOk()) {
                    *recordset = std::move(rs);
                }
            } else {
                status = m_db->ExecuteSQL(text);
            }
        }
        m_context.AddTraffic(Elapsed(start));
        return status;
    } catch (const std::bad_alloc&) {
        m_context.ShowError(FormatW(L"Ошибка памяти при выполнении <%ls> ",
                                    MaskPassword(m_db->ConnectString()).c_str()));
        return std::nullopt;
    }
}

bool CConnectionBase::OpenRecordset(const std::wstring& sql,
                                    std::unique_ptr<CODBCRecordset>& recordset)
{
    auto lock = m_context.LockConnection();
    if (sql.empty() || !m_db || !m_db->IsOpen()) {
        return false;
    }
    SettleAhead();
    if (m_inUnit && !m_unitStatus.IsOk()) {
        return false;
    }
    recordset.reset();
    // Held statements travel in front of the query: one round trip for both.
    std::wstring text = TakeHeldText();
    text += sql;
    const std::optional<CStatus> status = SendText(text, &recordset);
    m_unitSent = m_unitSent || m_inUnit;
    if (!status) {
        return false;
    }
    if (!status->IsOk()) {
        Failed(*status, text);
        return false;
    }
    m_last = CStatus::Ok();
    return true;
}

CStatus CConnectionBase::Run(const std::wstring& sql)
{
    SettleAhead();
    if (m_inUnit && !m_unitStatus.IsOk()) {
        return m_unitStatus;
    }
    const std::optional<CStatus> status = SendText(sql, nullptr);
    if (!status) {
        return CStatus::DatabaseError(L"out of memory");
    }
    if (!status->IsOk()) {
        Failed(*status, sql);
        return *status;
    }
    m_last = CStatus::Ok();
    return m_last;
}

void CConnectionBase::FailedAside(const CStatus& status, const std::wstring& sql)
{
    m_last = status;
    if (status.GetCode() == CStatus::Code::Conflict) {
        return;
    }
    Failed(status, sql);
}

bool CConnectionBase::OpenRecordsetAside(const std::wstring& sql,
                                         std::unique_ptr<CODBCRecordset>& recordset)
{
    auto lock = m_context.LockConnection();
    if (!RunsAside()) {
        return OpenRecordset(sql, recordset);
    }
    if (sql.empty() || !m_db || !m_db->IsOpen()) {
        return false;
    }
    SettleSender();
    if (!m_unitStatus.IsOk()) {
        return false;
    }
    const std::optional<CStatus> status = SendText(sql, &recordset);
    if (!status) {
        return false;
    }
    if (!status->IsOk()) {
        FailedAside(*status, sql);
        return false;
    }
    m_last = CStatus::Ok();
    return true;
}

bool CConnectionBase::WritesAside()
{
    auto lock = m_context.LockConnection();
    if (!RunsAside()) {
        return false;
    }
    // A unit that waits for the disk keeps the write: committed on its own,
    // it would wait for the disk once more.
    for (const auto& held : m_held) {
        if (EqualsNoCase(held.sql, kAsyncCommitSql)) {
            return true;
        }
    }
    return false;
}

bool CConnectionBase::ReadsAlone()
{
    auto lock = m_context.LockConnection();
    return !m_inUnit || RunsAside();
}

bool CConnectionBase::ExecuteAside(const std::wstring& sql)
{
    auto lock = m_context.LockConnection();
    if (!WritesAside()) {
        return Execute(sql);
    }
    if (!m_db || !m_db->IsOpen()) {
        return false;
    }
    SettleSender();
    if (!m_unitStatus.IsOk()) {
        return false;
    }
    const std::wstring text = L"BEGIN;" + std::wstring(kAsyncCommitSql) + L";" + sql + L";COMMIT";
    const std::optional<CStatus> status = SendText(text, nullptr);
    if (!status) {
        return false;
    }
    if (!status->IsOk()) {
        if (status->GetCode() != CStatus::Code::Unavailable) {
            // Harmless when the server ended the transaction itself.
            (void)m_db->ExecuteSQL(L"ROLLBACK");
        }
        FailedAside(*status, text);
        return false;
    }
    m_last = CStatus::Ok();
    return true;
}

bool CConnectionBase::Execute(const std::wstring& sql)
{
    auto lock = m_context.LockConnection();
    if (!m_db || !m_db->IsOpen()) {
        return false;
    }
    if (!m_inUnit) {
        return Run(sql).IsOk();
    }
    if (!m_unitStatus.IsOk()) {
        return false;
    }
    // A statement that returns rows goes at once: held, its rows would be
    // taken for those of the next query.
    const bool returnsRows =
        sql.size() >= 6 && EqualsNoCase(std::wstring_view(sql).substr(0, 6), L"SELECT");
    CHeldStatement held;
    held.sql = sql;
    return Hold(std::move(held), returnsRows);
}

bool CConnectionBase::Hold(CHeldStatement held, bool returnsRows)
{
    m_heldChars += held.sql.size();
    for (const auto& [column, value] : held.values) {
        m_heldChars += column.size() + value.size() + 2;
    }
    m_held.push_back(std::move(held));
    return (m_heldChars < kMaxHeldChars && !returnsRows) || Flush().IsOk();
}

bool CConnectionBase::InsertRow(const std::wstring& table, int64_t id, RowValues values)
{
    auto lock = m_context.LockConnection();
    if (!m_inUnit || !m_context.CompleteRows()) {
        return Execute(RowInsertText(table, values));
    }
    if (!m_db || !m_db->IsOpen() || !m_unitStatus.IsOk()) {
        return false;
    }
    CHeldStatement held;
    held.table = table;
    held.id = id;
    held.values = std::move(values);
    return Hold(std::move(held), false);
}

bool CConnectionBase::ChangeHeldRow(const std::wstring& table, int64_t id, const RowValues& values)
{
    auto lock = m_context.LockConnection();
    if (!m_inUnit) {
        return false;
    }
    for (auto it = m_held.rbegin(); it != m_held.rend(); ++it) {
        if (it->id != id || it->table != table) {
            continue;
        }
        for (const auto& [column, value] : values) {
            bool found = false;
            for (auto& [held, heldValue] : it->values) {
                if (EqualsNoCase(held, column)) {
                    heldValue = value;
                    found = true;
                    break;
                }
            }
            if (!found) {
                it->values.emplace_back(column, value);
            }
            m_heldChars += column.size() + value.size() + 2;
        }
        return true;
    }
    return false;
}

CStatus CConnectionBase::Flush()
{
    if (m_held.empty()) {
        return CStatus::Ok();
    }
    const std::wstring text = TakeHeldText();
    m_unitSent = true;
    return Run(text);
}

std::wstring CConnectionBase::TakeHeldText()
{
    const vxstage::CScope timing(vxstage::Stage::SqlText);
    std::wstring text = HeldText(m_held);
    m_held.clear();
    m_heldChars = 0;
    return text;
}

bool CConnectionBase::UsesSession()
{
    if (!m_context.PreparedWrites() || m_unitSent || m_pqRefused || !m_db) {
        return false;
    }
    bool addsRows = false;
    for (const auto& held : m_held) {
        addsRows = addsRows || !held.table.empty();
    }
    if (!addsRows) {
        return false;
    }
    if (!m_pq) {
        m_pq = std::make_unique<pq::CPqSession>();
    }
    if (!m_pq->IsOpen()) {
        const CStatus opened = m_pq->Open(m_db->ConnectString(), m_context.LoginTimeoutSeconds());
        if (!opened.IsOk()) {
            m_pqRefused = true;
            m_context.Log().Log(
                L"hands go as SQL text: the prepared-statement session did not open: " +
                opened.Message());
            return false;
        }
    }
    return true;
}

bool CConnectionBase::CanPipeline()
{
    if (!m_context.PreparedWrites() || m_unitSent || !pq::AddsOnlyHandRows(m_held)) {
        return false;
    }
    if (m_sender && m_sender->InFlight()) {
        // A unit of the connection's own goes first; when it failed, this
        // one is refused as it would be behind it.
        SettleAhead();
    }
    FollowWriter();
    if (m_writer) {
        std::wstring why;
        if (m_writer->Ready(m_db->ConnectString(), m_context.LoginTimeoutSeconds(), why)) {
            return true;
        }
        m_context.Log().Log(L"hands go on their own: the shared session did not open: " + why);
        return false;
    }
    if (m_pipeline && m_pipeline->Unsettled(m_lane) > 0) {
        // The session belongs to the pipeline until it is settled.
        return true;
    }
    if (!UsesSession()) {
        return false;
    }
    if (!m_pipeline) {
        m_pipeline = std::make_unique<pq::CPqPipeline>(*m_pq);
    }
    return true;
}

CStatus CConnectionBase::Pipeline()
{
    // What is known already. A failure does not refuse this unit: no row of
    // a pipelined unit is one another unit rests on.
    TakeFinished(false, false);
    while (UnsettledAhead() >= kMaxUnsettled && TakeOneFinished(true, false)) {
    }
    if (!m_unitStatus.IsOk()) {
        const CStatus status = m_unitStatus;
        RollbackUnit();
        m_last = status;
        return status;
    }
    if (const auto summary = m_context.HandSummary()) {
        if (const std::optional<int64_t> hand = pq::SoleNewHand(m_held)) {
            // Before the first insert, so that no trigger sums it as well.
            CHeldStatement setting;
            setting.sql = summary->setting;
            const bool begins = EqualsNoCase(m_held.front().sql, L"BEGIN");
            m_held.insert(m_held.begin() + (begins ? 1 : 0), std::move(setting));
            CHeldStatement statement;
            statement.sql = summary->statement;
            statement.params.push_back(std::to_wstring(*hand));
            m_held.push_back(std::move(statement));
        }
    }
    if (m_writer) {
        std::wstring why;
        if (!m_writer->Send(m_held, m_lane, m_db->ConnectString(), m_context.LoginTimeoutSeconds(),
                            why)) {
            // The session broke after Ready: as a unit whose server went away.
            const CStatus status = CStatus::Error(CStatus::Code::Unavailable, why);
            RollbackUnit();
            m_last = status;
            return status;
        }
    } else {
        m_pipeline->Send(std::move(m_held), m_lane);
    }
    m_held.clear();
    m_heldChars = 0;
    m_inUnit = false;
    m_unitSent = false;
    m_last = CStatus::Ok();
    return m_last;
}

CStatus CConnectionBase::CommitHeld()
{
    std::vector<CHeldStatement> held = std::move(m_held);
    m_held.clear();
    m_heldChars = 0;
    const auto start = std::chrono::steady_clock::now();
    std::wstring failed;
    CStatus status;
    {
        const vxstage::CScope timing(vxstage::Stage::Wait);
        status = RunHeld(*m_pq, *m_db, held, failed);
    }
    m_context.AddTraffic(Elapsed(start));
    if (!status.IsOk()) {
        Failed(status, failed);
    }
    return status;
}

CStatus CConnectionBase::BeginUnit()
{
    auto lock = m_context.LockConnection();
    if (!m_db || !m_db->IsOpen()) {
        return CStatus::Error(CStatus::Code::Unavailable, L"no open database");
    }
    if (m_inUnit) {
        return CStatus::InvalidArgument(L"a unit is open already");
    }
    m_inUnit = true;
    m_unitSent = false;
    m_unitStatus = CStatus::Ok();
    // Sent with the unit's first query or its commit, not on its own.
    CHeldStatement begin;
    begin.sql = L"BEGIN";
    m_held.push_back(std::move(begin));
    m_heldChars += 5;
    return CStatus::Ok();
}

CStatus CConnectionBase::HoldCommit()
{
    SettleAhead();
    CStatus status = m_unitStatus;
    if (status.IsOk() && (!m_db || !m_db->IsOpen())) {
        status = CStatus::Error(CStatus::Code::Unavailable, L"no open database");
    }
    if (!status.IsOk()) {
        RollbackUnit();
        m_last = status;
        return status;
    }
    // A failed statement aborts the server's transaction and stops the text
    // there, so this COMMIT is never reached after a failure.
    CHeldStatement commit;
    commit.sql = L"COMMIT";
    m_held.push_back(std::move(commit));
    m_heldChars += 6;
    return status;
}

CStatus CConnectionBase::CommitUnit()
{
    auto lock = m_context.LockConnection();
    if (!m_inUnit) {
        return CStatus::InvalidArgument(L"no unit is open");
    }
    CStatus status = HoldCommit();
    if (!status.IsOk()) {
        return status;
    }
    status = UsesSession() ? CommitHeld() : Flush();
    if (status.IsOk()) {
        m_inUnit = false;
        m_unitSent = false;
        return status;
    }
    RollbackUnit();
    m_last = status;
    return status;
}

CStatus CConnectionBase::CommitUnitAhead()
{
    auto lock = m_context.LockConnection();
    if (!m_inUnit) {
        return CStatus::InvalidArgument(L"no unit is open");
    }
    if (CanPipeline()) {
        return Pipeline();
    }
    const CStatus status = HoldCommit();
    if (!status.IsOk()) {
        return status;
    }
    if (!m_sender) {
        m_sender = std::make_unique<CUnitSender>();
    }
    if (UsesSession()) {
        // The statements are built on the sender's thread too, while this
        // one reads the next hand.
        auto held = std::make_shared<std::vector<CHeldStatement>>(std::move(m_held));
        m_held.clear();
        m_heldChars = 0;
        auto failed = std::make_shared<std::wstring>();
        pq::CPqSession* session = m_pq.get();
        CDatabase* db = m_db.get();
        m_sender->Send(
            [session, db, held, failed]() { return RunHeld(*session, *db, *held, *failed); },
            [failed]() { return *failed; });
    } else {
        m_sender->Send(*m_db, TakeHeldText());
    }
    m_inUnit = false;
    m_unitSent = false;
    m_last = CStatus::Ok();
    return m_last;
}

std::optional<CStatus> CConnectionBase::TakeAheadOutcome(bool wait)
{
    auto lock = m_context.LockConnection();
    if (m_outcomes.empty()) {
        if (wait) {
            SettleAhead();
        } else {
            TakeFinished(false, true);
        }
    }
    if (m_outcomes.empty()) {
        return std::nullopt;
    }
    const CStatus outcome = m_outcomes.front();
    m_outcomes.pop_front();
    return outcome;
}

void CConnectionBase::RollbackUnit()
{
    // Nothing of this unit reached the server before what was sent ahead
    // settled, so a unit sent ahead needs no wait here.
    auto lock = m_context.LockConnection();
    m_held.clear();
    m_heldChars = 0;
    if (m_inUnit && m_unitSent && m_db && m_db->IsOpen()) {
        // Harmless when the server ended the transaction itself.
        (void)m_db->ExecuteSQL(L"ROLLBACK");
    }
    m_inUnit = false;
    m_unitSent = false;
    m_unitStatus = CStatus::Ok();
}

bool CConnectionBase::ExecuteBatch(const std::vector<std::wstring>& statements)
{
    auto lock = m_context.LockConnection();
    if (!m_db || !m_db->IsOpen()) {
        return false;
    }
    if (m_inUnit) {
        // Held behind what came before, so that the order stays.
        for (const auto& sql : statements) {
            if (!Execute(sql)) {
                return false;
            }
        }
        return true;
    }
    SettleAhead();
    const int previous = m_db->QueryTimeout();
    m_db->SetQueryTimeout(600);
    bool ok = true;
    for (const auto& sql : statements) {
        if (!Run(sql).IsOk()) {
            ok = false;
            break;
        }
    }
    m_db->SetQueryTimeout(previous);
    return ok;
}

}  // namespace kroDB
