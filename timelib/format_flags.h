// Flags of C_Time::Format, C_TimeSpan::Format and C_Time::SetLocFormatTime.
//
//   FMT_DATE | FMT_YEAR4                      24.12.2003        (locale dd.MM.yyyy)
//   FMT_TIME | FMT_SECONDS                    13:45:10
//   FMT_DATE | FMT_TIME | FMT_SECONDS         24.12.03 - 13:45:10
//   0x3b (all but FMT_DAYS and FMT_UTC)       24.12.2003 - 13:45:10,123
//   span FMT_DAYS | FMT_TIME | FMT_SECONDS    2 - 03:04:05
#pragma once

enum : int {
    FMT_SECONDS = 0x001,   // time with seconds
    FMT_TIME = 0x002,      // time of day (span: hours and minutes); after a date, " - "
    FMT_DAYS = 0x004,      // span: the day count ("2 Tage", or "2 - " before the time)
    FMT_DATE = 0x008,      // date
    FMT_MSECONDS = 0x010,  // milliseconds after the seconds
    FMT_YEAR4 = 0x020,     // keep the locale's four-digit year; without it two digits
    FMT_UTC = 0x100,       // the point in UTC instead of the zone's local time
};
