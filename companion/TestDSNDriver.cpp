#include "companion/TestDSNDriver.h"

#include "companion/OdbcText.h"

#include <sqlext.h>

bool TestDSNDriver(SQLHENV env, const std::wstring& driverName)
{
    if (env == SQL_NULL_HENV) {
        return false;
    }
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    while (true) {
        SQLWCHAR description[512] = {};
        SQLWCHAR attributes[2048] = {};
        SQLSMALLINT descriptionLength = 0;
        SQLSMALLINT attributesLength = 0;
        const SQLRETURN rc = SQLDriversW(
            env, direction, description, static_cast<SQLSMALLINT>(std::size(description)),
            &descriptionLength, attributes, static_cast<SQLSMALLINT>(std::size(attributes)),
            &attributesLength);
        if (!SQL_SUCCEEDED(rc)) {
            return false;
        }
        const size_t units =
            std::min<size_t>(static_cast<size_t>(descriptionLength), std::size(description) - 1);
        if (FromSqlWide(description, units) == driverName) {
            return true;
        }
        direction = SQL_FETCH_NEXT;
    }
}
