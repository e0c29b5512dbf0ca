#include "hud/CHudStatsCache.h"

#include "companion/CDatabase.h"
#include "companion/CODBCRecordset.h"
#include "db/CDbContext.h"
#include "db/IConnection.h"
#include "foundation/WideText.h"
#include "hud/HudStatsQuery.h"

#include <algorithm>
#include <ctime>
#include <memory>
#include <string_view>

namespace {

// The summary's count columns, in the order of CountedFlags.
const wchar_t* const kCounts[] = {L"vpip_opp", L"vpip", L"pfr_opp", L"pfr",
                                  L"p3b_opp",  L"p3b",  L"p4b_opp", L"p4b"};

// Hand players inserted, and hand players and hands deleted, are summarised
// once per statement from its transition table, so that a hand's players
// stored in one INSERT cost one call; updates stay by the row, where a WHEN
// clause passes over the many that change nothing counted without a call.
// The insert triggers stand aside in a transaction that says it sums its new
// hand itself (HandSetting), as the import does with one plain statement.
const wchar_t* const kTriggers[] = {L"hudcache_hp_inserted",  L"hudcache_hp_delete",
                                    L"hudcache_hp_update",    L"hudcache_hands_inserted",
                                    L"hudcache_hands_delete", L"hudcache_hands_update",
                                    L"hudcache_hp_truncate",  L"hudcache_hands_truncate"};

// Triggers of earlier versions that are not in kTriggers.
const wchar_t* const kOldTriggers[] = {L"hudcache_hp_change", L"hudcache_hands_change",
                                       L"hudcache_hp_insert", L"hudcache_hands_insert"};

// The whole sets that earlier versions installed, each of which kept the
// summary current.
const std::vector<std::vector<std::wstring>>& EarlierTriggerSets()
{
    static const std::vector<std::vector<std::wstring>> sets = {
        {L"hudcache_hp_change", L"hudcache_hp_update", L"hudcache_hands_change",
         L"hudcache_hands_update", L"hudcache_hp_truncate", L"hudcache_hands_truncate"},
        {L"hudcache_hp_insert", L"hudcache_hp_delete", L"hudcache_hp_update",
         L"hudcache_hands_insert", L"hudcache_hands_delete", L"hudcache_hands_update",
         L"hudcache_hp_truncate", L"hudcache_hands_truncate"},
    };
    return sets;
}

// Set by a transaction that sums the hand players it adds itself.
const wchar_t* const kSummedByUnit = L"veltrix.summed_by_unit";

template <size_t N>
std::wstring NameList(const wchar_t* const (&names)[N])
{
    std::wstring list;
    for (const wchar_t* name : names) {
        list += (list.empty() ? L"'" : L", '") + std::wstring(name) + L"'";
    }
    return list;
}

// How many of `names` are triggers of this database.
template <size_t N>
std::wstring TriggerCount(const wchar_t* const (&names)[N])
{
    return L"SELECT count(*) FROM pg_trigger WHERE NOT tgisinternal AND tgname IN (" +
           NameList(names) + L")";
}

std::wstring CountList(const wchar_t* prefix)
{
    std::wstring list;
    for (const wchar_t* count : kCounts) {
        list += FormatW(L", %ls%ls", prefix, count);
    }
    return list;
}

// "sign(CASE WHEN row.flag THEN 1 ELSE 0 END)" for every counted flag.
std::wstring FlagValues(const std::wstring& row, const wchar_t* sign)
{
    std::wstring list;
    for (const auto& flag : CHudStatsCache::CountedFlags()) {
        list +=
            FormatW(L", %ls(CASE WHEN %ls.%ls THEN 1 ELSE 0 END)", sign, row.c_str(), flag.c_str());
    }
    return list;
}

// The new minus the old value of every counted flag.
std::wstring FlagDifferences()
{
    std::wstring list;
    for (const auto& flag : CHudStatsCache::CountedFlags()) {
        list += FormatW(
            L", (CASE WHEN NEW.%ls THEN 1 ELSE 0 END) - (CASE WHEN OLD.%ls THEN 1 ELSE 0 END)",
            flag.c_str(), flag.c_str());
    }
    return list;
}

std::wstring FlagsDiffer()
{
    std::wstring list;
    for (const auto& flag : CHudStatsCache::CountedFlags()) {
        list += FormatW(L" OR OLD.%ls IS DISTINCT FROM NEW.%ls", flag.c_str(), flag.c_str());
    }
    return list;
}

const wchar_t* const kHour = L"floor(%ls.\"localtime\" / 3600.0)::integer";

std::wstring Hour(const wchar_t* hand)
{
    return FormatW(kHour, hand);
}

std::wstring InsertInto()
{
    return L"INSERT INTO hudcache (idplayer, idgametype, bucket, n" + CountList(L"") + L")";
}

std::vector<std::wstring> TableStatements()
{
    std::wstring table =
        L"CREATE TABLE hudcache (idplayer integer not null, idgametype integer not null, level "
        L"smallint not null default 0, bucket integer not null, n bigint not null";
    for (const wchar_t* count : kCounts) {
        table += FormatW(L", %ls bigint not null", count);
    }
    table += L", merged boolean not null default false)";
    return {
        table,
        L"CREATE INDEX hudcacheindex1 ON hudcache (idplayer, level, bucket) WHERE merged",
        L"CREATE INDEX hudcacheindex2 ON hudcache (idplayer, bucket) WHERE NOT merged",
    };
}

// A function for a statement-level trigger that adds (sign "") or takes off
// (sign "-") the hand players of the transition table "changed", or those of
// its hands. A hand player counts when he, his hand's game type and its time
// are known, as they must be for the row-by-row query to count him.
//
// The other table is read by key, one lateral lookup per row: the session
// keeps the plan, and a join planned while the tables were small goes on
// scanning every stored hand on each call as they grow (an import into a new
// database slows down hand by hand).
std::wstring StatementFunction(const wchar_t* name, bool handPlayers, const wchar_t* sign)
{
    std::wstring select;
    if (handPlayers) {
        select = FormatW(L" SELECT t.idplayer, h.idgametype, h.bucket, %ls1", sign) +
                 FlagValues(L"t", sign) +
                 L" FROM changed t CROSS JOIN LATERAL (SELECT x.idgametype, " + Hour(L"x") +
                 L" AS bucket FROM hands x WHERE x.id = t.idhand AND x.idgametype IS NOT NULL "
                 L"AND x.\"localtime\" IS NOT NULL OFFSET 0) h WHERE t.idplayer IS NOT NULL";
    } else {
        std::wstring flags;
        for (const auto& flag : CHudStatsCache::CountedFlags()) {
            flags += L", x." + flag;
        }
        select =
            FormatW(L" SELECT hp.idplayer, t.idgametype, %ls, %ls1", Hour(L"t").c_str(), sign) +
            FlagValues(L"hp", sign) + L" FROM changed t CROSS JOIN LATERAL (SELECT x.idplayer" +
            flags +
            L" FROM handsplayers x WHERE x.idhand = t.id AND x.idplayer IS NOT NULL OFFSET "
            L"0) hp WHERE t.idgametype IS NOT NULL AND t.\"localtime\" IS NOT NULL";
    }
    return FormatW(
               L"CREATE OR REPLACE FUNCTION %ls() RETURNS trigger LANGUAGE plpgsql AS "
               L"$body$ BEGIN ",
               name) +
           InsertInto() + select + L"; RETURN NULL; END $body$";
}

std::wstring NotSummedByUnit()
{
    return FormatW(L"current_setting('%ls', true) IS DISTINCT FROM 'on'", kSummedByUnit);
}

// The functions and triggers that keep the summary current.
std::vector<std::wstring> TriggerStatements()
{
    const std::wstring handPlayer =
        L"CREATE OR REPLACE FUNCTION hudcache_handsplayers() RETURNS trigger LANGUAGE plpgsql AS "
        L"$body$ BEGIN "
        L"IF OLD.idplayer IS NOT DISTINCT FROM NEW.idplayer AND OLD.idhand IS NOT DISTINCT FROM "
        L"NEW.idhand THEN " +
        InsertInto() + L" SELECT NEW.idplayer, h.idgametype, " + Hour(L"h") + L", 0" +
        FlagDifferences() +
        L" FROM hands h WHERE h.id = NEW.idhand AND NEW.idplayer IS NOT NULL AND h.idgametype "
        L"IS NOT NULL AND h.\"localtime\" IS NOT NULL; RETURN NULL; END IF; " +
        InsertInto() + L" SELECT OLD.idplayer, h.idgametype, " + Hour(L"h") + L", -1" +
        FlagValues(L"OLD", L"-") +
        L" FROM hands h WHERE h.id = OLD.idhand AND OLD.idplayer IS NOT NULL AND h.idgametype "
        L"IS NOT NULL AND h.\"localtime\" IS NOT NULL; " +
        InsertInto() + L" SELECT NEW.idplayer, h.idgametype, " + Hour(L"h") + L", 1" +
        FlagValues(L"NEW", L"") +
        L" FROM hands h WHERE h.id = NEW.idhand AND NEW.idplayer IS NOT NULL AND h.idgametype "
        L"IS NOT NULL AND h.\"localtime\" IS NOT NULL; "
        L"RETURN NULL; END $body$";

    // Inserted hands come by the row: the writers store one hand per
    // statement, where a row-level call costs less than a statement's.
    const std::wstring hand =
        L"CREATE OR REPLACE FUNCTION hudcache_hands() RETURNS trigger LANGUAGE plpgsql AS "
        L"$body$ BEGIN "
        L"IF TG_OP = 'UPDATE' THEN IF OLD.idgametype IS NOT NULL AND OLD.\"localtime\" IS NOT "
        L"NULL THEN " +
        InsertInto() + L" SELECT hp.idplayer, OLD.idgametype, " + Hour(L"OLD") + L", -1" +
        FlagValues(L"hp", L"-") +
        L" FROM handsplayers hp WHERE hp.idhand = OLD.id AND hp.idplayer IS NOT NULL; END IF; "
        L"END IF; "
        L"IF NEW.idgametype IS NOT NULL AND NEW.\"localtime\" IS NOT NULL THEN " +
        InsertInto() + L" SELECT hp.idplayer, NEW.idgametype, " + Hour(L"NEW") + L", 1" +
        FlagValues(L"hp", L"") +
        L" FROM handsplayers hp WHERE hp.idhand = NEW.id AND hp.idplayer IS NOT NULL; END IF; "
        L"RETURN NULL; END $body$";

    const std::wstring clear =
        L"CREATE OR REPLACE FUNCTION hudcache_clear() RETURNS trigger LANGUAGE plpgsql AS "
        L"$body$ BEGIN DELETE FROM hudcache; RETURN NULL; END $body$";

    std::vector<std::wstring> statements = {
        handPlayer,
        hand,
        clear,
        StatementFunction(L"hudcache_hp_added", true, L""),
        StatementFunction(L"hudcache_hp_removed", true, L"-"),
        StatementFunction(L"hudcache_hands_removed", false, L"-"),
    };
    // Whatever triggers of the summary there are go first, so that none is
    // left over or made twice.
    const auto drop = [&statements](const wchar_t* trigger) {
        const bool handPlayers = std::wstring_view(trigger).starts_with(L"hudcache_hp_");
        statements.push_back(FormatW(L"DROP TRIGGER IF EXISTS %ls ON %ls", trigger,
                                     handPlayers ? L"handsplayers" : L"hands"));
    };
    std::for_each(std::begin(kOldTriggers), std::end(kOldTriggers), drop);
    std::for_each(std::begin(kTriggers), std::end(kTriggers), drop);
    const std::vector<std::wstring> triggers = {
        L"CREATE TRIGGER hudcache_hp_inserted AFTER INSERT ON handsplayers REFERENCING NEW "
        L"TABLE AS changed FOR EACH STATEMENT WHEN (" +
            NotSummedByUnit() + L") EXECUTE FUNCTION hudcache_hp_added()",
        L"CREATE TRIGGER hudcache_hp_delete AFTER DELETE ON handsplayers REFERENCING OLD TABLE "
        L"AS changed FOR EACH STATEMENT EXECUTE FUNCTION hudcache_hp_removed()",
        L"CREATE TRIGGER hudcache_hp_update AFTER UPDATE ON handsplayers FOR EACH ROW WHEN "
        L"(OLD.idplayer IS DISTINCT FROM NEW.idplayer OR OLD.idhand IS DISTINCT FROM NEW.idhand" +
            FlagsDiffer() + L") EXECUTE FUNCTION hudcache_handsplayers()",
        L"CREATE TRIGGER hudcache_hands_inserted AFTER INSERT ON hands FOR EACH ROW WHEN "
        L"(NEW.idgametype IS NOT NULL AND NEW.\"localtime\" IS NOT NULL AND " +
            NotSummedByUnit() + L") EXECUTE FUNCTION hudcache_hands()",
        L"CREATE TRIGGER hudcache_hands_delete AFTER DELETE ON hands REFERENCING OLD TABLE AS "
        L"changed FOR EACH STATEMENT EXECUTE FUNCTION hudcache_hands_removed()",
        L"CREATE TRIGGER hudcache_hands_update AFTER UPDATE ON hands FOR EACH ROW WHEN (OLD.id IS "
        L"DISTINCT FROM NEW.id OR OLD.idgametype IS DISTINCT FROM NEW.idgametype OR "
        L"OLD.\"localtime\" IS DISTINCT FROM NEW.\"localtime\") EXECUTE FUNCTION "
        L"hudcache_hands()",
        L"CREATE TRIGGER hudcache_hp_truncate AFTER TRUNCATE ON handsplayers FOR EACH STATEMENT "
        L"EXECUTE FUNCTION hudcache_clear()",
        L"CREATE TRIGGER hudcache_hands_truncate AFTER TRUNCATE ON hands FOR EACH STATEMENT "
        L"EXECUTE FUNCTION hudcache_clear()",
    };
    statements.insert(statements.end(), triggers.begin(), triggers.end());
    return statements;
}

std::wstring Sums(const wchar_t* prefix)
{
    std::wstring sums;
    for (const wchar_t* count : kCounts) {
        sums += FormatW(L", sum(%ls%ls)", prefix, count);
    }
    return sums;
}

// The month (months since January 1970, of the UTC calendar) of a day number.
const wchar_t* const kMonthOfDay =
    L"((extract(year from date '1970-01-01' + %ls)::integer - 1970) * 12 + extract(month from "
    L"date '1970-01-01' + %ls)::integer - 1)";

std::wstring MonthOfDay(const wchar_t* day)
{
    return FormatW(kMonthOfDay, day, day);
}

std::wstring Columns()
{
    return L"(idplayer, idgametype, level, bucket, n" + CountList(L"") + L", merged)";
}

// The summary of the stored hands: by hour, and rolled up by day and month.
std::vector<std::wstring> FillStatements()
{
    std::wstring flags;
    for (const auto& flag : CHudStatsCache::CountedFlags()) {
        flags += FormatW(L", sum(CASE WHEN hp.%ls THEN 1 ELSE 0 END)", flag.c_str());
    }
    return {
        L"INSERT INTO hudcache " + Columns() + L" SELECT hp.idplayer, h.idgametype, 0, " +
            Hour(L"h") + L", count(*)" + flags +
            L", true FROM hands h, handsplayers hp WHERE h.id = hp.idhand AND hp.idplayer IS NOT "
            L"NULL AND h.idgametype IS NOT NULL AND h.\"localtime\" IS NOT NULL GROUP BY 1, 2, 4",
        L"INSERT INTO hudcache " + Columns() +
            L" SELECT idplayer, idgametype, 1, floor(bucket / 24.0)::integer, sum(n)" + Sums(L"") +
            L", true FROM hudcache WHERE level = 0 GROUP BY 1, 2, 4",
        L"INSERT INTO hudcache " + Columns() + L" SELECT idplayer, idgametype, 2, " +
            MonthOfDay(L"bucket") + L", sum(n)" + Sums(L"") +
            L", true FROM hudcache WHERE level = 1 GROUP BY 1, 2, 4",
    };
}

// Holds writers of hands back (and other installers) until the transaction
// ends; readers go on.
const wchar_t* const kLockWriters = L"LOCK TABLE hands, handsplayers IN SHARE ROW EXCLUSIVE MODE";

class CTransaction
{
public:
    explicit CTransaction(kroDB::CDbContext& db)
        : m_connection(db.Environment())
    {
        const std::wstring connect = db.MainConnectString();
        m_status = connect.empty() ? CStatus::NotFound(L"no database is set")
                                   : m_connection.Open(connect, db.LoginTimeoutSeconds());
        if (m_status.IsOk()) {
            m_status = m_connection.SetAutoCommit(false);
        }
    }
    ~CTransaction()
    {
        if (m_connection.IsOpen()) {
            (void)m_connection.Rollback();
        }
    }

