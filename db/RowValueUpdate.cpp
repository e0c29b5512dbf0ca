#include "db/RowValueUpdate.h"

#include "db/IConnection.h"

namespace kroDB {

std::wstring RowValueUpdate(const std::wstring& table,
                            const std::vector<std::wstring>& columns,
                            const std::vector<std::wstring>& values,
                            const std::wstring& where)
{
    if (columns.empty() || columns.size() != values.size()) {
        return std::wstring();
    }
    if (columns.size() == 1) {
        return L"update " + table + L" set " + columns[0] + L" = " + values[0] + L" where " + where;
    }
    std::wstring cols;
    std::wstring vals;
    for (size_t i = 0; i < columns.size(); ++i) {
        if (i) {
            cols += L',';
            vals += L',';
        }
        cols += columns[i];
        vals += values[i];
    }
    return L"update " + table + L" set (" + cols + L") = (" + vals + L") where " + where;
}

std::wstring RowInsertText(const std::wstring& table, const RowValues& values)
{
    if (values.empty()) {
        return std::wstring();
    }
    std::wstring cols;
    std::wstring vals;
    for (const auto& [column, value] : values) {
        if (!cols.empty()) {
            cols += L',';
            vals += L',';
        }
        cols += column;
        vals += value;
    }
    return L"insert into " + table + L" (" + cols + L") values(" + vals + L");";
}

}  // namespace kroDB
