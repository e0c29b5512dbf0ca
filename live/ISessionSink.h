// Where live import sends the hero's session figures: the session tracker
// window in the desktop program, standard output in the command-line program.
// Called on the main thread.
#pragma once

#include <cstdint>

class ISessionSink
{
public:
    virtual ~ISessionSink() = default;

    // The running session: hands, money, all-in EV and money minus EV, the
    // amounts in cents of the display currency.
    virtual void UpdateFigures(int32_t hands, int32_t money, int32_t ev, int32_t diff) = 0;

    // The currency code the figures are shown in.
    virtual int DisplayCurrency() const = 0;

    // The value of one unit of `currency` in the display currency. A currency
    // without a rate gets one of 0 in the table (so its amounts count 0).
    virtual double CurrencyRate(int currency) = 0;
};
