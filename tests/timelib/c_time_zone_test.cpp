#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>
#include <cstdio>

#include "timelib/c_time.h"
#include "timelib/known_answers/zone_answers.h"
#include "timelib/test_zones.h"
#include "timelib/user_zone_scope.h"
#include "timelib/time_source.h"

// Reaches the private zone operations that the library exports.
struct C_TimeTestPeer {
    static void SearchDaylLimiter(SYSTEMTIME& rule, FILETIME* instant) { C_Time::SearchDaylLimiter(rule, instant); }
    static int DaysOfMonth(unsigned short year, unsigned short month) { return C_Time::DaysOfMonth(year, month); }
    static bool UtcToLocal(const TIME_ZONE_INFORMATION* zone, const SYSTEMTIME* utc, SYSTEMTIME* local) {
        return C_Time::SystemTimeToLocalSystemTime(zone, utc, local);
    }
    static bool LocalToUtc(const TIME_ZONE_INFORMATION* zone, const SYSTEMTIME* local, FILETIME* utc) {
        return C_Time::LocalSystemTimeToFileTime(zone, local, utc);
    }
};

namespace {

using test_zones::FromUnix;
constexpr unsigned __int64 kMs = 10000;
constexpr unsigned __int64 kSecond = 1000 * kMs;
constexpr unsigned __int64 kMinute = 60 * kSecond;
constexpr unsigned __int64 kHour = 60 * kMinute;

C_Time Utc(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    C_Time t;
    EXPECT_TRUE(t.SetTimeUTC(y, mo, d, h, mi, s, ms));
    return t;
}

C_Time Local(const TIME_ZONE_INFORMATION& zone, int y, int mo, int d, int h, int mi = 0, int s = 0) {
    return C_Time(y, mo, d, h, mi, s, &zone);
}

SYSTEMTIME LocalFields(const C_Time& t, const TIME_ZONE_INFORMATION& zone) {
    SYSTEMTIME f{};
    EXPECT_TRUE(t.GetLocSystemTime(&f, &zone));
    return f;
}

std::string Text(const SYSTEMTIME& f) {
    char s[64];
    std::snprintf(s, sizeof s, "%04u-%02u-%02u %02u:%02u:%02u.%03u", f.wYear, f.wMonth, f.wDay, f.wHour, f.wMinute,
                  f.wSecond, f.wMilliseconds);
    return s;
}


struct ZoneAnswers {
    const char* name;
    TIME_ZONE_INFORMATION zone;
    const zone_answers::Summer* summers;
    size_t summerCount;
    const zone_answers::Reading* readings;
    size_t readingCount;
};

template <size_t S, size_t R>
ZoneAnswers Answers(const char* name, const TIME_ZONE_INFORMATION& zone, const zone_answers::Summer (&s)[S],
                    const zone_answers::Reading (&r)[R]) {
    return {name, zone, s, S, r, R};
}

std::vector<ZoneAnswers> AllAnswers() {
    return {Answers("W. Europe", test_zones::WEurope(), zone_answers::kBerlinSummers, zone_answers::kBerlinReadings),
            Answers("Eastern", test_zones::Eastern(), zone_answers::kNewYorkSummers, zone_answers::kNewYorkReadings),
            Answers("AUS Eastern", test_zones::AusEastern(), zone_answers::kSydneySummers,
                    zone_answers::kSydneyReadings),
            Answers("Chatham", test_zones::Chatham(), zone_answers::kChathamSummers, zone_answers::kChathamReadings)};
}

}  // namespace

