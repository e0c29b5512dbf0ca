// A main window as the tests drive it: a profile in memory, dialogs that the
// test answers, the real stat definitions, a log that records its lines and
// sends output lines to the window's pane, a database context and the manual
// import. Optionally an application core over a temporary program folder.
#pragma once

#include "app/CMainFrame.h"
#include "app/CMainFrameContext.h"
#include "app/CParserManualImport.h"
#include "app/CProgramSwitches.h"
#include "app/tests/CScriptedDialogs.h"
#include "db/CDbContext.h"
#include "foundation/CMemoryProfile.h"
#include "foundation/CStatDefinitions.h"
#include "foundation/ILogSink.h"
#include "foundation/IUserNotifier.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class CRecordingLog : public ILogSink
{
public:
    void Log(const std::wstring& text) override
    {
        std::scoped_lock lock(m_mutex);
        logLines.push_back(text);
    }
    void Output(const std::wstring& text) override
    {
        std::function<void(const std::wstring&)> output;
        {
            std::scoped_lock lock(m_mutex);
            outputLines.push_back(text);
            output = m_output;
        }
        if (output) {
            output(text);
        }
    }
    void Trace(const std::wstring&) override {}
    void SetOutput(std::function<void(const std::wstring&)> output)
    {
        std::scoped_lock lock(m_mutex);
        m_output = std::move(output);
    }
    std::vector<std::wstring> LogLines()
    {
        std::scoped_lock lock(m_mutex);
        return logLines;
    }
    std::vector<std::wstring> OutputLines()
    {
        std::scoped_lock lock(m_mutex);
        return outputLines;
    }

private:
    std::mutex m_mutex;
    std::vector<std::wstring> logLines;
    std::vector<std::wstring> outputLines;
    std::function<void(const std::wstring&)> m_output;
};

class CRecordingNotifier : public IUserNotifier
{
public:
    void Notify(const std::wstring& text) override
    {
        std::scoped_lock lock(m_mutex);
        texts.push_back(text);
    }
    std::vector<std::wstring> Texts()
    {
        std::scoped_lock lock(m_mutex);
        return texts;
    }

private:
    std::mutex m_mutex;
    std::vector<std::wstring> texts;
};

class CFrameHarness
{
public:
    // Builds and creates the frame; `prepare` may change the context first.
    explicit CFrameHarness(const std::function<void(CMainFrameContext&)>& prepare = {});
    ~CFrameHarness();

    CMainFrame& Frame() { return *m_frame; }
    CMemoryProfile profile;
    CScriptedDialogs dialogs;
    CProgramSwitches switches;
    CStatDefinitions definitions;
    CRecordingLog log;
    CRecordingNotifier notifier;
    std::unique_ptr<kroDB::CDbContext> db;
    std::unique_ptr<CParserManualImport> import;
    std::unique_ptr<CMainFrameContext> context;

private:
    std::unique_ptr<CMainFrame> m_frame;
};

// Runs the event loop until `done` holds or `ms` pass; true when it held.
bool WaitFor(const std::function<bool()>& done, int ms = 20000);

// The texts of a list of wide lines, for comparisons.
QStringList ToStrings(const std::vector<std::wstring>& lines);
