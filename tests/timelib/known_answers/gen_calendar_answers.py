#!/usr/bin/env python3
"""Writes calendar_answers.h: ISO weeks, weekdays, days of the year, period starts and local
lengths computed with Python's datetime (isocalendar, timetuple) and the IANA time-zone
database (zoneinfo), an evaluation independent of the library.

    python3 gen_calendar_answers.py > calendar_answers.h

Local boundaries are read with fold=0, as the library's field constructor reads local
fields: a repeated local time is its first (summer-time) occurrence, a skipped one is read
with the offset before the change. The zones' rules equal the registry records of
test_zones.h in the years used here (Berlin from 1996, New York from 2007, Sydney from 2008)."""
from datetime import date, datetime, timedelta, timezone
from zoneinfo import ZoneInfo

UTC = timezone.utc
FIRST_YEAR, LAST_YEAR = 1990, 2100

ZONES = {  # C++ enumerator: tzinfo
    "kUtc": UTC,
    "kTenWest": timezone(timedelta(hours=-10)),
    "kWEurope": ZoneInfo("Europe/Berlin"),
    "kEastern": ZoneInfo("America/New_York"),
    "kAusEastern": ZoneInfo("Australia/Sydney"),
    "kTokyo": ZoneInfo("Asia/Tokyo"),
}

# Points as (zone, local date and time with milliseconds, fold): fold=1 picks the second
# occurrence of a repeated local time.
POINTS = [
    ("kUtc", (2004, 2, 29, 13, 59, 59, 789), 0),
    ("kUtc", (2003, 3, 30, 12, 0, 0, 0), 0),
    ("kUtc", (2003, 12, 31, 23, 59, 59, 999), 0),
    ("kUtc", (2005, 1, 2, 0, 0, 0, 1), 0),
    ("kTenWest", (2003, 12, 28, 23, 30, 0, 0), 0),
    ("kTenWest", (2003, 12, 29, 0, 0, 0, 0), 0),
    ("kTenWest", (2004, 12, 31, 14, 0, 0, 0), 0),
    ("kTenWest", (2005, 1, 2, 13, 59, 59, 0), 0),
    ("kWEurope", (2003, 3, 30, 13, 59, 59, 500), 0),
    ("kWEurope", (2003, 3, 30, 1, 59, 59, 0), 0),
    ("kWEurope", (2003, 3, 30, 3, 0, 0, 0), 0),
    ("kWEurope", (2003, 3, 31, 0, 0, 0, 0), 0),
    ("kWEurope", (2003, 10, 26, 0, 0, 0, 0), 0),
    ("kWEurope", (2003, 10, 26, 2, 30, 15, 250), 0),
    ("kWEurope", (2003, 10, 26, 2, 30, 15, 250), 1),
    ("kWEurope", (2003, 10, 26, 23, 59, 59, 0), 0),
    ("kWEurope", (2003, 1, 31, 18, 0, 0, 0), 0),
    ("kWEurope", (2004, 2, 29, 1, 0, 0, 0), 0),
    ("kWEurope", (2003, 12, 31, 23, 0, 0, 0), 0),
    ("kEastern", (2010, 3, 14, 1, 30, 0, 0), 0),
    ("kEastern", (2010, 3, 14, 15, 45, 0, 0), 0),
    ("kEastern", (2010, 11, 7, 1, 30, 0, 0), 0),
    ("kEastern", (2010, 11, 7, 1, 30, 0, 0), 1),
    ("kEastern", (2010, 12, 31, 23, 30, 0, 0), 0),
    ("kAusEastern", (2009, 4, 5, 2, 30, 0, 0), 0),
    ("kAusEastern", (2009, 4, 5, 2, 30, 0, 0), 1),
    ("kAusEastern", (2009, 10, 4, 12, 0, 0, 0), 0),
    ("kAusEastern", (2009, 1, 1, 7, 0, 0, 0), 0),
    ("kTokyo", (2004, 12, 31, 23, 30, 0, 0), 0),
    ("kTokyo", (2005, 1, 1, 8, 59, 59, 0), 0),
]


def unix(t):
    return int(t.timestamp())


def local_midnight(tz, d):
    return unix(datetime(d.year, d.month, d.day, tzinfo=tz))


def year_rows():
    rows = []
    for year in range(FIRST_YEAR, LAST_YEAR + 1):
        d, end = date(year, 1, 1), date(year + 1, 1, 1)
        days = week_sum = week_weighted = weekday_weighted = 0
        while d < end:
            days += 1
            week = d.isocalendar()[1]
            weekday = d.weekday()  # Monday 0
            week_sum += week
            week_weighted += days * week
            weekday_weighted += days * weekday
            d += timedelta(days=1)
        first, last = date(year, 1, 1), date(year, 12, 31)
        rows.append((year, days, first.weekday(), first.isocalendar()[1], last.isocalendar()[1],
                     week_sum, week_weighted, weekday_weighted))
    return rows


