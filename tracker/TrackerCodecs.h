// The text forms the session tracker keeps in the profile and shows: window
// rectangles, session times, amounts, the alarm parameters and currency rates.
// Pure functions, independent of the C locale (a decimal comma in the user's
// locale never reaches a stored amount). Qt-free.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct CWindowRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const CWindowRect&) const = default;
};

// The tracker's size at start, in pixels.
inline constexpr int kTrackerWidth = 300;
inline constexpr int kTrackerHeight = 160;

// "left:top:right:bottom".
std::wstring FormatWindowRect(const CWindowRect& rect);

// Reads "%d:%d:%d:%d" as the C library does: reading stops at the first field
// that does not match; the fields not read stay 0.
CWindowRect ParseWindowRect(const std::wstring& text);

// Where the tracker opens: (0, 0) at 300 x 160 without a stored rectangle;
// otherwise the stored one with a negative left or top edge moved to 0 (the
// opposite edge moving with it). A stored rectangle without a usable size
// (fewer than four numbers, an empty or inverted rectangle, or one larger than
// every screen) keeps its corner and takes the start size. Last, the window is
// moved (never resized) onto the screen that holds most of it, or the first
// screen when none does, so a window saved on a screen that is gone comes back
// into view. `screens` may be empty (nothing to clamp to).
CWindowRect RestoreWindowRect(const std::wstring& stored, const std::vector<CWindowRect>& screens);

// Whole hours and the remaining whole minutes of `seconds`, "%02d:%02d";
// negative durations (a clock set back) count as 0.
std::wstring FormatSessionTime(int64_t seconds);

// Cents as units with two decimals: -1234 gives "-12.34".
std::wstring FormatCents(int64_t cents);

// A number with two decimals ("%.2lf"), rounded half away from zero.
std::wstring FormatTwoDecimals(double value);

// Hands and time alarms: "%d:%d" (on, count or minutes). Fields that cannot be
// read keep the values passed in.
void ParseIntPair(const std::wstring& text, int& on, int& value);
std::wstring FormatIntPair(int on, int value);

// The money alarm: "%d:%lf:%lf" (on, take profit, stop loss) read the same
// way; written with two decimals.
void ParseMoneyParam(const std::wstring& text, int& on, double& takeProfit, double& stopLoss);
std::wstring FormatMoneyParam(int on, double takeProfit, double stopLoss);

// The value of a rate text as a leading decimal number (blanks first, then an
// optional sign, digits and a decimal point or comma); 0 when the text does
// not start with one.
double ParseRate(const std::wstring& text);

// An alarm time as the masked edit holds it ("01:30", blanks shown as "_"):
// every "_" and the ":" removed and blanks trimmed, it must be four digits.
// Gives the minutes (hours x 60 + minutes), or -1 when the text is not of that
// form.
int ParseAlarmTime(const std::wstring& text);
// Minutes as the alarm time text "%02d:%02d".
std::wstring FormatAlarmTime(int minutes);
