#include "timelib/time_source.h"

#include "timelib/user_zone.h"

namespace quendel {
namespace {

void PlatformClock(FILETIME* now) { GetSystemTimeAsFileTime(now); }
DWORD PlatformZone(TIME_ZONE_INFORMATION* zone) { return GetTimeZoneInformation(zone); }

ClockSource g_clock = PlatformClock;
MachineZoneSource g_machineZone = PlatformZone;

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

void ReadClock(FILETIME* now) { g_clock(now); }
DWORD ReadMachineZone(TIME_ZONE_INFORMATION* zone) { return g_machineZone(zone); }

bool ReadMachineZoneKey(char* key, int size) {
    DYNAMIC_TIME_ZONE_INFORMATION machine = {};
    if (g_machineZone != PlatformZone || size <= 0 || GetDynamicTimeZoneInformation(&machine) == TIME_ZONE_ID_INVALID)
        return false;
    machine.TimeZoneKeyName[127] = 0;
    return WideCharToMultiByte(CP_ACP, 0, machine.TimeZoneKeyName, -1, key, size, NULL, NULL) > 1;
}

}  // namespace quendel
