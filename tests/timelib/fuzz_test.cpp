// Property tests with fixed seeds: random and broken zone records through the zone-dependent
// members, and random texts into the parsers. Nothing may crash or write past its output,
// and every failure takes its documented form.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "support/guarded.h"
#include "support/locale_scope.h"
#include "support/test_zones.h"
#include "support/user_zone_scope.h"
#include "timelib/c_time.h"

namespace {

using Rng = std::mt19937;

// Biases of a day at most, of any size, and the ends of the range.
LONG RandomBias(Rng& rng) {
    const LONG choices[] = {-60, static_cast<LONG>(rng() % 2881) - 1440, rng() % 2 ? LONG_MAX : LONG_MIN, LONG(rng())};
    return choices[rng() % 4];
}

// Change-over rules: none, weekday rules with any field out of range, absolute dates with
// days the month may lack.
TIME_ZONE_INFORMATION RandomZone(Rng& rng) {
    TIME_ZONE_INFORMATION z = {};
    z.Bias = RandomBias(rng);
    z.StandardBias = rng() % 4 ? 0 : RandomBias(rng);
    z.DaylightBias = rng() % 3 ? -60 : RandomBias(rng);
    for (SYSTEMTIME* r : {&z.StandardDate, &z.DaylightDate}) {
        const unsigned kind = rng() % 4;
        if (kind == 0) continue;
        *r = SYSTEMTIME{WORD(kind == 1 ? 1990 + rng() % 40 : 0), WORD(rng() % 14), WORD(rng() % 10),
                        WORD(kind == 1 ? rng() % 34 : rng() % 10), WORD(rng() % 16 ? rng() % 31 : rng()),
                        WORD(rng() % 62), WORD(rng() % 62), WORD(rng() % 1002)};
    }
    if (rng() % 8 == 0) z.DaylightDate = z.StandardDate;  // both change-overs at once
    for (WCHAR& c : z.StandardName) c = static_cast<WCHAR>(rng());  // any 32 characters, terminated or not
    return z;
}

C_Time RandomPoint(Rng& rng) {
    const unsigned __int64 any = (static_cast<unsigned __int64>(rng()) << 32) | rng();
    const unsigned __int64 points[] = {0, rng() % 1000, ~0ull - rng() % 1000, any,
                                       599266080000000000ull + any % 252288000000000000ull};  // 1601 to 2400
    return C_Time(points[rng() % 8 < 4 ? rng() % 4 : 4]);
}

}  // namespace

// Every field getter agrees with the whole reading (zero and Sunday without one), nothing
// is written past an output, the user zone set to the record answers as the record does,
// and setters keep the point on a range failure or leave the invalid time.
TEST(Fuzz, RandomZoneRecords) {
    UserZoneScope userZone;
    Rng rng(20031224);
    for (int round = 0; round < 30000; ++round) {
        TIME_ZONE_INFORMATION zone = RandomZone(rng);
        const C_Time point = RandomPoint(rng);
        SCOPED_TRACE(testing::Message() << "round " << round << " ticks " << point.GetTimeUTC() << " bias " << zone.Bias);
        SYSTEMTIME f;
        const bool ok = point.GetLocSystemTime(&f, &zone);
        const int fields[] = {point.GetLocYear(&zone), point.GetLocMonth(&zone), point.GetLocDay(&zone),
                              point.GetLocHour(&zone), point.GetLocMinute(&zone), point.GetLocSecond(&zone),
                              point.GetLocMilliseconds(&zone), point.GetLocWeekDay(&zone)};
        const int whole[] = {f.wYear, f.wMonth, f.wDay, f.wHour, f.wMinute, f.wSecond, f.wMilliseconds, (f.wDayOfWeek + 6) % 7};
        EXPECT_EQ(std::memcmp(fields, whole, sizeof fields), 0);
        EXPECT_TRUE(ok ? point.IsValid() && whole[0] >= 1601 && whole[1] - 1u < 12 && whole[2] - 1u < 31 && whole[3] <= 23
                       : whole[0] + whole[1] + whole[2] == 0);
        C_Time start, end, s1, e1;
        const bool summer = point.IsSummerTime(&zone, &start, &end);
        EXPECT_TRUE(!summer || (point.IsValid() && start.IsValid()));
        C_Time::SetLocTimeZoneInfo(&zone);
        SYSTEMTIME viaUser;
        EXPECT_TRUE(point.GetLocSystemTime(&viaUser) == ok && std::memcmp(&viaUser, &f, sizeof f) == 0);
        EXPECT_TRUE(point.IsSummerTime(nullptr, &s1, &e1) == summer && s1 == start && e1 == end);
        EXPECT_EQ(point.StartDayLOC(), point.StartDayLOC(&zone));

        const int y = rng() % 4 ? 1601 + static_cast<int>(rng() % 800) : static_cast<int>(rng() % 70000) - 5000;
        const int mo = int(rng() % 15) - 1, d = int(rng() % 34) - 1, h = int(rng() % 26) - 1, mi = int(rng() % 62) - 1;
        const bool inRange = y >= 1601 && mo >= 1 && mo <= 12 && d >= 1 && d <= 31 && h >= 0 && h <= 23 && mi >= 0 && mi <= 59;
        C_Time t(42);
        const bool set = t.SetLocTime(y, mo, d, h, mi, 0, &zone);
        EXPECT_TRUE(set ? inRange && t.IsValid() : t == C_Time(42) || (inRange && t.IsInvalid()));
        EXPECT_EQ(C_Time(y, mo, d, h, mi, 0, &zone), set ? t : C_Time());

        char text[96];  // Format writes within its capacity, always terminated
        std::memset(text, '#', sizeof text);
        const unsigned capacity = rng() % 80;
        point.Format(text, capacity, static_cast<int>(rng() % 512), LOCALE_USER_DEFAULT, &zone);
        EXPECT_TRUE((capacity == 0 || std::memchr(text, 0, capacity)) && text[capacity] == '#');
    }
}

