// The holiday calendar: Easter dates, the sorted list of a year and its lines, and the
// days' true dates and weekdays in zones from UTC-12 to UTC+14.
//
// Known answers: the Easter dates were generated with python-dateutil's easter(); the
// 2003 lines, weekdays and offsets were worked out with Python's datetime calendar.
#include "app/holiday_calendar.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "timelib/locale_scope.h"
#include "timelib/test_zones.h"

namespace {

struct EasterDate {
    int year, month, day;
};

// Gregorian Easter Sunday, 1900-2100, from python-dateutil.
const EasterDate kEaster[] = {
    {1900, 4, 15}, {1901, 4, 7}, {1902, 3, 30}, {1903, 4, 12}, {1904, 4, 3}, {1905, 4, 23},
    {1906, 4, 15}, {1907, 3, 31}, {1908, 4, 19}, {1909, 4, 11}, {1910, 3, 27}, {1911, 4, 16},
    {1912, 4, 7}, {1913, 3, 23}, {1914, 4, 12}, {1915, 4, 4}, {1916, 4, 23}, {1917, 4, 8},
    {1918, 3, 31}, {1919, 4, 20}, {1920, 4, 4}, {1921, 3, 27}, {1922, 4, 16}, {1923, 4, 1},
    {1924, 4, 20}, {1925, 4, 12}, {1926, 4, 4}, {1927, 4, 17}, {1928, 4, 8}, {1929, 3, 31},
    {1930, 4, 20}, {1931, 4, 5}, {1932, 3, 27}, {1933, 4, 16}, {1934, 4, 1}, {1935, 4, 21},
    {1936, 4, 12}, {1937, 3, 28}, {1938, 4, 17}, {1939, 4, 9}, {1940, 3, 24}, {1941, 4, 13},
    {1942, 4, 5}, {1943, 4, 25}, {1944, 4, 9}, {1945, 4, 1}, {1946, 4, 21}, {1947, 4, 6},
    {1948, 3, 28}, {1949, 4, 17}, {1950, 4, 9}, {1951, 3, 25}, {1952, 4, 13}, {1953, 4, 5},
    {1954, 4, 18}, {1955, 4, 10}, {1956, 4, 1}, {1957, 4, 21}, {1958, 4, 6}, {1959, 3, 29},
    {1960, 4, 17}, {1961, 4, 2}, {1962, 4, 22}, {1963, 4, 14}, {1964, 3, 29}, {1965, 4, 18},
    {1966, 4, 10}, {1967, 3, 26}, {1968, 4, 14}, {1969, 4, 6}, {1970, 3, 29}, {1971, 4, 11},
    {1972, 4, 2}, {1973, 4, 22}, {1974, 4, 14}, {1975, 3, 30}, {1976, 4, 18}, {1977, 4, 10},
    {1978, 3, 26}, {1979, 4, 15}, {1980, 4, 6}, {1981, 4, 19}, {1982, 4, 11}, {1983, 4, 3},
    {1984, 4, 22}, {1985, 4, 7}, {1986, 3, 30}, {1987, 4, 19}, {1988, 4, 3}, {1989, 3, 26},
    {1990, 4, 15}, {1991, 3, 31}, {1992, 4, 19}, {1993, 4, 11}, {1994, 4, 3}, {1995, 4, 16},
    {1996, 4, 7}, {1997, 3, 30}, {1998, 4, 12}, {1999, 4, 4}, {2000, 4, 23}, {2001, 4, 15},
    {2002, 3, 31}, {2003, 4, 20}, {2004, 4, 11}, {2005, 3, 27}, {2006, 4, 16}, {2007, 4, 8},
    {2008, 3, 23}, {2009, 4, 12}, {2010, 4, 4}, {2011, 4, 24}, {2012, 4, 8}, {2013, 3, 31},
    {2014, 4, 20}, {2015, 4, 5}, {2016, 3, 27}, {2017, 4, 16}, {2018, 4, 1}, {2019, 4, 21},
    {2020, 4, 12}, {2021, 4, 4}, {2022, 4, 17}, {2023, 4, 9}, {2024, 3, 31}, {2025, 4, 20},
    {2026, 4, 5}, {2027, 3, 28}, {2028, 4, 16}, {2029, 4, 1}, {2030, 4, 21}, {2031, 4, 13},
    {2032, 3, 28}, {2033, 4, 17}, {2034, 4, 9}, {2035, 3, 25}, {2036, 4, 13}, {2037, 4, 5},
    {2038, 4, 25}, {2039, 4, 10}, {2040, 4, 1}, {2041, 4, 21}, {2042, 4, 6}, {2043, 3, 29},
    {2044, 4, 17}, {2045, 4, 9}, {2046, 3, 25}, {2047, 4, 14}, {2048, 4, 5}, {2049, 4, 18},
    {2050, 4, 10}, {2051, 4, 2}, {2052, 4, 21}, {2053, 4, 6}, {2054, 3, 29}, {2055, 4, 18},
    {2056, 4, 2}, {2057, 4, 22}, {2058, 4, 14}, {2059, 3, 30}, {2060, 4, 18}, {2061, 4, 10},
    {2062, 3, 26}, {2063, 4, 15}, {2064, 4, 6}, {2065, 3, 29}, {2066, 4, 11}, {2067, 4, 3},
    {2068, 4, 22}, {2069, 4, 14}, {2070, 3, 30}, {2071, 4, 19}, {2072, 4, 10}, {2073, 3, 26},
    {2074, 4, 15}, {2075, 4, 7}, {2076, 4, 19}, {2077, 4, 11}, {2078, 4, 3}, {2079, 4, 23},
    {2080, 4, 7}, {2081, 3, 30}, {2082, 4, 19}, {2083, 4, 4}, {2084, 3, 26}, {2085, 4, 15},
    {2086, 3, 31}, {2087, 4, 20}, {2088, 4, 11}, {2089, 4, 3}, {2090, 4, 16}, {2091, 4, 8},
    {2092, 3, 30}, {2093, 4, 12}, {2094, 4, 4}, {2095, 4, 24}, {2096, 4, 15}, {2097, 3, 31},
    {2098, 4, 20}, {2099, 4, 12}, {2100, 3, 28},
};

// 2003 in W. Europe, sorted. Equal instants may stand in either order.
const char* const kLines2003[] = {
    "**\tMi \t01.01.2003\tNeujahr",
    " \tMo \t06.01.2003\tHeilige drei K\xF6nige",
    " \tFr \t14.02.2003\tValentinstag",
    " \tMo \t03.03.2003\tRosenmontag",
    " \tMi \t05.03.2003\tAschermittwoch",
    " \tFr \t21.03.2003\tFr\xFChlingsanfang",
    " \tSo \t30.03.2003\tSommerzeitanfang",
    " \tSo \t13.04.2003\tPalmsonntag",
    " \tDo \t17.04.2003\tGruenDonnerstag",
    "**\tFr \t18.04.2003\tKarFreitag",
    "**\tSo \t20.04.2003\tOstersonntag",
    "**\tMo \t21.04.2003\tOstermontag",
    " \tSo \t27.04.2003\tWeisser Sonntag",
    " \tMi \t30.04.2003\tWalpurgisnacht",
    "**\tDo \t01.05.2003\tTag der Arbeit",
    " \tSo \t11.05.2003\tBegin der Eisheiligen",
    " \tSo \t11.05.2003\tMuttertag",
    "**\tDo \t29.05.2003\tChristi Himmelfahrt",
    " \tDo \t29.05.2003\tVatertag",
    "**\tSo \t08.06.2003\tPfingstsonntag",
    "**\tMo \t09.06.2003\tPfingstmontag",
    " \tDo \t19.06.2003\tFronleichnam",
    " \tSa \t21.06.2003\tSommeranfang",
    " \tFr \t27.06.2003\tHerz-Jesu-Fest",
    "**\tFr \t15.08.2003\tMaria Himmelfahrt",
    " \tDi \t23.09.2003\tHerbstanfang",
    "**\tFr \t03.10.2003\tTag der dt. Einheit",
    " \tSo \t05.10.2003\tErntedankfest",
    " \tSo \t26.10.2003\tSommerzeitende",
    " \tFr \t31.10.2003\tReformationstag",
    " \tFr \t31.10.2003\tWeltspartag,Haloween",
    " \tSa \t01.11.2003\tAllerheiligen",
    " \tSo \t02.11.2003\tAllerseelen",
    " \tSo \t16.11.2003\tVolkstrauertag",
    " \tMi \t19.11.2003\tBusstag",
    " \tSo \t23.11.2003\tTotensonntag",
    " \tDo \t27.11.2003\tThanksgivings Day",
    " \tSo \t30.11.2003\t1.Advent",
    " \tSa \t06.12.2003\tNikolaustag",
    " \tSo \t07.12.2003\t2.Advent",
    " \tMo \t08.12.2003\tMaria Empf\xE4ngnis",
    " \tSo \t14.12.2003\t3.Advent",
    " \tSo \t21.12.2003\t4.Advent",
    " \tMo \t22.12.2003\tWinteranfang",
    " \tMi \t24.12.2003\tHeiligabend",
    "**\tDo \t25.12.2003\t1.Weihnachtstag",
    "**\tFr \t26.12.2003\t2.Weihnachtstag",
    " \tMi \t31.12.2003\tSylvester",
};

// The expected lines carry the German two-letter weekdays; the list shows the user locale's
// own abbreviations (a German Windows has "Mo", some systems "Mo."), so ask the system.
std::string Localized(const char* line) {
    static const char* const german[] = {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"};
    std::string text(line);
    const std::size_t at = text.find('\t') + 1;
    for (int i = 0; i < 7; ++i) {
        if (text.compare(at, 3, std::string(german[i]) + " ") != 0) continue;
        char name[32] = "";
        GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SABBREVDAYNAME1 + i, name, sizeof name);
        return text.replace(at, 2, name);
    }
    return text;
}

// Sets the global user zone and German short dates for one test; restores both after it.
class HolidayTest : public ::testing::Test {
protected:
    void SetUp() override { m_locale.German(); }
    void TearDown() override {
        TIME_ZONE_INFORMATION none = {};
        C_Time::SetLocTimeZoneInfo(&none);
    }
    static void UseZone(TIME_ZONE_INFORMATION zone) { C_Time::SetLocTimeZoneInfo(&zone); }
    static C_Time Utc(int year, int month, int day, int hour) {
        C_Time t;
        t.SetTimeUTC(year, month, day, hour, 0, 0, 0);
        return t;
    }
    static std::vector<std::string> Lines() {
        std::vector<std::string> lines;
        C_String line;
        for (int i = 0; i < g_holidayCount; ++i) lines.emplace_back(FormatHolidayLine(g_holidays[i], line));
        return lines;
    }
    static const HolidayEntry* Find(const char* name) {
        for (int i = 0; i < g_holidayCount; ++i)
            if (g_holidays[i].name == name) return &g_holidays[i];
        return nullptr;
    }
    static int IndexOf(const char* name) {
        const HolidayEntry* entry = Find(name);
        return entry ? static_cast<int>(entry - g_holidays) : -1;
    }
    // The local date of a named day as yyyy-mm-dd and its weekday (0 Monday).
    static void LocalDate(const char* name, SYSTEMTIME* date) {
        const HolidayEntry* entry = Find(name);
        ASSERT_NE(entry, nullptr) << name;
        ASSERT_TRUE(entry->when.GetLocSystemTime(date)) << name;
    }

private:
    LocaleScope m_locale;
};

// --- Easter Sunday --------------------------------------------------------------------

TEST_F(HolidayTest, EasterSundayMatchesDateutilFrom1900To2100) {
    for (const EasterDate& e : kEaster) {
        SYSTEMTIME f;
        ASSERT_TRUE(EasterSunday(e.year).GetSystemTimeUTC(&f)) << e.year;
        EXPECT_EQ(f.wYear, e.year);
        EXPECT_EQ(f.wMonth, e.month) << e.year;
        EXPECT_EQ(f.wDay, e.day) << e.year;
        EXPECT_EQ(f.wDayOfWeek, 0) << e.year;  // Sunday
        EXPECT_EQ(f.wHour, 12) << e.year;
        EXPECT_EQ(f.wMinute, 0) << e.year;
    }
}

TEST_F(HolidayTest, EasterSundayPublishedDatesAndRange) {
    const EasterDate published[] = {{2003, 4, 20}, {2008, 3, 23}, {2011, 4, 24}, {2038, 4, 25}, {2285, 3, 22}};
    for (const EasterDate& e : published) EXPECT_EQ(EasterSunday(e.year), Utc(e.year, e.month, e.day, 12)) << e.year;
    EXPECT_TRUE(EasterSunday(1600).IsInvalid());  // before the time scale
    EXPECT_TRUE(EasterSunday(0).IsInvalid());
}

// --- The 2003 list ----------------------------------------------------------------------

TEST_F(HolidayTest, List2003InWEuropeLineByLine) {
    UseZone(test_zones::WEurope());
    ASSERT_EQ(BuildHolidayTable(Utc(2003, 7, 1, 12)), 48);
    const std::vector<std::string> lines = Lines();
    const int expected = static_cast<int>(sizeof kLines2003 / sizeof kLines2003[0]);
    ASSERT_EQ(expected, 48);
    for (int i = 0; i < expected; ++i) {
        if (lines[i] == Localized(kLines2003[i])) continue;
        // An equal-instant pair in the other order.
        ASSERT_LT(i + 1, expected);
        EXPECT_EQ(lines[i], Localized(kLines2003[i + 1])) << i;
        EXPECT_EQ(lines[i + 1], Localized(kLines2003[i])) << i;
        ++i;
    }
    EXPECT_EQ(lines.front(), Localized("**\tMi \t01.01.2003\tNeujahr"));
    EXPECT_EQ(lines.back(), Localized(" \tMi \t31.12.2003\tSylvester"));
}

TEST_F(HolidayTest, List2003SortedMarkedAndPaired) {
    UseZone(test_zones::WEurope());
    ASSERT_EQ(BuildHolidayTable(Utc(2003, 1, 15, 0)), 48);
    int legal = 0;
    std::set<std::string> names;
    for (int i = 0; i < g_holidayCount; ++i) {
        if (i > 0) {
            EXPECT_LE(CompareHolidays(&g_holidays[i - 1], &g_holidays[i]), 0) << i;
        }
        legal += g_holidays[i].legal;
        names.insert(g_holidays[i].name.c_str());
    }
    EXPECT_EQ(legal, 12);
    EXPECT_EQ(names.size(), 48u);
    const std::vector<std::string> lines = Lines();
    int starred = 0;
    for (const std::string& line : lines) starred += line.compare(0, 3, "**\t") == 0;
    EXPECT_EQ(starred, 12);

    const char* const pairs[][2] = {{"Christi Himmelfahrt", "Vatertag"}, {"Reformationstag", "Weltspartag,Haloween"}};
    for (const auto& pair : pairs) {
        EXPECT_EQ(Find(pair[0])->when, Find(pair[1])->when) << pair[0];
        EXPECT_EQ(std::abs(IndexOf(pair[0]) - IndexOf(pair[1])), 1) << pair[0];
    }
}

TEST_F(HolidayTest, YearIsTheLocalYearOfThePoint) {
    UseZone(test_zones::WEurope());
    // 31 December 2003 23:30 UTC is already 2004 in W. Europe.
    ASSERT_EQ(BuildHolidayTable(Utc(2003, 12, 31, 23) + C_TimeSpan(30, 600000000)), 48);
    EXPECT_EQ(Lines().front(), Localized("**\tDo \t01.01.2004\tNeujahr"));
}

TEST_F(HolidayTest, RebuildReplacesTheTable) {
    UseZone(test_zones::WEurope());
    ASSERT_EQ(BuildHolidayTable(Utc(2003, 6, 1, 0)), 48);
    ASSERT_EQ(BuildHolidayTable(Utc(2004, 6, 1, 0)), 48);
    EXPECT_EQ(Lines().front(), Localized("**\tDo \t01.01.2004\tNeujahr"));
}

// --- Summer time --------------------------------------------------------------------------

TEST_F(HolidayTest, ZoneWithoutSummerTimeHas46Days) {
    UseZone(test_zones::Tokyo());
    EXPECT_EQ(BuildHolidayTable(Utc(2003, 6, 1, 0)), 46);
    EXPECT_EQ(Find("Sommerzeitanfang"), nullptr);
    EXPECT_EQ(Find("Sommerzeitende"), nullptr);
}

TEST_F(HolidayTest, ChangeOverDaysAreTheExactInstants) {
    UseZone(test_zones::WEurope());
    ASSERT_EQ(BuildHolidayTable(Utc(2003, 6, 1, 0)), 48);
    EXPECT_EQ(Find("Sommerzeitanfang")->when, Utc(2003, 3, 30, 1));
    EXPECT_EQ(Find("Sommerzeitende")->when, Utc(2003, 10, 26, 1));
}

TEST_F(HolidayTest, SouthernSummerEndsAfterSylvester) {
    UseZone(test_zones::AusEastern());
    ASSERT_EQ(BuildHolidayTable(Utc(2003, 6, 1, 0)), 48);
    const std::vector<std::string> lines = Lines();
    EXPECT_EQ(lines.back(), Localized(" \tSo \t04.04.2004\tSommerzeitende"));
    EXPECT_EQ(lines[46], Localized(" \tMi \t31.12.2003\tSylvester"));
    C_String line;
    EXPECT_EQ(FormatHolidayLine(*Find("Sommerzeitanfang"), line), Localized(" \tSo \t05.10.2003\tSommerzeitanfang"));
}

// --- True dates in every zone -----------------------------------------------------------

struct NamedZone {
    const char* label;
    TIME_ZONE_INFORMATION zone;
};

std::vector<NamedZone> Zones() {
    using test_zones::Make;
    const SYSTEMTIME none = {};
    return {
        {"UTC-12", Make(720, 0, none, none)},         {"UTC-9:30", Make(570, 0, none, none)},
        {"Eastern", test_zones::Eastern()},           {"UTC", Make(0, 0, none, none)},
        {"W. Europe", test_zones::WEurope()},         {"UTC+5:30", Make(-330, 0, none, none)},
        {"Tokyo", test_zones::Tokyo()},               {"AUS Eastern", test_zones::AusEastern()},
        {"Chatham", test_zones::Chatham()},           {"UTC+13", Make(-780, 0, none, none)},
        {"UTC+14", Make(-840, 0, none, none)},
    };
}

// Day of the year (1 January 0) of a proleptic Gregorian date.
int DayOfYear(int year, int month, int day) {
    static const int before[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return before[month - 1] + day - 1 + (leap && month > 2 ? 1 : 0);
}

TEST_F(HolidayTest, DaysFallOnTheirWeekdayInEveryZone) {
    struct Rule {
        const char* name;
        int weekday;  // 0 Monday to 6 Sunday
    };
    const Rule rules[] = {
        {"KarFreitag", 4},     {"Ostersonntag", 6},  {"Ostermontag", 0},     {"Christi Himmelfahrt", 3},
        {"Pfingstsonntag", 6}, {"Pfingstmontag", 0}, {"Rosenmontag", 0},     {"Aschermittwoch", 2},
        {"Palmsonntag", 6},    {"GruenDonnerstag", 3}, {"Weisser Sonntag", 6}, {"Fronleichnam", 3},
        {"Herz-Jesu-Fest", 4}, {"Volkstrauertag", 6}, {"Busstag", 2},        {"Totensonntag", 6},
        {"1.Advent", 6},       {"2.Advent", 6},      {"3.Advent", 6},        {"4.Advent", 6},
        {"Vatertag", 3},       {"Muttertag", 6},     {"Erntedankfest", 6},   {"Thanksgivings Day", 3},
    };
    for (const NamedZone& z : Zones()) {
        UseZone(z.zone);
        for (const EasterDate& e : kEaster) {
            if (e.year < 1990 || e.year > 2040) continue;
            ASSERT_GE(BuildHolidayTable(Utc(e.year, 7, 1, 0)), 46) << z.label;
            for (const Rule& r : rules) {
                const HolidayEntry* entry = Find(r.name);
                ASSERT_NE(entry, nullptr) << r.name;
                EXPECT_EQ(entry->when.GetLocWeekDay(), r.weekday) << z.label << ' ' << e.year << ' ' << r.name;
                EXPECT_EQ(entry->when.GetLocYear(), e.year) << z.label << ' ' << r.name;
            }
            SYSTEMTIME d;
            LocalDate("Ostersonntag", &d);
            EXPECT_EQ(d.wMonth * 100 + d.wDay, e.month * 100 + e.day) << z.label << ' ' << e.year;
            LocalDate("4.Advent", &d);
            EXPECT_EQ(d.wMonth, 12);
            EXPECT_TRUE(d.wDay >= 18 && d.wDay <= 24) << z.label << ' ' << e.year;
            LocalDate("1.Advent", &d);
            EXPECT_TRUE((d.wMonth == 11 && d.wDay >= 27) || (d.wMonth == 12 && d.wDay <= 3)) << z.label << e.year;
            LocalDate("Neujahr", &d);
            EXPECT_EQ(d.wYear * 10000 + d.wMonth * 100 + d.wDay, e.year * 10000 + 101) << z.label;
            // Day-of-year days: 1 January plus the offset, on the local calendar.
            const struct {
                const char* name;
                int offset;
            } offsets[] = {{"Valentinstag", 44}, {"Fr\xFChlingsanfang", 79}, {"Sommeranfang", 171},
                           {"Herbstanfang", 265}, {"Winteranfang", 355}};
            for (const auto& o : offsets) {
                LocalDate(o.name, &d);
                EXPECT_EQ(DayOfYear(d.wYear, d.wMonth, d.wDay), o.offset) << z.label << ' ' << o.name;
            }
        }
    }
}

TEST_F(HolidayTest, SameDateOrderIsMidnightNoonAfternoon) {
    for (const NamedZone& z : Zones()) {
        UseZone(z.zone);
        // 24 December 2006 and 2017 are Sundays: Heiligabend (midnight) before 4.Advent (noon).
        for (int year : {2006, 2017}) {
            ASSERT_GE(BuildHolidayTable(Utc(year, 7, 1, 0)), 46);
            EXPECT_EQ(IndexOf("4.Advent"), IndexOf("Heiligabend") + 1) << z.label << ' ' << year;
            SYSTEMTIME d;
            LocalDate("4.Advent", &d);
            EXPECT_EQ(d.wDay, 24) << z.label;
        }
        // 11 May 2003: Begin der Eisheiligen (midnight) before Muttertag (noon).
        ASSERT_GE(BuildHolidayTable(Utc(2003, 7, 1, 0)), 46);
        EXPECT_EQ(IndexOf("Muttertag"), IndexOf("Begin der Eisheiligen") + 1) << z.label;
        // 3 October 2004 is Sunday: Tag der dt. Einheit (midnight) before Erntedankfest (noon);
        // in AUS Eastern the summer begins between them, at 02:00.
        ASSERT_GE(BuildHolidayTable(Utc(2004, 7, 1, 0)), 46);
        EXPECT_LT(IndexOf("Tag der dt. Einheit"), IndexOf("Erntedankfest")) << z.label;
        EXPECT_EQ(Find("Tag der dt. Einheit")->when.GetLocDay(), Find("Erntedankfest")->when.GetLocDay()) << z.label;
    }
}

// --- Day-of-year offsets ------------------------------------------------------------------

TEST_F(HolidayTest, HerbstanfangAndSpringInCommonAndLeapYears) {
    UseZone(test_zones::WEurope());
    const struct {
        int year;
        const char* herbst;
        const char* fruehling;
    } cases[] = {
        {2003, " \tDi \t23.09.2003\tHerbstanfang", " \tFr \t21.03.2003\tFr\xFChlingsanfang"},
        {2004, " \tMi \t22.09.2004\tHerbstanfang", " \tSa \t20.03.2004\tFr\xFChlingsanfang"},
    };
    C_String line;
    for (const auto& c : cases) {
        ASSERT_EQ(BuildHolidayTable(Utc(c.year, 7, 1, 0)), 48);
        EXPECT_EQ(FormatHolidayLine(*Find("Herbstanfang"), line), Localized(c.herbst));
        EXPECT_EQ(FormatHolidayLine(*Find("Fr\xFChlingsanfang"), line), Localized(c.fruehling));
    }
}

TEST_F(HolidayTest, LargeOffsetsDoNotOverflow) {
    UseZone(test_zones::WEurope());
    const struct {
        int offset;
        int year, month, day;
    } cases[] = {{0, 2003, 1, 1}, {30000, 2085, 2, 19}, {-30000, 1920, 11, 12}};
    for (const auto& c : cases) {
        g_holidayCount = 0;
        AddDayOfYear(2003, c.offset, "x", false);
        ASSERT_EQ(g_holidayCount, 1);
        // Whole days of 86 400 s from 1 January 14:00 local, summer time not looked at.
        EXPECT_EQ(g_holidays[0].when, Utc(c.year, c.month, c.day, 13)) << c.offset;
    }
}

// --- Single operations and failures -------------------------------------------------------

TEST_F(HolidayTest, OperationsThatAddNothing) {
    UseZone(test_zones::WEurope());
    g_holidayCount = 0;
    AddFixedDay(29, 2, 2003, "x", false);         // no such date
    AddNthWeekday(2003, 2, 5, 0, "x", false);     // February 2003 has four Mondays
    AddEasterDay(1500, 0, "x", false);            // before the time scale
    AddAdventDay(1500, 0, "x", false);
    EXPECT_EQ(g_holidayCount, 0);
    UseZone(test_zones::Tokyo());
    AddSummerTimeDay(2003, 0, "x", false);
    AddSummerTimeDay(2003, 1, "x", false);
    EXPECT_EQ(g_holidayCount, 0);
}

TEST_F(HolidayTest, InvalidPointGivesNoEntries) {
    UseZone(test_zones::WEurope());
    ASSERT_EQ(BuildHolidayTable(Utc(2003, 6, 1, 0)), 48);
    EXPECT_EQ(BuildHolidayTable(C_Time()), 0);
    EXPECT_EQ(g_holidayCount, 0);
    EXPECT_TRUE(Lines().empty());
}

TEST_F(HolidayTest, CompareHolidaysOrdersByInstant) {
    HolidayEntry early, late, same;
    early.when = Utc(2003, 1, 1, 0);
    late.when = Utc(2003, 1, 1, 1);
    same.when = early.when;
    EXPECT_EQ(CompareHolidays(&early, &late), -1);
    EXPECT_EQ(CompareHolidays(&late, &early), 1);
    EXPECT_EQ(CompareHolidays(&early, &same), 0);
    HolidayEntry invalid;
    EXPECT_EQ(CompareHolidays(&invalid, &early), -1);  // invalid sorts first
}

TEST_F(HolidayTest, TabStops) {
    EXPECT_EQ(kHolidayTabStops[0], 1);
    EXPECT_EQ(kHolidayTabStops[1], 20);
    EXPECT_EQ(kHolidayTabStops[2], 40);
}

}  // namespace
