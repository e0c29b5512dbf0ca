#include "stats/CPlayerListQuery.h"

#include "companion/CDatabase.h"
#include "companion/CODBCRecordset.h"
#include "foundation/WideText.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <unordered_map>

namespace kroStats {

namespace {

// The columns of the query in the order they are read.
enum Column : size_t
{
    kPlayerId,
    kSiteId,
    kName,
    kInnerPlayerId,
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
    kColumnCount
};

}  // namespace

std::wstring PlayerListQueryText(const CPlayerListFilter& filter)
{
    std::wstring where = L"true";
    if (filter.siteId > 0) {
        where += FormatW(L" and p.idsite = %d", static_cast<int>(filter.siteId));
    }
    if (filter.fromLocalTime > 0) {
        where +=
            FormatW(L" and h.\"localtime\" >= %lld", static_cast<long long>(filter.fromLocalTime));
    }
    return L"select p.idplayer, p.idsite, p.name, x.* from (select hp.idplayer, count(*) as n, "
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
           L"coalesce(sum(hp.netwin::float8 / nullif(g.bigblind, 0)), 0) as bbwon "
           L"from handsplayers as hp " +
           // The room is the player's; without one the players join only
           // the sums, once per player rather than once per hand.
           std::wstring(filter.siteId > 0 ? L"join players as p on p.idplayer = hp.idplayer "
                                          : L"") +
           L"join hands as h on h.id = hp.idhand "
           L"left join gametypes as g on g.id = h.idgametype "
           L"where " +
           where + L" group by hp.idplayer) as x join players as p on p.idplayer = x.idplayer";
}

std::wstring PreflopActionsQueryText(const CPlayerListFilter& filter)
{
    std::wstring text =
        L"select h.str_pf_actions from hands as h where h.str_pf_actions is not null";
    if (filter.siteId > 0) {
        text += FormatW(L" and h.idgametype in (select id from gametypes where idsite = %d)",
                        static_cast<int>(filter.siteId));
    }
    if (filter.fromLocalTime > 0) {
        text +=
            FormatW(L" and h.\"localtime\" >= %lld", static_cast<long long>(filter.fromLocalTime));
    }
    return text;
}

void CountPreflopActions(const std::wstring& actions,
                         const std::function<CPlayerCounts*(int32_t)>& countsOf)
{
    // One token per action: the player's id in hex and a letter.
    struct CToken
    {
        int32_t player;
        wchar_t letter;
    };
    std::vector<CToken> tokens;
    int64_t id = 0;
    bool digits = false;
    for (const wchar_t c : actions) {
        if ((c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f')) {
            const int value = c <= L'9' ? c - L'0' : c - L'a' + 10;
            id = std::min<int64_t>(id * 16 + value, INT32_MAX);
            digits = true;
        } else {
            if (digits) {
                tokens.push_back({static_cast<int32_t>(id), c});
            }
            id = 0;
            digits = false;
        }
    }
    bool raised = false;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const CToken& token = tokens[i];
        bool first = true;
        for (size_t j = 0; j < i; ++j) {
            if (tokens[j].player == token.player) {
                first = false;
                break;
            }
        }
        if (first) {
            if (CPlayerCounts* c = countsOf(token.player)) {
                if (raised) {
                    ++c->coldCallOpp;
                    c->coldCall += token.letter == L'P' ? 1 : 0;
                } else if (token.letter == L'P') {
                    ++c->limp;
                    // The limper's next action answers a raise behind.
                    for (size_t j = i + 1; j < tokens.size(); ++j) {
                        if (tokens[j].player != token.player) {
                            continue;
                        }
                        ++c->limpFacedRaise;
                        c->limpCall += tokens[j].letter == L'P' ? 1 : 0;
                        c->limpRaise += tokens[j].letter == L'R' ? 1 : 0;
                        c->limpFold += tokens[j].letter == L'L' ? 1 : 0;
                        break;
                    }
                }
            }
        }
        raised = raised || token.letter == L'R';
    }
}

CStatus LoadPlayerList(CDatabase& db,
                       const CPlayerListFilter& filter,
                       std::vector<CPlayerListRow>& rows,
                       const std::atomic<bool>* cancel)
{
    rows.clear();
    const auto cancelled = [cancel] {
        return cancel != nullptr && cancel->load(std::memory_order_relaxed);
    };
    // One aggregate over many rows: compiling it would cost more than it
    // saves. A server without the setting refuses it, which changes nothing.
    (void)db.ExecuteSQL(L"SET jit = off");
    {
        CODBCRecordset rs(db);
        const CStatus status = rs.Open(PlayerListQueryText(filter));
        if (!status.IsOk()) {
            return status;
        }
        if (!rs.IsEOF() && rs.FieldCount() != kColumnCount) {
            return CStatus::DatabaseError(L"the player list query returned an unexpected row");
        }
        for (; !rs.IsEOF(); rs.MoveNext()) {
            if (cancelled()) {
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
            rows.push_back(std::move(row));
        }
        if (!rs.LastError().empty()) {
            return CStatus::DatabaseError(rs.LastError());
        }
    }

    // Limps and cold calls are read from the hands' preflop action strings,
    // which the server would have to take apart row by row; here each hand's
    // string is read once.
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
    if (!withActionStrings || rows.empty()) {
        return CStatus::Ok();
    }
    std::unordered_map<int32_t, CPlayerCounts*> byId;
    byId.reserve(rows.size());
    for (CPlayerListRow& row : rows) {
        byId[row.playerId] = &row.counts;
    }
    const auto countsOf = [&byId](int32_t id) -> CPlayerCounts* {
        const auto it = byId.find(id);
        return it == byId.end() ? nullptr : it->second;
    };
    CODBCRecordset rs(db);
    const CStatus status = rs.Open(PreflopActionsQueryText(filter));
    if (!status.IsOk()) {
        return status;
    }
    for (; !rs.IsEOF(); rs.MoveNext()) {
        if (cancelled()) {
            return CStatus::Ok();
        }
        CountPreflopActions(rs.Field(size_t{0}).AsString(), countsOf);
    }
    if (!rs.LastError().empty()) {
        return CStatus::DatabaseError(rs.LastError());
    }
    return CStatus::Ok();
}

}  // namespace kroStats
