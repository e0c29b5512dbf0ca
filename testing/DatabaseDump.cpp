#include "testing/DatabaseDump.h"

#include "companion/CDatabase.h"
#include "companion/CODBCRecordset.h"
#include "foundation/WideText.h"

#include <algorithm>
#include <regex>

namespace vxtest {

namespace {

const wchar_t* const kHandKey = L"concat_ws('/', h.sitehandnumber, h.idsite, h.utc)";

struct CTableQuery
{
    const char* table;
    std::wstring sql;
};

std::vector<CTableQuery> Queries()
{
    const std::wstring key = kHandKey;
    return {
        {"hands", L"SELECT concat_ws('|', " + key +
                      L", (to_jsonb(g) - 'id')::text, (to_jsonb(h) - 'id' - 'idfile' - "
                      L"'idgametype')::text) FROM hands h LEFT JOIN gametypes g ON g.id = "
                      L"h.idgametype"},
        {"handsplayers", L"SELECT concat_ws('|', " + key +
                             L", p.idsite, p.name, (to_jsonb(hp) - 'id' - 'idhand' - "
                             L"'idplayer')::text) FROM handsplayers hp JOIN hands h ON h.id = "
                             L"hp.idhand LEFT JOIN players p ON p.idplayer = hp.idplayer"},
        {"handsactions", L"SELECT concat_ws('|', " + key +
                             L", a.actionno, a.idaction, CASE WHEN a.idplayer > 0 THEN p.idsite "
                             L"|| '/' || p.name ELSE a.idplayer::text END, a.amount) FROM "
                             L"handsactions a JOIN hands h ON h.id = a.idhand LEFT JOIN players p "
                             L"ON p.idplayer = a.idplayer"},
        {"pots", L"SELECT concat_ws('|', " + key +
                     L", t.potnum, t.amt) FROM pots t JOIN hands h ON h.id = t.idhand"},
        {"runittwice", L"SELECT concat_ws('|', " + key +
                           L", (to_jsonb(t) - 'idhand')::text) FROM runittwice t JOIN hands h ON "
                           L"h.id = t.idhand"},
        {"handhistory", L"SELECT concat_ws('|', " + key +
                            L", t.nvar, md5(coalesce(t.hh, ''))) FROM handhistory t JOIN hands h "
                            L"ON h.id = t.id"},
        {"players", L"SELECT concat_ws('|', idsite, name, hero, comment) FROM players"},
        // The summary the triggers keep: what it counts per player, game type
        // and hour, however many rows it took to count it.
        {"hudcache",
         L"SELECT concat_ws('|', p.idsite, p.name, (to_jsonb(g) - 'id')::text, c.bucket, "
         L"sum(c.n), sum(c.vpip_opp), sum(c.vpip), sum(c.pfr_opp), sum(c.pfr), sum(c.p3b_opp), "
         L"sum(c.p3b), sum(c.p4b_opp), sum(c.p4b)) FROM hudcache c LEFT JOIN players p ON "
         L"p.idplayer = c.idplayer LEFT JOIN gametypes g ON g.id = c.idgametype WHERE NOT "
         L"c.merged OR c.level = 0 GROUP BY p.idsite, p.name, g.id, c.bucket HAVING sum(c.n) <> 0"},
        {"gametypes", L"SELECT (to_jsonb(g) - 'id')::text FROM gametypes g"},
        {"files", L"SELECT concat_ws('|', path, idsite) FROM files"},
        {"aliases", L"SELECT name FROM aliases"},
        {"aliasdata",
         L"SELECT concat_ws('|', a.name, p.idsite, p.name) FROM aliasdata d LEFT "
         L"JOIN aliases a ON a.id = d.idalias LEFT JOIN players p ON p.idplayer = "
         L"d.idplayer"},
    };
}

std::vector<std::string> Rows(CDatabase& db, const std::wstring& sql, std::string& error)
{
    std::vector<std::string> rows;
    CODBCRecordset rs(db);
    const CStatus status = rs.Open(sql + L" ORDER BY 1");
    if (!status.IsOk()) {
        error = ToUtf8(status.Message());
        return rows;
    }
    for (; !rs.IsEOF(); rs.MoveNext()) {
        rows.push_back(ToUtf8(rs.Field(size_t{0}).AsString()));
    }
    return rows;
}

// The action strings of a hand name each player by an id of 7 hex digits
// before each action letter; written with the player's name instead.
std::string NameActionStrings(const std::string& row, const std::map<int64_t, std::string>& players)
{
    static const std::regex kStrings(R"re("(str_\w+)": "((?:[0-9a-f]{7}[A-Za-z])+)")re");
    std::string out;
    auto last = row.cbegin();
    for (std::sregex_iterator it(row.begin(), row.end(), kStrings), end; it != end; ++it) {
        out.append(last, (*it)[0].first);
        std::string named(1, '"');
        named += (*it)[1].str();
        named += "\": \"";
        const std::string groups = (*it)[2].str();
        for (size_t i = 0; i + 8 <= groups.size(); i += 8) {
            const int64_t id = std::stoll(groups.substr(i, 7), nullptr, 16);
            const auto player = players.find(id);
            named += player == players.end() ? std::to_string(id) : player->second;
            named += '/';
            named += groups[i + 7];
            named += ' ';
        }
        out += named;
        out += '"';
        last = (*it)[0].second;
    }
    out.append(last, row.cend());
    return out;
}

}  // namespace

CDatabaseDump DumpDatabase(SQLHENV env, const std::wstring& connectString)
{
    CDatabaseDump dump;
    CDatabase db(env);
    const CStatus open = db.Open(connectString);
    if (!open.IsOk()) {
        dump.error = ToUtf8(open.Message());
        return dump;
    }
    std::map<int64_t, std::string> players;
    {
        CODBCRecordset rs(db);
        if (rs.Open(L"SELECT idplayer, concat_ws('/', idsite, name) FROM players").IsOk()) {
            for (; !rs.IsEOF(); rs.MoveNext()) {
                players[rs.Field(size_t{0}).AsLong()] = ToUtf8(rs.Field(size_t{1}).AsString());
            }
        }
    }
    bool summary = false;
    {
        CODBCRecordset rs(db);
        summary =
            rs.Open(L"SELECT CASE WHEN to_regclass('hudcache') IS NULL THEN 0 ELSE 1 END").IsOk() &&
            !rs.IsEOF() && rs.Field(size_t{0}).AsString() == L"1";
    }
    for (const auto& q : Queries()) {
        if (std::string(q.table) == "hudcache" && !summary) {
            // A database without the HUD summary (it comes with the program's
            // start): nothing of it to compare.
            continue;
        }
        std::vector<std::string> rows = Rows(db, q.sql, dump.error);
        if (std::string(q.table) == "hands") {
            for (auto& row : rows) {
                row = NameActionStrings(row, players);
            }
            std::sort(rows.begin(), rows.end());
        }
        dump.tables[q.table] = std::move(rows);
    }
    return dump;
}

std::string CompareDumps(const CDatabaseDump& expected, const CDatabaseDump& actual)
{
    if (!expected.error.empty() || !actual.error.empty()) {
        return "cannot read: " + expected.error + actual.error;
    }
    for (const auto& [table, rows] : expected.tables) {
        const auto found = actual.tables.find(table);
        const std::vector<std::string> none;
        const std::vector<std::string>& other = found == actual.tables.end() ? none : found->second;
        if (rows == other) {
            continue;
        }
        std::string text = table + ": " + std::to_string(rows.size()) + " rows expected, " +
                           std::to_string(other.size()) + " found";
        for (size_t i = 0; i < rows.size() || i < other.size(); ++i) {
            const std::string a = i < rows.size() ? rows[i] : "<none>";
            const std::string b = i < other.size() ? other[i] : "<none>";
            if (a != b) {
                size_t from = 0;
                while (from < a.size() && from < b.size() && a[from] == b[from]) {
                    ++from;
                }
                from = from > 80 ? from - 80 : 0;
                text += "; first difference at row " + std::to_string(i) + ":\n  expected " +
                        a.substr(0, 40) + "..." + a.substr(from, 240) + "\n  found    " +
                        b.substr(0, 40) + "..." + b.substr(from, 240);
                break;
            }
        }
        return text;
    }
    return std::string();
}

std::string DatabaseFlaws(SQLHENV env, const std::wstring& connectString)
{
    const std::vector<std::pair<const char*, const wchar_t*>> checks = {
        {"hands stored twice",
         L"SELECT count(*) FROM (SELECT 1 FROM hands GROUP BY sitehandnumber, idsite, utc HAVING "
         L"count(*) > 1) d"},
        {"hands without players",
         L"SELECT count(*) FROM hands h WHERE NOT EXISTS (SELECT 1 FROM handsplayers p WHERE "
         L"p.idhand = h.id)"},
        {"actions of no hand",
         L"SELECT count(*) FROM handsactions a WHERE NOT EXISTS (SELECT 1 FROM hands h WHERE "
         L"h.id = a.idhand)"},
        {"actions stored twice",
         L"SELECT count(*) FROM (SELECT 1 FROM handsactions GROUP BY idhand, actionno HAVING "
         L"count(*) > 1) d"},
        {"pots of no hand",
         L"SELECT count(*) FROM pots t WHERE NOT EXISTS (SELECT 1 FROM hands h WHERE h.id = "
         L"t.idhand)"},
        {"hand players of no hand",
         L"SELECT count(*) FROM handsplayers t WHERE NOT EXISTS (SELECT 1 FROM hands h WHERE "
         L"h.id = t.idhand)"},
        {"hand texts of no hand",
         L"SELECT count(*) FROM handhistory t WHERE NOT EXISTS (SELECT 1 FROM hands h WHERE h.id "
         L"= t.id)"},
        {"hand players of no player",
         L"SELECT count(*) FROM handsplayers t WHERE NOT EXISTS (SELECT 1 FROM players p WHERE "
         L"p.idplayer = t.idplayer)"},
        {"players stored twice",
         L"SELECT count(*) FROM (SELECT 1 FROM players GROUP BY idsite, name HAVING count(*) > "
         L"1) d"},
    };
    std::string flaws;
    for (const auto& [what, sql] : checks) {
        const std::wstring value = QueryValue(env, connectString, sql);
        if (value != L"0") {
            flaws += std::string(what) + ": " + ToUtf8(value) + "; ";
        }
    }
    return flaws;
}

std::wstring QueryValue(SQLHENV env, const std::wstring& connectString, const std::wstring& sql)
{
    CDatabase db(env);
    if (!db.Open(connectString).IsOk()) {
        return L"<no database>";
    }
    CODBCRecordset rs(db);
    if (!rs.Open(sql).IsOk() || rs.IsEOF()) {
        return L"";
    }
    return rs.Field(size_t{0}).AsString();
}

}  // namespace vxtest
