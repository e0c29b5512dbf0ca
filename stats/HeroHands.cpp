#include "stats/HeroHands.h"

#include "companion/CODBCRecordset.h"
#include "db/CDbContext.h"
#include "db/IConnection.h"
#include "foundation/WideText.h"

#include <memory>
#include <string>

std::optional<std::vector<CHeroHand>> LoadHeroHands(kroDB::CDbContext& db,
                                                    int64_t fromUtc,
                                                    int64_t toUtc)
{
    kroDB::CConnectionLease connection(db.AcquireConnection(true));
    if (!connection) {
        return std::nullopt;
    }
    // A database made before the all-in street was stored has no such column;
    // its hands then count their money as EV.
    const bool hasStreet = db.TableColumns(L"handsplayers")->count(L"val_allin_street") != 0;
    const std::wstring ev =
        hasStreet ? L"CASE WHEN coalesce(hp.val_allin_street, 0) > 0 THEN coalesce(hp.allinev, "
                    L"hp.netwin, 0) ELSE coalesce(hp.netwin, 0) END"
                  : L"coalesce(hp.netwin, 0)";
    const std::wstring sql = FormatW(
        L"SELECT h.id, h.utc, coalesce(g.currency, -1) AS currency, coalesce(hp.netwin, 0) AS "
        L"money, %ls AS ev FROM handsplayers hp JOIN players p ON p.idplayer = hp.idplayer JOIN "
        L"hands h ON h.id = hp.idhand LEFT JOIN gametypes g ON g.id = h.idgametype WHERE p.hero "
        L"AND h.utc >= %lld AND h.utc < %lld ORDER BY h.utc, h.id;",
        ev.c_str(), static_cast<long long>(fromUtc), static_cast<long long>(toUtc));
    std::unique_ptr<CODBCRecordset> rs;
    if (!connection->OpenRecordset(sql, rs)) {
        return std::nullopt;
    }
    std::vector<CHeroHand> hands;
    while (!rs->IsEOF()) {
        CHeroHand hand;
        hand.handId = rs->Field(size_t{0}).AsLong();
        hand.utc = rs->Field(size_t{1}).AsLong();
        hand.currency = rs->Field(size_t{2}).AsInt();
        hand.money = rs->Field(size_t{3}).AsInt();
        hand.ev = rs->Field(size_t{4}).AsInt();
        hands.push_back(hand);
        if (!rs->MoveNext() && !rs->IsEOF()) {
            return std::nullopt;
        }
    }
    return hands;
}

std::pair<int64_t, int64_t> StoredUtcRangeOfDay(int64_t localMidnight,
                                                int64_t dayLength,
                                                int64_t localOffset)
{
    return {localMidnight - localOffset, localMidnight + dayLength - localOffset};
}
