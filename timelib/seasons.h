// The astronomical seasons: the instants of the equinoxes and solstices (library-internal).
//
// After Meeus, "Astronomical Algorithms" (2nd ed., chapter 27): the mean instant of the
// year's event, corrected by the 24 periodic terms, in dynamical time; the difference to
// universal time (Delta T) after Espenak and Meeus. Within a minute of the ephemerides for
// 1951 to 2050 (the 2026 March equinox: 20 March, 14:46 UTC).
#pragma once

#include "timelib/c_time.h"

namespace quendel {

enum class Season { kMarchEquinox, kJuneSolstice, kSeptemberEquinox, kDecemberSolstice };

// The event's instant in UTC, whole seconds; the invalid time outside the years 1601-30827.
C_Time SeasonStart(int year, Season season);

}  // namespace quendel
