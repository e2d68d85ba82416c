// The remembered summer answers against the definition, over random records, and the user
// time zone. The IANA database's
// answers are rows of the case table (tests/data/zone_answers.tsv).
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <cwchar>
#include <random>
#include <thread>
#include <vector>

#include "support/test_zones.h"
#include "support/user_zone_scope.h"
#include "timelib/c_time.h"
#include "timelib/civil.h"
#include "timelib/time_source.h"
#include "timelib/user_zone.h"
#include "timelib/zone_rules.h"

using namespace quendel::zone;

namespace {

constexpr std::uint64_t kMinute = 600000000, kHour = 60 * kMinute;

C_Time Utc(int y, int mo, int d, int h) {
    C_Time t;
    EXPECT_TRUE(t.SetTimeUTC(y, mo, d, h, 0, 0, 0));
    return t;
}

}  // namespace

namespace {

// An hour of summer time, or months (overlapping summers), a bias of years, a standard bias, the absolute form.
TIME_ZONE_INFORMATION RandomRuleRecord(std::mt19937& rng) {
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    TIME_ZONE_INFORMATION z = {};
    const int kind = pick(0, 5);
    z.Bias = kind == 3 ? pick(-2000000, 2000000) : pick(-900, 900);
    z.DaylightBias = kind == 0 ? pick(-400000, 400000) : kind == 1 ? pick(-120, 120) : -60;
    z.StandardBias = kind == 2 ? pick(-90, 90) : 0;
    const bool absolute = pick(0, 9) == 0;
    for (SYSTEMTIME* d : {&z.StandardDate, &z.DaylightDate})
        *d = SYSTEMTIME{WORD(absolute ? pick(1990, 2040) : 0), WORD(pick(1, 12)), WORD(pick(0, 6)),
                        WORD(absolute ? pick(1, 28) : pick(1, 5)), WORD(pick(0, 23)), WORD(pick(0, 3) ? 0 : pick(0, 59)),
                        0, 0};
    return z;
}

}  // namespace

// Two random records taking turns, instants anywhere in 1601-2400 (a fifth anywhere in the
// tick range, where the cache's year splits collide), at and next to every change-over and
// beyond the tick range: the remembered answers are those of the definition
// evaluated in full (itself checked against the IANA database by the case table).
TEST(Zones, RememberedAnswersEqualTheDefinition) {
    std::mt19937 rng(19800406);
    std::uniform_int_distribution<std::uint64_t> anywhere(0, 252460800000000000ull);  // to 2400
    std::uniform_int_distribution<std::uint64_t> whole(0, quendel::civil::kMaxTicks);
    for (int round = 0; round < 300; ++round) {
        const TIME_ZONE_INFORMATION zones[2] = {RandomRuleRecord(rng), RandomRuleRecord(rng)};
        for (int i = 0; i < 200; ++i) {
            const TIME_ZONE_INFORMATION& z = zones[i % 2 == 0 || i > 150 ? 0 : 1];
            const StandardBiasUse use = i % 3 == 0 ? StandardBiasUse::kIgnore : StandardBiasUse::kApply;
            std::uint64_t utc = i % 5 == 4 ? whole(rng) : anywhere(rng);
            Period p;
            SYSTEMTIME f = {};
            quendel::civil::TicksToFields(utc, &f);
            if (i % 4 == 1 && SummerPeriod(z, f.wYear, use, &p))  // a change-over, give or take a tick
                utc = (i % 8 == 1 ? p.start : p.end) + std::uniform_int_distribution<int>(-1, 1)(rng);
            if (i == 199) utc = quendel::civil::kMaxTicks + 1 + anywhere(rng);
            const bool inRange = quendel::civil::TicksToFields(utc, &f);  // the UTC year of the instant
            const bool summer = detail::SummerInFull(z, utc, use);
            ASSERT_EQ(InSummer(z, utc, use), summer) << round << " " << i;
            const Evaluation e = Evaluate(z, utc, use);
            Period own;
            const bool hasOwn = inRange && SummerPeriod(z, FormOf(z) == SummerForm::kAbsolute ? 0 : f.wYear, use, &own);
            ASSERT_TRUE(e.summer == summer && e.hasPeriod == hasOwn) << round << " " << i;
            EXPECT_TRUE(!hasOwn || (e.period.start == own.start && e.period.end == own.end));
            // The conversions choose their offset by the same answer.
            const std::int64_t offset = (static_cast<std::int64_t>(z.Bias) +
                                         (detail::SummerInFull(z, utc, StandardBiasUse::kApply) ? z.DaylightBias
                                                                                               : z.StandardBias)) *
                                        std::int64_t(kMinute);
            const std::uint64_t expected = utc - static_cast<std::uint64_t>(offset);
            EXPECT_EQ(WallOf(z, utc), expected <= quendel::civil::kMaxTicks && inRange ? expected : kNoTicks);
        }
    }
}

