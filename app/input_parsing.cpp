#include "app/input_parsing.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "timelib/format_flags.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// printf into a string of up to 120 characters (the messages below).
template <typename... Values>
std::string Text(const char* pattern, Values... values) {
    char text[120];
    std::snprintf(text, sizeof text, pattern, values...);
    return text;
}

// The German form that is always read, and the user's own (NULL: the locale's).
constexpr const char* kDatePatterns[] = {nullptr, "d.M.yyyy"};
constexpr const char* kTimePatterns[] = {nullptr, "H:m:s", "H:m"};

bool ReadField(const std::string& text, int flags, const char* const* patterns, std::size_t count, SYSTEMTIME* fields) {
    for (std::size_t i = 0; i < count; ++i)
        if (C_Time::ReadLocFields(text.c_str(), flags, LOCALE_USER_DEFAULT, patterns[i], fields)) return true;
    return false;
}

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

// Days of the month (1-12) in the year.
int MonthLength(int year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// What is wrong with date fields read whole; empty when the calendar has the day.
std::string DateFault(const SYSTEMTIME& d) {
    static const char* const kMonths[] = {"Januar", "Februar", "M\xE4rz",  "April",   "Mai",      "Juni",
                                          "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
    const int year = d.wYear, month = d.wMonth, day = d.wDay;
    if (year < 1601 || year > 30827) return Text("Das Jahr %d liegt au\xDF" "erhalb des Bereichs (1601 bis 30827).", year);
    if (month < 1 || month > 12) return Text("Einen Monat %d gibt es nicht (1 bis 12).", month);
    if (day >= 1 && day <= MonthLength(year, month)) return std::string();
    const std::string gone = Text("Den %02d.%02d.%d gibt es nicht (", day, month, year);
    if (month == 2 && day == 29) return gone + Text("%d ist kein Schaltjahr).", year);
    if (month == 2) return gone + Text("der Februar %d hat %d Tage).", year, MonthLength(year, 2));
    return gone + Text("der %s hat %d Tage).", kMonths[month - 1], MonthLength(year, month));
}

}  // namespace

std::string Trimmed(const std::string& text) {
    std::size_t first = 0, last = text.size();
    while (first < last && IsBlank(text[first])) ++first;
    while (last > first && IsBlank(text[last - 1])) --last;
    return text.substr(first, last - first);
}

bool HasHexPrefix(const std::string& text) { return text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'); }

bool ParseDecimalExactly(const std::string& text, std::uint64_t* value) {
    if (text.empty() || text.size() > 20) return false;
    std::uint64_t v = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        const unsigned digit = static_cast<unsigned>(c - '0');
        if (v > (UINT64_MAX - digit) / 10) return false;  // beyond 64 bits
        v = v * 10 + digit;
    }
    *value = v;
    return true;
}

bool ParseHexExactly(const std::string& text, int maxDigits, std::uint64_t* value) {
    const std::size_t from = HasHexPrefix(text) ? 2 : 0;
    const std::size_t digits = text.size() - from;
    if (digits == 0 || digits > static_cast<std::size_t>(maxDigits)) return false;
    std::uint64_t v = 0;
    for (std::size_t i = from; i < text.size(); ++i) {
        const int d = HexDigit(text[i]);
        if (d < 0) return false;
        v = v << 4 | static_cast<std::uint64_t>(d);
    }
    *value = v;
    return true;
}

bool ParseUnixSeconds(const std::string& text, bool hexadecimal, long long* seconds) {
    if (hexadecimal || HasHexPrefix(text)) {
        std::uint64_t v = 0;
        if (!ParseHexExactly(text, 16, &v)) return false;
        const std::size_t digits = text.size() - (HasHexPrefix(text) ? 2 : 0);
        *seconds = digits <= 8 ? static_cast<long long>(static_cast<std::int32_t>(static_cast<std::uint32_t>(v)))
                               : static_cast<long long>(v);  // two's complement, as the platform keeps it
        return true;
    }
    const bool negative = !text.empty() && text[0] == '-';
    std::uint64_t magnitude = 0;
    if (!ParseDecimalExactly(text.substr(negative || (!text.empty() && text[0] == '+') ? 1 : 0), &magnitude) ||
        magnitude > (negative ? 0x8000000000000000ull : 0x7FFFFFFFFFFFFFFFull))
        return false;
    *seconds = static_cast<long long>(negative ? 0 - magnitude : magnitude);
    return true;
}

bool ParseDecimalFraction(const std::string& text, double* value) {
    std::string dotted = text;
    for (char& c : dotted) c = c == ',' ? '.' : c;
    if (dotted.empty() || dotted.find_first_not_of("+-.0123456789") != std::string::npos) return false;
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(dotted.c_str(), &end);
    if (end != dotted.c_str() + dotted.size() || errno == ERANGE) return false;
    *value = v;
    return true;
}

bool ReadDateInput(const std::string& date, const std::string& time, SYSTEMTIME* local, int* wrongField,
                   std::string* message) {
    SYSTEMTIME d = {}, t = {};
    std::string fault;
    *wrongField = 1;
    if (!ReadField(date, FMT_DATE, kDatePatterns, 2, &d)) {
        fault = "Das ist kein Datum der Form TT.MM.JJJJ.";
    } else if (fault = DateFault(d); fault.empty()) {
        *wrongField = 2;
        if (!time.empty() && !ReadField(time, FMT_TIME, kTimePatterns, 3, &t))
            fault = "Das ist keine Uhrzeit der Form hh:mm:ss.";
        else if (t.wHour > 23 || t.wMinute > 59 || t.wSecond > 59)
            fault = "Diese Uhrzeit gibt es nicht (Stunden 0 bis 23, Minuten und Sekunden 0 bis 59).";
    }
    if (!fault.empty()) {
        *message = (*wrongField == 1 ? "Datum: \x84" + date : "Uhrzeit: \x84" + time) + "\x93\n" + fault;
        return false;
    }
    *local = d;
    local->wHour = t.wHour;
    local->wMinute = t.wMinute;
    local->wSecond = t.wSecond;
    return true;
}
