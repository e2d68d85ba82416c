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
    ZoneYears() = default;
    // One record for every year.
    explicit ZoneYears(const TIME_ZONE_INFORMATION& record) : m_fixed(record) {}

    // Reads HKLM\<DatabasePath()>\<subkey>: its names, "TZI" and "Dynamic DST". A missing or
    // broken "Dynamic DST" (FirstEntry after LastEntry, a year's value that cannot be read
    // or is not 44 bytes) leaves "TZI" for every year. False when the key cannot be opened.
    bool Read(const char* subkey);

    bool HasYears() const { return !m_years.empty(); }
    // The record of a local year; names always those of "Std" and "Dlt".
    const TIME_ZONE_INFORMATION& ForYear(int year) const;
    // The record in force at a local wall-clock reading, or at a UTC instant (the record of
    // the local year at that instant).
    const TIME_ZONE_INFORMATION& AtWall(std::uint64_t wall) const;
    const TIME_ZONE_INFORMATION& AtUtc(std::uint64_t utc) const;

private:
    void Index();

    TIME_ZONE_INFORMATION m_fixed = {};
    int m_first = 0;
    std::vector<TIME_ZONE_INFORMATION> m_years;  // m_first, m_first + 1, ...
    std::vector<std::uint64_t> m_starts;         // wall ticks of 1 January of m_first + 1, ...
};

}  // namespace quendel::zone
