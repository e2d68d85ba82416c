#!/usr/bin/env python3
"""Writes stamp_answers.tsv beside itself: timestamps in every form the readers know, with
the point each stands for, computed here with Python's datetime, fractions and uuid modules
and the tz database's leap-seconds.list (for GPS), independently of the library.

    python3 gen_stamp_answers.py

Each row: text, form, ticks (100 ns since 1601-01-01; UTC, or the wall-clock reading for a
form read as local time), where the value came from. The present for NTP's era is
2026-12-07 00:00 UTC. Random values come from a fixed seed."""
import os
import random
import uuid
from datetime import datetime, timedelta, timezone
from email.utils import parsedate_to_datetime
from fractions import Fraction

UTC = timezone.utc
BASE = datetime(1601, 1, 1, tzinfo=UTC)
NOW = datetime(2026, 12, 7, tzinfo=UTC)
rows = []


def ticks(dt):
    if dt.tzinfo is None:
        dt = dt.replace(tzinfo=UTC)
    return (dt - BASE) // timedelta(microseconds=1) * 10


def epoch(*fields):
    return ticks(datetime(*fields, tzinfo=UTC))


def nearest(x):
    """A Fraction of ticks to the nearest tick, halves away from the epoch."""
    sign = -1 if x < 0 else 1
    return sign * int(abs(x) + Fraction(1, 2))


def add(text, form, value, source):
    rows.append((text, form, str(value), source))


def leap_table():
    """(UTC second as NTP seconds, TAI-UTC) from leap-seconds.list."""
    table = []
    with open("/usr/share/zoneinfo/leap-seconds.list") as f:
        for line in f:
            if line.strip() and not line.startswith("#"):
                ntp, offset = line.split()[:2]
                table.append((int(ntp), int(offset)))
    return table


LEAPS = leap_table()
NTP_EPOCH = epoch(1900, 1, 1)
GPS_EPOCH_NTP = (datetime(1980, 1, 6, tzinfo=UTC) - datetime(1900, 1, 1, tzinfo=UTC)).days * 86400


def gps_to_utc(gps):
    """UTC ticks of GPS seconds: subtract TAI-UTC-19 in force at that GPS second."""
    offset = 0
    for ntp, tai in LEAPS:
        if tai < 19:
            continue
        if gps >= ntp - GPS_EPOCH_NTP + (tai - 19):
            offset = tai - 19
    return epoch(1980, 1, 6) + nearest((Fraction(gps) - offset) * 10**7)


def ntp_era(base):
    era_len = 2**32 * 10**7
    now = ticks(NOW)
    best = min(range(0, 215), key=lambda e: (abs(base + e * era_len - now), e))
    return base + best * era_len


rnd = random.Random(27)
unix0 = epoch(1970, 1, 1)

# Unix time, signed, in four units; seconds with fractions.
for _ in range(12):
    s = rnd.randint(-11644473600, 253402300799)
    add(str(s), "unix-s", unix0 + s * 10**7, "random")
    ms = rnd.randint(-10**13, 10**13)
    add(str(ms), "unix-ms", unix0 + ms * 10**4, "random")
    us = rnd.randint(-10**16, 10**16)
    add(str(us), "unix-us", unix0 + us * 10, "random")
    ns = rnd.randint(-(2**63), 2**63 - 1)
    add(str(ns), "unix-ns", unix0 + nearest(Fraction(ns, 100)), "random")
    frac = "%d.%06d" % (rnd.randint(0, 2**31), rnd.randint(0, 999999))
    add(frac, "unix-s", unix0 + nearest(Fraction(frac) * 10**7), "random")
    add(frac.replace(".", ","), "unix-s", unix0 + nearest(Fraction(frac) * 10**7), "random, decimal comma")
