#include "tracker/CCurrencyTable.h"

#include "foundation/IProfile.h"
#include "foundation/WideText.h"
#include "tracker/TrackerCodecs.h"

namespace {

const wchar_t* const kSection = L"RoraRevirDlg_Currency";
const wchar_t* const kKeys[] = {L"USD_K", L"EUR_K", L"GBP_K"};
const wchar_t* const kCodes[] = {L"USD", L"EUR", L"GBP"};

// One unit of the row's currency in the display currency.
const wchar_t* const kDefaults[3][3] = {
    {L"1.00", L"1.12", L"1.42"},
    {L"0.89", L"1.00", L"1.27"},
    {L"0.70", L"0.79", L"1.00"},
};

}  // namespace

CCurrencyTable::CCurrencyTable()
{
    for (int i = 0; i < 3; ++i) {
        SetRateText(i, kDefaults[0][i]);
    }
}

void CCurrencyTable::Load(IProfile& profile)
{
    SetDisplayCurrency(profile.GetProfileInt(kSection, L"Cur", 0));
    for (int i = 0; i < 3; ++i) {
        SetRateText(i, profile.GetProfileString(kSection, kKeys[i], kDefaults[0][i]));
    }
}

void CCurrencyTable::Save(IProfile& profile) const
{
    (void)profile.WriteProfileInt(kSection, L"Cur", m_display);
    for (int i = 0; i < 3; ++i) {
        const auto it = m_entries.find(i);
        (void)profile.WriteProfileString(kSection, kKeys[i],
                                         it == m_entries.end() ? L"" : it->second.text);
    }
}

void CCurrencyTable::SetDisplayCurrency(int index)
{
    if (index >= 0 && index <= 2) {
        m_display = index;
    }
}

double CCurrencyTable::Rate(int currency)
{
    return m_entries[currency].value;
}

void CCurrencyTable::SetRateText(int currency, const std::wstring& text)
{
    Entry& e = m_entries[currency];
    e.text = Trim(text);
    e.value = ParseRate(e.text);
}

int64_t CCurrencyTable::ToDisplay(int currency, int64_t cents)
{
    if (currency == m_display) {
        return cents;
    }
    return static_cast<int64_t>(static_cast<double>(cents) * Rate(currency) + 0.5);
}

const wchar_t* const* CCurrencyTable::DefaultRates(int display)
{
    return kDefaults[display >= 0 && display <= 2 ? display : 0];
}

const wchar_t* CCurrencyTable::Code(int currency)
{
    return currency >= 0 && currency <= 2 ? kCodes[currency] : L"";
}