// The example zone: summer 2003 from 03-30 01:00 UTC to 10-26 01:00 UTC.
TEST(SummerTime, ExampleZone2003) {
    const TIME_ZONE_INFORMATION z = test_zones::WEurope();
    EXPECT_FALSE(Utc(2003, 3, 30, 0, 59, 59).IsSummerTime(&z, nullptr, nullptr, nullptr));
    EXPECT_TRUE(Utc(2003, 3, 30, 1).IsSummerTime(&z, nullptr, nullptr, nullptr));
    EXPECT_TRUE(Utc(2003, 10, 26, 0, 59, 59).IsSummerTime(&z, nullptr, nullptr, nullptr));
    EXPECT_FALSE(Utc(2003, 10, 26, 1).IsSummerTime(&z, nullptr, nullptr, nullptr));
    // Every day of the year reports the same period.
    for (C_Time t = Utc(2003, 1, 1); t < Utc(2004, 1, 1); t += C_TimeSpan(static_cast<__int64>(24 * kHour + 17 * kMinute))) {
        C_Time start, end;
        t.IsSummerTime(&z, &start, &end, nullptr);
        ASSERT_EQ(start, Utc(2003, 3, 30, 1)) << t.GetTimeUTC();
        ASSERT_EQ(end, Utc(2003, 10, 26, 1)) << t.GetTimeUTC();
    }
    SYSTEMTIME local;
    EXPECT_TRUE(Utc(2003, 7, 1, 22, 30).IsSummerTime(&z, nullptr, nullptr, &local));
    EXPECT_EQ(Text(local), "2003-07-02 00:30:00.000");
    EXPECT_FALSE(Utc(2003, 12, 24, 12, 0, 0, 5).IsSummerTime(&z, nullptr, nullptr, &local));
    EXPECT_EQ(Text(local), "2003-12-24 13:00:00.005");
}

// Change-over instants and the summer test against the IANA database, 1996/2007/2008 to 2040,
// for zones east and west of UTC, a southern-hemisphere zone and one changing at :45.
TEST(SummerTime, MatchesIndependentDatabase) {
    for (const ZoneAnswers& a : AllAnswers()) {
        for (size_t i = 0; i < a.summerCount; ++i) {
            const zone_answers::Summer& s = a.summers[i];
            const C_Time start(FromUnix(s.start)), end(FromUnix(s.end));
            C_Time gotStart, gotEnd;
            Utc(s.year, 6, 15).IsSummerTime(&a.zone, &gotStart, &gotEnd, nullptr);
            EXPECT_EQ(gotStart, start) << a.name << " " << s.year;
            EXPECT_EQ(gotEnd, end) << a.name << " " << s.year;
            const C_TimeSpan ms(static_cast<__int64>(kMs));
            EXPECT_FALSE((start - ms).IsSummerTime(&a.zone, nullptr, nullptr, nullptr)) << a.name << " " << s.year;
            EXPECT_TRUE(start.IsSummerTime(&a.zone, nullptr, nullptr, nullptr)) << a.name << " " << s.year;
            // Southern zones: the summer's last moments lie in January to April of the next year.
            EXPECT_TRUE((end - ms).IsSummerTime(&a.zone, nullptr, nullptr, nullptr)) << a.name << " " << s.year;
            EXPECT_FALSE(end.IsSummerTime(&a.zone, nullptr, nullptr, nullptr)) << a.name << " " << s.year;
        }
    }
}

// Southern hemisphere: a January point lies in the summer that began the year before; the
// instants reported stay those of the summer beginning in the point's year.
TEST(SummerTime, SouthernHemisphereJanuary) {
    const TIME_ZONE_INFORMATION z = test_zones::AusEastern();
    C_Time start, end;
    SYSTEMTIME local;
    EXPECT_TRUE(Utc(2010, 1, 15).IsSummerTime(&z, &start, &end, &local));
    EXPECT_EQ(Text(local), "2010-01-15 11:00:00.000");
    EXPECT_EQ(start, Utc(2010, 10, 2, 16));  // 2010-10-03 02:00 AEST
    EXPECT_EQ(end, Utc(2011, 4, 2, 16));     // 2011-04-03 03:00 AEDT
    EXPECT_FALSE(Utc(2010, 6, 15).IsSummerTime(&z, nullptr, nullptr, nullptr));
}

