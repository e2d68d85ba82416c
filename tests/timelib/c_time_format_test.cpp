#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "strings/c_string.h"
#include "timelib/c_time.h"
#include "timelib/locale_scope.h"
#include "timelib/test_zones.h"

namespace {

const TIME_ZONE_INFORMATION kBerlin = test_zones::WEurope();

C_Time Utc(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    C_Time t;
    EXPECT_TRUE(t.SetTimeUTC(y, mo, d, h, mi, s, ms));
    return t;
}

std::string Fmt(const C_Time& t, int flags, const TIME_ZONE_INFORMATION* zone = &kBerlin) {
    char buffer[300];
    return t.Format(buffer, sizeof buffer, flags, LOCALE_USER_DEFAULT, zone);
}

std::string Fmt(const C_TimeSpan& s, int flags) {
    char buffer[100];
    return s.Format(buffer, sizeof buffer, flags);
}

// 24 December 2003, 13:45:10.123 local time in Berlin.
const C_Time kExample = Utc(2003, 12, 24, 12, 45, 10, 123);

}  // namespace

TEST(FormatPoint, GermanLocaleExamples) {
    LocaleScope locale;
    locale.German();
    struct Case {
        int flags;
        const char* expected;
    } const cases[] = {
        {0x28, "24.12.2003"},
        {0x03, "13:45:10"},
        {0x0b, "24.12.03 - 13:45:10"},
        {0x3b, "24.12.2003 - 13:45:10,123"},
        {0x0a, "24.12.03 - 13:45"},
        {0x08, "24.12.03"},
        {0x10b, "24.12.03 - 12:45:10"},
        {0x13b, "24.12.2003 - 12:45:10,123"},
        {0x12, "13:45"},  // milliseconds need the seconds
        {0x13, "13:45:10,123"},
        {0x04, ""},
        {0x00, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(Fmt(kExample, c.flags), c.expected) << std::hex << c.flags;
    EXPECT_EQ(Fmt(Utc(2003, 12, 24, 12, 45, 10, 5), 0x13), "13:45:10,005");
    for (int flags : {0x00, 0x0b, 0x3b, 0x13b}) EXPECT_EQ(Fmt(C_Time(), flags), " ?????");
    EXPECT_EQ(Fmt(C_Time(0x8000000000000000ull), 0x0b), " ?????");

    C_String s;
    EXPECT_STREQ(kExample.Format(s, 0x3b, LOCALE_USER_DEFAULT, &kBerlin), "24.12.2003 - 13:45:10,123");
    EXPECT_EQ(s, "24.12.2003 - 13:45:10,123");
    std::string text;
    EXPECT_STREQ(kExample.Format(text, 0x28, LOCALE_USER_DEFAULT, &kBerlin), "24.12.2003");
    EXPECT_EQ(text, "24.12.2003");
    EXPECT_STREQ(kExample.Format(nullptr, 300, 0x3b, LOCALE_USER_DEFAULT, &kBerlin), "");
}

TEST(FormatPoint, OtherPatterns) {
    LocaleScope locale;
    locale.German();
    locale.Set(LOCALE_SSHORTDATE, "dd.MM.yy");  // a two-digit year is not widened
    EXPECT_EQ(Fmt(kExample, 0x28), "24.12.03");
    locale.Set(LOCALE_SSHORTDATE, "MM/dd/yyyy");
    locale.Set(LOCALE_STIMEFORMAT, "hh:mm:ss tt");
    locale.Set(LOCALE_S1159, "AM");
    locale.Set(LOCALE_S2359, "PM");
    locale.Set(LOCALE_SDECIMAL, ".");
    EXPECT_EQ(Fmt(kExample, 0x28), "12/24/2003");
    EXPECT_EQ(Fmt(kExample, 0x03), "01:45:10 PM");
    EXPECT_EQ(Fmt(kExample, 0x02), "01:45 PM");
    EXPECT_EQ(Fmt(kExample, 0x3b), "12/24/2003 - 01:45:10.123 PM");
    locale.Set(LOCALE_STIMEFORMAT, "ss");  // seconds first: nothing before them to drop
    EXPECT_EQ(Fmt(kExample, 0x02), "");
}

// The buffer form never writes past the capacity, markers and separator included.
TEST(FormatPoint, SmallBuffers) {
    LocaleScope locale;
    locale.German();
    for (unsigned capacity = 0; capacity <= 30; ++capacity) {
        char buffer[40];
        std::memset(buffer, '#', sizeof buffer);
        kExample.Format(buffer, capacity, 0x3b, LOCALE_USER_DEFAULT, &kBerlin);
        for (unsigned i = capacity; i < sizeof buffer; ++i) ASSERT_EQ(buffer[i], '#') << capacity;
        // A piece that does not fit is left out; what stands is terminated within the capacity.
        if (capacity > 0) {
            EXPECT_LT(std::strlen(buffer), capacity);
        }
        if (capacity >= 26) {
            EXPECT_STREQ(buffer, "24.12.2003 - 13:45:10,123");
        } else if (capacity == 11) {
            EXPECT_STREQ(buffer, "24.12.2003");
        }
        std::memset(buffer, '#', sizeof buffer);
        C_Time().Format(buffer, capacity, 0x3b, LOCALE_USER_DEFAULT, &kBerlin);
        for (unsigned i = capacity; i < sizeof buffer; ++i) ASSERT_EQ(buffer[i], '#') << capacity;
    }
    char buffer[4];
    EXPECT_STREQ(C_Time().Format(buffer, sizeof buffer, 0, LOCALE_USER_DEFAULT, &kBerlin), " ??");
}

TEST(FormatPoint, NamesAndRawTicks) {
    LocaleScope locale;
    locale.German();
    // 2003-12-31 23:30 UTC: already Thursday 1 January in Berlin, still Wednesday in New York.
    const C_Time t = Utc(2003, 12, 31, 23, 30);
    const TIME_ZONE_INFORMATION eastern = test_zones::Eastern();
    C_String s;
    EXPECT_STREQ(t.GetMonthString(s, false, 0x407, &kBerlin), "Januar");
    EXPECT_STREQ(t.GetMonthString(s, false, 0x407, &eastern), "Dezember");
    EXPECT_STREQ(t.GetDayString(s, false, 0x407, &kBerlin), "Donnerstag");
    EXPECT_STREQ(t.GetDayString(s, false, 0x407, &eastern), "Mittwoch");
    EXPECT_STREQ(t.GetMonthString(s, true, 0x409, &eastern), "Dec");
    EXPECT_STREQ(t.GetDayString(s, true, 0x409, &eastern), "Wed");
    EXPECT_STREQ(t.GetDayString(s, false, 0x409, &eastern), "Wednesday");
    EXPECT_STREQ(C_Time().GetMonthString(s, false, 0x407, &kBerlin), "??");

    TIME_ZONE_INFORMATION none = {};
    TIME_ZONE_INFORMATION eastern2 = eastern;
    C_Time::SetLocTimeZoneInfo(&eastern2);
    std::string text;
    EXPECT_STREQ(t.GetMonthString(text, false, 0x409), "December");
    EXPECT_STREQ(t.GetDayString(text, false, 0x409), "Wednesday");
    C_Time::SetLocTimeZoneInfo(&none);

    EXPECT_STREQ(Utc(2003, 12, 24, 12).GetTimeStr(s, false), "127167408000000000");
    EXPECT_STREQ(Utc(2003, 12, 24, 12).GetTimeStr(text, true), "1c3ca1574d8e000");
    EXPECT_STREQ(C_Time().GetTimeStr(s, false), "0");
    EXPECT_STREQ(C_Time(0x8000000000000000ull).GetTimeStr(s, false), "-9223372036854775808");
    EXPECT_STREQ(C_Time(0x8000000000000000ull).GetTimeStr(s, true), "8000000000000000");
}

TEST(FormatSpan, PatternsAndFlags) {
    constexpr __int64 kMs = 10000, kSecond = 1000 * kMs, kMinute = 60 * kSecond, kHour = 60 * kMinute,
                      kDay = 24 * kHour;
    const C_TimeSpan example(2 * kDay + 3 * kHour + 4 * kMinute + 5 * kSecond + 6 * kMs);
    struct Case {
        __int64 span;
        int flags;
        const char* expected;
    } const cases[] = {
        {example, 0x17, "2 - 03:04:05,6"},
        {example, 0x07, "2 - 03:04:05"},
        {example, 0x06, "2 - 03:04"},
        {example, 0x04, "2 Tage"},
        {example, 0x02, "03:04"},
        {example, 0x00, ""},
        {kDay, 0x04, "1 Tage"},
        {23 * kHour + 59 * kMinute, 0x06, "23:59"},
        {2 * kDay + 3 * kHour, 0x02, "03:00"},
        {5 * kMs, 0x13, "00:00:00,5"},
        {-(kHour + 2 * kMinute), 0x06, "-1:-2"},  // no days; remainders keep the sign
        // Beyond 2^31 seconds and 2^32 milliseconds: the true fields.
        {36524 * kDay + kHour + 2 * kMinute + 3 * kSecond + 4 * kMs, 0x17, "36524 - 01:02:03,4"},
        {60 * kDay + 5 * kMs, 0x17, "60 - 00:00:00,5"},
        {0x7FFFFFFFFFFFFFFEll, 0x17, "10675199 - 02:48:05,477"},
    };
    for (const Case& c : cases) EXPECT_EQ(Fmt(C_TimeSpan(c.span), c.flags), c.expected) << c.span;
    EXPECT_EQ(Fmt(C_TimeSpan(), 0x17), " ???");
    char small[5];
    EXPECT_STREQ(example.Format(small, sizeof small, 0x17), "2 - ");
    EXPECT_STREQ(example.Format(nullptr, 10, 0x17), "");
    C_String s;
    EXPECT_STREQ(example.Format(s, 0x17), "2 - 03:04:05,6");
    std::string text;
    EXPECT_STREQ(example.Format(text, 0x04), "2 Tage");
}
