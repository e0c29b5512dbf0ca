// Where live import sends the hero's session figures: the session tracker
// window in the desktop program, standard output in the command-line program.
// Called on the main thread.
#pragma once

#include <cstdint>
#include <vector>

// One hero hand that live import added to the figures; amounts in cents of the
// currency the hand was played in.
struct CSessionHand
{
    int64_t handId = 0;
    int32_t currency = -1;
    int32_t money = 0;
    int32_t ev = 0;
};

class ISessionSink
{
public:
    virtual ~ISessionSink() = default;

    // The running session: hands, money, all-in EV and money minus EV, the
    // amounts in cents of the display currency.
    virtual void UpdateFigures(int32_t hands, int32_t money, int32_t ev, int32_t diff) = 0;

    // The hero hands of one import, oldest first, just before the figures
    // that include them; a session graph draws them hand by hand.
    virtual void HandsCounted(const std::vector<CSessionHand>& hands) { (void)hands; }

    // The currency code the figures are shown in.
    virtual int DisplayCurrency() const = 0;

    // The value of one unit of `currency` in the display currency. A currency
    // without a rate gets one of 0 in the table (so its amounts count 0).
    virtual double CurrencyRate(int currency) = 0;
};
