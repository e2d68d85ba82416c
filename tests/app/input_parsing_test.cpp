// The readers of the dialog's number inputs against the C library's readings of the same
// random texts (a fixed seed), each ending just before an inaccessible page: a whole number
// or nothing.
#include "app/input_parsing.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <random>
#include <string>

#include "support/guarded.h"

TEST(InputParsing, AgreesWithTheCLibrary) {
    GuardedText guard;
    ASSERT_TRUE(guard.Ready());
    const std::string characters = "0123456789abcdefABCDEF,.x+- ";
    std::mt19937 rng(8);
    for (int i = 0; i < 20000; ++i) {
        std::string text(rng() % 22, '0');  // mostly digits of either base, now and then a sign, a point or a blank
        for (char& c : text) c = characters[rng() % (rng() % 4 ? 10 : characters.size())];
        SCOPED_TRACE("\"" + text + "\"");
        char* end = nullptr;
        const std::string t = guard.Put(text);
        errno = 0;
        const unsigned long long decimal = std::strtoull(t.c_str(), &end, 10);
        const bool wholeDecimal = !t.empty() && *end == 0 && errno == 0 && t.find_first_not_of("0123456789") == std::string::npos;
        std::uint64_t value = 7;
        EXPECT_EQ(ParseDecimalExactly(t, &value), wholeDecimal);
        EXPECT_TRUE(!wholeDecimal || value == decimal);
        const std::string digits = HasHexPrefix(t) ? t.substr(2) : t;
        const bool wholeHex = !digits.empty() && digits.size() <= 16 && digits.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
        EXPECT_EQ(ParseHexExactly(t, 16, &value), wholeHex);
        EXPECT_TRUE(!wholeHex || value == std::strtoull(digits.c_str(), nullptr, 16));
        std::string dotted = t;
        for (char& c : dotted) c = c == ',' ? '.' : c;
        errno = 0;
        const double fraction = std::strtod(dotted.c_str(), &end);
        double parsed = 0;
        const bool wholeFraction = !t.empty() && *end == 0 && errno == 0 && t.find_first_of(" xabcdefABCDEF") == std::string::npos;
        EXPECT_EQ(ParseDecimalFraction(t, &parsed), wholeFraction);
        EXPECT_TRUE(!wholeFraction || parsed == fraction);
        long long s1 = 0, s2 = 0;  // signed decimal, and 8 hexadecimal digits in 32 bits
        EXPECT_TRUE(!ParseUnixSeconds(t, false, &s1) || HasHexPrefix(t) || s1 == std::strtoll(t.c_str(), nullptr, 10));
        EXPECT_TRUE(!wholeHex || digits.size() > 8 || !ParseUnixSeconds(t, true, &s2) ||
                    s2 == static_cast<std::int32_t>(static_cast<std::uint32_t>(std::strtoul(digits.c_str(), nullptr, 16))));
    }
    EXPECT_EQ(Trimmed(" \t 12 \t"), "12");
}
