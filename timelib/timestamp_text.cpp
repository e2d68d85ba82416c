// The text forms of timestamps: ISO 8601 / RFC 3339, and the dates of mail and HTTP headers
// (RFC 2822 and RFC 1123, RFC 850, asctime).
#include <cstring>
#include <string>

#include "timelib/civil.h"
#include "timelib/timestamp_detail.h"

namespace quendel::stamp::detail {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Exactly n digits at i (moved past them), or -1.
int Digits(std::string_view s, std::size_t& i, int n) {
    if (i + static_cast<std::size_t>(n) > s.size()) return -1;
    int v = 0;
    for (int k = 0; k < n; ++k) {
        if (!IsDigit(s[i + k])) return -1;
        v = v * 10 + (s[i + k] - '0');
    }
    i += static_cast<std::size_t>(n);
    return v;
}

bool Take(std::string_view s, std::size_t& i, char c) {
    if (i < s.size() && s[i] == c) return ++i, true;
    return false;
}

// Wall-clock fields, with 24:00:00 (the day's end) and a leap second 23:59:60 read as the
// following second; fraction in ticks.
bool WallTicks(int year, int month, int day, int hour, int minute, int second, std::uint64_t fraction,
               std::uint64_t* ticks) {
    const bool endOfDay = hour == 24 && minute == 0 && second == 0 && fraction == 0;
    const bool leap = second == 60 && minute == 59;
    std::uint64_t t = 0;
    if (!FieldTicks(year, month, day, endOfDay ? 0 : hour, minute, leap ? 59 : second, &t)) return false;
    t += (endOfDay ? kTicksPerDay : 0) + (leap ? kTicksPerSecond : 0) + fraction;
    if (t >= kCalendarEnd) return false;
    *ticks = t;
    return true;
}

// The point of a wall-clock reading at an offset east of UTC in minutes.
void AddZoned(std::vector<StampCandidate>& out, StampForm form, std::uint64_t wall, int offsetMinutes) {
    std::uint64_t t = 0;
    const std::uint64_t shift = static_cast<std::uint64_t>(offsetMinutes < 0 ? -offsetMinutes : offsetMinutes) * 600000000ull;
    if (Shifted(wall, offsetMinutes > 0, shift, &t)) Add(out, form, t);
}

bool EqualNoCase(std::string_view a, const char* b) {
    if (a.size() != std::strlen(b)) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if ((a[i] | 0x20) != (b[i] | 0x20)) return false;
    return true;
}

constexpr const char* kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec"};
constexpr const char* kDays[] = {"sun", "mon", "tue", "wed", "thu", "fri", "sat"};
constexpr const char* kLongDays[] = {"sunday", "monday", "tuesday", "wednesday", "thursday", "friday", "saturday"};

int Month(std::string_view word) {
    for (int m = 0; m < 12; ++m)
        if (EqualNoCase(word, kMonths[m])) return m + 1;
    return 0;
}

// 0 Sunday to 6 Saturday, or -1.
int Weekday(std::string_view word) {
    for (int d = 0; d < 7; ++d)
        if (EqualNoCase(word, kDays[d]) || EqualNoCase(word, kLongDays[d])) return d;
    return -1;
}

// A zone of RFC 2822 (with the obsolete names), in minutes east of UTC.
bool Zone(std::string_view word, int* minutes) {
    struct Named { const char* name; int hours; };
    static constexpr Named kNames[] = {{"UT", 0},  {"UTC", 0}, {"GMT", 0}, {"Z", 0},   {"EST", -5}, {"EDT", -4},
                                       {"CST", -6}, {"CDT", -5}, {"MST", -7}, {"MDT", -6}, {"PST", -8}, {"PDT", -7}};
    for (const Named& n : kNames)
        if (EqualNoCase(word, n.name)) return *minutes = n.hours * 60, true;
    // Military letters were defined with the wrong sign; RFC 2822 reads them as -0000.
    if (word.size() == 1 && ((word[0] | 0x20) >= 'a' && (word[0] | 0x20) <= 'z') && (word[0] | 0x20) != 'j')
        return *minutes = 0, true;
    std::size_t i = 1;
    if (word.size() != 5 || (word[0] != '+' && word[0] != '-')) return false;
    const int hh = Digits(word, i, 2), mm = Digits(word, i, 2);
    if (hh < 0 || mm < 0 || mm > 59) return false;
    *minutes = (word[0] == '-' ? -1 : 1) * (hh * 60 + mm);
    return true;
}

// H:MM or HH:MM with optional :SS.
bool ClockTime(std::string_view word, int* hour, int* minute, int* second) {
    std::size_t i = 0;
    const std::size_t colon = word.find(':');
    if (colon != 1 && colon != 2) return false;
    *hour = Digits(word, i, static_cast<int>(colon));
    *second = 0;
    if (*hour < 0 || !Take(word, i, ':') || (*minute = Digits(word, i, 2)) < 0) return false;
    if (Take(word, i, ':') && (*second = Digits(word, i, 2)) < 0) return false;
    return i == word.size() && *hour <= 23 && *minute <= 59 && *second <= 60;
}

int Number(std::string_view word) {
    if (word.empty() || word.size() > 4) return -1;
    std::size_t i = 0;
    return Digits(word, i, static_cast<int>(word.size()));
}

}  // namespace

