// C_Time: a point in time, the library's central value type.
//
// One unsigned 64-bit count of 100-nanosecond ticks since 1601-01-01 00:00:00 UTC in the
// proleptic Gregorian calendar: the FILETIME scale and layout, so a FILETIME and a C_Time
// convert by copying. A point is always UTC; local time exists only as calendar fields
// (a SYSTEMTIME) of a given zone. 0 is the invalid time and compares below every valid one.
//
// Zone arguments point to a TIME_ZONE_INFORMATION record, which applies to every year; a null
// pointer selects the global user time zone, which is the machine's zone until
// SetLocTimeZoneInfo, SetLocTimeZoneByRegString or SetLocTimeZoneByKeyName replaces it, and
// which converts each point by the record of its year where the registry holds per-year
// records (C_TimeZone converts in such a zone without making it the user zone).
//
// Local readings around a summer-time change (zone W. Europe, 2003):
//   C_Time t(2003, 3, 30, 2, 30, 0, &zone);   // skipped hour: read as standard time,
//                                             //   01:30 UTC (03:30 summer time)
//   C_Time u(2003, 10, 26, 2, 30, 0, &zone);  // repeated hour: its summer-time
//                                             //   occurrence, 00:30 UTC
#pragma once

#include <windows.h>

#include <string>
#include <type_traits>

#include "timelib/c_timespan.h"
#include "timelib/export.h"
#include "timelib/format_flags.h"

class C_String;

class C_Time {
public:
    // Construction and assignment
    QTL_API C_Time();                     // the invalid time
    QTL_API explicit C_Time(const char* now);  // non-null ("Now"): the present time; null: invalid
    QTL_API C_Time(unsigned __int64 ticks);
    // Local fields in the zone (SetLocTime); the invalid time when they are rejected.
    QTL_API C_Time(int year, int month, int day, int hour, int minute, int second,
           const TIME_ZONE_INFORMATION* zone = NULL);
    QTL_API C_Time(const C_Time& other);
    QTL_API C_Time(FILETIME& ft);
    QTL_API const C_Time& operator=(const C_Time& other);
    QTL_API const C_Time& operator=(const C_Time* other);
    // An integer sets the tick count: t = 0 is the invalid time (not the pointer form with a
    // null pointer), t = ticks any count.
    template <typename Integer, typename = typename std::enable_if<std::is_integral<Integer>::value>::type>
    const C_Time& operator=(Integer ticks) {
        m_time = static_cast<unsigned __int64>(ticks);
        return *this;
    }

    // Comparison (unsigned) and arithmetic (modulo 2^64, validity is not looked at)
    QTL_API bool operator==(const C_Time& other) const;
    QTL_API bool operator!=(const C_Time& other) const;
    QTL_API bool operator<(const C_Time& other) const;
    QTL_API bool operator<=(const C_Time& other) const;
    QTL_API bool operator>(const C_Time& other) const;
    QTL_API bool operator>=(const C_Time& other) const;
    QTL_API C_Time operator+(const C_TimeSpan& span) const;
    QTL_API C_Time operator-(const C_TimeSpan& span) const;
    QTL_API C_TimeSpan operator-(const C_Time& other) const;
    QTL_API const C_Time& operator+=(C_TimeSpan span);
    QTL_API const C_Time& operator-=(C_TimeSpan span);

    // Validity
    QTL_API bool IsValid() const;
    QTL_API bool IsInvalid() const;
    QTL_API void SetInvalid();

    // Present time and rastering
    QTL_API void SetTime();
    QTL_API void TimeNow();
    QTL_API void TimeNow(const C_TimeSpan& raster);
    // Rounds to the nearest multiple of raster counted from tick 0, halves upward: by one
    // second 12:00:00.5 becomes 12:00:01. Days fall on UTC midnights, weeks on Mondays.
    // False, and the point unchanged, for a raster of zero or less, an invalid point, or a
    // result outside the tick range.
    QTL_API bool RasterIt(const C_TimeSpan& raster);

