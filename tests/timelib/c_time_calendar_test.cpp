// Calendar fields, ISO weeks, period boundaries and local lengths of C_Time.
//
// Known answers come from Python's datetime and the IANA time-zone database
// (known_answers/gen_calendar_answers.py), from the calendar, and from worked examples with
// the zone's offsets written out. Inputs are built from Unix seconds.
#include "timelib/c_time.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "timelib/known_answers/calendar_answers.h"
#include "timelib/test_zones.h"

namespace {

using calendar_answers::Zone;
using test_zones::Make;
using test_zones::Rule;

constexpr std::int64_t kSecondTicks = 10000000;
constexpr std::int64_t kHourTicks = 3600 * kSecondTicks;
constexpr std::int64_t kDayTicks = 24 * kHourTicks;
constexpr std::int64_t kDaySeconds = 86400;

C_Time At(std::int64_t unixSeconds, int ms = 0) {
    return C_Time(test_zones::FromUnix(unixSeconds) + static_cast<unsigned __int64>(ms) * 10000u);
}

C_TimeSpan Hours(std::int64_t hours) { return C_TimeSpan(hours * kHourTicks); }
C_TimeSpan Days(std::int64_t days) { return C_TimeSpan(days * kDayTicks); }

// UTC as a zone record, and a zone ten hours west of UTC without summer time (Hawaii-like):
// there 14:00 local is already the next UTC day.
TIME_ZONE_INFORMATION UtcZone() { return Make(0, 0, SYSTEMTIME{}, SYSTEMTIME{}, L"UTC"); }
TIME_ZONE_INFORMATION TenWest() { return Make(600, 0, SYSTEMTIME{}, SYSTEMTIME{}, L"Ten West Standard Time"); }
// UTC+1 with summer time from the last Wednesday of March 02:00 to the last Wednesday of
// October 03:00: change-overs in the middle of a week (2003: 26 March and 29 October).
TIME_ZONE_INFORMATION MidWeek() {
    return Make(-60, -60, Rule(10, 3, 5, 3), Rule(3, 3, 5, 2), L"Mid Week Standard Time");
}

TIME_ZONE_INFORMATION ZoneOf(Zone zone) {
    switch (zone) {
        case calendar_answers::kUtc: return UtcZone();
        case calendar_answers::kTenWest: return TenWest();
        case calendar_answers::kWEurope: return test_zones::WEurope();
        case calendar_answers::kEastern: return test_zones::Eastern();
        case calendar_answers::kAusEastern: return test_zones::AusEastern();
        case calendar_answers::kTokyo: return test_zones::Tokyo();
    }
    return UtcZone();
}

// Sets the global user time zone for one test and puts the previous one back.
struct UserZoneScope {
    explicit UserZoneScope(TIME_ZONE_INFORMATION zone) {
        C_Time::GetLocTimeZoneInfo(&previous);
        C_Time::SetLocTimeZoneInfo(&zone);
    }
    ~UserZoneScope() { C_Time::SetLocTimeZoneInfo(&previous); }
    TIME_ZONE_INFORMATION previous;
};

std::string Describe(const calendar_answers::Point& p) {
    return std::to_string(p.zone) + " " + std::to_string(p.year) + "-" + std::to_string(p.month) + "-" +
           std::to_string(p.day) + " " + std::to_string(p.hour) + ":" + std::to_string(p.minute) +
           (p.fold ? " (second occurrence)" : "");
}

}  // namespace

// ---- Fields -------------------------------------------------------------------------

TEST(CalendarFields, LocalFieldsWeekdayDayAndWeekOfKnownPoints) {
    for (const auto& p : calendar_answers::kPoints) {
        SCOPED_TRACE(Describe(p));
        const TIME_ZONE_INFORMATION zone = ZoneOf(p.zone);
        const C_Time t = At(p.unix, p.ms);
        EXPECT_EQ(t.GetLocYear(&zone), p.year);
        EXPECT_EQ(t.GetLocMonth(&zone), p.month);
        EXPECT_EQ(t.GetLocDay(&zone), p.day);
        EXPECT_EQ(t.GetLocHour(&zone), p.hour);
        EXPECT_EQ(t.GetLocMinute(&zone), p.minute);
        EXPECT_EQ(t.GetLocSecond(&zone), p.second);
        EXPECT_EQ(t.GetLocMilliseconds(&zone), p.ms);
        EXPECT_EQ(t.GetLocWeekDay(&zone), p.weekday);
        EXPECT_EQ(t.GetLocDayOfYear(&zone), p.dayOfYear);
        EXPECT_EQ(t.GetLocWeekOfYear(&zone), p.week);
    }
}

