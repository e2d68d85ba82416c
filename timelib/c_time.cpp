// C_Time: construction, comparison, arithmetic and the conversions that need no zone.
#include "timelib/c_time.h"

#include <cstdint>

#include "timelib/civil.h"
#include "timelib/tick_math.h"
#include "timelib/time_source.h"
#include "timelib/user_zone.h"
#include "timelib/zone_rules.h"

namespace {

constexpr std::uint64_t kUnixEpoch = 116444736000000000ull;  // 1970-01-01 00:00:00 UTC
constexpr std::uint64_t kOleEpoch = 94353120000000000ull;    // 1899-12-30 00:00:00 UTC
constexpr double kTicksPerDay = 864000000000.0;

// A valid point's ticks: 1 to kMaxTicks (0 is the invalid time).
bool InRange(std::uint64_t ticks) { return ticks != 0 && ticks <= quendel::civil::kMaxTicks; }

// Fields out of range are refused before any conversion, as SetTimeUTC does: the point stays.
bool FieldsInRange(const SYSTEMTIME& f) {
    return quendel::civil::FieldsInRange(f.wYear, f.wMonth, f.wDay, f.wHour, f.wMinute, f.wSecond, f.wMilliseconds);
}

std::uint64_t FromFileTime(const FILETIME& ft) {
    return static_cast<std::uint64_t>(ft.dwHighDateTime) << 32 | ft.dwLowDateTime;
}

}  // namespace

C_Time::C_Time() : m_time(0) {}

C_Time::C_Time(const char* now) : m_time(0) {
    if (now) SetTime();
}

C_Time::C_Time(unsigned __int64 ticks) : m_time(ticks) {}

C_Time::C_Time(int year, int month, int day, int hour, int minute, int second, const TIME_ZONE_INFORMATION* zone)
    : m_time(0) {
    if (!SetLocTime(year, month, day, hour, minute, second, zone)) m_time = 0;
}

C_Time::C_Time(const C_Time& other) = default;
C_Time::C_Time(FILETIME& ft) : m_time(FromFileTime(ft)) {}

const C_Time& C_Time::operator=(const C_Time& other) {
    m_time = other.m_time;
    return *this;
}

const C_Time& C_Time::operator=(const C_Time* other) {
    m_time = other ? other->m_time : 0;  // a null pointer: the invalid time
    return *this;
}

bool C_Time::operator==(const C_Time& other) const { return m_time == other.m_time; }
bool C_Time::operator!=(const C_Time& other) const { return m_time != other.m_time; }
bool C_Time::operator<(const C_Time& other) const { return m_time < other.m_time; }
bool C_Time::operator<=(const C_Time& other) const { return m_time <= other.m_time; }
bool C_Time::operator>(const C_Time& other) const { return m_time > other.m_time; }
bool C_Time::operator>=(const C_Time& other) const { return m_time >= other.m_time; }

C_Time C_Time::operator+(const C_TimeSpan& span) const {
    return C_Time(m_time + static_cast<std::uint64_t>(static_cast<__int64>(span)));
}
C_Time C_Time::operator-(const C_TimeSpan& span) const {
    return C_Time(m_time - static_cast<std::uint64_t>(static_cast<__int64>(span)));
}
C_TimeSpan C_Time::operator-(const C_Time& other) const {
    return C_TimeSpan(static_cast<__int64>(m_time - other.m_time));
}
const C_Time& C_Time::operator+=(C_TimeSpan span) { return *this = *this + span; }
const C_Time& C_Time::operator-=(C_TimeSpan span) { return *this = *this - span; }

bool C_Time::IsValid() const { return m_time != 0; }
bool C_Time::IsInvalid() const { return m_time == 0; }
void C_Time::SetInvalid() { m_time = 0; }

void C_Time::SetTime() {
    FILETIME now;
    quendel::ReadClock(&now);
    m_time = FromFileTime(now);
}

void C_Time::TimeNow() { SetTime(); }

void C_Time::TimeNow(const C_TimeSpan& raster) {
    SetTime();
    RasterIt(raster);  // a refused raster leaves the present time as it is
}

bool C_Time::RasterIt(const C_TimeSpan& raster) {
    const __int64 r = static_cast<__int64>(raster);
    if (r <= 0 || IsInvalid() || m_time > quendel::civil::kMaxTicks) return false;
    const std::uint64_t step = static_cast<std::uint64_t>(r);
    // Both below 2^63: the sum cannot wrap. A result beyond the range (or tick 0) is refused.
    const std::uint64_t rounded = (m_time + step / 2) / step * step;
    if (rounded == 0 || rounded > quendel::civil::kMaxTicks) return false;
    m_time = rounded;
    return true;
}

unsigned __int64 C_Time::GetTimeUTC() const { return m_time; }

bool C_Time::GetFileTime(FILETIME* ft) const {
    if (!ft) return false;
    ft->dwLowDateTime = static_cast<DWORD>(m_time);
    ft->dwHighDateTime = static_cast<DWORD>(m_time >> 32);
    return InRange(m_time);  // copied all the same: the layout is the FILETIME's
}

bool C_Time::SetFileTime(const FILETIME& ft) {
    const std::uint64_t ticks = FromFileTime(ft);
    if (!InRange(ticks)) return false;
    m_time = ticks;
    return true;
}

