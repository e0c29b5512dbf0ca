// Whether the driver manager knows an ODBC driver by name.
#pragma once

#include "companion/OstrandExport.h"

#include <sql.h>

#include <string>

// True when `driverName` ("PostgreSQL Unicode") is among the drivers that the
// driver manager of `env` lists.
VX_COMPANION_EXPORT bool TestDSNDriver(SQLHENV env, const std::wstring& driverName);
