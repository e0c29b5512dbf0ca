#include "companion/CDatabase.h"

#include "companion/OdbcText.h"

#include <sqlext.h>

CDatabase::CDatabase(SQLHENV env)
    : m_env(env)
{}

CDatabase::~CDatabase()
{
    Close();
}

CStatus CDatabase::Open(const std::wstring& connectString, int loginTimeoutSeconds)
{
    Close();
    if (m_env == SQL_NULL_HENV) {
        return CStatus::DatabaseError(L"no ODBC environment");
    }
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, m_env, &m_dbc))) {
        m_dbc = SQL_NULL_HDBC;
        return DiagnosticStatus(SQL_HANDLE_ENV, m_env);
    }
    SQLSetConnectAttrW(m_dbc, SQL_ATTR_LOGIN_TIMEOUT,
                       reinterpret_cast<SQLPOINTER>(static_cast<SQLLEN>(loginTimeoutSeconds)), 0);
    // Transaction-level rollback: the driver would otherwise wrap every
    // statement in a savepoint of its own, which the callers never use.
    std::wstring options = connectString;
    if (!options.empty() && options.back() != L';') {
        options += L';';
    }
    options += L"Protocol=7.4-1;";
    std::vector<SQLWCHAR> in = ToSqlWide(options);
    SQLWCHAR out[1024];
    SQLSMALLINT outLength = 0;
    const SQLRETURN rc = SQLDriverConnectW(m_dbc, nullptr, in.data(), SQL_NTS, out,
                                           static_cast<SQLSMALLINT>(std::size(out)), &outLength,
                                           SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(rc)) {
        const CStatus status = DiagnosticStatus(SQL_HANDLE_DBC, m_dbc);
        SQLFreeHandle(SQL_HANDLE_DBC, m_dbc);
        m_dbc = SQL_NULL_HDBC;
        if (status.Message().empty()) {
            return CStatus::Error(CStatus::Code::Unavailable, L"cannot connect");
        }
        return status;
    }
    m_open = true;
    m_connectString = connectString;
    return CStatus::Ok();
}

void CDatabase::Close()
{
    if (m_dbc != SQL_NULL_HDBC) {
        if (m_open) {
            SQLDisconnect(m_dbc);
        }
        SQLFreeHandle(SQL_HANDLE_DBC, m_dbc);
        m_dbc = SQL_NULL_HDBC;
    }
    m_open = false;
}

CStatus CDatabase::ExecuteSQL(const std::wstring& sql)
{
    if (!m_open) {
        return CStatus::DatabaseError(L"database not open");
    }
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, m_dbc, &stmt))) {
        return DiagnosticStatus(SQL_HANDLE_DBC, m_dbc);
    }
    if (m_queryTimeout > 0) {
        SQLSetStmtAttrW(stmt, SQL_ATTR_QUERY_TIMEOUT,
                        reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(m_queryTimeout)), 0);
    }
    std::vector<SQLWCHAR> text = ToSqlWide(sql);
    SQLRETURN rc = SQLExecDirectW(stmt, text.data(), SQL_NTS);
    CStatus status;
    if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) {
        status = WithLostConnection(DiagnosticStatus(SQL_HANDLE_STMT, stmt), m_dbc);
    } else {
        // Walk every result of a multi-statement text so that a later failing
        // statement is reported too.
        while (true) {
            rc = SQLMoreResults(stmt);
            if (rc == SQL_NO_DATA) {
                break;
            }
            if (!SQL_SUCCEEDED(rc)) {
                status = WithLostConnection(DiagnosticStatus(SQL_HANDLE_STMT, stmt), m_dbc);
                break;
            }
        }
    }
    SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    return status;
}

CStatus CDatabase::SetAutoCommit(bool on)
{
    if (!m_open) {
        return CStatus::DatabaseError(L"database not open");
    }
    const auto value = on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF;
    if (!SQL_SUCCEEDED(SQLSetConnectAttrW(m_dbc, SQL_ATTR_AUTOCOMMIT,
                                          reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(value)),
                                          0))) {
        return DiagnosticStatus(SQL_HANDLE_DBC, m_dbc);
    }
    return CStatus::Ok();
}

CStatus CDatabase::Commit()
{
    if (!m_open) {
        return CStatus::DatabaseError(L"database not open");
    }
    if (!SQL_SUCCEEDED(SQLEndTran(SQL_HANDLE_DBC, m_dbc, SQL_COMMIT))) {
        return DiagnosticStatus(SQL_HANDLE_DBC, m_dbc);
    }
    return CStatus::Ok();
}

CStatus CDatabase::Rollback()
{
    if (!m_open) {
        return CStatus::DatabaseError(L"database not open");
    }
    if (!SQL_SUCCEEDED(SQLEndTran(SQL_HANDLE_DBC, m_dbc, SQL_ROLLBACK))) {
        return DiagnosticStatus(SQL_HANDLE_DBC, m_dbc);
    }
    return CStatus::Ok();
}
