// Setting the machine's clock, checked: the privilege enabled for the call where the token
// holds it, and the system's verdict returned.
#pragma once

#include <windows.h>

namespace quendel {

// Sets the machine's clock in UTC; the program passes SetSystemTime, tests a recorder.
typedef BOOL(WINAPI* ClockSetter)(const SYSTEMTIME* utc);

// Calls setter with SE_SYSTEMTIME_NAME enabled for the call (when the process token holds
// the privilege at all; it is put back as it was afterwards). Returns 0 when the clock was
// set, else the system's error code: ERROR_PRIVILEGE_NOT_HELD (1314) when this user may
// not set the clock.
DWORD SetClockChecked(ClockSetter setter, const SYSTEMTIME& utc);

// Whether the process runs with an elevated (full administrator) token.
bool IsProcessElevated();

}  // namespace quendel
