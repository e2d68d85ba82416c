#include "app/input_parsing.h"

#include <gtest/gtest.h>

#include <cstring>

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
