#include "timelib/civil.h"

namespace quendel::civil {

void SplitDays(std::uint64_t ticks, std::uint32_t* days, std::uint64_t* tickOfDay) {
    const std::uint64_t d = ticks / kTicksPerDay;  // [0, 10675199]
    *days = static_cast<std::uint32_t>(d);
    *tickOfDay = ticks - d * kTicksPerDay;         // [0, kTicksPerDay)
}

bool TicksToFields(std::uint64_t ticks, SYSTEMTIME* fields) {
    if (ticks > kMaxTicks) return false;
    std::uint32_t days;
    std::uint64_t tickOfDay;
    SplitDays(ticks, &days, &tickOfDay);
    // A day has 864e9 ticks; in milliseconds it fits 32 bits, which keeps the rest cheap.
    const std::uint32_t msOfDay = static_cast<std::uint32_t>(tickOfDay / kTicksPerMillisecond);  // [0, 86399999]
    const std::uint32_t secOfDay = msOfDay / 1000;  // [0, 86399]
    const CivilDate date = CivilFromDays(days);
    fields->wYear = static_cast<WORD>(date.year);
    fields->wMonth = static_cast<WORD>(date.month);
    fields->wDayOfWeek = static_cast<WORD>(WeekdayFromDays(days));
    fields->wDay = static_cast<WORD>(date.day);
    fields->wHour = static_cast<WORD>(secOfDay / 3600);
    fields->wMinute = static_cast<WORD>(secOfDay / 60 % 60);
    fields->wSecond = static_cast<WORD>(secOfDay % 60);
    fields->wMilliseconds = static_cast<WORD>(msOfDay % 1000);
    return true;
}

bool FieldsToTicks(const SYSTEMTIME& f, std::uint64_t* ticks) {
    if (f.wYear < kMinYear || f.wYear > kMaxYear || f.wMonth < 1 || f.wMonth > 12 || f.wDay < 1 ||
        f.wDay > DaysInMonth(f.wYear, f.wMonth) || f.wHour > 23 || f.wMinute > 59 || f.wSecond > 59 ||
        f.wMilliseconds > 999)
        return false;
    const std::uint32_t days = static_cast<std::uint32_t>(DaysFromCivil(f.wYear, f.wMonth, f.wDay));
    const std::uint32_t msOfDay =
        ((f.wHour * 60u + f.wMinute) * 60u + f.wSecond) * 1000u + f.wMilliseconds;  // [0, 86399999]
    *ticks = days * kTicksPerDay + msOfDay * kTicksPerMillisecond;
    return true;
}

}  // namespace quendel::civil
