#include "db/Catalog.h"

#include "companion/CODBCRecordset.h"
#include "db/CDbContext.h"
#include "db/IConnection.h"
#include "db/SqlText.h"

namespace kroDB {

namespace {

// The tables (and views) the driver's catalogue functions list: those of
// every schema but the server's own. Asked with a plain query, which costs
// the server a fraction of what those functions ask of it.
const wchar_t* const kUserRelations =
    L"FROM pg_catalog.pg_class c JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace "
    L"WHERE c.relkind IN ('r', 'p', 'v', 'm', 'f') AND n.nspname <> 'pg_catalog' AND "
    L"n.nspname <> 'information_schema' AND n.nspname NOT LIKE 'pg\\_toast%' AND c.relname = ";

// The first column of every row of `sql`, asked on the main connection as
// the catalogue functions were: beside any unit, not within it.
std::set<std::wstring> FirstColumn(CDbContext& context, const std::wstring& sql)
{
    std::set<std::wstring> values;
    auto lock = context.LockConnection();
    CConnectionLease main(context.AcquireConnection(true));
    if (!main || main->Database() == nullptr) {
        return values;
    }
    CODBCRecordset rs(*main->Database());
    if (!rs.Open(sql).IsOk()) {
        return values;
    }
    for (; !rs.IsEOF(); rs.MoveNext()) {
        values.insert(rs.Field(size_t{0}).AsString());
    }
    return values;
}

}  // namespace

bool TableExists(CDbContext& context, const std::wstring& tableName)
{
    return !FirstColumn(context, L"SELECT c.relname " + std::wstring(kUserRelations) + L"'" +
                                     SqlEscape(tableName) + L"'")
                .empty();
}

std::set<std::wstring> ColumnNames(CDbContext& context, const std::wstring& tableName)
{
    return FirstColumn(context,
                       L"SELECT a.attname FROM pg_catalog.pg_attribute a WHERE a.attnum > 0 AND "
                       L"NOT a.attisdropped AND a.attrelid IN (SELECT c.oid " +
                           std::wstring(kUserRelations) + L"'" + SqlEscape(tableName) + L"')");
}

bool ColumnExists(CDbContext& context,
                  const std::wstring& tableName,
                  const std::wstring& columnName)
{
    return ColumnNames(context, tableName).count(columnName) != 0;
}

}  // namespace kroDB
