// Display texts of points and spans: locale dates and times through the platform's
// formatting, spans with fixed German patterns, month and weekday names, raw tick counts.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "strings/c_string.h"
#include "timelib/c_time.h"
#include "timelib/locale_patterns.h"

const char C_Time::m_fmtTicksDecimal[] = "%I64d";
const char C_Time::m_fmtTicksHex[] = "%I64x";

namespace {

const char kEmpty[] = "";
const char kInvalidPoint[] = " ?????";
const char kInvalidSpan[] = " ???";
const char kDateTimeSeparator[] = " - ";

// Appends text at the end of the terminated text in buffer, cut to the capacity.
void Append(char* buffer, unsigned int capacity, const char* text) {
    const size_t used = std::strlen(buffer);
    if (used + 1 >= capacity) return;
    const size_t room = capacity - 1 - used;
    const size_t n = std::min(room, std::strlen(text));
    std::memcpy(buffer + used, text, n);
    buffer[used + n] = 0;
}

// The text being built in the caller's buffer. Its length is tracked rather than measured
// again, and it never passes capacity - 1 bytes plus the terminator.
class Output {
public:
    Output(char* buffer, unsigned int capacity) : m_buffer(buffer), m_capacity(capacity) { m_buffer[0] = 0; }

    void Append(const char* text, unsigned int length) {
        const unsigned int room = m_capacity - 1 - m_used;
        const unsigned int n = length < room ? length : room;
        std::memcpy(m_buffer + m_used, text, n);
        m_used += n;
        m_buffer[m_used] = 0;
    }

    unsigned int Used() const { return m_used; }

private:
    char* m_buffer;
    unsigned int m_capacity;
    unsigned int m_used = 0;
};

// Room for one piece of the text: the platform's output must fit it.
constexpr int kPieceRoom = 160;

// One piece of the text in room of its own: the platform's output (written: the call's
// result, terminator included), trailing blanks (a unit text's space) taken off; empty when
// the call fails.
int TrimPiece(char* piece, int written) {
    int n = written - 1;
    if (n < 0) n = 0;
    while (n > 0 && piece[n - 1] == ' ') --n;
    piece[n] = 0;
    return n;
}

// The first millisecond marker in a terminated text, or null: a loop of its own, where the
// runtime's strstr is a call several times as long for these few characters.
char* FindMarker(char* text) {
    for (; text[0]; ++text)
        if (text[0] == '.' && text[1] == 'x' && text[2] == 'x' && text[3] == 'x') return text;
    return nullptr;
}

}  // namespace

const char* C_Time::Format(char* buffer, unsigned int capacity, int flags, unsigned long locale,
                           const TIME_ZONE_INFORMATION* zone) const {
    if (!buffer) return kEmpty;
    if (capacity == 0) return buffer;
    Output out(buffer, capacity);
    SYSTEMTIME fields;
    const bool haveFields = IsValid() && ((flags & FMT_UTC) ? GetSystemTimeUTC(&fields) : GetLocSystemTime(&fields, zone));
    if (!haveFields) {
        out.Append(kInvalidPoint, sizeof kInvalidPoint - 1);
        return buffer;
    }
    // Each piece whole or not at all: a date, or a time, that does not fit is left out, and
    // the separator stands only between two pieces. The pieces are made side by side, the
    // separator's room between them, so that both go to the caller's buffer in one copy;
    // only what the calls write is read.
    constexpr int kSeparator = sizeof kDateTimeSeparator - 1;
    char work[kPieceRoom + kSeparator + kPieceRoom];
    int dateLength = 0, timeLength = 0;
    if (flags & FMT_DATE) {
        char pattern[81];
        quendel::DatePattern(locale, (flags & FMT_YEAR4) != 0, pattern);
        dateLength = TrimPiece(work, GetDateFormatA(locale, 0, &fields, pattern, work, kPieceRoom));
    }
    char* const time = work + dateLength + kSeparator;
    if (flags & FMT_TIME) {
        char pattern[40];
        quendel::TimePattern(locale, (flags & FMT_SECONDS) != 0, (flags & FMT_MSECONDS) != 0, pattern);
        timeLength = TrimPiece(time, GetTimeFormatA(locale, 0, &fields, pattern, time, kPieceRoom));
        char* marker = (flags & FMT_MSECONDS) ? FindMarker(time) : nullptr;
        if (marker) {
            char decimal[5];
            if (GetLocaleInfoA(locale, LOCALE_SDECIMAL, decimal, sizeof decimal) <= 0 || !decimal[0]) decimal[0] = '.';
            marker[0] = decimal[0];
            // Three digits with leading zeros ("%03.3d").
            const unsigned ms = fields.wMilliseconds > 999 ? 0 : fields.wMilliseconds;
            marker[1] = static_cast<char>('0' + ms / 100);
            marker[2] = static_cast<char>('0' + ms / 10 % 10);
            marker[3] = static_cast<char>('0' + ms % 10);
        }
    }
    const unsigned int room = capacity - 1;
    const unsigned int date = dateLength > 0 && static_cast<unsigned int>(dateLength) <= room ? dateLength : 0;
    const unsigned int separator = date > 0 ? kSeparator : 0;
    if (timeLength > 0 && date + separator + static_cast<unsigned int>(timeLength) <= room) {
        if (date == 0) {
            out.Append(time, static_cast<unsigned int>(timeLength));
            return buffer;
        }
        std::memcpy(work + date, kDateTimeSeparator, kSeparator);
        out.Append(work, date + kSeparator + static_cast<unsigned int>(timeLength));
    } else {
        out.Append(work, date);
    }
    return buffer;
}

