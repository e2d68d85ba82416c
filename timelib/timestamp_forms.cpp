// The numeric timestamp forms, the form table and the ranking.
#include "timelib/timestamp_forms.h"

#include <algorithm>

#include "timelib/civil.h"
#include "timelib/leap_seconds.h"
#include "timelib/timestamp_detail.h"

namespace quendel::stamp {

namespace {

using namespace detail;

// In the order of StampForm, which is the ranking's last word.
constexpr StampFormInfo kForms[] = {
    {"iso8601", "ISO 8601 / RFC 3339", false, false},
    {"rfc2822", "RFC 2822 / HTTP", false, false},
    {"datum", "Datum/Uhrzeit", false, true},
    {"uuid1", "UUID Version 1", false, false},
    {"uuid7", "UUID Version 7", false, false},
    {"ulid", "ULID", false, false},
    {"unix-s", "Unixzeit (s)", false, false},
    {"unix-ms", "Unixzeit (ms)", false, false},
    {"unix-us", "Unixzeit (\xB5s)", false, false},
    {"filetime", "Filetime", false, false},
    {"filetime-hex", "Filetime (hex)", false, false},
    {"filetime-bytes", "Filetime (LE-Bytes)", true, false},
    {"filetime-words", "Filetime (hoch:niedrig)", false, false},
    {"webkit", "WebKit/Chrome (\xB5s)", false, false},
    {"dotnet", ".NET DateTime (Ticks)", false, false},
    {"unix-ns", "Unixzeit (ns)", false, false},
    {"unix-hex", "Unixzeit (hex)", false, false},
    {"unix-hex-le", "Unixzeit (hex, LE-Bytes)", true, false},
    {"ole", "OLE-Datum", false, false},
    {"excel1900", "Excel (1900)", false, false},
    {"excel1904", "Excel (1904)", false, false},
    {"cocoa", "Cocoa (s seit 2001)", false, false},
    {"cocoa-ns", "iOS (ns seit 2001)", false, false},
    {"hfsplus", "HFS+ (s seit 1904)", false, false},
    {"gps", "GPS (s seit 6.1.1980)", false, false},
    {"ntp", "NTP (s seit 1900)", false, false},
    {"ntp-hex", "NTP (64 Bit hex)", false, false},
    {"dos", "DOS/FAT (Ortszeit)", false, true},
};
static_assert(sizeof kForms / sizeof kForms[0] == static_cast<std::size_t>(StampForm::kCount));

constexpr std::uint64_t kLikelyFrom = 122756256000000000;  // 1990-01-01
constexpr std::uint64_t kLikelyTo = 138534624000000000;    // 2040-01-01
constexpr std::uint64_t kNtpEra = 42949672960000000;       // 2^32 s in ticks
constexpr std::uint64_t kPow10[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000,
                                    10000000000, 100000000000, 1000000000000, 10000000000000,
                                    100000000000000, 1000000000000000};
constexpr std::uint64_t kInt64Max = 0x7FFFFFFFFFFFFFFFull;

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool HasHexPrefix(std::string_view text) {
    return text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
}

// 1 to 16 hexadecimal digits, nothing else.
bool ReadHex(std::string_view digits, std::uint64_t* value) {
    if (digits.empty() || digits.size() > 16) return false;
    std::uint64_t v = 0;
    for (const char c : digits) {
        const int d = HexDigit(c);
        if (d < 0) return false;
        v = v << 4 | static_cast<std::uint64_t>(d);
    }
    *value = v;
    return true;
}

std::uint64_t ReverseBytes(std::uint64_t value, int bytes) {
    std::uint64_t out = 0;
    for (int i = 0; i < bytes; ++i, value >>= 8) out = out << 8 | (value & 0xFF);
    return out;
}

// NTP seconds and 32-bit fraction in the era nearest the present.
void AddNtp(std::vector<StampCandidate>& out, StampForm form, std::uint64_t seconds, std::uint64_t fraction,
            std::uint64_t now) {
    const std::uint64_t base = kNtpEpoch + seconds * kTicksPerSecond + ((fraction * kTicksPerSecond + (1ull << 31)) >> 32);
    std::uint64_t era = now > base ? (now - base) / kNtpEra : 0;  // [0, 214]
    if (now > base && now - base - era * kNtpEra > kNtpEra / 2) ++era;  // the nearer of the two
    if (era > (kCalendarEnd - 1 - base) / kNtpEra) return;
    Add(out, form, base + era * kNtpEra);
}

// The DOS/FAT fields: date in the high half (day 0-4, month 5-8, year since 1980 9-15), time
// in the low half (seconds / 2 0-4, minute 5-10, hour 11-15); false on a field out of range.
bool DosTicks(std::uint32_t value, std::uint64_t* ticks) {
    const unsigned date = value >> 16, time = value & 0xFFFF;
    const unsigned second = (time & 0x1F) * 2, minute = time >> 5 & 0x3F, hour = time >> 11;
    return second <= 58 && FieldTicks(static_cast<int>(1980 + (date >> 9)), static_cast<int>(date >> 5 & 0xF),
                                      static_cast<int>(date & 0x1F), static_cast<int>(hour), static_cast<int>(minute),
                                      static_cast<int>(second), ticks);
}

void ReadDecimalForms(const Decimal& d, const ReadOptions& options, std::vector<StampCandidate>& out,
                      std::string* note) {
    std::uint64_t offset = 0, t = 0;
    const bool int64 = d.whole <= (d.negative ? kInt64Max + 1 : kInt64Max);
    const bool plain = !d.point && !d.signedText;  // an unsigned count as written
    // Seconds, fraction allowed.
    if (int64 && ScaledTicks(d, 1, 7, &offset)) {
        if (Shifted(kUnixEpoch, d.negative, offset, &t)) Add(out, StampForm::kUnixSeconds, t);
        if (Shifted(kCocoaEpoch, d.negative, offset, &t)) Add(out, StampForm::kCocoaSeconds, t);
        if (!d.negative && Shifted(kGpsEpoch, false, offset, &t)) {
            const std::uint64_t leap = static_cast<std::uint64_t>(GpsMinusUtc(d.whole)) * kTicksPerSecond;
            if (t >= leap) Add(out, StampForm::kGps, t - leap);
        }
    }
    if (!d.negative && d.whole <= 0xFFFFFFFFu && ScaledTicks(d, 1, 7, &offset)) {
        const Decimal whole = {false, false, false, d.whole, 0, 0};
        std::uint64_t wholeTicks = 0;
        ScaledTicks(whole, 1, 7, &wholeTicks);
        // The fraction as NTP's 32-bit binary fraction, to the nearest.
        const std::uint64_t fraction = d.digits == 0 ? 0 : ((offset - wholeTicks) << 32) / kTicksPerSecond;
        AddNtp(out, StampForm::kNtp, d.whole, fraction, options.now);
        if (!d.point && Shifted(kMacEpoch, false, offset, &t)) Add(out, StampForm::kHfsPlus, t);
    }
    if (!d.point && int64) {
        if (ScaledTicks(d, 1, 4, &offset) && Shifted(kUnixEpoch, d.negative, offset, &t)) Add(out, StampForm::kUnixMillis, t);
        if (ScaledTicks(d, 1, 1, &offset) && Shifted(kUnixEpoch, d.negative, offset, &t)) Add(out, StampForm::kUnixMicros, t);
        offset = d.whole / 100 + (d.whole % 100 >= 50);  // nanoseconds: to the nearest tick
        if (Shifted(kUnixEpoch, d.negative, offset, &t)) Add(out, StampForm::kUnixNanos, t);
        if (Shifted(kCocoaEpoch, d.negative, offset, &t)) Add(out, StampForm::kCocoaNanos, t);
    }
    if (plain) {
        if (d.whole < kCalendarEnd) Add(out, StampForm::kFileTime, d.whole);
        if (ScaledTicks(d, 1, 1, &offset)) Add(out, StampForm::kWebKit, offset);
        if (d.whole >= kDotNetTo1601 && d.whole < kDotNetTo1601 + kYear10000)
            Add(out, StampForm::kDotNetTicks, d.whole - kDotNetTo1601);
    }
    // Days. The OLE date counts whole days from its epoch, backwards when negative, and its
    // fraction is always the time of day: -1.25 is 1899-12-29 06:00.
    if (d.whole <= 2958465 && !(d.negative && d.whole > 657434)) {
        const Decimal days = {false, false, false, d.whole, 0, 0}, part = {false, false, true, 0, d.fraction, d.digits};
        std::uint64_t dayTicks = 0, timeTicks = 0;
        if (ScaledTicks(days, 864, 9, &dayTicks) && ScaledTicks(part, 864, 9, &timeTicks) &&
            Shifted(kOleEpoch, d.negative, dayTicks, &t) && t + timeTicks < kYear10000) {
            Add(out, StampForm::kOleDate, t + timeTicks);
            if (!d.negative && d.whole >= 1 && d.whole != 60)
                Add(out, StampForm::kExcel1900, t + timeTicks + (d.whole < 60 ? kTicksPerDay : 0));
            if (!d.negative && d.whole == 60 && note)
                *note = "Excel (1900): Seriennummer 60 ist der 29.02.1900, den es nicht gab.";
            if (!d.negative && d.whole <= 2957003) Add(out, StampForm::kExcel1904, kMacEpoch + dayTicks + timeTicks);
        }
    }
}

void ReadHexForms(std::string_view text, const ReadOptions& options, std::vector<StampCandidate>& out) {
    const bool prefix = HasHexPrefix(text);
    const std::string_view digits = prefix ? text.substr(2) : text;
    std::uint64_t v = 0;
    if (ReadHex(digits, &v)) {
        const std::size_t n = digits.size();
        const bool letter = std::any_of(digits.begin(), digits.end(), [](char c) { return HexDigit(c) > 9; });
        // Without "0x" only what dumps show: 8 or more digits, with a letter or exactly 8 or
        // 16 of them; "1e9" or "1700000000" are not read as hexadecimal.
        if (!prefix && (n < 8 || (!letter && n != 8 && n != 16))) return;
        std::uint64_t t = 0;
        if (v < kCalendarEnd) Add(out, StampForm::kFileTimeHex, v);
        if (n <= 8) {
            const auto seconds = static_cast<std::int32_t>(static_cast<std::uint32_t>(v));  // two's complement
            const std::uint64_t magnitude = seconds < 0 ? 0 - static_cast<std::uint64_t>(static_cast<std::int64_t>(seconds))
                                                        : static_cast<std::uint64_t>(seconds);
            if (Shifted(kUnixEpoch, seconds < 0, magnitude * kTicksPerSecond, &t)) Add(out, StampForm::kUnixHex, t);
        }
        if (n == 8 && !prefix) {
            const auto le = static_cast<std::int32_t>(static_cast<std::uint32_t>(ReverseBytes(v, 4)));
            const std::uint64_t magnitude = le < 0 ? 0 - static_cast<std::uint64_t>(static_cast<std::int64_t>(le))
                                                   : static_cast<std::uint64_t>(le);
            if (Shifted(kUnixEpoch, le < 0, magnitude * kTicksPerSecond, &t)) Add(out, StampForm::kUnixHexLe, t);
        }
        if (n == 8 && DosTicks(static_cast<std::uint32_t>(v), &t)) Add(out, StampForm::kDosDateTime, t, true);
        if (n == 16 && !prefix && ReverseBytes(v, 8) < kCalendarEnd) Add(out, StampForm::kFileTimeBytes, ReverseBytes(v, 8));
        if (n == 16) AddNtp(out, StampForm::kNtpHex, v >> 32, v & 0xFFFFFFFF, options.now);
        return;
    }
    // Bytes with blanks between: "e5 d4 c3 b2 a1 f0 d9 01" (8) or "00 65 53 65" (4).
    if (text.size() == 23 || text.size() == 11) {
        std::uint64_t bytes = 0, byte = 0;
        for (std::size_t i = 0; i < text.size(); i += 3) {
            if (!ReadHex(text.substr(i, 2), &byte) || (i + 2 < text.size() && text[i + 2] != ' ')) return;
            bytes = bytes << 8 | byte;
        }
        std::uint64_t t = 0;
        const std::uint64_t value = ReverseBytes(bytes, text.size() == 23 ? 8 : 4);
        if (text.size() == 23 && value < kCalendarEnd) Add(out, StampForm::kFileTimeBytes, value);
        if (text.size() == 11) {
            const auto seconds = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
            const std::uint64_t magnitude = seconds < 0 ? 0 - static_cast<std::uint64_t>(static_cast<std::int64_t>(seconds))
                                                        : static_cast<std::uint64_t>(seconds);
            if (Shifted(kUnixEpoch, seconds < 0, magnitude * kTicksPerSecond, &t)) Add(out, StampForm::kUnixHexLe, t);
        }
        return;
    }
    // "high:low" and NTP's "seconds.fraction" in hexadecimal.
    const std::size_t colon = text.find(':'), dot = text.find('.');
    const std::size_t cut = colon != std::string_view::npos ? colon : dot;
    if (cut == std::string_view::npos) return;
    std::string_view high = Trim(text.substr(0, cut)), low = Trim(text.substr(cut + 1));
    // The words as a dump writes them: both with "0x", or the low one with all 8 digits
    // (so that "13:45" stays a time of day).
    const bool prefixed = HasHexPrefix(high) && HasHexPrefix(low);
    if (colon != std::string_view::npos && prefixed) high.remove_prefix(2), low.remove_prefix(2);
    std::uint64_t h = 0, l = 0;
    if (high.size() > 8 || low.size() > 8 || !ReadHex(high, &h) || !ReadHex(low, &l)) return;
    if (colon != std::string_view::npos && (prefixed || low.size() == 8) && (h << 32 | l) < kCalendarEnd)
        Add(out, StampForm::kFileTimeWords, h << 32 | l);
    if (colon == std::string_view::npos && high.size() == 8 && low.size() == 8 &&
        std::any_of(text.begin(), text.end(), [](char c) { return HexDigit(c) > 9; }))
        AddNtp(out, StampForm::kNtpHex, h, l, options.now);
}

}  // namespace

namespace detail {

bool ReadDecimal(std::string_view text, Decimal* number) {
    Decimal d;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) d.negative = text[i++] == '-', d.signedText = true;
    const std::size_t first = i;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const unsigned digit = static_cast<unsigned>(text[i] - '0');
        if (d.whole > (UINT64_MAX - digit) / 10) return false;  // beyond 64 bits
        d.whole = d.whole * 10 + digit;
    }
    if (i == first) return false;
    if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
        d.point = true;
        const std::size_t from = ++i;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
            if (d.digits < 15) d.fraction = d.fraction * 10 + static_cast<unsigned>(text[i] - '0'), ++d.digits;
        if (i == from) return false;
    }
    if (i != text.size()) return false;
    *number = d;
    return true;
}

