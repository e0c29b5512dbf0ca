// A file database reached through prepared statements. Every operation returns
// 1 for success and 0 for failure and then puts the reason into `err`; nothing is
// shown to the user. A database and its recordsets are used by one thread at a
// time.
#pragma once

#include "db/sqlite/CAbstractRecordset.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kroDB {

class CAbstractDatabase
{
public:
    // Parameter indexes are 0-based throughout.
    [[nodiscard]] virtual int GetParameterCount(CAbstractRecordset& rs,
                                                int& count,
                                                std::wstring& err) = 0;
    // The parameter's name without its leading "?", ":", "@" or "$" (a name of
    // one character is kept whole); empty for an anonymous "?".
    [[nodiscard]] virtual int GetParameterName(CAbstractRecordset& rs,
                                               int index,
                                               std::wstring& name,
                                               std::wstring& err) = 0;
    // Accepts the name with or without its prefix character.
    [[nodiscard]] virtual int GetParameterIndex(CAbstractRecordset& rs,
                                                const std::wstring& name,
                                                int& index,
                                                std::wstring& err) = 0;
    [[nodiscard]] virtual int BindDouble(CAbstractRecordset& rs,
                                         int index,
                                         double value,
                                         std::wstring& err) = 0;
    [[nodiscard]] virtual int BindText(CAbstractRecordset& rs,
                                       int index,
                                       const std::wstring& text,
                                       std::wstring& err) = 0;
    [[nodiscard]] virtual int BindInt64(CAbstractRecordset& rs,
                                        int index,
                                        int64_t value,
                                        std::wstring& err) = 0;
    [[nodiscard]] virtual int BindInt(CAbstractRecordset& rs,
                                      int index,
                                      int value,
                                      std::wstring& err) = 0;
    [[nodiscard]] virtual int QueryAlias(const std::wstring& sql,
                                         std::wstring& err,
                                         std::unique_ptr<CAbstractRecordset>& rs) = 0;
    virtual int SupportsTransactions() = 0;
    // Rewinds the statement so that it can be bound and stepped again.
    [[nodiscard]] virtual int Reset(CAbstractRecordset& rs, std::wstring& err) = 0;
    // Runs `sql` once with `data` bound as its first parameter.
    [[nodiscard]] virtual int ExecuteBlob(const std::wstring& sql,
                                          const void* data,
                                          int size,
                                          std::wstring& err) = 0;
    // Prepares the first statement of `sql` into a new recordset in `rs`; on
    // failure `rs` is emptied.
    [[nodiscard]] virtual int Query(const std::wstring& sql,
                                    std::wstring& err,
                                    std::unique_ptr<CAbstractRecordset>& rs) = 0;
    // Runs every statement of `sql`.
    [[nodiscard]] virtual int Execute(const std::wstring& sql, std::wstring& err) = 0;
    virtual int Close(std::wstring& err) = 0;
    virtual bool IsOpen() = 0;
    // Opens, or creates, the file at `path` for reading and writing; an open
    // database is closed first.
    [[nodiscard]] virtual int Open(const std::wstring& path, std::wstring& err) = 0;
    [[nodiscard]] virtual int BeginTransaction(std::wstring& err) = 0;
    [[nodiscard]] virtual int Commit(std::wstring& err) = 0;
    [[nodiscard]] virtual int Rollback(std::wstring& err) = 0;
    // Begins without consulting the transaction marker.
    [[nodiscard]] virtual int BeginTransactionUnchecked(std::wstring& err) = 0;
    // Commit when `commit`, else Rollback.
    [[nodiscard]] virtual int EndTransaction(bool commit, std::wstring& err) = 0;
    virtual int IsReadOnlyFlag() = 0;
    virtual ~CAbstractDatabase() = default;
};

}  // namespace kroDB
