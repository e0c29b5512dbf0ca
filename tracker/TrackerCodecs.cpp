#include "tracker/TrackerCodecs.h"

#include "foundation/WideText.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cwctype>
#include <optional>

namespace {

// One "%d" conversion at `pos`: leading blanks, an optional sign and digits.
std::optional<int> ScanInt(const std::wstring& text, size_t& pos)
{
    size_t i = pos;
    while (i < text.size() && std::iswspace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) {
        negative = text[i] == L'-';
        ++i;
    }
    const size_t first = i;
    int64_t value = 0;
    while (i < text.size() && text[i] >= L'0' && text[i] <= L'9') {
        value = std::min<int64_t>(value * 10 + (text[i] - L'0'), int64_t{INT_MAX} + 1);
        ++i;
    }
    if (i == first) {
        return std::nullopt;
    }
    pos = i;
    value = negative ? -value : std::min<int64_t>(value, INT_MAX);
    return static_cast<int>(std::max<int64_t>(value, INT_MIN));
}

// One "%lf" conversion at `pos`: blanks, sign, digits with an optional
// fraction and exponent. `comma` also accepts a decimal comma.
std::optional<double> ScanDouble(const std::wstring& text, size_t& pos, bool comma)
{
    size_t i = pos;
    while (i < text.size() && std::iswspace(text[i])) {
        ++i;
    }
    std::string number;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) {
        if (text[i] == L'-') {
            number += '-';
        }
        ++i;
    }
    size_t digits = 0;
    auto takeDigits = [&] {
        while (i < text.size() && text[i] >= L'0' && text[i] <= L'9') {
            number += static_cast<char>(text[i]);
            ++i;
            ++digits;
        }
    };
    takeDigits();
    if (i < text.size() && (text[i] == L'.' || (comma && text[i] == L','))) {
        number += '.';
        ++i;
        takeDigits();
    }
    if (digits == 0) {
        return std::nullopt;
    }
    if (i + 1 < text.size() && (text[i] == L'e' || text[i] == L'E')) {
        size_t j = i + 1;
        std::string exponent = "e";
        if (text[j] == L'-' || text[j] == L'+') {
            exponent += static_cast<char>(text[j]);
            ++j;
        }
        const size_t start = j;
        while (j < text.size() && text[j] >= L'0' && text[j] <= L'9') {
            exponent += static_cast<char>(text[j]);
            ++j;
        }
        if (j > start) {
            number += exponent;
            i = j;
        }
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec != std::errc{} || !std::isfinite(value)) {
        return std::nullopt;
    }
    (void)end;
    pos = i;
    return value;
}

