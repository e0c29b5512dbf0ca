// The "update <table> set (a,b) = (1,2) where ..." statement of several column
// updates. With a single column the server wants "set a = 1", so that form is
// written then.
#pragma once

#include <string>
#include <vector>

namespace kroDB {

// Empty when there is no column.
std::wstring RowValueUpdate(const std::wstring& table,
                            const std::vector<std::wstring>& columns,
                            const std::vector<std::wstring>& values,
                            const std::wstring& where);

}  // namespace kroDB