    // Conversions; all return true on success. Getters give false for a point outside the
    // tick range (the invalid time included); setters give false, and keep the point, for an
    // input outside it (before 1601-01-01 00:00:00.0000001 or after 30828-09-14).
    QTL_API unsigned __int64 GetTimeUTC() const;
    QTL_API bool GetFileTime(FILETIME* ft) const;
    QTL_API bool SetFileTime(const FILETIME& ft);
    // Seconds since 1970-01-01 UTC, 32-bit as existing callers know it: 0 before 1970, and
    // after 2038-01-19 03:14:07 the low 32 bits of the count (2038-01-19 03:14:08 gives
    // -2147483648, 2106-02-07 06:28:16 gives 0). GetUnixTime64 has the whole range.
    QTL_API long GetUnixTime() const;
    QTL_API bool SetUnixTime(long seconds);
    // Seconds since 1970-01-01 UTC, signed 64-bit, for the whole tick range: negative before
    // 1970, rounded down to the second the point lies in (1969-12-31 23:59:59.5 is -1).
    QTL_API __int64 GetUnixTime64() const;
    // False, and the point unchanged, outside -11644473600 (1601) to 910692730085 (30828).
    QTL_API bool SetUnixTime64(__int64 seconds);
    // OLE automation dates, linear form: -1.25 is 1899-12-28 18:00. A NaN, or a date
    // outside the tick range (-200000, 1e300), gives false and keeps the point.
    QTL_API bool GetVariantTimeUTC(double* date) const;
    QTL_API bool SetVariantTimeUTC(double date);
    QTL_API bool GetLocVariantTime(double* date, const TIME_ZONE_INFORMATION* zone = NULL) const;
    QTL_API bool GetSystemTimeUTC(SYSTEMTIME* fields) const;
    // Fields out of range (as SetTimeUTC checks them) give false and keep the point; a date
    // the calendar lacks gives false and the invalid time.
    QTL_API bool SetSystemTimeUTC(const SYSTEMTIME* fields);
    QTL_API bool GetLocSystemTime(SYSTEMTIME* fields, const TIME_ZONE_INFORMATION* zone = NULL) const;
    QTL_API bool SetLocSystemTime(const SYSTEMTIME* fields, const TIME_ZONE_INFORMATION* zone = NULL);
    // Range checks first (year >= 1601, month 1-12, day 1-31, hour 0-23, minute and second
    // 0-59, ms 0-999): a failure keeps the value. Then the conversion: a failure there
    // (31 April, 29 February 2003) leaves the invalid time, and so does 1601-01-01
    // 00:00:00.000 (tick 0): both give false.
    QTL_API bool SetTimeUTC(int year, int month, int day, int hour, int minute, int second, int milliseconds);
    QTL_API bool SetLocTime(int year, int month, int day, int hour, int minute, int second,
                    const TIME_ZONE_INFORMATION* zone = NULL);

