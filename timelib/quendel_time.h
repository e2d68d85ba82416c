/* quendel_time.h: the C interface of quendel_time.dll, for any language and any compiler.
 *
 * C89 and C++; no C++ types, no bool, no exceptions, nothing allocated on one side and freed
 * on the other. Link the import library (quendel_time.lib for MSVC, libquendel_time.dll.a
 * for MinGW) or load the DLL and look the names up: every function is exported under its
 * plain name, undecorated on both architectures (i686 and x86_64), listed in
 * quendel_time.def.
 *
 * Calling convention: __cdecl on both architectures (QT_CALL), as the C runtime, SQLite
 * and zlib export theirs. On x86_64 there is only one convention. On i686 this means:
 *   Python ctypes   ctypes.CDLL("quendel_time.dll"), not WinDLL
 *   C# P/Invoke     [DllImport("quendel_time.dll", CallingConvention = CallingConvention.Cdecl,
 *                    CharSet = CharSet.Unicode)]
 *   Delphi          cdecl;
 *
 * Time points: a signed 64-bit count of 100-nanosecond ticks since 1601-01-01 00:00:00 UTC
 * in the proleptic Gregorian calendar (the FILETIME scale). Valid ticks run from 0 to
 * 0x7FFFFFFFFFFFFFFF (30828-09-14 02:48:05); a negative count is QT_E_RANGE.
 *
 * Status: every function returns QT_OK (0) or an error status; quendel_time_status_text
 * gives its text. Outputs are written only on QT_OK, except where a function says otherwise.
 *
 * Texts are UTF-16 (wchar_t on Windows). A function that writes text takes the caller's
 * buffer and its capacity in wchar_t, terminator included, and sets *length (when not
 * null) to the text's length without terminator. When the buffer is too small it returns
 * QT_E_BUFFER_TOO_SMALL, writes an empty text (capacity > 0) and *length still tells how
 * many characters the text has: call again with *length + 1.
 *
 * Zones are opaque handles, opened by the registry key of the Windows time-zone database,
 * from the machine's zone, or by IANA name, and closed by quendel_time_zone_close. A handle
 * is never changed after it is opened: any number of threads may use one at once. There is
 * no process-wide "current zone" in this interface, and no function changes anything in the
 * host process (locale, code page, environment).
 *
 * ABI promise, for all 1.x versions of quendel_time.dll:
 *   - an export keeps its name, its parameters and its meaning; new functions are added,
 *     none is removed;
 *   - a struct that begins with cbSize grows only at its end; the caller sets cbSize to the
 *     size it knows, the library reads and writes only that much (QT_E_STRUCT_SIZE when it
 *     is smaller than the first version of the struct); structs without cbSize never change;
 *   - status codes and flag values keep their numbers; new ones may be added, so treat an
 *     unknown status as an error;
 *   - a change that breaks any of this ships as a DLL of another name (quendel_time2.dll).
 *
 * Example: one FILETIME in New York (see docs/examples/c/sample.c):
 *   qt_zone ny;
 *   qt_fields local;
 *   local.cbSize = sizeof local;
 *   if (quendel_time_zone_open_key(L"Eastern Standard Time", &ny) == QT_OK) {
 *       quendel_time_to_local(ny, 127000000000000000, &local);   2003-06-14 ... EDT
 *       quendel_time_zone_close(ny);
 *   }
 */
#ifndef QUENDEL_TIME_H
#define QUENDEL_TIME_H

#include <stddef.h> /* wchar_t */

