#include "foundation/CIniFile.h"

#include "foundation/TextDecoding.h"
#include "foundation/WideText.h"

#include <cwchar>
#include <fstream>
#include <iterator>

CIniFile::CIniFile(std::string path)
    : m_path(std::move(path))
{
    std::ifstream in(m_path, std::ios::binary);
    if (!in) {
        return;
    }
    m_exists = true;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const TextEncoding enc = DetectTextEncoding(bytes);
    const std::wstring text =
        DecodeText(std::string_view(bytes).substr(ByteOrderMarkSize(enc)), enc);

    std::map<std::wstring, std::wstring>* current = nullptr;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of(L"\r\n", pos);
        if (end == std::wstring::npos) {
            end = text.size();
        }
        const std::wstring line = Trim(std::wstring_view(text).substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line[0] == L';') {
            continue;
        }
        if (line[0] == L'[') {
            const size_t close = line.find(L']');
            const std::wstring name =
                Trim(line.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1));
            current = &m_sections[ToLowerAscii(name)];
            continue;
        }
        const size_t eq = line.find(L'=');
        if (current == nullptr || eq == std::wstring::npos) {
            continue;
        }
        const std::wstring key = ToLowerAscii(Trim(line.substr(0, eq)));
        std::wstring value = Trim(line.substr(eq + 1));
        if (value.size() >= 2 && ((value.front() == L'"' && value.back() == L'"') ||
                                  (value.front() == L'\'' && value.back() == L'\''))) {
            value = value.substr(1, value.size() - 2);
        }
        current->emplace(key, value);
    }
}

std::wstring CIniFile::GetString(const std::wstring& section,
                                 const std::wstring& key,
                                 const std::wstring& defaultValue) const
{
    const auto s = m_sections.find(ToLowerAscii(section));
    if (s == m_sections.end()) {
        return defaultValue;
    }
    const auto k = s->second.find(ToLowerAscii(key));
    if (k == s->second.end() || k->second.empty()) {
        return defaultValue;
    }
    return k->second;
}

uint32_t CIniFile::GetUnsigned(const std::wstring& section,
                               const std::wstring& key,
                               uint32_t defaultValue) const
{
    const std::wstring text = GetString(section, key, L"");
    if (text.empty()) {
        return defaultValue;
    }
    const std::wstring head = text.substr(0, 64);
    return static_cast<uint32_t>(std::wcstoul(head.c_str(), nullptr, 10));
}
