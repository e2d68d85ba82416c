// Every day from 1990 to 2100 against a naive walk through the calendar and Python's ISO
// weeks (tests/data/iso_weeks.tsv); the seasons against an ephemeris. Known points are rows
// of the case table (tests/data/calendar_answers.tsv).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "support/data_table.h"
#include "support/test_zones.h"
#include "timelib/c_time.h"
#include "timelib/seasons.h"

using data_table::Int;

namespace {

C_Time At(long long unixSeconds, long long ms = 0) {
    return C_Time(test_zones::FromUnix(unixSeconds) + static_cast<unsigned __int64>(ms) * 10000u);
}


}  // namespace

// Read at four times of the local day, in UTC and ten hours west of it: the walk counts a
// Monday from 29 December to 4 January as week 1, every other Monday as the next week; the
// per-year sums come from Python's isocalendar.
TEST(Calendar, EveryDayFrom1990To2100) {
    for (const LONG bias : {0, 600}) {  // UTC, and ten hours west of it
        const TIME_ZONE_INFORMATION zone = test_zones::Make(bias, 0, SYSTEMTIME{}, SYSTEMTIME{});
        int year = 1990, month = 1, day = 1, weekday = 0, week = 1, dayOfYear = 0, failures = 0;
        long long localMidnight = 631152000;  // 1990-01-01, a Monday in week 1, as if it were UTC
        for (const data_table::Row& expected : data_table::Read("iso_weeks.tsv")) {
            ASSERT_TRUE(year == Int(expected[0]) && weekday == Int(expected[2]) && week == Int(expected[3]));
            long long days = 0, weekSum = 0, weekWeighted = 0, weekdayWeighted = 0, lastWeek = 0;
            for (; year == Int(expected[0]); localMidnight += 86400) {
                ++days;
                weekSum += week, weekWeighted += days * week, weekdayWeighted += days * weekday, lastWeek = week;
                for (long long timeOfDay : {0, 13 * 3600 + 3599, 14 * 3600, 86399}) {
                    const C_Time t = At(localMidnight + zone.Bias * 60 + timeOfDay);
                    const int got[] = {t.GetLocYear(&zone),    t.GetLocMonth(&zone),     t.GetLocDay(&zone),
                                       t.GetLocWeekDay(&zone), t.GetLocDayOfYear(&zone), t.GetLocWeekOfYear(&zone)};
                    const int want[] = {year, month, day, weekday, dayOfYear, week};
                    if (std::equal(got, got + 6, want)) continue;
                    ADD_FAILURE() << bias << " " << year << "-" << month << "-" << day << " +" << timeOfDay << " s";
                    if (++failures >= 10) return;
                }
                static const int kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
                const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
                ++dayOfYear;
                if (++day > (month == 2 && leap ? 29 : kMonthDays[month - 1])) {
                    day = 1;
                    if (++month > 12) month = 1, ++year, dayOfYear = 0;
                }
                weekday = (weekday + 1) % 7;
                if (weekday == 0) week = (month == 12 && day >= 29) || (month == 1 && day <= 4) ? 1 : week + 1;
            }
            const long long sums[] = {days, lastWeek, weekSum, weekWeighted, weekdayWeighted};
            for (int i = 0; i < 5; ++i) EXPECT_EQ(sums[i], Int(expected[i == 0 ? 1 : 3 + i])) << expected[0] << " " << i;
        }
        EXPECT_EQ(year, 2101);
    }
}

// The equinoxes and solstices of 2000 to 2050 within a minute of PyEphem's (tests/data/seasons.tsv).
TEST(Calendar, SeasonsWithinAMinuteOfTheEphemeris) {
    for (const data_table::Row& r : data_table::Read("seasons.tsv")) {
        if (Int(r[0]) < 2000) continue;  // 1601 is for the holiday list, where only the date counts
        SYSTEMTIME f = {};
        std::sscanf(r[2].c_str(), "%hu-%hu-%hu %hu:%hu:%hu", &f.wYear, &f.wMonth, &f.wDay, &f.wHour, &f.wMinute, &f.wSecond);
        C_Time expected;
        ASSERT_TRUE(expected.SetSystemTimeUTC(&f));
        const __int64 off = quendel::SeasonStart(int(Int(r[0])), quendel::Season(Int(r[1]))) - expected;
        EXPECT_LE(off < 0 ? -off : off, 600000000) << r[0] << " " << r[1] << " " << off / 10000000 << " s";
    }
}
