// The record a zone argument of C_Time stands for (library-internal).
#pragma once

#include <windows.h>

#include "timelib/c_time.h"

namespace quendel::zone {

// The caller's record, or a copy of the global user time zone in copy for a null argument.
inline const TIME_ZONE_INFORMATION& Resolve(const TIME_ZONE_INFORMATION* zone, TIME_ZONE_INFORMATION* copy) {
    if (zone) return *zone;
    C_Time::GetLocTimeZoneInfo(copy);
    return *copy;
}

}  // namespace quendel::zone
