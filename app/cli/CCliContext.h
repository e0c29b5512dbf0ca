// Everything one run of veltrix-cli owns: the program folder, the log and debug
// trace files, the stat definitions, the profile and the database context.
// Output lines go to standard output, user messages to standard error and the
// log.
#pragma once

#include "app/core/CAppLogSink.h"
#include "app/core/CLogFile.h"
#include "db/CDbContext.h"
#include "foundation/CStatDefinitions.h"
#include "foundation/IUserNotifier.h"

#include <iosfwd>
#include <memory>
#include <string>

class IProfile;

// Standard error plus a log line, as the command-line stand-in for message
// boxes.
class CStderrNotifier : public IUserNotifier
{
public:
    CStderrNotifier(std::wostream& err, ILogSink& log)
        : m_err(err)
        , m_log(log)
    {}
    void Notify(const std::wstring& text) override;

private:
    std::wostream& m_err;
    ILogSink& m_log;
};

class CCliContext
{
public:
    // Requires: the streams and `profile` outlive the context.
    CCliContext(std::wostream& out, std::wostream& err, IProfile& profile);
    ~CCliContext();

    // Opens the log, loads predeftypes.json and allocates the ODBC environment.
    // `programFolder` empty means: resolve it from the executable's place.
    bool Start(const std::string& programFolder = std::string());

    const std::string& ProgramFolder() const { return m_programFolder; }
    std::wostream& Out() { return m_out; }
    std::wostream& Err() { return m_err; }
    IProfile& Profile() { return m_profile; }
    CAppLogSink& Log() { return m_sink; }
    IUserNotifier& Notifier() { return m_notifier; }
    CStatDefinitions& Definitions() { return m_definitions; }
    kroDB::CDbContext& Db() { return *m_db; }

    // A result line: standard output, and the log.
    void Result(const std::wstring& text);

private:
    std::wostream& m_out;
    std::wostream& m_err;
    IProfile& m_profile;
    std::string m_programFolder;
    CLogFile m_logFile{true};
    CLogFile m_traceFile{false};
    CAppLogSink m_sink{&m_logFile, &m_traceFile};
    CStderrNotifier m_notifier{m_err, m_sink};
    CStatDefinitions m_definitions;
    std::unique_ptr<kroDB::CDbContext> m_db;
};
