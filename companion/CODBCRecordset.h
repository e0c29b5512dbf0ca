// A forward-only, read-only result of one directly executed query, or of a
// catalogue function. Owns its statement handle; used by one thread at a time
// and closed before its database.
#pragma once

#include "companion/CDBField.h"
#include "companion/CDatabase.h"
#include "companion/OstrandExport.h"
#include "foundation/CStatus.h"

#include <sql.h>

#include <string>
#include <vector>

class VX_COMPANION_EXPORT CODBCRecordset
{
public:
    // Requires: `db` outlives this recordset.
    explicit CODBCRecordset(CDatabase& db);
    // A recordset over rows already in memory, positioned on the first (for
    // connections that answer queries without a server, as test fakes do).
    // Every row has one field per name; Open fails on it.
    CODBCRecordset(std::vector<std::wstring> names, std::vector<std::vector<CDBField>> rows);
    ~CODBCRecordset();
    CODBCRecordset(const CODBCRecordset&) = delete;
    CODBCRecordset& operator=(const CODBCRecordset&) = delete;

    // Executes `sql` and moves to the first row (IsEOF() when there is none).
    // With several statements, the rows are those of the first that has any.
    [[nodiscard]] CStatus Open(const std::wstring& sql);
    // The form with the framework's open type (2, forward only) and options
    // (0x2004, read-only and executed directly): the same, the numbers are fixed.
    [[nodiscard]] CStatus Open(const std::wstring& sql, int openType, unsigned options);

    // The catalogue's rows for tables named `table` (any catalogue and schema).
    [[nodiscard]] CStatus OpenTables(const std::wstring& table);
    // The catalogue's rows for the columns of `table`; COLUMN_NAME is column 4.
    [[nodiscard]] CStatus OpenColumns(const std::wstring& table);

    bool IsOpen() const { return m_stmt != SQL_NULL_HSTMT || m_db == nullptr; }
    bool IsEOF() const { return m_eof; }
    // Moves to the next row; false at the end or on an error (see LastError()).
    bool MoveNext();
    // Moves `rows` rows forward.
    bool Move(long rows);
    void Close();

    // The named column of the current row (names compare without regard to
    // case); a NULL field when there is no such column.
    const CDBField& Field(const std::wstring& name) const;
    const CDBField& Field(size_t index) const;
    size_t FieldCount() const { return m_names.size(); }

    const std::wstring& LastError() const { return m_lastError; }

private:
    CStatus AfterExecute(SQLRETURN rc);
    bool FetchRow();

    // Null for a recordset over rows in memory.
    CDatabase* m_db;
    SQLHSTMT m_stmt = SQL_NULL_HSTMT;
    std::vector<std::vector<CDBField>> m_rows;
    size_t m_row = 0;
    bool m_eof = true;
    std::vector<std::wstring> m_names;
    std::vector<CDBField> m_fields;
    std::wstring m_lastError;
};
