#include "db/SeveralWriters.h"

#include "companion/CODBCRecordset.h"
#include "db/CDbContext.h"
#include "db/IConnection.h"
#include "foundation/ILogSink.h"
#include "foundation/WideText.h"

namespace kroDB {

namespace {

struct CSequence
{
    const wchar_t* name;
    const wchar_t* table;
    const wchar_t* column;
};

const CSequence kSequences[] = {
    {L"hands_id_seq", L"hands", L"id"},
    {L"handsplayers_id_seq", L"handsplayers", L"id"},
    {L"players_idplayer_seq", L"players", L"idplayer"},
    {L"gametypes_id_seq", L"gametypes", L"id"},
    {L"files_id_seq", L"files", L"id"},
    {L"aliases_id_seq", L"aliases", L"id"},
};

// The unique keys. The hand's key leads with its room hand number, so that
// the same index serves the lookup by number alone.
const wchar_t* const kUniqueKeys[] = {L"hands_samehand", L"players_samename", L"gametypes_samekey",
                                      L"files_samename", L"aliasdata_samemember"};

// Any fixed number: the upgrade of every program waits here for the others.
constexpr const wchar_t* kUpgradeLock = L"SELECT pg_advisory_xact_lock(731202512) AS locked;";

std::vector<std::wstring> Columns(const std::wstring& list)
{
    std::vector<std::wstring> columns;
    size_t start = 0;
    while (start <= list.size()) {
        const size_t comma = list.find(L',', start);
        columns.push_back(
            list.substr(start, comma == std::wstring::npos ? std::wstring::npos : comma - start));
        if (comma == std::wstring::npos) {
            break;
        }
        start = comma + 1;
    }
    return columns;
}

int64_t Count(IConnection& connection, const std::wstring& sql, bool& ok)
{
    std::unique_ptr<CODBCRecordset> rs;
    if (!connection.OpenRecordset(sql, rs)) {
        ok = false;
        return 0;
    }
    return rs->IsEOF() ? 0 : rs->Field(size_t{0}).AsLong();
}

bool HasRelation(IConnection& connection, const std::wstring& name, bool& ok)
{
    return Count(connection,
                 L"SELECT count(*) FROM pg_class WHERE relname = '" + name +
                     L"' AND relnamespace = 'public'::regnamespace;",
                 ok) > 0;
}

// Merges the rows of `table` that share `key` into the one with the smallest
// `id`, pointing `references` (table.column pairs) at it first; the number of
// rows merged away.
int64_t MergeTwice(IConnection& connection,
                   const std::wstring& table,
                   const std::wstring& id,
                   const std::wstring& key,
                   const std::vector<std::pair<std::wstring, std::wstring>>& references,
                   bool& ok)
{
    const std::wstring map = L"vx_merge_" + table;
    std::wstring join;
    std::wstring notNull;
    for (const auto& column : Columns(key)) {
        join += (join.empty() ? L"" : L" AND ") + (L"t." + column + L" = k." + column);
        notNull += (notNull.empty() ? L"" : L" AND ") + (column + L" IS NOT NULL");
    }
    ok = ok && connection.Execute(L"CREATE TEMP TABLE " + map + L" ON COMMIT DROP AS SELECT t." +
                                  id + L" AS old, k.keep FROM " + table + L" t JOIN (SELECT " +
                                  key + L", min(" + id + L") AS keep FROM " + table + L" WHERE " +
                                  notNull + L" GROUP BY " + key + L" HAVING count(*) > 1) k ON " +
                                  join + L" AND t." + id + L" <> k.keep");
    for (const auto& [other, column] : references) {
        ok = ok && connection.Execute(L"UPDATE " + other + L" SET " + column + L" = m.keep FROM " +
                                      map + L" m WHERE " + other + L"." + column + L" = m.old");
    }
    if (table == L"players") {
        ok = ok && connection.Execute(
                       L"UPDATE players SET hero = TRUE WHERE idplayer IN (SELECT m.keep FROM " +
                       map + L" m JOIN players p ON p.idplayer = m.old WHERE p.hero)");
    }
    return ok ? Count(connection,
                      L"WITH gone AS (DELETE FROM " + table + L" WHERE " + id +
                          L" IN (SELECT old FROM " + map +
                          L") RETURNING 1) SELECT count(*) FROM "
                          L"gone;",
                      ok)
              : 0;
}

bool Prepare(IConnection& connection, CRepairCounts& counts)
{
    bool ok = true;
    std::unique_ptr<CODBCRecordset> locked;
    ok = connection.OpenRecordset(kUpgradeLock, locked);
    locked.reset();
    ok =
        ok && connection.Execute(L"ALTER TABLE hands ADD COLUMN IF NOT EXISTS idsite integer NULL");
    ok = ok &&
         connection.Execute(L"ALTER TABLE files ADD COLUMN IF NOT EXISTS finishsize bigint NULL");
    ok = ok &&
         connection.Execute(L"ALTER TABLE files ADD COLUMN IF NOT EXISTS finishcrc bigint NULL");
    for (const auto& s : kSequences) {
        ok = ok && connection.Execute(FormatW(L"CREATE SEQUENCE IF NOT EXISTS %ls", s.name));
        // Past the largest id stored, never back.
        ok = ok && connection.Execute(FormatW(
                       L"SELECT setval('%ls', m) FROM (SELECT max(%ls) AS m FROM %ls) t WHERE m "
                       L">= 1 AND m >= (SELECT last_value FROM %ls)",
                       s.name, s.column, s.table, s.name));
    }
    if (!ok) {
        return false;
    }

    if (!HasRelation(connection, L"gametypes_samekey", ok) && ok) {
        counts.gameTypesMerged =
            MergeTwice(connection, L"gametypes", L"id",
                       L"idsite,currency,idgamekind,bigblind,ante,maxseats,fast",
                       {{L"hands", L"idgametype"}}, ok);
        ok = ok && connection.Execute(
                       L"CREATE UNIQUE INDEX IF NOT EXISTS gametypes_samekey ON gametypes "
                       L"(idsite,currency,idgamekind,bigblind,ante,maxseats,fast)");
    }
    if (!HasRelation(connection, L"files_samename", ok) && ok) {
        counts.filesMerged =
            MergeTwice(connection, L"files", L"id", L"path,idsite", {{L"hands", L"idfile"}}, ok);
        ok = ok && connection.Execute(
                       L"CREATE UNIQUE INDEX IF NOT EXISTS files_samename ON files (path,idsite)");
    }
    if (!HasRelation(connection, L"players_samename", ok) && ok) {
        counts.playersMerged = MergeTwice(connection, L"players", L"idplayer", L"idsite,name",
                                          {{L"handsplayers", L"idplayer"},
                                           {L"handsactions", L"idplayer"},
                                           {L"aliasdata", L"idplayer"}},
                                          ok);
        ok = ok &&
             connection.Execute(
                 L"CREATE UNIQUE INDEX IF NOT EXISTS players_samename ON players (idsite,name)");
    }
    if (!HasRelation(connection, L"aliasdata_samemember", ok) && ok) {
        counts.aliasMembersRemoved =
            Count(connection,
                  L"WITH gone AS (DELETE FROM aliasdata a USING aliasdata b WHERE a.ctid > b.ctid "
                  L"AND a.idalias = b.idalias AND a.idplayer = b.idplayer RETURNING 1) SELECT "
                  L"count(*) FROM gone;",
                  ok);
        ok = ok && connection.Execute(
                       L"CREATE UNIQUE INDEX IF NOT EXISTS aliasdata_samemember ON aliasdata "
                       L"(idalias,idplayer)");
    }
    if (!HasRelation(connection, L"hands_samehand", ok) && ok) {
        ok = ok && connection.Execute(
                       L"UPDATE hands SET idsite = g.idsite FROM gametypes g WHERE hands.idsite IS "
                       L"NULL AND g.id = hands.idgametype");
        // The first copy of a hand stored twice stays; the others go with
        // every row that names them.
        ok = ok && connection.Execute(
                       L"CREATE TEMP TABLE vx_twice ON COMMIT DROP AS SELECT id FROM (SELECT id, "
                       L"row_number() OVER (PARTITION BY sitehandnumber, idsite, utc ORDER BY id) "
                       L"AS n FROM hands WHERE sitehandnumber IS NOT NULL AND idsite IS NOT NULL "
                       L"AND utc IS NOT NULL) d WHERE n > 1");
        for (const wchar_t* rows : {L"handsactions", L"pots", L"runittwice", L"handsplayers"}) {
            ok = ok && connection.Execute(FormatW(
                           L"DELETE FROM %ls WHERE idhand IN (SELECT id FROM vx_twice)", rows));
        }
        ok = ok &&
             connection.Execute(L"DELETE FROM handhistory WHERE id IN (SELECT id FROM vx_twice)");
        counts.handsRemoved = ok ? Count(connection,
                                         L"WITH gone AS (DELETE FROM hands WHERE id IN (SELECT id "
                                         L"FROM vx_twice) RETURNING 1) SELECT count(*) FROM gone;",
                                         ok)
                                 : 0;
        ok = ok && connection.Execute(
                       L"CREATE UNIQUE INDEX IF NOT EXISTS hands_samehand ON hands "
                       L"(sitehandnumber,idsite,utc)");
        // The unique key serves the lookup by number that this index served.
        ok = ok && connection.Execute(L"DROP INDEX IF EXISTS handsindex6");
    }
    return ok;
}

}  // namespace

std::vector<std::wstring> IdSequenceNames()
{
    std::vector<std::wstring> names;
    for (const auto& s : kSequences) {
        names.emplace_back(s.name);
    }
    return names;
}

bool ReadyForSeveralWriters(CDbContext& context)
{
    CConnectionLease connection(context.AcquireConnection(true));
    if (!connection || !connection->IsOpen()) {
        return false;
    }
    std::wstring names;
    for (const auto& s : kSequences) {
        names += (names.empty() ? L"'" : L",'") + std::wstring(s.name) + L"'";
    }
    for (const wchar_t* key : kUniqueKeys) {
        names += L",'" + std::wstring(key) + L"'";
    }
    bool ok = true;
    const int64_t relations =
        Count(*connection.get(),
              L"SELECT count(*) FROM pg_class WHERE relnamespace = 'public'::regnamespace AND "
              L"relname IN (" +
                  names + L");",
              ok);
    const int64_t columns =
        Count(*connection.get(),
              L"SELECT count(*) FROM pg_attribute WHERE NOT attisdropped AND ((attrelid = "
              L"to_regclass('hands') AND attname = 'idsite') OR (attrelid = to_regclass('files') "
              L"AND attname IN ('finishsize', 'finishcrc')));",
              ok);
    const int64_t wanted = static_cast<int64_t>(std::size(kSequences) + std::size(kUniqueKeys));
    return ok && relations == wanted && columns == 3;
}

bool PrepareForSeveralWriters(CDbContext& context, CRepairCounts* repaired)
{
    CRepairCounts counts;
    if (repaired != nullptr) {
        *repaired = counts;
    }
    if (ReadyForSeveralWriters(context)) {
        return true;
    }
    // One unit on the shared connection: no other thread may slip statements
    // into it.
    auto lock = context.LockConnection();
    CConnectionLease connection(context.AcquireConnection(true));
    if (!connection || !connection->IsOpen() || !connection->BeginUnit().IsOk()) {
        return false;
    }
    if (!Prepare(*connection.get(), counts)) {
        connection->RollbackUnit();
        return false;
    }
    const CStatus committed = connection->CommitUnit();
    if (!committed.IsOk()) {
        context.Log().Log(L"Database upgrade failed: " + committed.Message());
        return false;
    }
    context.ForgetIds();
    if (counts.handsRemoved + counts.playersMerged + counts.gameTypesMerged + counts.filesMerged +
            counts.aliasMembersRemoved >
        0) {
        const std::wstring text = FormatW(
            L"Database upgrade: %lld hands stored twice were removed; %lld players, %lld game "
            L"types and %lld files stored twice were merged; %lld alias members stored twice "
            L"were removed",
            static_cast<long long>(counts.handsRemoved),
            static_cast<long long>(counts.playersMerged),
            static_cast<long long>(counts.gameTypesMerged),
            static_cast<long long>(counts.filesMerged),
            static_cast<long long>(counts.aliasMembersRemoved));
        context.Log().Log(text);
        context.Log().Output(text);
    }
    if (repaired != nullptr) {
        *repaired = counts;
    }
    return true;
}

}  // namespace kroDB
