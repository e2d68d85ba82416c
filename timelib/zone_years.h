// A zone's records year by year, as the registry's time-zone database holds them (library-
// internal): "TZI" for every year, and where the key has a "Dynamic DST" sub-key, one record
// for each year from "FirstEntry" to "LastEntry". A year's record describes the changes that
// fall in that local year; years before FirstEntry take its record and years after LastEntry
// take LastEntry's, as GetTimeZoneInformationForYear does.
//
// Eastern Standard Time (Dynamic DST 2000-2007):
//   ForYear(2003)   summer from the first Sunday of April to the last Sunday of October
//   ForYear(2010)   the 2007 record: second Sunday of March to first Sunday of November
//
// A zone with an IANA history (zone_history.h) answers from it every local year up to the
// history's last year (HistoryLastYear(), the year before the tzdata release), and from the
// records above every later year; this class is the one place that decides. Conversions
// (WallOf, UtcOf, HistorySummer) use the history's changes; ForYear, AtWall and AtUtc give
// the history's record of the year (see zone_history.h) with the key's names:
//   ForYear(1975) of W. Europe Standard Time (Europe/Berlin)   no summer time
//   ForYear(1990)                                              summer 25 March to 30 September
//   ForYear(2030)                                              the registry's record
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "timelib/zone_history.h"

namespace quendel::zone {

class ZoneYears {
public:
    ZoneYears() : ZoneYears(TIME_ZONE_INFORMATION{}) {}
    // One record for every year.
    explicit ZoneYears(const TIME_ZONE_INFORMATION& record);

    // Reads HKLM\<DatabasePath()>\<subkey>: its names, "TZI" and "Dynamic DST". A missing or
    // broken "Dynamic DST" (FirstEntry after LastEntry, a year's value that cannot be read
    // or is not 44 bytes) leaves "TZI" for every year. False when the key cannot be opened.
    // The key's IANA history is attached: the zone CLDR names for the user's region
    // (UserTerritory), else the key's main zone.
    bool Read(const char* subkey);  // false for a null subkey
    // Answers the years up to the history's last year from the IANA zone's history; false,
    // and nothing changed, when the table has no such zone.
    bool AttachHistory(const char* iana);
    // The attached history's IANA name, "" without one.
    const char* HistoryName() const { return m_history ? m_history->history.Name() : ""; }

    bool HasYears() const { return !m_years.empty(); }
    // The record of a local year; names always those of "Std" and "Dlt".
    const TIME_ZONE_INFORMATION& ForYear(int year) const;
    // The record in force at a local wall-clock reading, or at a UTC instant (the record of
    // the local year at that instant).
    const TIME_ZONE_INFORMATION& AtWall(std::uint64_t wall) const;
    const TIME_ZONE_INFORMATION& AtUtc(std::uint64_t utc) const;

    // Years with equal records share one, numbered from 0 in the order of the years: its kind.
    unsigned KindAtWall(std::uint64_t wall) const { return m_runKinds[m_wallChanges.RunOf(wall)]; }
    unsigned KindAtUtc(std::uint64_t utc) const;
    const TIME_ZONE_INFORMATION& Record(unsigned kind) const { return m_records[kind]; }
    // The same records, names and history: the same answers in every year (stamps aside).
    bool SameAs(const ZoneYears& other) const;
    // Stays the same as long as the records do (copies keep it); a change of records draws a
    // number never given before.
    std::uint64_t Stamp() const { return m_stamp; }

    // Local wall-clock ticks of a UTC instant, and back, by the record in force, as
    // WallOf(AtUtc(utc), utc) and UtcOf(AtWall(wall), wall) of zone_rules.h.
    // In the history's years, by its changes.
    std::uint64_t WallOf(std::uint64_t utc) const {
        return utc < m_historyEndUtc ? m_history->history.WallOf(utc) : RecordWallOf(utc);
    }
    std::uint64_t UtcOf(std::uint64_t wall) const {
        return wall < m_historyEndWall ? m_history->history.UtcOf(wall) : RecordUtcOf(wall);
    }
    // C_Time::IsSummerTime's answer and the local reading of an instant that the history
    // answers; false for the records' years.
    bool HistorySummer(std::uint64_t utc, Evaluation* e, std::uint64_t* wall) const;

private:
    struct History {
        ZoneHistory history;
        std::vector<TIME_ZONE_INFORMATION> records;  // from 1900 to the last year, with the key's names
    };
    std::uint64_t RecordWallOf(std::uint64_t utc) const;
    std::uint64_t RecordUtcOf(std::uint64_t wall) const;

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
    std::shared_ptr<const History> m_history;  // shared by copies: it never changes
    std::uint64_t m_historyEndUtc = 0, m_historyEndWall = 0;  // 0 without a history
};

}  // namespace quendel::zone
