// The start-up figure both start-up programs report: microseconds from the creation of the
// current process to now, so that the main dialog and the empty dialog are measured alike.
#pragma once

#include <windows.h>

inline DWORD MicrosecondsSinceProcessStart() {
    FILETIME created, exited, kernel, user, now;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    GetSystemTimePreciseAsFileTime(&now);
    const unsigned long long a = (static_cast<unsigned long long>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
    const unsigned long long b = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return static_cast<DWORD>((b - a) / 10);
}
