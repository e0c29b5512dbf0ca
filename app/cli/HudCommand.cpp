#include "app/cli/HudCommand.h"

#include "app/cli/CCliContext.h"
#include "app/cli/CCommandLine.h"
#include "app/cli/DbOptions.h"
#include "db/DatabaseAdmin.h"
#include "db/IConnection.h"
#include "foundation/CMemoryProfile.h"
#include "foundation/IProfile.h"
#include "foundation/WideText.h"
#include "hud/CHudStats.h"

#include <cstdlib>
#include <ostream>

std::wstring HudCommandHelp()
{
    return L"usage: veltrix-cli hud text NAME [--bb CENTS] [--kind K] [--months M] [db options]\n"
           L"  Prints the statistics line the HUD shows for the PokerStars player NAME: the\n"
           L"  first four characters of the name, the hands, VPIP, PFR, 3-bet and 4-bet;\n"
           L"  nothing when the database knows no hand of him in that game and period.\n"
           L"  --kind K     the game of the table as the audit lines give it: 0 Omaha, 1 Omaha\n"
           L"               Hi/Lo, 2 5-card Omaha, 3 its Hi/Lo, 4 Courchevel, 5 its Hi/Lo\n"
           L"               (all stakes); any other number: every game at the big blind\n"
           L"               --bb (default 0)\n"
           L"  --bb CENTS   the table's big blind in cents (default 0)\n"
           L"  --months M   months of hands counted, back from the first of this month\n"
           L"               (default: the profile's Base/HUD_CacheMonths, 6)\n" +
           DbOptionsHelp();
}

int RunHudCommand(const CCommandLine& line, CCliContext& context)
{
    if (line.Has("help")) {
        context.Out() << HudCommandHelp();
        return 0;
    }
    if (line.positional.size() != 3 || line.positional[1] != "text") {
        context.Err() << HudCommandHelp();
        return 2;
    }
    const CDatabaseSettings settings = DatabaseSettingsFromLine(line, context.Profile());
    if (!settings.Complete()) {
        context.Notifier().Notify(L"Please fill all the required fields!");
        return 2;
    }
    kroDB::CDbContext& db = context.Db();
    const std::wstring connect = settings.ConnectString();
    if (!kroDB::CheckDatabase(db, connect)) {
        context.Notifier().Notify(L"DataBase does not exist!");
        return 1;
    }
    db.SetConnectStrings(connect);
    // The statistics read the database and the months from a profile: the
    // user's, with what the line gives instead.
    CMemoryProfile profile;
    profile.WriteProfileString(L"Base", L"ServerIP", settings.server);
    profile.WriteProfileString(L"Base", L"PortDB", settings.port);
    profile.WriteProfileString(L"Base", L"NameDB", settings.name);
    profile.WriteProfileString(L"Base", L"UserDB", settings.user);
    profile.WriteProfileString(L"Base", L"PasswordDB", settings.password);
    profile.WriteProfileString(L"Base", L"HUD_CacheMonths",
                               line.HasOption("months") ? FromUtf8(line.Option("months"))
                                                        : context.Profile().GetProfileString(
                                                              L"Base", L"HUD_CacheMonths", L"6"));
    kroDB::CConnectionLease connection(db.AcquireConnection(true));
    CHudStats stats(db, profile);
    const auto texts =
        stats.HudStatsTexts({FromUtf8(line.positional[2])},
                            static_cast<int32_t>(std::atol(line.Option("bb", "0").c_str())),
                            static_cast<int32_t>(std::atol(line.Option("kind", "0").c_str())));
    if (!texts) {
        context.Err() << L"The statistics period would start before 1970: fewer months, please."
                      << std::endl;
        return 2;
    }
    context.Out() << texts->front() << std::flush;
    return 0;
}
