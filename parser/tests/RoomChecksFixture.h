// Checks that every room's stored hands must pass, read back from the
// database: the players' results and the rake add up, the rake shares add up
// to the rake, the flags agree with the players' own actions. Each returns
// the hand numbers (or player rows) that fail, empty when none does, so that
// a failing test names them.
#pragma once

#include "parser/tests/StoredHandFixture.h"

#include <string>

class RoomChecksFixture : public StoredHandFixture
{
protected:
    // The hands of room `site` (its sites-table name) as a condition on h.
    static std::wstring OfRoom(const std::wstring& site)
    {
        return L"h.idgametype IN (SELECT g.id FROM gametypes g JOIN sites s ON s.id = g.idsite "
               L"WHERE s.name = '" +
               site + L"')";
    }

    // Hands whose results plus rake differ from the money that came into the
    // pot from outside (a splash, a cash drop: total pot less what the players
    // bet), unless a player cashed out, which the room pays.
    std::wstring UnbalancedHands(const std::wstring& site)
    {
        return Scalar(
            L"SELECT coalesce(string_agg(h.sitehandnumber::text, ',' ORDER BY "
            L"h.sitehandnumber), '') FROM hands h WHERE " +
            OfRoom(site) +
            L" AND (SELECT sum(netwin) + h.rake - h.totalpot + sum(bet) FROM handsplayers "
            L"WHERE idhand = h.id) <> 0 AND NOT EXISTS (SELECT 1 FROM handsplayers WHERE "
            L"idhand = h.id AND flag_allin_cash_out)");
    }

    // Hands whose rake shares do not add up to the rake, and player rows whose
    // result is not total win less bet, or not split into its two sides.
    std::wstring RakeSharesOff(const std::wstring& site)
    {
        return Scalar(
            L"SELECT coalesce(string_agg(h.sitehandnumber::text, ',' ORDER BY "
            L"h.sitehandnumber), '') FROM hands h WHERE " +
            OfRoom(site) +
            L" AND (SELECT sum(rakeincents) FROM handsplayers WHERE idhand = h.id) "
            L"<> h.rake");
    }
    std::wstring ResultsOff(const std::wstring& site)
    {
        return Scalar(
            L"SELECT coalesce(string_agg(h.sitehandnumber::text, ',' ORDER BY "
            L"h.sitehandnumber), '') FROM handsplayers hp JOIN hands h ON h.id = "
            L"hp.idhand WHERE " +
            OfRoom(site) +
            L" AND (hp.netwin <> hp.totalwin - hp.bet OR hp.netwin <> "
            L"hp.showdownwin + hp.nonshowdownwin)");
    }

    // Players who called, raised, bet or completed before the flop but have no
    // VPIP, and players with VPIP who did none of these.
    std::wstring VpipAgainstActions(const std::wstring& site)
    {
        const std::wstring preflopMoney =
            L"EXISTS (SELECT 1 FROM handsactions a WHERE a.idhand = hp.idhand AND a.idplayer = "
            L"hp.idplayer AND a.idaction IN (6, 7, 8, 14) AND a.actionno < coalesce((SELECT "
            L"min(b.actionno) FROM handsactions b WHERE b.idhand = a.idhand AND b.idaction IN "
            L"(19, 20, 21, 22, 23, 24, 25, 26, 27, 31, 32, 33)), 32767))";
        return Scalar(
            L"SELECT coalesce(string_agg(h.sitehandnumber::text, ',' ORDER BY "
            L"h.sitehandnumber), '') FROM handsplayers hp JOIN hands h ON h.id = "
            L"hp.idhand WHERE " +
            OfRoom(site) + L" AND coalesce(hp.flag_vpip, false) <> " + preflopMoney);
    }