    // Time zones and summer time
    // Sets the user time zone to the record, for every year (an empty name included); null
    // goes back to the machine's zone.
    QTL_API static void SetLocTimeZoneInfo(TIME_ZONE_INFORMATION* zone);
    QTL_API static void GetLocTimeZoneInfo(TIME_ZONE_INFORMATION* zone);
    // Selects the zone of the registry's time-zone database whose "Std" value (not its key
    // name) equals name; false, and the user zone unchanged, when none does.
    QTL_API static bool SetLocTimeZoneByRegString(const char* name);
    // The user zone's standard name, cut to fit and always terminated (size > 0).
    QTL_API static void GetLocTimeZoneAsRegString(char* buffer, int size);
    // Selects the zone of the registry's time-zone database stored under the key name
    // ("Eastern Standard Time"), with its per-year records; false, and the user zone
    // unchanged, when there is no such key. SetLocTimeZoneByRegString and the machine's
    // zone at start carry their per-year records too; SetLocTimeZoneInfo sets one record
    // for every year. Every member called with a null zone then converts by the record of
    // the year concerned:
    //   C_Time::SetLocTimeZoneByKeyName("Eastern Standard Time");
    //   C_Time(2003, 3, 20, 16, 0, 0)   2003-03-20 21:00 UTC: standard time, summer began 6 April
    //   C_Time(2010, 3, 20, 17, 0, 0)   2010-03-20 21:00 UTC: summer time since 14 March
    QTL_API static bool SetLocTimeZoneByKeyName(const char* key);
    // The user zone's record of a local year (the record in force that year).
    QTL_API static void GetLocTimeZoneInfoForYear(int year, TIME_ZONE_INFORMATION* zone);
    // Zones set by key, by standard name or taken from the machine follow the IANA history
    // of the zone CLDR names for the key in the user's region (GetUserGeoID; else the key's
    // main zone) up to GetTimeZoneHistoryLastYear(), and the registry's records after it:
    //   C_Time::SetLocTimeZoneByKeyName("W. Europe Standard Time");   Europe/Berlin
    //   C_Time(1978, 7, 1, 12, 0, 0)   11:00 UTC: no summer time in Germany before 1980
    // SetLocTimeZoneByIanaName selects a zone of the history table by its IANA name (or a
    // name tzdata links to or from it: "Asia/Kolkata" and "Asia/Calcutta"), with the
    // registry records of the key CLDR maps it to for the later years; false, and the user
    // zone unchanged, for a name the table lacks or a key the registry lacks.
    QTL_API static bool SetLocTimeZoneByIanaName(const char* name);
    // The IANA name of the history the user zone follows ("Europe/Berlin"), cut to fit and
    // terminated; false and "" when it follows none (a record set by SetLocTimeZoneInfo).
    QTL_API static bool GetLocTimeZoneHistory(char* buffer, int size);
    // The tzdata release of the embedded history ("2026f") and its last year (2025).
    QTL_API static const char* GetTimeZoneHistoryVersion();
    QTL_API static int GetTimeZoneHistoryLastYear();
    // Whether the point lies in summer time in the zone. start and end receive the summer
    // period that begins in the point's UTC year (invalid without summer time); local the
    // local fields. Each output may be null. In a southern-hemisphere zone a point in
    // January lies in the summer that began the year before.
    QTL_API bool IsSummerTime(const TIME_ZONE_INFORMATION* zone = NULL, C_Time* start = NULL, C_Time* end = NULL,
                      SYSTEMTIME* local = NULL) const;

