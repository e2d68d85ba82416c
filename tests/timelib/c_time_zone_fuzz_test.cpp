// Property tests with fixed seeds: random and broken time-zone records through every
// zone-dependent member of C_Time. Nothing may crash or write past its output, and every
// failure must take its documented form.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <random>

#include "timelib/c_time.h"
#include "timelib/guarded.h"
#include "timelib/test_zones.h"
#include "timelib/user_zone_scope.h"

namespace {

constexpr unsigned __int64 kYear2000 = 125911584000000000ull;
constexpr unsigned __int64 kYear = 315360000000000ull;  // 365 days

// A change-over rule: none, a weekday rule with any field out of range, or an absolute
// date (a year) with days the month may lack.
SYSTEMTIME RandomRule(std::mt19937& rng) {
    SYSTEMTIME r = {};
    switch (rng() % 4) {
    case 0:
        return r;
    case 1:  // absolute date
        r.wYear = static_cast<WORD>(1990 + rng() % 40);
        r.wDay = static_cast<WORD>(rng() % 34);
        break;
    default:
        r.wDay = static_cast<WORD>(rng() % 10);
        break;
    }
    r.wMonth = static_cast<WORD>(rng() % 14);
    r.wDayOfWeek = static_cast<WORD>(rng() % 10);
    r.wHour = static_cast<WORD>(rng() % 31);
    r.wMinute = static_cast<WORD>(rng() % 62);
    r.wSecond = static_cast<WORD>(rng() % 62);
    r.wMilliseconds = static_cast<WORD>(rng() % 1002);
    if (rng() % 16 == 0) r.wHour = static_cast<WORD>(rng());  // any 16 bits
    return r;
}

LONG RandomBias(std::mt19937& rng) {
    switch (rng() % 6) {
    case 0: return 0;
    case 1: return -60;
    case 2: return static_cast<LONG>(rng() % 2881) - 1440;  // up to a day either way
    case 3: return static_cast<LONG>(rng() % 200001) - 100000;
    case 4: return rng() % 2 ? LONG_MAX : LONG_MIN;
    default: return static_cast<LONG>(rng());  // any 32 bits
    }
}

TIME_ZONE_INFORMATION RandomZone(std::mt19937& rng) {
    TIME_ZONE_INFORMATION z = {};
    z.Bias = RandomBias(rng);
    z.StandardBias = rng() % 4 ? 0 : RandomBias(rng);
    z.DaylightBias = rng() % 3 ? -60 : RandomBias(rng);
    z.StandardDate = RandomRule(rng);
    z.DaylightDate = RandomRule(rng);
    if (rng() % 8 == 0) z.DaylightDate = z.StandardDate;  // both change-overs at once
    // Names of any 32 characters, terminated or not.
    for (WCHAR& c : z.StandardName) c = static_cast<WCHAR>(rng() % 4 ? 'A' + rng() % 26 : rng());
    for (WCHAR& c : z.DaylightName) c = static_cast<WCHAR>(rng());
    return z;
}

C_Time RandomPoint(std::mt19937& rng) {
    switch (rng() % 8) {
    case 0: return C_Time();  // the invalid time
    case 1: return C_Time(static_cast<unsigned __int64>(rng() % 1000));
    case 2: return C_Time(~0ull - rng() % 1000);
    case 3: return C_Time((static_cast<unsigned __int64>(rng()) << 32) | rng());
    default:  // 1601 to 2400, most of the use
        return C_Time(kYear2000 - 399 * kYear + ((static_cast<unsigned __int64>(rng()) << 32) | rng()) % (800 * kYear));
    }
}

bool FieldsInRange(const SYSTEMTIME& f) {
    return f.wYear >= 1601 && f.wMonth >= 1 && f.wMonth <= 12 && f.wDay >= 1 && f.wDay <= 31 && f.wDayOfWeek <= 6 &&
           f.wHour <= 23 && f.wMinute <= 59 && f.wSecond <= 59 && f.wMilliseconds <= 999;
}

bool IsZero(const SYSTEMTIME& f) {
    static const SYSTEMTIME zero = {};
    return std::memcmp(&f, &zero, sizeof f) == 0;
}

}  // namespace

