// The one ODBC environment of the process (ODBC 3 behaviour). Move-only owner of
// the handle; the connections made from it must be closed before it goes.
#pragma once

#include "companion/OstrandExport.h"
#include "foundation/CStatus.h"

#include <sql.h>

class VX_COMPANION_EXPORT COdbcEnvironment
{
public:
    COdbcEnvironment() = default;
    ~COdbcEnvironment();
    COdbcEnvironment(const COdbcEnvironment&) = delete;
    COdbcEnvironment& operator=(const COdbcEnvironment&) = delete;

    // Allocates the environment; idempotent.
    [[nodiscard]] CStatus Allocate();
    void Free();
    bool IsAllocated() const { return m_env != SQL_NULL_HENV; }
    SQLHENV Handle() const { return m_env; }

private:
    SQLHENV m_env = SQL_NULL_HENV;
};
