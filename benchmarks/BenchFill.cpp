#include "benchmarks/BenchFill.h"

#include "companion/CDatabase.h"
#include "companion/CODBCRecordset.h"
#include "db/CDbContext.h"
#include "db/Catalog.h"
#include "db/tables/CActionList.h"
#include "foundation/ILogSink.h"
#include "foundation/IUserNotifier.h"
#include "foundation/LocalTime.h"
#include "foundation/WideText.h"
#include "parser/CHandHistoryImporter.h"
#include "parser/CParseContext.h"
#include "parser/CParserEnvironment.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <map>
#include <tuple>

#include "benchmarks/BenchCorpus.h"

namespace vxbench {

namespace {

class CQuietNotifier : public IUserNotifier
{
public:
    void Notify(const std::wstring&) override {}
};

class CFiller
{
public:
    CFiller(kroDB::CDbContext& db, CDatabase& c, std::string& error)
        : m_db(db)
        , m_c(c)
        , m_error(error)
    {}

    bool Execute(const std::wstring& sql)
    {
        const CStatus status = m_c.ExecuteSQL(sql);
        if (!status.IsOk()) {
            m_error = ToUtf8(status.Message());
        }
        return status.IsOk();
    }

    int64_t Number(const std::wstring& sql)
    {
        CODBCRecordset rs(m_c);
        if (!rs.Open(sql).IsOk() || rs.IsEOF()) {
            return -1;
        }
        return rs.Field(size_t{0}).AsLong();
    }

    // The column list of `table` with some columns given other expressions.
    std::pair<std::wstring, std::wstring> Columns(
        const std::wstring& table, const std::map<std::wstring, std::wstring>& overrides)
    {
        std::wstring names;
        std::wstring values;
        for (const auto& column : kroDB::ColumnNames(m_db, table)) {
            names += (names.empty() ? L"" : L", ") + std::wstring(L"\"") + column + L"\"";
            const auto it = overrides.find(column);
            values += (values.empty() ? L"" : L", ") +
                      (it != overrides.end() ? it->second : L"t.\"" + column + L"\"");
        }
        return {names, values};
    }

    // Hands of a synthetic template: six players with random flags each.
    bool SyntheticTemplate()
    {
        return Execute(
                   L"insert into gametypes (id, idsite, currency, type, idgamekind, maxseats, "
                   L"mix, smallblind, bigblind, ante, fast) values (1, 1, 0, 1, 2, 6, 0, 2, 5, "
                   L"0, false)") &&
               Execute(
                   L"insert into players (idplayer, name, idsite, hero) select g, 'T' || g, "
                   L"1, g = 1 from generate_series(1, 60) g") &&
               Execute(
                   L"insert into hands (id, idgametype, \"localtime\", utc, sitehandnumber) "
                   L"select g, 1, 1570000000 + g * 60, 1570000000 + g * 60, g from "
                   L"generate_series(1, 200) g") &&
               Execute(
                   L"insert into handsplayers (id, idhand, idplayer, position, flag_vpip_opp, "
                   L"flag_vpip, flag_pf_pfr_opp, flag_pf_pfr, flag_pf_3bet_opp, flag_pf_3bet, "
                   L"flag_pf_4bet_opp, flag_pf_4bet) select h * 10 + s, h, case when s = 1 "
                   L"then 1 else 2 + (h * 7 + s * 11) % 59 end, s, true, random() < 0.3, true, "
                   L"random() < 0.2, random() < 0.5, random() < 0.05, random() < 0.1, "
                   L"random() < 0.02 from generate_series(1, 200) h, generate_series(1, 6) s");
    }

    bool Template()
    {
        const std::string corpus = CorpusFile("pokerstars/PokerStudier_HH6.txt");
        if (!std::filesystem::exists(corpus)) {
            return SyntheticTemplate();
        }
        CNullLogSink log;
        CQuietNotifier notifier;
        kroDB::CActionList actions;
        kroHandParser::CParseContext context;
        kroHandParser::CParseSettings settings;
        settings.localOffset = MeasureLocalUtcOffset();
        kroHandParser::CParserEnvironment env(m_db, actions, context, log, notifier, settings);
        kroHandParser::CHandHistoryImporter importer(env);
        int64_t fileId = 0;
        int currency = 0;
        int64_t position = 0;
        (void)importer.ImportHandHistoryFile(corpus, fileId, currency, position, L"PokerStars", 0);
        return true;
    }