void ReadIso8601(std::string_view s, std::vector<StampCandidate>& out) {
    std::size_t i = 0;
    const int year = Digits(s, i, 4);
    const bool extended = Take(s, i, '-');
    const int month = Digits(s, i, 2);
    if (extended && !Take(s, i, '-')) return;
    const int day = Digits(s, i, 2);
    if (year < 0 || month < 0 || day < 0) return;
    std::uint64_t wall = 0;
    if (i == s.size()) {  // a date alone: its midnight, local time
        if (WallTicks(year, month, day, 0, 0, 0, 0, &wall)) Add(out, StampForm::kIso8601, wall, true);
        return;
    }
    if (!Take(s, i, 'T') && !Take(s, i, 't') && !(extended && Take(s, i, ' '))) return;
    const int hour = Digits(s, i, 2);
    if (extended && !Take(s, i, ':')) return;
    const int minute = Digits(s, i, 2);
    int second = 0;
    if (hour < 0 || minute < 0) return;
    std::uint64_t fraction = 0;
    if (i < s.size() && (extended ? s[i] == ':' : IsDigit(s[i]))) {
        if (extended) ++i;
        if ((second = Digits(s, i, 2)) < 0) return;
        if (Take(s, i, '.') || Take(s, i, ',')) {
            std::uint64_t scale = kTicksPerSecond;  // the first 7 digits count, the rest is read
            const std::size_t from = i;
            for (; i < s.size() && IsDigit(s[i]); ++i)
                if (scale /= 10) fraction += static_cast<std::uint64_t>(s[i] - '0') * scale;
            if (i == from) return;
        }
    }
    if (hour > 24 || minute > 59 || second > 60 || !WallTicks(year, month, day, hour, minute, second, fraction, &wall))
        return;
    if (i == s.size()) return Add(out, StampForm::kIso8601, wall, true);  // no zone: local time
    if (s.size() - i == 1 && (s[i] == 'Z' || s[i] == 'z')) return AddZoned(out, StampForm::kIso8601, wall, 0);
    const char sign = s[i++];
    if (sign != '+' && sign != '-') return;
    const int hh = Digits(s, i, 2);
    int mm = 0;
    if (i < s.size()) {
        Take(s, i, ':');  // RFC 3339 writes it; "+0100" is as common
        mm = Digits(s, i, 2);
    }
    if (i != s.size() || hh < 0 || hh > 23 || mm < 0 || mm > 59) return;
    AddZoned(out, StampForm::kIso8601, wall, (sign == '-' ? -1 : 1) * (hh * 60 + mm));
}

void ReadRfc2822(std::string_view s, std::vector<StampCandidate>& out) {
    // A comment after the zone, as mailers add it: "+0100 (CET)".
    if (!s.empty() && s.back() == ')') {
        const std::size_t open = s.rfind('(');
        if (open == std::string_view::npos) return;
        s = s.substr(0, open);
    }
    // Words, split at blanks and commas, and at hyphens inside a date ("06-Nov-94").
    std::string_view words[8];
    int count = 0;
    for (std::size_t i = 0; i < s.size();) {
        if (s[i] == ' ' || s[i] == '\t' || s[i] == ',' || (s[i] == '-' && i > 0 && s[i - 1] != ' ')) {
            ++i;
            continue;
        }
        std::size_t end = i + 1;
        while (end < s.size() && s[end] != ' ' && s[end] != '\t' && s[end] != ',' && s[end] != '-') ++end;
        if (count == 8) return;
        words[count++] = s.substr(i, end - i);
        i = end;
    }
    int w = 0, weekday = -1, day = -1, month = 0, year = -1, hour = 0, minute = 0, second = 0, zone = 0;
    if (count > 0 && (weekday = Weekday(words[0])) >= 0) w = 1;
    const bool asctime = w == 1 && count - w >= 4 && Month(words[w]) > 0;  // Sun Nov  6 08:49:37 1994
    if (asctime) {
        month = Month(words[w]);
        day = Number(words[w + 1]);
        if (!ClockTime(words[w + 2], &hour, &minute, &second)) return;
        year = words[w + 3].size() == 4 ? Number(words[w + 3]) : -1;
        w += 4;
        if (w < count && !Zone(words[w++], &zone)) return;
    } else {
        if (count - w != 5) return;
        day = words[w].size() <= 2 ? Number(words[w]) : -1;
        month = Month(words[w + 1]);
        year = Number(words[w + 2]);
        if (year >= 0 && words[w + 2].size() == 2) year += year < 50 ? 2000 : 1900;
        else if (year >= 0 && words[w + 2].size() == 3) year += 1900;
        if (!ClockTime(words[w + 3], &hour, &minute, &second) || !Zone(words[w + 4], &zone)) return;
        w += 5;
    }
    std::uint64_t wall = 0;
    if (w != count || day < 1 || month == 0 || year < 0 || !WallTicks(year, month, day, hour, minute, second, 0, &wall))
        return;
    // A weekday that does not match the date makes the text wrong somewhere.
    if (weekday >= 0 && static_cast<int>(civil::WeekdayFromDays(static_cast<std::uint32_t>(wall / kTicksPerDay))) != weekday &&
        second != 60)
        return;
    AddZoned(out, StampForm::kRfc2822, wall, zone);
}

}  // namespace quendel::stamp::detail
