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

// Each installs a source and returns the one it replaces; null restores the platform's.
ClockSource SetClockSource(ClockSource source);
MachineZoneSource SetMachineZoneSource(MachineZoneSource source);

void ReadClock(FILETIME* now);
DWORD ReadMachineZone(TIME_ZONE_INFORMATION* zone);
// The key name of the machine's zone in the registry's time-zone database, so that its
// per-year records can be found; false while another machine-zone source is installed.
bool ReadMachineZoneKey(char* key, int size);

}  // namespace quendel