    CStatus Execute(const std::wstring& sql)
    {
        if (m_status.IsOk()) {
            m_status = m_connection.ExecuteSQL(sql);
        }
        return m_status;
    }

    // The first column of the first row; nothing on failure or without rows.
    std::wstring Scalar(const std::wstring& sql)
    {
        if (!m_status.IsOk()) {
            return std::wstring();
        }
        CODBCRecordset rs(m_connection);
        m_status = rs.Open(sql);
        return m_status.IsOk() && !rs.IsEOF() ? rs.Field(size_t{0}).AsString() : std::wstring();
    }

    CStatus Commit()
    {
        if (m_status.IsOk()) {
            m_status = m_connection.Commit();
        }
        return m_status;
    }

    const CStatus& Status() const { return m_status; }

private:
    CDatabase m_connection;
    CStatus m_status;
};

// The summary's triggers of any version that the database has, by name in
// alphabetical order, separated by commas.
std::wstring PresentTriggers(CTransaction& t)
{
    std::vector<std::wstring> names(std::begin(kTriggers), std::end(kTriggers));
    names.insert(names.end(), std::begin(kOldTriggers), std::end(kOldTriggers));
    std::wstring list;
    for (const auto& name : names) {
        list += (list.empty() ? L"'" : L", '") + name + L"'";
    }
    return t.Scalar(
        L"SELECT coalesce(string_agg(tgname::text, ',' ORDER BY tgname::text), '') "
        L"FROM pg_trigger WHERE NOT tgisinternal AND tgname IN (" +
        list + L")");
}

std::wstring SortedList(std::vector<std::wstring> names)
{
    std::sort(names.begin(), names.end());
    std::wstring list;
    for (const auto& name : names) {
        list += (list.empty() ? L"" : L",") + name;
    }
    return list;
}

// Replaces the triggers of an earlier version, under the writers' lock that
// `t` holds. The summary stays as it is when one whole set of triggers kept it
// current; when some were missing or one set was mixed into another, hands
// went by uncounted or counted twice, so it is filled anew.
CStatus Upgrade(CTransaction& t)
{
    const std::wstring present = PresentTriggers(t);
    if (!t.Status().IsOk()) {
        return t.Status();
    }
    if (present == SortedList({std::begin(kTriggers), std::end(kTriggers)})) {
        return CStatus::Ok();
    }
    bool earlierWhole = false;
    for (const auto& set : EarlierTriggerSets()) {
        earlierWhole = earlierWhole || present == SortedList(set);
    }
    for (const auto& statement : TriggerStatements()) {
        (void)t.Execute(statement);
    }
    if (!earlierWhole) {
        (void)t.Execute(L"DELETE FROM hudcache");
        for (const auto& statement : FillStatements()) {
            (void)t.Execute(statement);
        }
    }
    return t.Commit();
}

}  // namespace

