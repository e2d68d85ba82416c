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

namespace {

// The summer test as the header defines it, from the periods alone, without any cache: in
// a period that begins in the instant's UTC year, the year before or the year after.
bool SummerByDefinition(const TIME_ZONE_INFORMATION& z, std::uint64_t utc, StandardBiasUse use) {
    if (utc > quendel::civil::kMaxTicks) return false;
    SYSTEMTIME f;
    quendel::civil::TicksToFields(utc, &f);
    const int years[3] = {f.wYear - 1, f.wYear, f.wYear + 1};
    for (int i = 0; i < (FormOf(z) == SummerForm::kAbsolute ? 1 : 3); ++i) {
        Period p;
        if (SummerPeriod(z, years[i], use, &p) && p.start <= utc && utc < p.end) return true;
    }
    return false;
}

TIME_ZONE_INFORMATION RandomRuleRecord(std::mt19937& rng) {
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    TIME_ZONE_INFORMATION z = {};
    // Mostly an hour of summer time; sometimes months of it, so that the summers of
    // neighbouring years overlap, or a bias of years, so that a summer is counted for the
    // UTC years around its own but no further and a stretch of the time line changes often.
    const int kind = pick(0, 5);
    z.Bias = kind == 3 ? pick(-2000000, 2000000) : pick(-900, 900);
    z.DaylightBias = kind == 0 ? pick(-400000, 400000) : kind == 1 ? pick(-120, 120) : -60;
    z.StandardBias = kind == 2 ? pick(-90, 90) : 0;
    for (SYSTEMTIME* d : {&z.StandardDate, &z.DaylightDate}) {
        d->wMonth = static_cast<WORD>(pick(1, 12));
        d->wDayOfWeek = static_cast<WORD>(pick(0, 6));
        d->wDay = static_cast<WORD>(pick(1, 5));
        d->wHour = static_cast<WORD>(pick(0, 23));
        d->wMinute = static_cast<WORD>(pick(0, 3) == 0 ? pick(0, 59) : 0);
    }
    if (pick(0, 9) == 0) {  // the absolute form now and then
        z.StandardDate.wYear = static_cast<WORD>(pick(1990, 2040));
        z.DaylightDate.wYear = static_cast<WORD>(pick(1990, 2040));
        z.StandardDate.wDay = z.DaylightDate.wDay = static_cast<WORD>(pick(1, 28));
    }
    return z;
}

}  // namespace

// The remembered answers against the definition: random records (overlapping summers,
// standard biases, both uses), two of them taking turns, instants anywhere in 1601-2400,
// at and next to every change-over and beyond the tick range.
TEST(ZoneRules, RememberedAnswersEqualTheDefinition) {
    std::mt19937 rng(19800406);
    std::uniform_int_distribution<std::uint64_t> anywhere(0, 252460800000000000ull);  // to 2400
    for (int round = 0; round < 300; ++round) {
        const TIME_ZONE_INFORMATION zones[2] = {RandomRuleRecord(rng), RandomRuleRecord(rng)};
        for (int i = 0; i < 200; ++i) {
            const TIME_ZONE_INFORMATION& z = zones[i % 2 == 0 || i > 150 ? 0 : 1];
            const StandardBiasUse use = i % 3 == 0 ? StandardBiasUse::kIgnore : StandardBiasUse::kApply;
            std::uint64_t utc = anywhere(rng);
            Period p;
            SYSTEMTIME f = {};
            quendel::civil::TicksToFields(utc, &f);
            if (i % 4 == 1 && SummerPeriod(z, f.wYear, use, &p))  // a change-over, give or take a tick
                utc = (i % 8 == 1 ? p.start : p.end) + std::uniform_int_distribution<int>(-1, 1)(rng);
            if (i == 199) utc = quendel::civil::kMaxTicks + 1 + anywhere(rng);
            quendel::civil::TicksToFields(utc, &f);  // the UTC year of the instant tested
            ASSERT_EQ(InSummer(z, utc, use), SummerByDefinition(z, utc, use)) << round << " " << i;
            const Evaluation e = Evaluate(z, utc, use);
            ASSERT_EQ(e.summer, SummerByDefinition(z, utc, use)) << round << " " << i;
            Period own;
            const bool hasOwn = utc <= quendel::civil::kMaxTicks &&
                                SummerPeriod(z, FormOf(z) == SummerForm::kAbsolute ? 0 : f.wYear, use, &own);
            ASSERT_EQ(e.hasPeriod, hasOwn) << round << " " << i;
            if (hasOwn) {
                EXPECT_EQ(e.period.start, own.start);
                EXPECT_EQ(e.period.end, own.end);
            }
            // The conversions choose their offset by the same answer.
            const std::int64_t offset =
                (static_cast<std::int64_t>(z.Bias) +
                 (SummerByDefinition(z, utc, StandardBiasUse::kApply) ? z.DaylightBias : z.StandardBias)) *
                static_cast<std::int64_t>(kMinute);
            const std::uint64_t expected = utc - static_cast<std::uint64_t>(offset);
            EXPECT_EQ(WallOf(z, utc), expected <= quendel::civil::kMaxTicks && utc <= quendel::civil::kMaxTicks
                                          ? expected
                                          : kNoTicks);
        }
    }
}

