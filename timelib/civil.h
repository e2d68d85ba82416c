// Proleptic Gregorian calendar arithmetic on the FILETIME scale.
//
// Small pure integer functions, no OS calls: the library converts between tick counts and
// calendar fields itself, holding the published contracts of FileTimeToSystemTime and
// SystemTimeToFileTime on every platform (Wine, for one, accepts 29 February 2003).
// Days are counted from 1601-01-01, which was a Monday.
#pragma once

#include <windows.h>

#include <cstdint>

namespace quendel::civil {

inline constexpr std::uint64_t kTicksPerMillisecond = 10000;
inline constexpr std::uint64_t kTicksPerSecond = 10000000;
inline constexpr std::uint64_t kTicksPerMinute = 600000000;
inline constexpr std::uint64_t kTicksPerHour = 36000000000;
inline constexpr std::uint64_t kTicksPerDay = 864000000000;
inline constexpr std::uint64_t kTicksPerWeek = 6048000000000;

// The largest count the platform turns into fields: 30828-09-14 02:48:05.4775807.
inline constexpr std::uint64_t kMaxTicks = 0x7FFFFFFFFFFFFFFFull;
inline constexpr int kMinYear = 1601;
inline constexpr int kMaxYear = 30827;  // the last full year SystemTimeToFileTime accepts

constexpr bool IsLeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

// Days of the month, 28 to 31; month must be 1 to 12.
constexpr unsigned DaysInMonth(int year, unsigned month) {
    constexpr unsigned char kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29u : kDays[month - 1];
}

// Days from 1601-01-01 to the date; year >= 1600, month 1 to 12, day 1 to 31.
constexpr std::int32_t DaysFromCivil(int year, unsigned month, unsigned day) {
    const unsigned y = static_cast<unsigned>(year) - (month <= 2);                 // March-based year, >= 1599
    const unsigned era = y / 400;                                                   // [3, 77]
    const unsigned yoe = y - era * 400;                                             // [0, 399]
    const unsigned doy = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;  // [0, 365]
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;                    // [0, 146096]
    // 584694 days lie between 0000-03-01 and 1601-01-01.
    return static_cast<std::int32_t>(era * 146097 + doe) - 584694;
}

struct CivilDate {
    int year;
    unsigned month;  // [1, 12]
    unsigned day;    // [1, 31]
};

// The date `days` after 1601-01-01; days >= 0.
constexpr CivilDate CivilFromDays(std::uint32_t days) {
    const std::uint32_t z = days + 584694 - 146097 * 4;  // from 1600-03-01, the start of an era
    const std::uint32_t era = z / 146097;                // [0, 73]
    const std::uint32_t doe = z - era * 146097;          // [0, 146096]
    const std::uint32_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;  // [0, 399]
    const std::uint32_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);              // [0, 365]
    const std::uint32_t mp = (5 * doy + 2) / 153;                                    // [0, 11]
    const unsigned day = doy - (153 * mp + 2) / 5 + 1;                               // [1, 31]
    const unsigned month = mp < 10 ? mp + 3 : mp - 9;                                // [1, 12]
    const int year = static_cast<int>(yoe + era * 400 + 1600) + (month <= 2);
    return {year, month, day};
}

// Weekday of a day count, 0 = Sunday to 6 = Saturday (the platform's numbering).
constexpr unsigned WeekdayFromDays(std::uint32_t days) {
    return (days + 1) % 7;  // day 0 was a Monday
}

// Validated date and time to ticks, as FieldsToTicks; the fields need not form a SYSTEMTIME.
inline bool DateTimeToTicks(int year, int month, int day, int hour, int minute, int second, int ms,
                            std::uint64_t* ticks) {
    // Unsigned comparisons fold the lower bounds into the upper ones.
    if (static_cast<unsigned>(year - kMinYear) > static_cast<unsigned>(kMaxYear - kMinYear) ||
        static_cast<unsigned>(month - 1) > 11u || static_cast<unsigned>(hour) > 23u ||
        static_cast<unsigned>(minute) > 59u || static_cast<unsigned>(second) > 59u || static_cast<unsigned>(ms) > 999u ||
        static_cast<unsigned>(day - 1) > 30u)
        return false;
    // Month lengths from a table; the leap rule only for 29 February.
    constexpr unsigned char kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (static_cast<unsigned>(day) > kDays[month - 1] && !(month == 2 && day == 29 && IsLeapYear(year)))
        return false;
    const std::uint32_t days = static_cast<std::uint32_t>(
        DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)));  // [0, 10674833]
    const std::uint32_t msOfDay = ((static_cast<std::uint32_t>(hour) * 60u + static_cast<std::uint32_t>(minute)) * 60u +
                                   static_cast<std::uint32_t>(second)) * 1000u +
                                  static_cast<std::uint32_t>(ms);  // [0, 86399999]
    *ticks = days * kTicksPerDay + static_cast<std::uint64_t>(msOfDay) * kTicksPerMillisecond;
    return true;
}

// Ticks to UTC calendar fields, weekday included. False (fields untouched) for counts
// above kMaxTicks, as FileTimeToSystemTime.
bool TicksToFields(std::uint64_t ticks, SYSTEMTIME* fields);

// Calendar fields to ticks, as SystemTimeToFileTime: wDayOfWeek is ignored; years 1601 to
// 30827, every other field in its range and the day within its month, else false.
bool FieldsToTicks(const SYSTEMTIME& fields, std::uint64_t* ticks);

// Splits ticks into whole days and the ticks of the day; ticks <= kMaxTicks.
void SplitDays(std::uint64_t ticks, std::uint32_t* days, std::uint64_t* tickOfDay);

}  // namespace quendel::civil
