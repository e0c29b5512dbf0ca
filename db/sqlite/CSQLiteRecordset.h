// The recordset of CSQLiteDatabase: one prepared statement. It shares the
// connection handle, so a recordset stays safe to use and to destroy after its
// database was closed; the file is closed when the last of them lets go.
#pragma once

#include "db/sqlite/CAbstractRecordset.h"

#include <memory>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace kroDB {

struct CSqliteCloser
{
    void operator()(sqlite3* db) const;
};

struct CSqliteFinalizer
{
    void operator()(sqlite3_stmt* statement) const;
};

using SqliteConnection = std::shared_ptr<sqlite3>;
using SqliteStatement = std::unique_ptr<sqlite3_stmt, CSqliteFinalizer>;

// Makes the shared owner of an open handle (or of none for null).
SqliteConnection MakeSqliteConnection(sqlite3* db);

class CSQLiteRecordset : public CAbstractRecordset
{
public:
    // Requires: `statement` was prepared on `connection`.
    CSQLiteRecordset(SqliteConnection connection, SqliteStatement statement);
    CSQLiteRecordset(const CSQLiteRecordset&) = delete;
    CSQLiteRecordset& operator=(const CSQLiteRecordset&) = delete;

    void GetBlob(int index, std::unique_ptr<unsigned char[]>& data, int& size) override;
    void GetBlobByName(const std::wstring& name,
                       std::unique_ptr<unsigned char[]>& data,
                       int& size) override;
    bool IsNull(int index) override;
    std::wstring GetString(int index) override;
    std::wstring GetStringByName(const std::wstring& name) override;
    int GetInt(int index) override;
    int GetIntByName(const std::wstring& name) override;
    double GetDouble(int index) override;
    double GetDoubleByName(const std::wstring& name) override;
    bool IsInteger(int index) override;
    bool IsFloat(int index) override;
    bool IsTextOrBlob(int index) override;
    int ColumnCount() override;
    std::wstring ColumnName(int index) override;
    int ColumnIndex(const std::wstring& name) override;
    [[nodiscard]] int MoveNext() override;
    void Close() override;
    bool IsOpen() override;
    ~CSQLiteRecordset() override;

    // The prepared statement, or null when closed. Borrowed.
    sqlite3_stmt* Statement() const { return m_statement.get(); }
    // Rewinds the statement for new bindings and steps; 0 with the reason in
    // `err` when the last step had failed.
    [[nodiscard]] int Rewind(std::wstring& err);
    // The connection's last error text.
    std::wstring ConnectionError() const;

private:
    // Whether `index` names a column of the current row.
    bool HasValue(int index) const;
    int ColumnType(int index) const;

    // Declared first so that the statement is finalized before the handle goes.
    SqliteConnection m_connection;
    SqliteStatement m_statement;
    bool m_atEnd = false;
};

}  // namespace kroDB
