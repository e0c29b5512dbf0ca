// Amounts and card names as clients in other languages write them: "$3,000",
// "0,01 $", "$ 3.243", "15 788,50 $", "KHerz", "Knh". Pure functions.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kroHandParser {

struct CLocalizedAmount
{
    int32_t cents = 0;
    // The currency sign before or after the number ('$', L'\u20AC', ...); 0
    // when the amount has none (play chips).
    wchar_t symbol = 0;
};

// Reads one amount: an optional sign, the number, an optional sign, with
// blanks or no-break spaces between. Groups of three digits may be separated
// by ",", "." or blanks; a final "," or "." followed by one or two digits is
// the decimal point. Nothing when the text is not such an amount or exceeds
// the 32-bit range of cents.
std::optional<CLocalizedAmount> ReadLocalizedAmount(std::wstring_view text);

// The card list with localised names turned into the two-letter ones: German
// suits (Herz, Karo, Kreuz, Pik), "10" for the ten, and the rank letters of
// Dutch (H, V, B), Swedish (Kn, D, E) and Russian clients. Other pieces stay.
std::wstring NormaliseCardNames(std::wstring_view text);

}  // namespace kroHandParser
