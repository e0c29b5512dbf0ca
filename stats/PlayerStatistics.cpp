#include "stats/PlayerStatistics.h"

namespace kroStats {

double Percent(int64_t part, int64_t whole)
{
    return whole == 0 ? 0.0 : 100.0 * static_cast<double>(part) / static_cast<double>(whole);
}

double Vpip(const CPlayerCounts& c)
{
    return Percent(c.vpip, c.vpipOpp);
}

double Pfr(const CPlayerCounts& c)
{
    return Percent(c.pfr, c.pfrOpp);
}

double ThreeBet(const CPlayerCounts& c)
{
    return Percent(c.threeBet, c.threeBetOpp);
}

double FourBet(const CPlayerCounts& c)
{
    return Percent(c.fourBet, c.fourBetOpp);
}

double ColdCall(const CPlayerCounts& c)
{
    return Percent(c.coldCall, c.coldCallOpp);
}

double Call3Bet(const CPlayerCounts& c)
{
    return Percent(c.call3Bet, c.face3Bet);
}

double Fold3Bet(const CPlayerCounts& c)
{
    return Percent(c.fold3Bet, c.face3Bet);
}

double LimpCall(const CPlayerCounts& c)
{
    return Percent(c.limpCall, c.limpFacedRaise);
}

double LimpRaise(const CPlayerCounts& c)
{
    return Percent(c.limpRaise, c.limpFacedRaise);
}

double LimpFold(const CPlayerCounts& c)
{
    return Percent(c.limpFold, c.limpFacedRaise);
}

double Wtsd(const CPlayerCounts& c)
{
    return Percent(c.wtsd, c.wtsdOpp);
}

double WonAtShowdown(const CPlayerCounts& c)
{
    return Percent(c.wonAtShowdown, c.wtsd);
}

double BigBlindsPer100(const CPlayerCounts& c)
{
    return c.hands == 0 ? 0.0 : 100.0 * c.netWonBigBlinds / static_cast<double>(c.hands);
}

}  // namespace kroStats
