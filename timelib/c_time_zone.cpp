// C_Time: the global user time zone, the registry lookup, summer time and the conversions
// between UTC and local calendar fields.
//
// The conversions evaluate the zone's rules with the library's own arithmetic
// (zone_rules.h) instead of SystemTimeToTzSpecificLocalTime: the results are those of the
// platform's published contract on every platform, change-overs off the full hour
// included, and local readings convert by the regime in force at that wall-clock time.
#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>
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
// this year, as GetTimeZoneInformation gives the machine's. Until a zone is chosen it is the
// machine's, read once on first use under a lock, so that threads that only read never race
// (a failed read is tried again).
quendel::zone::ZoneYears g_userYears;
std::atomic<bool> g_userSet{false}, g_machineRead{false};
std::mutex g_readMachine;

int PresentYear() {
    SYSTEMTIME now;
    C_Time("Now").GetSystemTimeUTC(&now);
    return now.wYear;
}

}  // namespace

void quendel::zone::ForgetMachineZone() { g_machineRead = false; }

const quendel::zone::ZoneYears& quendel::zone::UserZoneYears() {
    if (!g_userSet.load(std::memory_order_acquire) && !g_machineRead.load(std::memory_order_acquire)) {
        TIME_ZONE_INFORMATION unused;
        C_Time::GetLocTimeZoneInfo(&unused);
    }
    return g_userYears;
}

void C_Time::SetLocTimeZoneInfo(TIME_ZONE_INFORMATION* zone) {
    if (!zone) {  // back to the machine's zone, read again on the next use
        g_userSet = false;
        g_machineRead = false;
        return;
    }
    m_glbUserTimeZone = *zone;
    g_userYears = quendel::zone::ZoneYears(*zone);
    g_userSet = true;
}

void C_Time::GetLocTimeZoneInfo(TIME_ZONE_INFORMATION* zone) {
    if (!g_userSet.load(std::memory_order_acquire) && !g_machineRead.load(std::memory_order_acquire)) {
        const std::lock_guard<std::mutex> lock(g_readMachine);
        if (!g_machineRead.load()) {
            // A zone without summer-time rules (result 0) is still the machine's zone, with
            // its bias: only a failure falls back to UTC, and asks again next time.
            TIME_ZONE_INFORMATION machine = {};
            const bool read = quendel::ReadMachineZone(&machine) != TIME_ZONE_ID_INVALID;
            if (!read) machine = {};
            quendel::zone::ZoneYears years(machine);
            // The machine's zone with its per-year records or IANA history, where there are any.
            char key[128];
            quendel::zone::ZoneYears perYear;
            if (read && quendel::ReadMachineZoneKey(key, sizeof key) && perYear.Read(key) &&
                (perYear.HasYears() || perYear.HistoryName()[0] != 0))
                years = std::move(perYear);
            m_glbUserTimeZone = machine;
            g_userYears = std::move(years);
            g_machineRead.store(read, std::memory_order_release);
        }
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
    g_userSet = true;
    return true;
}

bool C_Time::SetLocTimeZoneByIanaName(const char* name) {
    quendel::zone::ZoneYears years;
    if (!years.Read(quendel::zone::KeyOfHistoryZone(name)) || !years.AttachHistory(name)) return false;
    g_userYears = std::move(years);
    m_glbUserTimeZone = g_userYears.ForYear(PresentYear());
    g_userSet = true;
    return true;
}

bool C_Time::GetLocTimeZoneHistory(char* buffer, int size) {
    const char* name = quendel::zone::UserZoneYears().HistoryName();
    if (buffer && size > 0) std::snprintf(buffer, static_cast<std::size_t>(size), "%s", name);
    return name[0] != 0;
}

const char* C_Time::GetTimeZoneHistoryVersion() { return quendel::zone::HistoryVersion(); }

int C_Time::GetTimeZoneHistoryLastYear() { return quendel::zone::HistoryLastYear(); }

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
    quendel::zone::Evaluation history;
    std::uint64_t historyWall;
    if (!zone && quendel::zone::UserZoneYears().HistorySummer(m_time, &history, &historyWall)) {
        if (local && !quendel::civil::TicksToFields(historyWall, local)) *local = SYSTEMTIME{};
        if (start) *start = C_Time(history.hasPeriod ? history.period.start : 0);
        if (end) *end = C_Time(history.hasPeriod ? history.period.end : 0);
        return history.summer;
    }
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
           (wall = quendel::zone::WallAt(zone, ticks)) != quendel::zone::kNoTicks &&
           quendel::civil::TicksToFields(wall, local);
}

bool C_Time::LocalSystemTimeToFileTime(const TIME_ZONE_INFORMATION* zone, const SYSTEMTIME* local, FILETIME* utc) {
    unsigned __int64 wall, ticks = 0;
    const bool ok = quendel::civil::FieldsToTicks(*local, &wall) &&
                    (ticks = quendel::zone::UtcAt(zone, wall)) != quendel::zone::kNoTicks;
    C_Time(ok ? ticks : 0).GetFileTime(utc);
    return ok;
}