TEST(CalendarFields, InvalidPointGivesZeroAndSunday) {
    const TIME_ZONE_INFORMATION zone = test_zones::WEurope();
    const C_Time invalid;
    for (const TIME_ZONE_INFORMATION* z : {&zone, static_cast<const TIME_ZONE_INFORMATION*>(nullptr)}) {
        EXPECT_EQ(invalid.GetLocYear(z), 0);
        EXPECT_EQ(invalid.GetLocMonth(z), 0);
        EXPECT_EQ(invalid.GetLocDay(z), 0);
        EXPECT_EQ(invalid.GetLocHour(z), 0);
        EXPECT_EQ(invalid.GetLocMinute(z), 0);
        EXPECT_EQ(invalid.GetLocSecond(z), 0);
        EXPECT_EQ(invalid.GetLocMilliseconds(z), 0);
        EXPECT_EQ(invalid.GetLocWeekDay(z), 6);  // the zeroed weekday field is Sunday
        EXPECT_EQ(invalid.GetLocDayOfYear(z), 0);
        EXPECT_EQ(invalid.GetLocWeekOfYear(z), 0);  // no date, no week
    }
}

TEST(CalendarFields, NullZoneIsTheUserZone) {
    // 2003-12-28 20:00 UTC: Monday 29 December 05:00 in Tokyo (week 1 of 2004), Sunday
    // 28 December 10:00 ten hours west (week 52 of 2003).
    const C_Time t = At(1072569600 + 20 * 3600);
    const TIME_ZONE_INFORMATION west = TenWest();
    {
        UserZoneScope scope(test_zones::Tokyo());
        EXPECT_EQ(t.GetLocDay(), 29);
        EXPECT_EQ(t.GetLocHour(), 5);
        EXPECT_EQ(t.GetLocWeekDay(), 0);
        EXPECT_EQ(t.GetLocDayOfYear(), 362);
        EXPECT_EQ(t.GetLocWeekOfYear(), 1);
        // A zone passed explicitly decides alone, whatever the user zone is.
        EXPECT_EQ(t.GetLocDay(&west), 28);
        EXPECT_EQ(t.GetLocWeekDay(&west), 6);
        EXPECT_EQ(t.GetLocWeekOfYear(&west), 52);
        // Local midnight of 29 December in Tokyo: 28 December 15:00 UTC.
        EXPECT_EQ(t.StartDayLOC(), At(1072569600 + 15 * 3600));
        EXPECT_EQ(t.StartWeekLOC(), At(1072569600 + 15 * 3600));
    }
    {
        UserZoneScope scope(west);
        EXPECT_EQ(t.GetLocWeekOfYear(), 52);
        EXPECT_EQ(t.GetLocHour(), 10);
        // Monday 22 December 00:00 local, 10:00 UTC.
        EXPECT_EQ(t.StartWeekLOC(), At(1072569600 - 6 * kDaySeconds + 10 * 3600));
    }
}

// ---- Days of the year and ISO weeks ---------------------------------------------------

