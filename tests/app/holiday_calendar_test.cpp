// The holiday calendar against an independent one (tests/data/app_holidays.tsv, app_easter.tsv):
// whole years in zones from UTC-12 to UTC+14, lines and exact instants; what operations leave out.
#include "app/holiday_calendar.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "support/data_table.h"
#include "support/locale_scope.h"
#include "support/test_zones.h"

namespace {

// An instant in UTC by the platform's calendar, "2003-04-20 12:00" and any ticks beyond the minute.
std::string Utc(const C_Time& point) {
    const ULONGLONG ticks = point.GetTimeUTC(), rest = ticks % 600000000;
    const FILETIME f = {DWORD(ticks), DWORD(ticks >> 32)};
    SYSTEMTIME s;
    char text[60] = "invalid";
    if (point.IsValid() && FileTimeToSystemTime(&f, &s))
        std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d%s%.0llu", s.wYear, s.wMonth, s.wDay, s.wHour,
                      s.wMinute, rest ? "+" : "", rest);
    return text;
}

void Use(const std::string& zone) {  // a test zone by the start of its name, or a fixed bias in minutes
    TIME_ZONE_INFORMATION z = test_zones::Make(std::atol(zone.c_str()), 0, {}, {});
    for (const TIME_ZONE_INFORMATION& named : {test_zones::WEurope(), test_zones::Tokyo(), test_zones::Eastern(),
                                               test_zones::AusEastern(), test_zones::Chatham()})
        if (std::wstring(named.StandardName).rfind(std::wstring(zone.begin(), zone.end()), 0) == 0) z = named;
    C_Time::SetLocTimeZoneInfo(&z);
}

}  // namespace

TEST(Holidays, WholeYears) {
    LocaleScope locale;
    locale.German();
    std::map<std::string, std::vector<std::string>> years;  // zone and year: the days
    for (const data_table::Row& r : data_table::Read("app_holidays.tsv")) {
        char day[16] = "";  // the user locale's abbreviation of the weekday (a German Windows: "Mo")
        GetLocaleInfoA(LOCALE_USER_DEFAULT,
                       LCTYPE(LOCALE_SABBREVDAYNAME1 + std::string("MoDiMiDoFrSaSo").find(r[3]) / 2), day, 16);
        years[r[0] + "\t" + r[1]].push_back((r[2] == "**" ? "**\t" : " \t") + std::string(day) + " \t" + r[4] + "\t" +
                                            r[5] + "\t" + r[6]);
    }
    for (const auto& [key, expected] : years) {  // each built for 1 January 00:30 local
        Use(key.substr(0, key.find('\t')));
        ASSERT_EQ(BuildHolidayTable(C_Time(std::stoi(key.substr(key.find('\t'))), 1, 1, 0, 30, 0)),
                  int(expected.size()))
            << key;
        C_String line;
        for (int i = 0; i < g_holidayCount; ++i) {
            // "~": an ephemeris's instant of a season, which the program's meets within a minute.
            const std::size_t at = expected[i].rfind('\t') + 1;
            SYSTEMTIME s = {};
            FILETIME f = {};
            if (expected[i][at] == '~' && std::sscanf(expected[i].c_str() + at + 1, "%hu-%hu-%hu %hu:%hu:%hu", &s.wYear,
                                                       &s.wMonth, &s.wDay, &s.wHour, &s.wMinute, &s.wSecond) == 6) {
                SystemTimeToFileTime(&s, &f);
                const __int64 off = g_holidays[i].when - C_Time(f);
                EXPECT_TRUE(off > -600000000 && off < 600000000) << key << " " << expected[i];
                EXPECT_EQ(std::string(FormatHolidayLine(g_holidays[i], line)), expected[i].substr(0, at - 1)) << key;
            } else {
                EXPECT_EQ(std::string(FormatHolidayLine(g_holidays[i], line)) + "\t" + Utc(g_holidays[i].when), expected[i])
                    << key;
            }
        }
    }
}

TEST(Holidays, EasterSunday) {
    for (const data_table::Row& r : data_table::Read("app_easter.tsv"))
        EXPECT_EQ(Utc(EasterSunday(std::stoi(r[0]))), r[1]);
}

TEST(Holidays, WhatTheOperationsLeaveOut) {
    g_holidayCount = 0;
    AddFixedDay(29, 2, 2003, "no such date", false);
    AddDayOfYear(1600, 44, "before the time scale", false);
    AddEasterDay(1500, 1, "before the time scale", false);
    AddAdventDay(1500, 0, "before the time scale", false);
    EXPECT_EQ(g_holidayCount, 0);
    for (int i = 0; i <= kHolidayCapacity; ++i) AddFixedDay(1, 1, 2003, "one too many", false);
    EXPECT_EQ(g_holidayCount, kHolidayCapacity);
    HolidayEntry invalid, valid;
    valid.when = C_Time(1);
    EXPECT_EQ(std::vector<int>({CompareHolidays(&invalid, &valid), CompareHolidays(&valid, &invalid),
                                CompareHolidays(&valid, &valid)}),
              std::vector<int>({-1, 1, 0}));
    EXPECT_EQ(std::vector<int>(kHolidayTabStops, kHolidayTabStops + 3), std::vector<int>({1, 20, 40}));  // dialog units
}
