#!/usr/bin/env python3
# Writes app_holidays.tsv and app_easter.tsv: the holiday calendar worked out independently of the
# program, with python-dateutil's easter() and the datetime calendar, the zone rules applied as
# TIME_ZONE_INFORMATION documents them (the zones of tests/support/test_zones.h).
#   python3 app_gen_holidays.py  (in tests/data)
import datetime as dt
from dateutil.easter import easter

D = dt.timedelta
# The equinoxes and solstices from seasons.tsv (PyEphem, written by gen_seasons.py).
SEASONS = {(int(y), int(w)): dt.datetime.strptime(t, '%Y-%m-%d %H:%M:%S')
           for y, w, t in (line.rstrip('\n').split('\t') for line in open('seasons.tsv') if not line.startswith('#'))}
ZONES = {  # bias, daylight bias, standard date (month, weekday, occurrence, hour, minute), daylight date
    'WEurope': (-60, -60, (10, 0, 5, 3, 0), (3, 0, 5, 2, 0)),
    'Eastern': (300, -60, (11, 0, 1, 2, 0), (3, 0, 2, 2, 0)),
    'AusEastern': (-600, -60, (4, 0, 1, 3, 0), (10, 0, 1, 2, 0)),
    'Chatham': (-765, -60, (4, 0, 1, 3, 45), (9, 0, 5, 2, 45)),
    'Tokyo': (-540, 0, None, None),
}

# The legal holidays by the states' laws. 'DE' is the nationwide choice: the days common to all.
# 3 October from 1990 (Unification Treaty, art. 2); 17 June 1954-1990 in West Germany (law of
# 4 August 1953, repealed by the treaty); Buß- und Bettag in every state until 1994 and in
# Saxony alone from 1995 (long-term care insurance act, 1994); Reformationstag in the new
# states from 1990; Heilige Drei Könige in Sachsen-Anhalt from 1993.
COMMON = {'Neujahr', 'Karfreitag', 'Ostermontag', 'Tag der Arbeit', 'Christi Himmelfahrt', 'Pfingstmontag',
          '1. Weihnachtstag', '2. Weihnachtstag'}
WEST = {'DE', 'BW', 'BY', 'BE', 'HB', 'HH', 'HE', 'NI', 'NW', 'RP', 'SL', 'SH'}
STATES = ['DE', 'BW', 'BY', 'BE', 'BB', 'HB', 'HH', 'HE', 'MV', 'NI', 'NW', 'RP', 'SL', 'SN', 'ST', 'SH', 'TH']

def legal_set(state, year):
    days = set(COMMON)
    if year >= 1990:
        days.add('Tag der Deutschen Einheit')
    if 1954 <= year <= 1990 and state in WEST and not (year == 1990 and state == 'DE'):
        days.add('Tag der deutschen Einheit')
    if (year < 1990 and state in WEST) or 1990 <= year <= 1994:
        days.add('Buß- und Bettag')
    if year == 2017:
        days.add('Reformationstag')
    if state == 'DE':
        return days
    own = {
        'BW': {'Heilige Drei Könige', 'Fronleichnam', 'Allerheiligen'},
        'BY': {'Heilige Drei Könige', 'Fronleichnam', 'Allerheiligen'},
        'BE': ({'Internationaler Frauentag'} if year >= 2019 else set()) |
              ({'Tag der Befreiung'} if year in (2020, 2025) else set()),
        'BB': ({'Ostersonntag', 'Pfingstsonntag', 'Reformationstag'} if year >= 1990 else set()),
        'HB': {'Reformationstag'} if year >= 2018 else set(),
        'HH': {'Reformationstag'} if year >= 2018 else set(),
        'HE': {'Fronleichnam'},
        'MV': ({'Reformationstag'} if year >= 1990 else set()) | ({'Internationaler Frauentag'} if year >= 2023 else set()),
        'NI': {'Reformationstag'} if year >= 2018 else set(),
        'NW': {'Fronleichnam', 'Allerheiligen'},
        'RP': {'Fronleichnam', 'Allerheiligen'},
        'SL': {'Fronleichnam', 'Mariä Himmelfahrt', 'Allerheiligen'},
        'SN': {'Reformationstag', 'Buß- und Bettag'} if year >= 1990 else set(),
        'ST': ({'Heilige Drei Könige'} if year >= 1993 else set()) | ({'Reformationstag'} if year >= 1990 else set()),
        'SH': {'Reformationstag'} if year >= 2018 else set(),
        'TH': ({'Reformationstag'} if year >= 1990 else set()) | ({'Weltkindertag'} if year >= 2019 else set()),
    }[state]
    return days | own

