// C_TimeZone: one zone of the registry's time-zone database with its per-year records, to
// convert in that zone without touching the global user time zone.
//
// The registry holds a record for each year in which a zone's rules changed (its "Dynamic
// DST" sub-key); a point converts by the record of its own year, as Windows converts:
//   C_TimeZone newYork;
//   newYork.Load("Eastern Standard Time");   // the database's key name
//   SYSTEMTIME local;
//   C_Time t;
//   t.SetTimeUTC(2003, 3, 20, 21, 0, 0, 0);
//   newYork.ToLocal(t, &local);             // 16:00, standard time: summer began on 6 April
//   t.SetTimeUTC(2010, 3, 20, 21, 0, 0, 0);
//   newYork.ToLocal(t, &local);             // 17:00, summer time since 14 March
// Up to the IANA history's last year a zone answers from the history of its key's zone
// (see C_Time::SetLocTimeZoneByKeyName), the registry's records after it:
//   t.SetTimeUTC(1974, 1, 10, 17, 0, 0, 0);
//   newYork.ToLocal(t, &local);             // 13:00, summer time since 6 January 1974
// Before it is loaded, and after a failed Load, a C_TimeZone is UTC.
#pragma once

#include <windows.h>

#include "timelib/c_time.h"
#include "timelib/export.h"

class C_TimeZone {
public:
    QTL_API C_TimeZone();
    QTL_API C_TimeZone(const C_TimeZone& other);
    QTL_API C_TimeZone& operator=(const C_TimeZone& other);
    QTL_API ~C_TimeZone();

    // Reads HKLM\...\Time Zones\<keyName>; false, and the zone unchanged, when there is no
    // such key. A key without per-year records (or with broken ones) uses "TZI" for all years.
    QTL_API bool Load(const char* keyName);
    // The zone of the history table by IANA name ("Europe/Rome"; tzdata's links to and from it
    // too, "Europe/Kyiv" and "Europe/Kiev"), with the registry records
    // of the key CLDR maps it to; false, and the zone unchanged, when either is missing.
    QTL_API bool LoadIana(const char* ianaName);
    // The IANA name of the history the zone follows (as it was loaded), "" without one.
    QTL_API const char* GetHistoryName() const;

    // The record in force in a local year: the year's own record, FirstEntry's before the
    // first, LastEntry's after the last; in the history's years the history's record.
    QTL_API void GetRecordForYear(int year, TIME_ZONE_INFORMATION* record) const;

    // UTC to local fields and back, as C_Time::GetLocSystemTime and C_Time::SetLocSystemTime
    // with the record of the year concerned, or by the history's changes in its years.
    QTL_API bool ToLocal(const C_Time& utc, SYSTEMTIME* local) const;
    QTL_API bool ToUtc(const SYSTEMTIME& local, C_Time* utc) const;
    // As C_Time::IsSummerTime with the record of the point's year (the history's summers in
    // its years).
    QTL_API bool IsSummerTime(const C_Time& point, C_Time* start = NULL, C_Time* end = NULL) const;

private:
    void* m_years;  // the records (library-internal), owned
};
