// Conversion between wide text and the driver manager's 16-bit SQLWCHAR text,
// and the reading of diagnostic records. Internal to the library.
#pragma once

#include "foundation/CStatus.h"

#include <sql.h>
#include <sqlext.h>

#include <string>
#include <vector>

std::vector<SQLWCHAR> ToSqlWide(const std::wstring& text);
std::wstring FromSqlWide(const SQLWCHAR* text, size_t units);

// The messages of every diagnostic record of `handle`, joined by newlines.
std::wstring DiagnosticText(SQLSMALLINT handleType, SQLHANDLE handle);

// The diagnostic records of `handle` as a failure with the message of
// DiagnosticText. Its code comes from the first record's state: Conflict for a
// unique-key violation, a deadlock or a serialization failure (another writer
// holds or stored the same rows), Unavailable when the server cannot be reached
// or went away, DatabaseError for anything else.
CStatus DiagnosticStatus(SQLSMALLINT handleType, SQLHANDLE handle);

// `status` with the code Unavailable when the connection `dbc` is dead (the
// driver may report a server that went away as a general error first).
CStatus WithLostConnection(CStatus status, SQLHDBC dbc);
