// The per-user application profile: sections of integer and string values.
// Implementations decide where it is kept; a missing key gives the default.
#pragma once

#include <string>

class IProfile
{
public:
    virtual ~IProfile() = default;
    virtual int GetProfileInt(const std::wstring& section,
                              const std::wstring& key,
                              int defaultValue) = 0;
    virtual std::wstring GetProfileString(const std::wstring& section,
                                          const std::wstring& key,
                                          const std::wstring& defaultValue) = 0;
    virtual bool WriteProfileInt(const std::wstring& section,
                                 const std::wstring& key,
                                 int value) = 0;
    virtual bool WriteProfileString(const std::wstring& section,
                                    const std::wstring& key,
                                    const std::wstring& value) = 0;
};
