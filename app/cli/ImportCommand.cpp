#include "app/cli/ImportCommand.h"

#include "app/cli/CCliContext.h"
#include "app/cli/CCommandLine.h"
#include "app/cli/DbOptions.h"
#include "app/core/CApplicationCore.h"
#include "app/core/CManualImport.h"
#include "foundation/IProfile.h"
#include "foundation/WideText.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <ostream>
#include <thread>
#include <unistd.h>

namespace {

std::atomic<bool> g_interrupted{false};

extern "C" void OnInterrupt(int)
{
    g_interrupted = true;
}

void DrawProgress(const CManualImportProgress& p)
{
    if (::isatty(STDERR_FILENO) == 0 || p.fileCount < 2) {
        return;
    }
    const int width = 30;
    const int filled = width * p.fileNumber / p.fileCount;
    std::fprintf(stderr, "\r[%s%s] %d/%d files, %lld hands, %.0f hands/s",
                 std::string(static_cast<size_t>(filled), '#').c_str(),
                 std::string(static_cast<size_t>(width - filled), ' ').c_str(), p.fileNumber,
                 p.fileCount, static_cast<long long>(p.handsSoFar), p.handsPerSecond);
    std::fflush(stderr);
}

// A whole number of seconds, 0 or more.
bool ReadSeconds(const std::string& text, int& seconds)
{
    if (text.empty() || text.size() > 7 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    seconds = std::stoi(text);
    return true;
}

}  // namespace

std::wstring ImportCommandHelp()
{
    return L"usage: veltrix-cli import [--room NAME] [--hh-format 0|1|2|3] [--nick NICK] "
           L"[--wait SECONDS] [db options] PATH...\n"
           L"  PATH           a hand-history file (.txt, or .dat) or a folder, walked with its\n"
           L"                 sub-folders for the room's hand-history files\n"
           L"  --room NAME    the room as the room lists show it (\"PokerStars\", \"GGPoker\",\n"
           L"                 \"888Poker\", ...); without it each file's room is recognised from\n"
           L"                 its first lines\n"
           L"  --hh-format N  how hand texts are stored: 0 not at all, 1 as text, 2 as UTF-8\n"
           L"                 hex, 3 zipped (default: the profile's Base/HH)\n"
           L"  --nick NICK    the hero's nick; club hands that reveal the hero attach the\n"
           L"                 account to the alias of that name\n"
           L"  --wait SECONDS how long to wait for a database server that went away before\n"
           L"                 giving up (default 120); the import then goes on where it was\n"
           L"Cash-game hands of every room are read; tournament hands and play-money hands\n"
           L"are left out. Each hand is stored whole or not at all, and never twice, also\n"
           L"while other imports or live tracking store into the same database. Exit code:\n"
           L"0 when every hand was stored, found stored already or left out on purpose,\n"
           L"1 when a hand failed or a file was not imported, 2 for a usage error.\n" +
           DbOptionsHelp();
}

int RunImportCommand(const CCommandLine& line, CCliContext& context)
{
    if (line.Has("help")) {
        context.Out() << ImportCommandHelp();
        return 0;
    }
    if (line.positional.size() < 2) {
        context.Err() << ImportCommandHelp();
        return 2;
    }
    int waitSeconds = kDefaultImportWaitSeconds;
    if (line.HasOption("wait") && !ReadSeconds(line.Option("wait"), waitSeconds)) {
        context.Err() << L"--wait takes a whole number of seconds\n" << ImportCommandHelp();
        return 2;
    }
    if (line.HasOption("hh-format")) {
        const std::string format = line.Option("hh-format");
        if (format.size() != 1 || format[0] < '0' || format[0] > '3') {
            context.Err() << L"--hh-format takes 0, 1, 2 or 3\n" << ImportCommandHelp();
            return 2;
        }
    }
    const CDatabaseSettings settings = DatabaseSettingsFromLine(line, context.Profile());
    if (!settings.Complete()) {
        context.Notifier().Notify(L"Please fill all the required fields!");
        return 2;
    }
    // The same connect string and parse settings as every import of the
    // program.
    CManualImportOptions options = context.Core().ImportOptions(
        settings, line.HasOption("hh-format") ? std::atoi(line.Option("hh-format").c_str()) : -1);
    options.waitSeconds = waitSeconds;
    options.paths.assign(line.positional.begin() + 1, line.positional.end());
    options.room = FromUtf8(line.Option("room"));
    options.nick = FromUtf8(line.Option("nick"));

    // The import runs on a thread of its own, as in the desktop program; this
    // one turns Ctrl+C into a stop between hands.
    CApplicationCore& core = context.Core();
    CManualImportResult result;
    bool progressShown = false;
    g_interrupted = false;
    const auto previousInt = std::signal(SIGINT, OnInterrupt);
    const auto previousTerm = std::signal(SIGTERM, OnInterrupt);
    {
        std::mutex doneMutex;
        std::condition_variable doneChanged;
        bool done = false;
        std::jthread worker([&](std::stop_token stop) {
            result = core.ImportFiles(
                options,
                [&progressShown](const CManualImportProgress& p) {
                    progressShown = progressShown || p.fileCount >= 2;
                    DrawProgress(p);
                },
                stop);
            {
                std::scoped_lock lock(doneMutex);
                done = true;
            }
            doneChanged.notify_all();
        });
        // Woken at the end at once; the signal flag is looked at in between.
        std::unique_lock lock(doneMutex);
        while (!done) {
            if (g_interrupted) {
                worker.request_stop();
            }
            doneChanged.wait_for(lock, std::chrono::milliseconds(50));
        }
    }
    std::signal(SIGINT, previousInt);
    std::signal(SIGTERM, previousTerm);
    if (progressShown && ::isatty(STDERR_FILENO) != 0) {
        std::fputc('\n', stderr);
    }
    return result.ExitCode();
}