TEST(SummerTime, RecordsWithoutSummerTime) {
    TIME_ZONE_INFORMATION z = test_zones::WEurope();
    z.DaylightDate.wMonth = 0;
    C_Time start(5), end(5);
    SYSTEMTIME local;
    EXPECT_FALSE(Utc(2003, 7, 1, 12).IsSummerTime(&z, &start, &end, &local));
    EXPECT_TRUE(start.IsInvalid());
    EXPECT_TRUE(end.IsInvalid());
    EXPECT_EQ(Text(local), "2003-07-01 13:00:00.000");  // t - Bias
    EXPECT_EQ(Text(LocalFields(Utc(2003, 7, 1, 12), z)), "2003-07-01 13:00:00.000");

    // Mixed forms, and rules that name no day, count as no summer time.
    TIME_ZONE_INFORMATION mixed = test_zones::WEurope();
    mixed.StandardDate.wYear = 2003;
    TIME_ZONE_INFORMATION badWeekday = test_zones::WEurope();
    badWeekday.DaylightDate.wDayOfWeek = 9;
    TIME_ZONE_INFORMATION badMonth = test_zones::WEurope();
    badMonth.StandardDate.wMonth = 13;
    TIME_ZONE_INFORMATION noOccurrence = test_zones::WEurope();
    noOccurrence.DaylightDate.wDay = 0;
    TIME_ZONE_INFORMATION badHour = test_zones::WEurope();
    badHour.StandardDate.wHour = 30;
    for (const TIME_ZONE_INFORMATION& bad : {mixed, badWeekday, badMonth, noOccurrence, badHour}) {
        EXPECT_FALSE(Utc(2003, 7, 1, 12).IsSummerTime(&bad, &start, &end, &local));
        EXPECT_TRUE(start.IsInvalid());
        EXPECT_EQ(Text(LocalFields(Utc(2003, 7, 1, 12), bad)), "2003-07-01 13:00:00.000");
        EXPECT_EQ(Local(bad, 2003, 7, 1, 13), Utc(2003, 7, 1, 12));
    }
    const TIME_ZONE_INFORMATION tokyo = test_zones::Tokyo();
    EXPECT_EQ(Text(LocalFields(Utc(2003, 12, 31, 15), tokyo)), "2004-01-01 00:00:00.000");
    EXPECT_EQ(Local(tokyo, 2004, 1, 1, 0), Utc(2003, 12, 31, 15));
}

// A summer from October to March: for any point of year y, start in October of y, end in
// March of y + 1.
TEST(SummerTime, SummerOverTheNewYear) {
    const TIME_ZONE_INFORMATION z =
        test_zones::Make(0, -60, test_zones::Rule(3, 0, 1, 2), test_zones::Rule(10, 0, 1, 2));
    for (int month : {1, 6, 12}) {
        C_Time start, end;
        Utc(2003, month, 10).IsSummerTime(&z, &start, &end, nullptr);
        EXPECT_EQ(start, Utc(2003, 10, 5, 2));  // first Sunday of October 2003
        EXPECT_EQ(end, Utc(2004, 3, 7, 1));     // first Sunday of March 2004, 02:00 summer time
    }
    EXPECT_TRUE(Utc(2004, 1, 10).IsSummerTime(&z, nullptr, nullptr, nullptr));
    EXPECT_FALSE(Utc(2004, 3, 7, 1).IsSummerTime(&z, nullptr, nullptr, nullptr));
}

