// The calendar arithmetic against a day-by-day walk of the calendar over the whole tick
// range, and against the platform conversions it replaces over millions of random points.
#include "timelib/civil.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>

using namespace quendel::civil;

TEST(Civil, EveryDayOfTheWholeRange) {
    const unsigned char lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int y = 1601;
    unsigned m = 1, d = 1, weekday = 1;  // 1601-01-01 was a Monday
    for (std::uint32_t days = 0; days <= 10675199; ++days) {
        const CivilDate c = CivilFromDays(days);
        ASSERT_TRUE(c.year == y && c.month == m && c.day == d) << days;
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
    EXPECT_TRUE(y == 30828 && m == 9 && d == 15);  // the last day the platform names is 30828-09-14
}

// Ticks to fields against FileTimeToSystemTime everywhere (the range and beyond it); fields
// to ticks against SystemTimeToFileTime for fields near and beyond their ranges. Where the
// two differ, the platform must be the one off its published contract (Wine accepts
// 29 February of common years, and years past 30827): the published contract is held.
TEST(Civil, AgreesWithThePlatformOverMillionsOfPoints) {
    std::mt19937_64 rng(16010101);
    int platformQuirks = 0;
    for (int i = 0; i < 2000000; ++i) {
        std::uint64_t ticks = rng();
        if (i % 16 == 0) ticks = kMaxTicks - 100000000000ull + rng() % 200000000000ull;
        if (i % 16 == 1) ticks = rng() % 100000000000ull;
        if (i % 2 == 0) ticks &= kMaxTicks;
        SYSTEMTIME ours = {}, platform = {};
        const FILETIME ft = {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
        const bool oursOk = TicksToFields(ticks, &ours);
        ASSERT_EQ(oursOk, FileTimeToSystemTime(&ft, &platform) != FALSE) << ticks;
        if (!oursOk) continue;
        ASSERT_EQ(std::memcmp(&ours, &platform, sizeof ours), 0) << ticks;

        SYSTEMTIME f = ours;  // the fields back, and near-valid variations of them
        WORD* field[] = {&f.wDay, &f.wMonth, &f.wHour, &f.wMinute, &f.wSecond, &f.wMilliseconds};
        const WORD nearEnd[] = {28, 0, 22, 58, 58, 998};
        if (i % 10 < 6) *field[i % 10] = static_cast<WORD>(nearEnd[i % 10] + rng() % (i % 10 == 1 ? 14 : 5));
        if (i % 10 == 6) f.wYear = static_cast<WORD>(rng() % 3 == 0 ? 30826 + rng() % 4 : 1599 + rng() % 4);
        if (i % 10 == 7) f.wMonth = 2, f.wDay = 29;  // leap or not
        if (i % 10 == 8) f.wDayOfWeek = static_cast<WORD>(rng());  // ignored
        std::uint64_t mine = 0;
        FILETIME theirs = {};
        const bool mineOk = FieldsToTicks(f, &mine), theirsOk = SystemTimeToFileTime(&f, &theirs) != FALSE;
        if (mineOk) {
            ASSERT_TRUE(theirsOk) << f.wYear << "-" << f.wMonth << "-" << f.wDay;
            ASSERT_EQ(mine, theirs.dwLowDateTime | static_cast<std::uint64_t>(theirs.dwHighDateTime) << 32);
        } else if (theirsOk) {
            ASSERT_TRUE((f.wMonth == 2 && f.wDay == 29 && !IsLeapYear(f.wYear)) || f.wYear > kMaxYear)
                << f.wYear << "-" << f.wMonth << "-" << f.wDay << " " << f.wHour << ":" << f.wMinute;
            ++platformQuirks;
        }
    }
    std::printf("the platform accepted %d dates off its contract\n", platformQuirks);
}
