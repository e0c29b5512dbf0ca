#include "foundation/Money.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

int32_t UnitsToCents(double value)
{
    if (!std::isfinite(value)) {
        return 0;
    }
    const double cents = std::floor(value * 100.0 + 0.5);
    if (cents >= static_cast<double>(std::numeric_limits<int32_t>::max())) {
        return std::numeric_limits<int32_t>::max();
    }
    if (cents <= static_cast<double>(std::numeric_limits<int32_t>::min())) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(cents);
}

int32_t AmountToCents(std::wstring_view text, bool removeThousands)
{
    std::string digits;
    digits.reserve(text.size());
    for (wchar_t c : text) {
        if (removeThousands && c == L',') {
            continue;
        }
        if (c > 0x7F) {
            break;
        }
        digits.push_back(static_cast<char>(c));
    }
    // strtod would honour the locale's decimal point; hand amounts always use ".".
    double value = 0;
    bool negative = false;
    size_t i = 0;
    while (i < digits.size() && digits[i] == ' ') {
        ++i;
    }
    if (i < digits.size() && (digits[i] == '-' || digits[i] == '+')) {
        negative = digits[i] == '-';
        ++i;
    }
    bool any = false;
    while (i < digits.size() && digits[i] >= '0' && digits[i] <= '9') {
        value = value * 10 + (digits[i] - '0');
        any = true;
        ++i;
    }
    if (i < digits.size() && digits[i] == '.') {
        ++i;
        double scale = 0.1;
        while (i < digits.size() && digits[i] >= '0' && digits[i] <= '9') {
            value += (digits[i] - '0') * scale;
            scale /= 10;
            any = true;
            ++i;
        }
    }
    if (!any) {
        return 0;
    }
    return UnitsToCents(negative ? -value : value);
}

int32_t ClampCents(int64_t cents)
{
    if (cents >= std::numeric_limits<int32_t>::max()) {
        return std::numeric_limits<int32_t>::max();
    }
    if (cents <= std::numeric_limits<int32_t>::min()) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(cents);
}

bool IsAmountOutOfRange(int64_t cents)
{
    return cents < 0 || cents >= std::numeric_limits<int32_t>::max();
}
