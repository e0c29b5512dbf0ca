// Local-time conversions of hand times (seconds since 1970).
#pragma once

#include <cstdint>
#include <optional>

// The local offset from UTC in seconds, L = now - (now's UTC broken-down time
// read as local time), measured at the moment of the call.
int64_t MeasureLocalUtcOffset();

// Seconds of a broken-down date and time read as local time (mktime with DST
// decided by the library). Returns nothing when a field is out of range: month
// 1..12, day 1..31, hour 0..23, minute and second 0..59, year 1970..2100. Day
// numbers past the month's end are accepted and normalised (30 February gives 2
// March), as the C library does.
std::optional<int64_t> LocalDateTimeToSeconds(
    int year, int month, int day, int hour, int minute, int second);
