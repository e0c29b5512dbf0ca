// The points of the session graph: after each hero hand, the money won and the
// all-in EV adjusted money so far, in cents of the display currency. Qt-free.
#pragma once

#include "live/ISessionSink.h"
#include "stats/HeroHands.h"

#include <cstdint>
#include <vector>

class CCurrencyTable;

struct CGraphPoint
{
    // Hands played up to this point (0 for the start).
    int hand = 0;
    int64_t money = 0;
    int64_t ev = 0;

    bool operator==(const CGraphPoint&) const = default;
};

// The start (0, 0, 0) and one point per hand, each amount converted into the
// display currency hand by hand as live import converts them.
std::vector<CGraphPoint> CumulativePoints(const std::vector<CSessionHand>& hands,
                                          CCurrencyTable& currency);

// Stored hero hands in the form live import reports them.
std::vector<CSessionHand> AsSessionHands(const std::vector<CHeroHand>& hands);