bool ScaledTicks(const Decimal& number, std::uint64_t mantissa, int exponent, std::uint64_t* ticks) {
    const std::uint64_t unit = mantissa * kPow10[exponent];  // ticks per unit, <= 8.64e11
    if (number.whole > (kCalendarEnd - 1) / unit) return false;
    std::uint64_t part = 0;  // the fraction in ticks; fraction < 10^digits, digits <= 15
    if (number.digits <= exponent) part = number.fraction * mantissa * kPow10[exponent - number.digits];
    else {
        const std::uint64_t divisor = kPow10[number.digits - exponent];
        part = (number.fraction * mantissa + divisor / 2) / divisor;  // < 10^15 * 864
    }
    *ticks = number.whole * unit + part;  // < kCalendarEnd + unit
    return *ticks < kCalendarEnd;
}

bool Shifted(std::uint64_t epoch, bool negative, std::uint64_t offset, std::uint64_t* ticks) {
    if (negative ? offset > epoch : offset >= kCalendarEnd - epoch) return false;
    *ticks = negative ? epoch - offset : epoch + offset;
    return true;
}

bool FieldTicks(int year, int month, int day, int hour, int minute, int second, std::uint64_t* ticks) {
    return civil::DateTimeToTicks(year, month, day, hour, minute, second, 0, ticks);
}

