#include "timelib/c_timespan.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace {
constexpr __int64 kSecond = 10000000;
constexpr __int64 kMinute = 60 * kSecond;
constexpr __int64 kHour = 60 * kMinute;
constexpr __int64 kDay = 24 * kHour;
}  // namespace

TEST(TimeSpan, ConstructionAndValidity) {
    EXPECT_TRUE(C_TimeSpan().IsInvalid());
    EXPECT_EQ(static_cast<__int64>(C_TimeSpan()), 0x7FFFFFFFFFFFFFFFll);
    EXPECT_TRUE(C_TimeSpan(0).IsValid());
    EXPECT_EQ(static_cast<__int64>(C_TimeSpan(60L, 10000000L)), 600000000);
    // The full 64-bit product of two 32-bit factors.
    EXPECT_EQ(static_cast<__int64>(C_TimeSpan(2000000000L, 10000000L)), 20000000000000000ll);
    EXPECT_EQ(static_cast<__int64>(C_TimeSpan(-3L, 10000000L)), -30000000);
    EXPECT_EQ(C_TimeSpan(1, 2, 3, 4, 5).GetMSeconds(), 93784005u);
    EXPECT_EQ(static_cast<__int64>(C_TimeSpan(0, 0, 0, 0, -1)), -10000);
    // 24 days 20:31:23.647 is the largest 32-bit millisecond total; one more wraps.
    EXPECT_EQ(static_cast<__int64>(C_TimeSpan(24, 20, 31, 23, 647)), 2147483647ll * 10000);
    EXPECT_EQ(static_cast<__int64>(C_TimeSpan(24, 20, 31, 23, 648)), -2147483648ll * 10000);
    FILETIME ft = {0x89ABCDEFu, 0x01234567u};
    EXPECT_EQ(static_cast<__int64>(C_TimeSpan(ft)), 0x0123456789ABCDEFll);
    C_TimeSpan s;
    s.SetInvalid();
    EXPECT_TRUE(s.IsInvalid());
    FILETIME out;
    EXPECT_TRUE(C_TimeSpan(-1).GetFileTime(&out));
    EXPECT_EQ(out.dwLowDateTime, 0xFFFFFFFFu);
    EXPECT_EQ(out.dwHighDateTime, 0xFFFFFFFFu);
}

TEST(TimeSpan, ComparisonIsSignedAndArithmeticWraps) {
    EXPECT_LT(C_TimeSpan(-1), C_TimeSpan(0));
    EXPECT_LT(C_TimeSpan(0), C_TimeSpan(1));
    EXPECT_GE(C_TimeSpan(1), C_TimeSpan(1));
    EXPECT_GT(C_TimeSpan(1), C_TimeSpan(LLONG_MIN));
    EXPECT_EQ(C_TimeSpan(5) + C_TimeSpan(-7), C_TimeSpan(-2));
    EXPECT_EQ(C_TimeSpan(5) - C_TimeSpan(7), C_TimeSpan(-2));
    EXPECT_EQ(C_TimeSpan(LLONG_MAX) + C_TimeSpan(1), C_TimeSpan(LLONG_MIN));
    EXPECT_EQ(C_TimeSpan(LLONG_MIN) - C_TimeSpan(1), C_TimeSpan(LLONG_MAX));
    C_TimeSpan s(10);
    s += C_TimeSpan(5);
    EXPECT_EQ(static_cast<__int64>(s), 15);
    s -= C_TimeSpan(20);
    EXPECT_EQ(static_cast<__int64>(s), -5);
    EXPECT_NE(s, C_TimeSpan(5));
}

