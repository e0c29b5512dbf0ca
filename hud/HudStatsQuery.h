// The statistics one HUD box shows for a player: the query that counts his
// stored flags over a period, the start of that period, and the one-line text
// made of the counts. Pure functions; thread-safe.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The counts of one player that the HUD text shows.
struct CHudStatsRow
{
    int64_t n = 0;
    int64_t vpip = 0;
    int64_t vpipOpp = 0;
    int64_t pfr = 0;
    int64_t pfrOpp = 0;
    int64_t p3b = 0;
    int64_t p3bOpp = 0;
    int64_t p4b = 0;
    int64_t p4bOpp = 0;

    CHudStatsRow& operator+=(const CHudStatsRow& other);
    bool operator==(const CHudStatsRow&) const = default;
};

// The text of a months setting read as an integer the C library's way:
// leading blanks, a sign and digits; 0 when there are none.
int HudCacheMonths(const std::wstring& text);

// Local midnight of the first day of the month `months` months before the
// month of `now`, in seconds since 1970 (months 0: the current month's first
// day). Nothing when that moment lies before 1970 or cannot be converted.
std::optional<int64_t> HudPeriodStart(int64_t now, int months);

// The condition on the game: a range of gametypes.idgamekind for the game kinds
// 0 to 5 of an audit line (Omaha, Omaha Hi/Lo, 5-card Omaha and its Hi/Lo,
// Courchevel and its Hi/Lo), the table's big blind for any other kind.
std::wstring HudGameKindCondition(int32_t gameKind, int32_t bigBlind);

// The query of one player's counts: one row per game kind and big blind of
// his hands played after `periodStart` (localtime) in the games of
// `gameKind`.
std::wstring HudStatsQuery(int32_t playerId,
                           int64_t periodStart,
                           int32_t gameKind,
                           int32_t bigBlind);

// The first `count` characters of `name` as a reader sees them: a letter with
// its combining marks, an emoji with its modifiers and joined parts, or a flag
// counts as one character and is never cut.
std::wstring FirstCharacters(const std::wstring& name, size_t count);

// The HUD text of a player: the first four characters of his name, the hands,
// VPIP, PFR, 3-bet and 4-bet in percent with one decimal (a point, whatever
// the locale; 0 for a share without chances), each after one blank, and a
// newline. Empty without hands.
std::wstring FormatHudStatsText(const std::wstring& name, const CHudStatsRow& row);
