// Everything a parse strategy borrows for one import: the database, the action
// list, the run-wide parse context, the log and the user notifier, the
// settings, and the counts of what the import did. The references must
// outlive the environment.
#pragma once

#include "parser/CParseSettings.h"

#include <cstdint>
#include <functional>
#include <set>
#include <stop_token>

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
    // Not stored because something failed: an invalid header, a row the
    // database refused.
    int64_t rejected = 0;
    // Not stored because the database could not be reached, or because the
    // import was stopped before them: nothing of them was kept.
    int64_t unreached = 0;

    // Hands handled: stored, found stored or left out on purpose.
    int64_t Handled() const { return stored + alreadyStored + skipped; }
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

    // Signalled to stop: hands not begun yet are left alone (unreached).
    std::stop_token stop;
    // Set when the database could not be reached: the rest of the import is
    // left alone (unreached). Cleared when the importer begins a file.
    bool databaseLost = false;
    // Set when the file could not be registered in the database (or its room
    // looked up) for another reason: none of its hands was read. Cleared when
    // the importer begins a file.
    bool fileFailed = false;
    // When set, the ids of the hands this import stored (or tried to commit
    // when the server went away): a hand read again that is found stored
    // under one of them counts as stored, not as found already stored.
    std::set<int64_t>* ownHands = nullptr;
    // Called after every hand, whatever became of it; may be empty.
    std::function<void()> afterHand;
};

}  // namespace kroHandParser