// Every new record starts a new generation of remembered answers, numbered in 16 bits.
// An answer remembered for one record must not come back for another after the numbering
// has gone round: remember one, switch records some 65,536 times elsewhere, ask again.
TEST(ZoneRules, AnswersDoNotComeBackAfterManyRecords) {
    const TIME_ZONE_INFORMATION north = test_zones::WEurope(), south = test_zones::AusEastern();
    TIME_ZONE_INFORMATION other[2] = {test_zones::WEurope(), test_zones::WEurope()};
    other[1].DaylightDate.wHour = 3;
    const std::uint64_t july = test_zones::FromUnix(1057060800);     // 2003-07-01 12:00 UTC
    const std::uint64_t elsewhere = test_zones::FromUnix(1657000000);  // 2022
    for (int switches = 65530; switches <= 65540; ++switches) {
        ASSERT_TRUE(InSummer(north, july, StandardBiasUse::kApply));
        for (int i = 0; i < switches; ++i) InSummer(other[i % 2], elsewhere, StandardBiasUse::kApply);
        ASSERT_FALSE(InSummer(south, july, StandardBiasUse::kApply)) << switches;
    }
}

// Each thread keeps its own answers: two threads, two zones, the same instants.
namespace {

struct Job {
    TIME_ZONE_INFORMATION zone;
    bool expected;
    std::uint64_t instant;
    int wrong;
};

DWORD WINAPI RunJob(void* p) {
    Job& job = *static_cast<Job*>(p);
    for (int i = 0; i < 200000; ++i)
        if (InSummer(job.zone, job.instant + (i % 1000) * kHour, StandardBiasUse::kApply) != job.expected) ++job.wrong;
    return 0;
}

}  // namespace

TEST(ZoneRules, ThreadsKeepTheirOwnAnswers) {
    const std::uint64_t july = test_zones::FromUnix(1057060800);  // 2003-07-01 12:00 UTC, +1000 hours
    Job jobs[2] = {{test_zones::WEurope(), true, july, 0}, {test_zones::AusEastern(), false, july, 0}};
    HANDLE threads[2];
    for (int t = 0; t < 2; ++t) {
        threads[t] = CreateThread(nullptr, 0, RunJob, &jobs[t], 0, nullptr);
        ASSERT_NE(threads[t], nullptr);
    }
    EXPECT_EQ(WaitForMultipleObjects(2, threads, TRUE, 60000), WAIT_OBJECT_0);
    for (HANDLE h : threads) CloseHandle(h);
    EXPECT_EQ(jobs[0].wrong, 0);
    EXPECT_EQ(jobs[1].wrong, 0);
}
