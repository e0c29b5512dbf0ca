#include "hud/CHudStats.h"

#include "companion/CDatabase.h"
#include "companion/CODBCRecordset.h"
#include "db/CDbContext.h"
#include "db/DatabaseAdmin.h"
#include "db/IConnection.h"
#include "db/SqlText.h"
#include "foundation/IProfile.h"
#include "foundation/WideText.h"
#include "hud/CHudStatsCache.h"

#include <ctime>
#include <map>

namespace {

// The PokerStars room's id in the sites table: audit lines come from it only.
constexpr int32_t kAuditSiteId = 1;

// How long the database is left alone after it could not be reached.
constexpr std::chrono::seconds kPauseAfterFailure{15};

// How long the answer to whether the database has the summary holds.
constexpr std::chrono::seconds kSummaryRecheck{60};

CHudStatsRow ReadRow(const CODBCRecordset& rs)
{
    CHudStatsRow row;
    row.n = rs.Field(L"n").AsLong();
    row.vpip = rs.Field(L"vpip").AsLong();
    row.vpipOpp = rs.Field(L"vpip_opp").AsLong();
    row.pfr = rs.Field(L"pfr").AsLong();
    row.pfrOpp = rs.Field(L"pfr_opp").AsLong();
    row.p3b = rs.Field(L"p3b").AsLong();
    row.p3bOpp = rs.Field(L"p3b_opp").AsLong();
    row.p4b = rs.Field(L"p4b").AsLong();
    row.p4bOpp = rs.Field(L"p4b_opp").AsLong();
    return row;
}

// The ids of the players of `names` in the audit lines' room, by name; the
// lowest id where a name is stored twice.
bool PlayerIds(CDatabase& database,
               const std::vector<std::wstring>& names,
               std::map<std::wstring, int32_t>& ids)
{
    std::wstring list;
    for (const auto& name : names) {
        if (!name.empty()) {
            list += (list.empty() ? L"'" : L",'") + kroDB::SqlEscape(name) + L"'";
        }
    }
    if (list.empty()) {
        return true;
    }
    CODBCRecordset rs(database);
    if (!rs.Open(FormatW(L"select idplayer, name from players where idsite=%d and name in (%ls) "
                         L"order by idplayer desc",
                         kAuditSiteId, list.c_str()))
             .IsOk()) {
        return false;
    }
    for (; !rs.IsEOF(); (void)rs.MoveNext()) {
        ids[rs.Field(L"name").AsString()] = rs.Field(L"idplayer").AsInt();
    }
    return rs.LastError().empty();
}

}  // namespace

CHudStats::CHudStats(kroDB::CDbContext& db, IProfile& profile)
    : m_db(db)
    , m_profile(profile)
    , m_now([] { return static_cast<int64_t>(std::time(nullptr)); })
{}

std::wstring CHudStats::HudStatsText(const std::wstring& playerName,
                                     int32_t bigBlind,
                                     int32_t gameKind)
{
    if (playerName.empty()) {
        return std::wstring();
    }
    const auto texts = HudStatsTexts({playerName}, bigBlind, gameKind);
    return texts ? texts->front() : std::wstring();
}

std::optional<std::vector<std::wstring>> CHudStats::HudStatsTexts(
    const std::vector<std::wstring>& names, int32_t bigBlind, int32_t gameKind)
{
    std::vector<std::wstring> texts(names.size());
    bool anyone = false;
    for (const auto& name : names) {
        anyone = anyone || !name.empty();
    }
    if (!anyone) {
        return texts;
    }
    kroDB::CConnectParts parts;
    parts.server = m_profile.GetProfileString(L"Base", L"ServerIP", L"127.0.0.1");
    parts.port = m_profile.GetProfileString(L"Base", L"PortDB", L"5432");
    parts.database = m_profile.GetProfileString(L"Base", L"NameDB", L"KRO");
    parts.user = m_profile.GetProfileString(L"Base", L"UserDB", L"postgres");
    parts.password = m_profile.GetProfileString(L"Base", L"PasswordDB", L"lindqvarte42");
    const std::wstring connect = kroDB::MakeConnectString(parts);
    if (connect != m_db.MainConnectString()) {
        m_db.SetConnectStrings(connect);
    }
    const int months =
        HudCacheMonths(m_profile.GetProfileString(L"Base", L"HUD_CacheMonths", L"6"));
    const std::optional<int64_t> periodStart = HudPeriodStart(m_now(), months);
    if (!periodStart) {
        return std::nullopt;
    }
    const auto counts = Counts(names, *periodStart, bigBlind, gameKind, Source::Best);
    if (!counts) {
        return texts;
    }
    for (size_t i = 0; i < names.size(); ++i) {
        texts[i] = FormatHudStatsText(names[i], (*counts)[i]);
    }
    return texts;
}

