// Readers of pasted timestamps: text in, the points it may stand for out, each tagged with
// the form that reads it so. Pure functions on FILETIME ticks (100 ns since 1601-01-01 UTC);
// the present and the user's own date formats come in as arguments.
//
//   ReadTimestamp("1700000000", options)  ->  unix-s 2023-11-14 22:13:20 UTC first, then
//   cocoa-ns 2001-01-01 00:00:01.7 and gps 2033-11-18 (the likely years), then the rest:
//   unix-ms 1970-01-20, ..., cocoa 2054-11-14, hfsplus 1957-11-13, ntp 2089-12-21
//
// Every candidate lies in its form's range and in the calendar (1601-01-01 to 30827-12-31);
// a value outside either gives none, never a wrapped one. Ranking: candidates from
// 1990-01-01 to 2039-12-31 first, then the rest; within each group the forms that take the
// text as written before those that reinterpret it (bytes reversed, an NTP era after the
// first), then in the order of StampForm, the likelier reading first (.NET ticks before
// Unix nanoseconds: "638355168000000000" is 2023-11-14 in .NET, 1990 in Unix ns).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quendel::stamp {

enum class StampForm {
    kIso8601,         // 2023-11-14T22:13:20Z, offset or Z, fractions; without a zone local time
    kRfc2822,         // Tue, 14 Nov 2023 22:13:20 +0000 (mail, HTTP, RFC 850 and asctime too)
    kUserText,        // the user's own date and time formats (local time; read by the caller)
    kUuid1,           // 100 ns since 1582-10-15 in a version-1 UUID
    kUuid7,           // ms since 1970 in the first 48 bits of a version-7 UUID
    kUlid,            // ms since 1970 in the first 10 of 26 Crockford base-32 characters
    kUnixSeconds,     // signed 64-bit seconds since 1970, fraction allowed
    kUnixMillis,      // signed 64-bit milliseconds since 1970
    kUnixMicros,      // signed 64-bit microseconds since 1970
    kFileTime,        // decimal 100-ns ticks since 1601
    kFileTimeHex,     // the same in hexadecimal, as a number
    kFileTimeBytes,   // its 8 bytes stored little-endian, with or without blanks
    kFileTimeWords,   // "high:low", two 32-bit hexadecimal words
    kWebKit,          // WebKit/Chrome: microseconds since 1601
    kDotNetTicks,     // .NET DateTime: 100 ns since 0001-01-01 (0 to 9999-12-31)
    kUnixNanos,       // signed 64-bit nanoseconds since 1970 (after .NET: 63... is its ticks)
    kUnixHex,         // 32-bit signed seconds since 1970 in hexadecimal, as a number
    kUnixHexLe,       // the same, its 4 bytes stored little-endian ("00 65 53 65")
    kOleDate,         // OLE automation date: days since 1899-12-30, fraction the time of day
    kExcel1900,       // Excel serial: 1 is 1900-01-01, 60 the 29 February 1900 that never was
    kExcel1904,       // Excel 1904 serial: 0 is 1904-01-01
    kCocoaSeconds,    // Cocoa/Mac absolute time: seconds since 2001, fraction allowed
    kCocoaNanos,      // iOS: nanoseconds since 2001
    kHfsPlus,         // HFS+: unsigned 32-bit seconds since 1904 (UTC)
    kGps,             // GPS seconds since 1980-01-06, without the leap seconds UTC inserted
    kNtp,             // NTP seconds.fraction since 1900, decimal; the era nearest the present
    kNtpHex,          // NTP 64-bit in hexadecimal, "E8D3A3B0.12345678" or 16 digits
    kDosDateTime,     // DOS/FAT date and time in 32 bits (date high), local time, 2-s steps
    kCount
};

struct StampFormInfo {
    const char* token;    // for the command line: "unix-s"
    const char* name;     // German, Windows-1252, for the dialog: "Unixzeit (Sekunden)"
    bool reinterpreted;   // reads the text other than as written (its bytes reversed)
    bool local;           // the value is a wall-clock reading in the chosen zone
};
const StampFormInfo& FormInfo(StampForm form);

struct StampCandidate {
    StampForm form;
    // The point: UTC ticks, or for a form read as local time (FormInfo().local, or a text
    // without a zone) the wall-clock reading, which the caller converts in its zone.
    std::uint64_t ticks;
    bool local;
};

// One past the last tick of the calendar: 30828-01-01 00:00:00 UTC.
inline constexpr std::uint64_t kCalendarEnd = 9223149888000000000ull;

struct ReadOptions {
    std::uint64_t now = 0;  // ticks of the present, for the NTP era (0: the first era)
    // The user's own formats: reads the whole text to a wall-clock reading, or fails.
    std::function<bool(std::string_view text, std::uint64_t* wallTicks)> userFormat;
};

// Every candidate of the text, ranked (see above). A text longer than 200 characters gives
// none. note, when given, receives a German word on a value refused for a reason the user
// should hear (Excel's 29 February 1900), else stays as it was.
std::vector<StampCandidate> ReadTimestamp(std::string_view text, const ReadOptions& options = {},
                                          std::string* note = nullptr);

// The form's text of a point (UTC ticks; wall the reading in the chosen zone, for the forms
// read as local time); "" where the form cannot hold the point. ReadTimestamp reads each text
// back to the same point, to the form's resolution (a second for HFS+, two for DOS, a
// millisecond for UUID v7 and ULID, a day's 1e-10 for the OLE date and Excel serials).
std::string WriteTimestamp(StampForm form, std::uint64_t ticks, std::uint64_t wall);

// Whether ticks fall into the ranking's first group, 1990-01-01 to 2039-12-31.
bool InLikelyYears(std::uint64_t ticks);

}  // namespace quendel::stamp
