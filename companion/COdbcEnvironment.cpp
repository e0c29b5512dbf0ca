#include "companion/COdbcEnvironment.h"

#include <sqlext.h>

COdbcEnvironment::~COdbcEnvironment()
{
    Free();
}

CStatus COdbcEnvironment::Allocate()
{
    if (m_env != SQL_NULL_HENV) {
        return CStatus::Ok();
    }
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &m_env))) {
        m_env = SQL_NULL_HENV;
        return CStatus::DatabaseError(L"cannot allocate the ODBC environment");
    }
    SQLSetEnvAttr(m_env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    return CStatus::Ok();
}

void COdbcEnvironment::Free()
{
    if (m_env != SQL_NULL_HENV) {
        SQLFreeHandle(SQL_HANDLE_ENV, m_env);
        m_env = SQL_NULL_HENV;
    }
}
