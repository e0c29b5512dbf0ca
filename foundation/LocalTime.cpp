#include "foundation/LocalTime.h"

#include <ctime>

int64_t MeasureLocalUtcOffset()
{
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    utc.tm_isdst = -1;
    const std::time_t asLocal = std::mktime(&utc);
    return static_cast<int64_t>(now) - static_cast<int64_t>(asLocal);
}

std::optional<int64_t> LocalDateTimeToSeconds(
    int year, int month, int day, int hour, int minute, int second)
{
    if (year < 1970 || year > 2100 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 ||
        hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) {
        return std::nullopt;
    }
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    const std::time_t t = std::mktime(&tm);
    if (t == static_cast<std::time_t>(-1)) {
        return std::nullopt;
    }
    return static_cast<int64_t>(t);
}
