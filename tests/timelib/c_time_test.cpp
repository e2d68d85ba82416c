#include "timelib/c_time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "timelib/test_zones.h"
#include "timelib/time_source.h"

namespace {

constexpr unsigned __int64 kSecond = 10000000;
constexpr unsigned __int64 kMinute = 60 * kSecond;
constexpr unsigned __int64 kHour = 60 * kMinute;
constexpr unsigned __int64 kDay = 24 * kHour;
constexpr unsigned __int64 kUnixEpoch = 116444736000000000ull;
constexpr unsigned __int64 kOleEpoch = 94353120000000000ull;

C_Time Utc(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    C_Time t;
    EXPECT_TRUE(t.SetTimeUTC(y, mo, d, h, mi, s, ms)) << y << "-" << mo << "-" << d;
    return t;
}

// A clock held still for the duration of a test.
unsigned __int64 g_fakeNow = 0;
void FakeClock(FILETIME* now) { C_Time(g_fakeNow).GetFileTime(now); }

struct FakeClockScope {
    explicit FakeClockScope(unsigned __int64 now) {
        g_fakeNow = now;
        previous = quendel::SetClockSource(FakeClock);
    }
    ~FakeClockScope() { quendel::SetClockSource(previous); }
    quendel::ClockSource previous;
};

}  // namespace

TEST(Time, ConstructionAndPresentTime) {
    EXPECT_TRUE(C_Time().IsInvalid());
    EXPECT_TRUE(C_Time(static_cast<const char*>(nullptr)).IsInvalid());
    {
        FakeClockScope clock(127167408000000000ull);
        EXPECT_EQ(C_Time("Now").GetTimeUTC(), 127167408000000000ull);
        EXPECT_EQ(C_Time("NOW").GetTimeUTC(), 127167408000000000ull);
        EXPECT_EQ(C_Time("anything").GetTimeUTC(), 127167408000000000ull);
        C_Time t;
        t.TimeNow();
        EXPECT_EQ(t.GetTimeUTC(), 127167408000000000ull);
        g_fakeNow = 127167408000000000ull + 4 * kMinute + 59 * kSecond;
        t.TimeNow(C_TimeSpan(10 * static_cast<__int64>(kMinute)));
        EXPECT_EQ(t.GetTimeUTC(), 127167408000000000ull);
    }
    // The real clock: some moment after this code was written.
    EXPECT_GT(C_Time("Now"), Utc(2026, 1, 1));
    FILETIME ft = {0x89ABCDEFu, 0x01234567u};
    C_Time fromFt(ft);
    EXPECT_EQ(fromFt.GetTimeUTC(), 0x0123456789ABCDEFull);
    FILETIME out;
    EXPECT_TRUE(fromFt.GetFileTime(&out));
    EXPECT_EQ(out.dwLowDateTime, ft.dwLowDateTime);
    EXPECT_EQ(out.dwHighDateTime, ft.dwHighDateTime);
    C_Time copy;
    copy = &fromFt;
    EXPECT_EQ(copy, fromFt);
    C_Time set;
    EXPECT_TRUE(set.SetFileTime(FILETIME{0, 0x80000000u}));  // no check at all
    EXPECT_EQ(set.GetTimeUTC(), 0x8000000000000000ull);
    static_assert(sizeof(C_Time) == 8 && sizeof(C_TimeSpan) == 8);
}

TEST(Time, ComparisonAndArithmetic) {
    EXPECT_LT(C_Time(), C_Time(1));
    EXPECT_LT(C_Time(1), C_Time(0x8000000000000000ull));  // unsigned
    EXPECT_EQ(C_Time(10) - C_Time(15), C_TimeSpan(-5));
    EXPECT_EQ(C_Time(10) + C_TimeSpan(-15), C_Time(~0ull - 4));  // wraps, validity ignored
    EXPECT_EQ(C_Time(10) - C_TimeSpan(20), C_Time(~0ull - 9));
    C_Time t(100);
    t += C_TimeSpan(5);
    t -= C_TimeSpan(10);
    EXPECT_EQ(t.GetTimeUTC(), 95u);
    t.SetInvalid();
    EXPECT_FALSE(t.IsValid());
}