TEST(SummerTime, AbsoluteForm) {
    TIME_ZONE_INFORMATION z = test_zones::WEurope();
    z.DaylightDate = SYSTEMTIME{2003, 3, 0, 30, 2, 0, 0, 0};
    z.StandardDate = SYSTEMTIME{2003, 10, 0, 26, 3, 0, 0, 0};
    for (int year : {2003, 2010}) {
        C_Time start, end;
        const bool summer = Utc(year, 7, 1).IsSummerTime(&z, &start, &end, nullptr);
        EXPECT_EQ(summer, year == 2003);
        EXPECT_EQ(start, Utc(2003, 3, 30, 1));
        EXPECT_EQ(end, Utc(2003, 10, 26, 1));
    }
    EXPECT_EQ(Local(z, 2003, 7, 1, 14), Utc(2003, 7, 1, 12));
    EXPECT_EQ(Local(z, 2010, 7, 1, 14), Utc(2010, 7, 1, 13));
}

TEST(SummerTime, ChangeOverDay) {
    struct Case {
        SYSTEMTIME rule;
        const char* expected;
    } const cases[] = {
        {SYSTEMTIME{2003, 2, 0, 5, 2, 0, 0, 0}, "2003-02-23 02:00:00.000"},   // only four Sundays
        {SYSTEMTIME{2003, 2, 0, 9, 2, 0, 0, 0}, "2003-02-23 02:00:00.000"},   // any count past 5
        {SYSTEMTIME{2003, 3, 0, 1, 2, 0, 0, 0}, "2003-03-02 02:00:00.000"},
        {SYSTEMTIME{2003, 3, 6, 1, 0, 0, 0, 0}, "2003-03-01 00:00:00.000"},   // a Saturday, day 1
        {SYSTEMTIME{2003, 3, 0, 5, 2, 0, 0, 0}, "2003-03-30 02:00:00.000"},   // five Sundays
        {SYSTEMTIME{2004, 2, 0, 5, 3, 0, 0, 0}, "2004-02-29 03:00:00.000"},
        {SYSTEMTIME{2003, 9, 0, 5, 2, 45, 0, 0}, "2003-09-28 02:45:00.000"},
        {SYSTEMTIME{2003, 3, 4, 5, 23, 59, 59, 999}, "2003-03-27 23:59:59.999"},  // stays on its day
    };
    for (const Case& c : cases) {
        SYSTEMTIME rule = c.rule;
        FILETIME instant;
        C_TimeTestPeer::SearchDaylLimiter(rule, &instant);
        SYSTEMTIME f;
        ASSERT_TRUE(C_Time(instant).GetSystemTimeUTC(&f));
        EXPECT_EQ(Text(f), c.expected);
    }
    SYSTEMTIME bad = {2003, 13, 0, 1, 2, 0, 0, 0};
    FILETIME instant = {1, 1};
    C_TimeTestPeer::SearchDaylLimiter(bad, &instant);
    EXPECT_TRUE(C_Time(instant).IsInvalid());

    EXPECT_EQ(C_TimeTestPeer::DaysOfMonth(1900, 2), 28);
    EXPECT_EQ(C_TimeTestPeer::DaysOfMonth(2000, 2), 29);
    EXPECT_EQ(C_TimeTestPeer::DaysOfMonth(2004, 2), 29);
    EXPECT_EQ(C_TimeTestPeer::DaysOfMonth(2003, 2), 28);
    EXPECT_EQ(C_TimeTestPeer::DaysOfMonth(2003, 11), 30);
    EXPECT_EQ(C_TimeTestPeer::DaysOfMonth(2003, 13), 0);
}

