// The calendar arithmetic against a day-by-day walk of the calendar over the whole tick
// range, and against the platform conversions it replaces over millions of random points.
#include "timelib/civil.h"

#include <gtest/gtest.h>

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

// Ticks to fields against FileTimeToSystemTime everywhere, the range and beyond it, and the
// fields back to the same millisecond. Field validation is the case table's (time_cases.tsv).
TEST(Civil, AgreesWithThePlatformOverMillionsOfPoints) {
    std::mt19937_64 rng(16010101);
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
        std::uint64_t back = 0;  // and back, to the millisecond (30828 lies beyond the fields' range)
        ASSERT_TRUE(ours.wYear > kMaxYear || (FieldsToTicks(ours, &back) && back == ticks / 10000 * 10000)) << ticks;
    }
}
