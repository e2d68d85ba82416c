// C_Time: calendar fields of a point, the boundaries of the periods around it and the
// lengths of its local year, month and day.
//
// Local boundaries are rebuilt from local fields with the field constructor, so they follow
// the zone's summer-time rules (a skipped midnight reads as standard time, as everywhere in
// the library). UTC boundaries are rebuilt with SetTimeUTC. Week and day numbers of a date
// are plain day arithmetic on the date, independent of the time of day and of the zone.
#include "timelib/c_time.h"

#include <cstdint>

#include "timelib/civil.h"
#include "timelib/user_zone.h"
#include "timelib/zone_rules.h"

namespace {

namespace civil = quendel::civil;

// How far a boundary keeps the fields of the point.
enum class Unit { Year, Month, Day, Hour2, Hour, Minute, Second };

// The fields of the point's period start: the named unit and those above it kept, the lower
// ones set to their first value. Works on zeroed fields too (they stay rejectable).
SYSTEMTIME Truncate(SYSTEMTIME f, Unit unit) {
    f.wMilliseconds = 0;
    if (unit < Unit::Second) f.wSecond = 0;
    if (unit < Unit::Minute) f.wMinute = 0;
    if (unit < Unit::Hour2) f.wHour = 0;
    if (unit == Unit::Hour2) f.wHour = static_cast<WORD>(f.wHour & ~1u);
    if (unit < Unit::Day) f.wDay = 1;
    if (unit < Unit::Month) f.wMonth = 1;
    return f;
}

// Monday = 0 to Sunday = 6 from a count of days since 1601-01-01, itself a Monday.
unsigned IsoWeekday(std::int32_t days) {
    return static_cast<unsigned>((days % 7 + 7) % 7);
}

// The local fields of the point; all zero for a point that has none (the invalid time).
SYSTEMTIME LocalFields(const C_Time& t, const TIME_ZONE_INFORMATION* zone) {
    SYSTEMTIME f;
    t.GetLocSystemTime(&f, zone);  // zeroes the fields on failure
    return f;
}

// UTC fields; zero (and so rejected when rebuilt) beyond the platform's range.
SYSTEMTIME UtcFields(const C_Time& t) {
    SYSTEMTIME f{};
    t.GetSystemTimeUTC(&f);
    return f;
}

C_Time LocalPoint(const SYSTEMTIME& f, const TIME_ZONE_INFORMATION* zone) {
    return C_Time(f.wYear, f.wMonth, f.wDay, f.wHour, f.wMinute, f.wSecond, zone);
}

// A fresh point from UTC fields, milliseconds dropped; invalid when the fields are rejected.
C_Time UtcPoint(const SYSTEMTIME& f) {
    C_Time t;
    t.SetTimeUTC(f.wYear, f.wMonth, f.wDay, f.wHour, f.wMinute, f.wSecond, 0);
    return t;
}

constexpr __int64 kDay = static_cast<__int64>(civil::kTicksPerDay);
constexpr __int64 kHour = static_cast<__int64>(civil::kTicksPerHour);

}  // namespace

// ---- Field getters -------------------------------------------------------------------

int C_Time::GetLocYear(const TIME_ZONE_INFORMATION* zone) const { return LocalFields(*this, zone).wYear; }
int C_Time::GetLocMonth(const TIME_ZONE_INFORMATION* zone) const { return LocalFields(*this, zone).wMonth; }
int C_Time::GetLocDay(const TIME_ZONE_INFORMATION* zone) const { return LocalFields(*this, zone).wDay; }
int C_Time::GetLocHour(const TIME_ZONE_INFORMATION* zone) const { return LocalFields(*this, zone).wHour; }
int C_Time::GetLocMinute(const TIME_ZONE_INFORMATION* zone) const { return LocalFields(*this, zone).wMinute; }
int C_Time::GetLocSecond(const TIME_ZONE_INFORMATION* zone) const { return LocalFields(*this, zone).wSecond; }
int C_Time::GetLocMilliseconds(const TIME_ZONE_INFORMATION* zone) const {
    return LocalFields(*this, zone).wMilliseconds;
}

