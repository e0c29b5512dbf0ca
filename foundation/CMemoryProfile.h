// An application profile kept in memory, for tests and for runs without a store.
// Not thread-safe.
#pragma once

#include "foundation/IProfile.h"

#include <map>
#include <string>
#include <utility>
#include <variant>

class CMemoryProfile : public IProfile
{
public:
    int GetProfileInt(const std::wstring& section,
                      const std::wstring& key,
                      int defaultValue) override;
    std::wstring GetProfileString(const std::wstring& section,
                                  const std::wstring& key,
                                  const std::wstring& defaultValue) override;
    bool WriteProfileInt(const std::wstring& section, const std::wstring& key, int value) override;
    bool WriteProfileString(const std::wstring& section,
                            const std::wstring& key,
                            const std::wstring& value) override;

private:
    std::map<std::pair<std::wstring, std::wstring>, std::variant<int, std::wstring>> m_values;
};
