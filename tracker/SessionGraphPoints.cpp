#include "tracker/SessionGraphPoints.h"

#include "tracker/CCurrencyTable.h"

std::vector<CGraphPoint> CumulativePoints(const std::vector<CSessionHand>& hands,
                                          CCurrencyTable& currency)
{
    std::vector<CGraphPoint> points;
    points.reserve(hands.size() + 1);
    points.push_back(CGraphPoint{});
    CGraphPoint sum;
    for (const CSessionHand& hand : hands) {
        ++sum.hand;
        sum.money += currency.ToDisplay(hand.currency, hand.money);
        sum.ev += currency.ToDisplay(hand.currency, hand.ev);
        points.push_back(sum);
    }
    return points;
}

std::vector<CSessionHand> AsSessionHands(const std::vector<CHeroHand>& hands)
{
    std::vector<CSessionHand> out;
    out.reserve(hands.size());
    for (const CHeroHand& h : hands) {
        out.push_back(CSessionHand{h.handId, h.currency, h.money, h.ev});
    }
    return out;
}
