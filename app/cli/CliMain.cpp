#include "app/cli/CliMain.h"

#include "app/cli/CCliContext.h"
#include "app/cli/CCommandLine.h"
#include "app/cli/DbCommand.h"
#include "app/cli/DbOptions.h"
#include "app/cli/EquityCommand.h"
#include "app/cli/HudCommand.h"
#include "app/cli/ImportCommand.h"
#include "app/cli/LiveCommand.h"
#include "foundation/WideText.h"

#include <functional>
#include <map>
#include <ostream>

namespace {

struct CCommand
{
    std::function<std::wstring()> help;
    std::function<int(const CCommandLine&, CCliContext&)> run;
};

const std::map<std::string, CCommand>& Commands()
{
    static const std::map<std::string, CCommand> commands = {
        {"db", {DbCommandHelp, RunDbCommand}},
        {"hud", {HudCommandHelp, RunHudCommand}},
        {"import", {ImportCommandHelp, RunImportCommand}},
        {"live", {LiveCommandHelp, RunLiveCommand}},
    };
    return commands;
}

std::wstring GeneralHelp()
{
    return L"veltrix-cli: the command-line front end of Veltrix, a poker hand-history tracker.\n"
           L"\n"
           L"usage: veltrix-cli COMMAND [options]\n"
           L"  db create|check|drop|upgrade   administer the database\n"
           L"  equity --kind K [--board CARDS] [--dead CARDS] HAND HAND [HAND...]\n"
           L"                                 every hand's share of an all-in pot\n"
           L"  hud text NAME [--bb CENTS] [--kind K] [--months M]\n"
           L"                                 the HUD statistics line of a player\n"
           L"  import [options] PATH...       import hand-history files and folders\n"
           L"  live [--seconds N] [--no-tracker]  import what the clients append, live\n"
           L"  help                           this text\n"
           L"\n"
           L"Every command takes --help.\n" +
           DbOptionsHelp();
}

// Options of every command; each command checks what it needs.
const std::set<std::string> kValueOptions = {"server", "port",      "name", "user",   "password",
                                             "room",   "hh-format", "nick", "kind",   "board",
                                             "dead",   "seconds",   "bb",   "months", "wait"};
const std::set<std::string> kFlagOptions = {"help", "no-tracker"};

}  // namespace

int RunCli(const std::vector<std::string>& args,
           std::wostream& out,
           std::wostream& err,
           IProfile& profile,
           const std::string& programFolder)
{
    CCommandLine line;
    std::string error;
    if (!ParseCommandLine(args, kValueOptions, kFlagOptions, line, error)) {
        err << FromUtf8(error) << L"\n" << GeneralHelp();
        return 2;
    }
    if (line.positional.empty() || line.positional[0] == "help") {
        const bool asked = line.Has("help") || !line.positional.empty();
        (asked ? out : err) << GeneralHelp();
        return asked ? 0 : 2;
    }
    // The equity command needs neither the log nor the database.
    if (line.positional[0] == "equity") {
        if (line.Has("help")) {
            out << EquityCommandHelp();
            return 0;
        }
        return RunEquityCommand(line, out, err);
    }
    const auto command = Commands().find(line.positional[0]);
    if (command == Commands().end()) {
        err << L"unknown command: " << FromUtf8(line.positional[0]) << L"\n" << GeneralHelp();
        return 2;
    }
    if (line.Has("help")) {
        out << command->second.help();
        return 0;
    }
    CCliContext context(out, err, profile);
    if (!context.Start(programFolder, line.positional[0] == "live")) {
        return 1;
    }
    return command->second.run(line, context);
}