namespace {
DWORD g_machineResult = 0;
int g_machineCalls = 0;
DWORD FakeMachine(TIME_ZONE_INFORMATION* zone) {
    ++g_machineCalls;
    *zone = g_machineResult == TIME_ZONE_ID_UNKNOWN ? test_zones::Tokyo() : test_zones::Eastern();
    return g_machineResult;
}
BOOLEAN g_autoSummerOff = FALSE;
DWORD FakeDynamicMachine(DYNAMIC_TIME_ZONE_INFORMATION* zone) {  // Berlin, by its key with the per-year records
    const TIME_ZONE_INFORMATION record = test_zones::WEurope();
    *zone = DYNAMIC_TIME_ZONE_INFORMATION{};
    std::memcpy(zone, &record, sizeof record);
    std::wcscpy(zone->TimeZoneKeyName, L"W. Europe Standard Time");
    zone->DynamicDaylightTimeDisabled = g_autoSummerOff;
    return 2;
}
}  // namespace

// With automatic summer time switched off, Windows keeps the machine's zone on standard time
// all year, and so does the user zone that stands for it.
TEST(Zones, MachineZoneWithoutAutomaticSummerTime) {
    UserZoneScope scope;
    const quendel::MachineDynamicZoneSource previous = quendel::SetMachineDynamicZoneSource(FakeDynamicMachine);
    for (const BOOLEAN off : {FALSE, TRUE, FALSE}) {
        g_autoSummerOff = off;
        quendel::SetMachineDynamicZoneSource(FakeDynamicMachine);  // read again
        EXPECT_EQ(C_Time(2003, 7, 1, off ? 13 : 14, 0, 0, nullptr), Utc(2003, 7, 1, 12)) << int(off);
        EXPECT_EQ(C_Time(2003, 7, 1, 12, 0, 0, nullptr).IsSummerTime(), !off);
    }
    quendel::SetMachineDynamicZoneSource(previous);
}

// Threads convert in the user zone while another sets it, goes back to the machine's and
// reads it: each reading is one of the zones', none from records being replaced.
TEST(Zones, ConvertingWhileTheZoneIsSet) {
    UserZoneScope scope;
    const quendel::MachineZoneSource previous = quendel::SetMachineZoneSource(FakeMachine);
    g_machineResult = TIME_ZONE_ID_INVALID;  // the machine's zone: UTC
    C_Time(5).GetLocHour();  // this thread's cache made: the readers' come and go
    const long caches = LiveThreadCaches();
    std::atomic<int> running{3}, odd{0};
    std::vector<std::thread> readers;
    for (int n = 0; n < 3; ++n)
        readers.emplace_back([&] {
            for (int i = 0; i < 3000; ++i) {
                const int hour = C_Time(127015344000000000ull).GetLocHour();  // 2003-07-01 12:00 UTC
                if (hour != 21 && hour != 8 && hour != 12) ++odd;
            }
            --running;
        });
    TIME_ZONE_INFORMATION zones[] = {test_zones::Tokyo(), test_zones::Eastern()}, z;
    for (int i = 0; running > 0; ++i) {
        if (i % 3 == 2) C_Time::SetLocTimeZoneInfo(nullptr); else C_Time::SetLocTimeZoneInfo(&zones[i % 3]);
        C_Time::GetLocTimeZoneInfo(&z);
    }
    for (std::thread& t : readers) t.join();
    EXPECT_EQ(odd, 0);
    EXPECT_EQ(LiveThreadCaches(), caches);
    quendel::SetMachineZoneSource(previous);
}

