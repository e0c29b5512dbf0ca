#include "app/core/CLogFile.h"

#include "companion/FileServices.h"
#include "foundation/WideText.h"

#include <ctime>
#include <cwchar>

CLogFile::CLogFile(bool timeStamped)
    : m_timeStamped(timeStamped)
{}

CLogFile::~CLogFile()
{
    Close();
}

bool CLogFile::Open(const std::string& path)
{
    std::scoped_lock lock(m_mutex);
    if (m_file != nullptr) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    m_path = path;
    (void)TrimLogFile(path, 80000, 200000);
    m_file = std::fopen(path.c_str(), "ab");
    return m_file != nullptr;
}

void CLogFile::Close()
{
    std::scoped_lock lock(m_mutex);
    if (m_file != nullptr) {
        std::fclose(m_file);
        m_file = nullptr;
    }
}

bool CLogFile::IsOpen() const
{
    std::scoped_lock lock(m_mutex);
    return m_file != nullptr;
}

std::wstring CLogFile::TimeStamp(std::time_t t)
{
    std::tm local{};
    if (localtime_r(&t, &local) == nullptr) {
        return std::wstring();
    }
    wchar_t buffer[64];
    const size_t n = std::wcsftime(buffer, std::size(buffer), L"%d.%m.%Y  %H:%M:%S  ", &local);
    return std::wstring(buffer, n);
}

void CLogFile::WriteLine(const std::wstring& text)
{
    std::wstring line;
    if (m_timeStamped) {
        line = TimeStamp(std::time(nullptr));
    }
    line += text;
    line += L'\n';
    WriteRaw(line);
}

void CLogFile::WriteRaw(const std::wstring& text)
{
    const std::string bytes = ToUtf8(text);
    std::scoped_lock lock(m_mutex);
    if (m_file == nullptr) {
        return;
    }
    std::fwrite(bytes.data(), 1, bytes.size(), m_file);
    std::fflush(m_file);
}
