#include "foundation/CMemoryProfile.h"

int CMemoryProfile::GetProfileInt(const std::wstring& section,
                                  const std::wstring& key,
                                  int defaultValue)
{
    const auto it = m_values.find({section, key});
    if (it == m_values.end()) {
        return defaultValue;
    }
    if (const int* v = std::get_if<int>(&it->second)) {
        return *v;
    }
    return defaultValue;
}

std::wstring CMemoryProfile::GetProfileString(const std::wstring& section,
                                              const std::wstring& key,
                                              const std::wstring& defaultValue)
{
    const auto it = m_values.find({section, key});
    if (it == m_values.end()) {
        return defaultValue;
    }
    if (const std::wstring* v = std::get_if<std::wstring>(&it->second)) {
        return *v;
    }
    return std::to_wstring(std::get<int>(it->second));
}

bool CMemoryProfile::WriteProfileInt(const std::wstring& section,
                                     const std::wstring& key,
                                     int value)
{
    m_values[{section, key}] = value;
    return true;
}

bool CMemoryProfile::WriteProfileString(const std::wstring& section,
                                        const std::wstring& key,
                                        const std::wstring& value)
{
    m_values[{section, key}] = value;
    return true;
}