    // Calendar fields and period boundaries
    // Local fields in the zone, one per call; an invalid point gives 0 (GetLocWeekDay 6).
    QTL_API int GetLocYear(const TIME_ZONE_INFORMATION* zone = NULL) const;
    QTL_API int GetLocMonth(const TIME_ZONE_INFORMATION* zone = NULL) const;         // 1-12
    QTL_API int GetLocDay(const TIME_ZONE_INFORMATION* zone = NULL) const;           // 1-31
    QTL_API int GetLocHour(const TIME_ZONE_INFORMATION* zone = NULL) const;          // 0-23
    QTL_API int GetLocMinute(const TIME_ZONE_INFORMATION* zone = NULL) const;        // 0-59
    QTL_API int GetLocSecond(const TIME_ZONE_INFORMATION* zone = NULL) const;        // 0-59
    QTL_API int GetLocMilliseconds(const TIME_ZONE_INFORMATION* zone = NULL) const;  // 0-999
    QTL_API int GetLocWeekDay(const TIME_ZONE_INFORMATION* zone = NULL) const;       // Monday 0 to Sunday 6
    QTL_API int GetLocDayOfYear(const TIME_ZONE_INFORMATION* zone = NULL) const;     // 1 January is 0
    // ISO 8601 week (1-53) of the local date: weeks begin on Monday, week 1 holds 4 January.
    QTL_API int GetLocWeekOfYear(const TIME_ZONE_INFORMATION* zone = NULL) const;
    // From the start of the local year, month or day to the start of the next one: a day
    // of a one-hour change-over lasts 23 or 25 hours.
    QTL_API C_TimeSpan GetLocLenYear(const TIME_ZONE_INFORMATION* zone = NULL) const;
    QTL_API C_TimeSpan GetLocLenMonth(const TIME_ZONE_INFORMATION* zone = NULL) const;
    QTL_API C_TimeSpan GetLocLenDay(const TIME_ZONE_INFORMATION* zone = NULL) const;
    // Where the surrounding period begins: ...LOC on the local calendar of the zone, built
    // from local fields as the field constructor reads them; ...UTC on the UTC calendar.
    // Weeks begin on Monday, two-hour blocks on an even hour. The point is not changed.
    QTL_API C_Time StartYearLOC(const TIME_ZONE_INFORMATION* zone = NULL) const;
    QTL_API C_Time StartYearUTC() const;
    QTL_API C_Time StartMonthLOC(const TIME_ZONE_INFORMATION* zone = NULL) const;
    QTL_API C_Time StartMonthUTC() const;
    QTL_API C_Time StartWeekLOC(const TIME_ZONE_INFORMATION* zone = NULL) const;
    QTL_API C_Time StartWeekUTC() const;
    QTL_API C_Time StartDayLOC(const TIME_ZONE_INFORMATION* zone = NULL) const;
    QTL_API C_Time StartDayUTC() const;
    QTL_API C_Time StartHour2LOC(const TIME_ZONE_INFORMATION* zone = NULL) const;
    QTL_API C_Time StartHour2UTC() const;
    QTL_API C_Time StartHourLOC(const TIME_ZONE_INFORMATION* zone = NULL) const;
    QTL_API C_Time StartHourUTC() const;
    QTL_API C_Time StartMinLOC(const TIME_ZONE_INFORMATION* zone = NULL) const;
    QTL_API C_Time StartMinUTC() const;
    QTL_API C_Time StartSecLOC(const TIME_ZONE_INFORMATION* zone = NULL) const;
    QTL_API C_Time StartSecUTC() const;
    // The start of the next day: local midnight after a 23, 24 or 25-hour day; UTC
    // midnight plus 24 hours.
    QTL_API C_Time EndDayLOC(const TIME_ZONE_INFORMATION* zone = NULL) const;
    QTL_API C_Time EndDayUTC() const;

    // Formatting in the user's locale (flags in format_flags.h; LOCALE_USER_DEFAULT is
    // 0x400). The buffer form writes at most capacity bytes, always terminated, and returns
    // the buffer (a null buffer: an empty static text). An invalid point gives " ?????".
    //   t.Format(buffer, sizeof buffer, FMT_DATE | FMT_TIME | FMT_SECONDS, 0x400)
    //       "24.12.03 - 13:45:10" with the German short date dd.MM.yyyy
    QTL_API const char* Format(char* buffer, unsigned int capacity, int flags,
                               unsigned long locale = LOCALE_USER_DEFAULT,
                               const TIME_ZONE_INFORMATION* zone = NULL) const;
    QTL_API const char* Format(C_String& text, int flags, unsigned long locale = LOCALE_USER_DEFAULT,
                       const TIME_ZONE_INFORMATION* zone = NULL) const;
    QTL_API const char* Format(std::string& text, int flags, unsigned long locale = LOCALE_USER_DEFAULT,
                       const TIME_ZONE_INFORMATION* zone = NULL) const;
    // The locale's name of the local month or weekday; "??" when the point has none. The
    // std::string forms work in the user time zone.
    QTL_API const char* GetMonthString(C_String& text, bool abbreviated, unsigned long locale,
                               const TIME_ZONE_INFORMATION* zone = NULL) const;
    QTL_API const char* GetMonthString(std::string& text, bool abbreviated, unsigned long locale) const;
    QTL_API const char* GetDayString(C_String& text, bool abbreviated, unsigned long locale,
                             const TIME_ZONE_INFORMATION* zone = NULL) const;
    QTL_API const char* GetDayString(std::string& text, bool abbreviated, unsigned long locale) const;
    // The raw tick count as signed decimal, or lower-case hexadecimal without prefix.
    QTL_API const char* GetTimeStr(C_String& text, bool hexadecimal) const;
    QTL_API const char* GetTimeStr(std::string& text, bool hexadecimal) const;