bool Expect(const std::wstring& text, size_t& pos, wchar_t c)
{
    if (pos < text.size() && text[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

std::wstring Widen(const std::string& s)
{
    return std::wstring(s.begin(), s.end());
}

std::wstring TwoDigits(int64_t v)
{
    std::wstring text = std::to_wstring(v);
    return text.size() < 2 ? L"0" + text : text;
}

}  // namespace

std::wstring FormatWindowRect(const CWindowRect& rect)
{
    return std::to_wstring(rect.left) + L":" + std::to_wstring(rect.top) + L":" +
           std::to_wstring(rect.right) + L":" + std::to_wstring(rect.bottom);
}

CWindowRect ParseWindowRect(const std::wstring& text)
{
    CWindowRect rect;
    int* fields[] = {&rect.left, &rect.top, &rect.right, &rect.bottom};
    size_t pos = 0;
    for (size_t i = 0; i < 4; ++i) {
        if (i > 0 && !Expect(text, pos, L':')) {
            break;
        }
        const auto v = ScanInt(text, pos);
        if (!v) {
            break;
        }
        *fields[i] = *v;
    }
    return rect;
}

CWindowRect RestoreWindowRect(const std::wstring& stored, const std::vector<CWindowRect>& screens)
{
    CWindowRect rect{0, 0, kTrackerWidth, kTrackerHeight};
    if (!stored.empty()) {
        CWindowRect read = ParseWindowRect(stored);
        // Widen to 64 bits: a stored edge near INT_MIN must not overflow.
        auto shift = [](int& low, int& high) {
            if (low < 0) {
                const int64_t moved = int64_t{high} - low;
                high = static_cast<int>(std::clamp<int64_t>(moved, INT_MIN, INT_MAX));
                low = 0;
            }
        };
        shift(read.left, read.right);
        shift(read.top, read.bottom);
        int maxWidth = 0;
        int maxHeight = 0;
        for (const auto& s : screens) {
            maxWidth = std::max(maxWidth, s.Width());
            maxHeight = std::max(maxHeight, s.Height());
        }
        const bool sized =
            read.right > read.left && read.bottom > read.top &&
            (screens.empty() || (read.Width() <= maxWidth && read.Height() <= maxHeight));
        rect = read;
        if (!sized) {
            rect.right =
                static_cast<int>(std::min<int64_t>(int64_t{read.left} + kTrackerWidth, INT_MAX));
            rect.bottom =
                static_cast<int>(std::min<int64_t>(int64_t{read.top} + kTrackerHeight, INT_MAX));
        }
    }
    if (screens.empty()) {
        return rect;
    }
    auto overlap = [&](const CWindowRect& s) {
        const int64_t w =
            std::min<int64_t>(rect.right, s.right) - std::max<int64_t>(rect.left, s.left);
        const int64_t h =
            std::min<int64_t>(rect.bottom, s.bottom) - std::max<int64_t>(rect.top, s.top);
        return w > 0 && h > 0 ? w * h : 0;
    };
    const CWindowRect* best = &screens.front();
    int64_t bestArea = overlap(*best);
    for (const auto& s : screens) {
        if (overlap(s) > bestArea) {
            best = &s;
            bestArea = overlap(s);
        }
    }
    const int width = std::min(rect.Width(), best->Width());
    const int height = std::min(rect.Height(), best->Height());
    const int left = std::clamp<int64_t>(rect.left, best->left, int64_t{best->right} - width);
    const int top = std::clamp<int64_t>(rect.top, best->top, int64_t{best->bottom} - height);
    return CWindowRect{left, top, left + rect.Width(), top + rect.Height()};
}

std::wstring FormatSessionTime(int64_t seconds)
{
    seconds = std::max<int64_t>(seconds, 0);
    return TwoDigits(seconds / 3600) + L":" + TwoDigits(seconds % 3600 / 60);
}

std::wstring FormatCents(int64_t cents)
{
    const uint64_t magnitude = cents < 0 ? 0 - static_cast<uint64_t>(cents) : cents;
    return (cents < 0 ? L"-" : L"") + std::to_wstring(magnitude / 100) + L"." +
           TwoDigits(static_cast<int64_t>(magnitude % 100));
}

std::wstring FormatTwoDecimals(double value)
{
    char buffer[64];
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    if (ec != std::errc{}) {
        return L"0.00";
    }
    return Widen(std::string(buffer, end));
}

void ParseIntPair(const std::wstring& text, int& on, int& value)
{
    size_t pos = 0;
    if (const auto a = ScanInt(text, pos)) {
        on = *a;
        if (Expect(text, pos, L':')) {
            if (const auto b = ScanInt(text, pos)) {
                value = *b;
            }
        }
    }
}

std::wstring FormatIntPair(int on, int value)
{
    return std::to_wstring(on) + L":" + std::to_wstring(value);
}

void ParseMoneyParam(const std::wstring& text, int& on, double& takeProfit, double& stopLoss)
{
    size_t pos = 0;
    const auto a = ScanInt(text, pos);
    if (!a) {
        return;
    }
    on = *a;
    if (!Expect(text, pos, L':')) {
        return;
    }
    const auto b = ScanDouble(text, pos, false);
    if (!b) {
        return;
    }
    takeProfit = *b;
    if (!Expect(text, pos, L':')) {
        return;
    }
    if (const auto c = ScanDouble(text, pos, false)) {
        stopLoss = *c;
    }
}

std::wstring FormatMoneyParam(int on, double takeProfit, double stopLoss)
{
    return std::to_wstring(on) + L":" + FormatTwoDecimals(takeProfit) + L":" +
           FormatTwoDecimals(stopLoss);
}

double ParseRate(const std::wstring& text)
{
    size_t pos = 0;
    return ScanDouble(text, pos, true).value_or(0.0);
}

int ParseAlarmTime(const std::wstring& text)
{
    std::wstring digits;
    for (const wchar_t c : text) {
        if (c != L'_' && c != L':') {
            digits += c;
        }
    }
    digits = Trim(digits);
    if (digits.size() != 4 || !std::all_of(digits.begin(), digits.end(),
                                           [](wchar_t c) { return c >= L'0' && c <= L'9'; })) {
        return -1;
    }
    const int hours = (digits[0] - L'0') * 10 + (digits[1] - L'0');
    const int minutes = (digits[2] - L'0') * 10 + (digits[3] - L'0');
    return hours * 60 + minutes;
}

std::wstring FormatAlarmTime(int minutes)
{
    minutes = std::max(minutes, 0);
    return TwoDigits(minutes / 60) + L":" + TwoDigits(minutes % 60);
}
