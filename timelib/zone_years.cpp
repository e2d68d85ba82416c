#include "timelib/zone_years.h"

#include <algorithm>
#include <cstdio>

#include "timelib/civil.h"
#include "timelib/reg_key.h"
#include "timelib/zone_registry.h"
#include "timelib/zone_rules.h"

namespace quendel::zone {
namespace {

// The database's per-year records span a few decades; a wider span is taken as broken.
constexpr int kMaxSpan = 400;

bool ReadDword(HKEY key, const char* name, DWORD* value) {
    DWORD type = 0, bytes = sizeof *value;
    return RegQueryValueExA(key, name, NULL, &type, reinterpret_cast<BYTE*>(value), &bytes) == ERROR_SUCCESS &&
           type == REG_DWORD && bytes == sizeof *value;
}

}  // namespace

bool ZoneYears::Read(const char* subkey) {
    RegistryZone zone;
    if (!ReadRegistryZone(subkey, &zone)) return false;
    *this = ZoneYears(zone.record);
    char path[400];
    if (std::snprintf(path, sizeof path, "%s\\%s\\Dynamic DST", DatabasePath(), subkey) >= static_cast<int>(sizeof path))
        return true;
    C_RegKey key;
    DWORD first = 0, last = 0;
    if (!key.Open(HKEY_LOCAL_MACHINE, path) || !ReadDword(key.Get(), "FirstEntry", &first) ||
        !ReadDword(key.Get(), "LastEntry", &last) || first < static_cast<DWORD>(civil::kMinYear) || last < first ||
        last > static_cast<DWORD>(civil::kMaxYear) || last - first > kMaxSpan)
        return true;
    std::vector<TIME_ZONE_INFORMATION> years(last - first + 1, zone.record);  // names from "Std" and "Dlt"
    for (DWORD year = first; year <= last; ++year) {
        char name[16];
        std::snprintf(name, sizeof name, "%lu", static_cast<unsigned long>(year));
        if (!ReadTzi(key.Get(), name, &years[year - first])) return true;  // broken: "TZI" for all years
    }
    m_first = static_cast<int>(first);
    m_years = std::move(years);
    Index();
    return true;
}

void ZoneYears::Index() {
    m_starts.clear();
    for (std::size_t i = 1; i < m_years.size(); ++i)
        m_starts.push_back(static_cast<std::uint32_t>(civil::DaysFromCivil(m_first + static_cast<int>(i), 1, 1)) *
                           civil::kTicksPerDay);
}

const TIME_ZONE_INFORMATION& ZoneYears::ForYear(int year) const {
    if (m_years.empty()) return m_fixed;
    const int i = std::clamp(year - m_first, 0, static_cast<int>(m_years.size()) - 1);
    return m_years[static_cast<std::size_t>(i)];
}

const TIME_ZONE_INFORMATION& ZoneYears::AtWall(std::uint64_t wall) const {
    if (m_years.empty()) return m_fixed;
    // Most readings lie before the first change of record or after the last.
    if (m_starts.empty() || wall < m_starts.front()) return m_years.front();
    if (wall >= m_starts.back()) return m_years.back();
    return m_years[static_cast<std::size_t>(std::upper_bound(m_starts.begin(), m_starts.end(), wall) - m_starts.begin())];
}

const TIME_ZONE_INFORMATION& ZoneYears::AtUtc(std::uint64_t utc) const {
    if (m_years.empty()) return m_fixed;
    // The local year by the standard offset of the record in force around the instant: no
    // record changes within hours of its own new year's summer time. Below tick 0 is the
    // first year, beyond the range the last.
    auto wallOf = [utc](const TIME_ZONE_INFORMATION& r) {
        const std::int64_t offset = detail::MinutesToTicks(r.Bias) + detail::MinutesToTicks(r.StandardBias);
        if (utc > civil::kMaxTicks) return utc;
        const std::int64_t wall = static_cast<std::int64_t>(utc) - offset;  // |offset| < 2^62: no overflow
        return wall < 0 ? 0 : static_cast<std::uint64_t>(wall);
    };
    return AtWall(wallOf(AtWall(wallOf(m_fixed))));
}

}  // namespace quendel::zone
