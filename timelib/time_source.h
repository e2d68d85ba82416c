// The library's seam to the machine: where the present moment and the machine's time zone
// come from. Programs leave both alone; tests install their own sources to hold the clock
// still or to play a machine whose zone cannot be read. Library-internal: the DLL exports
// none of it (tests link the library's objects).
#pragma once

#include <windows.h>

namespace quendel {

// Writes the present UTC time as a tick count.
typedef void (*ClockSource)(FILETIME* now);
// Fills the record with the machine's zone; returns as GetTimeZoneInformation does
// (0xFFFFFFFF on failure, 0 for a zone without summer-time rules, 1 or 2 otherwise).
typedef DWORD (*MachineZoneSource)(TIME_ZONE_INFORMATION* zone);

// The machine's zone with its key name and whether automatic summer time is switched off
// (DynamicDaylightTimeDisabled); returns as GetDynamicTimeZoneInformation does.
typedef DWORD (*MachineDynamicZoneSource)(DYNAMIC_TIME_ZONE_INFORMATION* zone);

// Each installs a source and returns the one it replaces; null restores the platform's.
// A MachineZoneSource, while installed, stands for the whole machine zone: no key name, and
// automatic summer time on.
ClockSource SetClockSource(ClockSource source);
MachineZoneSource SetMachineZoneSource(MachineZoneSource source);
MachineDynamicZoneSource SetMachineDynamicZoneSource(MachineDynamicZoneSource source);

void ReadClock(FILETIME* now);
DWORD ReadMachineZone(TIME_ZONE_INFORMATION* zone);
// The key name of the machine's zone in the registry's time-zone database, so that its
// per-year records can be found; false while another machine-zone source is installed.
bool ReadMachineZoneKey(char* key, int size);
// The whole machine zone from the installed sources, and its key name in the ANSI code page
// (empty where there is none); returns as GetDynamicTimeZoneInformation does.
DWORD ReadMachineDynamicZone(DYNAMIC_TIME_ZONE_INFORMATION* zone, char* key, int size);

}  // namespace quendel
