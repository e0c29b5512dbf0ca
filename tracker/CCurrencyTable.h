// The tracker's currency table: the display currency and, per currency code,
// the rate text as the user typed it and its value (one unit of that currency
// in the display currency). Qt-free; main thread only.
#pragma once

#include <map>
#include <string>

class IProfile;

class CCurrencyTable
{
public:
    struct Entry
    {
        std::wstring text;
        double value = 0.0;
    };

    // USD "1.00", EUR "1.12", GBP "1.42", displayed in USD.
    CCurrencyTable();

    // Reads `RoraRevirDlg_Currency`: Cur and the three rate texts.
    void Load(IProfile& profile);
    // Writes Cur, USD_K, EUR_K and GBP_K.
    void Save(IProfile& profile) const;

    int DisplayCurrency() const { return m_display; }
    // Requires: 0 <= index <= 2; other values are ignored.
    void SetDisplayCurrency(int index);

    // The rate of `currency`. A currency without an entry gets one with rate
    // 0, so its amounts count nothing rather than counting at a wrong rate.
    double Rate(int currency);
    bool HasEntry(int currency) const { return m_entries.count(currency) != 0; }
    const Entry& At(int currency) { return m_entries[currency]; }
    // Sets the rate text of `currency` (trimmed) and its value.
    void SetRateText(int currency, const std::wstring& text);

    // Converts cents of `currency` into the display currency: unchanged for the
    // display currency itself, else value x rate + 0.5 truncated toward zero.
    int64_t ToDisplay(int currency, int64_t cents);

    // The default rate texts shown when `display` becomes the display
    // currency, for USD, EUR and GBP in this order.
    static const wchar_t* const* DefaultRates(int display);
    // "USD", "EUR", "GBP", or "" for other codes.
    static const wchar_t* Code(int currency);

private:
    int m_display = 0;
    std::map<int, Entry> m_entries;
};
