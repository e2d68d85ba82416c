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
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "timelib/c_time.h"
#include "timelib/civil.h"
#include "timelib/time_source.h"
#include "timelib/user_zone.h"
#include "timelib/zone_registry.h"
#include "timelib/zone_rules.h"

using quendel::zone::StandardBiasUse;

TIME_ZONE_INFORMATION C_Time::m_glbUserTimeZone = {};  // kept for the class's layout; see UserZone

namespace {

// The user time zone: its records year by year and the record in force this year (as
// GetTimeZoneInformation gives the machine's). A published zone is never changed or freed
// while the library is loaded: a reader that holds its records keeps them, however often
// another thread sets a zone. A zone equal to one kept is that one again, so a program
// switching among a few zones keeps a few. Until a zone is chosen it is the machine's, read
// once on first use; a failed read gives UTC without summer time, for good (a new
// machine-zone source, as tests install, reads again).
struct UserZone {
    quendel::zone::ZoneYears years;
    TIME_ZONE_INFORMATION current;
};

std::atomic<const UserZone*> g_user{nullptr};     // null: the machine's zone
std::atomic<const UserZone*> g_machine{nullptr};  // null: not read yet
std::mutex g_publish;                             // writers, one at a time

// Every zone ever published, each once, freed when a host unloads the DLL (ReleaseUserZones);
// never at exit, where the program's other threads may still convert by one.
struct Retired {
    std::vector<std::unique_ptr<UserZone>> zones;
} &g_retired = *new Retired;

int PresentYear() {
    SYSTEMTIME now;
    C_Time("Now").GetSystemTimeUTC(&now);
    return now.wYear;
}

// Keeps the zone for the library's lifetime and returns it, or the one kept equal to it (a
// linear search: a program uses a few zones); under g_publish.
const UserZone* Keep(quendel::zone::ZoneYears years, const TIME_ZONE_INFORMATION& current) {
    for (const std::unique_ptr<UserZone>& kept : g_retired.zones)
        if (std::memcmp(&kept->current, &current, sizeof current) == 0 && kept->years.SameAs(years)) return kept.get();
    g_retired.zones.push_back(std::unique_ptr<UserZone>(new UserZone{std::move(years), current}));
    return g_retired.zones.back().get();
}

// The machine's zone with its per-year records, where the database has them; with automatic
// summer time switched off, as Windows then keeps it, standard time all year.
const UserZone* ReadMachine() {
    DYNAMIC_TIME_ZONE_INFORMATION machine = {};
    char key[128];
    const bool read = quendel::ReadMachineDynamicZone(&machine, key, sizeof key) != TIME_ZONE_ID_INVALID;
    TIME_ZONE_INFORMATION record = {};
    if (read) std::memcpy(&record, &machine, sizeof record);  // the same fields, in the same order
    if (read && machine.DynamicDaylightTimeDisabled) {
        record.StandardDate = record.DaylightDate = SYSTEMTIME{};
        record.DaylightBias = 0;
        return Keep(quendel::zone::ZoneYears(record), record);
    }
    quendel::zone::ZoneYears perYear;
    // Its per-year records or IANA history, where there are any.
    if (read && key[0] && perYear.Read(key) && (perYear.HasYears() || perYear.HistoryName()[0] != 0))
        return Keep(std::move(perYear), record);
    return Keep(quendel::zone::ZoneYears(record), record);
}

const UserZone& Machine() {
    if (const UserZone* zone = g_machine.load(std::memory_order_acquire)) return *zone;
    const std::lock_guard<std::mutex> lock(g_publish);
    if (!g_machine.load(std::memory_order_relaxed)) g_machine.store(ReadMachine(), std::memory_order_release);
    return *g_machine.load(std::memory_order_relaxed);
}

const UserZone& User() {
    const UserZone* chosen = g_user.load(std::memory_order_acquire);
    return chosen ? *chosen : Machine();
}

void Choose(quendel::zone::ZoneYears years, const TIME_ZONE_INFORMATION& current) {
    const std::lock_guard<std::mutex> lock(g_publish);
    g_user.store(Keep(std::move(years), current), std::memory_order_release);
}

}  // namespace

void quendel::zone::ReleaseUserZones() {
    g_user.store(nullptr), g_machine.store(nullptr);
    std::vector<std::unique_ptr<UserZone>>().swap(g_retired.zones);
}

std::size_t quendel::zone::KeptUserZones() {
    const std::lock_guard<std::mutex> lock(g_publish);
    return g_retired.zones.size();
}

void quendel::zone::ForgetMachineZone() { g_machine.store(nullptr, std::memory_order_release); }

const quendel::zone::ZoneYears& quendel::zone::UserZoneYears() { return User().years; }

void C_Time::SetLocTimeZoneInfo(TIME_ZONE_INFORMATION* zone) {
    if (!zone) {  // back to the machine's zone
        g_user.store(nullptr, std::memory_order_release);
        return;
    }
    Choose(quendel::zone::ZoneYears(*zone), *zone);
}

void C_Time::GetLocTimeZoneInfo(TIME_ZONE_INFORMATION* zone) {
    if (zone) *zone = User().current;
}

void C_Time::GetLocTimeZoneInfoForYear(int year, TIME_ZONE_INFORMATION* zone) {
    if (zone) *zone = quendel::zone::UserZoneYears().ForYear(year);
}

bool C_Time::SetLocTimeZoneByKeyName(const char* key) {
    quendel::zone::ZoneYears years;
    if (!key || !years.Read(key)) return false;
    const TIME_ZONE_INFORMATION current = years.ForYear(PresentYear());
    Choose(std::move(years), current);
    return true;
}

bool C_Time::SetLocTimeZoneByIanaName(const char* name) {
    quendel::zone::ZoneYears years;
    const char* key = quendel::zone::KeyOfHistoryZone(name);
    if (!key || !years.Read(key) || !years.AttachHistory(name)) return false;
    const TIME_ZONE_INFORMATION current = years.ForYear(PresentYear());
    Choose(std::move(years), current);
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
    if (!name) return false;
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
    if (!buffer || size <= 0) return;
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