TEST(IsoWeeks, CalendarEdgeDates) {
    struct Row {
        std::int64_t utcMidnight;  // Unix seconds of the date's UTC midnight
        const char* date;
        int weekday, dayOfYear, week;
    };
    const Row rows[] = {
        {1041379200, "2003-01-01", 2, 0, 1},    {1046476800, "2003-03-01", 5, 59, 9},
        {1048464000, "2003-03-24", 0, 82, 13},  {1048982400, "2003-03-30", 6, 88, 13},
        {1072569600, "2003-12-28", 6, 361, 52}, {1072656000, "2003-12-29", 0, 362, 1},
        {1072828800, "2003-12-31", 2, 364, 1},  {1072915200, "2004-01-01", 3, 0, 1},
        {1078099200, "2004-03-01", 0, 60, 10},  {1104451200, "2004-12-31", 4, 365, 53},
        {1104537600, "2005-01-01", 5, 0, 53},   {1104624000, "2005-01-02", 6, 1, 53},
        {1104710400, "2005-01-03", 0, 2, 1},    {951782400, "2000-02-29", 1, 59, 9},
        {978220800, "2000-12-31", 6, 365, 52},  {1230508800, "2008-12-29", 0, 363, 1},
        {1262217600, "2009-12-31", 3, 364, 53}, {1262476800, "2010-01-03", 6, 2, 53},
        {1262563200, "2010-01-04", 0, 3, 1},    {4102358400, "2099-12-31", 3, 364, 53},
        {4102444800, "2100-01-01", 4, 0, 53},   {4107542400, "2100-03-01", 0, 59, 9},
    };
    // The same date in four zones, at the first and the last second of the local day.
    struct ZoneCase {
        TIME_ZONE_INFORMATION zone;
        std::int64_t westOfUtc;  // seconds: UTC = local + westOfUtc, outside summer time
    };
    const ZoneCase zones[] = {{UtcZone(), 0}, {TenWest(), 36000}, {test_zones::Tokyo(), -32400},
                              {Make(300, 0, SYSTEMTIME{}, SYSTEMTIME{}), 18000}};
    const std::int64_t kTimesOfDay[] = {0, 14 * 3600 - 1, 14 * 3600, kDaySeconds - 1};
    for (const Row& r : rows) {
        for (const ZoneCase& z : zones) {
            for (const std::int64_t timeOfDay : kTimesOfDay) {
                SCOPED_TRACE(std::string(r.date) + " bias " + std::to_string(z.zone.Bias) + " at " +
                             std::to_string(timeOfDay));
                const C_Time t = At(r.utcMidnight + z.westOfUtc + timeOfDay);
                EXPECT_EQ(t.GetLocWeekDay(&z.zone), r.weekday);
                EXPECT_EQ(t.GetLocDayOfYear(&z.zone), r.dayOfYear);
                EXPECT_EQ(t.GetLocWeekOfYear(&z.zone), r.week);
            }
        }
    }
}

// Every day from 1990 to 2100, read at four times of the local day in UTC and ten hours
// west of it, against two independent references: a naive walk through the calendar (a
// Monday from 29 December to 4 January begins week 1, every other Monday the next week),
// and per-year sums of Python's isocalendar.
TEST(IsoWeeks, EveryDayFrom1990To2100InUtcAndTenHoursWest) {
    const std::int64_t timesOfDay[] = {0, 13 * 3600 + 59 * 60 + 59, 14 * 3600, kDaySeconds - 1};
    for (const Zone zoneId : {calendar_answers::kUtc, calendar_answers::kTenWest}) {
        const TIME_ZONE_INFORMATION zone = ZoneOf(zoneId);
        const std::int64_t westOfUtc = static_cast<std::int64_t>(zone.Bias) * 60;
        SCOPED_TRACE("bias " + std::to_string(zone.Bias));
        // The walk starts on Monday 1 January 1990, in week 1.
        int year = calendar_answers::kFirstYear, month = 1, day = 1, weekday = 0, week = 1, dayOfYear = 0;
        std::int64_t localMidnight = calendar_answers::kFirstDay;  // as if it were UTC
        int failures = 0;
        for (const auto& expected : calendar_answers::kYearWeeks) {
            ASSERT_EQ(year, expected.year);
            ASSERT_EQ(weekday, expected.jan1Weekday);
            ASSERT_EQ(week, expected.jan1Week);
            std::int64_t weekSum = 0, weekWeighted = 0, weekdayWeighted = 0;
            int days = 0, lastWeek = 0;
            while (year == expected.year) {
                ++days;
                weekSum += week;
                weekWeighted += std::int64_t{days} * week;
                weekdayWeighted += std::int64_t{days} * weekday;
                lastWeek = week;
                for (const std::int64_t timeOfDay : timesOfDay) {
                    const C_Time t = At(localMidnight + westOfUtc + timeOfDay);
                    if (t.GetLocYear(&zone) != year || t.GetLocMonth(&zone) != month || t.GetLocDay(&zone) != day ||
                        t.GetLocWeekDay(&zone) != weekday || t.GetLocDayOfYear(&zone) != dayOfYear ||
                        t.GetLocWeekOfYear(&zone) != week) {
                        ADD_FAILURE() << year << "-" << month << "-" << day << " +" << timeOfDay
                                      << " s: expected weekday " << weekday << ", day " << dayOfYear << ", week "
                                      << week << "; got " << t.GetLocYear(&zone) << "-" << t.GetLocMonth(&zone)
                                      << "-" << t.GetLocDay(&zone) << ", weekday " << t.GetLocWeekDay(&zone)
                                      << ", day " << t.GetLocDayOfYear(&zone) << ", week "
                                      << t.GetLocWeekOfYear(&zone);
                        if (++failures >= 10) return;
                    }
                }
                // The next day, by hand.
                static const int kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
                const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
                const int monthDays = month == 2 && leap ? 29 : kMonthDays[month - 1];
                localMidnight += kDaySeconds;
                ++dayOfYear;
                if (++day > monthDays) {
                    day = 1;
                    if (++month > 12) {
                        month = 1;
                        ++year;
                        dayOfYear = 0;
                    }
                }
                weekday = (weekday + 1) % 7;
                if (weekday == 0) week = (month == 12 && day >= 29) || (month == 1 && day <= 4) ? 1 : week + 1;
            }
            EXPECT_EQ(days, expected.days) << expected.year;
            EXPECT_EQ(lastWeek, expected.dec31Week) << expected.year;
            EXPECT_EQ(weekSum, expected.weekSum) << expected.year;
            EXPECT_EQ(weekWeighted, expected.weekWeighted) << expected.year;
            EXPECT_EQ(weekdayWeighted, expected.weekdayWeighted) << expected.year;
        }
        EXPECT_EQ(year, calendar_answers::kLastYear + 1);
    }
}