mtime = os.stat("/usr/share/zoneinfo/leap-seconds.list").st_mtime_ns
add(str(mtime // 10**9), "unix-s", unix0 + mtime // 10**9 * 10**7, "real: mtime of this machine's /usr/share/zoneinfo/leap-seconds.list")
add(str(mtime // 10**6), "unix-ms", unix0 + mtime // 10**6 * 10**4, "real: the same mtime in ms")
add(str(mtime // 10**3), "unix-us", unix0 + mtime // 10**3 * 10, "real: the same mtime in us")
add(str(mtime), "unix-ns", unix0 + nearest(Fraction(mtime, 100)), "real: the same mtime in ns (stat -c %.9Y)")
add("1700000000", "unix-s", ticks(datetime(2023, 11, 14, 22, 13, 20)), "worked example: the Unix billennium 1.7")
for s in (0x6553F100, -1, 0x7FFFFFFF):
    u = s & 0xFFFFFFFF
    add("0x%08X" % u, "unix-hex", unix0 + s * 10**7, "worked example: signed 32-bit")
    add(" ".join("%02x" % b for b in u.to_bytes(4, "little")), "unix-hex-le", unix0 + s * 10**7, "bytes as stored")
    add(u.to_bytes(4, "little").hex(), "unix-hex-le", unix0 + s * 10**7, "bytes as stored, no blanks")

# FILETIME and its relatives.
real_ft = 0x1DD85E026FC2A7C
add("1dd85e026fc2a7c", "filetime-hex", real_ft, "real: #time= of a key in a Wine prefix's system.reg")
add(str(real_ft), "filetime", real_ft, "real: the same key time in decimal")
add(" ".join("%02X" % b for b in real_ft.to_bytes(8, "little")), "filetime-bytes", real_ft, "real: the same as a hex dump shows it")
add("%08X:%08X" % (real_ft >> 32, real_ft & 0xFFFFFFFF), "filetime-words", real_ft, "real: the same as high:low")
for _ in range(10):
    t = rnd.randint(0, ticks(datetime(9999, 12, 31, 23, 59, 59)))
    add(str(t), "filetime", t, "random")
    add("0x%016X" % t, "filetime-hex", t, "random")
    add(t.to_bytes(8, "little").hex(), "filetime-bytes", t, "random, bytes without blanks")
    add("0x%08X:0x%08X" % (t >> 32, t & 0xFFFFFFFF), "filetime-words", t, "random")
    w = rnd.randint(0, 2**63 // 10)
    add(str(w), "webkit", w * 10, "random")
    n = rnd.randint(ticks(datetime(1601, 1, 1)) + 504911232000000000, 3155378975999999999)
    add(str(n), "dotnet", (datetime(1, 1, 1, tzinfo=UTC) + timedelta(microseconds=n // 10) - BASE) // timedelta(microseconds=1) * 10 + n % 10, "random")
visit = datetime(2023, 11, 21, 12, 0, tzinfo=UTC)
add(str(ticks(visit) // 10), "webkit", ticks(visit), "worked example: a Chrome History visit_time, 2023-11-21 12:00 UTC")
net = (datetime(2023, 11, 14) - datetime(1, 1, 1)) // timedelta(microseconds=1) * 10
add(str(net), "dotnet", ticks(datetime(2023, 11, 14)), "worked example: new DateTime(2023, 11, 14).Ticks")

# Days: OLE, Excel 1900 (29 February 1900 counted), Excel 1904.
ole0 = datetime(1899, 12, 30, tzinfo=UTC)
for text, when in [("2.0", datetime(1900, 1, 1)), ("-1.25", datetime(1899, 12, 29, 6)), ("2.25", datetime(1900, 1, 1, 6)),
                   ("-1.5", datetime(1899, 12, 29, 12)), ("35065", datetime(1996, 1, 1))]:
    add(text, "ole", ticks(when), "worked example: the DATE type's documentation")
add("39448", "excel1900", ticks(datetime(2008, 1, 1)), "worked example: Excel's DATE documentation (1 Jan 2008 is 39448)")
add("1", "excel1900", ticks(datetime(1900, 1, 1)), "worked example: serial 1")
add("59", "excel1900", ticks(datetime(1900, 2, 28)), "worked example: the last day before the phantom 29 February")
add("61", "excel1900", ticks(datetime(1900, 3, 1)), "worked example: the day after it")
add("0", "excel1904", ticks(datetime(1904, 1, 1)), "worked example: serial 0 in the 1904 system")
add("37986", "excel1904", ticks(datetime(2008, 1, 1)), "worked example: 1 Jan 2008 in the 1904 system")
for _ in range(10):
    d = Fraction(rnd.randint(-100000, 2958465 * 1000), 1000)
    text = "%s" % (format(float(d), ".3f"))
    whole = int(abs(d))
    day = ole0 + timedelta(days=-whole if d < 0 else whole)
    add(text.replace(".", ","), "ole", ticks(day) + nearest((abs(d) - whole) * 864 * 10**9), "random, decimal comma")
    if d >= 61:
        add(text, "excel1900", ticks(day) + nearest((d - whole) * 864 * 10**9), "random")
    if 0 <= d < 2957003:
        add(text, "excel1904", ticks(datetime(1904, 1, 1) + timedelta(days=whole)) + nearest((d - whole) * 864 * 10**9), "random")

# Apple: Cocoa seconds and nanoseconds since 2001, HFS+ seconds since 1904.
cocoa0 = epoch(2001, 1, 1)
add("721692800", "cocoa", ticks(datetime(2023, 11, 14, 22, 13, 20)), "worked example: Cocoa reference date + 721692800 s")
add("721692800.5", "cocoa", ticks(datetime(2023, 11, 14, 22, 13, 20, 500000)), "worked example: with a fraction")
add("721692800123456789", "cocoa-ns", ticks(datetime(2023, 11, 14, 22, 13, 20, 123456)) + 8, "worked example: iOS nanoseconds")
hfs = (datetime(2023, 11, 14, 22, 13, 20) - datetime(1904, 1, 1)) // timedelta(seconds=1)
add(str(hfs), "hfsplus", ticks(datetime(2023, 11, 14, 22, 13, 20)), "worked example: HFS+ date (TN1150: seconds since 1904, UTC)")
for _ in range(6):
    c = Fraction(rnd.randint(-10**12, 10**12), 1000)
    add(format(float(c), ".3f"), "cocoa", cocoa0 + nearest(c * 10**7), "random")
    h = rnd.randint(0, 2**32 - 1)
    add(str(h), "hfsplus", epoch(1904, 1, 1) + h * 10**7, "random")

# GPS, with the leap seconds of the tz database's table.
for gps in (0, 46828800, 46828799, 362793600, 1167264018, 1167264017, 1400000000, 1700000000):
    add(str(gps), "gps", gps_to_utc(gps), "leap-seconds.list (around 1981-07-01 and 2017-01-01)")

# NTP: seconds.fraction, and 64-bit hex; era nearest 2026-12-07.
for text, seconds in [("3992312697", 3992312697), ("4023129600", 4023129600)]:
    add(text, "ntp", ntp_era(NTP_EPOCH + seconds * 10**7), "real: update and expiry stamps of leap-seconds.list (#$ and #@)")
for _ in range(6):
    s, f = rnd.randint(0, 2**32 - 1), rnd.randint(0, 2**32 - 1)
    add("%08X.%08X" % (s, f), "ntp-hex", ntp_era(NTP_EPOCH + s * 10**7 + nearest(Fraction(f * 10**7, 2**32))), "random")
    add("%08x%08x" % (s, f), "ntp-hex", ntp_era(NTP_EPOCH + s * 10**7 + nearest(Fraction(f * 10**7, 2**32))), "random, 16 digits")
add("E8D3A3B0.12345678", "ntp-hex", ntp_era(NTP_EPOCH + 0xE8D3A3B0 * 10**7 + nearest(Fraction(0x12345678 * 10**7, 2**32))), "worked example")
add("0.5", "ntp", ntp_era(NTP_EPOCH + 5 * 10**6), "worked example: era 1 begins 2036-02-07 06:28:16")

# DOS/FAT (local time).
add("3a25bafd", "dos", ticks(datetime(2009, 1, 5, 23, 23, 58)), "real: the first local header of Python's test zipdir.zip")
for _ in range(6):
    y, mo, d = rnd.randint(1980, 2107), rnd.randint(1, 12), rnd.randint(1, 28)
    h, mi, s = rnd.randint(0, 23), rnd.randint(0, 59), rnd.randint(0, 29) * 2
    v = (y - 1980) << 25 | mo << 21 | d << 16 | h << 11 | mi << 5 | s // 2
    add("%08X" % v, "dos", ticks(datetime(y, mo, d, h, mi, s)), "random")

# Identifiers: UUID 1 and 7 (RFC 9562's examples), ULID.
u1 = uuid.UUID("C232AB00-9414-11EC-B3C8-9F6BDECED846")
UUID_TO_1601 = (datetime(1601, 1, 1) - datetime(1582, 10, 15)) // timedelta(microseconds=1) * 10
add(str(u1), "uuid1", u1.time - UUID_TO_1601, "worked example: RFC 9562 A.1")
add("{" + str(u1).upper() + "}", "uuid1", u1.time - UUID_TO_1601, "worked example: the same in braces")
add("017F22E2-79B0-7CC3-98C4-DC0C0C07398F", "uuid7", unix0 + 0x017F22E279B0 * 10**4, "worked example: RFC 9562 A.2")
real_u1 = uuid.uuid1(node=0x9F6BDECED846, clock_seq=0x33C8)
add(str(real_u1), "uuid1", real_u1.time - UUID_TO_1601, "real: uuid.uuid1() on this machine when the table was made")
CROCKFORD = "0123456789ABCDEFGHJKMNPQRSTVWXYZ"


def ulid(ms, tail):
    n = ms << 80 | tail
    return "".join(CROCKFORD[n >> (5 * (25 - i)) & 31] for i in range(26))


add("01ARYZ6S41TSV4RRFFQ69G5FAV", "ulid", unix0 + 1469918176385 * 10**4, "worked example: the ULID README (ulid(1469918176385))")
for _ in range(4):
    ms = rnd.randint(0, 2**48 - 1)
    text = ulid(ms, rnd.getrandbits(80))
    add(text.lower() if ms % 2 else text, "ulid", unix0 + ms * 10**4, "random")

# Text: RFC 3339 and ISO 8601, RFC 2822 and HTTP dates.
for text in ["1985-04-12T23:20:50.52Z", "1996-12-19T16:39:57-08:00", "1937-01-01T12:00:27.87+00:20",
             "2023-11-14T22:13:20+0100", "2023-11-14 22:13:20.1234567Z", "20231114T221320Z"]:
    dt = datetime.fromisoformat(text.replace("Z", "+00:00"))
    add(text, "iso8601", ticks(dt) + (dt.microsecond and 0) + (7 if text.endswith("4567Z") else 0), "worked example: RFC 3339 section 5.8" if text < "2000" else "worked example")
add("1990-12-31T23:59:60Z", "iso8601", ticks(datetime(1991, 1, 1)), "worked example: RFC 3339 leap second, read as the second after")
add("2026-12-06T20:40:03+00:00", "iso8601", ticks(datetime(2026, 12, 6, 20, 40, 3)), "real: a commit date of this repository (git log --format=%cI)")
add("2023-11-14T22:13:20", "iso8601", ticks(datetime(2023, 11, 14, 22, 13, 20)), "worked example: no zone, local wall clock")
add("2023-11-14", "iso8601", ticks(datetime(2023, 11, 14)), "worked example: a date alone, local midnight")
for text, source in [("Sun, 06 Nov 1994 08:49:37 GMT", "worked example: RFC 9110 (IMF-fixdate)"),
                     ("Sunday, 06-Nov-94 08:49:37 GMT", "worked example: RFC 9110 (RFC 850 date)"),
                     ("Fri, 21 Nov 1997 09:55:06 -0600", "worked example: RFC 2822 appendix A.1.1"),
                     ("Tue, 1 Jul 2003 10:52:37 +0200", "worked example: RFC 2822 appendix A.1.2"),
                     ("Thu, 13 Feb 1969 23:32:54 -0330", "worked example: RFC 2822 appendix A.5"),
                     ("Wed, 30 Nov 2022 18:22:03 +0100", "real: alsa-ucm-conf's changelog.Debian on this machine"),
                     ("Mon, 4 Dec 2023 10:15:03 +0100 (CET)", "worked example: a mail header with a comment"),
                     ("21 Nov 97 09:55:06 EST", "worked example: obsolete year and zone name")]:
    add(text, "rfc2822", ticks(parsedate_to_datetime(text.split(" (")[0])), source)
add("Sun Nov  6 08:49:37 1994", "rfc2822", ticks(datetime(1994, 11, 6, 8, 49, 37)), "worked example: RFC 9110 (asctime, UTC)")

# Each form's range, for the hostile inputs: first and last tick a candidate may have.
END = 9223149888000000000  # 30828-01-01
Y10000 = ticks(datetime(9999, 12, 31, 23, 59, 59, 999999)) + 10
I64 = 2**63
ranges = {
    "iso8601": (0, END), "rfc2822": (0, END), "datum": (0, END),
    "uuid1": (0, 2**60 - UUID_TO_1601), "uuid7": (unix0, unix0 + 2**48 * 10**4), "ulid": (unix0, unix0 + 2**48 * 10**4),
    "unix-s": (0, END), "unix-ms": (0, END), "unix-us": (0, END),
    "unix-ns": (unix0 - I64 // 100 - 1, unix0 + I64 // 100 + 1),
    "unix-hex": (unix0 - 2**31 * 10**7, unix0 + 2**31 * 10**7), "unix-hex-le": (unix0 - 2**31 * 10**7, unix0 + 2**31 * 10**7),
    "filetime": (0, END), "filetime-hex": (0, END), "filetime-bytes": (0, END), "filetime-words": (0, END),
    "webkit": (0, END), "dotnet": (0, Y10000), "ole": (0, Y10000), "excel1900": (epoch(1900, 1, 1), Y10000),
    "excel1904": (epoch(1904, 1, 1), Y10000), "cocoa": (0, END),
    "cocoa-ns": (cocoa0 - I64 // 100 - 1, cocoa0 + I64 // 100 + 1),
    "hfsplus": (epoch(1904, 1, 1), epoch(1904, 1, 1) + 2**32 * 10**7), "gps": (epoch(1980, 1, 6), END),
    "ntp": (NTP_EPOCH, END), "ntp-hex": (NTP_EPOCH, END), "dos": (epoch(1980, 1, 1), epoch(2108, 1, 1)),
}
for form, (low, high) in ranges.items():
    rows.append(("range", form, str(low), str(min(high, END))))

here = os.path.dirname(os.path.abspath(__file__))
with open(os.path.join(here, "stamp_answers.tsv"), "w", newline="\n") as out:
    out.write("# Generated by gen_stamp_answers.py: do not edit. text, form, ticks since 1601 (UTC, or the\n"
              "# wall-clock reading for dos and zone-less ISO), source. Present for NTP eras: 2026-12-07.\n"
              "# Rows \"range\": form, first tick, one past the last tick its candidates may have.\n")
    for row in rows:
        out.write("\t".join(row) + "\n")
