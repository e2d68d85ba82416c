// The locale whose code page C_String's multibyte calls follow (library-internal).
#pragma once

#include <locale.h>

// Makes C_String read its texts by locale's code page (_create_locale(LC_CTYPE, ".932") for
// Shift-JIS) instead of the system's ANSI code page; null goes back. Returns the one before.
// For tests: a machine's ANSI code page cannot be changed while a program runs.
_locale_t SetTextLocaleForTests(_locale_t locale);
