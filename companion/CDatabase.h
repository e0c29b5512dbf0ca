// One ODBC connection to a data source, opened with a connect string. Owns its
// connection handle. Not thread-safe: callers serialise access.
#pragma once

#include "companion/OstrandExport.h"
#include "foundation/CStatus.h"

#include <sql.h>

#include <string>

class VX_COMPANION_EXPORT CDatabase
{
public:
    // Requires: `env` outlives this object.
    explicit CDatabase(SQLHENV env);
    ~CDatabase();
    CDatabase(const CDatabase&) = delete;
    CDatabase& operator=(const CDatabase&) = delete;

    // Connects without any login dialog. Fails with the driver's message when the
    // server cannot be reached within `loginTimeoutSeconds` or refuses the login.
    [[nodiscard]] CStatus Open(const std::wstring& connectString, int loginTimeoutSeconds = 5);
    void Close();
    bool IsOpen() const { return m_open; }
    const std::wstring& ConnectString() const { return m_connectString; }

    // Runs one statement text (it may hold several statements separated by ";")
    // and discards any result.
    [[nodiscard]] CStatus ExecuteSQL(const std::wstring& sql);

    // Seconds a statement may run; 0 means no limit.
    void SetQueryTimeout(int seconds) { m_queryTimeout = seconds; }
    int QueryTimeout() const { return m_queryTimeout; }

    // Transactions: with automatic commit off, Commit or Rollback ends the
    // current transaction.
    [[nodiscard]] CStatus SetAutoCommit(bool on);
    [[nodiscard]] CStatus Commit();
    [[nodiscard]] CStatus Rollback();

    SQLHDBC Handle() const { return m_dbc; }

private:
    SQLHENV m_env;
    SQLHDBC m_dbc = SQL_NULL_HDBC;
    bool m_open = false;
    int m_queryTimeout = 0;
    std::wstring m_connectString;
};
