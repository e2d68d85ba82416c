#!/usr/bin/env python3
"""Writes zone_history_answers.tsv: the local readings of the IANA time-zone database
(Python's zoneinfo, independent of the library) for the zone CLDR's windowsZones.xml names
for every registry key (territory DE, where it names one, else 001), and of a few current names
CLDR does not use (CURRENT), from 1900 through the year before the tzdata release.

    python3 gen_zone_history_answers.py > zone_history_answers.tsv

Local mean time is not used: before a zone's first other offset its first standard offset
applies, without summer time. Summer time is a dst() other than zero; a summer regime whose
offset lies below those of the non-summer regimes on both sides (the negative dst() of
Europe/Dublin) is read the other way round, and those regimes as summer time. A local
reading back to UTC: a repeated one is its summer occurrence, a skipped one standard time;
with the same summer flag on both sides, the offset before the change (fold=0).

Rows (seconds since 1970, walls as local readings written as if UTC):
    key     registry key    IANA zone
    zone    IANA zone       last year
    change  T  off-before summer-before  off-after summer-after  w1 u1  w2 u2  w3 u3
            (w1 the last reading before the skip or repeat, w2 its middle, w3 the first after)
    at      t  offset  summer  w  u      (a random instant t; a random reading w and its UTC u)
    years   Y or Y:s:e ...   (local years without summer time, and those with a change to
            summer time and one back: the wall readings of the first of each, on the clock
            before the change; years with only one of them are left out)
"""
import bisect
import random
import re
import sys
from datetime import datetime, timedelta, timezone
from zoneinfo import ZoneInfo

WINDOWS_ZONES = "/usr/share/unicode/cldr/common/supplemental/windowsZones.xml"
VERSION = open("/usr/share/zoneinfo/tzdata.zi").readline().split()[-1]
LAST_YEAR = int(VERSION[:4]) - 1
TERRITORY = "DE"
UTC = timezone.utc
START = int(datetime(1900, 1, 1, tzinfo=UTC).timestamp())
END = int(datetime(LAST_YEAR, 12, 31, tzinfo=UTC).timestamp())  # a day before the last local new year
STEP = 86400  # changes lie more than a day apart
RANDOM = 120
# Current names the table carries under an old one, read by name after the keys' zones.
CURRENT = ["Asia/Kolkata", "Europe/Kyiv", "America/Argentina/Buenos_Aires", "America/Nuuk", "Asia/Kathmandu"]


class Zone:
    def __init__(self, name):
        self.tz = ZoneInfo(name)
        self.raw_regimes()

    def raw(self, t):
        d = datetime.fromtimestamp(t, self.tz)
        return int(d.utcoffset().total_seconds()), int(d.dst().total_seconds()), d.tzname() == "LMT"

    def raw_regimes(self):
        """Changes of (offset, dst) from 1900 on, found in steps and narrowed to the second."""
        self.changes = []  # (t, index of the regime from t)
        regimes = [self.raw(START)]
        t = START
        while t < END + 2 * 86400:
            if self.raw(t + STEP) != regimes[-1]:
                lo, hi = t, t + STEP
                while hi - lo > 1:
                    mid = (lo + hi) // 2
                    if self.raw(mid) == regimes[-1]:
                        lo = mid
                    else:
                        hi = mid
                regimes.append(self.raw(hi))
                self.changes.append(hi)
                t = hi
                continue
            t += STEP
        standard = next((o for o, d, lmt in regimes if not lmt and d == 0), regimes[0][0])
        # Summer where dst() is not zero; a summer regime below the offsets of all its
        # non-summer neighbours (negative dst(), Europe/Dublin) is read the other way round.
        flags = [d != 0 for _, d, _ in regimes]
        lower = [flags[i] and all(not flags[j] and regimes[j][0] > regimes[i][0] for j in (i - 1, i + 1)
                                  if 0 <= j < len(regimes)) and len(regimes) > 1 for i in range(len(regimes))]
        for i in [i for i, low in enumerate(lower) if low]:
            flags[i] = False
            for j in (i - 1, i + 1):
                if 0 <= j < len(regimes):
                    flags[j] = True
        self.regimes = [(standard, False) if lmt else (o, f) for (o, d, lmt), f in zip(regimes, flags)]
        # Only changes of offset or summer count.
        kept_t, kept_r = [], [self.regimes[0]]
        for t, r in zip(self.changes, self.regimes[1:]):
            if r != kept_r[-1]:
                kept_t.append(t)
                kept_r.append(r)
        self.changes, self.regimes = kept_t, kept_r

    def at(self, t):
        return self.regimes[bisect.bisect_right(self.changes, t)]

    def utc_of(self, w):
        """The UTC instant of a wall reading by the reading rule."""
        naive = datetime(1970, 1, 1) + timedelta(seconds=w)
        cands = []
        for fold in (0, 1):
            local = naive.replace(tzinfo=self.tz, fold=fold)
            u = int(local.timestamp())
            cands.append(u)
        # The regimes in force at each candidate, after local mean time is replaced.
        out = []
        for u in sorted(set(cands)):
            off, summer = self.at(u)
            if u + off == w:
                out.append((u, summer))
        if len(out) == 1:
            return out[0][0]
        if len(out) == 2:  # repeated: the summer occurrence, else the first
            (u0, s0), (u1, s1) = out
            return u1 if s1 and not s0 else u0
        # Skipped (or the replaced mean time makes the zoneinfo answer inexact): the regimes
        # on both sides of the change around w.
        k = bisect.bisect_right(self.changes, w)
        best = None
        for i in range(max(0, k - 3), min(len(self.changes), k + 3)):
            (a, sa), (b, sb) = self.regimes[i], self.regimes[i + 1]
            c = self.changes[i]
            if c + min(a, b) <= w < c + max(a, b):
                if b > a:  # skipped
                    before = sa == sb or not sa
                    best = w - (a if before else b)
                else:
                    best = w - (a if sa == sb or sa else b)
        if best is None:  # outside any change: the regime found from the standard guess
            off, _ = self.at(w - self.regimes[0][0])
            best = w - off
        return best


