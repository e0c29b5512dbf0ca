#include "companion/CDBField.h"

#include <cwchar>

int32_t CDBField::AsInt() const
{
    return static_cast<int32_t>(AsLong());
}

int64_t CDBField::AsLong() const
{
    if (!m_value || m_value->empty()) {
        return 0;
    }
    const wchar_t* text = m_value->c_str();
    wchar_t* end = nullptr;
    const long long v = std::wcstoll(text, &end, 10);
    if (end != text && *end == L'.') {
        // A numeric column may arrive as "12.0".
        return static_cast<int64_t>(std::wcstod(text, nullptr));
    }
    return v;
}

uint64_t CDBField::AsUnsignedLong() const
{
    if (!m_value || m_value->empty()) {
        return 0;
    }
    if ((*m_value)[0] == L'-') {
        return static_cast<uint64_t>(std::wcstoll(m_value->c_str(), nullptr, 10));
    }
    return std::wcstoull(m_value->c_str(), nullptr, 10);
}

wchar_t CDBField::AsChar() const
{
    return m_value && !m_value->empty() ? (*m_value)[0] : L'\0';
}

bool CDBField::AsBool() const
{
    if (!m_value || m_value->empty()) {
        return false;
    }
    const wchar_t c = (*m_value)[0];
    return c == L'1' || c == L't' || c == L'T' || c == L'y' || c == L'Y';
}

double CDBField::AsDouble() const
{
    if (!m_value || m_value->empty()) {
        return 0;
    }
    return std::wcstod(m_value->c_str(), nullptr);
}