void Add(std::vector<StampCandidate>& out, StampForm form, std::uint64_t ticks, bool local) {
    if (ticks < kCalendarEnd) out.push_back({form, ticks, local || FormInfo(form).local});
}

}  // namespace detail

const StampFormInfo& FormInfo(StampForm form) {
    const auto index = static_cast<std::size_t>(form);
    return kForms[index < static_cast<std::size_t>(StampForm::kCount) ? index : 0];
}

bool InLikelyYears(std::uint64_t ticks) { return ticks >= kLikelyFrom && ticks < kLikelyTo; }

std::vector<StampCandidate> ReadTimestamp(std::string_view text, const ReadOptions& options, std::string* note) {
    std::vector<StampCandidate> out;
    text = Trim(text);
    if (text.empty() || text.size() > 200) return out;
    Decimal d;
    if (ReadDecimal(text, &d)) ReadDecimalForms(d, options, out, note);
    ReadHexForms(text, options, out);
    ReadIso8601(text, out);
    ReadRfc2822(text, out);
    ReadIdentifiers(text, out);
    std::uint64_t wall = 0;
    if (options.userFormat && options.userFormat(text, &wall)) Add(out, StampForm::kUserText, wall, true);
    const auto rank = [](const StampCandidate& c) {
        const bool laterEra = (c.form == StampForm::kNtp || c.form == StampForm::kNtpHex) && c.ticks >= kNtpEpoch + kNtpEra;
        return (InLikelyYears(c.ticks) ? 0 : 4) + (FormInfo(c.form).reinterpreted || laterEra ? 2 : 0);
    };
    std::stable_sort(out.begin(), out.end(), [&](const StampCandidate& a, const StampCandidate& b) {
        return rank(a) != rank(b) ? rank(a) < rank(b) : a.form < b.form;
    });
    return out;
}

}  // namespace quendel::stamp