TEST(ZoneFuzz, GettersOfRandomZonesStayInRangeOrZero) {
    UserZoneScope userZone;
    std::mt19937 rng(20031224);
    for (int round = 0; round < 30000; ++round) {
        const TIME_ZONE_INFORMATION zone = RandomZone(rng);
        const C_Time point = RandomPoint(rng);
        SCOPED_TRACE(testing::Message() << "round " << round << " ticks " << point.GetTimeUTC() << " bias " << zone.Bias);

        Guarded<SYSTEMTIME> fields;
        const bool ok = point.GetLocSystemTime(&fields.value, &zone);
        ASSERT_TRUE(fields.Intact());
        if (ok) {
            EXPECT_TRUE(point.IsValid());
            EXPECT_TRUE(FieldsInRange(fields.value));
        } else {
            EXPECT_TRUE(IsZero(fields.value));  // a failed getter zeroes its output
        }
        if (point.IsInvalid()) {
            EXPECT_FALSE(ok);
        }

        const int year = point.GetLocYear(&zone), month = point.GetLocMonth(&zone), day = point.GetLocDay(&zone);
        const int hour = point.GetLocHour(&zone), minute = point.GetLocMinute(&zone);
        const int second = point.GetLocSecond(&zone), ms = point.GetLocMilliseconds(&zone);
        const int weekDay = point.GetLocWeekDay(&zone), dayOfYear = point.GetLocDayOfYear(&zone);
        const int week = point.GetLocWeekOfYear(&zone);
        if (ok) {
            // One call per field: each agrees with the whole reading.
            EXPECT_EQ(year, fields.value.wYear);
            EXPECT_EQ(month, fields.value.wMonth);
            EXPECT_EQ(day, fields.value.wDay);
            EXPECT_EQ(hour, fields.value.wHour);
            EXPECT_EQ(minute, fields.value.wMinute);
            EXPECT_EQ(second, fields.value.wSecond);
            EXPECT_EQ(ms, fields.value.wMilliseconds);
            EXPECT_EQ(weekDay, (fields.value.wDayOfWeek + 6) % 7);
            EXPECT_GE(dayOfYear, 0);
            EXPECT_LE(dayOfYear, 365);
            EXPECT_GE(week, 1);
            EXPECT_LE(week, 53);
        } else {
            EXPECT_EQ(year, 0);
            EXPECT_EQ(month, 0);
            EXPECT_EQ(day, 0);
            EXPECT_EQ(hour, 0);
            EXPECT_EQ(weekDay, 6);
        }

        Guarded<double> date;
        const bool dateOk = point.GetLocVariantTime(&date.value, &zone);
        ASSERT_TRUE(date.Intact());
        if (dateOk) {
            EXPECT_TRUE(std::isfinite(date.value));
        }

        // Lengths of the local periods: never negative for a reading that works.
        const __int64 lenDay = point.GetLocLenDay(&zone);
        const __int64 lenMonth = point.GetLocLenMonth(&zone);
        const __int64 lenYear = point.GetLocLenYear(&zone);
        if (ok && fields.value.wYear > 1601 && fields.value.wYear < 30000 && std::abs(zone.Bias) <= 1440 &&
            std::abs(zone.DaylightBias) <= 1440 && std::abs(zone.StandardBias) <= 1440) {
            EXPECT_GE(lenDay, 0);
            EXPECT_GE(lenMonth, lenDay);
            EXPECT_GE(lenYear, lenMonth);
        }

        // The period starts: each either the invalid time or some point.
        const C_Time starts[] = {point.StartYearLOC(&zone), point.StartMonthLOC(&zone), point.StartWeekLOC(&zone),
                                 point.StartDayLOC(&zone),  point.StartHour2LOC(&zone), point.StartHourLOC(&zone),
                                 point.StartMinLOC(&zone),  point.StartSecLOC(&zone),   point.EndDayLOC(&zone)};
        if (point.IsInvalid()) {
            for (const C_Time& s : starts) EXPECT_TRUE(s.IsInvalid());
        }

        Guarded<C_Time> start, end;
        Guarded<SYSTEMTIME> local;
        const bool summer = point.IsSummerTime(&zone, &start.value, &end.value, &local.value);
        ASSERT_TRUE(start.Intact());
        ASSERT_TRUE(end.Intact());
        ASSERT_TRUE(local.Intact());
        if (point.IsInvalid()) {
            EXPECT_FALSE(summer);
        }
        if (summer) {
            EXPECT_TRUE(start.value.IsValid());
        }
        // Each output may be null.
        EXPECT_EQ(point.IsSummerTime(&zone), summer);
        EXPECT_EQ(point.IsSummerTime(&zone, nullptr, nullptr, nullptr), summer);
    }
}

TEST(ZoneFuzz, SettersOfRandomZonesFailAsDocumented) {
    UserZoneScope userZone;
    std::mt19937 rng(19700101);
    for (int round = 0; round < 30000; ++round) {
        const TIME_ZONE_INFORMATION zone = RandomZone(rng);
        const int year = rng() % 4 ? 1601 + static_cast<int>(rng() % 800) : static_cast<int>(rng() % 70000) - 5000;
        const int month = static_cast<int>(rng() % 15) - 1, day = static_cast<int>(rng() % 34) - 1;
        const int hour = static_cast<int>(rng() % 26) - 1, minute = static_cast<int>(rng() % 62) - 1;
        const int second = static_cast<int>(rng() % 62) - 1;
        SCOPED_TRACE(testing::Message() << "round " << round << " " << year << "-" << month << "-" << day << " "
                                        << hour << ":" << minute << ":" << second << " bias " << zone.Bias);
        // No upper bound on the year: a year beyond the calendar fails in the conversion.
        const bool inRange = year >= 1601 && month >= 1 && month <= 12 && day >= 1 && day <= 31 &&
                             hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 59;

        C_Time t(42);
        const bool ok = t.SetLocTime(year, month, day, hour, minute, second, &zone);
        if (ok) {
            EXPECT_TRUE(inRange);
            EXPECT_TRUE(t.IsValid());
        } else {
            // Range failures keep the value; conversion failures leave the invalid time.
            EXPECT_TRUE(t == C_Time(42) || t.IsInvalid());
            if (!inRange) {
                EXPECT_EQ(t, C_Time(42));
            }
        }

        SYSTEMTIME fields = {static_cast<WORD>(year), static_cast<WORD>(month), static_cast<WORD>(rng() % 10),
                             static_cast<WORD>(day),  static_cast<WORD>(hour),  static_cast<WORD>(minute),
                             static_cast<WORD>(second), static_cast<WORD>(rng() % 1100)};
        C_Time u(42);
        if (u.SetLocSystemTime(&fields, &zone))
            EXPECT_TRUE(u.IsValid());
        else
            EXPECT_TRUE(u.IsInvalid());

        C_Time v(year, month, day, hour, minute, second, &zone);
        EXPECT_EQ(v.IsValid(), ok);
        if (ok) {
            EXPECT_EQ(v, t);
        }
    }
}

