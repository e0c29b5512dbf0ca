// The summary that makes the HUD statistics fast at scale: the table
// "hudcache" holds, per player and game type, the counts that the HUD text
// shows, by hour of the hands' local time and rolled up by day and by month
// (of the UTC calendar of those times). Triggers on hands and handsplayers add
// rows of differences (by the hour) whenever stored hand players, or the
// hands they belong to, are inserted, changed or deleted, inside the writer's
// own transaction (once per statement for inserts and deletes, so that a
// hand's players stored in one statement cost one call); so the summary is
// current after every stored hand, whichever program stored it, and writers
// never wait for one another on it. A writer that adds a new hand may sum it
// in its own transaction instead (HandSetting, HandStatement), which the
// insert triggers then leave to it. Compact folds those rows into the hour,
// day and month rows now and then.
//
// Reading a player's counts from it gives exactly what the row-by-row query
// of HudStatsQuery gives summed over its rows: whole months after the one that
// holds the period start, whole days after its day, hours from the one that
// holds the start, the differences not folded yet; and the hands of that
// first hour up to the period start itself are taken off again row by row. A
// read touches a few dozen rows per player and game type, however many hands
// he has.
//
// Every operation opens its own connection from the context's environment and
// main connect string, so that a failure is reported here and never shown to
// the user. Thread-compatible.
#pragma once

#include "foundation/CStatus.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kroDB {
class CDbContext;
}

class CHudStatsCache
{
public:
    // Requires: `db` outlives this object.
    explicit CHudStatsCache(kroDB::CDbContext& db);

    // Whether the database has the summary and its triggers.
    bool Installed();

    // Creates the summary with its triggers and fills it from the stored hands,
    // in one transaction that holds writers back meanwhile; does nothing when
    // it is installed. A summary of an earlier version gets the current
    // triggers the same way (filled anew only when its triggers were not
    // whole). InvalidArgument when the hand players lack a counted flag column
    // (the summary would fail every stored hand).
    CStatus Install();

    // Empties the summary and fills it again from the stored hands.
    CStatus Rebuild();

    // Folds up to `maxRows` rows of differences into the hour, day and month
    // rows of their player and game type (what is left waits for the next
    // call). Safe while others write or compact.
    CStatus Compact(int64_t maxRows = 200000);

    // The rows of differences not folded yet; -1 when it cannot be read.
    int64_t PendingRows();

    // The query of the summed counts of `playerIds` over the hands played after
    // `periodStart` in the games of `gameKind` (see HudGameKindCondition): one
    // row per player, columns idplayer, n, vpip_opp, vpip, pfr_opp, pfr,
    // p3b_opp, p3b, p4b_opp and p4b. Requires: `playerIds` is not empty.
    static std::wstring ReadQuery(const std::vector<int32_t>& playerIds,
                                  int64_t periodStart,
                                  int32_t gameKind,
                                  int32_t bigBlind);

    // A writer's transaction that adds one new hand with its players may sum
    // them itself, which costs the server less than the insert triggers: it
    // runs HandSetting before its first insert, which makes those triggers
    // stand aside, and HandStatement ($1: the hand's id) after its last.
    // Only for a database where Installed() holds.
    static std::wstring HandSetting();
    static std::wstring HandStatement();
    // Has the context's pipelined writers sum their hands that way when the
    // summary is installed, and leaves it to the triggers otherwise; whether
    // they do.
    bool SumHandsByUnit();

    // A query whose one value is 1 when the summary and all its triggers are
    // there, else 0.
    static std::wstring InstalledQuery();

    // The flag columns of handsplayers the summary counts.
    static const std::vector<std::wstring>& CountedFlags();

private:
    CStatus Run(const std::vector<std::wstring>& statements);

    kroDB::CDbContext& m_db;
};
