// The database connection settings of the profile's Base section.
#pragma once

#include <string>

class IProfile;

struct CDatabaseSettings
{
    std::wstring server = L"127.0.0.1";
    std::wstring port = L"5432";
    std::wstring name = L"KRO";
    std::wstring user = L"postgres";
    std::wstring password = L"lindqvarte42";

    // False when the server, port, name or user is empty (the password may be).
    bool Complete() const;
    // "Driver={PostgreSQL Unicode};Server=...;Port=...;Database=...;Uid=...;Pwd=...;"
    std::wstring ConnectString() const;
};

// Reads ServerIP, PortDB, NameDB, UserDB and PasswordDB with their defaults.
CDatabaseSettings ReadDatabaseSettings(IProfile& profile);
