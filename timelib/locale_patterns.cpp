#include "timelib/locale_patterns.h"

#include <cstring>

namespace quendel {
namespace {

// Moves the terminated text at from to to (to < from), terminator included.
void ShiftLeft(char* to, const char* from) {
    while ((*to++ = *from++) != 0) {
    }
}

// Whether a pattern character (outside quotes) is a field letter of a time.
bool IsFieldLetter(char c) { return c == 'h' || c == 'H' || c == 'm' || c == 's' || c == 't'; }

}  // namespace

void DatePattern(LCID locale, bool year4, char (&pattern)[81]) {
    if (GetLocaleInfoA(locale, LOCALE_SSHORTDATE, pattern, sizeof pattern) <= 0) std::memcpy(pattern, "yyyy-MM-dd", 11);
    if (year4) return;
    for (char* y = pattern; y[0]; ++y) {
        if (y[0] == 'y' && y[1] == 'y' && y[2] == 'y' && y[3] == 'y') {
            ShiftLeft(y + 2, y + 4);
            return;
        }
    }
}

void TimePattern(LCID locale, bool seconds, bool milliseconds, char (&pattern)[40]) {
    if (GetLocaleInfoA(locale, LOCALE_STIMEFORMAT, pattern, 30) <= 0) std::memcpy(pattern, "HH:mm:ss", 9);
    int first = -1, last = -1, length = 0, previousEnd = 0, nextField = -1;
    bool quoted = false;
    for (; pattern[length]; ++length) {
        const char c = pattern[length];
        if (c == '\'') quoted = !quoted;
        if (quoted || c == '\'' || !IsFieldLetter(c)) continue;
        if (c == 's') {
            if (first < 0) first = length;
            last = length;
        } else if (first < 0) {
            previousEnd = length + 1;
        } else if (nextField < 0) {
            nextField = length;
        }
    }
    if (first < 0) return;
    if (!seconds) {
        const bool unitText = nextField < 0 && last + 1 < length;
        const int from = unitText ? first : previousEnd, to = unitText ? length : last + 1;
        ShiftLeft(pattern + from, pattern + to);
    } else if (milliseconds) {
        for (int i = length; i > last; --i) pattern[i + 4] = pattern[i];  // terminator included
        std::memcpy(pattern + last + 1, kMillisecondMarker, 4);
    }
}

}  // namespace quendel
