#include "timelib/civil.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>

using namespace quendel::civil;

namespace {

SYSTEMTIME Fields(WORD y, WORD mo, WORD d, WORD h = 0, WORD mi = 0, WORD s = 0, WORD ms = 0) {
    return SYSTEMTIME{y, mo, 0, d, h, mi, s, ms};
}

}  // namespace

// Every day from Monday 1601-01-01 to the last one the platform names, 30828-09-14,
// against a plain day-by-day walk of the calendar.
TEST(Civil, EveryDayOfTheWholeRange) {
    const unsigned char lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int y = 1601;
    unsigned m = 1, d = 1, weekday = 1;
    for (std::uint32_t days = 0; days <= 10675199; ++days) {
        const CivilDate c = CivilFromDays(days);
        ASSERT_EQ(c.year, y) << days;
        ASSERT_EQ(c.month, m) << days;
        ASSERT_EQ(c.day, d) << days;
        ASSERT_EQ(DaysFromCivil(y, m, d), static_cast<std::int32_t>(days));
        ASSERT_EQ(WeekdayFromDays(days), weekday);
        const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
        ASSERT_EQ(DaysInMonth(y, m), m == 2 && leap ? 29u : lengths[m - 1]);
        weekday = (weekday + 1) % 7;
        if (++d > DaysInMonth(y, m)) {
            d = 1;
            if (++m > 12) m = 1, ++y;
        }
    }
    EXPECT_EQ(y, 30828);
    EXPECT_EQ(m, 9u);
    EXPECT_EQ(d, 15u);
}

TEST(Civil, LeapYearsAndMonthLengths) {
    EXPECT_EQ(DaysInMonth(1900, 2), 28u);
    EXPECT_EQ(DaysInMonth(2000, 2), 29u);
    EXPECT_EQ(DaysInMonth(2004, 2), 29u);
    EXPECT_EQ(DaysInMonth(2003, 2), 28u);
    EXPECT_EQ(DaysInMonth(2003, 4), 30u);
    EXPECT_EQ(DaysInMonth(2003, 12), 31u);
}

// Known counts: the Unix epoch (documented FILETIME offset), 2000-01-01 and others computed
// with Python's datetime; the largest count FileTimeToSystemTime accepts is documented as
// 30828-09-14 02:48:05.4775807.
TEST(Civil, KnownTickCounts) {
    struct Case {
        SYSTEMTIME fields;
        std::uint64_t ticks;
        WORD weekday;
    } const cases[] = {
        {Fields(1601, 1, 1), 0, 1},
        {Fields(1970, 1, 1), 116444736000000000ull, 4},
        {Fields(2000, 1, 1), 125911584000000000ull, 6},
        {Fields(2003, 12, 24, 12), 127167408000000000ull, 3},
        {Fields(2038, 1, 19, 3, 14, 7), 137919572470000000ull, 2},
        {Fields(9999, 12, 31, 23, 59, 59), 2650467743990000000ull, 5},
        {Fields(30828, 9, 14, 2, 48, 5, 477), 0x7FFFFFFFFFFFFFFFull - 5807, 4},
    };
    for (const Case& c : cases) {
        SYSTEMTIME out;
        ASSERT_TRUE(TicksToFields(c.ticks, &out));
        EXPECT_EQ(out.wYear, c.fields.wYear);
        EXPECT_EQ(out.wMonth, c.fields.wMonth);
        EXPECT_EQ(out.wDay, c.fields.wDay);
        EXPECT_EQ(out.wHour, c.fields.wHour);
        EXPECT_EQ(out.wMinute, c.fields.wMinute);
        EXPECT_EQ(out.wSecond, c.fields.wSecond);
        EXPECT_EQ(out.wMilliseconds, c.fields.wMilliseconds);
        EXPECT_EQ(out.wDayOfWeek, c.weekday) << c.fields.wYear;
        std::uint64_t back = 1;
        if (c.fields.wYear <= kMaxYear) {
            ASSERT_TRUE(FieldsToTicks(c.fields, &back));
            EXPECT_EQ(back, c.ticks);
        }
    }
    SYSTEMTIME out = Fields(1, 1, 1);
    EXPECT_TRUE(TicksToFields(0x7FFFFFFFFFFFFFFFull, &out));
    EXPECT_FALSE(TicksToFields(0x8000000000000000ull, &out));
    EXPECT_FALSE(TicksToFields(~0ull, &out));
}

