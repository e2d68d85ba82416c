#include <gtest/gtest.h>

#include <random>
#include <string>

#include "timelib/c_time.h"
#include "timelib/locale_scope.h"
#include "timelib/test_zones.h"

namespace {

const TIME_ZONE_INFORMATION kBerlin = test_zones::WEurope();

C_Time Local(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) { return C_Time(y, mo, d, h, mi, s, &kBerlin); }

// Parses text; the point starts at a known value so that "unchanged" can be told apart.
struct Parsed {
    bool ok;
    C_Time time;
};
Parsed Parse(const char* text, int flags) {
    C_Time t(42);
    const bool ok = t.SetLocFormatTime(text, flags, LOCALE_USER_DEFAULT, &kBerlin);
    return {ok, t};
}

}  // namespace

TEST(ParseLocal, GermanExamples) {
    LocaleScope locale;
    locale.German();
    struct Case {
        const char* text;
        int flags;
        bool ok;
        C_Time expected;
    } const cases[] = {
        {"24.12.2003 - 13:45:10", 0x0a, true, Local(2003, 12, 24, 13, 45, 10)},
        {"24.12.03 - 9:5:3", 0x0a, true, Local(2003, 12, 24, 9, 5, 3)},
        {"24.12.", 0x08, true, Local(2000, 12, 24)},
        {" \t 24.12.2003 - 13:45:10 Uhr", 0x0a, true, Local(2003, 12, 24, 13, 45, 10)},
        {"24.12.2003 - 13:45", 0x0a, true, Local(2003, 12, 24, 13, 45)},
        {"1.1.49", 0x08, true, Local(2049, 1, 1)},
        {"1.1.50", 0x08, true, Local(1950, 1, 1)},
        {"1.1.99", 0x08, true, Local(1999, 1, 1)},
        {"1.1.0100", 0x08, false, C_Time(42)},  // year 100 is taken as written, and rejected
        {"1.1.1600", 0x08, false, C_Time(42)},
        {"24.12.2003 - 13:45:10", 0x0b, true, Local(2003, 12, 24, 13, 45, 10)},  // seconds flag: no effect
        {"24.12.2003 - 13:45:10", 0x02, false, C_Time(42)},                     // no date
        {"24.12.2003 - 13:45:10", 0x0e, false, C_Time(42)},                     // days
        {"24.12.2003 - 24:00:00", 0x0a, false, C_Time(42)},
        {"24.12.2003 - 13:60:00", 0x0a, false, C_Time(42)},
        {"32.12.2003", 0x08, false, C_Time(42)},
        {"24.13.2003", 0x08, false, C_Time(42)},
        {"", 0x08, false, C_Time(42)},
        {"99999999999999.12.2003", 0x08, false, C_Time(42)},
        {"24.12.99999999999999", 0x08, false, C_Time()},  // a year no calendar holds: conversion fails
        // A day beyond its month passes the range test, then the conversion leaves it invalid.
        {"31.02.2003", 0x08, false, C_Time()},
        {"30.03.2003 - 02:30:00", 0x0a, true, C_Time(126934614000000000ull)},  // skipped: standard time
        {"26.10.2003 - 02:30:00", 0x0a, true, C_Time(127116018000000000ull)},  // summer occurrence
    };
    for (const Case& c : cases) {
        const Parsed p = Parse(c.text, c.flags);
        EXPECT_EQ(p.ok, c.ok) << c.text;
        EXPECT_EQ(p.time.GetTimeUTC(), c.expected.GetTimeUTC()) << c.text;
    }
}

TEST(ParseLocal, OtherPatterns) {
    LocaleScope locale;
    locale.German();
    locale.Set(LOCALE_SSHORTDATE, "MM/dd/yyyy");
    Parsed p = Parse("12/24/2003", 0x08);
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.time, Local(2003, 12, 24));
    // A minus sign ends the date: with dashes as separators only the year is read.
    locale.Set(LOCALE_SSHORTDATE, "yyyy-MM-dd");
    p = Parse("2003-12-24", 0x08);
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.time, C_Time(42));
    // The AM/PM designator is not interpreted.
    locale.Set(LOCALE_SSHORTDATE, "dd.MM.yyyy");
    locale.Set(LOCALE_STIMEFORMAT, "h:mm:ss tt");
    p = Parse("24.12.2003 - 1:45:10 PM", 0x0a);
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.time, Local(2003, 12, 24, 1, 45, 10));
}

// Every text that Format writes with date, time and seconds reads back to the same second:
// four-digit years from 1602 on, two-digit years from 1950 to 2049.
TEST(ParseLocal, RoundTripsOfFormattedPoints) {
    LocaleScope locale;
    locale.German();
    std::mt19937_64 rng(1601);
    const C_Time first = Local(1602, 1, 1), last = Local(9999, 12, 31), y1950 = Local(1950, 1, 1),
                 y2050 = Local(2050, 1, 1);
    for (int i = 0; i < 3000; ++i) {
        const bool twoDigit = i % 2 == 1;
        const unsigned __int64 lo = (twoDigit ? y1950 : first).GetTimeUTC(), hi = (twoDigit ? y2050 : last).GetTimeUTC();
        C_Time t(lo + rng() % (hi - lo));
        t = C_Time(t.GetTimeUTC() / 10000000 * 10000000);  // whole seconds
        char text[300];
        t.Format(text, sizeof text, twoDigit ? 0x0b : 0x2b, LOCALE_USER_DEFAULT, &kBerlin);
        C_Time back;
        ASSERT_TRUE(back.SetLocFormatTime(text, 0x0a, LOCALE_USER_DEFAULT, &kBerlin)) << text;
        // The second occurrence of a repeated autumn hour reads as its first, an hour earlier.
        if (back != t) {
            EXPECT_EQ(t - back, C_TimeSpan(36000000000ll)) << text;
        }
    }
}

TEST(ParseTicks, DecimalText) {
    struct Case {
        const char* text;
        unsigned __int64 expected;
    } const cases[] = {
        {"127167408000000000", 127167408000000000ull},
        {"  +42xyz", 42},
        {"1a", 1},
        {"-5", ~0ull - 4},
        {"", 0},
        {"abc", 0},
        {"9223372036854775807", 0x7FFFFFFFFFFFFFFFull},
        {"9223372036854775808", 0x7FFFFFFFFFFFFFFFull},  // saturates
        {"123456789012345678901234567890", 0x7FFFFFFFFFFFFFFFull},
        {"-9223372036854775808", 0x8000000000000000ull},
        {"-99999999999999999999", 0x8000000000000000ull},
    };
    for (const Case& c : cases) {
        C_Time t(7);
        EXPECT_TRUE(t.SetTimeStr(c.text));
        EXPECT_EQ(t.GetTimeUTC(), c.expected) << c.text;
    }
}
