#include "app/core/CAppLogSink.h"

#include "app/core/CLogFile.h"

CAppLogSink::CAppLogSink(CLogFile* log, CLogFile* trace)
    : m_log(log)
    , m_trace(trace)
{}

void CAppLogSink::Log(const std::wstring& text)
{
    if (m_log != nullptr) {
        m_log->WriteLine(text);
    }
}

void CAppLogSink::Output(const std::wstring& text)
{
    OutputFn output;
    {
        std::scoped_lock lock(m_mutex);
        output = m_output;
    }
    if (output) {
        output(text);
    }
}

void CAppLogSink::Trace(const std::wstring& text)
{
    if (m_trace != nullptr) {
        m_trace->WriteLine(text);
    }
}

void CAppLogSink::SetOutput(OutputFn output)
{
    std::scoped_lock lock(m_mutex);
    m_output = std::move(output);
}
