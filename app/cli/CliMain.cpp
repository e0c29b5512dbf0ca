#include "app/cli/CliMain.h"

#include "app/cli/CCliContext.h"
#include "app/cli/CCommandLine.h"
#include "app/cli/DbCommand.h"
#include "app/cli/DbOptions.h"
#include "foundation/WideText.h"

#include <ostream>

namespace {

std::wstring GeneralHelp()
{
    return L"veltrix-cli: the command-line front end of Veltrix, a poker hand-history tracker.\n"
           L"\n"
           L"usage: veltrix-cli COMMAND [options]\n"
           L"  db create|check|drop|upgrade   administer the database\n"
           L"  help                           this text\n"
           L"\n"
           L"Every command takes --help.\n" +
           DbOptionsHelp();
}

const std::set<std::string> kValueOptions = {"server", "port", "name", "user", "password"};
const std::set<std::string> kFlagOptions = {"help"};

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
    const std::string& command = line.positional[0];
    if (command != "db") {
        err << L"unknown command: " << FromUtf8(command) << L"\n" << GeneralHelp();
        return 2;
    }
    if (line.Has("help")) {
        out << DbCommandHelp();
        return 0;
    }
    CCliContext context(out, err, profile);
    if (!context.Start(programFolder)) {
        return 1;
    }
    return RunDbCommand(line, context);
}
