#include "db/pq/CPqSession.h"

#include "db/DatabaseAdmin.h"
#include "foundation/SqlState.h"
#include "foundation/WideText.h"

#include <libpq-fe.h>

namespace kroDB::pq {

namespace {

// Beyond this, rows of a new shape go unprepared, so that odd units cannot
// fill the server's memory with statements.
constexpr size_t kMaxPrepared = 2000;

std::wstring MessageOf(const PGresult* result, pg_conn* conn)
{
    const char* text = result != nullptr ? PQresultErrorMessage(result) : "";
    if (text == nullptr || *text == 0) {
        text = PQerrorMessage(conn);
    }
    std::wstring message = FromUtf8(text != nullptr ? text : "");
    while (!message.empty() && (message.back() == L'\n' || message.back() == L' ')) {
        message.pop_back();
    }
    return message.empty() ? std::wstring(L"the statement failed") : message;
}

}  // namespace

CPqSession::~CPqSession()
{
    Close();
}

void CPqSession::Close()
{
    if (m_conn != nullptr) {
        PQfinish(m_conn);
        m_conn = nullptr;
    }
    // Units on their way are lost with the session; their outcomes say so.
    for (CPendingUnit& unit : m_pending) {
        unit.synced = false;
        if (unit.failure.IsOk()) {
            unit.failure = CStatus::Error(CStatus::Code::Unavailable, L"the session was lost");
        }
    }
    m_prepared.clear();
    m_lastName = 0;
    // Columns may have been added while the session was away.
    m_shapes = CTableShapes([this](const std::wstring& table, auto& defaults) {
        return LoadDefaults(table, defaults);
    });
}

bool CPqSession::IsOpen() const
{
    return m_conn != nullptr && PQstatus(m_conn) == CONNECTION_OK;
}

CStatus CPqSession::Open(const std::wstring& connectString, int timeoutSeconds)
{
    Close();
    CConnectParts parts;
    if (!ParseConnectString(connectString, parts)) {
        return CStatus::Error(CStatus::Code::Unavailable, L"the connection text does not parse");
    }
    std::vector<std::pair<std::string, std::string>> keywords = {
        {"host", ToUtf8(parts.server)},       {"port", ToUtf8(parts.port)},
        {"dbname", ToUtf8(parts.database)},   {"user", ToUtf8(parts.user)},
        {"password", ToUtf8(parts.password)},
    };
    keywords.emplace_back("connect_timeout",
                          std::to_string(timeoutSeconds > 0 ? timeoutSeconds : 15));
    keywords.emplace_back("client_encoding", "UTF8");
    keywords.emplace_back("application_name", "veltrix");
    // Quotes are doubled in every text value and backslashes stay literal, as
    // on the main session.
    keywords.emplace_back("options", "-c standard_conforming_strings=on");
    std::vector<const char*> names;
    std::vector<const char*> values;
    for (const auto& [name, value] : keywords) {
        names.push_back(name.c_str());
        values.push_back(value.c_str());
    }
    names.push_back(nullptr);
    values.push_back(nullptr);
    m_conn = PQconnectdbParams(names.data(), values.data(), 0);
    if (m_conn == nullptr || PQstatus(m_conn) != CONNECTION_OK) {
        const std::wstring message =
            m_conn != nullptr ? MessageOf(nullptr, m_conn) : L"out of memory";
        Close();
        return CStatus::Error(CStatus::Code::Unavailable, message);
    }
    // Notices (a SET LOCAL outside BEGIN, say) are nobody's business here.
    PQsetNoticeProcessor(
        m_conn, [](void*, const char*) {}, nullptr);
    return CStatus::Ok();
}

bool CPqSession::LoadDefaults(const std::wstring& table,
                              std::vector<std::pair<std::wstring, std::wstring>>& defaults)
{
    // A query of its own cannot run inside a pipeline.
    DrainPending();
    if (!IsOpen()) {
        return false;
    }
    const std::string name = ToUtf8(table);
    const char* values[] = {name.c_str()};
    PGresult* result =
        PQexecParams(m_conn,
                     "SELECT lower(a.attname), coalesce(pg_get_expr(d.adbin, d.adrelid), '') "
                     "FROM pg_attribute a LEFT JOIN pg_attrdef d "
                     "ON d.adrelid = a.attrelid AND d.adnum = a.attnum "
                     "WHERE a.attrelid = to_regclass($1) AND a.attnum > 0 AND NOT a.attisdropped",
                     1, nullptr, values, nullptr, nullptr, 0);
    const bool ok = PQresultStatus(result) == PGRES_TUPLES_OK;
    for (int row = 0; ok && row < PQntuples(result); ++row) {
        defaults.emplace_back(FromUtf8(PQgetvalue(result, row, 0)),
                              FromUtf8(PQgetvalue(result, row, 1)));
    }
    PQclear(result);
    return ok;
}

CStatus CPqSession::Run(const std::vector<CPqStep>& steps)
{
    // Units pipelined before are answered first; their outcomes wait.
    DrainPending();
    (void)Send(steps, false);
    const CStatus status = ReceiveOldest();
    if (!status.IsOk() && IsOpen()) {
        // The failed statement left the unit's transaction open and aborted.
        PQclear(PQexec(m_conn, "ROLLBACK"));
        if (PQstatus(m_conn) != CONNECTION_OK) {
            Close();
        }
    }
    return status;
}

bool CPqSession::Send(const std::vector<CPqStep>& steps, bool implicitTransaction)
{
    CPendingUnit unit;
    if (!IsOpen()) {
        unit.failure = CStatus::Error(CStatus::Code::Unavailable, L"no session");
        m_pending.push_back(std::move(unit));
        return false;
    }
    if (PQpipelineStatus(m_conn) == PQ_PIPELINE_OFF && PQenterPipelineMode(m_conn) != 1) {
        unit.failure = CStatus::DatabaseError(MessageOf(nullptr, m_conn));
        m_pending.push_back(std::move(unit));
        return false;
    }
    // Statements new to the session are prepared in a segment of their own:
    // a failure of the unit cannot skip them, so units sent behind it find
    // them.
    for (const CPqStep& step : steps) {
        if (!step.prepare || m_prepared.count(step.sql) != 0 || m_prepared.size() >= kMaxPrepared) {
            continue;
        }
        const auto added = m_prepared.emplace(step.sql, "vx" + std::to_string(++m_lastName)).first;
        if (PQsendPrepare(m_conn, added->second.c_str(), step.sql.c_str(), 0, nullptr) != 1) {
            m_prepared.erase(added);
            unit.failure = CStatus::DatabaseError(MessageOf(nullptr, m_conn));
            break;
        }
        unit.prepares.push_back(&added->first);
    }
    if (!unit.prepares.empty()) {
        unit.preparesSynced = PQpipelineSync(m_conn) == 1;
        if (!unit.preparesSynced && unit.failure.IsOk()) {
            unit.failure = CStatus::DatabaseError(MessageOf(nullptr, m_conn));
        }
    }
    std::vector<const char*> values;
    for (const CPqStep& step : steps) {
        if (!unit.failure.IsOk()) {
            break;
        }
        if (implicitTransaction && (step.sql == "BEGIN" || step.sql == "COMMIT")) {
            continue;
        }
        const char* name = nullptr;
        if (step.prepare) {
            const auto found = m_prepared.find(step.sql);
            if (found != m_prepared.end()) {
                name = found->second.c_str();
            }
        }
        values.clear();
        for (size_t i = 0; i < step.params.size(); ++i) {
            values.push_back(step.isNull[i] != 0 ? nullptr : step.params[i].c_str());
        }
        const int count = static_cast<int>(values.size());
        const int sent =
            name != nullptr
                ? PQsendQueryPrepared(m_conn, name, count, values.data(), nullptr, nullptr, 0)
                : PQsendQueryParams(m_conn, step.sql.c_str(), count, nullptr, values.data(),
                                    nullptr, nullptr, 0);
        if (sent != 1) {
            unit.failure = CStatus::DatabaseError(MessageOf(nullptr, m_conn));
            break;
        }
        ++unit.answers;
    }
    // The sync ends the unit even when a step could not be queued: what was
    // queued is answered, and without a BEGIN rolled back with the failure.
    unit.synced = PQpipelineSync(m_conn) == 1;
    if (!unit.synced && unit.failure.IsOk()) {
        unit.failure = CStatus::DatabaseError(MessageOf(nullptr, m_conn));
    }
    const bool ok = unit.failure.IsOk();
    m_pending.push_back(std::move(unit));
    return ok;
}

CStatus CPqSession::TakeOldest()
{
    if (!m_done.empty()) {
        const CStatus status = m_done.front();
        m_done.pop_front();
        return status;
    }
    return ReceiveOldest();
}

CStatus CPqSession::ReceiveOldest()
{
    if (m_pending.empty()) {
        return CStatus::Ok();
    }
    CPendingUnit unit = std::move(m_pending.front());
    m_pending.pop_front();
    CStatus status = unit.failure;
    bool lost = !IsOpen() || !unit.synced || (!unit.prepares.empty() && !unit.preparesSynced);
    for (size_t i = 0; !lost && i < unit.prepares.size(); ++i) {
        PGresult* result = PQgetResult(m_conn);
        if (result == nullptr) {
            lost = true;
            break;
        }
        if (PQresultStatus(result) != PGRES_COMMAND_OK) {
            // Not prepared after all: prepared anew with the next unit.
            m_prepared.erase(*unit.prepares[i]);
            if (status.IsOk()) {
                status = CStatus::DatabaseError(MessageOf(result, m_conn));
            }
        }
        PQclear(result);
        while ((result = PQgetResult(m_conn)) != nullptr) {
            PQclear(result);
        }
    }
    if (!lost && !unit.prepares.empty()) {
        PGresult* sync = PQgetResult(m_conn);
        lost = sync == nullptr || PQresultStatus(sync) != PGRES_PIPELINE_SYNC;
        PQclear(sync);
    }
    for (size_t i = 0; !lost && i < unit.answers; ++i) {
        PGresult* result = PQgetResult(m_conn);
        if (result == nullptr) {
            lost = true;
            break;
        }
        const ExecStatusType type = PQresultStatus(result);
        const bool ok = type == PGRES_COMMAND_OK || type == PGRES_TUPLES_OK;
        if (!ok && type != PGRES_PIPELINE_ABORTED && status.IsOk()) {
            const char* state = PQresultErrorField(result, PG_DIAG_SQLSTATE);
            status = CStatus::Error(CodeOfSqlState(FromUtf8(state != nullptr ? state : "")),
                                    MessageOf(result, m_conn));
        }
        PQclear(result);
        // Each answer ends with a null result.
        while ((result = PQgetResult(m_conn)) != nullptr) {
            PQclear(result);
        }
    }
    if (!lost) {
        PGresult* sync = PQgetResult(m_conn);
        lost = sync == nullptr || PQresultStatus(sync) != PGRES_PIPELINE_SYNC;
        PQclear(sync);
    }
    if (lost || !IsOpen()) {
        if (!status.IsOk() && status.GetCode() == CStatus::Code::Unavailable) {
            return status;
        }
        const std::wstring message =
            m_conn != nullptr ? MessageOf(nullptr, m_conn) : std::wstring(L"the session was lost");
        Close();
        return CStatus::Error(CStatus::Code::Unavailable, message);
    }
    if (m_pending.empty()) {
        (void)PQexitPipelineMode(m_conn);
    }
    return status;
}

void CPqSession::DrainPending()
{
    while (!m_pending.empty()) {
        m_done.push_back(ReceiveOldest());
    }
}

}  // namespace kroDB::pq