// Local readings to UTC: skipped readings as standard time, repeated ones as their summer
// occurrence, every other reading by the regime in force at that wall-clock time.
TEST(LocalToUtc, ExampleZoneReadings) {
    const TIME_ZONE_INFORMATION z = test_zones::WEurope();
    EXPECT_EQ(Local(z, 2003, 3, 30, 1, 59, 59), Utc(2003, 3, 30, 0, 59, 59));
    EXPECT_EQ(Local(z, 2003, 3, 30, 2, 30), Utc(2003, 3, 30, 1, 30));  // skipped
    EXPECT_EQ(Local(z, 2003, 3, 30, 3, 0), Utc(2003, 3, 30, 1, 0));
    EXPECT_EQ(Local(z, 2003, 10, 26, 1, 59, 59), Utc(2003, 10, 25, 23, 59, 59));
    EXPECT_EQ(Local(z, 2003, 10, 26, 2, 30), Utc(2003, 10, 26, 0, 30));  // repeated
    EXPECT_EQ(Local(z, 2003, 10, 26, 3, 0), Utc(2003, 10, 26, 2, 0));
    EXPECT_EQ(Local(z, 2003, 10, 26, 3, 30), Utc(2003, 10, 26, 2, 30));
    EXPECT_EQ(Local(z, 2003, 10, 26, 4, 59, 59), Utc(2003, 10, 26, 3, 59, 59));
    EXPECT_EQ(Local(z, 2003, 7, 1, 12), Utc(2003, 7, 1, 10));
    EXPECT_EQ(Local(z, 2003, 12, 1, 12), Utc(2003, 12, 1, 11));
}

TEST(LocalToUtc, MatchesIndependentDatabase) {
    for (const ZoneAnswers& a : AllAnswers()) {
        int skipped = 0;
        for (size_t i = 0; i < a.readingCount; ++i) {
            const zone_answers::Reading& r = a.readings[i];
            const C_Time expected(FromUnix(r.utc));
            const C_Time got = Local(a.zone, r.year, r.month, r.day, r.hour, r.minute);
            EXPECT_EQ(got, expected) << a.name << " " << r.year << "-" << r.month << "-" << r.day << " " << r.hour
                                     << ":" << r.minute;
            // Back to local time: the same reading, or for a skipped one an hour later.
            const SYSTEMTIME back = LocalFields(expected, a.zone);
            const C_Time wall = Utc(back.wYear, back.wMonth, back.wDay, back.wHour, back.wMinute);
            const C_Time reading = Utc(r.year, r.month, r.day, r.hour, r.minute);
            if (wall != reading) {
                EXPECT_EQ(wall - reading, C_TimeSpan(static_cast<__int64>(kHour))) << a.name << " " << i;
                ++skipped;
            }
        }
        // Four quarter hours are skipped at every spring change of the detailed years.
        EXPECT_EQ(skipped % 4, 0) << a.name;
        EXPECT_GT(skipped, 0) << a.name;
    }
}

// A change-over at 23:59:59.999 on the last Thursday of March (2003-03-27), UTC+2.
TEST(LocalToUtc, ChangeOverJustBeforeMidnight) {
    const TIME_ZONE_INFORMATION z = test_zones::Make(-120, -60, test_zones::Rule(10, 5, 5, 23, 59, 59, 999),
                                                     test_zones::Rule(3, 4, 5, 23, 59, 59, 999));
    const C_Time start = Utc(2003, 3, 27, 21, 59, 59, 999);
    C_Time gotStart, gotEnd;
    EXPECT_TRUE(start.IsSummerTime(&z, &gotStart, &gotEnd, nullptr));
    EXPECT_EQ(gotStart, start);
    EXPECT_EQ(gotEnd, Utc(2003, 10, 31, 20, 59, 59, 999));  // last Friday of October, summer clock
    const C_TimeSpan ms(static_cast<__int64>(kMs));
    EXPECT_FALSE((start - ms).IsSummerTime(&z, nullptr, nullptr, nullptr));
    EXPECT_TRUE((start + ms).IsSummerTime(&z, nullptr, nullptr, nullptr));
    EXPECT_EQ(Text(LocalFields(start - ms, z)), "2003-03-27 23:59:59.998");
    EXPECT_EQ(Text(LocalFields(start, z)), "2003-03-28 00:59:59.999");
    // Readings in the skipped hour are standard time; the hour after is summer time.
    EXPECT_EQ(Local(z, 2003, 3, 28, 0, 0), Utc(2003, 3, 27, 22, 0));
    EXPECT_EQ(Local(z, 2003, 3, 28, 0, 30), Utc(2003, 3, 27, 22, 30));
    EXPECT_EQ(Local(z, 2003, 3, 28, 1, 0), Utc(2003, 3, 27, 22, 0));
    EXPECT_EQ(Local(z, 2003, 3, 27, 23, 59, 59), Utc(2003, 3, 27, 21, 59, 59));
}

