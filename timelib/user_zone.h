// The record a zone argument of C_Time stands for (library-internal): the caller's record as
// it is, or for a null argument the global user time zone's record of the year in force.
#pragma once

#include <windows.h>

#include <cstdint>

#include "timelib/zone_years.h"

namespace quendel::zone {

// The user time zone's records, taken from the machine on first use.
const ZoneYears& UserZoneYears();
// Makes the next use read the machine's zone again (a new machine-zone source).
void ForgetMachineZone();

// At a UTC instant, and at a local wall-clock reading.
inline const TIME_ZONE_INFORMATION& ResolveAt(const TIME_ZONE_INFORMATION* zone, std::uint64_t utc) {
    return zone ? *zone : UserZoneYears().AtUtc(utc);
}
inline const TIME_ZONE_INFORMATION& ResolveAtWall(const TIME_ZONE_INFORMATION* zone, std::uint64_t wall) {
    return zone ? *zone : UserZoneYears().AtWall(wall);
}

}  // namespace quendel::zone
