// Currency codes and the text forms that name them.
#pragma once

#include <string_view>

enum CurrencyCode : int
{
    kCurrencyUnknown = -1,
    kCurrencyUsd = 0,
    kCurrencyEur = 1,
    kCurrencyGbp = 2,
    kCurrencyCny = 3,
};

// "USD"/"$" 0, "EUR"/"EURO"/"€" 1, "GBP"/"£" 2, "CNY" 3 (and "¥" only when
// `yenSignIsYuan`), anything else -1.
int CurrencyFromText(std::wstring_view text, bool yenSignIsYuan = false);
