#include "app/cli/DbOptions.h"

#include "app/cli/CCommandLine.h"
#include "foundation/WideText.h"

CDatabaseSettings DatabaseSettingsFromLine(const CCommandLine& line, IProfile& profile)
{
    CDatabaseSettings s = ReadDatabaseSettings(profile);
    const auto take = [&](const char* option, std::wstring& field) {
        if (line.HasOption(option)) {
            field = FromUtf8(line.Option(option));
        }
    };
    take("server", s.server);
    take("port", s.port);
    take("name", s.name);
    take("user", s.user);
    take("password", s.password);
    return s;
}

std::wstring DbOptionsHelp()
{
    return L"db options (anywhere on the line; defaults from the profile's Base section):\n"
           L"  --server ADDRESS   database server (127.0.0.1)\n"
           L"  --port PORT        server port (5432)\n"
           L"  --name NAME        database name (KRO)\n"
           L"  --user USER        database user (postgres)\n"
           L"  --password TEXT    password (the program's default)\n";
}
