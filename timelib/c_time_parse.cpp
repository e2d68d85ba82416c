// Reading points back from text: local dates and times in the locale's patterns, and raw
// decimal tick counts.
#include <cstdint>
#include <cstring>

#include "timelib/c_time.h"
#include "timelib/locale_patterns.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The fields a text gives, as read.
struct Fields {
    int year = -1, yearDigits = 0, month = -1, day = -1, hour = -1, minute = -1, second = -1;
    int meridiem = -1;  // 0 before noon, 1 after, -1 not written
    bool twelveHour = false;
};

// Reads a text against a date or time pattern of the locale, the way GetDateFormat and
// GetTimeFormat write it: fields in the pattern's order, every other character as written.
class PatternReader {
public:
    PatternReader(const char* text, LCID locale) : m_r(text), m_locale(locale) {}

    bool Read(const char* pattern, Fields& f) {
        for (const char* p = pattern; *p;) {
            if (*p == '\'') {  // quoted text; '' is a quote of its own
                ++p;
                for (; *p && !(p[0] == '\'' && p[1] != '\''); ++p) {
                    if (p[0] == '\'') ++p;
                    if (!Literal(*p)) return false;
                }
                if (*p) ++p;
                continue;
            }
            const char letter = *p;
            int count = 0;
            while (*p == letter) ++p, ++count;
            if (!Field(letter, count, f)) return false;
        }
        return true;
    }

    const char* Rest() const { return m_r; }

private:
    // One field, or count characters of literal text.
    bool Field(char letter, int count, Fields& f) {
        switch (letter) {
        case 'd':
            return count <= 2 ? Number(2, &f.day) : AnyName(count == 3 ? LOCALE_SABBREVDAYNAME1 : LOCALE_SDAYNAME1, 7);
        case 'M':
            return count <= 2 ? Number(2, &f.month) : MonthName(count == 3, &f.month);
        case 'y':
            return YearNumber(&f);
        case 'h': case 'H':
            f.twelveHour = letter == 'h';
            return Number(2, &f.hour);
        case 'm':
            return Number(2, &f.minute);
        case 's':
            return Number(2, &f.second);
        case 't':
            return Meridiem(count == 1, &f.meridiem);
        case 'g':
            return false;  // eras are not read
        default:
            for (int i = 0; i < count; ++i)
                if (!Literal(letter)) return false;
            return true;
        }
    }

    // A character of literal text; a blank may be missing at the end, where Format takes it off.
    bool Literal(char c) {
        if (*m_r == c) return ++m_r, true;
        return c == ' ' && *m_r == 0;
    }

    // One or two digits (a field written with a single letter has one or two).
    bool Number(int maxDigits, int* value) {
        int digits = 0, v = 0;
        for (; digits < maxDigits && IsDigit(*m_r); ++digits) v = v * 10 + (*m_r++ - '0');
        if (digits == 0) return false;
        *value = v;
        return true;
    }

    bool YearNumber(Fields* f) {
        int digits = 0, v = 0;
        for (; digits < 5 && IsDigit(*m_r); ++digits) v = v * 10 + (*m_r++ - '0');
        if (digits == 0 || IsDigit(*m_r)) return false;
        f->year = v;
        f->yearDigits = digits;
        return true;
    }

    // Whether the text continues with name, case aside; moves past it.
    bool Matches(const char* name) {
        const int n = static_cast<int>(std::strlen(name));
        if (n == 0 || static_cast<int>(strnlen(m_r, n)) < n ||
            CompareStringA(m_locale, NORM_IGNORECASE, m_r, n, name, n) != CSTR_EQUAL)
            return false;
        m_r += n;
        return true;
    }

    // The longest of the locale's names (nominative or genitive) that the text continues with;
    // its index, or -1.
    int LongestName(LCTYPE first, int count, bool genitive) {
        int found = -1;
        std::size_t longest = 0;
        for (int i = 0; i < count; ++i)
            for (const LCTYPE flag : {LCTYPE{0}, genitive ? LCTYPE{LOCALE_RETURN_GENITIVE_NAMES} : LCTYPE{0}}) {
                char name[80];
                if (GetLocaleInfoA(m_locale, (first + static_cast<LCTYPE>(i)) | flag, name, sizeof name) <= 0) continue;
                // A name written with an abbreviation's dot ("Mi.") is also read without it.
                for (std::size_t n = std::strlen(name); n > 0; name[--n] = 0) {
                    const char* at = m_r;
                    if (n > longest && Matches(name)) found = i, longest = n;
                    m_r = at;
                    if (name[n - 1] != '.') break;
                }
            }
        m_r += longest;
        return found;
    }

    bool AnyName(LCTYPE first, int count) { return LongestName(first, count, false) >= 0; }

    bool MonthName(bool abbreviated, int* month) {
        const int i = LongestName(abbreviated ? LOCALE_SABBREVMONTHNAME1 : LOCALE_SMONTHNAME1, 12, true);
        if (i < 0) return false;
        *month = i + 1;
        return true;
    }

    // The locale's designator for before or after noon, whole or (t) its first character.
    bool Meridiem(bool firstCharacter, int* meridiem) {
        for (int i = 0; i < 2; ++i) {
            char designator[40];
            if (GetLocaleInfoA(m_locale, i == 0 ? LOCALE_S1159 : LOCALE_S2359, designator, sizeof designator) <= 0 ||
                !designator[0])
                continue;
            if (firstCharacter) designator[IsDBCSLeadByte(static_cast<BYTE>(designator[0])) ? 2 : 1] = 0;
            if (Matches(designator)) {
                *meridiem = i;
                return true;
            }
        }
        return false;
    }