long C_Time::GetUnixTime() const {
    const std::uint64_t difference = m_time - kUnixEpoch;
    if (difference >> 63) return 0;  // before 1970 (or beyond the signed range)
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(quendel::civil::detail::DivideBy32(difference, 10000000)));
}

__int64 C_Time::GetUnixTime64() const {
    // Whole seconds, rounded down: a point before 1970 lies in the second that began before it.
    const std::int64_t ticks = static_cast<std::int64_t>(m_time & quendel::civil::kMaxTicks) -
                               static_cast<std::int64_t>(kUnixEpoch);
    return ticks >= 0 ? ticks / 10000000 : -((-ticks + 9999999) / 10000000);
}

bool C_Time::SetUnixTime64(__int64 seconds) {
    // [-11644473600, 910692730085]: the seconds whose ticks lie in the range, 1601 to 30828.
    constexpr std::int64_t kFirst = -static_cast<std::int64_t>(kUnixEpoch / 10000000);
    constexpr std::int64_t kLast = static_cast<std::int64_t>((quendel::civil::kMaxTicks - kUnixEpoch) / 10000000);
    if (seconds < kFirst || seconds > kLast) return false;
    m_time = static_cast<std::uint64_t>(seconds * 10000000 + static_cast<std::int64_t>(kUnixEpoch));
    return true;
}

bool C_Time::SetUnixTime(long seconds) {
    m_time = static_cast<std::uint64_t>(static_cast<std::int64_t>(seconds) * 10000000) + kUnixEpoch;
    return true;
}

bool C_Time::GetVariantTimeUTC(double* date) const {
    if (!date || !InRange(m_time)) return false;
    *date = static_cast<double>(static_cast<std::int64_t>(m_time - kOleEpoch)) / kTicksPerDay;
    return true;
}

bool C_Time::SetVariantTimeUTC(double date) {
    std::int64_t ticks;
    if (!quendel::TruncateToInt64(date * kTicksPerDay + static_cast<double>(kOleEpoch), &ticks) || ticks <= 0)
        return false;  // a NaN, or before 1601-01-01 00:00:00.0000001 or beyond the range
    m_time = static_cast<std::uint64_t>(ticks);
    return true;
}

bool C_Time::GetLocVariantTime(double* date, const TIME_ZONE_INFORMATION* zone) const {
    SYSTEMTIME local;
    C_Time wall;
    return date && GetLocSystemTime(&local, zone) && wall.SetSystemTimeUTC(&local) && wall.GetVariantTimeUTC(date);
}

bool C_Time::GetSystemTimeUTC(SYSTEMTIME* fields) const {
    return fields && InRange(m_time) && quendel::civil::TicksToFields(m_time, fields);
}

bool C_Time::SetSystemTimeUTC(const SYSTEMTIME* fields) {
    std::uint64_t ticks;
    if (!fields || !FieldsInRange(*fields)) return false;
    if (!quendel::civil::FieldsToTicks(*fields, &ticks)) {
        m_time = 0;
        return false;
    }
    m_time = ticks;
    return true;
}

bool C_Time::GetLocSystemTime(SYSTEMTIME* fields, const TIME_ZONE_INFORMATION* zone) const {
    if (!fields) return false;
    // Straight from the ticks: the same as UTC fields through SystemTimeToLocalSystemTime,
    // without the round trip.
    if (IsValid() && quendel::civil::TicksToFields(quendel::zone::WallAt(zone, m_time), fields))
        return true;  // kNoTicks lies beyond the range: the fields are cleared below
    *fields = SYSTEMTIME{};
    return false;
}

bool C_Time::SetLocSystemTime(const SYSTEMTIME* fields, const TIME_ZONE_INFORMATION* zone) {
    FILETIME utc;
    if (!fields || !FieldsInRange(*fields)) return false;
    if (!LocalSystemTimeToFileTime(zone, fields, &utc)) {
        m_time = 0;
        return false;
    }
    m_time = FromFileTime(utc);
    return true;
}

bool C_Time::SetTimeUTC(int year, int month, int day, int hour, int minute, int second, int milliseconds) {
    // Fields out of range leave the time as it is; a date that does not exist makes it invalid.
    if (!quendel::civil::FieldsInRange(year, month, day, hour, minute, second, milliseconds)) return false;
    if (!quendel::civil::DateExists(year, month, day)) {
        m_time = 0;
        return false;
    }
    m_time = quendel::civil::TicksOf(year, month, day, hour, minute, second, milliseconds);
    return m_time != 0;  // 1601-01-01 00:00:00.000 is tick 0, the invalid time
}

bool C_Time::SetLocTime(int year, int month, int day, int hour, int minute, int second,
                        const TIME_ZONE_INFORMATION* zone) {
    // As SetLocSystemTime, without the round trip through a SYSTEMTIME.
    if (!quendel::civil::FieldsInRange(year, month, day, hour, minute, second, 0)) return false;
    std::uint64_t utc = quendel::zone::kNoTicks;
    if (quendel::civil::DateExists(year, month, day)) {
        const std::uint64_t wall = quendel::civil::TicksOf(year, month, day, hour, minute, second, 0);
        utc = quendel::zone::UtcAt(zone, wall);
    }
    if (utc == quendel::zone::kNoTicks) {
        m_time = 0;
        return false;
    }
    m_time = utc;
    return utc != 0;
}
