// The parsers of the dialog's number inputs against the C library's readings of the same random
// texts (a fixed seed), each ending just before an inaccessible page.
#include "app/input_parsing.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

#include "support/guarded.h"

TEST(InputParsing, AgreesWithTheCLibrary) {
    GuardedText guard;
    ASSERT_TRUE(guard.Ready());
    const std::string hex = "0123456789abcdefABCDEF", blanks = " \t\n\v\f\r\b\x0E";  // the last two are none
    std::mt19937 rng(8);
    for (int i = 0; i < 20000; ++i) {
        std::string text(rng() % 40, '0');  // digits of either case, now and then any other byte
        for (char& c : text) c = rng() % 12 ? hex[rng() % hex.size()] : static_cast<char>(1 + rng() % 255);
        SCOPED_TRACE(text);
        EXPECT_EQ(IsHexText(guard.Put(text)), text.find_first_not_of(hex.substr(0, 16)) == std::string::npos);
        // The first count characters, up to the end: their last 16 digits, the last 8 in 32 bits.
        const std::string first = text.substr(0, rng() % (text.size() + 1));
        const std::size_t count = first.size() + (first.size() == text.size() ? rng() % 3 : 0);
        const std::string last = first.substr(first.size() > 16 ? first.size() - 16 : 0);
        const unsigned long long value =
            first.find_first_not_of(hex) == std::string::npos ? std::strtoull(last.c_str(), nullptr, 16) : 0;
        EXPECT_EQ(ParseHex64(guard.Put(text), count), value);
        EXPECT_EQ(ParseHex32(guard.Put(text), count), value & 0xFFFFFFFF);
        // Blanks, a sign and up to nine digits, where atol cannot overflow.
        const std::string decimal = blanks.substr(rng() % blanks.size(), rng() % 3) +
                                    std::string("+-").substr(rng() % 3, 1) + text.substr(0, rng() % 10);
        EXPECT_EQ(LeadingDecimal32(guard.Put(decimal)), std::atol(decimal.c_str())) << decimal;
    }
}