def is_legal(name, state, year):
    return name in legal_set(state, year)

def zone(name):
    return ZONES[name] if name in ZONES else (int(name), 0, None, None)

def rule_day(year, r):
    month, wd, occ, h, m = r  # wd: 0 Sunday
    first = dt.datetime(year, month, 1, h, m)
    shift = (wd - (first.weekday() + 1) % 7) % 7
    d = first + D(days=shift + 7 * (occ - 1))
    while d.month != month:
        d -= D(days=7)
    return d

def transitions(z, year):  # UTC instants of summer start and end in the calendar year
    bias, dbias, std, dst = z
    start = rule_day(year, dst) + D(minutes=bias)           # given in local standard time
    end = rule_day(year, std) + D(minutes=bias + dbias)     # given in local daylight time
    return start, end

def offset(z, utc):  # minutes to add to UTC
    bias, dbias, std, dst = z
    if std is None:
        return -bias
    year = (utc - D(minutes=bias)).year
    start, end = transitions(z, year)
    summer = (start <= utc < end) if start < end else (utc < end or utc >= start)
    return -(bias + dbias) if summer else -bias

def to_utc(z, local):
    u = local - D(minutes=-z[0])
    if offset(z, u) != -z[0]:
        u = local - D(minutes=offset(z, local - D(minutes=-z[0] + 60)))
    assert u + D(minutes=offset(z, u)) == local, (local, u)
    return u

def local_noon(z, date):
    return to_utc(z, dt.datetime(date.year, date.month, date.day, 12))

def build(zname, year, state='DE'):
    z = zone(zname)
    out = []
    def add(utc, name, legal, approximate=False):
        out.append((utc, name, is_legal(name, state, year) if legal is None else legal, approximate))
    fixed = [(1, 1, 'Neujahr'), (1, 5, 'Tag der Arbeit'), (15, 8, 'Mariä Himmelfahrt'),
             (25, 12, '1. Weihnachtstag'), (26, 12, '2. Weihnachtstag'),
             (6, 1, 'Heilige Drei Könige'), (31, 10, 'Reformationstag'), (1, 11, 'Allerheiligen'),
             (2, 11, 'Allerseelen'), (6, 12, 'Nikolaustag'), (8, 12, 'Mariä Empfängnis'),
             (24, 12, 'Heiligabend'), (31, 12, 'Silvester'), (30, 4, 'Walpurgisnacht'),
             (11, 5, 'Beginn der Eisheiligen'), (31, 10, 'Weltspartag, Halloween')]
    # Days of remembrance, listed from the year they were first kept.
    fixed += [d for d in [(3, 10, 'Tag der Deutschen Einheit', 1990), (17, 6, 'Tag der deutschen Einheit', 1954, 1990),
                          (8, 3, 'Internationaler Frauentag', 1911), (8, 5, 'Tag der Befreiung', 1945),
                          (20, 9, 'Weltkindertag', 1954)] if d[3] <= year <= (d[4] if len(d) > 4 else 9999)]
    for d, m, n, *_ in fixed:
        add(to_utc(z, dt.datetime(year, m, d)), n, None)
    jan = to_utc(z, dt.datetime(year, 1, 1, 14))
    add(jan + D(days=44), 'Valentinstag', 0)
    for which, n in enumerate(['Frühlingsanfang', 'Sommeranfang', 'Herbstanfang', 'Winteranfang']):
        if (year, which) in SEASONS:  # (the laws' table needs no seasons)
            add(SEASONS[(year, which)], n, 0, True)  # the ephemeris's instant: the library's within a minute
    e = easter(year)
    for off, n in [(-2, 'Karfreitag'), (0, 'Ostersonntag'), (1, 'Ostermontag'),
                   (39, 'Christi Himmelfahrt'), (49, 'Pfingstsonntag'), (50, 'Pfingstmontag'),
                   (-48, 'Rosenmontag'), (-46, 'Aschermittwoch'), (-7, 'Palmsonntag'),
                   (-3, 'Gründonnerstag'), (7, 'Weißer Sonntag'), (60, 'Fronleichnam'),
                   (68, 'Herz-Jesu-Fest')]:
        add(local_noon(z, e + D(days=off)), n, None)
    eve = dt.date(year, 12, 24)
    advent4 = eve - D(days=(eve.weekday() + 1) % 7)
    for off, n in [(-35, 'Volkstrauertag'), (-32, 'Buß- und Bettag'), (-28, 'Totensonntag'), (-21, '1. Advent'),
                   (-14, '2. Advent'), (-7, '3. Advent'), (0, '4. Advent')]:
        add(local_noon(z, advent4 + D(days=off)), n, None)
    add(local_noon(z, e + D(days=39)), 'Vatertag', 0)
    def nth(month, n, wd):  # wd: Monday 0
        days = [dt.date(year, month, d) for d in range(1, 32) if (dt.date(year, month, 1) + D(days=d - 1)).month == month]
        return [d for d in days if d.weekday() == wd][n - 1]
    add(local_noon(z, nth(5, 2, 6)), 'Muttertag', 0)
    add(local_noon(z, nth(10, 1, 6)), 'Erntedankfest', 0)
    add(local_noon(z, nth(11, 4, 3)), 'Thanksgiving (USA)', 0)
    if z[2] is not None:
        start, end = transitions(z, year)  # the changes that fall in the year
        add(start, 'Sommerzeitanfang', 0)
        add(end, 'Sommerzeitende', 0)
    out.sort(key=lambda t: t[0])  # stable: equal instants keep their order
    rows = []
    for utc, name, legal, approximate in out:
        loc = utc + D(minutes=offset(z, utc))
        rows.append(('**' if legal else '-', 'MoDiMiDoFrSaSo'[2 * loc.weekday():2 * loc.weekday() + 2],
                     loc.strftime('%d.%m.%Y'), name,
                     utc.strftime('~%Y-%m-%d %H:%M:%S' if approximate else '%Y-%m-%d %H:%M')))
    return rows


