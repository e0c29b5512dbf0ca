// Integers as wide decimal text, for the values of new rows.
#pragma once

#include <concepts>
#include <iterator>
#include <string>
#include <type_traits>

// The decimal digits of an integer, as std::to_wstring writes them, without
// its trip through the C library's formatting (rows of every hand need
// dozens).
template <std::integral T>
std::wstring NumberText(T value)
{
    wchar_t digits[24];
    wchar_t* end = digits + std::size(digits);
    wchar_t* at = end;
    const bool negative = value < 0;
    // Unsigned, so that the smallest value negates without overflow; cast
    // back, as small types are promoted to int on the way.
    using Unsigned = std::make_unsigned_t<T>;
    Unsigned rest = static_cast<Unsigned>(value);
    if (negative) {
        rest = static_cast<Unsigned>(Unsigned{0} - rest);
    }
    do {
        *--at = static_cast<wchar_t>(L'0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    if (negative) {
        *--at = L'-';
    }
    return std::wstring(at, end);
}
