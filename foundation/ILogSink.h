// Where the core sends its lines: the log file, the output pane (Debug tab) and
// the debug trace file. Implemented by the application; every method must be
// safe to call from the main thread and the folder-import worker.
#pragma once

#include <string>

class ILogSink
{
public:
    virtual ~ILogSink() = default;
    // One time-stamped line of the log file; dropped when the log is not open.
    virtual void Log(const std::wstring& text) = 0;
    // One line of the output pane; dropped when there is no pane.
    virtual void Output(const std::wstring& text) = 0;
    // One line of the debug trace file; dropped when it is not open.
    virtual void Trace(const std::wstring& text) = 0;
    // Whether diagnostic lines of the debug switch are wanted.
    virtual bool DebugEnabled() const { return false; }
};

// A sink that drops everything, for code run without an application.
class CNullLogSink : public ILogSink
{
public:
    void Log(const std::wstring&) override {}
    void Output(const std::wstring&) override {}
    void Trace(const std::wstring&) override {}
};
