#include "foundation/Currency.h"

int CurrencyFromText(std::wstring_view text, bool yenSignIsYuan)
{
    if (text == L"USD" || text == L"$") {
        return kCurrencyUsd;
    }
    if (text == L"EUR" || text == L"EURO" || text == L"\u20AC") {
        return kCurrencyEur;
    }
    if (text == L"GBP" || text == L"\u00A3") {
        return kCurrencyGbp;
    }
    if (text == L"CNY" || (yenSignIsYuan && text == L"\u00A5")) {
        return kCurrencyCny;
    }
    return kCurrencyUnknown;
}
