// Small readers shared by the header parsers: dates, currencies, amounts.
#pragma once

#include <boost/regex.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kroHandParser {

// Seconds of the date and time in groups first..first+5 (year, month, day,
// hour, minute, second) read as local time; nothing when a field is out of
// range or the conversion rejects it.
std::optional<int64_t> DateTimeFromGroups(const boost::wsmatch& m, int first);

// The same with no seconds group (seconds 0): groups first..first+4.
std::optional<int64_t> DateTimeFromGroupsNoSeconds(const boost::wsmatch& m, int first);

// "USD" 0, "EUR"/"EURO" 1, "GBP" 2, "CNY" 3, else -1.
int CurrencyFromLetters(const std::wstring& text);

// The text of a group without a copy; valid while the matched line is.
inline std::wstring_view GroupView(const boost::wssub_match& group)
{
    return group.matched
               ? std::wstring_view(&*group.first, static_cast<size_t>(group.second - group.first))
               : std::wstring_view();
}
// Cents of a matched amount.
int32_t CentsOf(const boost::wssub_match& group);

// A small number of a line (a seat, a seat count): 0 when the text is no
// number or too long to be one of these.
int ToInt(const std::wstring& text);

// Removes the thousands separators of amounts written after a currency sign
// ("$1,306.18" becomes "$1306.18"); other commas stay.
void RemoveThousandsSeparators(std::wstring& line);

// Rupee tables write amounts as "Rs. 1,306.18", which no amount pattern reads:
// the sign and the separators go ("1306.18"), as in games without a sign.
void RemoveRupeeSigns(std::wstring& line);

// A whole-line match.
bool MatchLine(const std::wstring& line, const boost::wregex& pattern, boost::wsmatch& m);
// A search anywhere in the line.
bool SearchLine(const std::wstring& line, const boost::wregex& pattern, boost::wsmatch& m);

}  // namespace kroHandParser