// Zones set again by key or IANA name, and the machine's read again, are the ones kept.
TEST(Zones, ZonesSetAgainAreKeptOnce) {
    UserZoneScope scope;
    std::size_t kept = 0;
    for (int i = 0; i < 2000; ++i) {
        if (i == 2) kept = KeptUserZones();  // each zone once
        ASSERT_TRUE(C_Time::SetLocTimeZoneByKeyName(i % 2 ? "Tokyo Standard Time" : "W. Europe Standard Time") &&
                    C_Time::SetLocTimeZoneByIanaName(i % 2 ? "America/New_York" : "Europe/Berlin"));
        C_Time::SetLocTimeZoneInfo(nullptr), quendel::SetMachineDynamicZoneSource(nullptr), C_Time(5).GetLocHour();
    }
    EXPECT_EQ(KeptUserZones(), kept);
}

// The user time zone is the machine's until set, read once: a zone without summer-time rules
// keeps its bias, a failure gives UTC for good.
TEST(Zones, UserZoneComesFromTheMachine) {
    UserZoneScope scope;
    const quendel::MachineZoneSource previous = quendel::SetMachineZoneSource(FakeMachine);
    const struct {
        DWORD result;
        int localHour, calls;
    } cases[] = {{2, 8, 1}, {TIME_ZONE_ID_INVALID, 12, 1}, {TIME_ZONE_ID_UNKNOWN, 21, 1}};
    for (const auto& c : cases) {
        quendel::SetMachineZoneSource(FakeMachine);  // read again
        g_machineResult = c.result;
        g_machineCalls = 0;
        TIME_ZONE_INFORMATION z;
        C_Time::GetLocTimeZoneInfo(&z);
        UserZoneScope::Clear();
        EXPECT_EQ(C_Time(2003, 7, 1, c.localHour, 0, 0, nullptr), Utc(2003, 7, 1, 12)) << c.result;
        EXPECT_EQ(g_machineCalls, c.calls) << c.result;
    }
    quendel::SetMachineZoneSource(previous);
    UserZoneScope::Clear();  // the real machine: the launcher runs Wine in Europe/Berlin
    EXPECT_EQ(C_Time(2003, 7, 1, 14, 0, 0, nullptr), Utc(2003, 7, 1, 12));
    TIME_ZONE_INFORMATION unnamed = test_zones::Tokyo(), sydney = test_zones::AusEastern(), z;
    unnamed.StandardName[0] = 0;  // a record without a name is still the user's choice
    C_Time::SetLocTimeZoneInfo(&unnamed);
    EXPECT_EQ(C_Time(2003, 7, 1, 21, 0, 0, nullptr), Utc(2003, 7, 1, 12));
    C_Time::SetLocTimeZoneInfo(&sydney);
    C_Time::GetLocTimeZoneInfo(&z);
    EXPECT_EQ(std::memcmp(&z, &sydney, sizeof z), 0);
    char name[64], small[5] = {'x', 'x', 'x', 'x', 'x'};  // cut and terminated within the size
    C_Time::GetLocTimeZoneAsRegString(name, sizeof name), C_Time::GetLocTimeZoneAsRegString(small, 4);
    EXPECT_TRUE(std::strcmp(name, "AUS Eastern Standard Time") == 0 && std::strcmp(small, "AUS") == 0 && small[4] == 'x');
}
