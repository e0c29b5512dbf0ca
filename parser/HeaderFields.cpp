#include "parser/HeaderFields.h"

#include "foundation/LocalTime.h"
#include "foundation/Money.h"

#include <cwchar>

namespace kroHandParser {

namespace {

int IntOf(const boost::wssub_match& g)
{
    const std::wstring text = g.str();
    if (text.empty() || text.size() > 9) {
        return -1;
    }
    return static_cast<int>(std::wcstol(text.c_str(), nullptr, 10));
}

}  // namespace

std::optional<int64_t> DateTimeFromGroups(const boost::wsmatch& m, int first)
{
    return LocalDateTimeToSeconds(IntOf(m[first]), IntOf(m[first + 1]), IntOf(m[first + 2]),
                                  IntOf(m[first + 3]), IntOf(m[first + 4]), IntOf(m[first + 5]));
}

std::optional<int64_t> DateTimeFromGroupsNoSeconds(const boost::wsmatch& m, int first)
{
    return LocalDateTimeToSeconds(IntOf(m[first]), IntOf(m[first + 1]), IntOf(m[first + 2]),
                                  IntOf(m[first + 3]), IntOf(m[first + 4]), 0);
}

int CurrencyFromLetters(const std::wstring& text)
{
    if (text == L"USD") {
        return 0;
    }
    if (text == L"EUR" || text == L"EURO") {
        return 1;
    }
    if (text == L"GBP") {
        return 2;
    }
    if (text == L"CNY") {
        return 3;
    }
    return -1;
}

int32_t CentsOf(const boost::wssub_match& group)
{
    return AmountToCents(GroupView(group));
}

int ToInt(const std::wstring& text)
{
    if (text.size() > 9) {
        return 0;
    }
    return static_cast<int>(std::wcstol(text.c_str(), nullptr, 10));
}

void RemoveThousandsSeparators(std::wstring& line)
{
    if (line.find(L',') == std::wstring::npos) {
        return;
    }
    const auto digit = [&line](size_t i) {
        return i < line.size() && line[i] >= L'0' && line[i] <= L'9';
    };
    const auto sign = [](wchar_t c) {
        return c == L'$' || c == L'\u20AC' || c == L'\u00A3' || c == L'\u00A5';
    };
    std::wstring out;
    out.reserve(line.size());
    bool inAmount = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const wchar_t c = line[i];
        if (sign(c)) {
            inAmount = true;
        } else if (c == L',' && inAmount && i > 0 && digit(i - 1) && digit(i + 1) && digit(i + 2) &&
                   digit(i + 3) && !digit(i + 4)) {
            // A separator is followed by exactly three digits.
            continue;
        } else if (!digit(i) && c != L'.') {
            inAmount = false;
        }
        out += c;
    }
    line.swap(out);
}

void RemoveRupeeSigns(std::wstring& line)
{
    static const std::wstring kSign = L"Rs. ";
    if (line.find(kSign) == std::wstring::npos) {
        return;
    }
    const auto digit = [&line](size_t i) {
        return i < line.size() && line[i] >= L'0' && line[i] <= L'9';
    };
    std::wstring out;
    out.reserve(line.size());
    for (size_t i = 0; i < line.size();) {
        if (line.compare(i, kSign.size(), kSign) != 0 || !digit(i + kSign.size())) {
            out += line[i++];
            continue;
        }
        i += kSign.size();
        while (digit(i) || (i < line.size() && line[i] == L'.') ||
               (i < line.size() && line[i] == L',' && digit(i + 1) && digit(i + 2) &&
                digit(i + 3) && !digit(i + 4))) {
            if (line[i] != L',') {
                out += line[i];
            }
            ++i;
        }
    }
    line = std::move(out);
}

bool MatchLine(const std::wstring& line, const boost::wregex& pattern, boost::wsmatch& m)
{
    return boost::regex_match(line, m, pattern);
}

bool SearchLine(const std::wstring& line, const boost::wregex& pattern, boost::wsmatch& m)
{
    return boost::regex_search(line, m, pattern);
}

}  // namespace kroHandParser
