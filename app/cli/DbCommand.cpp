#include "app/cli/DbCommand.h"

#include "app/cli/CCliContext.h"
#include "app/cli/CCommandLine.h"
#include "app/cli/DbOptions.h"
#include "db/DatabaseAdmin.h"
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
    if (!settings.Complete()) {
        context.Notifier().Notify(L"Please fill all the required fields!");
        return 2;
    }
    kroDB::CDbContext& db = context.Db();
    const std::wstring target = settings.ConnectString();

    if (action == "create") {
        if (kroDB::CheckDatabase(db, target)) {
            context.Result(L"Database is already being!");
            return 0;
        }
        const bool created = kroDB::CreateDatabase(db, target);
        context.Result(created ? L"Database was created successfully!"
                               : L"Database is not created!");
        return created ? 0 : 1;
    }
    if (action == "drop") {
        if (!kroDB::CheckDatabase(db, target)) {
            context.Result(L"Database is not found!");
            return 1;
        }
        const bool dropped = kroDB::DropDatabase(db, target);
        context.Result(dropped ? L"Database was deleted successfully!"
                               : L"Database is not deleted!");
        return dropped ? 0 : 1;
    }
    if (!kroDB::CheckDatabase(db, target)) {
        context.Result(L"Database is not found!");
        return 1;
    }
    if (action == "check") {
        context.Result(L"Database is found!");
        return 0;
    }
    const bool upgraded = kroDB::UpgradeDatabase(db);
    context.Result(upgraded ? L"Database was upgraded successfully!"
                            : L"Database is not upgraded!");
    return upgraded ? 0 : 1;
}