CHudStatsCache::CHudStatsCache(kroDB::CDbContext& db)
    : m_db(db)
{}

const std::vector<std::wstring>& CHudStatsCache::CountedFlags()
{
    static const std::vector<std::wstring> flags = {
        L"flag_vpip_opp",    L"flag_vpip",    L"flag_pf_pfr_opp",  L"flag_pf_pfr",
        L"flag_pf_3bet_opp", L"flag_pf_3bet", L"flag_pf_4bet_opp", L"flag_pf_4bet"};
    return flags;
}

std::wstring CHudStatsCache::HandSetting()
{
    return FormatW(L"SET LOCAL %ls = on", kSummedByUnit);
}

std::wstring CHudStatsCache::HandStatement()
{
    // What the insert triggers add for a hand and its players, read back by
    // the hand's key.
    return InsertInto() + L" SELECT t.idplayer, h.idgametype, " + Hour(L"h") + L", 1" +
           FlagValues(L"t", L"") +
           L" FROM handsplayers t JOIN hands h ON h.id = t.idhand WHERE t.idhand = $1 AND "
           L"t.idplayer IS NOT NULL AND h.idgametype IS NOT NULL AND h.\"localtime\" IS NOT NULL";
}

bool CHudStatsCache::SumHandsByUnit()
{
    // Asked before every import: on the connection the import goes on to
    // use, rather than on one of its own.
    bool installed = false;
    {
        kroDB::CConnectionLease connection(m_db.AcquireConnection(true));
        std::unique_ptr<CODBCRecordset> rs;
        installed = connection && connection->IsOpen() &&
                    connection->OpenRecordset(InstalledQuery(), rs) && !rs->IsEOF() &&
                    rs->Field(size_t{0}).AsString() == L"1";
    }
    if (!installed) {
        m_db.SetHandSummary(nullptr);
        return false;
    }
    auto summary = std::make_shared<kroDB::CDbContext::CHandSummary>();
    summary->setting = HandSetting();
    summary->statement = HandStatement();
    m_db.SetHandSummary(std::move(summary));
    return true;
}

