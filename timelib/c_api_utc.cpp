// The C interface on the UTC scale: calendar fields, FILETIME, Unix seconds and OLE dates.
#include <cmath>
#include <cstddef>

#include "timelib/c_api.h"
#include "timelib/civil.h"

namespace civil = quendel::civil;
using quendel::c_api::SizeOk;
using quendel::c_api::TicksOk;

namespace {

constexpr std::size_t kFieldsV1 = offsetof(qt_fields, is_summer) + sizeof(int);

// 1601-01-01 to 1970-01-01 and to 1899-12-30 would be before 1601: the OLE epoch lies
// 109 205 days after 1601-01-01.
constexpr qt_int64 kUnixEpochSeconds = 11644473600;
constexpr qt_int64 kOleEpochDays = 109205;
constexpr qt_int64 kMsPerDay = 86400000;

}  // namespace

namespace quendel::c_api {

// Fills the fields of wall-clock ticks (UTC or local); offset and summer flag from the caller.
bool StoreFields(std::uint64_t wall, int offset, int summer, qt_fields* f) {
    SYSTEMTIME s;
    if (!civil::TicksToFields(wall, &s)) return false;
    f->year = s.wYear;
    f->month = s.wMonth;
    f->day = s.wDay;
    f->hour = s.wHour;
    f->minute = s.wMinute;
    f->second = s.wSecond;
    f->millisecond = s.wMilliseconds;
    f->day_of_week = s.wDayOfWeek;
    f->utc_offset = offset;
    f->is_summer = summer;
    return true;
}

qt_status FieldsToWall(const qt_fields* f, std::uint64_t* wall) {
    if (!f) return QT_E_ARGUMENT;
    if (!SizeOk(f->cbSize, kFieldsV1)) return QT_E_STRUCT_SIZE;
    return civil::DateTimeToTicks(f->year, f->month, f->day, f->hour, f->minute, f->second, f->millisecond, wall)
               ? QT_OK : QT_E_NO_SUCH_DATE;
}

}  // namespace quendel::c_api

extern "C" qt_status QT_CALL quendel_time_from_fields(const qt_fields* utc, qt_int64* ticks) {
    std::uint64_t t;
    if (!ticks) return QT_E_ARGUMENT;
    const qt_status s = quendel::c_api::FieldsToWall(utc, &t);
    if (s == QT_OK) *ticks = static_cast<qt_int64>(t);
    return s;
}

extern "C" qt_status QT_CALL quendel_time_to_fields(qt_int64 ticks, qt_fields* utc) {
    if (!utc) return QT_E_ARGUMENT;
    if (!SizeOk(utc->cbSize, kFieldsV1)) return QT_E_STRUCT_SIZE;
    if (!TicksOk(ticks)) return QT_E_RANGE;
    return quendel::c_api::StoreFields(static_cast<std::uint64_t>(ticks), 0, 0, utc) ? QT_OK : QT_E_RANGE;
}

extern "C" qt_status QT_CALL quendel_time_from_filetime(const qt_filetime* ft, qt_int64* ticks) {
    if (!ft || !ticks) return QT_E_ARGUMENT;
    const std::uint64_t t = (static_cast<std::uint64_t>(ft->dwHighDateTime & 0xFFFFFFFFu) << 32) |
                            (ft->dwLowDateTime & 0xFFFFFFFFu);
    if (t > civil::kMaxTicks) return QT_E_RANGE;
    *ticks = static_cast<qt_int64>(t);
    return QT_OK;
}

extern "C" qt_status QT_CALL quendel_time_to_filetime(qt_int64 ticks, qt_filetime* ft) {
    if (!ft) return QT_E_ARGUMENT;
    if (!TicksOk(ticks)) return QT_E_RANGE;
    const std::uint64_t t = static_cast<std::uint64_t>(ticks);
    ft->dwLowDateTime = static_cast<unsigned long>(t & 0xFFFFFFFFu);
    ft->dwHighDateTime = static_cast<unsigned long>(t >> 32);
    return QT_OK;
}

extern "C" qt_status QT_CALL quendel_time_from_unix(qt_int64 seconds, qt_int64* ticks) {
    if (!ticks) return QT_E_ARGUMENT;
    // [-11644473600, 910692730085]: 1601 to the last whole second of the scale.
    constexpr qt_int64 kLast = static_cast<qt_int64>(civil::kMaxTicks / civil::kTicksPerSecond) - kUnixEpochSeconds;
    if (seconds < -kUnixEpochSeconds || seconds > kLast) return QT_E_RANGE;
    *ticks = (seconds + kUnixEpochSeconds) * static_cast<qt_int64>(civil::kTicksPerSecond);
    return QT_OK;
}

extern "C" qt_status QT_CALL quendel_time_to_unix(qt_int64 ticks, qt_int64* seconds) {
    if (!seconds) return QT_E_ARGUMENT;
    if (!TicksOk(ticks)) return QT_E_RANGE;
    // Non-negative ticks: division rounds down.
    *seconds = ticks / static_cast<qt_int64>(civil::kTicksPerSecond) - kUnixEpochSeconds;
    return QT_OK;
}

extern "C" qt_status QT_CALL quendel_time_from_ole(double date, qt_int64* ticks) {
    if (!ticks) return QT_E_ARGUMENT;
    // Whole days and the time of day, which counts forward also before the epoch.
    if (!(date > -109206.0 && date < 10675200.0)) return QT_E_RANGE;  // also NaN
    const double whole = std::trunc(date);
    const double ms = std::round(std::fabs(date - whole) * static_cast<double>(kMsPerDay));  // [0, 86400000]
    const qt_int64 days = static_cast<qt_int64>(whole) + kOleEpochDays;  // from 1601-01-01
    constexpr qt_int64 kLastDay = static_cast<qt_int64>(civil::kMaxTicks / civil::kTicksPerDay);
    if (days < 0 || days > kLastDay) return QT_E_RANGE;
    // Unsigned: the sum may pass the scale's end within its last day, which is then refused.
    const std::uint64_t t = static_cast<std::uint64_t>(days) * civil::kTicksPerDay +
                            static_cast<std::uint64_t>(ms) * civil::kTicksPerMillisecond;
    if (t > civil::kMaxTicks) return QT_E_RANGE;
    *ticks = static_cast<qt_int64>(t);
    return QT_OK;
}

extern "C" qt_status QT_CALL quendel_time_to_ole(qt_int64 ticks, double* date) {
    if (!date) return QT_E_ARGUMENT;
    if (!TicksOk(ticks)) return QT_E_RANGE;
    // To the nearest millisecond, unsigned: ticks near the end would overflow a signed sum.
    const qt_int64 ms = static_cast<qt_int64>((static_cast<std::uint64_t>(ticks) + civil::kTicksPerMillisecond / 2) /
                                              civil::kTicksPerMillisecond);
    const qt_int64 days = ms / kMsPerDay - kOleEpochDays;         // ms >= 0: rounds down
    const double fraction = static_cast<double>(ms % kMsPerDay) / static_cast<double>(kMsPerDay);
    // Before the epoch the day counts back and the time of day forward: -1.25 is
    // 1899-12-29 06:00.
    *date = days < 0 ? static_cast<double>(days) - fraction : static_cast<double>(days) + fraction;
    return QT_OK;
}
