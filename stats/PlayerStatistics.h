// The statistics shown for a player (player list, HUD, graphs), counted from
// the per-hand flags stored with every hand player. One place defines how each
// figure is counted: a count of hands where the player did something over a
// count of hands where the player could have. Pure values; thread-safe.
#pragma once

#include <cstdint>
#include <string>

namespace kroStats {

// The sums over one player's hands.
struct CPlayerCounts
{
    int64_t hands = 0;
    // Voluntarily put money in preflop / had the chance to.
    int64_t vpip = 0;
    int64_t vpipOpp = 0;
    // Raised preflop / had the chance to.
    int64_t pfr = 0;
    int64_t pfrOpp = 0;
    // Re-raised an open raise / faced an open raise.
    int64_t threeBet = 0;
    int64_t threeBetOpp = 0;
    // Re-raised a 3-bet / faced a 3-bet.
    int64_t fourBet = 0;
    int64_t fourBetOpp = 0;
    // Faced a 3-bet after raising, and called or folded.
    int64_t face3Bet = 0;
    int64_t call3Bet = 0;
    int64_t fold3Bet = 0;
    // First preflop action a call of a raise / came after a raise.
    int64_t coldCall = 0;
    int64_t coldCallOpp = 0;
    // First preflop action a call with nobody having raised.
    int64_t limp = 0;
    // A limp that then faced a raise, and what followed it.
    int64_t limpFacedRaise = 0;
    int64_t limpCall = 0;
    int64_t limpRaise = 0;
    int64_t limpFold = 0;
    // Went to showdown / saw the flop; won at showdown.
    int64_t wtsd = 0;
    int64_t wtsdOpp = 0;
    int64_t wonAtShowdown = 0;
    // Net won in cents (amounts of every currency added as they are).
    int64_t netWonCents = 0;
    // Net won in big blinds of each hand's table.
    double netWonBigBlinds = 0;
};

// `part` of `whole` in percent; 0 when `whole` is 0.
double Percent(int64_t part, int64_t whole);

double Vpip(const CPlayerCounts& c);
double Pfr(const CPlayerCounts& c);
double ThreeBet(const CPlayerCounts& c);
double FourBet(const CPlayerCounts& c);
double ColdCall(const CPlayerCounts& c);
double Call3Bet(const CPlayerCounts& c);
double Fold3Bet(const CPlayerCounts& c);
double LimpCall(const CPlayerCounts& c);
double LimpRaise(const CPlayerCounts& c);
double LimpFold(const CPlayerCounts& c);
// Went to showdown of the hands where the flop was seen.
double Wtsd(const CPlayerCounts& c);
// Won money at showdown of the showdowns reached.
double WonAtShowdown(const CPlayerCounts& c);
// Big blinds won per 100 hands; 0 without hands.
double BigBlindsPer100(const CPlayerCounts& c);

}  // namespace kroStats
