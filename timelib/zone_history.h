// A zone's IANA history (library-internal): every change of UTC offset and of summer time
// from 1900 through the table's last complete year (table::kLastYear), decoded from the
// embedded table (zone_history_table.h). Before a zone's first change its first standard
// offset applies, without summer time (local mean time is not used).
//
// The history answers every local year up to and including the last one: instants before
// EndUtc(), wall-clock readings before EndWall() (local new year of the following year).
// Later years are the registry's (ZoneYears decides, in one place).
//
// Local readings back to UTC: a reading a change skips counts as standard time, one it
// repeats as its summer-time occurrence; where both sides have the same summer flag (a
// change of the standard offset), the offset before the change applies. Europe/Berlin:
//   UtcOf(1990-03-25 02:30)   01:30 UTC (read as standard time, 03:30 summer time)
//   UtcOf(1990-09-30 02:30)   00:30 UTC (the summer occurrence)
//
// Records: paths that need a TIME_ZONE_INFORMATION for a year (summer facts, change-over
// hints) get one per local year, in the rule form, made for that year: DaylightDate the
// year's first change to summer time (on the standard clock), StandardDate the year's first
// change back (on the summer clock), each as the n-th weekday of its month, which names
// exactly that day in that year. Bias and DaylightBias are whole minutes of the offsets
// around the summer's start (or of the year's first offset without summer). A year with a
// second summer, or whose summer neither begins nor ends in it, keeps only what one record
// holds; the conversions themselves always use the changes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "timelib/zone_rules.h"

namespace quendel::zone {

class ZoneHistory {
public:
    // The history of an IANA zone of the table ("Europe/Berlin"), or of another name tzdata
    // links to or from it (the table has "Asia/Calcutta", "Asia/Kolkata" loads it too, and
    // Name() answers "Asia/Kolkata"); false when it has none.
    bool Load(const char* iana);
    const char* Name() const { return m_name; }

    std::uint64_t EndUtc() const { return m_endUtc; }
    std::uint64_t EndWall() const { return m_endWall; }

    // Local wall-clock ticks of a UTC instant before EndUtc(), and back for a reading before
    // EndWall(); kNoTicks when the result leaves the tick range.
    std::uint64_t WallOf(std::uint64_t utc) const {
        return Checked(utc + static_cast<std::uint64_t>(m_offsets[m_utcSteps.Count(utc)]));
    }
    std::uint64_t UtcOf(std::uint64_t wall) const {
        return Checked(wall - static_cast<std::uint64_t>(m_offsets[m_wallSteps.Count(wall)]));
    }

    // The summer test of C_Time::IsSummerTime: whether the instant lies in summer time, and
    // the summer that begins in its UTC year (the first, where there are two).
    Evaluation Evaluate(std::uint64_t utc) const;

    // The record of a local year, 1900 to the last year (earlier years take 1900's), names
    // empty.
    TIME_ZONE_INFORMATION RecordForYear(int year) const;

private:
    // A step function of ticks: how many of its ascending change instants lie at or before
    // a tick. The time line is cut into buckets of 2^46 ticks (about 81 days); a bucket
    // knows its first change, and the changes within one bucket are counted without a branch.
    struct Steps {
        std::vector<std::uint64_t> at;             // then perBucket copies of ~0 as padding
        std::vector<std::uint16_t> bucketFirst;     // index of the first change from the bucket's start
        std::uint64_t firstBucket = 0;
        unsigned perBucket = 0;
        std::size_t count = 0;
        void Set(const std::vector<std::uint64_t>& instants);
        std::size_t Count(std::uint64_t t) const {
            const std::uint64_t b = (t >> kShift) - firstBucket;  // wraps below the first bucket
            if (b >= bucketFirst.size()) return t >> kShift < firstBucket ? 0 : count;
            std::size_t i = bucketFirst[b], n = i;
            for (unsigned k = 0; k < perBucket; ++k) n += t >= at[i + k];
            return n;
        }
        static constexpr int kShift = 46;
    };

    static std::uint64_t Checked(std::uint64_t ticks) { return ticks <= civil::kMaxTicks ? ticks : kNoTicks; }
    bool SummerAt(std::size_t interval) const { return m_summer[interval] != 0; }

    const char* m_name = "";
    std::vector<std::uint64_t> m_changes;  // UTC instants
    std::vector<std::int64_t> m_offsets;   // local minus UTC in ticks, by interval (one more than changes)
    std::vector<std::uint8_t> m_summer;    // by interval
    std::vector<std::int32_t> m_seconds;   // the offsets in seconds, by interval
    Steps m_utcSteps, m_wallSteps;
    std::uint64_t m_endUtc = 0, m_endWall = 0;
};

// The table's tzdata version ("2026f") and its last complete year.
const char* HistoryVersion();
int HistoryLastYear();

// The IANA zone CLDR names for a registry key in a territory (ISO 3166 alpha-2, "DE"), else
// the key's main zone (territory "001"); null when CLDR maps the key to none.
//   HistoryZoneOfKey("W. Europe Standard Time", "IT")   "Europe/Rome"
//   HistoryZoneOfKey("W. Europe Standard Time", "US")   "Europe/Berlin"
const char* HistoryZoneOfKey(const char* key, const char* territory);
// A registry key CLDR maps to the IANA zone or an alias of it (its main zone's key first);
// null when none.
const char* KeyOfHistoryZone(const char* iana);
// The places named by the IANA zones CLDR maps the key to, in any territory, each once, the
// key's main zone (territory "001") first ("Etc/..." zones name none):
//   HistoryCitiesOfKey("Eastern Standard Time")   "New York", "Nassau", "Toronto", "Detroit", ...
std::vector<std::string> HistoryCitiesOfKey(const char* key);

}  // namespace quendel::zone