TEST(Time, UnixTime) {
    C_Time t;
    EXPECT_TRUE(t.SetUnixTime(0));
    EXPECT_EQ(t.GetTimeUTC(), kUnixEpoch);
    EXPECT_TRUE(t.SetUnixTime(-2147483647L - 1));
    EXPECT_EQ(t, Utc(1901, 12, 13, 20, 45, 52));
    EXPECT_EQ(C_Time().GetUnixTime(), 0);
    EXPECT_EQ(Utc(1969, 12, 31, 23, 59, 59).GetUnixTime(), 0);
    EXPECT_EQ(Utc(2038, 1, 19, 3, 14, 7).GetUnixTime(), 2147483647L);
    EXPECT_EQ(Utc(2038, 1, 19, 3, 14, 8).GetUnixTime(), -2147483647L - 1);  // wraps
    EXPECT_EQ(Utc(2003, 12, 24, 12).GetUnixTime(), 1072267200L);
    EXPECT_EQ(C_Time(kUnixEpoch + 19999999).GetUnixTime(), 1);  // truncates
    // Past 2^32 seconds the low 32 bits: 2106-02-07 06:28:16 is 2^32 s after the epoch,
    // 9999-12-31 23:59:59 is 253402300799 s (low word 4294197631).
    EXPECT_EQ(Utc(2106, 2, 7, 6, 28, 16).GetUnixTime(), 0);
    EXPECT_EQ(Utc(2106, 2, 7, 6, 28, 17).GetUnixTime(), 1);
    EXPECT_EQ(Utc(9999, 12, 31, 23, 59, 59).GetUnixTime(), -769665L);
    EXPECT_EQ(C_Time(0x8000000000000000ull + kUnixEpoch).GetUnixTime(), 0);  // beyond the signed range
}

