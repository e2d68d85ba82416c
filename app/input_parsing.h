// Parsers of the main dialog's number inputs.
#pragma once

#include <cstddef>
#include <cstdint>

// True when every character is one of "0123456789abcdef" (the empty text passes).
bool IsHexText(const char* text);
// The first count characters as hexadecimal digits (either case); only the last 8 / 16
// digits count. Any other character makes the result 0.
std::uint32_t ParseHex32(const char* text, std::size_t count);
std::uint64_t ParseHex64(const char* text, std::size_t count);
// Leading decimal digits with an optional sign, as atol reads them; beyond the 32-bit
// range the value wraps like the platform's 32-bit long instead of being undefined.
std::int32_t LeadingDecimal32(const char* text);
