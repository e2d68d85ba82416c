// The zone list as Windows presents it: its order, and the search by typed letters.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "timelib/zone_registry.h"

// Windows' order of time zones: by the standard bias from west to east (the largest Bias,
// UTC-12, first), then by display name.
bool ZoneListBefore(const quendel::zone::RegistryZone& a, const quendel::zone::RegistryZone& b);

// The part of a display name after its "(UTC+hh:mm) " prefix (all of it when there is none).
const char* ZoneNameAfterOffset(const char* display);

// An entry of the zone list as the type-ahead searches it: the name shown, and further words
// that find it too (the cities of the zone, say), each from its beginning. The first `main`
// words count as the name does; the others only where no entry's name or main word matches,
// so that "Be" still finds Berlin before Bermuda, a further place of Atlantic Time.
struct ZoneSearchEntry {
    std::string shown;
    std::vector<std::string> words;
    std::size_t main = 1;
};

// The index of the first entry whose name after the offset, one of the places it lists after a
// comma, or one of its words begins with typed, regardless of case ("Ber" finds "Amsterdam,
// Berlin, ..."; "New" the entry whose words hold "New York"); -1 when none does or nothing is
// typed. word, where given, receives the word that matched, or "" for a match in the name.
int FindTypedZone(const std::vector<ZoneSearchEntry>& entries, const std::string& typed, std::string* word = nullptr);

// The letters typed so far: each key extends them, a pause longer than kPause starts afresh.
class C_TypeAhead {
public:
    static constexpr DWORD kPause = 1000;  // ms
    // The search text after the character typed at tick now (milliseconds).
    const std::string& Add(char typed, DWORD now);

private:
    std::string m_typed;
    DWORD m_last = 0;
};
