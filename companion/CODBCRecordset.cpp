#include "companion/CODBCRecordset.h"

#include "companion/OdbcText.h"
#include "foundation/WideText.h"

#include <sqlext.h>

namespace {

const CDBField kNullField;

}  // namespace

CODBCRecordset::CODBCRecordset(CDatabase& db)
    : m_db(&db)
{}

CODBCRecordset::CODBCRecordset(std::vector<std::wstring> names,
                               std::vector<std::vector<CDBField>> rows)
    : m_db(nullptr)
    , m_rows(std::move(rows))
{
    for (auto& name : names) {
        m_names.push_back(ToLowerAscii(name));
    }
    m_eof = m_rows.empty();
    if (!m_eof) {
        m_fields = m_rows[0];
    }
}

CODBCRecordset::~CODBCRecordset()
{
    Close();
}

void CODBCRecordset::Close()
{
    if (m_stmt != SQL_NULL_HSTMT) {
        SQLFreeHandle(SQL_HANDLE_STMT, m_stmt);
        m_stmt = SQL_NULL_HSTMT;
    }
    m_eof = true;
    m_names.clear();
    m_fields.clear();
    m_rows.clear();
}

CStatus CODBCRecordset::Open(const std::wstring& sql, int /*openType*/, unsigned /*options*/)
{
    return Open(sql);
}

CStatus CODBCRecordset::Open(const std::wstring& sql)
{
    Close();
    if (!(m_db != nullptr && m_db->IsOpen())) {
        return CStatus::DatabaseError(L"database not open");
    }
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, m_db->Handle(), &m_stmt))) {
        m_stmt = SQL_NULL_HSTMT;
        return DiagnosticStatus(SQL_HANDLE_DBC, m_db->Handle());
    }
    if (m_db->QueryTimeout() > 0) {
        SQLSetStmtAttrW(m_stmt, SQL_ATTR_QUERY_TIMEOUT,
                        reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(m_db->QueryTimeout())),
                        0);
    }
    std::vector<SQLWCHAR> text = ToSqlWide(sql);
    return AfterExecute(SQLExecDirectW(m_stmt, text.data(), SQL_NTS));
}

CStatus CODBCRecordset::OpenTables(const std::wstring& table)
{
    Close();
    if (!(m_db != nullptr && m_db->IsOpen())) {
        return CStatus::DatabaseError(L"database not open");
    }
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, m_db->Handle(), &m_stmt))) {
        m_stmt = SQL_NULL_HSTMT;
        return DiagnosticStatus(SQL_HANDLE_DBC, m_db->Handle());
    }
    std::vector<SQLWCHAR> name = ToSqlWide(table);
    return AfterExecute(
        SQLTablesW(m_stmt, nullptr, 0, nullptr, 0, name.data(), SQL_NTS, nullptr, 0));
}

CStatus CODBCRecordset::OpenColumns(const std::wstring& table)
{
    Close();
    if (!(m_db != nullptr && m_db->IsOpen())) {
        return CStatus::DatabaseError(L"database not open");
    }
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, m_db->Handle(), &m_stmt))) {
        m_stmt = SQL_NULL_HSTMT;
        return DiagnosticStatus(SQL_HANDLE_DBC, m_db->Handle());
    }
    std::vector<SQLWCHAR> name = ToSqlWide(table);
    return AfterExecute(
        SQLColumnsW(m_stmt, nullptr, 0, nullptr, 0, name.data(), SQL_NTS, nullptr, 0));
}