TEST(TimeSpan, SecondsAndMilliseconds) {
    EXPECT_EQ(C_TimeSpan(19 * kSecond / 10).GetSeconds(), 1);
    EXPECT_EQ(C_TimeSpan(-19 * kSecond / 10).GetSeconds(), -1);
    EXPECT_EQ(C_TimeSpan(-19999).GetMSeconds(), 0xFFFFFFFFu);  // -1 ms, low 32 bits
    // Beyond 2^32 ms only the low 32 bits remain.
    EXPECT_EQ(C_TimeSpan((0x100000000ll + 7) * 10000).GetMSeconds(), 7u);
    EXPECT_EQ(C_TimeSpan((0x80000000ll + 5) * kSecond).GetSeconds(), LONG_MIN + 5);
    C_TimeSpan s;
    s.SetSeconds(-2);
    EXPECT_EQ(static_cast<__int64>(s), -2 * kSecond);
    s.SetMSeconds(0xFFFFFFFFul);
    EXPECT_EQ(static_cast<__int64>(s), -10000);
    s.SetMSeconds(0x7FFFFFFFul);
    EXPECT_EQ(static_cast<__int64>(s), 0x7FFFFFFFll * 10000);
}

TEST(TimeSpan, DivisionAndRastering) {
    EXPECT_EQ(C_TimeSpan(kHour).DivTime(C_TimeSpan(7 * kMinute)), 8);
    EXPECT_EQ(C_TimeSpan(-kHour).DivTime(C_TimeSpan(7 * kMinute)), -8);
    EXPECT_EQ(C_TimeSpan(kHour).DivTime(C_TimeSpan(-7 * kMinute)), -8);
    EXPECT_EQ(C_TimeSpan(LLONG_MIN).DivTime(C_TimeSpan(-1)), 0);  // wraps, low 32 bits of 2^63
    EXPECT_EQ(C_TimeSpan(kHour).DivTime(C_TimeSpan(0)), 0);
    EXPECT_EQ(C_TimeSpan(0x100000005ll).DivTime(C_TimeSpan(1)), 5);

    struct Case {
        __int64 span, raster, expected;
    } const cases[] = {
        {19 * kSecond / 10, kSecond, kSecond},
        {-19 * kSecond / 10, kSecond, -kSecond},
        {2 * kSecond, kSecond, 2 * kSecond},
        {kDay + kHour, kDay, kDay},
        {kHour, 0, kHour},  // a zero raster leaves the span alone
    };
    for (const Case& c : cases) {
        C_TimeSpan s(c.span);
        s.RasterIt(C_TimeSpan(c.raster));
        EXPECT_EQ(static_cast<__int64>(s), c.expected) << c.span << " by " << c.raster;
    }
}

TEST(TimeSpan, IntegerScales) {
    int r = 0;
    EXPECT_TRUE(C_TimeSpan::TimeToInteger(400, C_TimeSpan(kDay), C_TimeSpan(6 * kHour), r));
    EXPECT_EQ(r, 100);
    C_TimeSpan s;
    EXPECT_TRUE(C_TimeSpan::IntegerToTime(400, C_TimeSpan(kDay), 100, s));
    EXPECT_EQ(static_cast<__int64>(s), 6 * kHour);
    EXPECT_TRUE(C_TimeSpan::TimeToInteger(400, C_TimeSpan(kDay), C_TimeSpan(-kHour), r));
    EXPECT_EQ(r, -16);  // -16.67 truncates toward zero
    EXPECT_TRUE(C_TimeSpan::IntegerToTime(3, C_TimeSpan(10), 1, s));
    EXPECT_EQ(static_cast<__int64>(s), 3);  // 3.33 truncates
    // Outside the 64-bit range: defined results instead of undefined conversions.
    EXPECT_TRUE(C_TimeSpan::TimeToInteger(INT_MAX, C_TimeSpan(1), C_TimeSpan(LLONG_MAX), r));
    EXPECT_EQ(r, INT_MAX);
    EXPECT_TRUE(C_TimeSpan::TimeToInteger(INT_MAX, C_TimeSpan(-1), C_TimeSpan(LLONG_MAX), r));
    EXPECT_EQ(r, INT_MIN);
    EXPECT_TRUE(C_TimeSpan::TimeToInteger(1, C_TimeSpan(0), C_TimeSpan(0), r));
    EXPECT_EQ(r, 0);
    EXPECT_TRUE(C_TimeSpan::IntegerToTime(1, C_TimeSpan(LLONG_MAX), INT_MAX, s));
    EXPECT_TRUE(s.IsInvalid());
}