// Format with a zone writes within its capacity, always terminated.
TEST(ZoneFuzz, FormatInRandomZonesStaysInItsBuffer) {
    UserZoneScope userZone;
    std::mt19937 rng(4711);
    const int flagSets[] = {0x02, 0x08, 0x0a, 0x0b, 0x3b, 0x3f, 0xff, static_cast<int>(rng())};
    for (int round = 0; round < 15000; ++round) {
        const TIME_ZONE_INFORMATION zone = RandomZone(rng);
        const C_Time point = RandomPoint(rng);
        const int flags = flagSets[rng() % (sizeof flagSets / sizeof flagSets[0])];
        const unsigned capacity = rng() % 4 == 0 ? static_cast<unsigned>(rng() % 8) : static_cast<unsigned>(rng() % 80);
        SCOPED_TRACE(testing::Message() << "round " << round << " flags " << flags << " capacity " << capacity);
        GuardedChars<80> text;
        const char* result = point.Format(text.Buffer(), capacity, flags, LOCALE_USER_DEFAULT, &zone);
        ASSERT_TRUE(text.IntactAround(capacity));
        ASSERT_NE(result, nullptr);
        if (capacity > 0) {
            EXPECT_EQ(result, text.Buffer());
            EXPECT_NE(std::memchr(text.Buffer(), 0, capacity), nullptr);
        }
    }
}

// The global user zone set to a random record: the members without a zone argument read it.
TEST(ZoneFuzz, RandomUserZoneAgreesWithTheExplicitZone) {
    UserZoneScope userZone;
    std::mt19937 rng(1601);
    for (int round = 0; round < 10000; ++round) {
        TIME_ZONE_INFORMATION zone = RandomZone(rng);
        const C_Time point = RandomPoint(rng);
        C_Time::SetLocTimeZoneInfo(&zone);
        SYSTEMTIME viaUser, viaZone;
        EXPECT_EQ(point.GetLocSystemTime(&viaUser), point.GetLocSystemTime(&viaZone, &zone));
        EXPECT_EQ(std::memcmp(&viaUser, &viaZone, sizeof viaUser), 0);
        C_Time s1, e1, s2, e2;
        EXPECT_EQ(point.IsSummerTime(nullptr, &s1, &e1), point.IsSummerTime(&zone, &s2, &e2));
        EXPECT_EQ(s1, s2);
        EXPECT_EQ(e1, e2);
        EXPECT_EQ(point.StartDayLOC(), point.StartDayLOC(&zone));
    }
}

// A record changed in place gives the answers of the new record, never ones remembered
// from the old (results may be cached per record).
TEST(ZoneFuzz, RecordChangedInPlaceGivesFreshAnswers) {
    UserZoneScope userZone;
    std::mt19937 rng(2400);
    TIME_ZONE_INFORMATION reused = test_zones::WEurope();
    for (int round = 0; round < 20000; ++round) {
        const TIME_ZONE_INFORMATION fresh = rng() % 2 ? RandomZone(rng) : test_zones::Eastern();
        C_Time point = RandomPoint(rng);
        // Prime any cache with the old record at the same address and year.
        SYSTEMTIME ignored;
        point.GetLocSystemTime(&ignored, &reused);
        point.IsSummerTime(&reused);
        reused = fresh;
        const TIME_ZONE_INFORMATION copy = fresh;
        SCOPED_TRACE(testing::Message() << "round " << round << " ticks " << point.GetTimeUTC());
        SYSTEMTIME a, b;
        EXPECT_EQ(point.GetLocSystemTime(&a, &reused), point.GetLocSystemTime(&b, &copy));
        EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0);
        C_Time s1, e1, s2, e2;
        EXPECT_EQ(point.IsSummerTime(&reused, &s1, &e1), point.IsSummerTime(&copy, &s2, &e2));
        EXPECT_EQ(s1, s2);
        EXPECT_EQ(e1, e2);
        EXPECT_EQ(C_Time(2003, 7, 1, 12, 0, 0, &reused), C_Time(2003, 7, 1, 12, 0, 0, &copy));
    }
}