TEST(Time, OleAutomationDates) {
    C_Time t;
    EXPECT_TRUE(t.SetVariantTimeUTC(0.0));
    EXPECT_EQ(t.GetTimeUTC(), kOleEpoch);
    EXPECT_TRUE(t.SetVariantTimeUTC(1.5));
    EXPECT_EQ(t, Utc(1899, 12, 31, 12));
    EXPECT_TRUE(t.SetVariantTimeUTC(-1.25));
    EXPECT_EQ(t, Utc(1899, 12, 28, 18));
    EXPECT_TRUE(t.SetVariantTimeUTC(37979.5));  // 2003-12-24 12:00
    EXPECT_EQ(t, Utc(2003, 12, 24, 12));
    double d = 0;
    EXPECT_TRUE(C_Time().GetVariantTimeUTC(&d));
    EXPECT_EQ(d, -109205.0);
    EXPECT_TRUE(Utc(2003, 12, 24, 18).GetVariantTimeUTC(&d));
    EXPECT_EQ(d, 37979.75);
    EXPECT_TRUE(Utc(1899, 12, 28, 18).GetVariantTimeUTC(&d));
    EXPECT_EQ(d, -1.25);
    // Beyond the 64-bit tick range, and NaN: the invalid time instead of undefined behaviour.
    t = C_Time(5);
    EXPECT_TRUE(t.SetVariantTimeUTC(1e300));
    EXPECT_TRUE(t.IsInvalid());
    t = C_Time(5);
    EXPECT_TRUE(t.SetVariantTimeUTC(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_TRUE(t.IsInvalid());
}

TEST(Time, UtcFields) {
    C_Time t(77);
    EXPECT_TRUE(t.SetTimeUTC(2003, 5, 17, 8, 30, 15, 250));
    SYSTEMTIME f;
    ASSERT_TRUE(t.GetSystemTimeUTC(&f));
    EXPECT_EQ(f.wYear, 2003);
    EXPECT_EQ(f.wMonth, 5);
    EXPECT_EQ(f.wDay, 17);
    EXPECT_EQ(f.wDayOfWeek, 6);  // a Saturday
    EXPECT_EQ(f.wHour, 8);
    EXPECT_EQ(f.wMinute, 30);
    EXPECT_EQ(f.wSecond, 15);
    EXPECT_EQ(f.wMilliseconds, 250);
    C_Time back;
    EXPECT_TRUE(back.SetSystemTimeUTC(&f));
    EXPECT_EQ(back, t);

    // Range checks keep the previous value; a failed conversion leaves the invalid time.
    const C_Time before = t;
    EXPECT_FALSE(t.SetTimeUTC(2003, 13, 1, 0, 0, 0, 0));
    EXPECT_FALSE(t.SetTimeUTC(1600, 1, 1, 0, 0, 0, 0));
    EXPECT_FALSE(t.SetTimeUTC(2003, 1, 1, 24, 0, 0, 0));
    EXPECT_FALSE(t.SetTimeUTC(2003, 1, 1, 0, 0, 0, 1000));
    EXPECT_FALSE(t.SetTimeUTC(2003, 1, 32, 0, 0, 0, 0));
    EXPECT_FALSE(t.SetTimeUTC(2003, 1, 1, 0, -1, 0, 0));
    EXPECT_EQ(t, before);
    EXPECT_FALSE(t.SetTimeUTC(2003, 2, 29, 12, 0, 0, 0));
    EXPECT_TRUE(t.IsInvalid());
    t = before;
    EXPECT_FALSE(t.SetTimeUTC(30828, 1, 1, 0, 0, 0, 0));
    EXPECT_TRUE(t.IsInvalid());
    t = before;
    EXPECT_FALSE(t.SetTimeUTC(70000, 1, 1, 0, 0, 0, 0));  // not silently cut to 16 bits
    EXPECT_TRUE(t.IsInvalid());
    EXPECT_TRUE(t.SetTimeUTC(1601, 1, 1, 0, 0, 0, 0));  // tick 0: true, yet invalid
    EXPECT_TRUE(t.IsInvalid());
    SYSTEMTIME bad = f;
    bad.wDay = 31;
    bad.wMonth = 4;
    t = before;
    EXPECT_FALSE(t.SetSystemTimeUTC(&bad));
    EXPECT_TRUE(t.IsInvalid());

    ASSERT_TRUE(C_Time().GetSystemTimeUTC(&f));
    EXPECT_EQ(f.wYear, 1601);
    EXPECT_EQ(f.wMonth, 1);
    EXPECT_EQ(f.wDay, 1);
    EXPECT_EQ(f.wHour + f.wMinute + f.wSecond + f.wMilliseconds, 0);
    EXPECT_FALSE(C_Time(0x8000000000000000ull).GetSystemTimeUTC(&f));
}

TEST(Time, RasteringAPoint) {
    const C_TimeSpan second(static_cast<__int64>(kSecond));
    const C_TimeSpan tenMinutes(static_cast<__int64>(10 * kMinute));
    struct Case {
        C_Time in;
        C_TimeSpan raster;
        C_Time expected;
    } const cases[] = {
        {Utc(2003, 1, 1, 12, 0, 0, 500), second, Utc(2003, 1, 1, 12, 0, 1)},
        {C_Time(Utc(2003, 1, 1, 12).GetTimeUTC() + 4999999), second, Utc(2003, 1, 1, 12)},
        {C_Time(Utc(2003, 1, 1, 10, 4, 59).GetTimeUTC() + 9999999), tenMinutes, Utc(2003, 1, 1, 10)},
        {Utc(2003, 1, 1, 10, 5), tenMinutes, Utc(2003, 1, 1, 10, 10)},
        {Utc(2003, 3, 30, 11, 59, 59), C_TimeSpan(static_cast<__int64>(kDay)), Utc(2003, 3, 30)},
        {Utc(2003, 3, 30, 12), C_TimeSpan(static_cast<__int64>(kDay)), Utc(2003, 3, 31)},
        // Weeks fall on Mondays: Sunday 2003-03-30 11:00 is nearest to Monday 03-31 00:00.
        {Utc(2003, 3, 30, 11), C_TimeSpan(static_cast<__int64>(7 * kDay)), Utc(2003, 3, 31)},
        {Utc(2003, 3, 27, 11), C_TimeSpan(static_cast<__int64>(7 * kDay)), Utc(2003, 3, 24)},
        {Utc(2003, 3, 27, 11), C_TimeSpan(0), Utc(2003, 3, 27, 11)},
    };
    for (const Case& c : cases) {
        C_Time t = c.in;
        t.RasterIt(c.raster);
        EXPECT_EQ(t.GetTimeUTC(), c.expected.GetTimeUTC()) << c.in.GetTimeUTC();
    }
}

TEST(Time, LocalFieldsAndFieldConstructor) {
    const TIME_ZONE_INFORMATION berlin = test_zones::WEurope();
    SYSTEMTIME f;
    ASSERT_TRUE(Utc(2003, 7, 1, 22, 30).GetLocSystemTime(&f, &berlin));
    EXPECT_EQ(f.wDay, 2);
    EXPECT_EQ(f.wHour, 0);
    EXPECT_EQ(f.wMinute, 30);
    EXPECT_EQ(f.wDayOfWeek, 3);  // Wednesday 2 July 2003
    f.wYear = 99;
    EXPECT_FALSE(C_Time().GetLocSystemTime(&f, &berlin));
    EXPECT_EQ(f.wYear + f.wMonth + f.wDay + f.wDayOfWeek + f.wHour + f.wMinute + f.wSecond + f.wMilliseconds, 0);
    EXPECT_FALSE(C_Time(0x8000000000000000ull).GetLocSystemTime(&f, &berlin));

    EXPECT_EQ(C_Time(2003, 12, 24, 13, 45, 10, &berlin), Utc(2003, 12, 24, 12, 45, 10));
    EXPECT_TRUE(C_Time(2003, 2, 29, 0, 0, 0, &berlin).IsInvalid());
    EXPECT_TRUE(C_Time(1600, 12, 31, 0, 0, 0, &berlin).IsInvalid());
    C_Time t = Utc(2003, 5, 17, 8, 30, 15, 250);
    EXPECT_FALSE(t.SetLocTime(2003, 5, 17, 8, 60, 0, &berlin));
    EXPECT_EQ(t, Utc(2003, 5, 17, 8, 30, 15, 250));  // range failure keeps the value
    EXPECT_TRUE(t.SetLocTime(2003, 5, 17, 10, 30, 15, &berlin));
    EXPECT_EQ(t, Utc(2003, 5, 17, 8, 30, 15));  // milliseconds 0
    EXPECT_FALSE(t.SetLocTime(2003, 4, 31, 10, 0, 0, &berlin));
    EXPECT_TRUE(t.IsInvalid());
    // 1601-01-01 00:30 in a zone east of UTC lies before tick 0.
    EXPECT_FALSE(t.SetLocTime(1601, 1, 1, 0, 30, 0, &berlin));

    SYSTEMTIME local = {2003, 12, 0, 24, 13, 45, 10, 123};
    EXPECT_TRUE(t.SetLocSystemTime(&local, &berlin));
    EXPECT_EQ(t, Utc(2003, 12, 24, 12, 45, 10, 123));
    local.wMonth = 0;
    EXPECT_FALSE(t.SetLocSystemTime(&local, &berlin));
    EXPECT_TRUE(t.IsInvalid());

    double d = 0;
    EXPECT_TRUE(Utc(2003, 12, 24, 18, 0, 0, 0).GetLocVariantTime(&d, &berlin));
    EXPECT_DOUBLE_EQ(d, 37979.0 + 19.0 / 24);
    const TIME_ZONE_INFORMATION tokyo = test_zones::Tokyo();
    EXPECT_TRUE(Utc(2003, 12, 24, 18).GetLocVariantTime(&d, &tokyo));
    EXPECT_EQ(d, 37980.125);
}