// Within 45 minutes of the Chatham changes (UTC+12:45, summer +13:45): 2010-09-26 02:45
// standard and 2011-04-03 03:45 summer time.
TEST(LocalToUtc, ChathamQuarterHourChanges) {
    const TIME_ZONE_INFORMATION z = test_zones::Chatham();
    EXPECT_EQ(Local(z, 2010, 9, 26, 2, 44), Utc(2010, 9, 25, 13, 59));
    EXPECT_EQ(Local(z, 2010, 9, 26, 3, 0), Utc(2010, 9, 25, 14, 15));  // skipped: standard
    EXPECT_EQ(Local(z, 2010, 9, 26, 3, 45), Utc(2010, 9, 25, 14, 0));
    EXPECT_EQ(Local(z, 2011, 4, 3, 3, 0), Utc(2011, 4, 2, 13, 15));   // repeated: summer
    EXPECT_EQ(Local(z, 2011, 4, 3, 3, 44), Utc(2011, 4, 2, 13, 59));
    EXPECT_EQ(Local(z, 2011, 4, 3, 3, 45), Utc(2011, 4, 2, 15, 0));
    EXPECT_EQ(Text(LocalFields(Utc(2011, 4, 2, 13, 59, 59), z)), "2011-04-03 03:44:59.000");
    EXPECT_EQ(Text(LocalFields(Utc(2011, 4, 2, 14, 0), z)), "2011-04-03 02:45:00.000");
}

// The conversions follow the platform's contract for StandardBias; the summer test of
// IsSummerTime reads Bias alone.
TEST(LocalToUtc, StandardBias) {
    TIME_ZONE_INFORMATION z = test_zones::WEurope();
    z.StandardBias = 30;  // standard time UTC+0:30
    EXPECT_EQ(Text(LocalFields(Utc(2003, 12, 1, 12), z)), "2003-12-01 12:30:00.000");
    EXPECT_EQ(Text(LocalFields(Utc(2003, 7, 1, 12), z)), "2003-07-01 14:00:00.000");
    EXPECT_EQ(Local(z, 2003, 12, 1, 12, 30), Utc(2003, 12, 1, 12));
    SYSTEMTIME local;
    EXPECT_FALSE(Utc(2003, 12, 1, 12).IsSummerTime(&z, nullptr, nullptr, &local));
    EXPECT_EQ(Text(local), "2003-12-01 13:00:00.000");
    SYSTEMTIME utc = {2003, 12, 0, 1, 12, 0, 0, 0}, out;
    ASSERT_TRUE(C_TimeTestPeer::UtcToLocal(&z, &utc, &out));
    EXPECT_EQ(Text(out), "2003-12-01 12:30:00.000");
    utc.wDay = 32;
    EXPECT_FALSE(C_TimeTestPeer::UtcToLocal(&z, &utc, &out));
    FILETIME ft = {1, 1};
    SYSTEMTIME bad = {2003, 2, 0, 29, 12, 0, 0, 0};
    EXPECT_FALSE(C_TimeTestPeer::LocalToUtc(&z, &bad, &ft));
    EXPECT_EQ(ft.dwLowDateTime | ft.dwHighDateTime, 0u);
}

namespace {
DWORD g_machineResult = 0;
TIME_ZONE_INFORMATION g_machineZone = {};
int g_machineCalls = 0;
DWORD FakeMachine(TIME_ZONE_INFORMATION* zone) {
    ++g_machineCalls;
    *zone = g_machineZone;
    return g_machineResult;
}
struct MachineScope {
    MachineScope(DWORD result, const TIME_ZONE_INFORMATION& zone) {
        g_machineResult = result;
        g_machineZone = zone;
        g_machineCalls = 0;
        previous = quendel::SetMachineZoneSource(FakeMachine);
    }
    ~MachineScope() { quendel::SetMachineZoneSource(previous); }
    quendel::MachineZoneSource previous;
};
}  // namespace

