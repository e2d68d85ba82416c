// The record a zone argument of C_Time stands for (library-internal): the caller's record as
// it is, or for a null argument the global user time zone's record of the year in force.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "timelib/zone_rules.h"
#include "timelib/zone_years.h"

namespace quendel::zone {

// The user time zone's records, taken from the machine on first use.
const ZoneYears& UserZoneYears();
// Makes the next use read the machine's zone again (a new machine-zone source).
void ForgetMachineZone();
// How many zones the user zone has been: each kept until unloaded, an equal one once.
std::size_t KeptUserZones();
// Frees them; for the DLL's unloading only, as no thread converts then (dll_main.cpp).
void ReleaseUserZones();

// At a UTC instant.
inline const TIME_ZONE_INFORMATION& ResolveAt(const TIME_ZONE_INFORMATION* zone, std::uint64_t utc) {
    return zone ? *zone : UserZoneYears().AtUtc(utc);
}

// Local wall-clock ticks of a UTC instant and back, as WallOf and UtcOf (zone_rules.h) of
// the record in force.
inline std::uint64_t WallAt(const TIME_ZONE_INFORMATION* zone, std::uint64_t utc) {
    return zone ? WallOf(*zone, utc) : UserZoneYears().WallOf(utc);
}
inline std::uint64_t UtcAt(const TIME_ZONE_INFORMATION* zone, std::uint64_t wall) {
    return zone ? UtcOf(*zone, wall) : UserZoneYears().UtcOf(wall);
}

}  // namespace quendel::zone
