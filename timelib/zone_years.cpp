#include "timelib/zone_years.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <cstdio>

#include "timelib/civil.h"
#include "timelib/reg_key.h"
#include "timelib/user_territory.h"
#include "timelib/zone_registry.h"
#include "timelib/zone_rules.h"

namespace quendel::zone {
namespace {

// The database's per-year records span a few decades; a wider span is taken as broken.
constexpr int kMaxSpan = 400;

// A new stamp: numbers are never given twice (2^64 of them do not run out).
std::uint64_t NewStamp() {
    static std::atomic<std::uint64_t> last{0};
    return last.fetch_add(1, std::memory_order_relaxed) + 1;
}

// UTC minus local standard time, as ticks; |offset| < 2^62.
std::int64_t StandardOffset(const TIME_ZONE_INFORMATION& r) {
    return detail::MinutesToTicks(r.Bias) + detail::MinutesToTicks(r.StandardBias);
}

bool ReadDword(HKEY key, const char* name, DWORD* value) {
    DWORD type = 0, bytes = sizeof *value;
    return RegQueryValueExA(key, name, NULL, &type, reinterpret_cast<BYTE*>(value), &bytes) == ERROR_SUCCESS &&
           type == REG_DWORD && bytes == sizeof *value;
}

}  // namespace

ZoneYears::ZoneYears(const TIME_ZONE_INFORMATION& record)
    : m_fixed(record), m_records{record}, m_runKinds{0}, m_stamp(NewStamp()) {}

bool ZoneYears::Read(const char* subkey) {
    RegistryZone zone;
    if (!subkey || !ReadRegistryZone(subkey, &zone)) return false;
    *this = ZoneYears(zone.record);
    char territory[4];
    UserTerritory(territory);
    AttachHistory(HistoryZoneOfKey(subkey, territory));
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
    // Equal records kept once: the database repeats a record for every year it holds.
    m_first = static_cast<int>(first);
    m_records.clear();
    for (const TIME_ZONE_INFORMATION& record : years) {
        std::size_t kind = 0;
        while (kind < m_records.size() && std::memcmp(&m_records[kind], &record, sizeof record) != 0) ++kind;
        if (kind == m_records.size()) m_records.push_back(record);
        m_years.push_back(static_cast<std::uint16_t>(kind));  // at most kMaxSpan + 1 kinds
    }
    Index();
    return true;
}

bool ZoneYears::AttachHistory(const char* iana) {
    auto h = std::make_shared<History>();
    if (!h->history.Load(iana)) return false;
    for (int year = 1900; year <= HistoryLastYear(); ++year) {
        TIME_ZONE_INFORMATION r = h->history.RecordForYear(year);
        std::memcpy(r.StandardName, m_fixed.StandardName, sizeof r.StandardName);
        std::memcpy(r.DaylightName, m_fixed.DaylightName, sizeof r.DaylightName);
        h->records.push_back(r);
    }
    m_historyEndUtc = h->history.EndUtc();
    m_historyEndWall = h->history.EndWall();
    m_history = std::move(h);
    m_stamp = NewStamp();
    return true;
}

bool ZoneYears::SameAs(const ZoneYears& other) const {
    const auto same = [](const TIME_ZONE_INFORMATION& a, const TIME_ZONE_INFORMATION& b) {
        return std::memcmp(&a, &b, sizeof a) == 0;
    };
    // The rest is derived from these.
    return same(m_fixed, other.m_fixed) && m_first == other.m_first && m_years == other.m_years &&
           std::equal(m_records.begin(), m_records.end(), other.m_records.begin(), other.m_records.end(), same) &&
           std::strcmp(HistoryName(), other.HistoryName()) == 0;
}

bool ZoneYears::HistorySummer(std::uint64_t utc, Evaluation* e, std::uint64_t* wall) const {
    if (utc >= m_historyEndUtc) return false;
    *e = m_history->history.Evaluate(utc);
    *wall = m_history->history.WallOf(utc);
    return true;
}

const TIME_ZONE_INFORMATION& ZoneYears::AtWall(std::uint64_t wall) const {
    if (wall >= m_historyEndWall) return m_records[KindAtWall(wall)];
    std::uint32_t days;
    std::uint64_t tickOfDay;
    civil::SplitDays(wall, &days, &tickOfDay);
    return ForYear(civil::CivilFromDays(days).year);
}

const TIME_ZONE_INFORMATION& ZoneYears::AtUtc(std::uint64_t utc) const {
    if (utc >= m_historyEndUtc) return m_records[KindAtUtc(utc)];
    const std::uint64_t wall = m_history->history.WallOf(utc);
    return AtWall(wall == kNoTicks ? 0 : wall);
}

void ZoneYears::Changes::Set(std::vector<std::uint64_t> instants) {
    at = std::move(instants);
    first = at.empty() ? ~0ull : at.front();
    last = at.empty() ? ~0ull : at.back();
}

std::size_t ZoneYears::Changes::RunOf(std::uint64_t t) const {
    if (t - first < last - first)  // from the first change, before the last
        return static_cast<std::size_t>(std::upper_bound(at.begin(), at.end(), t) - at.begin());
    // Before the first or from the last, picked without a branch: the side of a random
    // instant cannot be predicted. Without changes t >= first only for t = ~0, and 0 & ... = 0.
    return at.size() & (0 - static_cast<std::size_t>(t >= first));
}

void ZoneYears::Index() {
    std::vector<std::uint64_t> wallChanges;
    m_runKinds.assign(1, m_years.front());
    for (std::size_t i = 1; i < m_years.size(); ++i)
        if (m_years[i] != m_years[i - 1]) {
            wallChanges.push_back(static_cast<std::uint32_t>(civil::DaysFromCivil(m_first + static_cast<int>(i), 1, 1)) *
                                  civil::kTicksPerDay);
            m_runKinds.push_back(m_years[i]);
        }
    const std::int64_t offset = StandardOffset(m_fixed);
    m_oneOffset = true;
    for (const TIME_ZONE_INFORMATION& r : m_records) m_oneOffset = m_oneOffset && StandardOffset(r) == offset;
    // A wall reading w lies at or after a change c (> 0) exactly when the instant
    // w + offset does: c + offset, clamped, is the first instant of the run. |c| < 2^60
    // and |offset| < 2^62: the sum cannot overflow.
    std::vector<std::uint64_t> utcChanges;
    if (m_oneOffset)
        for (const std::uint64_t c : wallChanges) {
            const std::int64_t utc = static_cast<std::int64_t>(c) + offset;
            utcChanges.push_back(utc < 0                                              ? 0
                                 : utc > static_cast<std::int64_t>(civil::kMaxTicks) ? civil::kMaxTicks + 1
                                                                                       : static_cast<std::uint64_t>(utc));
        }
    m_wallChanges.Set(std::move(wallChanges));
    m_utcChanges.Set(std::move(utcChanges));
    m_stamp = NewStamp();
}

const TIME_ZONE_INFORMATION& ZoneYears::ForYear(int year) const {
    if (m_history && year <= HistoryLastYear())
        return m_history->records[static_cast<std::size_t>(std::max(year, 1900) - 1900)];
    if (m_years.empty()) return m_fixed;
    const int i = std::clamp(year - m_first, 0, static_cast<int>(m_years.size()) - 1);
    return m_records[m_years[static_cast<std::size_t>(i)]];
}

unsigned ZoneYears::KindAtUtc(std::uint64_t utc) const {
    return m_oneOffset ? m_runKinds[m_utcChanges.RunOf(utc)] : KindAtUtcInSteps(utc);
}

unsigned ZoneYears::KindAtUtcInSteps(std::uint64_t utc) const {
    // The local year by the standard offset of the record in force around the instant: no
    // record changes within hours of its own new year's summer time. Below tick 0 is the
    // first year, beyond the range the last.
    auto wallOf = [utc](const TIME_ZONE_INFORMATION& r) {
        if (utc > civil::kMaxTicks) return utc;
        const std::uint64_t offset = static_cast<std::uint64_t>(StandardOffset(r));
        // Unsigned: utc < 2^63 and |offset| < 2^62, so the difference wraps only below zero.
        return (offset >> 63) == 0 && utc < offset ? 0 : utc - offset;
    };
    return KindAtWall(wallOf(AtWall(wallOf(m_fixed))));
}

std::uint64_t ZoneYears::RecordWallOf(std::uint64_t utc) const {
    const unsigned kind = KindAtUtc(utc);
    return zone::WallOf(m_records[kind], kind, m_stamp, utc);
}

std::uint64_t ZoneYears::RecordUtcOf(std::uint64_t wall) const {
    const unsigned kind = KindAtWall(wall);
    return zone::UtcOf(m_records[kind], kind, m_stamp, wall);
}

}  // namespace quendel::zone
