#include "stats/CPlayerListQuery.h"

#include "companion/CDatabase.h"
#include "companion/CODBCRecordset.h"
#include "foundation/WideText.h"

namespace kroStats {

namespace {

// The columns of the query in the order they are read.
enum Column : size_t
{
    kPlayerId,
    kSiteId,
    kName,
    kHands,
    kVpip,
    kVpipOpp,
    kPfr,
    kPfrOpp,
    k3Bet,
    k3BetOpp,
    k4Bet,
    k4BetOpp,
    kFace3Bet,
    kCall3Bet,
    kFold3Bet,
    kWtsd,
    kWtsdOpp,
    kWonSd,
    kNetWon,
    kBbWon,
    kColdCall,
    kColdCallOpp,
    kLimp,
    kLimpFaced,
    kLimpCall,
    kLimpRaise,
    kLimpFold,
    kColumnCount
};

// The player's token in the hand's preflop action string: the id as at least
// seven lower-case hex digits, as the flag computation writes it.
const wchar_t* const kMe =
    L"lpad(to_hex(hp.idplayer), greatest(7, length(to_hex(hp.idplayer))), '0')";

}  // namespace

std::wstring PlayerListQueryText(const CPlayerListFilter& filter, bool withActionStrings)
{
    // The preflop action string holds one token per action: the player's id
    // and a letter (P call, R raise, T bet, L fold, K check). A player's first
    // token tells a limp (a call with no raise before it) from a cold call (a
    // call after a raise); the limper's next token is the answer to a raise.
    const std::wstring actions =
        withActionStrings ? L"coalesce(h.str_pf_actions, '')" : std::wstring(L"''");
    std::wstring where = L"true";
    if (filter.siteId > 0) {
        where += FormatW(L" and p.idsite = %d", static_cast<int>(filter.siteId));
    }
    if (filter.fromLocalTime > 0) {
        where +=
            FormatW(L" and h.\"localtime\" >= %lld", static_cast<long long>(filter.fromLocalTime));
    }
    return L"select p.idplayer, p.idsite, p.name, count(*) as n, "
           L"count(*) filter (where hp.flag_vpip) as vpip, "
           L"count(*) filter (where hp.flag_vpip_opp) as vpip_opp, "
           L"count(*) filter (where hp.flag_pf_pfr) as pfr, "
           L"count(*) filter (where hp.flag_pf_pfr_opp) as pfr_opp, "
           L"count(*) filter (where hp.flag_pf_3bet) as p3b, "
           L"count(*) filter (where hp.flag_pf_3bet_opp) as p3b_opp, "
           L"count(*) filter (where hp.flag_pf_4bet) as p4b, "
           L"count(*) filter (where hp.flag_pf_4bet_opp) as p4b_opp, "
           L"count(*) filter (where hp.flag_pf_face_3bet) as p3b_face, "
           L"count(*) filter (where hp.flag_pf_call_3bet) as p3b_call, "
           L"count(*) filter (where hp.flag_pf_fold_3bet) as p3b_fold, "
           L"count(*) filter (where hp.flag_wtsd) as wtsd, "
           L"count(*) filter (where hp.flag_wtsd_opp) as wtsd_opp, "
           L"count(*) filter (where hp.flag_won_wtsd) as wtsd_won, "
           L"coalesce(sum(hp.netwin), 0) as netwon, "
           L"coalesce(sum(hp.netwin::float8 / nullif(g.bigblind, 0)), 0) as bbwon, "
           L"count(*) filter (where a.raised and a.first = 'P') as cc, "
           L"count(*) filter (where a.raised) as cc_opp, "
           L"count(*) filter (where a.first = 'P' and not a.raised) as limp, "
           L"count(*) filter (where a.first = 'P' and not a.raised and a.second <> '') as limp_faced, "
           L"count(*) filter (where a.first = 'P' and not a.raised and a.second = 'P') as limp_call, "
           L"count(*) filter (where a.first = 'P' and not a.raised and a.second = 'R') as limp_raise, "
           L"count(*) filter (where a.first = 'P' and not a.raised and a.second = 'L') as limp_fold "
           L"from handsplayers as hp "
           L"join players as p on p.idplayer = hp.idplayer "
           L"join hands as h on h.id = hp.idhand "
           L"left join gametypes as g on g.id = h.idgametype "
           L"cross join lateral (select " +
           actions + L" as s, " + kMe +
           L" as me) as t "
           L"cross join lateral (select strpos(t.s, t.me) as pos, length(t.me) as len) as f "
           L"cross join lateral (select "
           L"case when f.pos > 0 then substr(t.s, f.pos + f.len, 1) else '' end as first, "
           L"f.pos > 1 and strpos(left(t.s, f.pos - 1), 'R') > 0 as raised, "
           L"case when f.pos > 0 and strpos(substr(t.s, f.pos + f.len + 1), t.me) > 0 "
           L"then substr(substr(t.s, f.pos + f.len + 1), "
           L"strpos(substr(t.s, f.pos + f.len + 1), t.me) + f.len, 1) else '' end as second"
           L") as a "
           L"where " +
           where + L" group by p.idplayer, p.idsite, p.name";
}

CStatus LoadPlayerList(CDatabase& db,
                       const CPlayerListFilter& filter,
                       std::vector<CPlayerListRow>& rows,
                       const std::atomic<bool>* cancel)
{
    rows.clear();
    bool withActionStrings = false;
    {
        CODBCRecordset probe(db);
        const CStatus status = probe.Open(
            L"select 1 from information_schema.columns where table_name = 'hands' and "
            L"column_name = 'str_pf_actions'");
        if (!status.IsOk()) {
            return status;
        }
        withActionStrings = !probe.IsEOF();
    }
    CODBCRecordset rs(db);
    const CStatus status = rs.Open(PlayerListQueryText(filter, withActionStrings));
    if (!status.IsOk()) {
        return status;
    }
    if (!rs.IsEOF() && rs.FieldCount() != kColumnCount) {
        return CStatus::DatabaseError(L"the player list query returned an unexpected row");
    }
    for (; !rs.IsEOF(); rs.MoveNext()) {
        if (cancel != nullptr && cancel->load(std::memory_order_relaxed)) {
            return CStatus::Ok();
        }
        CPlayerListRow row;
        row.playerId = rs.Field(kPlayerId).AsInt();
        row.siteId = rs.Field(kSiteId).AsInt();
        row.name = rs.Field(kName).AsString();
        CPlayerCounts& c = row.counts;
        c.hands = rs.Field(kHands).AsLong();
        c.vpip = rs.Field(kVpip).AsLong();
        c.vpipOpp = rs.Field(kVpipOpp).AsLong();
        c.pfr = rs.Field(kPfr).AsLong();
        c.pfrOpp = rs.Field(kPfrOpp).AsLong();
        c.threeBet = rs.Field(k3Bet).AsLong();
        c.threeBetOpp = rs.Field(k3BetOpp).AsLong();
        c.fourBet = rs.Field(k4Bet).AsLong();
        c.fourBetOpp = rs.Field(k4BetOpp).AsLong();
        c.face3Bet = rs.Field(kFace3Bet).AsLong();
        c.call3Bet = rs.Field(kCall3Bet).AsLong();
        c.fold3Bet = rs.Field(kFold3Bet).AsLong();
        c.wtsd = rs.Field(kWtsd).AsLong();
        c.wtsdOpp = rs.Field(kWtsdOpp).AsLong();
        c.wonAtShowdown = rs.Field(kWonSd).AsLong();
        c.netWonCents = rs.Field(kNetWon).AsLong();
        c.netWonBigBlinds = rs.Field(kBbWon).AsDouble();
        c.coldCall = rs.Field(kColdCall).AsLong();
        c.coldCallOpp = rs.Field(kColdCallOpp).AsLong();
        c.limp = rs.Field(kLimp).AsLong();
        c.limpFacedRaise = rs.Field(kLimpFaced).AsLong();
        c.limpCall = rs.Field(kLimpCall).AsLong();
        c.limpRaise = rs.Field(kLimpRaise).AsLong();
        c.limpFold = rs.Field(kLimpFold).AsLong();
        rows.push_back(std::move(row));
    }
    if (!rs.LastError().empty()) {
        return CStatus::DatabaseError(rs.LastError());
    }
    return CStatus::Ok();
}

}  // namespace kroStats
