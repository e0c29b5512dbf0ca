#include "app/core/CDatabaseSettings.h"

#include "foundation/IProfile.h"
#include "foundation/WideText.h"

bool CDatabaseSettings::Complete() const
{
    return !server.empty() && !port.empty() && !name.empty() && !user.empty();
}

std::wstring CDatabaseSettings::ConnectString() const
{
    return FormatW(L"Driver={PostgreSQL Unicode};Server=%ls;Port=%ls;Database=%ls;Uid=%ls;Pwd=%ls;",
                   server.c_str(), port.c_str(), name.c_str(), user.c_str(), password.c_str());
}

CDatabaseSettings ReadDatabaseSettings(IProfile& profile)
{
    CDatabaseSettings s;
    s.server = profile.GetProfileString(L"Base", L"ServerIP", L"127.0.0.1");
    s.port = profile.GetProfileString(L"Base", L"PortDB", L"5432");
    s.name = profile.GetProfileString(L"Base", L"NameDB", L"KRO");
    s.user = profile.GetProfileString(L"Base", L"UserDB", L"postgres");
    s.password = profile.GetProfileString(L"Base", L"PasswordDB", L"lindqvarte42");
    return s;
}
