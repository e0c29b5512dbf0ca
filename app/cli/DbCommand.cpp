#include "app/cli/DbCommand.h"

#include "app/cli/CCliContext.h"
#include "app/cli/CCommandLine.h"
#include "app/cli/DbOptions.h"
#include "foundation/WideText.h"

#include <ostream>

std::wstring DbCommandHelp()
{
    return L"usage: veltrix-cli db create|check|drop|upgrade [db options]\n"
           L"  create   create the database and its tables (an existing one is completed)\n"
           L"  check    tell whether the database exists on the server\n"
           L"  drop     delete the database\n"
           L"  upgrade  add what a newer version needs to an existing database\n" +
           DbOptionsHelp();
}

int RunDbCommand(const CCommandLine& line, CCliContext& context)
{
    if (line.Has("help") || line.positional.size() != 2) {
        (line.Has("help") ? context.Out() : context.Err()) << DbCommandHelp();
        return line.Has("help") ? 0 : 2;
    }
    const std::string& action = line.positional[1];
    if (action != "create" && action != "check" && action != "drop" && action != "upgrade") {
        context.Err() << L"unknown db command: " << FromUtf8(action) << L"\n" << DbCommandHelp();
        return 2;
    }
    const CDatabaseSettings settings = DatabaseSettingsFromLine(line, context.Profile());
    CApplicationCore& core = context.Core();
    const CDbCommandResult result = action == "create"  ? core.CreateDatabase(settings)
                                    : action == "drop"  ? core.DropDatabase(settings)
                                    : action == "check" ? core.CheckDatabase(settings)
                                                        : core.UpgradeDatabase(settings);
    if (result.incomplete) {
        return 2;
    }
    return result.ok ? 0 : 1;
}
