// Identifiers that carry their creation time: UUID versions 1 and 7, and ULID.
#include <cstring>

#include "timelib/timestamp_detail.h"

namespace quendel::stamp::detail {

namespace {

int Hex(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Crockford's base 32, either case; -1 for any other character (I, L, O and U among them).
int Base32(char c) {
    static const char kDigits[] = "0123456789ABCDEFGHJKMNPQRSTVWXYZ";
    const char upper = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    const char* at = upper != '\0' ? std::strchr(kDigits, upper) : nullptr;
    return at ? static_cast<int>(at - kDigits) : -1;
}

void ReadUuid(std::string_view s, std::vector<StampCandidate>& out) {
    if (s.size() > 9 && (s.substr(0, 9) == "urn:uuid:" || s.substr(0, 9) == "URN:UUID:")) s.remove_prefix(9);
    if (s.size() == 38 && s.front() == '{' && s.back() == '}') s = s.substr(1, 36);
    if (s.size() != 36) return;
    std::uint64_t high = 0;  // the first 64 bits: time_low, time_mid, version and time_hi
    unsigned variant = 0;
    for (std::size_t i = 0; i < 36; ++i) {
        const bool hyphen = i == 8 || i == 13 || i == 18 || i == 23;
        if (hyphen != (s[i] == '-')) return;
        const int d = hyphen ? 0 : Hex(s[i]);
        if (d < 0) return;
        if (!hyphen && i < 18) high = high << 4 | static_cast<std::uint64_t>(d);
        if (i == 19) variant = static_cast<unsigned>(d);
    }
    if ((variant & 0xC) != 0x8) return;  // the variant of RFC 9562; other GUIDs carry no time
    const unsigned version = static_cast<unsigned>(high >> 12 & 0xF);
    if (version == 1) {
        const std::uint64_t stamp = (high & 0xFFF) << 48 | (high >> 16 & 0xFFFF) << 32 | high >> 32;  // 60 bits
        if (stamp >= kUuidTo1601) Add(out, StampForm::kUuid1, stamp - kUuidTo1601);
    } else if (version == 7) {
        Add(out, StampForm::kUuid7, kUnixEpoch + (high >> 16) * 10000);  // 48-bit milliseconds
    }
}

void ReadUlid(std::string_view s, std::vector<StampCandidate>& out) {
    if (s.size() != 26 || Base32(s[0]) > 7) return;  // 128 bits: the first character holds 3
    std::uint64_t ms = 0;
    for (std::size_t i = 0; i < 26; ++i) {
        const int d = Base32(s[i]);
        if (d < 0) return;
        if (i < 10) ms = ms << 5 | static_cast<std::uint64_t>(d);  // 48 bits
    }
    Add(out, StampForm::kUlid, kUnixEpoch + ms * 10000);
}

}  // namespace

void ReadIdentifiers(std::string_view text, std::vector<StampCandidate>& out) {
    ReadUuid(text, out);
    ReadUlid(text, out);
}

}  // namespace quendel::stamp::detail
