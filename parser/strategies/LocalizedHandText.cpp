#include "parser/strategies/LocalizedHandText.h"

#include <limits>
#include <vector>

namespace kroHandParser {

namespace {

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\u00A0' || c == L'\u202F' || c == L'\t';
}

bool IsDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

bool IsSign(wchar_t c)
{
    return c == L'$' || c == L'\u20AC' || c == L'\u00A3' || c == L'\u00A5' || c == L'?';
}

std::wstring_view TrimBlanks(std::wstring_view text)
{
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// Rank letters of other languages that no English name uses.
wchar_t EnglishRank(std::wstring_view rank)
{
    if (rank == L"10" || rank == L"T") {
        return L'T';
    }
    if (rank.size() == 1 && ((rank[0] >= L'2' && rank[0] <= L'9') || rank[0] == L'J' ||
                             rank[0] == L'Q' || rank[0] == L'K' || rank[0] == L'A')) {
        return rank[0];
    }
    if (rank == L"Kn" || rank == L"B" || rank == L"\u0412" || rank == L"\u00C2") {
        return L'J';
    }
    if (rank == L"D" || rank == L"V" || rank == L"\u0414" || rank == L"\u00C4") {
        return L'Q';
    }
    if (rank == L"H" || rank == L"\u041A" || rank == L"\u00CA") {
        return L'K';
    }
    if (rank == L"E" || rank == L"\u0422" || rank == L"\u00D2") {
        return L'A';
    }
    return 0;
}

wchar_t EnglishSuit(std::wstring_view suit)
{
    if (suit == L"c" || suit == L"Kreuz") {
        return L'c';
    }
    if (suit == L"d" || suit == L"Karo") {
        return L'd';
    }
    if (suit == L"h" || suit == L"Herz") {
        return L'h';
    }
    if (suit == L"s" || suit == L"Pik") {
        return L's';
    }
    return 0;
}

// The two-letter name of one piece, or the piece itself.
std::wstring CardPiece(std::wstring_view piece)
{
    for (size_t split = 1; split < piece.size() && split <= 2; ++split) {
        const wchar_t rank = EnglishRank(piece.substr(0, split));
        const wchar_t suit = EnglishSuit(piece.substr(split));
        if (rank != 0 && suit != 0) {
            return std::wstring{rank, suit};
        }
    }
    return std::wstring(piece);
}

}  // namespace

std::optional<CLocalizedAmount> ReadLocalizedAmount(std::wstring_view text)
{
    text = TrimBlanks(text);
    CLocalizedAmount out;
    if (!text.empty() && IsSign(text.front())) {
        out.symbol = text.front();
        text = TrimBlanks(text.substr(1));
    }
    if (!text.empty() && IsSign(text.back())) {
        if (out.symbol != 0) {
            return std::nullopt;
        }
        out.symbol = text.back();
        text = TrimBlanks(text.substr(0, text.size() - 1));
    }
    if (text.empty() || !IsDigit(text.front()) || !IsDigit(text.back())) {
        return std::nullopt;
    }
    // Digit groups and the separators between them.
    std::vector<std::wstring> groups(1);
    std::vector<wchar_t> separators;
    for (wchar_t c : text) {
        if (IsDigit(c)) {
            groups.back().push_back(c);
        } else if (c == L',' || c == L'.' || IsBlank(c)) {
            if (groups.back().empty()) {
                return std::nullopt;
            }
            separators.push_back(c);
            groups.emplace_back();
        } else {
            return std::nullopt;
        }
    }
    std::wstring fraction;
    if (!separators.empty() && !IsBlank(separators.back()) && groups.back().size() <= 2) {
        fraction = groups.back();
        groups.pop_back();
        separators.pop_back();
    }
    // Every other separator divides thousands: each group after the first has
    // three digits.
    for (size_t i = 1; i < groups.size(); ++i) {
        if (groups[i].size() != 3) {
            return std::nullopt;
        }
    }
    int64_t units = 0;
    for (const auto& group : groups) {
        for (wchar_t c : group) {
            units = units * 10 + (c - L'0');
            if (units > std::numeric_limits<int32_t>::max() / 100) {
                return std::nullopt;
            }
        }
    }
    int64_t cents = units * 100;
    if (fraction.size() == 1) {
        cents += (fraction[0] - L'0') * 10;
    } else if (fraction.size() == 2) {
        cents += (fraction[0] - L'0') * 10 + (fraction[1] - L'0');
    }
    if (cents > std::numeric_limits<int32_t>::max()) {
        return std::nullopt;
    }
    out.cents = static_cast<int32_t>(cents);
    return out;
}

std::wstring NormaliseCardNames(std::wstring_view text)
{
    std::wstring out;
    size_t i = 0;
    while (i < text.size()) {
        const wchar_t c = text[i];
        if (c == L' ' || c == L',' || c == L'[' || c == L']') {
            out.push_back(c);
            ++i;
            continue;
        }
        size_t end = i;
        while (end < text.size() && text[end] != L' ' && text[end] != L',' && text[end] != L'[' &&
               text[end] != L']') {
            ++end;
        }
        out += CardPiece(text.substr(i, end - i));
        i = end;
    }
    return out;
}

}  // namespace kroHandParser
