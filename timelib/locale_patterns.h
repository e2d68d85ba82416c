// The patterns Format writes a point in and SetLocFormatTime reads it back by
// (library-internal): the locale's short date and time formats, fitted to the flags.
#pragma once

#include <windows.h>

namespace quendel {

// Where the milliseconds go in a time pattern, replaced in the formatted text (Format looks
// for these four characters).
inline constexpr char kMillisecondMarker[] = ".xxx";

// The date pattern: the locale's short date, or "yyyy-MM-dd"; a four-digit year cut to two
// digits unless the caller keeps it.
void DatePattern(LCID locale, bool year4, char (&pattern)[81]);

// The time pattern: the locale's (up to 29 characters), or "HH:mm:ss". Without seconds the
// seconds field goes with its own text: the separator before it ("HH:mm:ss tt" becomes
// "HH:mm tt"), or where a unit text follows it, that text ("HH' h 'mm' min 'ss' s'" becomes
// "HH' h 'mm' min '"). With milliseconds the marker follows the last seconds letter: the
// buffer has room for both.
void TimePattern(LCID locale, bool seconds, bool milliseconds, char (&pattern)[40]);

}  // namespace quendel
