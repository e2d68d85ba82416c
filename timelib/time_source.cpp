#include "timelib/time_source.h"

#include <cstring>

#include "timelib/user_zone.h"

#include <cstddef>

namespace quendel {
namespace {

static_assert(offsetof(DYNAMIC_TIME_ZONE_INFORMATION, DaylightBias) == offsetof(TIME_ZONE_INFORMATION, DaylightBias),
              "a dynamic record begins with the fields of a record");

void PlatformClock(FILETIME* now) { GetSystemTimeAsFileTime(now); }
DWORD PlatformZone(TIME_ZONE_INFORMATION* zone) { return GetTimeZoneInformation(zone); }
DWORD PlatformDynamicZone(DYNAMIC_TIME_ZONE_INFORMATION* zone) { return GetDynamicTimeZoneInformation(zone); }

ClockSource g_clock = PlatformClock;
MachineZoneSource g_machineZone = PlatformZone;
MachineDynamicZoneSource g_machineDynamicZone = PlatformDynamicZone;

}  // namespace

ClockSource SetClockSource(ClockSource source) {
    const ClockSource previous = g_clock;
    g_clock = source ? source : PlatformClock;
    return previous;
}

MachineZoneSource SetMachineZoneSource(MachineZoneSource source) {
    const MachineZoneSource previous = g_machineZone;
    g_machineZone = source ? source : PlatformZone;
    zone::ForgetMachineZone();
    return previous;
}

MachineDynamicZoneSource SetMachineDynamicZoneSource(MachineDynamicZoneSource source) {
    const MachineDynamicZoneSource previous = g_machineDynamicZone;
    g_machineDynamicZone = source ? source : PlatformDynamicZone;
    zone::ForgetMachineZone();
    return previous;
}

void ReadClock(FILETIME* now) { g_clock(now); }
DWORD ReadMachineZone(TIME_ZONE_INFORMATION* zone) { return g_machineZone(zone); }

bool ReadMachineZoneKey(char* key, int size) {
    DYNAMIC_TIME_ZONE_INFORMATION machine;
    return key && size > 0 && ReadMachineDynamicZone(&machine, key, size) != TIME_ZONE_ID_INVALID && key[0] != 0;
}

DWORD ReadMachineDynamicZone(DYNAMIC_TIME_ZONE_INFORMATION* zone, char* key, int size) {
    *zone = DYNAMIC_TIME_ZONE_INFORMATION{};
    if (size > 0) key[0] = 0;
    if (g_machineZone != PlatformZone) {  // the older seam: the record alone
        TIME_ZONE_INFORMATION record = {};
        const DWORD result = g_machineZone(&record);
        std::memcpy(zone, &record, sizeof record);  // the leading fields are the same
        return result;
    }
    const DWORD result = g_machineDynamicZone(zone);
    if (result == TIME_ZONE_ID_INVALID || size <= 0) return result;
    zone->TimeZoneKeyName[127] = 0;
    if (WideCharToMultiByte(CP_ACP, 0, zone->TimeZoneKeyName, -1, key, size, NULL, NULL) <= 0) key[0] = 0;
    return result;
}

}  // namespace quendel
