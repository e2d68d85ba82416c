// C_Time: the global user time zone, the registry lookup, summer time and the conversions
// between UTC and local calendar fields.
//
// The conversions evaluate the zone's rules with the library's own arithmetic
// (zone_rules.h) instead of SystemTimeToTzSpecificLocalTime: the results are those of the
// platform's published contract on every platform, change-overs off the full hour
// included, and local readings convert by the regime in force at that wall-clock time.
#include <cstring>

#include "timelib/c_time.h"
#include "timelib/civil.h"
#include "timelib/time_source.h"
#include "timelib/user_zone.h"
#include "timelib/zone_registry.h"
#include "timelib/zone_rules.h"

using quendel::zone::StandardBiasUse;

TIME_ZONE_INFORMATION C_Time::m_glbUserTimeZone = {};

using quendel::zone::Resolve;

void C_Time::SetLocTimeZoneInfo(TIME_ZONE_INFORMATION* zone) { m_glbUserTimeZone = *zone; }

void C_Time::GetLocTimeZoneInfo(TIME_ZONE_INFORMATION* zone) {
    if (m_glbUserTimeZone.StandardName[0] == 0) {
        // A zone without summer-time rules (result 0) is still the machine's zone, with its
        // bias: only a failure falls back to UTC. An empty name asks again next time.
        if (quendel::ReadMachineZone(&m_glbUserTimeZone) == TIME_ZONE_ID_INVALID) m_glbUserTimeZone = {};
    }
    *zone = m_glbUserTimeZone;
}

bool C_Time::SetLocTimeZoneByRegString(const char* name) {
    bool found = false;
    const bool opened = quendel::zone::ForEachZoneKey([&](const char* subkey) {
        quendel::zone::RegistryZone zone;
        if (!quendel::zone::ReadRegistryZone(subkey, &zone)) return true;  // skip, go on
        // Matched on the "Std" value as it reads back, not on the key's name.
        char standardName[80];
        quendel::zone::FieldToName(zone.record.StandardName, standardName, sizeof standardName);
        if (std::strcmp(standardName, name) != 0) return true;
        m_glbUserTimeZone = zone.record;
        found = true;
        return false;
    });
    return opened && found;
}

void C_Time::GetLocTimeZoneAsRegString(char* buffer, int size) {
    TIME_ZONE_INFORMATION zone;
    GetLocTimeZoneInfo(&zone);
    quendel::zone::FieldToName(zone.StandardName, buffer, size);
}

int C_Time::DaysOfMonth(unsigned short year, unsigned short month) {
    return month >= 1 && month <= 12 ? static_cast<int>(quendel::civil::DaysInMonth(year, month)) : 0;
}

void C_Time::SearchDaylLimiter(SYSTEMTIME& rule, FILETIME* instant) {
    unsigned __int64 wall = 0;
    if (!quendel::zone::RuleWallTicks(rule, rule.wYear, &wall)) wall = 0;
    C_Time(wall).GetFileTime(instant);
}

bool C_Time::IsSummerTime(const TIME_ZONE_INFORMATION* zone, C_Time* start, C_Time* end, SYSTEMTIME* local) const {
    TIME_ZONE_INFORMATION copy;
    const TIME_ZONE_INFORMATION& z = Resolve(zone, &copy);
    const quendel::zone::Evaluation e = quendel::zone::Evaluate(z, m_time, StandardBiasUse::kIgnore);
    if (local) {
        const __int64 bias = static_cast<__int64>(z.Bias) + (e.summer ? z.DaylightBias : 0);
        const C_Time wall = *this - C_TimeSpan(bias * 600000000);
        if (!wall.GetSystemTimeUTC(local)) *local = SYSTEMTIME{};
    }
    if (start) *start = C_Time(e.hasPeriod ? e.period.start : 0);
    if (end) *end = C_Time(e.hasPeriod ? e.period.end : 0);
    return e.summer;
}

bool C_Time::SystemTimeToLocalSystemTime(const TIME_ZONE_INFORMATION* zone, const SYSTEMTIME* utc, SYSTEMTIME* local) {
    TIME_ZONE_INFORMATION copy;
    const TIME_ZONE_INFORMATION& z = Resolve(zone, &copy);
    unsigned __int64 ticks, wall;
    return quendel::civil::FieldsToTicks(*utc, &ticks) && quendel::zone::UtcToWall(z, ticks, &wall) &&
           quendel::civil::TicksToFields(wall, local);
}

bool C_Time::LocalSystemTimeToFileTime(const TIME_ZONE_INFORMATION* zone, const SYSTEMTIME* local, FILETIME* utc) {
    TIME_ZONE_INFORMATION copy;
    const TIME_ZONE_INFORMATION& z = Resolve(zone, &copy);
    unsigned __int64 wall, ticks = 0;
    const bool ok = quendel::civil::FieldsToTicks(*local, &wall) && quendel::zone::WallToUtc(z, wall, &ticks);
    C_Time(ok ? ticks : 0).GetFileTime(utc);
    return ok;
}
