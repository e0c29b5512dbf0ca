// The application's log sink: log lines to the log file, trace lines to the
// debug trace file and output lines to a callback (the output pane, or the
// terminal of the command-line program). Thread-safe as its parts are.
#pragma once

#include "foundation/ILogSink.h"

#include <functional>
#include <mutex>
#include <string>

class CLogFile;

class CAppLogSink : public ILogSink
{
public:
    using OutputFn = std::function<void(const std::wstring&)>;

    // Requires: the files outlive this sink; either may be null.
    CAppLogSink(CLogFile* log, CLogFile* trace);

    void Log(const std::wstring& text) override;
    void Output(const std::wstring& text) override;
    void Trace(const std::wstring& text) override;
    bool DebugEnabled() const override { return m_debug; }

    void SetDebug(bool on) { m_debug = on; }
    // Where output lines go; without one they are dropped.
    void SetOutput(OutputFn output);

private:
    CLogFile* m_log;
    CLogFile* m_trace;
    bool m_debug = false;
    // Guards m_output.
    std::mutex m_mutex;
    OutputFn m_output;
};
