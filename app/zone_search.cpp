#include "app/zone_search.h"

#include <algorithm>
#include <cstring>

#include "app/framework/text.h"

bool ZoneListBefore(const quendel::zone::RegistryZone& a, const quendel::zone::RegistryZone& b) {
    if (a.record.Bias != b.record.Bias) return a.record.Bias > b.record.Bias;  // west first
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.display, -1, b.display, -1) == CSTR_LESS_THAN;
}

const char* ZoneNameAfterOffset(const char* display) {
    // "(UTC)", "(UTC+01:00)", "(UTC-03:30)" and the like, then one space.
    if (std::strncmp(display, "(UTC", 4) != 0) return display;
    const char* close = std::strchr(display, ')');
    if (!close) return display;
    return close[1] == ' ' ? close + 2 : close + 1;
}

int FindTypedZone(const std::vector<ZoneSearchEntry>& entries, const std::string& typed, std::string* word) {
    if (word) word->clear();
    if (typed.empty()) return -1;
    // Case and accents aside: "bogota" finds "Bogotá" (one byte a character in the ANSI code page).
    const auto begins = [&typed](const std::string& name, std::size_t at) {
        return name.size() - at >= typed.size() &&
               CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE | NORM_IGNORENONSPACE, name.c_str() + at,
                              static_cast<int>(typed.size()), typed.c_str(), static_cast<int>(typed.size())) == CSTR_EQUAL;
    };
    for (const bool further : {false, true}) {
        for (size_t i = 0; i < entries.size(); ++i) {
            const std::string name = ZoneNameAfterOffset(entries[i].shown.c_str());
            // The name, or one of the places it lists after a comma ("Amsterdam, Berlin, Bern").
            for (size_t at = 0; !further && at != std::string::npos;
                 at = name.find(", ", at), at = at == std::string::npos ? at : at + 2)
                if (begins(name, at)) return static_cast<int>(i);
            const std::vector<std::string>& words = entries[i].words;
            const std::size_t main = std::min(entries[i].main, words.size());
            for (std::size_t w = further ? main : 0; w < (further ? words.size() : main); ++w) {
                if (!begins(words[w], 0)) continue;
                if (word) *word = words[w];
                return static_cast<int>(i);
            }
        }
    }
    return -1;
}

const std::string& C_TypeAhead::Add(char typed, DWORD now) {
    // Unsigned difference: right across the tick count's wrap after 49.7 days.
    if (m_typed.empty() || now - m_last > kPause) m_typed.clear();
    m_typed.push_back(typed);
    m_last = now;
    return m_typed;
}
