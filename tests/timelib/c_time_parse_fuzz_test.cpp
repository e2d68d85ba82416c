// Property tests with fixed seeds for the text parsers: random bytes and texts near the
// accepted forms into SetLocFormatTime and SetTimeStr. The texts end just before an
// inaccessible page, so a read past the terminator faults.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

#include "timelib/c_time.h"
#include "timelib/guarded.h"
#include "timelib/locale_scope.h"
#include "timelib/test_zones.h"
#include "timelib/user_zone_scope.h"

namespace {

std::string RandomBytes(std::mt19937& rng, std::size_t maxLength) {
    std::string s(rng() % (maxLength + 1), ' ');
    for (char& c : s) c = static_cast<char>(1 + rng() % 255);
    return s;
}

// A text like "24.12.2003 - 13:45:10" with some parts changed, dropped or repeated.
std::string NearValid(std::mt19937& rng) {
    static const char* const pieces[] = {"0",  "1",  "9",  "24", "12", "31",  "2003", "99",  "00",
                                         "13", "45", "59", "60", "-1", "+5", "999999999999", "4294967296"};
    static const char* const separators[] = {".", ":", " - ", "-", " ", "", "/", ",", "..", "\xE4"};
    std::string s;
    const int parts = 1 + static_cast<int>(rng() % 8);
    for (int i = 0; i < parts; ++i) {
        s += pieces[rng() % (sizeof pieces / sizeof pieces[0])];
        if (rng() % 5) s += separators[rng() % (sizeof separators / sizeof separators[0])];
    }
    if (rng() % 8 == 0 && !s.empty()) s.erase(rng() % s.size(), 1);
    return s;
}

const TIME_ZONE_INFORMATION* AnyZone(std::mt19937& rng, TIME_ZONE_INFORMATION& storage) {
    switch (rng() % 4) {
    case 0: return nullptr;
    case 1: storage = test_zones::WEurope(); return &storage;
    case 2: storage = test_zones::Chatham(); return &storage;
    default:
        storage = test_zones::Make(static_cast<LONG>(rng() % 3000) - 1500, static_cast<LONG>(rng() % 200) - 100,
                                   test_zones::Rule(static_cast<WORD>(rng() % 14), static_cast<WORD>(rng() % 10),
                                                    static_cast<WORD>(rng() % 10), static_cast<WORD>(rng() % 31)),
                                   test_zones::Rule(static_cast<WORD>(rng() % 14), static_cast<WORD>(rng() % 10),
                                                    static_cast<WORD>(rng() % 10), static_cast<WORD>(rng() % 31)));
        return &storage;
    }
}

void CheckLocFormat(GuardedText& guard, const std::string& text, std::mt19937& rng) {
    static const int flagSets[] = {0x02, 0x08, 0x0a, 0x0b, 0x3b, 0};
    const int flags = flagSets[rng() % (sizeof flagSets / sizeof flagSets[0])];
    TIME_ZONE_INFORMATION storage;
    const TIME_ZONE_INFORMATION* zone = AnyZone(rng, storage);
    C_Time t(42);
    const bool ok = t.SetLocFormatTime(guard.Put(text), flags, LOCALE_USER_DEFAULT, zone);
    SCOPED_TRACE(testing::Message() << "text \"" << text << "\" flags " << flags);
    if (ok)
        EXPECT_TRUE(t.IsValid());
    else
        EXPECT_TRUE(t == C_Time(42) || t.IsInvalid());  // kept, or a date the calendar lacks
}

}  // namespace

TEST(ParseFuzz, LocFormatTimeTakesRandomBytes) {
    LocaleScope locale;
    locale.German();
    UserZoneScope userZone;
    GuardedText guard;
    ASSERT_TRUE(guard.Ready());
    std::mt19937 rng(12345);
    for (int i = 0; i < 20000; ++i) CheckLocFormat(guard, RandomBytes(rng, 40), rng);
}

TEST(ParseFuzz, LocFormatTimeTakesNearValidTexts) {
    LocaleScope locale;
    locale.German();
    UserZoneScope userZone;
    GuardedText guard;
    ASSERT_TRUE(guard.Ready());
    std::mt19937 rng(67890);
    for (int i = 0; i < 30000; ++i) CheckLocFormat(guard, NearValid(rng), rng);
    // Other patterns of the user locale.
    locale.Set(LOCALE_SSHORTDATE, "yyyy-MM-dd");
    locale.Set(LOCALE_STIMEFORMAT, "h:mm:ss tt");
    for (int i = 0; i < 10000; ++i) CheckLocFormat(guard, NearValid(rng), rng);
    locale.Set(LOCALE_SSHORTDATE, "M/d/yy");
    for (int i = 0; i < 10000; ++i) CheckLocFormat(guard, NearValid(rng), rng);
}

// SetTimeStr is always true; the value is the leading decimal number as strtoll reads it
// (whitespace, a sign, digits), saturated at the signed 64-bit ends.
TEST(ParseFuzz, TimeStrOfRandomTexts) {
    GuardedText guard;
    ASSERT_TRUE(guard.Ready());
    std::mt19937 rng(777);
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        switch (rng() % 3) {
        case 0: text = RandomBytes(rng, 30); break;
        case 1: text = NearValid(rng); break;
        default:
            text = std::string(rng() % 3, ' ') + (rng() % 2 ? "-" : rng() % 2 ? "+" : "") +
                   std::to_string((static_cast<unsigned long long>(rng()) << 32) | rng()) +
                   std::string(rng() % 20, '9') + RandomBytes(rng, 3);
            break;
        }
        C_Time t(42);
        EXPECT_TRUE(t.SetTimeStr(guard.Put(text)));
        // Bytes above 0x7F are not whitespace to the C library either; the C library's
        // wider notion of a space (0x1C-0x1F in some runtimes) is left out of the check.
        bool plain = true;
        for (unsigned char c : text)
            if (c >= 0x1C && c <= 0x1F) plain = false;
        if (!plain) continue;
        const long long expected = std::strtoll(text.c_str(), nullptr, 10);
        EXPECT_EQ(t.GetTimeUTC(), static_cast<unsigned long long>(expected)) << "\"" << text << "\"";
    }
}
