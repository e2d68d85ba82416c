// C_Time: the global user time zone, the registry lookup, summer time and the conversions
// between UTC and local calendar fields.
//
// The conversions evaluate the zone's rules with the library's own arithmetic
// (zone_rules.h) instead of SystemTimeToTzSpecificLocalTime: the results are those of the
// platform's published contract on every platform, change-overs off the full hour
// included, and local readings convert by the regime in force at that wall-clock time.
#include <cstring>
#include <string>
#include <utility>

#include "timelib/c_time.h"
#include "timelib/civil.h"
#include "timelib/time_source.h"
#include "timelib/user_zone.h"
#include "timelib/zone_registry.h"
#include "timelib/zone_rules.h"

using quendel::zone::StandardBiasUse;

TIME_ZONE_INFORMATION C_Time::m_glbUserTimeZone = {};

namespace {

// The user time zone's records year by year; m_glbUserTimeZone holds the record in force
// this year, as GetTimeZoneInformation gives the machine's. Not ready while the record's
// name is empty: the next use reads the machine's zone.
quendel::zone::ZoneYears g_userYears;
bool g_userReady = false;

int PresentYear() {
    SYSTEMTIME now;
    C_Time("Now").GetSystemTimeUTC(&now);
    return now.wYear;
}

}  // namespace

const quendel::zone::ZoneYears& quendel::zone::UserZoneYears() {
    if (!g_userReady) {
        TIME_ZONE_INFORMATION unused;
        C_Time::GetLocTimeZoneInfo(&unused);
    }
    return g_userYears;
}

void C_Time::SetLocTimeZoneInfo(TIME_ZONE_INFORMATION* zone) {
    m_glbUserTimeZone = *zone;
    g_userYears = quendel::zone::ZoneYears(*zone);
    g_userReady = zone->StandardName[0] != 0;
}

void C_Time::GetLocTimeZoneInfo(TIME_ZONE_INFORMATION* zone) {
    if (m_glbUserTimeZone.StandardName[0] == 0) {
        // A zone without summer-time rules (result 0) is still the machine's zone, with its
        // bias: only a failure falls back to UTC. An empty name asks again next time.
        if (quendel::ReadMachineZone(&m_glbUserTimeZone) == TIME_ZONE_ID_INVALID) m_glbUserTimeZone = {};
        g_userYears = quendel::zone::ZoneYears(m_glbUserTimeZone);
        // The machine's zone with its per-year records, where the database has them.
        char key[128];
        quendel::zone::ZoneYears years;
        if (m_glbUserTimeZone.StandardName[0] != 0 && quendel::ReadMachineZoneKey(key, sizeof key) &&
            years.Read(key) && years.HasYears())
            g_userYears = std::move(years);
        g_userReady = m_glbUserTimeZone.StandardName[0] != 0;
    }
    *zone = m_glbUserTimeZone;
}

void C_Time::GetLocTimeZoneInfoForYear(int year, TIME_ZONE_INFORMATION* zone) {
    *zone = quendel::zone::UserZoneYears().ForYear(year);
}

bool C_Time::SetLocTimeZoneByKeyName(const char* key) {
    quendel::zone::ZoneYears years;
    if (!key || !years.Read(key)) return false;
    g_userYears = std::move(years);
    m_glbUserTimeZone = g_userYears.ForYear(PresentYear());
    g_userReady = true;
    return true;
}

bool C_Time::SetLocTimeZoneByRegString(const char* name) {
    std::string found;
    const bool opened = quendel::zone::ForEachZoneKey([&](const char* subkey) {
        quendel::zone::RegistryZone zone;
        if (!quendel::zone::ReadRegistryZone(subkey, &zone)) return true;  // skip, go on
        // Matched on the "Std" value as it reads back, not on the key's name.
        char standardName[80];
        quendel::zone::FieldToName(zone.record.StandardName, standardName, sizeof standardName);
        if (std::strcmp(standardName, name) != 0) return true;
        found = subkey;
        return false;
    });
    return opened && !found.empty() && SetLocTimeZoneByKeyName(found.c_str());
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
    const TIME_ZONE_INFORMATION& z = quendel::zone::ResolveAt(zone, m_time);
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
    unsigned __int64 ticks, wall;
    return quendel::civil::FieldsToTicks(*utc, &ticks) &&
           quendel::zone::UtcToWall(quendel::zone::ResolveAt(zone, ticks), ticks, &wall) &&
           quendel::civil::TicksToFields(wall, local);
}

bool C_Time::LocalSystemTimeToFileTime(const TIME_ZONE_INFORMATION* zone, const SYSTEMTIME* local, FILETIME* utc) {
    unsigned __int64 wall, ticks = 0;
    const bool ok = quendel::civil::FieldsToTicks(*local, &wall) &&
                    quendel::zone::WallToUtc(quendel::zone::ResolveAtWall(zone, wall), wall, &ticks);
    C_Time(ok ? ticks : 0).GetFileTime(utc);
    return ok;
}
