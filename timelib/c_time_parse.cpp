// Reading points back from text: local dates and times in the locale's patterns, and raw
// decimal tick counts.
#include <cstdint>
#include <cstring>

#include "timelib/c_time.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsOneOf(char c, const char* set) { return c != 0 && std::strchr(set, c) != nullptr; }

// value * 10 + digit, held below a bound that no field reaches, so that long digit runs
// fail the range checks instead of overflowing.
void AddDigit(int& value, char digit) {
    if (value < 100000000) value = value * 10 + (digit - '0');
}

// The locale's pattern for the item; empty when the locale has none.
void Pattern(LCID locale, LCTYPE item, char (&pattern)[81]) {
    std::memset(pattern, 0, sizeof pattern);
    if (GetLocaleInfoA(locale, item, pattern, sizeof pattern) <= 0) std::memset(pattern, 0, sizeof pattern);
}

}  // namespace

bool C_Time::SetLocFormatTime(const char* text, int flags, unsigned long locale, const TIME_ZONE_INFORMATION* zone) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    const char* r = text;
    while (*r == ' ' || *r == '\t') ++r;
    char pattern[81];

    if (flags & FMT_DATE) {
        static const char kDateLetters[] = "yYmMdD";
        Pattern(locale, LOCALE_SSHORTDATE, pattern);
        const char* p = pattern;
        // Any run of characters other than digits and '-' separates two fields, each field
        // takes as many digits as the text offers, and a '-' ends the date.
        while (*r && *p) {
            if (!IsDigit(*r)) {
                while (IsOneOf(*p, kDateLetters)) ++p;
                if (*p) ++p;
                while (*r && !IsDigit(*r) && *r != '-') ++r;
                if (!*r) break;
                if (*r == '-') {
                    while (*r == '-' || *r == ' ') ++r;
                    break;
                }
            }
            switch (*p) {
            case 'y': case 'Y': AddDigit(year, *r); break;
            case 'm': case 'M': AddDigit(month, *r); break;
            case 'd': case 'D': AddDigit(day, *r); break;
            default: break;  // not a field: the digit is passed over
            }
            ++r;
        }
        // Two-digit years: 00-49 are 2000-2049, 50-99 are 1950-1999.
        if (year < 50) year += 2000;
        else if (year < 100) year += 1900;
        if (day < 1 || day > 31 || month < 1 || month > 12) return false;
    }

    if (flags & FMT_TIME) {
        static const char kTimeLetters[] = "HhMmSs";
        Pattern(locale, LOCALE_STIMEFORMAT, pattern);
        const char* p = pattern;
        // Each character other than a digit moves on by one field; each pattern letter takes
        // one digit.
        while (*r && *p) {
            while (*r && !IsDigit(*r)) {
                ++r;
                while (IsOneOf(*p, kTimeLetters)) ++p;
                if (*p) ++p;
            }
            if (!*r) break;
            while (*p && !IsOneOf(*p, kTimeLetters)) ++p;
            if (!*p) break;
            switch (*p) {
            case 'h': case 'H': AddDigit(hour, *r); break;
            case 'm': case 'M': AddDigit(minute, *r); break;
            default: AddDigit(second, *r); break;
            }
            ++r;
            ++p;
        }
        if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) return false;
    }

    if (flags & FMT_DAYS) return false;
    return SetLocTime(year, month, day, hour, minute, second, zone);
}

bool C_Time::SetTimeStr(const char* text) {
    const char* r = text;
    while (*r == ' ' || (*r >= '\t' && *r <= '\r')) ++r;
    const bool negative = *r == '-';
    if (*r == '+' || *r == '-') ++r;
    // Magnitudes beyond the signed 64-bit range saturate to its ends.
    const std::uint64_t limit = negative ? 0x8000000000000000ull : 0x7FFFFFFFFFFFFFFFull;
    std::uint64_t magnitude = 0;
    for (; IsDigit(*r); ++r) {
        const unsigned digit = static_cast<unsigned>(*r - '0');
        magnitude = magnitude > (limit - digit) / 10 ? limit : magnitude * 10 + digit;
    }
    m_time = negative ? 0 - magnitude : magnitude;
    return true;
}
