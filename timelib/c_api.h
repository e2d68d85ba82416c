// What the C interface's files share (library-internal): the zone handle, the text output
// and the guard that keeps exceptions inside the library.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "timelib/quendel_time.h"
#include "timelib/zone_years.h"

// The object behind a qt_zone: a zone's records, never changed after it is opened, so that
// threads share it without a lock.
struct qt_zone_s {
    quendel::zone::ZoneYears years;
    std::wstring key, display;  // of the database; empty for a zone from elsewhere
};

namespace quendel::c_api {

// Runs body, which returns a status; an exception (out of memory) becomes QT_E_SYSTEM.
template <typename Body>
qt_status Guard(Body body) {
    try {
        return body();
    } catch (...) {
        return QT_E_SYSTEM;
    }
}

// Writes a text of length characters into the caller's buffer by the header's rules.
qt_status WriteText(const wchar_t* text, int length, wchar_t* buffer, int capacity, int* lengthOut);

// Whether cbSize covers the struct's first version (its size up to and including the last
// member of that version).
inline bool SizeOk(unsigned int cbSize, std::size_t firstVersion) { return cbSize >= firstVersion; }

// The ticks lie on the valid scale [0, 2^63 - 1].
inline bool TicksOk(qt_int64 ticks) { return ticks >= 0; }

// An ANSI text of the registry's narrow calls in UTF-16.
std::wstring Wide(const char* text);

// Opens a zone from the IANA history (c_api_iana.cpp); *key receives the registry key whose
// records follow the history.
qt_status OpenIanaZone(const wchar_t* name, quendel::zone::ZoneYears* years, const char** key);

}  // namespace quendel::c_api
