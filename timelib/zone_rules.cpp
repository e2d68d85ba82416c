#include "timelib/zone_rules.h"

#include "timelib/civil.h"

namespace quendel::zone {
namespace detail {

// base + offset when the sum stays on the tick scale [0, kMaxTicks]. Computed unsigned: a
// sum below zero wraps far above kMaxTicks (|offset| < 2^62), one beyond it stays there.
bool Shift(std::uint64_t base, std::int64_t offset, std::uint64_t* out) {
    const std::uint64_t sum = base + static_cast<std::uint64_t>(offset);
    if (base > civil::kMaxTicks || sum > civil::kMaxTicks) return false;
    *out = sum;
    return true;
}

int UtcYear(std::uint64_t utc) {
    std::uint32_t days;
    std::uint64_t tickOfDay;
    civil::SplitDays(utc, &days, &tickOfDay);
    return civil::CivilFromDays(days).year;
}

}  // namespace detail

using detail::Shift;
using detail::MinutesToTicks;

SummerForm FormOf(const TIME_ZONE_INFORMATION& zone) {
    const SYSTEMTIME& s = zone.StandardDate;
    const SYSTEMTIME& d = zone.DaylightDate;
    if (s.wMonth == 0 || d.wMonth == 0) return SummerForm::kNone;
    if (s.wYear == 0 && d.wYear == 0) return SummerForm::kRule;
    if (s.wYear != 0 && d.wYear != 0) return SummerForm::kAbsolute;
    return SummerForm::kNone;  // mixed forms
}

bool RuleWallTicks(const SYSTEMTIME& rule, int year, std::uint64_t* wall) {
    if (year < civil::kMinYear || year > civil::kMaxYear || rule.wMonth < 1 || rule.wMonth > 12 ||
        rule.wDayOfWeek > 6 || rule.wDay < 1 || rule.wHour > 23 || rule.wMinute > 59 || rule.wSecond > 59 ||
        rule.wMilliseconds > 999)
        return false;
    const std::uint32_t firstOfMonth = static_cast<std::uint32_t>(civil::DaysFromCivil(year, rule.wMonth, 1));
    const unsigned weekdayOfFirst = civil::WeekdayFromDays(firstOfMonth);                // [0, 6]
    const unsigned firstMatch = (rule.wDayOfWeek + 7u - weekdayOfFirst) % 7u;            // [0, 6]
    const unsigned occurrence = rule.wDay < 5 ? rule.wDay : 5u;                         // [1, 5]
    unsigned offset = firstMatch + (occurrence - 1) * 7;                                 // [0, 34]
    const unsigned length = civil::DaysInMonth(year, rule.wMonth);
    while (offset >= length) offset -= 7;  // a fifth occurrence that is not there: the last one
    const std::uint32_t msOfDay =
        ((rule.wHour * 60u + rule.wMinute) * 60u + rule.wSecond) * 1000u + rule.wMilliseconds;
    *wall = (firstOfMonth + offset) * civil::kTicksPerDay + msOfDay * civil::kTicksPerMillisecond;
    return true;
}

bool SummerPeriod(const TIME_ZONE_INFORMATION& zone, int year, StandardBiasUse use, Period* period) {
    std::uint64_t startWall, endWall;
    switch (FormOf(zone)) {
    case SummerForm::kNone:
        return false;
    case SummerForm::kAbsolute:
        if (!civil::FieldsToTicks(zone.DaylightDate, &startWall) || !civil::FieldsToTicks(zone.StandardDate, &endWall))
            return false;
        break;
    case SummerForm::kRule: {
        // A summer that runs over the new year ends in the next one.
        const int endYear = zone.StandardDate.wMonth < zone.DaylightDate.wMonth ? year + 1 : year;
        if (!RuleWallTicks(zone.DaylightDate, year, &startWall) || !RuleWallTicks(zone.StandardDate, endYear, &endWall))
            return false;
        break;
    }
    }
    const LONG standardBias = use == StandardBiasUse::kApply ? zone.StandardBias : 0;
    // The start is read on the standard-time clock, the end on the summer-time clock.
    return Shift(startWall, MinutesToTicks(zone.Bias) + MinutesToTicks(standardBias), &period->start) &&
           Shift(endWall, MinutesToTicks(zone.Bias) + MinutesToTicks(zone.DaylightBias), &period->end);
}

namespace detail {

// The periods beginning in the UTC years year - 1 ... year + 2 and the first tick of year + 1.
std::uint64_t PeriodsAround(const TIME_ZONE_INFORMATION& zone, int year, StandardBiasUse use, bool has[4],
                            Period periods[4]) {
    for (int i = 0; i < 4; ++i) has[i] = SummerPeriod(zone, year - 1 + i, use, &periods[i]);
    return static_cast<std::uint32_t>(civil::DaysFromCivil(year + 1, 1, 1)) * civil::kTicksPerDay;
}

// Summer of utc from the periods beginning in the UTC years first - 1 ... first + 2: the
// local year may differ from the UTC year near the new year, and a southern summer that
// began last year still runs in January, so the neighbours count too.
bool SummerAmong(const bool has[4], const Period periods[4], std::uint64_t nextYear, std::uint64_t utc) {
    const int own = utc < nextYear ? 1 : 2;
    for (int i = own - 1; i <= own + 1; ++i)
        if (has[i] && Contains(periods[i], utc)) return true;
    return false;
}

bool SummerInFull(const TIME_ZONE_INFORMATION& zone, std::uint64_t utc, StandardBiasUse use) {
    if (utc > civil::kMaxTicks) return false;
    Period p;
    switch (FormOf(zone)) {
    case SummerForm::kNone:
        return false;
    case SummerForm::kAbsolute:
        return SummerPeriod(zone, 0, use, &p) && Contains(p, utc);
    case SummerForm::kRule:
        break;
    }
    bool has[4];
    Period periods[4];
    const std::uint64_t nextYear = PeriodsAround(zone, UtcYear(utc), use, has, periods);
    return SummerAmong(has, periods, nextYear, utc);
}

Evaluation EvaluateInFull(const TIME_ZONE_INFORMATION& zone, std::uint64_t utc, StandardBiasUse use) {
    Evaluation e = {false, false, {0, 0}};
    if (utc > civil::kMaxTicks) return e;
    e.summer = SummerInFull(zone, utc, use);
    switch (FormOf(zone)) {
    case SummerForm::kNone:
        break;
    case SummerForm::kAbsolute:
        e.hasPeriod = SummerPeriod(zone, 0, use, &e.period);
        break;
    case SummerForm::kRule:
        e.hasPeriod = SummerPeriod(zone, UtcYear(utc), use, &e.period);
        break;
    }
    return e;
}

}  // namespace detail

}  // namespace quendel::zone
