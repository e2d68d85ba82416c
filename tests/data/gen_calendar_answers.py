#!/usr/bin/env python3
"""Writes calendar_answers.tsv and iso_weeks.tsv beside itself: ISO weeks, weekdays, days of the year, period starts and local
lengths computed with Python's datetime (isocalendar, timetuple) and the IANA time-zone
database (zoneinfo), an evaluation independent of the library.

    python3 gen_calendar_answers.py

Local boundaries are read with fold=0, as the library's field constructor reads local
fields: a repeated local time is its first (summer-time) occurrence, a skipped one is read
with the offset before the change. The zones' rules equal the registry records of
test_zones.h in the years used here (Berlin from 1996, New York from 2007, Sydney from 2008)."""
import os
from datetime import date, datetime, timedelta, timezone
from zoneinfo import ZoneInfo

UTC = timezone.utc
FIRST_YEAR, LAST_YEAR = 1990, 2100

ZONES = {  # record in zones.tsv: tzinfo
    "UTC": UTC,
    "TenWest": timezone(timedelta(hours=-10)),
    "WEurope": ZoneInfo("Europe/Berlin"),
    "Eastern": ZoneInfo("America/New_York"),
    "AusEastern": ZoneInfo("Australia/Sydney"),
    "Tokyo": ZoneInfo("Asia/Tokyo"),
}

# Points as (zone, local date and time with milliseconds, fold): fold=1 picks the second
# occurrence of a repeated local time.
POINTS = [
    ("UTC", (2004, 2, 29, 13, 59, 59, 789), 0),
    ("UTC", (2003, 3, 30, 12, 0, 0, 0), 0),
    ("UTC", (2003, 12, 31, 23, 59, 59, 999), 0),
    ("UTC", (2005, 1, 2, 0, 0, 0, 1), 0),
    ("TenWest", (2003, 12, 28, 23, 30, 0, 0), 0),
    ("TenWest", (2003, 12, 29, 0, 0, 0, 0), 0),
    ("TenWest", (2004, 12, 31, 14, 0, 0, 0), 0),
    ("TenWest", (2005, 1, 2, 13, 59, 59, 0), 0),
    ("WEurope", (2003, 3, 30, 13, 59, 59, 500), 0),
    ("WEurope", (2003, 3, 30, 1, 59, 59, 0), 0),
    ("WEurope", (2003, 3, 30, 3, 0, 0, 0), 0),
    ("WEurope", (2003, 3, 31, 0, 0, 0, 0), 0),
    ("WEurope", (2003, 10, 26, 0, 0, 0, 0), 0),
    ("WEurope", (2003, 10, 26, 2, 30, 15, 250), 0),
    ("WEurope", (2003, 10, 26, 2, 30, 15, 250), 1),
    ("WEurope", (2003, 10, 26, 23, 59, 59, 0), 0),
    ("WEurope", (2003, 1, 31, 18, 0, 0, 0), 0),
    ("WEurope", (2004, 2, 29, 1, 0, 0, 0), 0),
    ("WEurope", (2003, 12, 31, 23, 0, 0, 0), 0),
    ("Eastern", (2010, 3, 14, 1, 30, 0, 0), 0),
    ("Eastern", (2010, 3, 14, 15, 45, 0, 0), 0),
    ("Eastern", (2010, 11, 7, 1, 30, 0, 0), 0),
    ("Eastern", (2010, 11, 7, 1, 30, 0, 0), 1),
    ("Eastern", (2010, 12, 31, 23, 30, 0, 0), 0),
    ("AusEastern", (2009, 4, 5, 2, 30, 0, 0), 0),
    ("AusEastern", (2009, 4, 5, 2, 30, 0, 0), 1),
    ("AusEastern", (2009, 10, 4, 12, 0, 0, 0), 0),
    ("AusEastern", (2009, 1, 1, 7, 0, 0, 0), 0),
    ("Tokyo", (2004, 12, 31, 23, 30, 0, 0), 0),
    ("Tokyo", (2005, 1, 1, 8, 59, 59, 0), 0),
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


def text(unix_seconds, ms=0):
    t = datetime.fromtimestamp(unix_seconds, UTC)
    return t.strftime("%Y-%m-%d %H:%M:%S.") + f"{ms:03d}"


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, "iso_weeks.tsv"), "w") as out:
        out.write("# Generated by gen_calendar_answers.py from Python's datetime; do not edit.\n")
        out.write("# <year> <days> <weekday of 1 Jan, Monday 0> <ISO week of 1 Jan> <of 31 Dec>\n")
        out.write("#   <over the days i = 1, 2, ...: sum of weeks> <sum of i x week> <sum of i x weekday>\n")
        for r in year_rows():
            out.write("\t".join(str(v) for v in r) + "\n")
    with open(os.path.join(here, "calendar_answers.tsv"), "w") as out:
        out.write("# Generated by gen_calendar_answers.py from Python's datetime and the IANA time-zone\n")
        out.write("# database; do not edit. Rows of the operations of tests/data/time_cases.tsv: local fields,\n")
        out.write("# period starts on the local and the UTC calendar, and local lengths of known points.\n")
        for zone, t, ms, f, fold, wd, doy, week, starts, lengths, utc_starts in map(lambda p: point_row(*p), POINTS):
            point = text(t, ms)
            out.write(f"fields\t{zone}\t{point}\t{' '.join(map(str, [*f, wd, doy, week]))}\n")
            out.write("\t".join(["starts", zone, point] + [text(v) for v in starts]) + "\n")
            out.write("\t".join(["utc_starts", point] + [text(v) for v in utc_starts]) + "\n")
            out.write("\t".join(["lengths", zone, point] + [str(v * 10000000) for v in lengths]) + "\n")


main()
