// What a database holds, written without its ids, so that two databases filled
// by different routes (writers at once, an outage, one clean import) can be
// compared row for row; and the flaws no database may have.
#pragma once

#include <sql.h>

#include <map>
#include <string>
#include <vector>

namespace vxtest {

// Every table's rows as sorted texts: a hand by its room, room hand number and
// utc; a player by its room and name; a game type by its fields; a file by its
// name and room. Ids, and which of two files a shared hand came from, are left
// out, and the HUD summary is compared by its sums per player, game type and
// hour. `error` is set when the database could not be read.
struct CDatabaseDump
{
    std::map<std::string, std::vector<std::string>> tables;
    std::string error;
};

CDatabaseDump DumpDatabase(SQLHENV env, const std::wstring& connectString);

// "" when both hold the same rows; else the first difference.
std::string CompareDumps(const CDatabaseDump& expected, const CDatabaseDump& actual);

// "" when no hand is stored twice, no row names a hand that is not there and
// every hand has its players; else what is wrong.
std::string DatabaseFlaws(SQLHENV env, const std::wstring& connectString);

// One value of `sql`, "" without rows, "<no database>" when it cannot be read.
std::wstring QueryValue(SQLHENV env, const std::wstring& connectString, const std::wstring& sql);

}  // namespace vxtest