std::wstring CHudStatsCache::InstalledQuery()
{
    return FormatW(
        L"SELECT CASE WHEN to_regclass('hudcache') IS NOT NULL AND (%ls) = %d AND (%ls) "
        L"= 0 THEN 1 ELSE 0 END",
        TriggerCount(kTriggers).c_str(), static_cast<int>(std::size(kTriggers)),
        TriggerCount(kOldTriggers).c_str());
}

bool CHudStatsCache::Installed()
{
    CTransaction t(m_db);
    return t.Scalar(InstalledQuery()) == L"1";
}

CStatus CHudStatsCache::Install()
{
    // Most calls find it there; they need not hold writers back to see so.
    if (Installed()) {
        return CStatus::Ok();
    }
    CTransaction t(m_db);
    (void)t.Execute(kLockWriters);
    // Another program may have installed or upgraded it while this one waited.
    const std::wstring present =
        t.Scalar(L"SELECT CASE WHEN to_regclass('hudcache') IS NULL THEN 0 ELSE 1 END");
    if (!t.Status().IsOk()) {
        return t.Status();
    }
    if (present == L"1") {
        return Upgrade(t);
    }
    std::wstring flags;
    for (const auto& flag : CountedFlags()) {
        flags += (flags.empty() ? L"'" : L", '") + flag + L"'";
    }
    const std::wstring found = t.Scalar(
        L"SELECT count(*) FROM information_schema.columns WHERE table_schema = current_schema() "
        L"AND table_name = 'handsplayers' AND column_name IN (" +
        flags + L")");
    if (found != std::to_wstring(CountedFlags().size())) {
        return t.Status().IsOk()
                   ? CStatus::InvalidArgument(L"handsplayers lacks a flag column the HUD counts")
                   : t.Status();
    }
    for (const auto& statement : TableStatements()) {
        (void)t.Execute(statement);
    }
    for (const auto& statement : TriggerStatements()) {
        (void)t.Execute(statement);
    }
    for (const auto& statement : FillStatements()) {
        (void)t.Execute(statement);
    }
    return t.Commit();
}

