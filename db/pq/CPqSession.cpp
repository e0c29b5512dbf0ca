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
    return CStatus::Ok();
}

bool CPqSession::LoadDefaults(const std::wstring& table,
                              std::vector<std::pair<std::wstring, std::wstring>>& defaults)
{
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
    if (!IsOpen()) {
        return CStatus::Error(CStatus::Code::Unavailable, L"no session");
    }
    if (PQenterPipelineMode(m_conn) != 1) {
        return CStatus::DatabaseError(MessageOf(nullptr, m_conn));
    }
    // What each result answers: a prepare (with its statement text) or a step.
    struct CExpected
    {
        const std::string* prepared = nullptr;
    };
    std::vector<CExpected> expected;
    expected.reserve(steps.size() * 2);
    CStatus status = CStatus::Ok();
    std::vector<const char*> values;
    for (const CPqStep& step : steps) {
        const char* name = nullptr;
        if (step.prepare) {
            auto found = m_prepared.find(step.sql);
            if (found == m_prepared.end() && m_prepared.size() < kMaxPrepared) {
                found = m_prepared.emplace(step.sql, "vx" + std::to_string(++m_lastName)).first;
                if (PQsendPrepare(m_conn, found->second.c_str(), step.sql.c_str(), 0, nullptr) !=
                    1) {
                    m_prepared.erase(found);
                    status = CStatus::DatabaseError(MessageOf(nullptr, m_conn));
                    break;
                }
                expected.push_back({&found->first});
            }
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
            status = CStatus::DatabaseError(MessageOf(nullptr, m_conn));
            break;
        }
        expected.push_back({});
    }
    if (PQpipelineSync(m_conn) != 1 && status.IsOk()) {
        status = CStatus::DatabaseError(MessageOf(nullptr, m_conn));
    }
    bool lost = false;
    for (const CExpected& answer : expected) {
        PGresult* result = PQgetResult(m_conn);
        if (result == nullptr) {
            lost = true;
            break;
        }
        const ExecStatusType type = PQresultStatus(result);
        const bool ok = type == PGRES_COMMAND_OK || type == PGRES_TUPLES_OK;
        if (!ok && answer.prepared != nullptr) {
            // Not prepared after all: prepared anew with the next unit.
            m_prepared.erase(*answer.prepared);
        }
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
    if (lost || PQstatus(m_conn) != CONNECTION_OK) {
        const std::wstring message = MessageOf(nullptr, m_conn);
        Close();
        return CStatus::Error(CStatus::Code::Unavailable, message);
    }
    (void)PQexitPipelineMode(m_conn);
    if (!status.IsOk()) {
        // The failed statement left the transaction open and aborted.
        PQclear(PQexec(m_conn, "ROLLBACK"));
        if (PQstatus(m_conn) != CONNECTION_OK) {
            Close();
        }
    }
    return status;
}

}  // namespace kroDB::pq