    const char* m_r;
    LCID m_locale;
};

// Two-digit years: 00-49 are 2000-2049, 50-99 are 1950-1999.
int FullYear(const Fields& f) { return f.yearDigits <= 2 && f.year >= 0 ? f.year + (f.year < 50 ? 2000 : 1900) : f.year; }

// The hour of the day; 99 for a 12-hour reading out of 1 to 12.
int DayHour(const Fields& f) {
    if (f.meridiem < 0 || !f.twelveHour) return f.hour;
    return f.hour < 1 || f.hour > 12 ? 99 : f.hour % 12 + 12 * f.meridiem;
}

}  // namespace

bool C_Time::ReadLocFields(const char* text, int flags, unsigned long locale, const char* pattern, SYSTEMTIME* fields) {
    const bool date = (flags & FMT_DATE) != 0;
    if (!text || !fields || date == ((flags & FMT_TIME) != 0)) return false;
    while (IsBlank(*text)) ++text;
    Fields f;
    bool read = false;
    for (const bool seconds : {true, false}) {
        char own[81];
        if (!pattern && date) quendel::DatePattern(locale, true, own);
        char timePattern[40];
        if (!pattern && !date) quendel::TimePattern(locale, seconds, false, timePattern);
        PatternReader reader(text, locale);
        Fields candidate;
        if (reader.Read(pattern ? pattern : date ? own : timePattern, candidate)) {
            const char* rest = reader.Rest();
            while (IsBlank(*rest)) ++rest;
            if (!*rest) {
                f = candidate;
                read = true;
                break;
            }
        }
        if (pattern || date) break;  // one pattern to try
    }
    if (!read) return false;
    if (date ? f.day < 0 || f.month < 0 || f.year < 0 : f.hour < 0 || f.minute < 0) return false;
    SYSTEMTIME s = {};
    if (date) {
        s.wYear = static_cast<WORD>(FullYear(f) > 65535 ? 65535 : FullYear(f));
        s.wMonth = static_cast<WORD>(f.month);
        s.wDay = static_cast<WORD>(f.day);
    } else {
        s.wHour = static_cast<WORD>(DayHour(f));
        s.wMinute = static_cast<WORD>(f.minute);
        s.wSecond = static_cast<WORD>(f.second >= 0 ? f.second : 0);
    }
    *fields = s;
    return true;
}

bool C_Time::SetLocFormatTime(const char* text, int flags, unsigned long locale, const TIME_ZONE_INFORMATION* zone) {
    if (!text || (flags & FMT_DAYS) || !(flags & FMT_DATE)) return false;
    while (IsBlank(*text)) ++text;
    PatternReader reader(text, locale);
    Fields f;
    char pattern[81];
    quendel::DatePattern(locale, true, pattern);  // two-digit years read as well
    if (!reader.Read(pattern, f)) return false;
    const char* r = reader.Rest();
    if (flags & FMT_TIME) {
        // Date and time stand apart by " - ", as Format writes them, or by blanks.
        if (std::strncmp(r, " - ", 3) == 0) {
            r += 3;
        } else if (IsBlank(*r)) {
            while (IsBlank(*r)) ++r;
        } else {
            return false;
        }
        // With seconds, or without them as Format leaves them out.
        char timePattern[40];
        bool read = false;
        for (const bool seconds : {true, false}) {
            PatternReader time(r, locale);
            quendel::TimePattern(locale, seconds, false, timePattern);
            Fields withTime = f;
            if (time.Read(timePattern, withTime)) {
                const char* rest = time.Rest();
                while (IsBlank(*rest)) ++rest;
                if (*rest) continue;
                f = withTime;
                r = rest;
                read = true;
                break;
            }
        }
        if (!read) return false;
    }
    while (IsBlank(*r)) ++r;
    if (*r) return false;  // anything left over: not a text Format writes

    // A field the pattern lacks is missing, not guessed: "24.12" by "dd.MM" is no date.
    if (f.year < 0) return false;
    const int year = FullYear(f);
    const int hour = (flags & FMT_TIME) ? DayHour(f) : 0;
    const int minute = (flags & FMT_TIME) ? f.minute : 0;
    const int second = (flags & FMT_TIME) && f.second >= 0 ? f.second : 0;
    if (f.day < 0 || f.month < 0 || year < 0 || hour < 0 || minute < 0) return false;
    if (f.day < 1 || f.day > 31 || f.month < 1 || f.month > 12 || hour > 23 || minute > 59 || second > 59) return false;
    return SetLocTime(year, f.month, f.day, hour, minute, second, zone);
}

bool C_Time::SetTimeStr(const char* text) {
    if (!text) return false;
    const char* r = text;
    while (*r == ' ' || (*r >= '\t' && *r <= '\r')) ++r;
    const bool negative = *r == '-';
    if (*r == '+' || *r == '-') ++r;
    if (!IsDigit(*r)) return false;
    // Only counts of the tick range are taken: a longer one is refused, not cut.
    std::uint64_t magnitude = 0;
    for (; IsDigit(*r); ++r) {
        const unsigned digit = static_cast<unsigned>(*r - '0');
        if (magnitude > (0x7FFFFFFFFFFFFFFFull - digit) / 10) return false;
        magnitude = magnitude * 10 + digit;
    }
    if (negative && magnitude != 0) return false;
    m_time = magnitude;
    return true;
}