// ---- Period starts ------------------------------------------------------------------

TEST(PeriodStarts, LocalAndUtcStartsOfKnownPoints) {
    for (const auto& p : calendar_answers::kPoints) {
        SCOPED_TRACE(Describe(p));
        const TIME_ZONE_INFORMATION zone = ZoneOf(p.zone);
        const C_Time t = At(p.unix, p.ms);
        EXPECT_EQ(t.StartYearLOC(&zone), At(p.loc[0]));
        EXPECT_EQ(t.StartMonthLOC(&zone), At(p.loc[1]));
        EXPECT_EQ(t.StartWeekLOC(&zone), At(p.loc[2]));
        EXPECT_EQ(t.StartDayLOC(&zone), At(p.loc[3]));
        EXPECT_EQ(t.StartHour2LOC(&zone), At(p.loc[4]));
        EXPECT_EQ(t.StartHourLOC(&zone), At(p.loc[5]));
        EXPECT_EQ(t.StartMinLOC(&zone), At(p.loc[6]));
        EXPECT_EQ(t.StartSecLOC(&zone), At(p.loc[7]));
        EXPECT_EQ(t.EndDayLOC(&zone), At(p.loc[8]));
        EXPECT_EQ(t.StartYearUTC(), At(p.utc[0]));
        EXPECT_EQ(t.StartMonthUTC(), At(p.utc[1]));
        EXPECT_EQ(t.StartWeekUTC(), At(p.utc[2]));
        EXPECT_EQ(t.StartDayUTC(), At(p.utc[3]));
        EXPECT_EQ(t.StartHour2UTC(), At(p.utc[4]));
        EXPECT_EQ(t.StartHourUTC(), At(p.utc[5]));
        EXPECT_EQ(t.StartMinUTC(), At(p.utc[6]));
        EXPECT_EQ(t.StartSecUTC(), At(p.utc[7]));
        EXPECT_EQ(t.EndDayUTC(), At(p.utc[8]));
    }
}

TEST(PeriodStarts, UtcBlocksAndSeconds) {
    const std::int64_t day = 1078012800;  // 2004-02-29 00:00 UTC
    // The two-hour block begins at the even hour at or before the point's hour.
    for (int hour = 0; hour < 24; ++hour) {
        for (const std::int64_t within : {std::int64_t{0}, std::int64_t{3599}}) {
            const C_Time t = At(day + hour * 3600 + within, 999);
            EXPECT_EQ(t.StartHour2UTC(), At(day + (hour / 2 * 2) * 3600)) << hour << " +" << within;
            EXPECT_EQ(t.StartHourUTC(), At(day + hour * 3600)) << hour << " +" << within;
        }
    }
    EXPECT_EQ(At(day + 13 * 3600 + 59 * 60 + 59).StartHour2UTC(), At(day + 12 * 3600));  // 13:59:59
    EXPECT_EQ(At(day + 14 * 3600).StartHour2UTC(), At(day + 14 * 3600));                 // 14:00:00
    // Milliseconds are dropped, whole seconds kept.
    EXPECT_EQ(At(day + 45296, 789).StartSecUTC(), At(day + 45296));
    EXPECT_EQ(At(day + 45296).StartSecUTC(), At(day + 45296));
    EXPECT_EQ(C_Time(test_zones::FromUnix(day + 45296) + 9999).StartSecUTC(), At(day + 45296));  // 0.9999 ms
    EXPECT_EQ(At(day + 45296, 789).StartMinUTC(), At(day + 45240));
}

