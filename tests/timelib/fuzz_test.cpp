// Property tests with fixed seeds: random texts into the parsers, and every locale's texts
// read back. Nothing may read past its input, and every failure takes its documented form.
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
#include "timelib/c_time.h"

namespace {

using Rng = std::mt19937;

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
