// A shared, use-counted database connection. Every AcquireConnection is paired
// with one Release(); the last Release closes the database and deletes the
// object. Operations are serialised by the owning context's connection lock.
#pragma once

#include "companion/CODBCRecordset.h"

#include <memory>
#include <string>
#include <vector>

class CDatabase;

namespace kroDB {

class IConnection
{
public:
    virtual ~IConnection() = default;

    // Gives back one use; may delete this object.
    virtual void Release() = 0;

    // Runs `sql` and leaves the open result in `recordset`, replacing what was
    // there. False, with the failure shown, when there is no database, `sql` is
    // empty or the statement fails.
    virtual bool OpenRecordset(const std::wstring& sql,
                               std::unique_ptr<CODBCRecordset>& recordset) = 0;

    // Runs the statements in order with a query time-out of 600 seconds; stops
    // at the first failure (shown) and returns false. No transaction is opened.
    virtual bool ExecuteBatch(const std::vector<std::wstring>& statements) = 0;

    // Runs one statement; false (shown) on failure or without an open database.
    virtual bool Execute(const std::wstring& sql) = 0;

    // The open database, or null.
    virtual CDatabase* Database() = 0;
};

}  // namespace kroDB
