#include "app/input_parsing.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "timelib/guarded.h"

TEST(InputParsing, HexadecimalText) {
    EXPECT_TRUE(IsHexText(""));
    EXPECT_TRUE(IsHexText("0123456789abcdef"));
    EXPECT_FALSE(IsHexText("0x1a"));
    EXPECT_FALSE(IsHexText("1A"));  // the texts are lower-cased before the check
    EXPECT_FALSE(IsHexText("-5"));
    struct Case {
        const char* text;
        std::uint64_t value64;
        std::uint32_t value32;
    } const cases[] = {
        {"", 0, 0},
        {"1a", 26, 26},
        {"1A", 26, 26},
        {"ffffffff", 0xFFFFFFFFull, 0xFFFFFFFFu},
        {"123456789", 0x123456789ull, 0x23456789u},  // only the last 8 digits fit 32 bits
        {"ff01c3ca1574d8e000", 0x1c3ca1574d8e000ull, 0x74d8e000u},
        {"12g4", 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseHex64(c.text, std::strlen(c.text)), c.value64) << c.text;
        EXPECT_EQ(ParseHex32(c.text, std::strlen(c.text)), c.value32) << c.text;
    }
    EXPECT_EQ(ParseHex64("123", 2), 0x12u);  // count limits the digits used
}

TEST(InputParsing, LeadingDecimal) {
    EXPECT_EQ(LeadingDecimal32("1072267200"), 1072267200);
    EXPECT_EQ(LeadingDecimal32("12ab"), 12);
    EXPECT_EQ(LeadingDecimal32("  -7x"), -7);
    EXPECT_EQ(LeadingDecimal32("abc"), 0);
    EXPECT_EQ(LeadingDecimal32("4294967295"), -1);  // wraps like a 32-bit long
}

namespace {

// Texts of hexadecimal digits with now and then a character of any other kind.
std::string RandomHexish(std::mt19937& rng) {
    static const char digits[] = "0123456789abcdef";
    std::string s(rng() % 40, '0');
    for (char& c : s) c = rng() % 12 ? digits[rng() % 16] : static_cast<char>(1 + rng() % 255);
    return s;
}

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

// Fixed seed, random texts: each parser against the platform's own reading of the same
// text, where the text ends just before an inaccessible page.
TEST(InputParsing, RandomTexts) {
    GuardedText guard;
    ASSERT_TRUE(guard.Ready());
    std::mt19937 rng(8);
    for (int i = 0; i < 20000; ++i) {
        const std::string text = RandomHexish(rng);
        const char* p = guard.Put(text);
        SCOPED_TRACE(text);
        bool hex = true, anyDigit = true;
        for (char c : text) {
            hex = hex && ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'));
            anyDigit = anyDigit && DigitValue(c) >= 0;
        }
        EXPECT_EQ(IsHexText(p), hex);
        const std::size_t count = rng() % (text.size() + 1);
        // The last 8 / 16 of the first count digits, read by strtoull.
        const std::string first = text.substr(0, count);
        bool valid = true;
        for (char c : first) valid = valid && DigitValue(c) >= 0;
        const std::string last8 = first.size() > 8 ? first.substr(first.size() - 8) : first;
        const std::string last16 = first.size() > 16 ? first.substr(first.size() - 16) : first;
        EXPECT_EQ(ParseHex32(p, count), valid ? std::strtoull(last8.c_str(), nullptr, 16) : 0u);
        EXPECT_EQ(ParseHex64(p, count), valid ? std::strtoull(last16.c_str(), nullptr, 16) : 0u);
        // Up to nine digits, where atol and the 32-bit reading agree without wrapping.
        std::string decimal = std::string(rng() % 3, ' ') + (rng() % 2 ? "-" : "") + text.substr(0, rng() % 10);
        EXPECT_EQ(LeadingDecimal32(guard.Put(decimal)), std::atol(decimal.c_str())) << decimal;
    }
    // Long digit runs wrap modulo 2^32.
    for (int i = 0; i < 2000; ++i) {
        std::string digits(1 + rng() % 30, '0');
        for (char& c : digits) c = static_cast<char>('0' + rng() % 10);
        unsigned long long wrapped = 0;
        for (char c : digits) wrapped = (wrapped * 10 + static_cast<unsigned>(c - '0')) & 0xFFFFFFFFull;
        EXPECT_EQ(static_cast<std::uint32_t>(LeadingDecimal32(guard.Put(digits))), wrapped) << digits;
    }
}
