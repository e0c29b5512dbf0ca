// One column value of the current row of a recordset, kept as text. A NULL reads
// as 0, false or empty text.
#pragma once

#include "companion/OstrandExport.h"

#include <cstdint>
#include <optional>
#include <string>

class VX_COMPANION_EXPORT CDBField
{
public:
    CDBField() = default;
    explicit CDBField(std::optional<std::wstring> value)
        : m_value(std::move(value))
    {}

    bool IsNull() const { return !m_value.has_value(); }
    int32_t AsInt() const;
    int64_t AsLong() const;
    uint64_t AsUnsignedLong() const;
    std::wstring AsString() const { return m_value.value_or(std::wstring()); }
    wchar_t AsChar() const;
    bool AsBool() const;
    double AsDouble() const;

private:
    std::optional<std::wstring> m_value;
};
