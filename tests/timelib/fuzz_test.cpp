// Every locale's texts read back: what Format writes, SetLocFormatTime reads.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "support/locale_scope.h"
#include "support/test_zones.h"
#include "timelib/c_time.h"

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