const char* C_Time::Format(C_String& text, int flags, unsigned long locale, const TIME_ZONE_INFORMATION* zone) const {
    char work[300];
    text = Format(work, sizeof work, flags, locale, zone);
    return text.c_str();
}

const char* C_Time::Format(std::string& text, int flags, unsigned long locale,
                           const TIME_ZONE_INFORMATION* zone) const {
    char work[300];
    text = Format(work, sizeof work, flags, locale, zone);
    return text.c_str();
}

namespace {

// A month (1-12) or weekday (0 Monday - 6 Sunday) name from the locale; "??" out of range,
// an empty text when the lookup fails.
void NameOf(int index, int count, LCTYPE full, LCTYPE abbreviated, bool abbreviate, LCID locale, char (&name)[50]) {
    if (index < 0 || index >= count) {
        std::strcpy(name, "??");
        return;
    }
    name[0] = 0;
    if (GetLocaleInfoA(locale, (abbreviate ? abbreviated : full) + index, name, sizeof name) <= 0) name[0] = 0;
}

}  // namespace

const char* C_Time::GetMonthString(C_String& text, bool abbreviated, unsigned long locale,
                                   const TIME_ZONE_INFORMATION* zone) const {
    char name[50];
    NameOf(GetLocMonth(zone) - 1, 12, LOCALE_SMONTHNAME1, LOCALE_SABBREVMONTHNAME1, abbreviated, locale, name);
    text = name;
    return text.c_str();
}

const char* C_Time::GetMonthString(std::string& text, bool abbreviated, unsigned long locale) const {
    char name[50];
    NameOf(GetLocMonth(NULL) - 1, 12, LOCALE_SMONTHNAME1, LOCALE_SABBREVMONTHNAME1, abbreviated, locale, name);
    text = name;
    return text.c_str();
}

const char* C_Time::GetDayString(C_String& text, bool abbreviated, unsigned long locale,
                                 const TIME_ZONE_INFORMATION* zone) const {
    char name[50];
    NameOf(IsValid() ? GetLocWeekDay(zone) : -1, 7, LOCALE_SDAYNAME1, LOCALE_SABBREVDAYNAME1, abbreviated, locale,
           name);
    text = name;
    return text.c_str();
}

const char* C_Time::GetDayString(std::string& text, bool abbreviated, unsigned long locale) const {
    char name[50];
    NameOf(IsValid() ? GetLocWeekDay(NULL) : -1, 7, LOCALE_SDAYNAME1, LOCALE_SABBREVDAYNAME1, abbreviated, locale,
           name);
    text = name;
    return text.c_str();
}

namespace {

// The runtime's own printf knows the I64 size prefix of the exported patterns.
void PrintTicks(char (&work)[100], const char* pattern, unsigned __int64 ticks) {
    _snprintf(work, sizeof work - 1, pattern, ticks);
    work[sizeof work - 1] = 0;
}

}  // namespace

const char* C_Time::GetTimeStr(C_String& text, bool hexadecimal) const {
    char work[100];
    PrintTicks(work, hexadecimal ? m_fmtTicksHex : m_fmtTicksDecimal, m_time);
    text = work;
    return text.c_str();
}

const char* C_Time::GetTimeStr(std::string& text, bool hexadecimal) const {
    char work[100];
    PrintTicks(work, hexadecimal ? m_fmtTicksHex : m_fmtTicksDecimal, m_time);
    text = work;
    return text.c_str();
}

// Spans print the fields of their magnitude, 64-bit throughout, a negative one behind one minus.
const char* C_TimeSpan::Format(char* buffer, unsigned int capacity, int flags) const {
    if (!buffer) return kEmpty;
    if (capacity == 0) return buffer;
    buffer[0] = 0;
    if (IsInvalid()) {
        Append(buffer, capacity, kInvalidSpan);
        return buffer;
    }
    // The fields of the magnitude, behind one leading minus: -62 minutes is "-01:02".
    const bool negative = m_span < 0;
    const unsigned long long magnitude =
        negative ? 0 - static_cast<unsigned long long>(m_span) : static_cast<unsigned long long>(m_span);
    const unsigned long long seconds = magnitude / 10000000, milliseconds = magnitude / 10000 % 1000;
    const unsigned long long days = seconds / 86400, hours = seconds / 3600 % 24, minutes = seconds / 60 % 60;
    const bool time = flags & FMT_TIME, sec = flags & FMT_SECONDS, ms = flags & FMT_MSECONDS;
    char work[96] = "";
    int used = negative && (time || ((flags & FMT_DAYS) && days > 0)) ? std::snprintf(work, sizeof work, "-") : 0;
    if ((flags & FMT_DAYS) && days > 0)
        used += std::snprintf(work + used, sizeof work - used, time ? "%llu - " : days == 1 ? "%llu Tag" : "%llu Tage",
                              days);
    if (time && sec && ms)
        std::snprintf(work + used, sizeof work - used, "%02llu:%02llu:%02llu,%03llu", hours, minutes, seconds % 60,
                      milliseconds);
    else if (time && sec)
        std::snprintf(work + used, sizeof work - used, "%02llu:%02llu:%02llu", hours, minutes, seconds % 60);
    else if (time)
        std::snprintf(work + used, sizeof work - used, "%02llu:%02llu", hours, minutes);
    Append(buffer, capacity, work);
    return buffer;
}

const char* C_TimeSpan::Format(C_String& text, int flags) const {
    char work[100];
    text = Format(work, sizeof work, flags);
    return text.c_str();
}

const char* C_TimeSpan::Format(std::string& text, int flags) const {
    char work[100];
    text = Format(work, sizeof work, flags);
    return text.c_str();
}
