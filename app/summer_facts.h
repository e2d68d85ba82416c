// Summer time as the dialog shows it, in the user time zone by the record of each year: the
// changes that fall in a year, the period around a point, and the readings at a change.
#pragma once

#include <string>

#include "timelib/c_time.h"

// The changes to (start) and from (end) summer time that fall in the local year, by the
// year's own record: in the southern hemisphere the end in April lies before the start in
// October. False, and both invalid, in a year without summer time.
bool SummerChangesOfYear(int year, C_Time* start, C_Time* end);

// The summer period the point lies in; outside summer time the next one to begin (within a
// year). False, and both invalid, when there is none.
bool SummerPeriodAround(const C_Time& point, C_Time* start, C_Time* end);

// The last local reading before the change and the first after it: "( 1:59 -> 3:00 )" for
// Berlin's start of summer time, "( 1:59 -> 1:00 )" for the end of New York's. Empty for
// the invalid time.
std::string ChangeHint(const C_Time& change);

// The note on a local reading typed as typed and read as point: where the clocks skip it,
// "02:30 gibt es am 31.03.2024 nicht – gezeigt: 03:30"; where they repeat it,
// "02:30 gibt es zweimal – gezeigt: die erste (Sommerzeit)" and the other occurrence in *other
// (else invalid). Empty for a reading that occurs once. Windows-1252.
std::string ChangeOverNote(const SYSTEMTIME& typed, const C_Time& point, C_Time* other);
