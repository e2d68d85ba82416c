#include "timelib/civil.h"

namespace quendel::civil {

namespace {

#if defined(__i386__)
// hi:lo / divisor with the processor's 64-by-32-bit division, for hi < divisor (the
// quotient fits 32 bits); the runtime's 64-bit division helper is several times slower.
inline std::uint32_t Divide64By32(std::uint64_t dividend, std::uint32_t divisor, std::uint32_t* remainder) {
    std::uint32_t quotient, rest;
    __asm__("divl %4"
            : "=a"(quotient), "=d"(rest)
            : "a"(static_cast<std::uint32_t>(dividend)), "d"(static_cast<std::uint32_t>(dividend >> 32)),
              "rm"(divisor));
    *remainder = rest;
    return quotient;
}
#endif

}  // namespace

void SplitDays(std::uint64_t ticks, std::uint32_t* days, std::uint64_t* tickOfDay) {
#if defined(__i386__)
    // A day is 2^14 x 52734375 ticks; floor(floor(t / 2^14) / 52734375) = floor(t / day), and
    // t / 2^14 < 2^49 keeps its high word below the divisor.
    std::uint32_t unused;
    const std::uint32_t d = Divide64By32(ticks >> 14, 52734375u, &unused);  // [0, 10675199]
#else
    const std::uint32_t d = static_cast<std::uint32_t>(ticks / kTicksPerDay);  // [0, 10675199]
#endif
    *days = d;
    *tickOfDay = ticks - d * kTicksPerDay;  // [0, kTicksPerDay)
}

namespace {

// Milliseconds of a tick count within one day.
inline std::uint32_t MillisecondsOfDay(std::uint64_t tickOfDay) {
#if defined(__i386__)
    std::uint32_t unused;
    return Divide64By32(tickOfDay, 10000u, &unused);  // tickOfDay < 2^40: high word < 10000
#else
    return static_cast<std::uint32_t>(tickOfDay / kTicksPerMillisecond);
#endif
}

}  // namespace

bool TicksToFields(std::uint64_t ticks, SYSTEMTIME* fields) {
    if (ticks > kMaxTicks) return false;
    std::uint32_t days;
    std::uint64_t tickOfDay;
    SplitDays(ticks, &days, &tickOfDay);
    // In milliseconds a day fits 32 bits, which keeps the rest cheap.
    const std::uint32_t msOfDay = MillisecondsOfDay(tickOfDay);  // [0, 86399999]
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
    return DateTimeToTicks(f.wYear, f.wMonth, f.wDay, f.wHour, f.wMinute, f.wSecond, f.wMilliseconds, ticks);
}

}  // namespace quendel::civil