int C_Time::GetLocWeekDay(const TIME_ZONE_INFORMATION* zone) const {
    // The platform counts from Sunday = 0; zeroed fields of an invalid point give Sunday too.
    const int w = LocalFields(*this, zone).wDayOfWeek;
    return w == 0 ? 6 : w - 1;
}

namespace {

// Days from 1601-01-01 to the point's local date; false for a point without local fields.
bool LocalDays(const C_Time& t, const TIME_ZONE_INFORMATION* zone, std::uint32_t* days) {
    const std::uint64_t utc = t.GetTimeUTC();
    const std::uint64_t wall = t.IsValid() ? quendel::zone::WallAt(zone, utc) : quendel::zone::kNoTicks;
    if (wall == quendel::zone::kNoTicks) return false;
    std::uint64_t tickOfDay;
    civil::SplitDays(wall, days, &tickOfDay);
    return true;
}

}  // namespace

int C_Time::GetLocDayOfYear(const TIME_ZONE_INFORMATION* zone) const {
    std::uint32_t days;
    if (!LocalDays(*this, zone, &days)) return 0;  // the invalid time has no date
    return static_cast<int>(days) - civil::DaysFromCivil(civil::CivilFromDays(days).year, 1, 1);
}

int C_Time::GetLocWeekOfYear(const TIME_ZONE_INFORMATION* zone) const {
    // From the local date alone: a time of day or a detour through UTC could move the date
    // to a neighbouring day in zones far from UTC. The week belongs to the year that holds
    // its Thursday and is counted from the week that holds that year's first Thursday (the
    // one with 4 January). Day 0, 1601-01-01, was a Monday.
    std::uint32_t days;
    if (!LocalDays(*this, zone, &days)) return 0;
    const std::uint32_t thursday = days - days % 7 + 3;  // of the Monday-to-Sunday week
    const int weekYear = civil::CivilFromDays(thursday).year;
    return static_cast<int>((thursday - static_cast<std::uint32_t>(civil::DaysFromCivil(weekYear, 1, 1))) / 7) + 1;
}

// ---- Lengths -------------------------------------------------------------------------

C_TimeSpan C_Time::GetLocLenYear(const TIME_ZONE_INFORMATION* zone) const {
    const C_Time start = StartYearLOC(zone);
    const SYSTEMTIME f = LocalFields(start, zone);
    const C_Time end(f.wYear + 1, 1, 1, 0, 0, 0, zone);
    if (start.IsInvalid() || end.IsInvalid()) return C_TimeSpan();
    return end - start;
}

C_TimeSpan C_Time::GetLocLenMonth(const TIME_ZONE_INFORMATION* zone) const {
    // From the start of the month, not from the point: 31 January plus a month is no date.
    const C_Time start = StartMonthLOC(zone);
    const SYSTEMTIME f = LocalFields(start, zone);
    const int year = f.wMonth == 12 ? f.wYear + 1 : f.wYear;
    const int month = f.wMonth == 12 ? 1 : f.wMonth + 1;
    const C_Time end(year, month, 1, 0, 0, 0, zone);
    if (start.IsInvalid() || end.IsInvalid()) return C_TimeSpan();
    return end - start;
}

C_TimeSpan C_Time::GetLocLenDay(const TIME_ZONE_INFORMATION* zone) const {
    const C_Time start = StartDayLOC(zone);
    const C_Time end = EndDayLOC(zone);
    if (start.IsInvalid() || end.IsInvalid()) return C_TimeSpan();
    return end - start;
}

// ---- Period starts -------------------------------------------------------------------

C_Time C_Time::StartYearLOC(const TIME_ZONE_INFORMATION* zone) const {
    return LocalPoint(Truncate(LocalFields(*this, zone), Unit::Year), zone);
}
C_Time C_Time::StartYearUTC() const { return UtcPoint(Truncate(UtcFields(*this), Unit::Year)); }