CStatus CHudStatsCache::Rebuild()
{
    CTransaction t(m_db);
    (void)t.Execute(kLockWriters);
    (void)t.Execute(L"DELETE FROM hudcache");
    for (const auto& statement : FillStatements()) {
        (void)t.Execute(statement);
    }
    return t.Commit();
}

CStatus CHudStatsCache::Compact(int64_t maxRows)
{
    std::wstring having;
    for (const wchar_t* count : kCounts) {
        having += FormatW(L" OR sum(%ls) <> 0", count);
    }
    const std::wstring counts = CountList(L"");
    // The rows of differences go; each adds to its hour, its day and its
    // month, whose rows are made anew from the old ones and the differences.
    CTransaction t(m_db);
    (void)t.Execute(
        FormatW(L"WITH gone AS (DELETE FROM hudcache WHERE ctid IN (SELECT ctid FROM hudcache "
                L"WHERE NOT merged LIMIT %lld) RETURNING idplayer, idgametype, bucket, n",
                static_cast<long long>(maxRows)) +
        counts +
        L"), "
        L"levels AS (SELECT idplayer, idgametype, 0 AS level, bucket, n" +
        counts +
        L" FROM gone UNION ALL SELECT idplayer, idgametype, 1, floor(bucket / 24.0)::integer, n" +
        counts + L" FROM gone UNION ALL SELECT idplayer, idgametype, 2, " +
        MonthOfDay(L"floor(bucket / 24.0)::integer") + L", n" + counts +
        L" FROM gone), "
        L"keys AS (SELECT DISTINCT idplayer, idgametype, level, bucket FROM levels), "
        L"old AS (DELETE FROM hudcache c USING keys k WHERE c.merged AND c.idplayer = k.idplayer "
        L"AND c.level = k.level AND c.bucket = k.bucket AND c.idgametype = k.idgametype RETURNING "
        L"c.idplayer, c.idgametype, c.level, c.bucket, c.n" +
        CountList(L"c.") +
        L") "
        L"INSERT INTO hudcache " +
        Columns() + L" SELECT idplayer, idgametype, level, bucket, sum(n)" + Sums(L"") +
        L", true FROM (SELECT * FROM levels UNION ALL SELECT * FROM old) AS l GROUP BY idplayer, "
        L"idgametype, level, bucket HAVING sum(n) <> 0" +
        having);
    return t.Commit();
}