SETS = [('W. Europe', 2003), ('W. Europe', 2004), ('Tokyo', 2003), ('AUS Eastern', 2003), ('Chatham Islands', 2011),
        ('Eastern', 2038), ('720', 2006), ('-840', 2017), ('720', 1601)]
NAMES = {'W. Europe': 'WEurope', 'AUS Eastern': 'AusEastern', 'Chatham Islands': 'Chatham'}

with open('app_holidays.tsv', 'w', encoding='utf-8') as out:
    out.write("""# The holiday lists of whole years, each built for 1 January 00:30 local (east of UTC a point in
# the year before by UTC): zone (a test zone by the start of its name, or a fixed bias in
# minutes), year, then per day its legal mark (** or -, nationwide), weekday, local date, name and UTC
# instant. Worked out with python-dateutil's easter() and the datetime calendar, the zone rules
# applied as TIME_ZONE_INFORMATION documents them; days on the same instant stay in the order in
# which they are added. Written by app_gen_holidays.py.
""")
    for label, year in SETS:
        out.write(f'# {label} {year}\n')
        for r in build(NAMES.get(label, label), year):
            out.write('\t'.join((label, str(year)) + r) + '\n')

with open('app_holiday_laws.tsv', 'w', encoding='utf-8') as out:
    out.write("""# The legal holidays ("**") of each state and the nationwide choice (DE, which no code
# names: it reads as nationwide) in years around the laws' changes, from the states' holiday
# laws as written by hand in app_gen_holidays.py: code, year, then each marked day of the list
# built for 1 January 00:30 in W. Europe as "date name", in the list's order.
""")
    for year in (1989, 1990, 1993, 1994, 2003, 2017, 2018, 2019, 2020, 2023, 2025):
        for state in STATES:
            marked = [f'{r[2]} {r[3]}' for r in build('WEurope', year, state) if r[0] == '**']
            out.write('\t'.join([state, str(year)] + marked) + '\n')

with open('app_easter.tsv', 'w', encoding='utf-8') as out:
    out.write("""# Easter Sunday (Gregorian) by year, 12:00 UTC, from python-dateutil's easter(); years before
# the time scale (1601) have none. Written by app_gen_holidays.py.
""")
    for y in (-1, 0, 1, 1583, 1600):
        out.write(f'{y}\tinvalid\n')
    for y in list(range(1601, 2201)) + [2285, 2400, 3000]:
        out.write(f'{y}\t{easter(y).isoformat()} 12:00\n')