C_Time C_Time::StartMonthLOC(const TIME_ZONE_INFORMATION* zone) const {
    return LocalPoint(Truncate(LocalFields(*this, zone), Unit::Month), zone);
}
C_Time C_Time::StartMonthUTC() const { return UtcPoint(Truncate(UtcFields(*this), Unit::Month)); }

C_Time C_Time::StartWeekLOC(const TIME_ZONE_INFORMATION* zone) const {
    // Built from the Monday's own date: counting back whole 24-hour days from the local
    // midnight would miss it by the change-over when summer time begins or ends in between.
    const SYSTEMTIME f = LocalFields(*this, zone);
    if (f.wYear == 0) return C_Time();
    const std::int32_t days = civil::DaysFromCivil(f.wYear, f.wMonth, f.wDay);
    const std::int32_t monday = days - static_cast<std::int32_t>(IsoWeekday(days));
    if (monday < 0) return C_Time();  // before 1601-01-01: no point can stand for it
    const civil::CivilDate d = civil::CivilFromDays(static_cast<std::uint32_t>(monday));
    return C_Time(d.year, static_cast<int>(d.month), static_cast<int>(d.day), 0, 0, 0, zone);
}

C_Time C_Time::StartWeekUTC() const {
    // In UTC every day has 24 hours, so going back whole days from midnight is exact.
    const SYSTEMTIME f = UtcFields(*this);
    const C_Time midnight = UtcPoint(Truncate(f, Unit::Day));
    if (midnight.IsInvalid()) return midnight;
    return midnight - C_TimeSpan(static_cast<__int64>((f.wDayOfWeek + 6) % 7) * kDay);
}

C_Time C_Time::StartDayLOC(const TIME_ZONE_INFORMATION* zone) const {
    return LocalPoint(Truncate(LocalFields(*this, zone), Unit::Day), zone);
}
C_Time C_Time::StartDayUTC() const { return UtcPoint(Truncate(UtcFields(*this), Unit::Day)); }

C_Time C_Time::StartHour2LOC(const TIME_ZONE_INFORMATION* zone) const {
    return LocalPoint(Truncate(LocalFields(*this, zone), Unit::Hour2), zone);
}
C_Time C_Time::StartHour2UTC() const { return UtcPoint(Truncate(UtcFields(*this), Unit::Hour2)); }

C_Time C_Time::StartHourLOC(const TIME_ZONE_INFORMATION* zone) const {
    return LocalPoint(Truncate(LocalFields(*this, zone), Unit::Hour), zone);
}
C_Time C_Time::StartHourUTC() const { return UtcPoint(Truncate(UtcFields(*this), Unit::Hour)); }

C_Time C_Time::StartMinLOC(const TIME_ZONE_INFORMATION* zone) const {
    return LocalPoint(Truncate(LocalFields(*this, zone), Unit::Minute), zone);
}
C_Time C_Time::StartMinUTC() const { return UtcPoint(Truncate(UtcFields(*this), Unit::Minute)); }

C_Time C_Time::StartSecLOC(const TIME_ZONE_INFORMATION* zone) const {
    return LocalPoint(Truncate(LocalFields(*this, zone), Unit::Second), zone);
}
C_Time C_Time::StartSecUTC() const { return UtcPoint(Truncate(UtcFields(*this), Unit::Second)); }

// ---- Day ends ------------------------------------------------------------------------

C_Time C_Time::EndDayLOC(const TIME_ZONE_INFORMATION* zone) const {
    // 36 hours from midnight lie inside the next day whether this one has 23, 24 or 25.
    const C_Time start = StartDayLOC(zone);
    if (start.IsInvalid()) return start;
    return (start + C_TimeSpan(36 * kHour)).StartDayLOC(zone);
}

C_Time C_Time::EndDayUTC() const {
    const C_Time start = StartDayUTC();
    // The invalid point has no day; the first day's midnight is tick 0 and reads as invalid.
    if (IsInvalid() || (start.IsInvalid() && GetTimeUTC() >= static_cast<unsigned __int64>(kDay))) return C_Time();
    return start + C_TimeSpan(kDay);
}
