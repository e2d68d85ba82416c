#include "timelib/zone_rules.h"

#include <gtest/gtest.h>

#include <random>

#include "timelib/civil.h"
#include "timelib/test_zones.h"

using namespace quendel::zone;

namespace {
constexpr std::uint64_t kMinute = 600000000;
constexpr std::uint64_t kHour = 60 * kMinute;
}  // namespace

TEST(ZoneRules, FormOfARecord) {
    TIME_ZONE_INFORMATION z = test_zones::WEurope();
    EXPECT_EQ(FormOf(z), SummerForm::kRule);
    z.StandardDate.wYear = 2003;
    EXPECT_EQ(FormOf(z), SummerForm::kNone);  // mixed
    z.DaylightDate.wYear = 2003;
    EXPECT_EQ(FormOf(z), SummerForm::kAbsolute);
    z.DaylightDate.wMonth = 0;
    EXPECT_EQ(FormOf(z), SummerForm::kNone);
    EXPECT_EQ(FormOf(test_zones::Tokyo()), SummerForm::kNone);
}

// Random records, sane and insane (month 0-13, weekday 0-9, occurrence 0-9, hour 0-30,
// minutes 0-70, biases up to a day and beyond): nothing fails unexpectedly, and the two
// conversions agree: every UTC instant read back from its wall-clock reading is itself,
// except in the hour that the change back to standard time repeats.
TEST(ZoneRules, RandomRecordsRoundTrip) {
    std::mt19937 rng(20031026);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int record = 0; record < 400; ++record) {
        TIME_ZONE_INFORMATION z = {};
        z.Bias = pick(-900, 900);
        z.DaylightBias = pick(0, 3) == 0 ? pick(-120, 120) : -60;
        for (SYSTEMTIME* d : {&z.StandardDate, &z.DaylightDate}) {
            d->wMonth = static_cast<WORD>(pick(0, 13));
            d->wDayOfWeek = static_cast<WORD>(pick(0, 9));
            d->wDay = static_cast<WORD>(pick(0, 9));
            d->wHour = static_cast<WORD>(pick(0, 30));
            d->wMinute = static_cast<WORD>(pick(0, 3) == 0 ? pick(0, 70) : 0);
            d->wYear = static_cast<WORD>(pick(0, 9) == 0 ? pick(1990, 2040) : 0);
        }
        for (int i = 0; i < 60; ++i) {
            const std::uint64_t utc = test_zones::FromUnix(pick(0, 2000000000)) + pick(0, 59) * kMinute;
            std::uint64_t wall = 0, back = 0;
            ASSERT_TRUE(UtcToWall(z, utc, &wall));
            ASSERT_TRUE(WallToUtc(z, wall, &back));
            if (back != utc) {
                // The first (summer) occurrence of a repeated reading, earlier by the summer shift.
                const std::int64_t shift = (static_cast<std::int64_t>(z.StandardBias) - z.DaylightBias) *
                                           static_cast<std::int64_t>(kMinute);
                EXPECT_EQ(static_cast<std::int64_t>(utc - back), shift > 0 ? shift : -shift) << record << " " << i;
                EXPECT_TRUE(InSummer(z, back, StandardBiasUse::kApply));
                EXPECT_FALSE(InSummer(z, utc, StandardBiasUse::kApply));
            }
        }
    }
}

// The ends of the tick range: no wrap-around into the far past or future.
TEST(ZoneRules, EdgesOfTheTickRange) {
    const TIME_ZONE_INFORMATION east = test_zones::WEurope(), west = test_zones::Eastern();
    std::uint64_t out = 7;
    EXPECT_FALSE(WallToUtc(east, 0, &out));          // 1601-01-01 00:00 in UTC+1 is before tick 0
    EXPECT_TRUE(WallToUtc(west, 0, &out));
    EXPECT_EQ(out, 5 * kHour);
    EXPECT_FALSE(UtcToWall(west, 0, &out));
    EXPECT_TRUE(UtcToWall(east, 0, &out));
    EXPECT_EQ(out, kHour);
    EXPECT_FALSE(UtcToWall(east, quendel::civil::kMaxTicks, &out));
    EXPECT_FALSE(UtcToWall(east, quendel::civil::kMaxTicks + 1, &out));
    EXPECT_FALSE(InSummer(east, ~0ull, StandardBiasUse::kApply));
    std::uint64_t wall = 0;
    EXPECT_FALSE(RuleWallTicks(east.DaylightDate, 1600, &wall));
    EXPECT_FALSE(RuleWallTicks(east.DaylightDate, 30828, &wall));
    EXPECT_TRUE(RuleWallTicks(east.DaylightDate, 30827, &wall));
}

// Results are remembered per zone and year; a record changed in place, or another zone in
// between, never gets an answer of the old one.
TEST(ZoneRules, RememberedPeriodsFollowTheRecord) {
    TIME_ZONE_INFORMATION z = test_zones::WEurope();
    const std::uint64_t july = test_zones::FromUnix(1057060800);  // 2003-07-01 12:00 UTC
    const std::uint64_t january = test_zones::FromUnix(1041422400);  // 2003-01-01 12:00 UTC
    EXPECT_TRUE(InSummer(z, july, StandardBiasUse::kApply));
    z.DaylightDate.wMonth = 8;  // summer now starts in August
    EXPECT_FALSE(InSummer(z, july, StandardBiasUse::kApply));
    z.DaylightDate.wMonth = 3;
    EXPECT_TRUE(InSummer(z, july, StandardBiasUse::kApply));
    const TIME_ZONE_INFORMATION sydney = test_zones::AusEastern();
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(InSummer(sydney, january, StandardBiasUse::kIgnore));
        EXPECT_FALSE(InSummer(z, january, StandardBiasUse::kIgnore));
        EXPECT_FALSE(InSummer(sydney, july, StandardBiasUse::kApply));
        EXPECT_TRUE(InSummer(z, july, StandardBiasUse::kApply));
    }
    // The standard bias moves the start only where it is applied.
    z.StandardBias = 120;
    const std::uint64_t justAfterStart = test_zones::FromUnix(1048986000 + 1800);  // 2003-03-30 01:30 UTC
    EXPECT_TRUE(InSummer(z, justAfterStart, StandardBiasUse::kIgnore));
    EXPECT_FALSE(InSummer(z, justAfterStart, StandardBiasUse::kApply));  // starts 03:00 UTC now
}
