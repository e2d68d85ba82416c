#!/usr/bin/env python3
"""Writes timelib/zone_history_table.cpp: the UTC offsets and summer-time flags of every IANA
zone that CLDR's windowsZones mapping names for a registry key (any territory), from 1900 to
the last complete year of the tzdata release, the mapping itself, and the other names tzdata
links to those zones (a Link names the same zone, so it shares the history).

    bash tools/gen_zone_history.sh      (installs tzdata and unicode-cldr-core, then runs this)
    python3 tools/gen_zone_history.py [zoneinfo dir] [windowsZones.xml] > timelib/zone_history_table.cpp

Inputs: the compiled TZif files of Debian's tzdata (/usr/share/zoneinfo; version and Link
lines from its tzdata.zi) and /usr/share/unicode/cldr/common/supplemental/windowsZones.xml.

Aliases: CLDR often uses a zone's old name (Asia/Calcutta), tzdata links it to the current one
(Asia/Kolkata) or the other way round. Every name of a Link whose other end is a carried zone
becomes an alias of it: of the link's target where the table carries that, else of the first
carried name (strcmp order) among the target and its aliases.

Rules: local mean time ("LMT") is not used: before a zone's first other type, its first
standard offset applies, without summer time. Changes that alter neither the offset nor the
summer flag are dropped. A summer flag on an offset below the non-summer offsets on both sides of it (the negative
summer time of Europe/Dublin) is read the other way round: the higher offset is the summer
one.

Encoding of one history (bytes, unsigned LEB128 varints):
    types   count, then per type zigzag(offset seconds) << 1 | summer
    initial the type in force before the first change
    changes count, then per change (delta << typeBits | type), typeBits the bits of
            count - 1; delta from the previous change (the first from 1900-01-01 00:00 UTC)
            in minutes << 1, or in seconds << 1 | 1 when not a whole minute.
"""
import calendar
import re
import struct
import sys
import xml.etree.ElementTree as ET

ZONEINFO = sys.argv[1] if len(sys.argv) > 1 else "/usr/share/zoneinfo"
WINDOWS_ZONES = sys.argv[2] if len(sys.argv) > 2 else "/usr/share/unicode/cldr/common/supplemental/windowsZones.xml"
START = calendar.timegm((1900, 1, 1, 0, 0, 0))


def read_tzif(path):
    """(transitions [(utc seconds, type index)], types [(offset, isdst, abbr)], footer)."""
    data = open(path, "rb").read()
    assert data[:4] == b"TZif", path
    version = data[4]

    def header(at):
        return struct.unpack(">6l", data[at + 20:at + 44])

    isutcnt, isstdcnt, leapcnt, timecnt, typecnt, charcnt = header(0)
    at = 44
    if version >= ord("2"):  # skip the 32-bit block, read the 64-bit one
        at += timecnt * 5 + typecnt * 6 + charcnt + leapcnt * 8 + isstdcnt + isutcnt
        isutcnt, isstdcnt, leapcnt, timecnt, typecnt, charcnt = header(at)
        at += 44
        size = 8
    else:
        size = 4
    times = struct.unpack(f">{timecnt}{'q' if size == 8 else 'l'}", data[at:at + timecnt * size])
    at += timecnt * size
    idx = data[at:at + timecnt]
    at += timecnt
    raw = [struct.unpack(">lBB", data[at + 6 * i:at + 6 * i + 6]) for i in range(typecnt)]
    at += typecnt * 6
    chars = data[at:at + charcnt]
    at += charcnt + leapcnt * (size + 4) + isstdcnt + isutcnt
    types = [(off, dst, chars[ai:chars.index(b"\0", ai)].decode()) for off, dst, ai in raw]
    footer = data[at:].strip().decode() if version >= ord("2") else ""
    return list(zip(times, idx)), types, footer