    // Players who showed their cards in a hand whose river was dealt, did not
    // fold, and had another such player against them, but have no
    // went-to-showdown flag; and players with the flag who are none of these.
    std::wstring WtsdAgainstActions(const std::wstring& site)
    {
        const std::wstring showedAtRiver =
            L"(EXISTS (SELECT 1 FROM handsactions a WHERE a.idhand = hp.idhand AND a.idplayer = "
            L"hp.idplayer AND a.idaction = 16) AND NOT EXISTS (SELECT 1 FROM handsactions a "
            L"WHERE a.idhand = hp.idhand AND a.idplayer = hp.idplayer AND a.idaction = 10) AND "
            L"EXISTS (SELECT 1 FROM handsactions r WHERE r.idhand = hp.idhand AND r.idaction IN "
            L"(21, 24, 27, 33)) AND (SELECT count(DISTINCT s.idplayer) FROM handsactions s WHERE "
            L"s.idhand = hp.idhand AND s.idaction = 16 AND NOT EXISTS (SELECT 1 FROM handsactions "
            L"f WHERE f.idhand = s.idhand AND f.idplayer = s.idplayer AND f.idaction = 10)) >= 2)";
        return Scalar(
            L"SELECT coalesce(string_agg(h.sitehandnumber::text, ',' ORDER BY "
            L"h.sitehandnumber), '') FROM handsplayers hp JOIN hands h ON h.id = "
            L"hp.idhand WHERE " +
            OfRoom(site) + L" AND " + showedAtRiver +
            L" AND NOT coalesce(hp.flag_wtsd, "
            L"false)");
    }

    // Counts of the room's rows: hands, hand players, VPIP and WTSD.
    std::wstring Counts(const std::wstring& site)
    {
        return Scalar(
            L"SELECT count(DISTINCT h.id) || ' hands, ' || count(*) || ' players, ' "
            L"|| sum(CASE WHEN hp.flag_vpip THEN 1 ELSE 0 END) || ' vpip, ' || "
            L"sum(CASE WHEN hp.flag_wtsd THEN 1 ELSE 0 END) || ' wtsd' FROM "
            L"handsplayers hp JOIN hands h ON h.id = hp.idhand WHERE " +
            OfRoom(site));
    }

    // The share of VPIP among the players who had the chance, in percent.
    double VpipShare(const std::wstring& site)
    {
        const std::wstring text = Scalar(
            L"SELECT round(100.0 * sum(CASE WHEN hp.flag_vpip THEN 1 ELSE 0 END) / "
            L"greatest(sum(CASE WHEN hp.flag_vpip_opp THEN 1 ELSE 0 END), 1), 1) FROM "
            L"handsplayers hp JOIN hands h ON h.id = hp.idhand WHERE " +
            OfRoom(site));
        return text.empty() ? -1 : std::stod(std::string(text.begin(), text.end()));
    }

    // The true flags of one player in one hand, without "flag_", by name.
    std::wstring TrueFlags(const std::wstring& hand, const std::wstring& player)
    {
        return Scalar(
            L"SELECT coalesce(string_agg(substr(j.key, 6), ' ' ORDER BY j.key), '') "
            L"FROM handsplayers hp JOIN hands h ON h.id = hp.idhand JOIN players p ON "
            L"p.idplayer = hp.idplayer, jsonb_each_text(to_jsonb(hp)) j WHERE "
            L"h.sitehandnumber = " +
            hand + L" AND p.name = '" + player +
            L"' AND j.key LIKE 'flag\\_%' AND j.value = 'true'");
    }

    // A column of one player in one hand, as text.
    std::wstring Column(const std::wstring& hand,
                        const std::wstring& player,
                        const std::wstring& column)
    {
        return Scalar(L"SELECT hp." + column +
                      L"::text FROM handsplayers hp JOIN hands h ON h.id = hp.idhand JOIN "
                      L"players p ON p.idplayer = hp.idplayer WHERE h.sitehandnumber = " +
                      hand + L" AND p.name = '" + player + L"'");
    }

    // A column of one hand, as text.
    std::wstring HandColumn(const std::wstring& hand, const std::wstring& column)
    {
        return Scalar(L"SELECT " + column + L"::text FROM hands WHERE sitehandnumber = " + hand);
    }
};