int64_t CHudStatsCache::PendingRows()
{
    CTransaction t(m_db);
    const std::wstring count = t.Scalar(L"SELECT count(*) FROM hudcache WHERE NOT merged");
    return t.Status().IsOk() && !count.empty() ? std::stoll(count) : -1;
}

std::wstring CHudStatsCache::ReadQuery(const std::vector<int32_t>& playerIds,
                                       int64_t periodStart,
                                       int32_t gameKind,
                                       int32_t bigBlind)
{
    std::wstring players;
    for (const int32_t id : playerIds) {
        players += (players.empty() ? L"" : L",") + std::to_wstring(id);
    }
    // The hour that holds the first counted second; its seconds up to the
    // period start are taken off row by row. The rest of its day comes by the
    // hour, the rest of that day's month by the day, later months whole; the
    // differences not folded yet are all by the hour.
    const int64_t first = periodStart + 1;
    const int64_t hour = first >= 0 ? first / 3600 : (first - 3599) / 3600;
    const int64_t day = hour >= 0 ? hour / 24 : (hour - 23) / 24;
    const auto midnight = static_cast<time_t>(day * 86400);
    std::tm date{};
    (void)gmtime_r(&midnight, &date);
    const int64_t month = (static_cast<int64_t>(date.tm_year) - 70) * 12 + date.tm_mon;
    std::tm next{};
    next.tm_year = date.tm_year + (date.tm_mon == 11 ? 1 : 0);
    next.tm_mon = (date.tm_mon + 1) % 12;
    next.tm_mday = 1;
    const int64_t nextMonthDay = static_cast<int64_t>(timegm(&next)) / 86400;

    const std::wstring condition = L" " + HudGameKindCondition(gameKind, bigBlind);
    const std::wstring from = FormatW(
        L" FROM hudcache AS c, gametypes WHERE c.idgametype = gametypes.id AND "
        L"c.idplayer IN (%ls) AND ",
        players.c_str());
    const auto part = [&](const std::wstring& range) {
        return L"SELECT c.idplayer, c.n" + CountList(L"c.") + from + range + condition;
    };
    const auto number = [](int64_t value) { return std::to_wstring(value); };
    std::wstring sums;
    for (const wchar_t* count : kCounts) {
        sums += FormatW(L", sum(t.%ls) AS %ls", count, count);
    }
    return L"SELECT t.idplayer, sum(t.n) AS n" + sums + L" FROM (" +
           part(L"NOT c.merged AND c.bucket >= " + number(hour)) + L" UNION ALL " +
           part(L"c.merged AND c.level = 0 AND c.bucket >= " + number(hour) + L" AND c.bucket < " +
                number((day + 1) * 24)) +
           L" UNION ALL " +
           part(L"c.merged AND c.level = 1 AND c.bucket > " + number(day) + L" AND c.bucket < " +
                number(nextMonthDay)) +
           L" UNION ALL " + part(L"c.merged AND c.level = 2 AND c.bucket > " + number(month)) +
           L" UNION ALL SELECT hp.idplayer, -1" + FlagValues(L"hp", L"-") +
           FormatW(
               L" FROM hands AS h, gametypes, handsplayers AS hp WHERE h.idgametype = "
               L"gametypes.id AND h.id = hp.idhand AND hp.idplayer IN (%ls) AND "
               L"h.\"localtime\" >= %lld AND h.\"localtime\" <= %lld",
               players.c_str(), static_cast<long long>(hour * 3600),
               static_cast<long long>(periodStart)) +
           condition + L") AS t GROUP BY t.idplayer";
}
