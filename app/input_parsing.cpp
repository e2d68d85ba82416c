#include "app/input_parsing.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// sscanf's whole reading: every conversion made and nothing left over.
template <typename... Fields>
bool ScanWhole(const std::string& text, const char* format, int count, Fields*... fields) {
    int used = -1;
    char pattern[40];
    std::snprintf(pattern, sizeof pattern, "%s%%n", format);
    return std::sscanf(text.c_str(), pattern, fields..., &used) == count && used == static_cast<int>(text.size());
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

bool ReadGermanDateTime(const std::string& date, const std::string& time, C_Time* result) {
    int day = 0, month = 0, year = 0, hour = 0, minute = 0, second = 0;
    if (!ScanWhole(date, "%2d.%2d.%4d", 3, &day, &month, &year)) return false;
    if (!time.empty() && !ScanWhole(time, "%2d:%2d:%2d", 3, &hour, &minute, &second) &&
        !ScanWhole(time, "%2d:%2d", 2, &hour, &minute))
        return false;
    if (date.size() <= 8 && year < 100) year += year < 50 ? 2000 : 1900;  // "24.12.03": 00-49 20yy, 50-99 19yy
    return result->SetLocTime(year, month, day, hour, minute, second, NULL);
}
