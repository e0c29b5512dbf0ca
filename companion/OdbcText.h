// Conversion between wide text and the driver manager's 16-bit SQLWCHAR text,
// and the reading of diagnostic records. Internal to the library.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <string>
#include <vector>

std::vector<SQLWCHAR> ToSqlWide(const std::wstring& text);
std::wstring FromSqlWide(const SQLWCHAR* text, size_t units);

// The messages of every diagnostic record of `handle`, joined by newlines.
std::wstring DiagnosticText(SQLSMALLINT handleType, SQLHANDLE handle);
