// The HUD statistics of players read from the database: for each name the
// one-line text its HUD box shows (see FormatHudStatsText), counted over the
// hands of the last HUD_CacheMonths months in the games of the table.
//
// Where a player has hands at several big blinds of the selected games, the
// counts of all of them are added up: a player moving between stakes keeps his
// read, and the numbers do not hang on the order the server returns rows in.
// Games of the kinds 0 to 5 (the Omaha and Courchevel games of the audit
// lines) are counted over every big blind for the same reason; other kinds
// count the table's big blind only.
//
// The counts come from the hudcache summary when the database has it, else
// from the row-by-row query of HudStatsQuery; both give the same numbers.
// Database failures give empty texts and are never shown to the user; after
// one, the database is left alone for a few seconds so that a server that is
// down does not stall every hand. Main thread only.
#pragma once

#include "hud/HudStatsQuery.h"
#include "hud/IHudStatsSource.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class CDatabase;
class IProfile;

namespace kroDB {
class CDbContext;
}

class CHudStats : public IHudStatsSource
{
public:
    // The Base values of `profile` give the database and HUD_CacheMonths the
    // period, read anew for every table. Requires: the references outlive
    // this object.
    CHudStats(kroDB::CDbContext& db, IProfile& profile);

    // The text of one player, empty when nothing is known of him.
    std::wstring HudStatsText(const std::wstring& playerName, int32_t bigBlind, int32_t gameKind);

    // The texts of the players of one table, in the order of `names` (an empty
    // name gets an empty text). Nothing when the start of the period cannot be
    // formed (it would lie before 1970): the table's update is abandoned.
    std::optional<std::vector<std::wstring>> HudStatsTexts(const std::vector<std::wstring>& names,
                                                           int32_t bigBlind,
                                                           int32_t gameKind) override;

    // The counts of the named players by the row-by-row query, rows added up.
    // Nothing when the database cannot be read.
    std::optional<std::vector<CHudStatsRow>> CountsByQuery(const std::vector<std::wstring>& names,
                                                           int64_t periodStart,
                                                           int32_t bigBlind,
                                                           int32_t gameKind);
    // The same counts read from the summary; nothing when the database has none.
    std::optional<std::vector<CHudStatsRow>> CountsBySummary(const std::vector<std::wstring>& names,
                                                             int64_t periodStart,
                                                             int32_t bigBlind,
                                                             int32_t gameKind);

    // The clock of the period (seconds since 1970); the system's by default.
    void SetClock(std::function<int64_t()> now) { m_now = std::move(now); }
    // Whether the summary may be used (on by default).
    void SetUseSummary(bool use) { m_useSummary = use; }

private:
    enum class Source
    {
        Best,
        Query,
        Summary,
    };
    std::optional<std::vector<CHudStatsRow>> Counts(const std::vector<std::wstring>& names,
                                                    int64_t periodStart,
                                                    int32_t bigBlind,
                                                    int32_t gameKind,
                                                    Source source);
    bool SummaryInstalled(CDatabase& database);

    kroDB::CDbContext& m_db;
    IProfile& m_profile;
    std::function<int64_t()> m_now;
    bool m_useSummary = true;
    // Whether the database has the summary, and when that was last asked.
    std::optional<bool> m_summary;
    std::chrono::steady_clock::time_point m_summaryAsked;
    std::optional<std::chrono::steady_clock::time_point> m_failedAt;
};
