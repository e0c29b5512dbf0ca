#include "db/Catalog.h"

#include "companion/CODBCRecordset.h"
#include "db/CDbContext.h"
#include "db/IConnection.h"

namespace kroDB {

bool TableExists(CDbContext& context, const std::wstring& tableName)
{
    auto lock = context.LockConnection();
    CConnectionLease main(context.AcquireConnection(true));
    if (!main || main->Database() == nullptr) {
        return false;
    }
    CODBCRecordset rs(*main->Database());
    if (!rs.OpenTables(tableName).IsOk()) {
        return false;
    }
    // The name is a search pattern ("_" matches any letter): compare exactly.
    for (; !rs.IsEOF(); rs.MoveNext()) {
        if (rs.Field(2).AsString() == tableName) {
            return true;
        }
    }
    return false;
}

std::set<std::wstring> ColumnNames(CDbContext& context, const std::wstring& tableName)
{
    std::set<std::wstring> names;
    auto lock = context.LockConnection();
    CConnectionLease main(context.AcquireConnection(true));
    if (!main || main->Database() == nullptr) {
        return names;
    }
    CODBCRecordset rs(*main->Database());
    if (!rs.OpenColumns(tableName).IsOk()) {
        return names;
    }
    for (; !rs.IsEOF(); rs.MoveNext()) {
        if (rs.Field(2).AsString() == tableName) {
            names.insert(rs.Field(3).AsString());
        }
    }
    return names;
}

bool ColumnExists(CDbContext& context,
                  const std::wstring& tableName,
                  const std::wstring& columnName)
{
    return ColumnNames(context, tableName).count(columnName) != 0;
}

}  // namespace kroDB
