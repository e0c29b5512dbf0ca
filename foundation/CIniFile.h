// Reader of a Windows-style initialisation file ("[Section]" lines and
// "Key=Value" lines), with the rules of the system's profile-string reader:
// section and key names compare without regard to case, values are trimmed and
// lose one pair of surrounding quotes, and an empty value gives the default.
// The file is read once when the object is made. Thread-compatible.
#pragma once

#include <cstdint>
#include <map>
#include <string>

class CIniFile
{
public:
    // Reads `path` (UTF-8 with or without mark, or UTF-16 with mark). A missing
    // or unreadable file behaves as an empty one; Exists() tells which.
    explicit CIniFile(std::string path);

    const std::string& Path() const { return m_path; }
    bool Exists() const { return m_exists; }

    // The value, or `defaultValue` when the key is missing or its value empty.
    std::wstring GetString(const std::wstring& section,
                           const std::wstring& key,
                           const std::wstring& defaultValue) const;

    // The value's first 64 characters converted base 10 without sign (text that
    // is no number gives 0); `defaultValue` when the value is empty or missing.
    uint32_t GetUnsigned(const std::wstring& section,
                         const std::wstring& key,
                         uint32_t defaultValue) const;

private:
    std::string m_path;
    bool m_exists = false;
    // lower-cased section -> lower-cased key -> value; the first occurrence wins.
    std::map<std::wstring, std::map<std::wstring, std::wstring>> m_sections;
};