TEST(UserTimeZone, FilledFromTheMachine) {
    UserZoneScope scope;
    {
        MachineScope machine(2, test_zones::Eastern());
        TIME_ZONE_INFORMATION z;
        C_Time::GetLocTimeZoneInfo(&z);
        EXPECT_EQ(z.Bias, 300);
        C_Time::GetLocTimeZoneInfo(&z);
        EXPECT_EQ(g_machineCalls, 1);  // kept once filled
        // A null zone argument means this zone.
        EXPECT_EQ(C_Time(2003, 7, 1, 8, 0, 0, nullptr), Utc(2003, 7, 1, 12));
    }
    UserZoneScope::Clear();
    {
        MachineScope machine(TIME_ZONE_ID_INVALID, test_zones::Eastern());
        TIME_ZONE_INFORMATION z;
        C_Time::GetLocTimeZoneInfo(&z);
        EXPECT_EQ(z.Bias, 0);
        EXPECT_EQ(z.StandardName[0], 0);
        EXPECT_EQ(z.DaylightDate.wMonth, 0);
        C_Time::GetLocTimeZoneInfo(&z);
        EXPECT_EQ(g_machineCalls, 2);  // asked again
        EXPECT_EQ(C_Time(2003, 7, 1, 8, 0, 0, nullptr), Utc(2003, 7, 1, 8));
    }
    UserZoneScope::Clear();
    {
        // A zone without summer-time rules keeps its bias.
        MachineScope machine(TIME_ZONE_ID_UNKNOWN, test_zones::Tokyo());
        TIME_ZONE_INFORMATION z;
        C_Time::GetLocTimeZoneInfo(&z);
        EXPECT_EQ(z.Bias, -540);
        EXPECT_EQ(C_Time(2003, 7, 1, 21, 0, 0, nullptr), Utc(2003, 7, 1, 12));
    }
    UserZoneScope::Clear();
    // The real machine: the test launcher runs Wine in Europe/Berlin.
    TIME_ZONE_INFORMATION z;
    C_Time::GetLocTimeZoneInfo(&z);
    EXPECT_EQ(z.Bias, -60);
    EXPECT_EQ(z.DaylightBias, -60);
    EXPECT_EQ(C_Time(2003, 7, 1, 14, 0, 0, nullptr), Utc(2003, 7, 1, 12));
}

TEST(UserTimeZone, SetRecordAndNullArguments) {
    UserZoneScope scope;
    TIME_ZONE_INFORMATION sydney = test_zones::AusEastern();
    C_Time::SetLocTimeZoneInfo(&sydney);
    TIME_ZONE_INFORMATION z;
    C_Time::GetLocTimeZoneInfo(&z);
    EXPECT_EQ(std::memcmp(&z, &sydney, sizeof z), 0);
    EXPECT_TRUE(Utc(2010, 1, 15).IsSummerTime());
    EXPECT_EQ(Text(LocalFields(Utc(2010, 1, 15), sydney)), "2010-01-15 11:00:00.000");
    SYSTEMTIME f;
    ASSERT_TRUE(Utc(2010, 1, 15).GetLocSystemTime(&f));
    EXPECT_EQ(Text(f), "2010-01-15 11:00:00.000");
    char name[64];
    C_Time::GetLocTimeZoneAsRegString(name, sizeof name);
    EXPECT_STREQ(name, "AUS Eastern Standard Time");
    char small[5] = {'x', 'x', 'x', 'x', 'x'};
    C_Time::GetLocTimeZoneAsRegString(small, 4);
    EXPECT_STREQ(small, "AUS");  // cut and terminated within the size
    EXPECT_EQ(small[4], 'x');
}
