// A zone's records year by year, as the registry's time-zone database holds them (library-
// internal): "TZI" for every year, and where the key has a "Dynamic DST" sub-key, one record
// for each year from "FirstEntry" to "LastEntry". A year's record describes the changes that
// fall in that local year; years before FirstEntry take its record and years after LastEntry
// take LastEntry's, as GetTimeZoneInformationForYear does.
//
// Eastern Standard Time (Dynamic DST 2000-2007):
//   ForYear(2003)   summer from the first Sunday of April to the last Sunday of October
//   ForYear(2010)   the 2007 record: second Sunday of March to first Sunday of November
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace quendel::zone {

class ZoneYears {
public:
    ZoneYears() : ZoneYears(TIME_ZONE_INFORMATION{}) {}
    // One record for every year.
    explicit ZoneYears(const TIME_ZONE_INFORMATION& record);

    // Reads HKLM\<DatabasePath()>\<subkey>: its names, "TZI" and "Dynamic DST". A missing or
    // broken "Dynamic DST" (FirstEntry after LastEntry, a year's value that cannot be read
    // or is not 44 bytes) leaves "TZI" for every year. False when the key cannot be opened.
    bool Read(const char* subkey);

    bool HasYears() const { return !m_years.empty(); }
    // The record of a local year; names always those of "Std" and "Dlt".
    const TIME_ZONE_INFORMATION& ForYear(int year) const;
    // The record in force at a local wall-clock reading, or at a UTC instant (the record of
    // the local year at that instant).
    const TIME_ZONE_INFORMATION& AtWall(std::uint64_t wall) const { return m_records[KindAtWall(wall)]; }
    const TIME_ZONE_INFORMATION& AtUtc(std::uint64_t utc) const { return m_records[KindAtUtc(utc)]; }

    // Years with equal records share one, numbered from 0 in the order of the years: its kind.
    unsigned KindAtWall(std::uint64_t wall) const { return m_runKinds[m_wallChanges.RunOf(wall)]; }
    unsigned KindAtUtc(std::uint64_t utc) const;
    const TIME_ZONE_INFORMATION& Record(unsigned kind) const { return m_records[kind]; }
    // Stays the same as long as the records do (copies keep it); a change of records draws a
    // number never given before.
    std::uint64_t Stamp() const { return m_stamp; }

    // Local wall-clock ticks of a UTC instant, and back, by the record in force, as
    // WallOf(AtUtc(utc), utc) and UtcOf(AtWall(wall), wall) of zone_rules.h.
    std::uint64_t WallOf(std::uint64_t utc) const;
    std::uint64_t UtcOf(std::uint64_t wall) const;

private:
    // Ascending instants where a run of years of one kind ends and the next begins.
    struct Changes {
        std::vector<std::uint64_t> at;
        std::uint64_t first = ~0ull, last = ~0ull;  // at's ends; none: never reached below
        // The run of an instant: how many changes lie at or before it. Most instants lie
        // before the first or from the last, which one compare each tells apart.
        std::size_t RunOf(std::uint64_t t) const;
        void Set(std::vector<std::uint64_t> instants);
    };

    void Index();
    unsigned KindAtUtcInSteps(std::uint64_t utc) const;

    TIME_ZONE_INFORMATION m_fixed;                 // "TZI"
    int m_first = 0;
    std::vector<std::uint16_t> m_years;            // kinds of m_first, m_first + 1, ...; empty: "TZI" only
    std::vector<TIME_ZONE_INFORMATION> m_records;  // by kind; "TZI" alone without years
    std::vector<std::uint16_t> m_runKinds;         // by run
    Changes m_wallChanges;                         // wall ticks of the first 1 January of each run
    // Where every record (and "TZI") has the same standard offset, a year's record is in
    // force from the UTC instant of its local new year: the wall changes shifted by that
    // offset (clamped to [0, kMaxTicks + 1]); else none, and found in steps.
    Changes m_utcChanges;
    bool m_oneOffset = true;
    std::uint64_t m_stamp = 0;
};

}  // namespace quendel::zone
