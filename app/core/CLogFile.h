// The log file and the debug trace file. Lines are written whole even when the
// main thread and the folder-import worker write at the same moment; every line
// is flushed at once so that the file is complete if the program stops.
#pragma once

#include <cstdio>
#include <mutex>
#include <string>

class CLogFile
{
public:
    // `timeStamped`: log lines start with "dd.mm.yyyy  hh:mm:ss  "; the debug
    // trace file has none.
    explicit CLogFile(bool timeStamped);
    ~CLogFile();
    CLogFile(const CLogFile&) = delete;
    CLogFile& operator=(const CLogFile&) = delete;

    // Trims an existing file (keeps it below 200000 bytes, 80000 after a trim)
    // and opens it for appending; false when it cannot be opened, after which
    // every write does nothing.
    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const;
    const std::string& Path() const { return m_path; }

    // One line: the time stamp (log only), the text unchanged, "\n"; UTF-8.
    void WriteLine(const std::wstring& text);
    // Text without time stamp or line end (the run header and the footer).
    void WriteRaw(const std::wstring& text);

    // The time stamp of `t` in local time, "%d.%m.%Y  %H:%M:%S  ".
    static std::wstring TimeStamp(std::time_t t);

private:
    const bool m_timeStamped;
    std::string m_path;
    // Guards m_file and keeps each line whole.
    mutable std::mutex m_mutex;
    std::FILE* m_file = nullptr;
};
