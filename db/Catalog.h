// Catalogue questions about the program's database, asked on the main
// connection (opened when needed).
#pragma once

#include <set>
#include <string>

namespace kroDB {

class CDbContext;

// True when the catalogue lists a table of that name.
bool TableExists(CDbContext& context, const std::wstring& tableName);

// True when the table has a column named exactly `columnName`.
bool ColumnExists(CDbContext& context,
                  const std::wstring& tableName,
                  const std::wstring& columnName);

// The column names of a table, as the catalogue lists them; empty when the
// table or the database is missing.
std::set<std::wstring> ColumnNames(CDbContext& context, const std::wstring& tableName);

}  // namespace kroDB