// The published contract of SystemTimeToFileTime: every field in range, the day within its
// month by the Gregorian leap rule, years 1601 to 30827; the weekday is ignored.
TEST(Civil, FieldsToTicksValidates) {
    std::uint64_t t = 7;
    EXPECT_FALSE(FieldsToTicks(Fields(2003, 2, 29), &t));
    EXPECT_FALSE(FieldsToTicks(Fields(1900, 2, 29), &t));
    EXPECT_FALSE(FieldsToTicks(Fields(2003, 4, 31), &t));
    EXPECT_FALSE(FieldsToTicks(Fields(2003, 1, 0), &t));
    EXPECT_FALSE(FieldsToTicks(Fields(2003, 0, 1), &t));
    EXPECT_FALSE(FieldsToTicks(Fields(2003, 13, 1), &t));
    EXPECT_FALSE(FieldsToTicks(Fields(1600, 12, 31), &t));
    EXPECT_FALSE(FieldsToTicks(Fields(30828, 1, 1), &t));
    EXPECT_FALSE(FieldsToTicks(Fields(2003, 1, 1, 24), &t));
    EXPECT_FALSE(FieldsToTicks(Fields(2003, 1, 1, 0, 60), &t));
    EXPECT_FALSE(FieldsToTicks(Fields(2003, 1, 1, 0, 0, 60), &t));
    EXPECT_FALSE(FieldsToTicks(Fields(2003, 1, 1, 0, 0, 0, 1000), &t));
    EXPECT_EQ(t, 7u);
    EXPECT_TRUE(FieldsToTicks(Fields(2004, 2, 29), &t));
    EXPECT_TRUE(FieldsToTicks(Fields(2000, 2, 29), &t));
    SYSTEMTIME odd = Fields(2000, 1, 1);
    odd.wDayOfWeek = 77;
    ASSERT_TRUE(FieldsToTicks(odd, &t));
    EXPECT_EQ(t, 125911584000000000ull);
    ASSERT_TRUE(FieldsToTicks(Fields(30827, 12, 31, 23, 59, 59, 999), &t));
    SYSTEMTIME back;
    ASSERT_TRUE(TicksToFields(t, &back));
    EXPECT_EQ(back.wYear, 30827);
}

// The arithmetic against the platform calls it replaces, over millions of random points:
// ticks to fields against FileTimeToSystemTime everywhere (the tick range and beyond it);
// fields to ticks against SystemTimeToFileTime for fields near and beyond their ranges.
// Where the two differ, the platform must be the one off its published contract (Wine
// accepts 29 February of common years, and years past the documented last one,
// 30827): the published contract is what is held.
TEST(Civil, AgreesWithThePlatformOverMillionsOfPoints) {
    std::mt19937_64 rng(16010101);
    int platformQuirks = 0;
    for (int i = 0; i < 2000000; ++i) {
        // Most points anywhere in the range, some near its ends and past them.
        std::uint64_t ticks = rng();
        if (i % 16 == 0) ticks = kMaxTicks - 100000000000ull + rng() % 200000000000ull;
        if (i % 16 == 1) ticks = rng() % 100000000000ull;
        if (i % 2 == 0) ticks &= kMaxTicks;
        SYSTEMTIME ours = {}, platform = {};
        const FILETIME ft = {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
        const bool oursOk = TicksToFields(ticks, &ours);
        const bool platformOk = FileTimeToSystemTime(&ft, &platform) != FALSE;
        ASSERT_EQ(oursOk, platformOk) << ticks;
        if (!oursOk) continue;
        ASSERT_EQ(std::memcmp(&ours, &platform, sizeof ours), 0) << ticks;

        // The fields back, and near-valid variations of them.
        SYSTEMTIME f = ours;
        switch (i % 8) {
        case 0: f.wDay = static_cast<WORD>(28 + rng() % 5); break;    // 28 to 32
        case 1: f.wMonth = static_cast<WORD>(rng() % 14); break;      // 0 to 13
        case 2: f.wHour = static_cast<WORD>(22 + rng() % 4); break;   // 22 to 25
        case 3: f.wMilliseconds = static_cast<WORD>(998 + rng() % 4); break;
        case 4: f.wYear = static_cast<WORD>(rng() % 3 == 0 ? 30826 + rng() % 4 : 1599 + rng() % 4); break;
        case 5: f.wMonth = 2; f.wDay = 29; break;                     // leap or not
        default: break;                                              // as they are
        }
        std::uint64_t mine = 0;
        FILETIME theirs = {};
        const bool mineOk = FieldsToTicks(f, &mine);
        const bool theirsOk = SystemTimeToFileTime(&f, &theirs) != FALSE;
        if (mineOk) {
            ASSERT_TRUE(theirsOk) << f.wYear << "-" << f.wMonth << "-" << f.wDay;
            ASSERT_EQ(mine, theirs.dwLowDateTime | static_cast<std::uint64_t>(theirs.dwHighDateTime) << 32);
        } else if (theirsOk) {
            // Only the platform's known leniencies.
            ASSERT_TRUE((f.wMonth == 2 && f.wDay == 29 && !IsLeapYear(f.wYear)) || f.wYear > kMaxYear)
                << f.wYear << "-" << f.wMonth << "-" << f.wDay << " " << f.wHour << ":" << f.wMinute;
            ++platformQuirks;
        }
    }
    std::printf("the platform accepted %d dates off its contract\n", platformQuirks);
}