CStatus CODBCRecordset::AfterExecute(SQLRETURN rc)
{
    if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) {
        CStatus status = WithLostConnection(DiagnosticStatus(SQL_HANDLE_STMT, m_stmt),
                                            m_db != nullptr ? m_db->Handle() : SQL_NULL_HDBC);
        Close();
        return status;
    }
    SQLSMALLINT columns = 0;
    SQLNumResultCols(m_stmt, &columns);
    // A text of several statements: the rows are those of the first statement
    // that returns any; an error of a later statement still fails the query.
    while (columns == 0) {
        const SQLRETURN more = SQLMoreResults(m_stmt);
        if (more == SQL_NO_DATA) {
            break;
        }
        if (!SQL_SUCCEEDED(more)) {
            CStatus status = WithLostConnection(DiagnosticStatus(SQL_HANDLE_STMT, m_stmt),
                                                m_db != nullptr ? m_db->Handle() : SQL_NULL_HDBC);
            Close();
            return status;
        }
        SQLNumResultCols(m_stmt, &columns);
    }
    m_names.clear();
    for (SQLSMALLINT c = 1; c <= columns; ++c) {
        SQLWCHAR name[256] = {};
        SQLSMALLINT nameLength = 0;
        SQLSMALLINT type = 0;
        SQLULEN size = 0;
        SQLSMALLINT digits = 0;
        SQLSMALLINT nullable = 0;
        SQLDescribeColW(m_stmt, static_cast<SQLUSMALLINT>(c), name,
                        static_cast<SQLSMALLINT>(std::size(name)), &nameLength, &type, &size,
                        &digits, &nullable);
        m_names.push_back(ToLowerAscii(
            FromSqlWide(name, std::min<size_t>(static_cast<size_t>(nameLength), 255))));
    }
    m_eof = columns == 0 || !FetchRow();
    if (!m_lastError.empty()) {
        CStatus status = CStatus::DatabaseError(m_lastError);
        Close();
        return status;
    }
    return CStatus::Ok();
}

bool CODBCRecordset::FetchRow()
{
    m_lastError.clear();
    m_fields.clear();
    const SQLRETURN rc = SQLFetch(m_stmt);
    if (rc == SQL_NO_DATA) {
        return false;
    }
    if (!SQL_SUCCEEDED(rc)) {
        m_lastError = DiagnosticText(SQL_HANDLE_STMT, m_stmt);
        return false;
    }
    m_fields.reserve(m_names.size());
    for (size_t c = 1; c <= m_names.size(); ++c) {
        std::vector<SQLWCHAR> raw;
        bool isNull = false;
        SQLWCHAR buffer[2048];
        while (true) {
            SQLLEN indicator = 0;
            const SQLRETURN g = SQLGetData(m_stmt, static_cast<SQLUSMALLINT>(c), SQL_C_WCHAR,
                                           buffer, sizeof(buffer), &indicator);
            if (g == SQL_NO_DATA) {
                break;
            }
            if (!SQL_SUCCEEDED(g)) {
                m_lastError = DiagnosticText(SQL_HANDLE_STMT, m_stmt);
                return false;
            }
            if (indicator == SQL_NULL_DATA) {
                isNull = true;
                break;
            }
            const size_t capacity = std::size(buffer) - 1;
            size_t units = capacity;
            if (indicator != SQL_NO_TOTAL &&
                static_cast<size_t>(indicator) / sizeof(SQLWCHAR) <= capacity) {
                units = static_cast<size_t>(indicator) / sizeof(SQLWCHAR);
            }
            raw.insert(raw.end(), buffer, buffer + units);
            if (g == SQL_SUCCESS) {
                break;
            }
        }
        // Decoded in one piece: a surrogate pair may straddle two chunks.
        m_fields.emplace_back(
            isNull ? std::nullopt
                   : std::optional<std::wstring>(FromSqlWide(raw.data(), raw.size())));
    }
    return true;
}

bool CODBCRecordset::MoveNext()
{
    if (m_db == nullptr) {
        if (m_eof || ++m_row >= m_rows.size()) {
            m_eof = true;
            m_fields.clear();
            return false;
        }
        m_fields = m_rows[m_row];
        return true;
    }
    if (m_stmt == SQL_NULL_HSTMT || m_eof) {
        return false;
    }
    m_eof = !FetchRow();
    return !m_eof;
}

bool CODBCRecordset::Move(long rows)
{
    for (long i = 0; i < rows; ++i) {
        if (!MoveNext()) {
            return false;
        }
    }
    return !m_eof;
}

const CDBField& CODBCRecordset::Field(const std::wstring& name) const
{
    const std::wstring lower = ToLowerAscii(name);
    for (size_t i = 0; i < m_names.size() && i < m_fields.size(); ++i) {
        if (m_names[i] == lower) {
            return m_fields[i];
        }
    }
    return kNullField;
}

const CDBField& CODBCRecordset::Field(size_t index) const
{
    return index < m_fields.size() ? m_fields[index] : kNullField;
}
