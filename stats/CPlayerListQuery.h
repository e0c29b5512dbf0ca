// Reads every player of a room and period with the sums of their stored
// per-hand flags, in one query over handsplayers, for the player list and its
// benchmark. Runs on any thread on a database connection of its own.
#pragma once

#include "foundation/CStatus.h"
#include "stats/PlayerStatistics.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CDatabase;

namespace kroStats {

struct CPlayerListFilter
{
    // The sites table's id of the room; 0 for every room.
    int32_t siteId = 0;
    // Hands whose local time is at or after this (seconds since 1970); 0 for
    // no lower limit.
    int64_t fromLocalTime = 0;
};

struct CPlayerListRow
{
    int32_t playerId = 0;
    int32_t siteId = 0;
    std::wstring name;
    CPlayerCounts counts;
};

// The query of every player's sums of flags, hands and winnings.
std::wstring PlayerListQueryText(const CPlayerListFilter& filter);
// The query of the preflop action strings of the hands within the filter.
std::wstring PreflopActionsQueryText(const CPlayerListFilter& filter);

// Adds what one hand's preflop action string tells about each player's first
// action (a limp, a cold call, or a chance of one) and about a limper's answer
// to a raise, to the counts that `countsOf` gives for a player id (null: a
// player not counted). The string holds one token per action: the player's
// id as hexadecimal digits and a letter (P call, R raise, T bet, L fold, K
// check).
void CountPreflopActions(const std::wstring& actions,
                         const std::function<CPlayerCounts*(int32_t)>& countsOf);

// Fills `rows` (replacing what was there) with every player that has a hand
// within the filter, in no particular order. Stops early when `cancel`
// becomes true (the rows are then incomplete and the caller drops them).
// Fails with the database's message when a statement fails. Requires: `db` is open and used by this
// thread only.
[[nodiscard]] CStatus LoadPlayerList(CDatabase& db,
                                     const CPlayerListFilter& filter,
                                     std::vector<CPlayerListRow>& rows,
                                     const std::atomic<bool>* cancel = nullptr);

}  // namespace kroStats
