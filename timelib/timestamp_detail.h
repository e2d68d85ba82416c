// Shared pieces of the timestamp readers and writers (library-internal).
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "timelib/timestamp_forms.h"

namespace quendel::stamp::detail {

// Epochs in ticks since 1601-01-01.
inline constexpr std::uint64_t kTicksPerSecond = 10000000;
inline constexpr std::uint64_t kTicksPerDay = 864000000000;
inline constexpr std::uint64_t kUnixEpoch = 116444736000000000;    // 1970-01-01
inline constexpr std::uint64_t kOleEpoch = 94353120000000000;      // 1899-12-30
inline constexpr std::uint64_t kNtpEpoch = 94354848000000000;      // 1900-01-01
inline constexpr std::uint64_t kMacEpoch = 95616288000000000;      // 1904-01-01
inline constexpr std::uint64_t kGpsEpoch = 119604384000000000;     // 1980-01-06
inline constexpr std::uint64_t kCocoaEpoch = 126227808000000000;   // 2001-01-01
inline constexpr std::uint64_t kDotNetTo1601 = 504911232000000000;  // 0001-01-01 to 1601-01-01
inline constexpr std::uint64_t kUuidTo1601 = 5748192000000000;     // 1582-10-15 to 1601-01-01
inline constexpr std::uint64_t kYear10000 = 2650467744000000000;   // 10000-01-01

// A decimal number as written: sign, whole part, up to 15 fraction digits (more are read
// but dropped), whether it had a decimal point or comma.
struct Decimal {
    bool negative = false, signedText = false, point = false;
    std::uint64_t whole = 0;
    std::uint64_t fraction = 0;  // < 10^digits
    int digits = 0;
};
// The whole text as such a number (no exponent, no blanks); false on anything else or a
// whole part beyond 64 bits.
bool ReadDecimal(std::string_view text, Decimal* number);

// Ticks of a magnitude in units of mantissa * 10^exponent ticks (exponent 0 to 9), its
// fraction rounded to the nearest tick (halves away from zero); false beyond the calendar.
bool ScaledTicks(const Decimal& number, std::uint64_t mantissa, int exponent, std::uint64_t* ticks);
// epoch plus or minus offset, when the result lies in [0, kCalendarEnd).
bool Shifted(std::uint64_t epoch, bool negative, std::uint64_t offset, std::uint64_t* ticks);

// Ticks of calendar fields (proleptic Gregorian, 1601 to 30827), false where the date does
// not exist.
bool FieldTicks(int year, int month, int day, int hour, int minute, int second, std::uint64_t* ticks);

void Add(std::vector<StampCandidate>& out, StampForm form, std::uint64_t ticks, bool local = false);

// Readers of the text forms and the identifiers; each appends what it reads.
void ReadIso8601(std::string_view text, std::vector<StampCandidate>& out);
void ReadRfc2822(std::string_view text, std::vector<StampCandidate>& out);
void ReadIdentifiers(std::string_view text, std::vector<StampCandidate>& out);

}  // namespace quendel::stamp::detail
