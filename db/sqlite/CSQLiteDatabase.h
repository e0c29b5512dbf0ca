// CAbstractDatabase over an SQLite file: wide text on this side, UTF-8 towards
// the library. Not thread-safe; use from one thread at a time.
#pragma once

#include "db/sqlite/CAbstractDatabase.h"
#include "db/sqlite/CSQLiteRecordset.h"

#include <string>
#include <string_view>

namespace kroDB {

class CSQLiteDatabase : public CAbstractDatabase
{
public:
    CSQLiteDatabase() = default;
    CSQLiteDatabase(const CSQLiteDatabase&) = delete;
    CSQLiteDatabase& operator=(const CSQLiteDatabase&) = delete;

    [[nodiscard]] int GetParameterCount(CAbstractRecordset& rs,
                                        int& count,
                                        std::wstring& err) override;
    [[nodiscard]] int GetParameterName(CAbstractRecordset& rs,
                                       int index,
                                       std::wstring& name,
                                       std::wstring& err) override;
    [[nodiscard]] int GetParameterIndex(CAbstractRecordset& rs,
                                        const std::wstring& name,
                                        int& index,
                                        std::wstring& err) override;
    [[nodiscard]] int BindDouble(CAbstractRecordset& rs,
                                 int index,
                                 double value,
                                 std::wstring& err) override;
    [[nodiscard]] int BindText(CAbstractRecordset& rs,
                               int index,
                               const std::wstring& text,
                               std::wstring& err) override;
    [[nodiscard]] int BindInt64(CAbstractRecordset& rs,
                                int index,
                                int64_t value,
                                std::wstring& err) override;
    [[nodiscard]] int BindInt(CAbstractRecordset& rs,
                              int index,
                              int value,
                              std::wstring& err) override;
    [[nodiscard]] int QueryAlias(const std::wstring& sql,
                                 std::wstring& err,
                                 std::unique_ptr<CAbstractRecordset>& rs) override;
    int SupportsTransactions() override { return 1; }
    [[nodiscard]] int Reset(CAbstractRecordset& rs, std::wstring& err) override;
    [[nodiscard]] int ExecuteBlob(const std::wstring& sql,
                                  const void* data,
                                  int size,
                                  std::wstring& err) override;
    [[nodiscard]] int Query(const std::wstring& sql,
                            std::wstring& err,
                            std::unique_ptr<CAbstractRecordset>& rs) override;
    [[nodiscard]] int Execute(const std::wstring& sql, std::wstring& err) override;
    int Close(std::wstring& err) override;
    bool IsOpen() override { return m_connection != nullptr; }
    [[nodiscard]] int Open(const std::wstring& path, std::wstring& err) override;
    [[nodiscard]] int BeginTransaction(std::wstring& err) override;
    [[nodiscard]] int Commit(std::wstring& err) override;
    [[nodiscard]] int Rollback(std::wstring& err) override;
    [[nodiscard]] int BeginTransactionUnchecked(std::wstring& err) override;
    [[nodiscard]] int EndTransaction(bool commit, std::wstring& err) override;
    int IsReadOnlyFlag() override { return 0; }
    ~CSQLiteDatabase() override;

    // A parameter name as GetParameterName reports it: the leading "?", ":", "@"
    // or "$" removed when something follows it.
    static std::wstring ParameterNameWithoutPrefix(std::wstring_view name);

private:
    // The statement of `rs` for the parameter operations; 0 with `closedMessage`
    // when it has none.
    int StatementOf(CAbstractRecordset& rs,
                    const wchar_t* closedMessage,
                    sqlite3_stmt*& statement,
                    std::wstring& err) const;
    // Checks a 0-based parameter index against the statement.
    int CheckParameterIndex(sqlite3_stmt* statement, int index, std::wstring& err) const;
    // The connection's message after a failed call, or the library's text of `rc`.
    static std::wstring ErrorOf(sqlite3* db, int rc);
    // Commit or rollback of the open transaction.
    int FinishTransaction(const char* sql, std::wstring& err);
    // Binds through `bind` after the checks every Bind operation shares.
    template <typename BindFunction>
    int BindChecked(CAbstractRecordset& rs, int index, std::wstring& err, BindFunction bind);

    SqliteConnection m_connection;
    bool m_inTransaction = false;
};

}  // namespace kroDB
