// Everything a parse strategy borrows for one import: the database, the action
// list, the run-wide parse context, the log and the user notifier, the
// settings, and the counts of what the import did. The references must
// outlive the environment.
#pragma once

#include "parser/CParseSettings.h"

#include <cstdint>

class ILogSink;
class IUserNotifier;

namespace kroDB {
class CDbContext;
class CActionList;
}  // namespace kroDB

namespace kroHandParser {

class CParseContext;

// What happened to the hands of an import.
struct CImportCounts
{
    // Stored now.
    int64_t stored = 0;
    // Found already stored (from this or another file) and left alone.
    int64_t alreadyStored = 0;
    // Left out on purpose: tournament hands, abandoned club hands.
    int64_t skipped = 0;
    // Not stored because something failed: an invalid header, the database.
    int64_t rejected = 0;
};

struct CParserEnvironment
{
    CParserEnvironment(kroDB::CDbContext& database,
                       kroDB::CActionList& actionList,
                       CParseContext& parseContext,
                       ILogSink& logSink,
                       IUserNotifier& userNotifier,
                       CParseSettings parseSettings)
        : db(database)
        , actions(actionList)
        , context(parseContext)
        , log(logSink)
        , notifier(userNotifier)
        , settings(parseSettings)
    {}

    kroDB::CDbContext& db;
    kroDB::CActionList& actions;
    CParseContext& context;
    ILogSink& log;
    IUserNotifier& notifier;
    CParseSettings settings;
    CImportCounts counts;
};

}  // namespace kroHandParser