std::optional<std::vector<CHudStatsRow>> CHudStats::CountsByQuery(
    const std::vector<std::wstring>& names, int64_t periodStart, int32_t bigBlind, int32_t gameKind)
{
    return Counts(names, periodStart, bigBlind, gameKind, Source::Query);
}

std::optional<std::vector<CHudStatsRow>> CHudStats::CountsBySummary(
    const std::vector<std::wstring>& names, int64_t periodStart, int32_t bigBlind, int32_t gameKind)
{
    return Counts(names, periodStart, bigBlind, gameKind, Source::Summary);
}

bool CHudStats::SummaryInstalled(CDatabase& database)
{
    const auto now = std::chrono::steady_clock::now();
    if (!m_summary || (!*m_summary && now - m_summaryAsked >= kSummaryRecheck)) {
        CODBCRecordset rs(database);
        m_summary = rs.Open(CHudStatsCache::InstalledQuery()).IsOk() && !rs.IsEOF() &&
                    rs.Field(size_t{0}).AsInt() == 1;
        m_summaryAsked = now;
    }
    return *m_summary;
}

std::optional<std::vector<CHudStatsRow>> CHudStats::Counts(const std::vector<std::wstring>& names,
                                                           int64_t periodStart,
                                                           int32_t bigBlind,
                                                           int32_t gameKind,
                                                           Source source)
{
    const auto now = std::chrono::steady_clock::now();
    if (m_failedAt && now - *m_failedAt < kPauseAfterFailure) {
        return std::nullopt;
    }
    kroDB::CConnectionLease connection(m_db.AcquireConnection(true));
    CDatabase* database = connection ? connection->Database() : nullptr;
    if (database == nullptr) {
        m_failedAt = now;
        return std::nullopt;
    }
    m_failedAt.reset();
    // Statements on the shared connection are serialised.
    auto lock = m_db.LockConnection();
    std::map<std::wstring, int32_t> ids;
    if (!PlayerIds(*database, names, ids)) {
        return std::nullopt;
    }
    std::vector<CHudStatsRow> rows(names.size());
    if (ids.empty()) {
        return rows;
    }
    std::vector<int32_t> wanted;
    for (const auto& [name, id] : ids) {
        wanted.push_back(id);
    }
    std::map<int32_t, CHudStatsRow> byId;
    const bool summary = source == Source::Summary ||
                         (source == Source::Best && m_useSummary && SummaryInstalled(*database));
    if (summary) {
        if (source == Source::Summary && !SummaryInstalled(*database)) {
            return std::nullopt;
        }
        CODBCRecordset rs(*database);
        if (!rs.Open(CHudStatsCache::ReadQuery(wanted, periodStart, gameKind, bigBlind)).IsOk()) {
            // A summary dropped meanwhile is asked for again next time.
            m_summary.reset();
            return std::nullopt;
        }
        for (; !rs.IsEOF(); (void)rs.MoveNext()) {
            byId[rs.Field(L"idplayer").AsInt()] = ReadRow(rs);
        }
    } else {
        for (const int32_t id : wanted) {
            CODBCRecordset rs(*database);
            if (!rs.Open(HudStatsQuery(id, periodStart, gameKind, bigBlind)).IsOk()) {
                return std::nullopt;
            }
            for (; !rs.IsEOF(); (void)rs.MoveNext()) {
                byId[id] += ReadRow(rs);
            }
        }
    }
    for (size_t i = 0; i < names.size(); ++i) {
        const auto id = ids.find(names[i]);
        if (id != ids.end()) {
            rows[i] = byId[id->second];
        }
    }
    return rows;
}
