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

inline constexpr unsigned char kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Days of the month, 28 to 31; month must be 1 to 12.
constexpr unsigned DaysInMonth(int year, unsigned month) {
    return month == 2 && IsLeapYear(year) ? 29u : kMonthDays[month - 1];
}

// The two conversions below count in a computational calendar whose years begin on
// 1 March, so that the leap day ends the year, and replace each division by a constant
// with a multiplication and a shift that give the same quotient over the whole range
// (Neri and Schneider, "Euclidean affine functions and their application to calendar
// algorithms", 2022). 584694 days lie between 0000-03-01 and 1601-01-01.
inline constexpr std::uint32_t kDaysFromMarchZero = 584694;

// Days from 1 March to the first of the month, by month 1 to 12: (979 m - 2919) / 32 for
// m = 3 to 14, January and February counted as months 13 and 14. A load, where the formula
// is a chain of five steps.
inline constexpr std::uint16_t kMonthDaysFromMarch[13] = {0, 306, 337, 0, 31, 61, 92, 122, 153, 184, 214, 245, 275};

// Days from 1601-01-01 to the date; year 1600 to 30829, month 1 to 12, day 1 to 31.
constexpr std::int32_t DaysFromCivil(int year, unsigned month, unsigned day) {
    const std::uint32_t january = month <= 2;                                // [0, 1]
    const std::uint32_t y = static_cast<std::uint32_t>(year) - january;      // [1599, 30829]
    // y / 100 and y / 400 from one 32-bit product: 5243 / 2^19 is 1 / 100 closely enough
    // for every y below 43699.
    const std::uint32_t scaled = 5243 * y;                                  // < 2^28
    const std::uint32_t century = scaled >> 19;                             // [15, 308]
    const std::uint32_t yearDays = 1461 * y / 4 - century + (scaled >> 21);  // days before y-03-01
    const std::uint32_t monthDays = kMonthDaysFromMarch[month];             // [0, 337] from 1 March
    return static_cast<std::int32_t>(yearDays + monthDays + day - 1 - kDaysFromMarchZero);
}

struct CivilDate {
    int year;
    unsigned month;  // [1, 12]
    unsigned day;    // [1, 31]
};

// The date `days` after 1601-01-01; days 0 to 10675199 (30828-09-14).
constexpr CivilDate CivilFromDays(std::uint32_t days) {
    const std::uint32_t n = days + kDaysFromMarchZero;                       // from 0000-03-01
    // Century and day of the century.
    const std::uint32_t n1 = 4 * n + 3;                                     // < 2^26
    const std::uint32_t century = n1 / 146097;                              // [16, 308]
    const std::uint32_t dayOfCentury = n1 % 146097 / 4;                     // [0, 36524]
    // Year of the century and day of the year: 2939745 / 2^32 is 1 / 1461.0000...
    const std::uint64_t p2 = 2939745ull * (4 * dayOfCentury + 3);
    const std::uint32_t yearOfCentury = static_cast<std::uint32_t>(p2 >> 32);                   // [0, 99]
    const std::uint32_t dayOfYear = static_cast<std::uint32_t>(p2) / 2939745 / 4;               // [0, 365]
    // Month and day: (2141 n + 197913) / 2^16 steps through the month lengths from March.
    const std::uint32_t n3 = 2141 * dayOfYear + 197913;
    const std::uint32_t month = n3 >> 16;                                    // [3, 14]
    const std::uint32_t day = (n3 & 0xFFFF) / 2141 + 1;                     // [1, 31]
    const std::uint32_t january = dayOfYear >= 306;                          // January or February
    return {static_cast<int>(100 * century + yearOfCentury + january), month - 12 * january, day};
}

// Weekday of a day count, 0 = Sunday to 6 = Saturday (the platform's numbering).
constexpr unsigned WeekdayFromDays(std::uint32_t days) {
    return (days + 1) % 7;  // day 0 was a Monday
}

// Whether the fields lie in their ranges: month 1-12, day 1-31, hour 0-23, minute and
// second 0-59, millisecond 0-999, year from kMinYear (the upper end is the date's check).
// One test: unsigned comparisons fold the lower bounds into the upper ones.
inline bool FieldsInRange(int year, int month, int day, int hour, int minute, int second, int ms) {
    return ((static_cast<unsigned>(month - 1) > 11u) | (static_cast<unsigned>(day - 1) > 30u) |
            (static_cast<unsigned>(hour) > 23u) | (static_cast<unsigned>(minute) > 59u) |
            (static_cast<unsigned>(second) > 59u) | (static_cast<unsigned>(ms) > 999u) | (year < kMinYear)) == 0;
}

// Longest month lengths, February's 29.
inline constexpr unsigned char kMonthDaysMost[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// For fields in range: whether the year is one SystemTimeToFileTime accepts and the day
// exists in its month. One test against the longest length, not a branch on the day, which
// random dates would make the processor mispredict; the leap rule only for 29 February.
inline bool DateExists(int year, int month, int day) {
    if ((year > kMaxYear) | (day > kMonthDaysMost[month - 1])) return false;
    if (day == 29 && month == 2) [[unlikely]]
        return IsLeapYear(year);
    return true;
}

// Ticks of fields in range whose date exists.
inline std::uint64_t TicksOf(int year, int month, int day, int hour, int minute, int second, int ms) {
    const std::uint32_t days = static_cast<std::uint32_t>(
        DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)));  // [0, 10674833]
    // Products side by side rather than one after another.
    const std::uint32_t msOfDay = static_cast<std::uint32_t>(hour) * 3600000u + static_cast<std::uint32_t>(minute) * 60000u +
                                  static_cast<std::uint32_t>(second) * 1000u + static_cast<std::uint32_t>(ms);  // [0, 86399999]
    return days * kTicksPerDay + static_cast<std::uint64_t>(msOfDay) * kTicksPerMillisecond;
}