    // Parsing. SetLocFormatTime reads a local date (FMT_DATE) and time (FMT_TIME) typed in
    // the locale's short-date and time patterns, as Format writes them: fields in pattern
    // order with the pattern's own text between them (by dd.MM.yyyy and HH:mm:ss
    // "24.12.2003" and "13:45:10", not "24/12/2003" or "13.45.10"), " - " or blanks between
    // date and time, the seconds optional, one or two digits a field. Two-digit years: 00-49 are 2000-2049, 50-99 are
    // 1950-1999. A skipped local reading counts as standard time, a repeated one as its
    // summer-time occurrence.
    //   t.SetLocFormatTime("24.12.03 - 9:5:3", FMT_DATE | FMT_TIME)   2003-12-24 09:05:03
    // Out-of-range fields give false and keep the point; a date the calendar lacks
    // (31.02.2003) gives false and the invalid time.
    QTL_API bool SetLocFormatTime(const char* text, int flags, unsigned long locale = LOCALE_USER_DEFAULT,
                          const TIME_ZONE_INFORMATION* zone = NULL);
    // The fields of one date (FMT_DATE) or one time (FMT_TIME) text, read whole as
    // SetLocFormatTime reads that part, but not checked against the calendar, so that a caller
    // can tell which field is wrong. pattern: GetDateFormat's or GetTimeFormat's letters
    // ("d.M.yyyy", "H:m:s"), or NULL for the locale's short date (two-digit years too) or its
    // time with or without seconds. Two-digit years as above; a time without seconds reads 0;
    // a 12-hour reading is made a 24-hour one (an hour of 0 or over 12 with AM/PM gives 99).
    // False when the text is not of the form; fields untouched then.
    //   ReadLocFields("29.2.23", FMT_DATE, 0x407, "d.M.yyyy", &f)   f.wYear 2023, f.wMonth 2, f.wDay 29
    QTL_API static bool ReadLocFields(const char* text, int flags, unsigned long locale, const char* pattern,
                              SYSTEMTIME* fields);
    // A decimal tick count, optionally signed; digits end at the first other character
    // ("1a" is 1). No digits, a null text, a negative count or one beyond 9223372036854775807
    // give false and keep the point; "0" is the invalid time.
    QTL_API bool SetTimeStr(const char* text);

    // The patterns of the raw tick texts, "%I64d" and "%I64x".
    QTL_API static const char m_fmtTicksDecimal[];
    QTL_API static const char m_fmtTicksHex[];

private:
    friend struct C_TimeTestPeer;

    static bool SystemTimeToLocalSystemTime(const TIME_ZONE_INFORMATION* zone, const SYSTEMTIME* utc,
                                            SYSTEMTIME* local);
    static bool LocalSystemTimeToFileTime(const TIME_ZONE_INFORMATION* zone, const SYSTEMTIME* local,
                                          FILETIME* utc);
    // The local wall-clock instant of a rule-form change-over in rule.wYear, written as if
    // it were UTC; 0 for a rule that names no day.
    static void SearchDaylLimiter(SYSTEMTIME& rule, FILETIME* instant);
    static int DaysOfMonth(unsigned short year, unsigned short month);

    static TIME_ZONE_INFORMATION m_glbUserTimeZone;

    unsigned __int64 m_time;
};