TEST(PeriodStarts, UtcWeekBeginsOnMonday) {
    const std::int64_t monday = 1048464000;  // 2003-03-24 00:00 UTC
    // Sunday 2003-03-30 12:00 UTC.
    EXPECT_EQ(At(1048982400 + 12 * 3600).StartWeekUTC(), At(monday));
    // Every second-precise corner of that week, and the next Monday.
    for (int d = 0; d < 7; ++d) {
        EXPECT_EQ(At(monday + d * kDaySeconds).StartWeekUTC(), At(monday)) << d;
        EXPECT_EQ(At(monday + (d + 1) * kDaySeconds - 1, 999).StartWeekUTC(), At(monday)) << d;
    }
    EXPECT_EQ(At(monday + 7 * kDaySeconds).StartWeekUTC(), At(monday + 7 * kDaySeconds));
    // Over a new year: Thursday 2004-01-01 lies in the week of Monday 2003-12-29.
    EXPECT_EQ(At(1072915200 + 3600).StartWeekUTC(), At(1072656000));
}

TEST(PeriodStarts, LocalWeekAcrossMidWeekChangeOvers) {
    const TIME_ZONE_INFORMATION zone = MidWeek();
    // Summer time begins on Wednesday 2003-03-26: Monday 24 March 00:00 is still UTC+1,
    // so the week begins at 2003-03-23 23:00 UTC.
    const std::int64_t springMonday = 1048464000 - 3600;
    // It ends on Wednesday 2003-10-29: Monday 27 October 00:00 is UTC+2, 2003-10-26 22:00 UTC.
    const std::int64_t autumnMonday = 1067212800 - 2 * 3600;
    struct Row {
        int month, day;
        std::int64_t monday;
    };
    const Row rows[] = {
        {3, 24, springMonday}, {3, 25, springMonday}, {3, 26, springMonday}, {3, 27, springMonday},
        {3, 28, springMonday}, {3, 29, springMonday}, {3, 30, springMonday},
        {10, 27, autumnMonday}, {10, 28, autumnMonday}, {10, 29, autumnMonday}, {10, 30, autumnMonday},
        {10, 31, autumnMonday}, {11, 1, autumnMonday}, {11, 2, autumnMonday},
    };
    for (const Row& r : rows) {
        for (const int hour : {0, 10, 23}) {
            const C_Time t(2003, r.month, r.day, hour, 30, 0, &zone);
            ASSERT_TRUE(t.IsValid());
            EXPECT_EQ(t.StartWeekLOC(&zone), At(r.monday)) << r.month << "-" << r.day << " " << hour << ":30";
        }
    }
    // The change-overs really lie inside those weeks.
    EXPECT_EQ(C_Time(2003, 3, 26, 12, 0, 0, &zone).GetLocLenDay(&zone), Hours(23));
    EXPECT_EQ(C_Time(2003, 10, 29, 12, 0, 0, &zone).GetLocLenDay(&zone), Hours(25));
}

TEST(PeriodStarts, EndOfTheAutumnChangeOverDay) {
    const TIME_ZONE_INFORMATION zone = test_zones::WEurope();
    // 2003-10-26 runs from 2003-10-25 22:00 UTC (00:00 summer time) to 2003-10-26 23:00 UTC
    // (00:00 standard time on the 27th), 25 hours; every point of it ends there.
    const std::int64_t start = 1067119200, end = 1067209200;
    for (std::int64_t s = start; s < end; s += 900) {
        const C_Time t = At(s);
        EXPECT_EQ(t.EndDayLOC(&zone), At(end)) << s;
        EXPECT_EQ(t.StartDayLOC(&zone), At(start)) << s;
    }
    EXPECT_EQ(At(end - 1, 999).EndDayLOC(&zone), At(end));
    EXPECT_EQ(At(end).EndDayLOC(&zone), At(end + kDaySeconds));
    // The spring day: 2003-03-29 23:00 UTC to 2003-03-30 22:00 UTC, 23 hours.
    EXPECT_EQ(At(1048978800).EndDayLOC(&zone), At(1049061600));
    EXPECT_EQ(At(1049061600 - 1).EndDayLOC(&zone), At(1049061600));
}