def posix_changes(footer, year):
    """The changes of one year by a POSIX TZ rule: [(utc, offset, isdst)], sorted."""
    m = re.fullmatch(r"(<[^>]*>|[A-Za-z]+)([-+]?[\d:]+)(?:(<[^>]*>|[A-Za-z]+)([-+]?[\d:]+)?,([^,]+),([^,]+))?", footer)
    assert m, footer

    def hms(s):
        sign = -1 if s.startswith("-") else 1
        parts = [int(p) for p in s.lstrip("+-").split(":")] + [0, 0]
        return sign * (parts[0] * 3600 + parts[1] * 60 + parts[2])

    std = -hms(m.group(2))
    if not m.group(3):
        return []
    dst = -hms(m.group(4)) if m.group(4) else std + 3600

    def when(rule, offset):
        date, _, time = rule.partition("/")
        seconds = hms(time) if time else 7200
        if date.startswith("M"):
            month, week, weekday = (int(x) for x in date[1:].split("."))
            first = (calendar.weekday(year, month, 1) + 1) % 7  # 0 Sunday
            day = 1 + (weekday - first) % 7 + (week - 1) * 7
            while day > calendar.monthrange(year, month)[1]:
                day -= 7
            days = calendar.timegm((year, month, day, 0, 0, 0))
        elif date.startswith("J"):
            n = int(date[1:])  # 1-365, 29 February never counted
            days = calendar.timegm((year, 1, 1, 0, 0, 0)) + (n - 1) * 86400
            if calendar.isleap(year) and n >= 60:
                days += 86400
        else:
            days = calendar.timegm((year, 1, 1, 0, 0, 0)) + int(date) * 86400
        return days + seconds - offset

    return sorted([(when(m.group(5), std), dst, 1), (when(m.group(6), dst), std, 0)])


def history(name, last_year):
    """(types [(offset, summer)], initial type, changes [(utc, type)]) from 1900 to last_year."""
    transitions, types, footer = read_tzif(f"{ZONEINFO}/{name}")
    # Past the local new year, to the end of a summer that runs over it.
    end = calendar.timegm((last_year + 1, 7, 1, 0, 0, 0))
    steps = [(t, types[i][0], types[i][1], types[i][2]) for t, i in transitions]
    last = max([t for t, *_ in steps], default=START)
    if footer and last < end:
        for year in range(time_year(last), last_year + 2):
            steps += [(t, off, dst, "") for t, off, dst in posix_changes(footer, year) if t > last]
    # Before the first transition: type 0 (TZif's rule); local mean time replaced.
    first = types[0]
    standard = next((off for off, dst, abbr in [types[i] for _, i in transitions] + types if abbr != "LMT" and not dst),
                    first[0])
    current = (standard, 0) if first[2] == "LMT" else (first[0], first[1])
    out = []
    for t, off, dst, abbr in steps:
        regime = (standard, 0) if abbr == "LMT" else (off, dst)
        if t <= START:
            current = regime
        elif t < end and regime != (out[-1][1] if out else current):
            out.append((t, regime))
    regimes = [current] + [r for _, r in out]
    regimes = fix_negative_summer(regimes)
    kinds = []
    for r in regimes:
        if r not in kinds:
            kinds.append(r)
    return kinds, kinds.index(regimes[0]), [(t, kinds.index(r)) for (t, _), r in zip(out, regimes[1:])]


def fix_negative_summer(regimes):
    """A summer flag on an offset below its non-summer neighbours' (all of them) is read the
    other way round, and so is the flag of those neighbours."""
    def lower(i):
        off, dst = regimes[i]
        around = regimes[max(0, i - 1):i] + regimes[i + 1:i + 2]
        return dst and around and all(not d and o > off for o, d in around)

    flipped = [i for i in range(len(regimes)) if lower(i)]
    out = list(regimes)
    for i in flipped:
        out[i] = (regimes[i][0], 0)
        for j in (i - 1, i + 1):
            if 0 <= j < len(regimes):
                out[j] = (regimes[j][0], 1)
    return out


def time_year(t):
    import time
    return time.gmtime(t).tm_year


def varint(n):
    assert n >= 0
    out = bytearray()
    while True:
        b = n & 0x7F
        n >>= 7
        out.append(b | (0x80 if n else 0))
        if not n:
            return bytes(out)


def zigzag(n):
    return n * 2 if n >= 0 else -n * 2 - 1


