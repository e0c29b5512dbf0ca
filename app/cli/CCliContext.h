// Everything one run of veltrix-cli has: the streams, the user's profile, the
// platform services of the command-line program and the application core,
// which owns the program folder, the log and debug trace files, the stat
// definitions and the database context. Output lines go to standard output,
// user messages to standard error and the log.
#pragma once

#include "app/core/CApplicationCore.h"
#include "foundation/IUserNotifier.h"
#include "platform/CTaskQueue.h"
#include "platform/IMessageChannel.h"
#include "platform/IWindowFinder.h"
#include "platform/linux/CProcProcessList.h"
#include "platform/linux/CSpawnLauncher.h"

#include <iosfwd>
#include <memory>
#include <string>

class IProfile;

// Standard error plus a log line, as the command-line stand-in for message
// boxes.
class CStderrNotifier : public IUserNotifier
{
public:
    explicit CStderrNotifier(std::wostream& err)
        : m_err(err)
    {}
    void Notify(const std::wstring& text) override;
    // Where the messages are logged from now on; may be null.
    void SetLog(ILogSink* log) { m_log = log; }

private:
    std::wostream& m_err;
    ILogSink* m_log = nullptr;
};

class CCliContext
{
public:
    // Requires: the streams and `profile` outlive the context.
    CCliContext(std::wostream& out, std::wostream& err, IProfile& profile);
    ~CCliContext();

    // Makes the application core and runs its start steps (stat definitions,
    // debug trace file, ODBC environment, stat names, HUD layouts).
    // `programFolder` empty means: resolve it from the executable's place.
    // `live`: the rooms are configured and the platform services given, for
    // live tracking.
    bool Start(const std::string& programFolder = std::string(), bool live = false);

    CApplicationCore& Core() { return *m_core; }
    const std::string& ProgramFolder() const { return m_core->ProgramFolder(); }
    std::wostream& Out() { return m_out; }
    std::wostream& Err() { return m_err; }
    IProfile& Profile() { return m_profile; }
    CAppLogSink& Log() { return m_core->Log(); }
    IUserNotifier& Notifier() { return m_notifier; }
    CStatDefinitions& Definitions() { return m_core->Definitions(); }
    kroDB::CDbContext& Db() { return m_core->Db(); }
    CTaskQueue& Loop() { return m_loop; }

    // A result line: standard output, and the log.
    void Result(const std::wstring& text);

private:
    std::wostream& m_out;
    std::wostream& m_err;
    IProfile& m_profile;
    CStderrNotifier m_notifier{m_err};
    // The platform of the command-line program.
    CTaskQueue m_loop;
    CProcProcessList m_processes;
    CSpawnLauncher m_launcher;
    std::unique_ptr<IMessageChannel> m_channel;
    std::unique_ptr<IWindowFinder> m_windows;
    // Last: it uses everything above.
    std::unique_ptr<CApplicationCore> m_core;
};
