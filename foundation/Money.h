// Money is a signed 32-bit count of cents.
#pragma once

#include <cstdint>
#include <string_view>

// Cents of a decimal text amount, floor(amount * 100 + 0.5). With
// `removeThousands` every "," is dropped first. Text that is no number gives 0;
// amounts beyond the 32-bit range are clamped.
int32_t AmountToCents(std::wstring_view text, bool removeThousands = false);

// floor(value * 100 + 0.5), clamped to the 32-bit range.
int32_t UnitsToCents(double value);

// A sum of cents in 64 bits brought back to 32: sums beyond the range are
// clamped to its ends, which no real amount reaches.
int32_t ClampCents(int64_t cents);

// True for an amount that is no real one: negative, or at or beyond the
// largest 32-bit count of cents (where amounts read from text are clamped).
bool IsAmountOutOfRange(int64_t cents);