// Validated date and time to ticks, as FieldsToTicks; the fields need not form a SYSTEMTIME.
inline bool DateTimeToTicks(int year, int month, int day, int hour, int minute, int second, int ms,
                            std::uint64_t* ticks) {
    if (!FieldsInRange(year, month, day, hour, minute, second, ms) || !DateExists(year, month, day)) return false;
    *ticks = TicksOf(year, month, day, hour, minute, second, ms);
    return true;
}

namespace detail {

#if defined(__i386__)
// hi:lo / divisor with the processor's 64-by-32-bit division, for hi < divisor (the
// quotient fits 32 bits); the runtime's 64-bit division helper is several times slower.
inline std::uint32_t Divide64By32(std::uint64_t dividend, std::uint32_t divisor) {
    std::uint32_t quotient, rest;
    __asm__("divl %4"
            : "=a"(quotient), "=d"(rest)
            : "a"(static_cast<std::uint32_t>(dividend)), "d"(static_cast<std::uint32_t>(dividend >> 32)),
              "rm"(divisor));
    return quotient;
}
#endif

// n / divisor for any n: on i686 long division in two steps of the processor's 64-by-32-bit
// division instead of the runtime's helper.
inline std::uint64_t DivideBy32(std::uint64_t n, std::uint32_t divisor) {
#if defined(__i386__)
    const std::uint32_t high = static_cast<std::uint32_t>(n >> 32);
    const std::uint32_t highQuotient = high / divisor;
    const std::uint64_t rest = static_cast<std::uint64_t>(high % divisor) << 32 | static_cast<std::uint32_t>(n);
    return static_cast<std::uint64_t>(highQuotient) << 32 | Divide64By32(rest, divisor);  // rest < divisor << 32
#else
    return n / divisor;
#endif
}

// Milliseconds of a tick count within one day.
inline std::uint32_t MillisecondsOfDay(std::uint64_t tickOfDay) {
#if defined(__i386__)
    return Divide64By32(tickOfDay, 10000u);  // tickOfDay < 2^40: high word < 10000
#else
    return static_cast<std::uint32_t>(tickOfDay / kTicksPerMillisecond);
#endif
}

}  // namespace detail

// Splits ticks into whole days and the ticks of the day; ticks <= kMaxTicks.
inline void SplitDays(std::uint64_t ticks, std::uint32_t* days, std::uint64_t* tickOfDay) {
#if defined(__i386__)
    // A day is 2^14 x 52734375 ticks; floor(floor(t / 2^14) / 52734375) = floor(t / day), and
    // t / 2^14 < 2^49 keeps its high word below the divisor.
    const std::uint32_t d = detail::Divide64By32(ticks >> 14, 52734375u);  // [0, 10675199]
#else
    const std::uint32_t d = static_cast<std::uint32_t>(ticks / kTicksPerDay);  // [0, 10675199]
#endif
    *days = d;
    *tickOfDay = ticks - d * kTicksPerDay;  // [0, kTicksPerDay)
}

// Ticks to UTC calendar fields, weekday included. False (fields untouched) for counts
// above kMaxTicks, as FileTimeToSystemTime. Inline: the zone conversions run it straight
// after their own arithmetic.
inline void StoreFields(std::uint32_t days, const CivilDate& date, std::uint64_t tickOfDay, SYSTEMTIME* fields) {
    // In milliseconds a day fits 32 bits, which keeps the rest cheap.
    const std::uint32_t msOfDay = detail::MillisecondsOfDay(tickOfDay);  // [0, 86399999]
    const std::uint32_t secOfDay = msOfDay / 1000;                       // [0, 86399]
    fields->wYear = static_cast<WORD>(date.year);
    fields->wMonth = static_cast<WORD>(date.month);
    fields->wDayOfWeek = static_cast<WORD>(WeekdayFromDays(days));
    fields->wDay = static_cast<WORD>(date.day);
    fields->wHour = static_cast<WORD>(secOfDay / 3600);
    fields->wMinute = static_cast<WORD>(secOfDay / 60 % 60);
    fields->wSecond = static_cast<WORD>(secOfDay % 60);
    fields->wMilliseconds = static_cast<WORD>(msOfDay % 1000);
}

inline bool TicksToFields(std::uint64_t ticks, SYSTEMTIME* fields) {
    if (ticks > kMaxTicks) return false;
    std::uint32_t days;
    std::uint64_t tickOfDay;
    SplitDays(ticks, &days, &tickOfDay);
    StoreFields(days, CivilFromDays(days), tickOfDay, fields);
    return true;
}

// Calendar fields to ticks, as SystemTimeToFileTime: wDayOfWeek is ignored; years 1601 to
// 30827, every other field in its range and the day within its month, else false.
inline bool FieldsToTicks(const SYSTEMTIME& f, std::uint64_t* ticks) {
    return DateTimeToTicks(f.wYear, f.wMonth, f.wDay, f.wHour, f.wMinute, f.wSecond, f.wMilliseconds, ticks);
}

}  // namespace quendel::civil
