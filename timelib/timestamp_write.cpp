// The text of a point in each timestamp form, as ReadTimestamp reads it back.
#include <cstdarg>
#include <cstdio>
#include <string>

#include "timelib/civil.h"
#include "timelib/leap_seconds.h"
#include "timelib/timestamp_detail.h"

namespace quendel::stamp {

namespace {

using namespace detail;

std::string Printed(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Printed(const char* format, ...) {
    char buffer[96];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

std::string Unsigned(std::uint64_t v) { return Printed("%llu", static_cast<unsigned long long>(v)); }

// "-" when ticks lie before the epoch, and the distance's magnitude.
std::uint64_t Distance(std::uint64_t ticks, std::uint64_t epoch, std::string* sign) {
    *sign = ticks < epoch ? "-" : "";
    return ticks < epoch ? epoch - ticks : ticks - epoch;
}

// A count of units with its fraction in `digits` decimals (trailing zeros dropped).
std::string WithFraction(std::uint64_t whole, std::uint64_t fraction, int digits) {
    std::string text = Unsigned(whole);
    if (fraction == 0) return text;
    std::string decimals = Printed("%0*llu", digits, static_cast<unsigned long long>(fraction));
    while (decimals.back() == '0') decimals.pop_back();
    return text + "." + decimals;
}

// Seconds from the epoch, signed, with the ticks as up to 7 decimals.
std::string Seconds(std::uint64_t ticks, std::uint64_t epoch) {
    std::string sign;
    const std::uint64_t d = Distance(ticks, epoch, &sign);
    return sign + WithFraction(d / kTicksPerSecond, d % kTicksPerSecond, 7);
}

// Whole units from the epoch, signed (toward the epoch).
std::string Units(std::uint64_t ticks, std::uint64_t epoch, std::uint64_t unitTicks) {
    std::string sign;
    const std::uint64_t d = Distance(ticks, epoch, &sign);
    return d / unitTicks == 0 ? "0" : sign + Unsigned(d / unitTicks);
}

// Days from the epoch; the fraction, the time of day, in 12 decimals, which read back to the
// very tick (a decimal step of 0.864 ticks). Before the epoch the OLE way: whole days back,
// the time of day forward.
std::string Days(std::uint64_t ticks, std::uint64_t epoch) {
    std::string sign;
    std::uint64_t days = 0, rest = 0;
    if (ticks >= epoch) days = (ticks - epoch) / kTicksPerDay, rest = (ticks - epoch) % kTicksPerDay;
    else {
        days = (epoch - ticks + kTicksPerDay - 1) / kTicksPerDay;
        rest = ticks - (epoch - days * kTicksPerDay);
        sign = "-";
    }
    std::uint64_t fraction = (rest * 125 + 54) / 108;  // rest / 0.864, to the nearest
    if (fraction == 1000000000000ull) fraction = 999999999999ull;  // stays in its day
    return sign + WithFraction(days, fraction, 12);
}

// Signed 64-bit nanoseconds from the epoch, or "".
std::string Nanoseconds(std::uint64_t ticks, std::uint64_t epoch) {
    std::string sign;
    const std::uint64_t d = Distance(ticks, epoch, &sign);
    return d <= 0x7FFFFFFFFFFFFFFFull / 100 ? sign + Unsigned(d * 100) : "";
}

std::string Iso(std::uint64_t ticks) {
    const civil::CivilDate date = civil::CivilFromDays(static_cast<std::uint32_t>(ticks / kTicksPerDay));
    const std::uint64_t inDay = ticks % kTicksPerDay, s = inDay / kTicksPerSecond;
    std::string text = Printed("%04d-%02u-%02uT%02u:%02u:%02u", date.year, date.month, date.day,
                               static_cast<unsigned>(s / 3600), static_cast<unsigned>(s / 60 % 60), static_cast<unsigned>(s % 60));
    const std::string seconds = WithFraction(0, inDay % kTicksPerSecond, 7);
    return text + (seconds.size() > 1 ? seconds.substr(1) : "");
}

std::string Rfc2822(std::uint64_t ticks) {
    static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const auto days = static_cast<std::uint32_t>(ticks / kTicksPerDay);
    const civil::CivilDate date = civil::CivilFromDays(days);
    const std::uint64_t s = ticks % kTicksPerDay / kTicksPerSecond;
    return Printed("%s, %02u %s %04d %02u:%02u:%02u +0000", kDays[civil::WeekdayFromDays(days)], date.day,
                   kMonths[date.month - 1], date.year, static_cast<unsigned>(s / 3600), static_cast<unsigned>(s / 60 % 60),
                   static_cast<unsigned>(s % 60));
}

std::string Uuid(std::uint64_t high, const char* rest) {
    return Printed("%08llx-%04llx-%04llx-%s", static_cast<unsigned long long>(high >> 32),
                   static_cast<unsigned long long>(high >> 16 & 0xFFFF), static_cast<unsigned long long>(high & 0xFFFF), rest);
}

std::string Ulid(std::uint64_t ms) {
    static const char kDigits[] = "0123456789ABCDEFGHJKMNPQRSTVWXYZ";
    std::string text(26, '0');
    for (int i = 9; i >= 0; --i, ms >>= 5) text[static_cast<std::size_t>(i)] = kDigits[ms & 31];
    return text;
}

std::string Bytes(std::uint64_t value, int count) {
    std::string text;
    for (int i = 0; i < count; ++i, value >>= 8) text += Printed(i ? " %02X" : "%02X", static_cast<unsigned>(value & 0xFF));
    return text;
}

// A signed 32-bit count of seconds since 1970, or false.
bool Unix32(std::uint64_t ticks, std::uint32_t* value) {
    std::string sign;
    const std::uint64_t s = Distance(ticks, kUnixEpoch, &sign) / kTicksPerSecond;
    if (s > (sign.empty() ? 0x7FFFFFFFu : 0x80000000u)) return false;
    *value = sign.empty() ? static_cast<std::uint32_t>(s) : static_cast<std::uint32_t>(0 - s);
    return true;
}

std::string Ntp(std::uint64_t ticks, bool hex) {
    if (ticks < kNtpEpoch) return "";
    const std::uint64_t d = ticks - kNtpEpoch, seconds = d / kTicksPerSecond % 0x100000000ull;
    const std::uint64_t fraction = ((d % kTicksPerSecond << 32) + kTicksPerSecond / 2) / kTicksPerSecond;
    return hex ? Printed("%08llX.%08llX", static_cast<unsigned long long>(seconds), static_cast<unsigned long long>(fraction))
               : WithFraction(seconds, d % kTicksPerSecond, 7);
}

std::string Dos(std::uint64_t wall) {
    const civil::CivilDate date = civil::CivilFromDays(static_cast<std::uint32_t>(wall / kTicksPerDay));
    const unsigned s = static_cast<unsigned>(wall % kTicksPerDay / kTicksPerSecond);
    if (date.year < 1980 || date.year > 2107) return "";
    const unsigned value = static_cast<unsigned>(date.year - 1980) << 25 | date.month << 21 | date.day << 16 |
                           s / 3600 << 11 | s / 60 % 60 << 5 | s % 60 / 2;
    return Printed("%08X", value);
}

std::string Gps(std::uint64_t ticks) {
    if (ticks < kGpsEpoch) return "";
    const std::uint64_t d = ticks - kGpsEpoch, utc = d / kTicksPerSecond;
    // The GPS second whose offset, read back, is the one added.
    std::uint64_t gps = utc;
    for (std::uint64_t offset = 0; offset <= 40; ++offset)
        if (static_cast<std::uint64_t>(GpsMinusUtc(utc + offset)) == offset) gps = utc + offset;
    return WithFraction(gps, d % kTicksPerSecond, 7);
}

}  // namespace

std::string WriteTimestamp(StampForm form, std::uint64_t ticks, std::uint64_t wall) {
    if (ticks >= kCalendarEnd || wall >= kCalendarEnd) return "";
    // The text forms write four-digit years.
    const bool fourDigits = ticks < kYear10000 && wall < kYear10000;
    std::uint32_t u32 = 0;
    switch (form) {
    case StampForm::kIso8601: return fourDigits ? Iso(ticks) + "Z" : "";
    case StampForm::kRfc2822: return fourDigits ? Rfc2822(ticks) : "";
    case StampForm::kUserText: {
        if (!fourDigits) return "";
        const civil::CivilDate date = civil::CivilFromDays(static_cast<std::uint32_t>(wall / kTicksPerDay));
        const unsigned s = static_cast<unsigned>(wall % kTicksPerDay / kTicksPerSecond);
        return Printed("%02u.%02u.%04d %02u:%02u:%02u", date.day, date.month, date.year, s / 3600, s / 60 % 60, s % 60);
    }
    case StampForm::kUuid1: {
        const std::uint64_t stamp = ticks + kUuidTo1601;  // 60 bits: to 5236-03-31
        if (stamp >> 60) return "";
        return Uuid((stamp & 0xFFFFFFFF) << 32 | (stamp >> 32 & 0xFFFF) << 16 | 0x1000 | stamp >> 48, "8000-000000000000");
    }
    // 48 bits of milliseconds since 1970: to the year 10889.
    case StampForm::kUuid7:
        if (ticks < kUnixEpoch || (ticks - kUnixEpoch) / 10000 >> 48) return "";
        return Uuid((ticks - kUnixEpoch) / 10000 << 16 | 0x7000, "8000-000000000000");
    case StampForm::kUlid:
        return ticks < kUnixEpoch || (ticks - kUnixEpoch) / 10000 >> 48 ? "" : Ulid((ticks - kUnixEpoch) / 10000);
    case StampForm::kUnixSeconds: return Seconds(ticks, kUnixEpoch);
    case StampForm::kUnixMillis: return Units(ticks, kUnixEpoch, 10000);
    case StampForm::kUnixMicros: return Units(ticks, kUnixEpoch, 10);
    case StampForm::kUnixNanos: return Nanoseconds(ticks, kUnixEpoch);
    case StampForm::kUnixHex: return Unix32(ticks, &u32) ? Printed("0x%08X", u32) : "";
    case StampForm::kUnixHexLe: return Unix32(ticks, &u32) ? Bytes(u32, 4) : "";
    case StampForm::kFileTime: return Unsigned(ticks);
    case StampForm::kFileTimeHex: return Printed("0x%016llX", static_cast<unsigned long long>(ticks));
    case StampForm::kFileTimeBytes: return Bytes(ticks, 8);
    case StampForm::kFileTimeWords:
        return Printed("0x%08X:0x%08X", static_cast<unsigned>(ticks >> 32), static_cast<unsigned>(ticks & 0xFFFFFFFF));
    case StampForm::kWebKit: return Unsigned(ticks / 10);
    case StampForm::kDotNetTicks: return ticks < kYear10000 ? Unsigned(ticks + kDotNetTo1601) : "";
    case StampForm::kOleDate: return ticks < kYear10000 ? Days(ticks, kOleEpoch) : "";
    case StampForm::kExcel1900: {
        constexpr std::uint64_t kJanuary1900 = kOleEpoch + 2 * kTicksPerDay, kMarch1900 = kOleEpoch + 61 * kTicksPerDay;
        if (ticks < kJanuary1900 || ticks >= kYear10000) return "";
        return ticks >= kMarch1900 ? Days(ticks, kOleEpoch) : Days(ticks, kOleEpoch + kTicksPerDay);
    }
    case StampForm::kExcel1904: return ticks >= kMacEpoch && ticks < kYear10000 ? Days(ticks, kMacEpoch) : "";
    case StampForm::kCocoaSeconds: return Seconds(ticks, kCocoaEpoch);
    case StampForm::kCocoaNanos: return Nanoseconds(ticks, kCocoaEpoch);
    case StampForm::kHfsPlus: {
        const std::uint64_t s = ticks >= kMacEpoch ? (ticks - kMacEpoch) / kTicksPerSecond : 0x100000000ull;
        return s <= 0xFFFFFFFFu ? Unsigned(s) : "";
    }
    case StampForm::kGps: return Gps(ticks);
    case StampForm::kNtp: return Ntp(ticks, false);
    case StampForm::kNtpHex: return Ntp(ticks, true);
    case StampForm::kDosDateTime: return Dos(wall);
    case StampForm::kCount: break;
    }
    return "";
}

}  // namespace quendel::stamp