TEST(PeriodStarts, UtcBoundaryOnTickZeroIsTheInvalidTime) {
    // 1601-01-01 was a Monday; its midnight is tick 0.
    const C_Time early(static_cast<unsigned __int64>(3 * kDayTicks + 5 * kHourTicks));
    EXPECT_TRUE(early.StartYearUTC().IsInvalid());
    EXPECT_TRUE(early.StartMonthUTC().IsInvalid());
    EXPECT_TRUE(early.StartWeekUTC().IsInvalid());
    EXPECT_EQ(early.StartDayUTC(), C_Time(static_cast<unsigned __int64>(3 * kDayTicks)));
    EXPECT_EQ(early.EndDayUTC(), C_Time(static_cast<unsigned __int64>(4 * kDayTicks)));
}

// ---- Local lengths ------------------------------------------------------------------

TEST(LocalLengths, KnownPoints) {
    for (const auto& p : calendar_answers::kPoints) {
        SCOPED_TRACE(Describe(p));
        const TIME_ZONE_INFORMATION zone = ZoneOf(p.zone);
        const C_Time t = At(p.unix, p.ms);
        EXPECT_EQ(t.GetLocLenYear(&zone), C_TimeSpan(p.len[0] * kSecondTicks));
        EXPECT_EQ(t.GetLocLenMonth(&zone), C_TimeSpan(p.len[1] * kSecondTicks));
        EXPECT_EQ(t.GetLocLenDay(&zone), C_TimeSpan(p.len[2] * kSecondTicks));
    }
}

TEST(LocalLengths, EveryDayOf2003InWesternEurope) {
    const TIME_ZONE_INFORMATION zone = test_zones::WEurope();
    const std::int64_t firstDay = 1041379200;  // 2003-01-01 00:00 UTC
    for (int d = 0; d < 365; ++d) {
        // 10:30 UTC is 11:30 or 12:30 local, always on the same date as in UTC.
        const C_Time t = At(firstDay + d * kDaySeconds + 10 * 3600 + 1800);
        const C_TimeSpan expected = d == 88 ? Hours(23) : d == 298 ? Hours(25) : Hours(24);  // 30 Mar, 26 Oct
        EXPECT_EQ(t.GetLocLenDay(&zone), expected) << "day " << d;
    }
}

TEST(LocalLengths, MonthsAndYearsInWesternEurope) {
    const TIME_ZONE_INFORMATION zone = test_zones::WEurope();
    const int kDays2003[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int month = 1; month <= 12; ++month) {
        // Summer time begins in March (one hour less) and ends in October (one more).
        const C_TimeSpan expected = Days(kDays2003[month - 1]) + Hours(month == 3 ? -1 : month == 10 ? 1 : 0);
        for (const int day : {1, 15, kDays2003[month - 1]}) {
            EXPECT_EQ(C_Time(2003, month, day, 12, 0, 0, &zone).GetLocLenMonth(&zone), expected)
                << month << "-" << day;
        }
    }
    // A point on 31 January measures January, not a month from the 31st.
    EXPECT_EQ(At(1044032400).GetLocLenMonth(&zone), Days(31));  // 2003-01-31 18:00 local
    // The lost and the regained hour cancel out over the year.
    EXPECT_EQ(At(1041379200 + 100 * kDaySeconds).GetLocLenYear(&zone), Days(365));
    EXPECT_EQ(At(1072915200 + 100 * kDaySeconds).GetLocLenYear(&zone), Days(366));  // 2004
    // New year's eve 23:30 local is still 2003: 2003-12-31 22:30 UTC.
    EXPECT_EQ(At(1072909800).GetLocLenYear(&zone), Days(365));
    EXPECT_EQ(At(1072909800).GetLocLenMonth(&zone), Days(31));
}