namespace {

std::string RandomBytes(Rng& rng, std::size_t maxLength) {
    std::string s(rng() % (maxLength + 1), ' ');
    for (char& c : s) c = static_cast<char>(1 + rng() % 255);
    return s;
}

}  // namespace

// Texts end just before an inaccessible page, so a read past the terminator faults.
// SetLocFormatTime keeps the point on failure; SetTimeStr reads the leading number as
// strtoll does, saturated.
TEST(Fuzz, ParsersTakeAnyText) {
    LocaleScope locale;
    locale.German();
    GuardedText guard;
    ASSERT_TRUE(guard.Ready());
    Rng rng(67890);
    const TIME_ZONE_INFORMATION berlin = test_zones::WEurope();
    for (int i = 0; i < 60000; ++i) {
        const std::string text = i % 2 ? RandomBytes(rng, 40)
                                       : std::string(rng() % 3, ' ') + (rng() % 2 ? "-" : "") +
                                             std::to_string(static_cast<unsigned long long>(rng()) << 32 | rng()) +
                                             std::string(rng() % 20, '9') + RandomBytes(rng, 3);
        C_Time t(42), u(42);
        EXPECT_TRUE(t.SetLocFormatTime(guard.Put(text), 0x0a, LOCALE_USER_DEFAULT, &berlin) || t == C_Time(42)) << text;
        EXPECT_TRUE(u.SetTimeStr(guard.Put(text)));
        bool plain = true;  // the C library's wider notion of a space (0x1C-0x1F) is left out
        for (unsigned char c : text) plain &= c < 0x1C || c > 0x1F;
        if (plain) {
            EXPECT_EQ(u.GetTimeUTC(), static_cast<unsigned long long>(std::strtoll(text.c_str(), nullptr, 10))) << text;
        }
    }
}
namespace {
std::vector<LCID> g_locales;
BOOL CALLBACK AddLocale(LPSTR text) {
    g_locales.push_back(static_cast<LCID>(std::strtoul(text, nullptr, 16)));
    return TRUE;
}
}  // namespace

// In every locale the platform lists, the text Format writes (date, time, seconds; two- and
// four-digit years) reads back to the same point; where a locale's text cannot be read (its
// characters lost in the narrow code page, an era), the read fails and never gives another time.
TEST(Fuzz, EveryLocaleReadsBackWhatItWrites) {
    EnumSystemLocalesA(AddLocale, LCID_SUPPORTED);
    ASSERT_GT(g_locales.size(), 100u);
    const TIME_ZONE_INFORMATION berlin = test_zones::WEurope();
    const C_Time point(2003, 12, 24, 13, 45, 10, &berlin);
    int readBack = 0, failed = 0;
    for (const LCID locale : g_locales)
        for (const int flags : {0x2b, 0x0b, 0x2a, 0x28}) {
            char text[300];
            point.Format(text, sizeof text, flags, locale, &berlin);
            C_Time back(42);
            if (!back.SetLocFormatTime(text, flags, locale, &berlin)) {
                EXPECT_EQ(back, C_Time(42)) << std::hex << locale << " \"" << text << "\"";
                ++failed;
                continue;
            }
            const __int64 off = point - back;  // the seconds, or the time, left out
            const __int64 allowed = (flags & 0x03) == 0x03 ? 0 : (flags & 0x02) ? 100000000 : 864000000000;
            EXPECT_TRUE(off >= 0 && off <= allowed) << std::hex << locale << " \"" << text << "\"";
            ++readBack;
        }
    std::printf("%d of %d texts in %zu locales read back\n", readBack, readBack + failed, g_locales.size());
}
