#include "db/RowValueUpdate.h"

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

}  // namespace kroDB
