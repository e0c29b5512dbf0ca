// Checking, creating, upgrading and dropping the program's database. Each call
// stores the connect string it is given as the main and administrative string.
#pragma once

#include <string>

namespace kroDB {

class CDbContext;

// The parts of a connect string of the form
// "Driver={...};Server=%s;Port=%s;Database=%s;Uid=%s;Pwd=%s;".
struct CConnectParts
{
    std::wstring server;
    std::wstring port;
    std::wstring database;
    std::wstring user;
    std::wstring password;
};
bool ParseConnectString(const std::wstring& connectString, CConnectParts& parts);

// The connect string of the given parts with the driver "PostgreSQL Unicode".
std::wstring MakeConnectString(const CConnectParts& parts);

// True when the server has the role "postgres" and a database of the string's
// name. False when the string does not parse, names no database or the server
// cannot be reached.
bool CheckDatabase(CDbContext& context, const std::wstring& connectString);

// Creates the database (when missing) and then every missing table, column and
// index. A database that exists is reported with "Database already exists!" and
// completed. False when the string does not parse, the server has no "postgres"
// role or CREATE DATABASE fails.
bool CreateDatabase(CDbContext& context, const std::wstring& connectString);

// Drops the database when it exists; the result of DROP DATABASE, false when
// it does not exist.
bool DropDatabase(CDbContext& context, const std::wstring& connectString);

// Brings an existing database up to date on the main connection: the utc
// column, missing statistic columns of every table, the index script, and what
// several writers need (PrepareForSeveralWriters). What is there already is
// left alone, so that programs storing meanwhile are not held up.
bool UpgradeDatabase(CDbContext& context);

// Whether the server answers on the main connect string, tried on a
// connection of its own (the shared one may be broken) without any message.
bool DatabaseReachable(CDbContext& context);

// Waits until every commit so far is on the server's disk, also those made
// without waiting (CHandTransaction's asyncCommit); false when the server
// cannot be reached.
bool MakeDurable(CDbContext& context);

}  // namespace kroDB