def point_row(zone, fields, fold):
    tz = ZONES[zone]
    y, mo, d, h, mi, s, ms = fields
    local = datetime(y, mo, d, h, mi, s, ms * 1000, tzinfo=tz, fold=fold)
    ticks_s = unix(local)
    day = local.date()
    monday = day - timedelta(days=day.weekday())
    next_month = date(y + (mo == 12), 1 if mo == 12 else mo + 1, 1)
    starts = [
        local_midnight(tz, date(y, 1, 1)),
        local_midnight(tz, date(y, mo, 1)),
        local_midnight(tz, monday),
        local_midnight(tz, day),
        unix(datetime(y, mo, d, h & ~1, tzinfo=tz)),
        unix(datetime(y, mo, d, h, tzinfo=tz)),
        unix(datetime(y, mo, d, h, mi, tzinfo=tz)),
        unix(datetime(y, mo, d, h, mi, s, tzinfo=tz)),
        local_midnight(tz, day + timedelta(days=1)),
    ]
    lengths = [
        local_midnight(tz, date(y + 1, 1, 1)) - starts[0],
        local_midnight(tz, next_month) - starts[1],
        starts[8] - starts[3],
    ]
    u = local.astimezone(UTC)
    umonday = u.date() - timedelta(days=u.weekday())
    utc_starts = [
        unix(datetime(u.year, 1, 1, tzinfo=UTC)),
        unix(datetime(u.year, u.month, 1, tzinfo=UTC)),
        unix(datetime(umonday.year, umonday.month, umonday.day, tzinfo=UTC)),
        unix(datetime(u.year, u.month, u.day, tzinfo=UTC)),
        unix(datetime(u.year, u.month, u.day, u.hour & ~1, tzinfo=UTC)),
        unix(datetime(u.year, u.month, u.day, u.hour, tzinfo=UTC)),
        unix(datetime(u.year, u.month, u.day, u.hour, u.minute, tzinfo=UTC)),
        unix(datetime(u.year, u.month, u.day, u.hour, u.minute, u.second, tzinfo=UTC)),
        unix(datetime(u.year, u.month, u.day, tzinfo=UTC) + timedelta(days=1)),
    ]
    return (zone, ticks_s, ms, fields, fold, day.weekday(), day.timetuple().tm_yday - 1,
            day.isocalendar()[1], starts, lengths, utc_starts)


def main():
    print("// Generated by gen_calendar_answers.py from Python's datetime and the IANA time-zone")
    print("// database; do not edit.")
    print("#pragma once\n\n#include <cstdint>\n\nnamespace calendar_answers {\n")
    print(f"inline constexpr std::int64_t kFirstDay = {unix(datetime(FIRST_YEAR, 1, 1, tzinfo=UTC))};"
          f"  // {FIRST_YEAR}-01-01 00:00 UTC, Unix seconds")
    print(f"inline constexpr int kFirstYear = {FIRST_YEAR};")
    print(f"inline constexpr int kLastYear = {LAST_YEAR};\n")
    print("// Per year: days; weekday (Monday 0) and ISO week of 1 January; ISO week of 31 December;")
    print("// over the days i = 1, 2, ... of the year: the sum of the weeks, of i x week and of i x weekday.")
    print("struct YearWeeks { int year, days, jan1Weekday, jan1Week, dec31Week;"
          " std::int64_t weekSum, weekWeighted, weekdayWeighted; };")
    print("inline constexpr YearWeeks kYearWeeks[] = {")
    for r in year_rows():
        print("    {" + ", ".join(str(v) for v in r) + "},")
    print("};\n")
    print("enum Zone { " + ", ".join(ZONES) + " };\n")
    print("// A point (Unix seconds and milliseconds) with its local fields in the zone, weekday")
    print("// (Monday 0), day of the year (from 0) and ISO week; the local starts of year, month, week,")
    print("// day, two-hour block, hour, minute, second and of the next day; the local lengths of year,")
    print("// month and day in seconds; and the same starts on the UTC calendar.")
    print("struct Point {")
    print("    Zone zone; std::int64_t unix; int ms;")
    print("    int year, month, day, hour, minute, second, fold, weekday, dayOfYear, week;")
    print("    std::int64_t loc[9]; std::int64_t len[3]; std::int64_t utc[9];")
    print("};")
    print("inline constexpr Point kPoints[] = {")
    for zone, t, ms, f, fold, wd, doy, week, starts, lengths, utc_starts in map(lambda p: point_row(*p), POINTS):
        print(f"    {{{zone}, {t}, {ms}, {f[0]}, {f[1]}, {f[2]}, {f[3]}, {f[4]}, {f[5]}, {fold}, {wd}, {doy}, {week},")
        print("     {" + ", ".join(map(str, starts)) + "},")
        print("     {" + ", ".join(map(str, lengths)) + "},")
        print("     {" + ", ".join(map(str, utc_starts)) + "}},")
    print("};\n")
    print("}  // namespace calendar_answers")


main()