def encode(kinds, initial, changes):
    out = bytearray(varint(len(kinds)))
    for off, dst in kinds:
        out += varint(zigzag(off) << 1 | dst)
    out += varint(initial)
    out += varint(len(changes))
    bits = (len(kinds) - 1).bit_length()
    previous = START
    for t, kind in changes:
        delta = t - previous
        assert delta > 0
        value = (delta // 60) << 1 if delta % 60 == 0 else delta << 1 | 1
        out += varint(value << bits | kind)
        previous = t
    return bytes(out)


def c_string(s):
    return '"' + s.replace("\\", "\\\\").replace('"', '\\"') + '"'


def aliases(carried):
    """{alias: carried name} from the Link lines of tzdata.zi ("L target alias")."""
    names = {}  # target: the target and the names linked to it
    for line in open(f"{ZONEINFO}/tzdata.zi"):
        if line.startswith("L "):
            target, alias = line.split()[1:3]
            names.setdefault(target, {target}).add(alias)
    out = {}
    for target, group in names.items():
        present = sorted(group & carried)
        if present:
            to = target if target in carried else present[0]
            out.update({n: to for n in group - carried})
    return out


def main():
    version = open(f"{ZONEINFO}/tzdata.zi").readline().split()[-1]
    last_year = int(version[:4]) - 1
    root = ET.parse(WINDOWS_ZONES).getroot()
    mapping = []  # (key, territory, [zones])
    for z in root.iter("mapZone"):
        mapping.append((z.get("other"), z.get("territory"), z.get("type").split()))
    cldr_version = root.find(".//mapTimezones").get("typeVersion", "")
    names = sorted({n for _, _, zones in mapping for n in zones})
    blobs, offsets, zone_blob = bytearray(), {}, {}
    for name in names:
        b = encode(*history(name, last_year))
        if b not in offsets:
            offsets[b] = len(blobs)
            blobs += b
        zone_blob[name] = offsets[b]
    index = {n: i for i, n in enumerate(names)}
    links = aliases(set(names))
    keys = sorted({k for k, _, _ in mapping})
    w = sys.stdout.write
    w(f"// Generated by tools/gen_zone_history.py from Debian's tzdata {version} and CLDR windowsZones.xml (typeVersion "
      f"{cldr_version}); do not edit.\n")
    w(f"// Regenerate: bash tools/gen_zone_history.sh. {len(names)} zones, {len(links)} aliases (tzdata.zi's links), "
      f"{len(offsets)} distinct histories, {len(blobs)} bytes.\n")
    w('#include "timelib/zone_history_table.h"\n\nnamespace quendel::zone::table {\n\n')
    w(f'const char kTzdataVersion[] = "{version}";\nconst int kLastYear = {last_year};\n\n')
    w("const unsigned char kHistories[] = {\n")
    for i in range(0, len(blobs), 24):
        w("    " + ",".join(str(b) for b in blobs[i:i + 24]) + ",\n")
    w("};\n\n")
    w(f"const int kZoneCount = {len(names)};\n")
    w("const Zone kZones[] = {  // by name, as strcmp orders them\n")
    for n in names:
        w(f"    {{{c_string(n)}, {zone_blob[n]}}},\n")
    w("};\n\n")
    w(f"const int kAliasCount = {len(links)};\n")
    w("const Alias kAliases[] = {  // by name, as strcmp orders them\n")
    for n in sorted(links):
        w(f"    {{{c_string(n)}, {index[links[n]]}}},  // {links[n]}\n")
    w("};\n\n")
    # One row per zone CLDR lists; a territory's first zone is its own.
    rows = sorted(((k, t, i, index[z]) for k, t, zones in mapping for i, z in enumerate(zones)),
                  key=lambda r: (r[0], r[1] != "001", r[1], r[2]))
    w(f"const int kKeyZoneCount = {len(rows)};\n")
    w("const KeyZone kKeyZones[] = {  // by key, as strcmp orders them; each key's territory 001 first\n")
    for k, t, i, z in rows:
        w(f"    {{{c_string(k)}, {c_string(t)}, {z}, {int(i == 0)}}},\n")
    w("};\n\n}  // namespace quendel::zone::table\n")
    assert keys


if __name__ == "__main__":
    main()
