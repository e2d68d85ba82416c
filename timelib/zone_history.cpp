#include "timelib/zone_history.h"

#include <algorithm>
#include <cstring>

#include "timelib/civil.h"
#include "timelib/zone_history_table.h"

namespace quendel::zone {
namespace {

constexpr std::uint64_t kYear1900 = static_cast<std::uint64_t>(civil::DaysFromCivil(1900, 1, 1)) * civil::kTicksPerDay;

std::uint64_t NewYear(int year) {  // year 1601 to 30827
    return static_cast<std::uint32_t>(civil::DaysFromCivil(year, 1, 1)) * civil::kTicksPerDay;
}

// One unsigned LEB128 number of the table; the table is generated, its numbers well formed.
std::uint64_t NextNumber(const unsigned char*& p) {
    std::uint64_t value = 0;
    for (int shift = 0;; shift += 7) {
        const unsigned char b = *p++;
        value |= static_cast<std::uint64_t>(b & 0x7F) << shift;
        if ((b & 0x80) == 0) return value;
    }
}

// Seconds to whole minutes, halves away from zero: the minutes of a record.
LONG RoundedMinutes(std::int32_t seconds) {
    return static_cast<LONG>(seconds >= 0 ? (seconds + 30) / 60 : -((-seconds + 30) / 60));
}

// The rule-form date that names the day of a wall reading in its own year: the n-th
// weekday of the month (5: the last, which a day from the 29th always is).
SYSTEMTIME RuleOf(std::uint64_t wall) {
    std::uint32_t days;
    std::uint64_t tickOfDay;
    civil::SplitDays(wall, &days, &tickOfDay);
    const civil::CivilDate date = civil::CivilFromDays(days);
    const std::uint32_t ms = static_cast<std::uint32_t>(tickOfDay / civil::kTicksPerMillisecond);  // [0, 86399999]
    SYSTEMTIME rule = {};
    rule.wMonth = static_cast<WORD>(date.month);
    rule.wDayOfWeek = static_cast<WORD>(civil::WeekdayFromDays(days));
    rule.wDay = static_cast<WORD>((date.day - 1) / 7 + 1);  // [1, 5]
    rule.wHour = static_cast<WORD>(ms / 3600000);
    rule.wMinute = static_cast<WORD>(ms / 60000 % 60);
    rule.wSecond = static_cast<WORD>(ms / 1000 % 60);
    rule.wMilliseconds = static_cast<WORD>(ms % 1000);
    return rule;
}

template <class Row>
const Row* FindByName(const Row* rows, int count, const char* name) {
    const Row* end = rows + count;
    const Row* r = std::lower_bound(rows, end, name, [](const Row& a, const char* n) { return std::strcmp(a.name, n) < 0; });
    return r != end && std::strcmp(r->name, name) == 0 ? r : nullptr;
}

// A zone of the table by its name or an alias; *name the table's copy of the name asked for.
const table::Zone* FindZone(const char* iana, const char** name) {
    if (!iana) return nullptr;
    const table::Zone* zone = FindByName(table::kZones, table::kZoneCount, iana);
    if (zone) {
        *name = zone->name;
        return zone;
    }
    const table::Alias* alias = FindByName(table::kAliases, table::kAliasCount, iana);
    if (!alias) return nullptr;
    *name = alias->name;
    return table::kZones + alias->zone;
}

}  // namespace

void ZoneHistory::Steps::Set(const std::vector<std::uint64_t>& instants) {
    count = instants.size();
    at = instants;
    bucketFirst.clear();
    perBucket = 0;
    firstBucket = instants.empty() ? 0 : instants.front() >> kShift;
    if (!instants.empty()) {
        const std::uint64_t lastBucket = instants.back() >> kShift;
        std::size_t i = 0;
        for (std::uint64_t b = firstBucket; b <= lastBucket; ++b) {
            while (i < count && at[i] >> kShift < b) ++i;
            bucketFirst.push_back(static_cast<std::uint16_t>(i));  // at most a few thousand changes
            std::size_t j = i;
            while (j < count && at[j] >> kShift == b) ++j;
            perBucket = std::max(perBucket, static_cast<unsigned>(j - i));
        }
    }
    at.insert(at.end(), perBucket, ~0ull);
}

bool ZoneHistory::Load(const char* iana) {
    const char* name = nullptr;
    const table::Zone* zone = FindZone(iana, &name);
    if (!zone) return false;
    const unsigned char* p = table::kHistories + zone->history;
    std::vector<std::int32_t> typeSeconds;
    std::vector<std::uint8_t> typeSummer;
    for (std::uint64_t n = NextNumber(p); n > 0; --n) {
        const std::uint64_t v = NextNumber(p);
        const std::uint64_t zigzag = v >> 1;
        typeSeconds.push_back(static_cast<std::int32_t>((zigzag & 1) ? -static_cast<std::int64_t>(zigzag >> 1) - 1
                                                                     : static_cast<std::int64_t>(zigzag >> 1)));
        typeSummer.push_back(static_cast<std::uint8_t>(v & 1));
    }
    unsigned bits = 0;
    while ((1u << bits) < typeSeconds.size()) ++bits;
    auto enter = [&](std::size_t type) {
        m_seconds.push_back(typeSeconds[type]);
        m_offsets.push_back(static_cast<std::int64_t>(typeSeconds[type]) * static_cast<std::int64_t>(civil::kTicksPerSecond));
        m_summer.push_back(typeSummer[type]);
    };
    m_name = name;
    m_changes.clear();
    m_offsets.clear();
    m_summer.clear();
    m_seconds.clear();
    enter(static_cast<std::size_t>(NextNumber(p)));
    std::uint64_t t = kYear1900;
    for (std::uint64_t n = NextNumber(p); n > 0; --n) {
        const std::uint64_t v = NextNumber(p);
        const std::uint64_t delta = v >> bits;
        t += (delta & 1) ? (delta >> 1) * civil::kTicksPerSecond : (delta >> 1) * civil::kTicksPerMinute;
        m_changes.push_back(t);
        enter(static_cast<std::size_t>(v & ((1u << bits) - 1)));
    }
    // The first wall reading each interval answers: after a skip or a repeat, the one the
    // reading rule picks (see the header); ascending, as changes lie days apart.
    std::vector<std::uint64_t> wallFrom;
    for (std::size_t k = 0; k < m_changes.size(); ++k) {
        const std::int64_t a = m_offsets[k], b = m_offsets[k + 1];
        const bool sa = SummerAt(k), sb = SummerAt(k + 1);
        const bool earlier = sa == sb || (b > a ? !sa : sa);
        const std::uint64_t w = m_changes[k] + static_cast<std::uint64_t>(earlier ? std::max(a, b) : std::min(a, b));
        wallFrom.push_back(wallFrom.empty() ? w : std::max(w, wallFrom.back()));
    }
    m_utcSteps.Set(m_changes);
    m_wallSteps.Set(wallFrom);
    m_endWall = NewYear(table::kLastYear + 1);
    m_endUtc = m_endWall - static_cast<std::uint64_t>(m_offsets[m_wallSteps.Count(m_endWall)]);
    return true;
}

Evaluation ZoneHistory::Evaluate(std::uint64_t utc) const {
    Evaluation e = {SummerAt(m_utcSteps.Count(utc)), false, {0, 0}};
    const int year = detail::UtcYear(utc);
    const std::uint64_t hi = NewYear(year + 1);
    std::size_t k = static_cast<std::size_t>(std::lower_bound(m_changes.begin(), m_changes.end(), NewYear(year)) -
                                             m_changes.begin());
    for (; k < m_changes.size() && m_changes[k] < hi; ++k) {
        if (SummerAt(k) || !SummerAt(k + 1)) continue;
        for (std::size_t j = k + 1; j < m_changes.size(); ++j)
            if (!SummerAt(j + 1)) {
                e.hasPeriod = true;
                e.period = Period{m_changes[k], m_changes[j]};
                return e;
            }
        break;  // a summer without a known end
    }
    return e;
}

TIME_ZONE_INFORMATION ZoneHistory::RecordForYear(int year) const {
    year = std::clamp(year, 1900, table::kLastYear);
    const std::uint64_t lo = NewYear(year), hi = NewYear(year + 1);
    // The year's first change to summer time and first change back, by their wall readings
    // on the clock before each change.
    std::size_t start = m_changes.size(), end = m_changes.size();
    for (std::size_t k = 0; k < m_changes.size(); ++k) {
        const std::uint64_t wall = m_changes[k] + static_cast<std::uint64_t>(m_offsets[k]);
        if (wall < lo || wall >= hi || SummerAt(k) == SummerAt(k + 1)) continue;
        if (SummerAt(k + 1) && start == m_changes.size()) start = k;
        if (!SummerAt(k + 1) && end == m_changes.size()) end = k;
    }
    TIME_ZONE_INFORMATION r = {};
    if (start == m_changes.size() || end == m_changes.size()) {
        r.Bias = -RoundedMinutes(m_seconds[m_wallSteps.Count(lo)]);
        return r;
    }
    r.Bias = -RoundedMinutes(m_seconds[start]);
    r.DaylightBias = -RoundedMinutes(m_seconds[start + 1]) - r.Bias;
    r.DaylightDate = RuleOf(m_changes[start] + static_cast<std::uint64_t>(m_offsets[start]));
    r.StandardDate = RuleOf(m_changes[end] + static_cast<std::uint64_t>(m_offsets[end]));
    return r;
}

const char* HistoryVersion() { return table::kTzdataVersion; }
int HistoryLastYear() { return table::kLastYear; }

const char* HistoryZoneOfKey(const char* key, const char* territory) {
    if (!key) return nullptr;
    const table::KeyZone* main = nullptr;
    for (int i = 0; i < table::kKeyZoneCount; ++i) {
        const table::KeyZone& row = table::kKeyZones[i];
        if (!row.own || std::strcmp(row.key, key) != 0) continue;
        if (territory && std::strcmp(row.territory, territory) == 0) return table::kZones[row.zone].name;
        if (std::strcmp(row.territory, "001") == 0) main = &row;
    }
    return main ? table::kZones[main->zone].name : nullptr;
}

const char* KeyOfHistoryZone(const char* iana) {
    const char* name = nullptr;
    const table::Zone* zone = FindZone(iana, &name);
    if (!zone) return nullptr;
    const table::KeyZone* found = nullptr;
    for (int i = 0; i < table::kKeyZoneCount; ++i) {
        const table::KeyZone& row = table::kKeyZones[i];
        if (table::kZones + row.zone != zone) continue;
        if (std::strcmp(row.territory, "001") == 0) return row.key;
        if (!found) found = &row;
    }
    return found ? found->key : nullptr;
}

std::vector<std::string> HistoryCitiesOfKey(const char* key) {
    std::vector<std::string> cities;
    for (int i = 0; key && i < table::kKeyZoneCount; ++i) {
        const table::KeyZone& row = table::kKeyZones[i];
        if (std::strcmp(row.key, key) != 0) continue;
        const char* name = table::kZones[row.zone].name;
        const char* slash = std::strrchr(name, '/');
        if (!slash || std::strncmp(name, "Etc/", 4) == 0) continue;
        std::string city(slash + 1);
        for (char& c : city) c = c == '_' ? ' ' : c;  // "New_York"
        if (std::find(cities.begin(), cities.end(), city) == cities.end()) cities.push_back(std::move(city));
    }
    return cities;
}

}  // namespace quendel::zone