#ifdef __cplusplus
extern "C" {
#endif

#define QT_CALL __cdecl

/* Signed 64-bit integer in C89 compilers of both families. */
#if defined(_MSC_VER) || defined(__BORLANDC__)
typedef __int64 qt_int64;
#else
__extension__ typedef long long qt_int64;
#endif

/* The ABI generation: the 1 of the promise above. */
#define QUENDEL_TIME_ABI 1

/* ---- Status codes ---- */
typedef int qt_status;
#define QT_OK 0
#define QT_E_ARGUMENT 1          /* a null pointer, a null handle or an unknown flag or code */
#define QT_E_RANGE 2             /* the value lies outside 1601-01-01 to 30828-09-14 */
#define QT_E_NO_SUCH_DATE 3      /* the fields name no date or time (31 April, 24:00) */
#define QT_E_BUFFER_TOO_SMALL 4  /* see *length or *count for the size needed */
#define QT_E_NOT_FOUND 5         /* no zone of that key or name */
#define QT_E_NOT_AVAILABLE 6     /* this build has no such data (the IANA zone history) */
#define QT_E_PARSE 7             /* the text does not read whole as a date and time */
#define QT_E_STRUCT_SIZE 8       /* cbSize smaller than the struct's first version */
#define QT_E_SYSTEM 9            /* the system refused (zone unreadable, out of memory) */

/* ---- Structs ---- */

/* The FILETIME layout, without including windows.h. */
typedef struct qt_filetime {
    unsigned long dwLowDateTime;
    unsigned long dwHighDateTime;
} qt_filetime;

/* Calendar fields of a point, in UTC or in a zone's local time. Set cbSize to
 * sizeof(qt_fields) before every call. Inputs are year to millisecond; the rest is output. */
typedef struct qt_fields {
    unsigned int cbSize;
    int year;         /* 1601-30827 as input */
    int month;        /* 1-12 */
    int day;          /* 1-31 */
    int hour;         /* 0-23 */
    int minute;       /* 0-59 */
    int second;       /* 0-59 */
    int millisecond;  /* 0-999; finer ticks are cut off */
    int day_of_week;  /* output: 0 Sunday to 6 Saturday */
    int utc_offset;   /* output: local time minus UTC in minutes (0 for UTC fields) */
    int is_summer;    /* output: 1 in summer (daylight-saving) time, else 0 */
} qt_fields;

/* How a local reading maps to UTC (quendel_time_from_local, quendel_time_parse). */
#define QT_LOCAL_UNIQUE 0    /* one instant: earlier == later */
#define QT_LOCAL_SKIPPED 1   /* the clock jumped over it (change to summer time) */
#define QT_LOCAL_REPEATED 2  /* the clock showed it twice (change back) */
typedef struct qt_local_result {
    unsigned int cbSize;
    int kind;          /* QT_LOCAL_... */
    qt_int64 earlier;  /* UTC ticks */
    qt_int64 later;    /* UTC ticks */
} qt_local_result;
/* REPEATED: earlier is the first occurrence (still summer time), later the second.
 * SKIPPED: the reading by the offsets on either side of the jump; in Berlin 2003-03-30
 * 02:30 gives earlier 00:30 UTC (read in summer time: 01:30 in standard time) and later
 * 01:30 UTC (read in standard time: 03:30 in summer time). Neither shows 02:30. */

/* The change-overs of summer time that fall in a local year. */
typedef struct qt_changes {
    unsigned int cbSize;
    int has_start;       /* 1 when the change to summer time falls in the year */
    int has_end;         /* 1 when the change back falls in the year */
    int reserved;        /* 0: keeps start at offset 16 under every packing */
    qt_int64 start;      /* UTC ticks of the change to summer time */
    qt_int64 end;        /* UTC ticks of the change back (in the southern hemisphere before start) */
} qt_changes;

/* One legal holiday: never grows. */
typedef struct qt_holiday {
    int holiday;  /* QT_HOLIDAY_... */
    int year;
    int month;
    int day;
} qt_holiday;

#define QT_HOLIDAY_NEUJAHR 0
#define QT_HOLIDAY_HEILIGE_DREI_KOENIGE 1
#define QT_HOLIDAY_FRAUENTAG 2
#define QT_HOLIDAY_KARFREITAG 3
#define QT_HOLIDAY_OSTERSONNTAG 4
#define QT_HOLIDAY_OSTERMONTAG 5
#define QT_HOLIDAY_TAG_DER_ARBEIT 6
#define QT_HOLIDAY_TAG_DER_BEFREIUNG 7
#define QT_HOLIDAY_CHRISTI_HIMMELFAHRT 8
#define QT_HOLIDAY_PFINGSTSONNTAG 9
#define QT_HOLIDAY_PFINGSTMONTAG 10
#define QT_HOLIDAY_FRONLEICHNAM 11
#define QT_HOLIDAY_MARIAE_HIMMELFAHRT 12
#define QT_HOLIDAY_WELTKINDERTAG 13
#define QT_HOLIDAY_DEUTSCHE_EINHEIT 14
#define QT_HOLIDAY_REFORMATIONSTAG 15
#define QT_HOLIDAY_ALLERHEILIGEN 16
#define QT_HOLIDAY_BUSS_UND_BETTAG 17
#define QT_HOLIDAY_WEIHNACHTSTAG1 18
#define QT_HOLIDAY_WEIHNACHTSTAG2 19
/* West Germany's day of German unity, 17 June (1954-1990). */
#define QT_HOLIDAY_SIEBZEHNTER_JUNI 20
#define QT_HOLIDAY_COUNT 21

/* Text flags, as the dialog shows a point:
 *   QT_FMT_DATE | QT_FMT_YEAR4               24.12.2003          (0x407, German)
 *   QT_FMT_DATE | QT_FMT_TIME | QT_FMT_SECONDS  24.12.03 - 13:45:10 */
#define QT_FMT_SECONDS 0x001
#define QT_FMT_TIME 0x002
#define QT_FMT_DATE 0x008
#define QT_FMT_MSECONDS 0x010
#define QT_FMT_YEAR4 0x020

/* One reading of a pasted timestamp (quendel_time_read_stamp): never grows. */
typedef struct qt_stamp {
    int form;        /* QT_STAMP_... */
    int is_local;    /* 1: the form is a wall-clock reading, converted in the zone given */
    qt_int64 ticks;  /* UTC ticks */
} qt_stamp;

/* The forms of a pasted timestamp. The numbers are the ranking's last word (see
 * quendel_time_read_stamp), and never change meaning: a form added later takes the next. */
#define QT_STAMP_ISO8601 0          /* 2023-11-14T22:13:20Z, offset or Z; without either local */
#define QT_STAMP_RFC2822 1          /* Tue, 14 Nov 2023 22:13:20 +0000 (mail, HTTP) */
#define QT_STAMP_USER_TEXT 2        /* reserved: the dialog's own date formats, not read here */
#define QT_STAMP_UUID1 3            /* 100 ns since 1582-10-15 in a version-1 UUID */
#define QT_STAMP_UUID7 4            /* ms since 1970 in a version-7 UUID */
#define QT_STAMP_ULID 5             /* ms since 1970 in a ULID */
#define QT_STAMP_UNIX_SECONDS 6     /* seconds since 1970, fraction allowed */
#define QT_STAMP_UNIX_MILLIS 7
#define QT_STAMP_UNIX_MICROS 8
#define QT_STAMP_FILETIME 9         /* decimal 100-ns ticks since 1601 */
#define QT_STAMP_FILETIME_HEX 10    /* the same in hexadecimal */
#define QT_STAMP_FILETIME_BYTES 11  /* its 8 bytes stored little-endian: "00 00 6D C6 47 17 DA 01" */
#define QT_STAMP_FILETIME_WORDS 12  /* "high:low", two 32-bit hexadecimal words */
#define QT_STAMP_WEBKIT 13          /* WebKit/Chrome: microseconds since 1601 */
#define QT_STAMP_DOTNET_TICKS 14    /* .NET DateTime: 100 ns since 0001-01-01 */
#define QT_STAMP_UNIX_NANOS 15
#define QT_STAMP_UNIX_HEX 16        /* 32-bit signed seconds since 1970 in hexadecimal */
#define QT_STAMP_UNIX_HEX_LE 17     /* the same, its 4 bytes stored little-endian */
#define QT_STAMP_OLE_DATE 18        /* days since 1899-12-30, the fraction the time of day */
#define QT_STAMP_EXCEL1900 19       /* Excel serial: 1 is 1900-01-01; 60 (29 February 1900) reads as nothing */
#define QT_STAMP_EXCEL1904 20       /* Excel 1904 serial: 0 is 1904-01-01 */
#define QT_STAMP_COCOA_SECONDS 21   /* Cocoa/Mac absolute time: seconds since 2001 */
#define QT_STAMP_COCOA_NANOS 22     /* iOS: nanoseconds since 2001 */
#define QT_STAMP_HFS_PLUS 23        /* HFS+: unsigned 32-bit seconds since 1904 (UTC) */
#define QT_STAMP_GPS 24             /* GPS seconds since 1980-01-06, leap seconds applied */
#define QT_STAMP_NTP 25             /* NTP seconds.fraction since 1900; the era nearest now */
#define QT_STAMP_NTP_HEX 26         /* NTP 64-bit in hexadecimal, "E8D3A3B0.12345678" */
#define QT_STAMP_DOS 27             /* DOS/FAT date and time in 32 bits, local time */
#define QT_STAMP_COUNT 28

/* Names of a form (quendel_time_stamp_name). */
#define QT_STAMP_NAME_TOKEN 0   /* L"unix-s", as quendel.exe /convert prints it */
#define QT_STAMP_NAME_GERMAN 1  /* L"Unixzeit (s)", as the dialog lists it */

typedef struct qt_zone_s* qt_zone;

/* ---- Version and status ---- */

/* major * 1000000 + minor * 1000 + patch of the DLL: 1002028 is 1.2.28. */
qt_status QT_CALL quendel_time_version(long* version);
/* The status's English text ("buffer too small"); an unknown status has a text too. */
qt_status QT_CALL quendel_time_status_text(qt_status status, wchar_t* buffer, int capacity, int* length);

/* ---- UTC: fields, FILETIME, Unix seconds, OLE dates ---- */

/* UTC fields to ticks: QT_E_NO_SUCH_DATE for fields out of their ranges or a date the
 * calendar lacks (29 February 2003). */
qt_status QT_CALL quendel_time_from_fields(const qt_fields* utc, qt_int64* ticks);
qt_status QT_CALL quendel_time_to_fields(qt_int64 ticks, qt_fields* utc);
/* A FILETIME is the tick count itself; the high bit set is QT_E_RANGE. */
qt_status QT_CALL quendel_time_from_filetime(const qt_filetime* ft, qt_int64* ticks);
qt_status QT_CALL quendel_time_to_filetime(qt_int64 ticks, qt_filetime* ft);
/* Seconds since 1970-01-01 UTC, negative before; to_unix rounds down to the second. */
qt_status QT_CALL quendel_time_from_unix(qt_int64 seconds, qt_int64* ticks);
qt_status QT_CALL quendel_time_to_unix(qt_int64 ticks, qt_int64* seconds);
/* OLE automation dates (VariantTimeToSystemTime, .NET's FromOADate): days since 1899-12-30,
 * the fraction the time of day, also before 1899-12-30: -1.25 is 1899-12-29 06:00. Rounded
 * to the millisecond. NaN and dates outside the tick range are QT_E_RANGE. */
qt_status QT_CALL quendel_time_from_ole(double date, qt_int64* ticks);
qt_status QT_CALL quendel_time_to_ole(qt_int64 ticks, double* date);

/* ---- Zones ---- */

/* By the key of HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Time Zones
 * (L"W. Europe Standard Time"), with its per-year records: QT_E_NOT_FOUND without one. */
qt_status QT_CALL quendel_time_zone_open_key(const wchar_t* key, qt_zone* zone);
/* The machine's zone as it is now (later changes of the machine's zone do not reach it). */
qt_status QT_CALL quendel_time_zone_open_machine(qt_zone* zone);
/* By IANA name (L"Europe/Berlin", L"America/New_York"; old and new names alike, tzdata's links:
 * L"Asia/Kolkata" as L"Asia/Calcutta"): the zone's IANA history up to the history's last year,
 * then the registry records of the key CLDR maps the name to, whose key and display name the
 * zone has (quendel_time_zone_name).
 * QT_E_NOT_FOUND for a name the history does not carry; QT_E_NOT_AVAILABLE in a build
 * without the history. Zones opened by key or from the machine follow the history of the
 * key's zone in the user's region (GetUserGeoID) as well. */
qt_status QT_CALL quendel_time_zone_open_iana(const wchar_t* name, qt_zone* zone);
/* The keys of the database in registry order, one by index from 0 (QT_E_NOT_FOUND past the
 * last), each for quendel_time_zone_open_key; a list shows their QT_NAME_DISPLAY names. */
qt_status QT_CALL quendel_time_zone_key(int index, wchar_t* buffer, int capacity, int* length);
/* A name of an open zone, as the database holds it; the machine's zone has the key and
 * display name of its database entry and the names the system gives it (translated on a
 * German system: L"Mitteleurop\x00e4ische Zeit"). */
#define QT_NAME_KEY 0       /* L"W. Europe Standard Time" (L"" where the zone has no key) */
#define QT_NAME_DISPLAY 1   /* L"(UTC+01:00) Amsterdam, Berlin, Bern, ..." (L"" without a key) */
#define QT_NAME_STANDARD 2  /* the standard time's name, L"W. Europe Standard Time" */
#define QT_NAME_DAYLIGHT 3  /* the summer time's name, L"W. Europe Daylight Time" */
qt_status QT_CALL quendel_time_zone_name(qt_zone zone, int which, wchar_t* buffer, int capacity, int* length);
/* Closes a handle; a null handle is QT_OK. The handle is not used again. */
qt_status QT_CALL quendel_time_zone_close(qt_zone zone);

/* ---- Local time ---- */

/* The local fields of a UTC point in the zone, with its offset and summer flag. */
qt_status QT_CALL quendel_time_to_local(qt_zone zone, qt_int64 ticks, qt_fields* local);
/* Local fields to UTC: unique, skipped or repeated, and both candidates; the caller decides.
 *   Berlin 2003-10-26 02:30   REPEATED, earlier 00:30 UTC, later 01:30 UTC */
qt_status QT_CALL quendel_time_from_local(qt_zone zone, const qt_fields* local, qt_local_result* result);
/* *summer: 1 when the point lies in summer time in the zone, else 0. */
qt_status QT_CALL quendel_time_is_summer(qt_zone zone, qt_int64 ticks, int* summer);
/* The change-overs that fall in the local year (1601-30827). */
qt_status QT_CALL quendel_time_changes(qt_zone zone, int year, qt_changes* changes);

/* ---- Texts in a locale (an LCID: 0x0407 German, 0x0409 English (US), 0x0400 the user's) ---- */

/* The point in the zone's local time (a null zone: UTC), in the locale's short date and
 * time formats as the flags select (QT_FMT_DATE or QT_FMT_TIME at least); tick 0 is
 * QT_E_RANGE. An unknown LCID is QT_E_ARGUMENT. */
qt_status QT_CALL quendel_time_format(qt_zone zone, qt_int64 ticks, int flags, unsigned long lcid,
                                      wchar_t* buffer, int capacity, int* length);
/* Reads what quendel_time_format writes, to the second (QT_FMT_DATE required; without
 * QT_FMT_TIME the time is 00:00; QT_FMT_MSECONDS is QT_E_ARGUMENT: milliseconds are written,
 * never read), as local time of the zone (a null zone: UTC), with both candidates where the
 * reading is skipped or repeated. Two-digit years: 00-49 are 20xx, 50-99 19xx. QT_E_PARSE
 * when the text does not read whole, QT_E_NO_SUCH_DATE for 31.02.2003.
 *   L"26.10.2003 - 02:30:00" in W. Europe, 0x407   REPEATED, 00:30 and 01:30 UTC */
qt_status QT_CALL quendel_time_parse(qt_zone zone, const wchar_t* text, int flags, unsigned long lcid,
                                     qt_local_result* result);

/* ---- Pasted timestamps ---- */

/* Every form a pasted text may be read in, ranked: readings from 1990 to 2039 first, then
 * the rest; within each, the forms that take the text as written before those that reverse
 * its bytes or take an NTP era after the first; then by form number. At most one reading a
 * form, so QT_STAMP_COUNT entries always suffice. The forms are ASCII: leading and trailing
 * blanks are dropped, and a text with any other character, or longer than 200 characters,
 * reads as nothing (QT_OK, *count 0). Forms of local time (DOS, ISO 8601 without a zone) are
 * read in the zone (a null zone: UTC): a skipped reading as standard time, a repeated one as
 * its first occurrence, as quendel_time_from_local's later and earlier. now (ticks) chooses
 * the NTP era; 0 takes the system clock. With too little capacity QT_E_BUFFER_TOO_SMALL,
 * nothing written, and *count tells how many there are.
 *   L"1700000000"   UNIX_SECONDS 2023-11-14 22:13:20, COCOA_NANOS 2001-01-01 00:00:01.7,
 *                   GPS 2033-11-18 ..., then UNIX_MILLIS 1970-01-20, ... NTP 2089-12-21 */
qt_status QT_CALL quendel_time_read_stamp(qt_zone zone, const wchar_t* text, qt_int64 now, qt_stamp* list,
                                          int capacity, int* count);
/* The point in the form (in the zone's local time for the local forms; a null zone: UTC),
 * which quendel_time_read_stamp reads back to the same point at the form's resolution (a
 * local form's repeated hour as its first occurrence): QT_E_RANGE where the form cannot hold it, QT_E_ARGUMENT for QT_STAMP_USER_TEXT or an
 * unknown form.
 *   QT_STAMP_FILETIME_WORDS, 133444736000000000   L"0x01DA1747:0xC66D0000" */
qt_status QT_CALL quendel_time_write_stamp(qt_zone zone, int form, qt_int64 ticks, wchar_t* buffer, int capacity,
                                           int* length);
/* A form's name, QT_STAMP_NAME_TOKEN or QT_STAMP_NAME_GERMAN. */
qt_status QT_CALL quendel_time_stamp_name(int form, int which, wchar_t* buffer, int capacity, int* length);

/* ---- German legal holidays ---- */

/* The legal holidays of a state in a year (1601-30827), in date order. state is the
 * official two-letter code (L"BY" Bayern, L"NW" Nordrhein-Westfalen, ...), or null or L""
 * for the days that are holidays in every state; an unknown code is QT_E_ARGUMENT. Each
 * state's own laws, vouched for from 1990 on (3 October from 1990, Buss- und Bettag in every
 * state until 1994); before 1990 West Germany's as far as known (17 June from 1954), without
 * vouching for every state's year of introduction. *count receives the number
 * of holidays; with too little capacity QT_E_BUFFER_TOO_SMALL and nothing written (a
 * year has at most 16). */
qt_status QT_CALL quendel_time_holidays(const wchar_t* state, int year, qt_holiday* list, int capacity,
                                        int* count);
/* The holiday's German name (L"Heilige Drei K\x00f6nige"). */
qt_status QT_CALL quendel_time_holiday_name(int holiday, wchar_t* buffer, int capacity, int* length);

#ifdef __cplusplus
}
#endif

#endif /* QUENDEL_TIME_H */