def main():
    random.seed(24)
    text = open(WINDOWS_ZONES).read()
    rows = re.findall(r'<mapZone other="([^"]+)" territory="([^"]+)" type="([^"]+)"', text)
    chosen = {}
    for key, territory, zones in rows:
        if territory == "001":
            chosen.setdefault(key, zones.split()[0])
    for key, territory, zones in rows:
        if territory == TERRITORY:
            chosen[key] = zones.split()[0]
    w = sys.stdout.write
    w(f"# Generated by gen_zone_history_answers.py from tzdata {VERSION} (Python's zoneinfo) and CLDR\n"
      "# windowsZones.xml; do not edit. The rows are described in the script.\n")
    for key in sorted(chosen):
        w(f"key\t{key}\t{chosen[key]}\n")
    for name in sorted(set(chosen.values())) + CURRENT:
        z = Zone(name)
        w(f"zone\t{name}\t{LAST_YEAR}\n")
        for i, t in enumerate(z.changes):
            if t > END:
                break
            (a, sa), (b, sb) = z.regimes[i], z.regimes[i + 1]
            lo, hi = t + min(a, b), t + max(a, b)
            probes = [lo - 1, (lo + hi) // 2, hi]
            cells = [str(t), str(a), str(int(sa)), str(b), str(int(sb))]
            for p in probes:
                cells += [str(p), str(z.utc_of(p))]
            w("change\t" + "\t".join(cells) + "\n")
        cells = []
        for year in range(1900, LAST_YEAR + 1):
            lo = int(datetime(year, 1, 1, tzinfo=UTC).timestamp())
            hi = int(datetime(year + 1, 1, 1, tzinfo=UTC).timestamp())
            starts, ends = [], []
            for i, t in enumerate(z.changes):
                (a, sa), (b, sb) = z.regimes[i], z.regimes[i + 1]
                if lo <= t + a < hi and sa != sb:
                    (starts if sb else ends).append(t + a)
            if starts and ends:
                cells.append(f"{year}:{starts[0]}:{ends[0]}")
            elif not starts and not ends:
                cells.append(str(year))
        w("years\t" + "\t".join(cells) + "\n")
        for _ in range(RANDOM):
            t = random.randrange(START, END)
            off, summer = z.at(t)
            wall = random.randrange(START, END)
            w(f"at\t{t}\t{off}\t{int(summer)}\t{wall}\t{z.utc_of(wall)}\n")


if __name__ == "__main__":
    main()
