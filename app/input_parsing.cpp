#include "app/input_parsing.h"

#include <cstring>

namespace {

// The value of a hexadecimal digit, or -1.
int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

template <typename T>
T ParseHex(const char* text, std::size_t count) {
    T value = 0;
    for (std::size_t i = 0; i < count && text[i]; ++i) {
        const int digit = HexDigit(text[i]);
        if (digit < 0) return 0;
        value = static_cast<T>(value << 4) | static_cast<T>(digit);  // older digits shift out
    }
    return value;
}

}  // namespace

bool IsHexText(const char* text) {
    for (; *text; ++text)
        if (!std::strchr("0123456789abcdef", *text)) return false;
    return true;
}

std::uint32_t ParseHex32(const char* text, std::size_t count) { return ParseHex<std::uint32_t>(text, count); }
std::uint64_t ParseHex64(const char* text, std::size_t count) { return ParseHex<std::uint64_t>(text, count); }

std::int32_t LeadingDecimal32(const char* text) {
    while (*text == ' ' || (*text >= '\t' && *text <= '\r')) ++text;
    const bool negative = *text == '-';
    if (*text == '+' || *text == '-') ++text;
    std::uint32_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) value = value * 10u + static_cast<std::uint32_t>(*text - '0');
    return static_cast<std::int32_t>(negative ? 0u - value : value);
}