    bool Fill(int64_t wanted, const std::function<std::wstring(int64_t hero)>& playerOf)
    {
        (void)Execute(L"SET synchronous_commit = off");
        if (!Template()) {
            return false;
        }
        const int64_t templateHands = Number(L"select count(*) from hands");
        const int64_t handStride = Number(L"select max(id) + 1 from hands");
        const int64_t playerStride = Number(L"select max(id) + 1 from handsplayers");
        const int64_t hero = Number(
            L"select idplayer from handsplayers group by idplayer order by count(*) desc, "
            L"idplayer limit 1");
        if (templateHands <= 0 || hero <= 0) {
            m_error = "no template hands";
            return false;
        }
        const int64_t copies =
            std::max<int64_t>(0, (wanted + templateHands - 1) / templateHands - 1);
        const int64_t now = static_cast<int64_t>(std::time(nullptr));
        // Spread over the last eight months, the newest three days ago.
        const int64_t newest = now - 3 * 86400;
        const int64_t span = 240 * 86400;
        const std::wstring time =
            FormatW(L"(%lld - (t.id * 7919 + g.k * 104729) %% %lld)",
                    static_cast<long long>(newest), static_cast<long long>(span));
        const auto hands = Columns(
            L"hands", {{L"id", FormatW(L"t.id + g.k * %lld", static_cast<long long>(handStride))},
                       {L"sitehandnumber", FormatW(L"t.sitehandnumber + g.k * %lld",
                                                   static_cast<long long>(handStride))},
                       {L"localtime", time},
                       {L"utc", L"t.utc - t.\"localtime\" + " + time},
                       {L"et", L"t.et - t.\"localtime\" + " + time}});
        std::map<std::wstring, std::wstring> playerColumns = {
            {L"id", FormatW(L"t.id + g.k * %lld", static_cast<long long>(playerStride))},
            {L"idhand", FormatW(L"t.idhand + g.k * %lld", static_cast<long long>(handStride))}};
        const std::wstring player = playerOf(hero);
        if (!player.empty()) {
            playerColumns[L"idplayer"] = player;
        }
        const auto players = Columns(L"handsplayers", playerColumns);
        const auto copy = [&](const std::wstring& table, const auto& columns, int64_t from,
                              int64_t to) {
            return Execute(
                L"insert into " + table + L" (" + columns.first + L") select " + columns.second +
                L" from " + table +
                FormatW(L" t cross join generate_series(%lld, %lld) g(k) where t.id < %lld",
                        static_cast<long long>(from), static_cast<long long>(to),
                        static_cast<long long>(table == L"hands" ? handStride : playerStride)));
        };
        // In slices, so that no statement holds millions of rows in memory.
        for (int64_t from = 1; from <= copies; from += 500) {
            const int64_t to = std::min(copies, from + 499);
            if (!copy(L"hands", hands, from, to) || !copy(L"handsplayers", players, from, to)) {
                return false;
            }
        }
        // The ids given out next follow the rows written here.
        for (const auto& [sequence, table, column] :
             {std::tuple{L"hands_id_seq", L"hands", L"id"},
              std::tuple{L"handsplayers_id_seq", L"handsplayers", L"id"},
              std::tuple{L"players_idplayer_seq", L"players", L"idplayer"}}) {
            if (!Execute(FormatW(L"SELECT setval('%ls', m) FROM (SELECT max(%ls) AS m FROM %ls) t "
                                 L"WHERE m >= 1 AND to_regclass('%ls') IS NOT NULL",
                                 sequence, column, table, sequence))) {
                return false;
            }
        }
        return Execute(L"ANALYZE");
    }

private:
    kroDB::CDbContext& m_db;
    CDatabase& m_c;
    std::string& m_error;
};

}  // namespace

bool FillWithCopies(kroDB::CDbContext& db,
                    CDatabase& connection,
                    int64_t wanted,
                    const std::function<std::wstring(int64_t hero)>& playerOf,
                    std::string& error)
{
    return CFiller(db, connection, error).Fill(wanted, playerOf);
}

}  // namespace vxbench
