#include "db/kroTable.h"

#include "companion/CODBCRecordset.h"
#include "db/CDbContext.h"
#include "db/Catalog.h"
#include "db/IConnection.h"
#include "db/SqlText.h"
#include "foundation/CStatDefinitions.h"
#include "foundation/WideText.h"

namespace kroDB {

bool kroTable::Create()
{
    CConnectionLease connection(m_context.AcquireConnection(true));
    if (!connection || !connection->IsOpen()) {
        return true;
    }
    bool ok = true;
    if (!TableExists(m_context, TableName())) {
        ok = connection->Execute(CreateText());
        if (ok) {
            FillDefaults();
        }
    }
    UpgradeColumns();
    return ok;
}

void kroTable::AddStatColumnStatements(const std::wstring& section,
                                       std::set<std::wstring>& existing,
                                       bool asCounts,
                                       std::vector<std::wstring>& statements) const
{
    std::vector<CStatDefinition> entries;
    m_context.Definitions().ReadStatSection(section, entries);
    const std::wstring table = TableName();
    for (const auto& entry : entries) {
        if (entry.name.empty()) {
            continue;
        }
        std::wstring column = entry.name;
        if (asCounts) {
            if (column.find(L"val_") != std::wstring::npos) {
                continue;
            }
            column = ReplaceAll(column, L"flag_", L"count_");
        }
        // Columns are compared as the catalogue lists them (lower case), and a
        // name given twice is added once, so that the batch cannot fail on it.
        const std::wstring key = ToLowerAscii(column);
        if (!IsPlainColumnName(column) || existing.count(key) != 0) {
            continue;
        }
        existing.insert(key);
        if (asCounts) {
            statements.push_back(
                FormatW(L"ALTER TABLE %ls ADD COLUMN %ls integer;", table.c_str(), column.c_str()));
        } else {
            const wchar_t* def = entry.type == L"boolean" ? L"false" : L"0";
            std::wstring type = entry.type.empty() ? L"integer" : entry.type;
            if (!IsPlainTypeName(type)) {
                continue;
            }
            statements.push_back(FormatW(L"ALTER TABLE %ls ADD COLUMN %ls %ls DEFAULT %ls;",
                                         table.c_str(), column.c_str(), type.c_str(), def));
        }
    }
}

bool kroTable::UpgradeFromSections(const std::vector<std::pair<std::wstring, bool>>& passes)
{
    std::set<std::wstring> existing = ColumnNames(m_context, TableName());
    std::vector<std::wstring> statements;
    for (const auto& [section, asCounts] : passes) {
        AddStatColumnStatements(section, existing, asCounts, statements);
    }
    if (statements.empty()) {
        return false;
    }
    CConnectionLease connection(m_context.AcquireConnection(true));
    return connection && connection->ExecuteBatch(statements);
}

namespace {

bool HasRow(CDbContext& context, const std::wstring& sql, bool aside)
{
    CConnectionLease connection(context.AcquireConnection(true));
    if (!connection) {
        return false;
    }
    std::unique_ptr<CODBCRecordset> rs;
    const bool opened =
        aside ? connection->OpenRecordsetAside(sql, rs) : connection->OpenRecordset(sql, rs);
    return opened && !rs->IsEOF();
}

}  // namespace

bool QueryHasRow(CDbContext& context, const std::wstring& sql)
{
    return HasRow(context, sql, false);
}

bool QueryHasRowAside(CDbContext& context, const std::wstring& sql)
{
    return HasRow(context, sql, true);
}

}  // namespace kroDB
