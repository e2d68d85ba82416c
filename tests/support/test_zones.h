// Time-zone records for the tests, as the Windows registry holds them ("TZI").
#pragma once

#include <windows.h>

#include <cstdint>

namespace test_zones {

inline SYSTEMTIME Rule(WORD month, WORD weekday, WORD occurrence, WORD hour, WORD minute = 0, WORD second = 0,
                       WORD ms = 0) {
    return SYSTEMTIME{0, month, weekday, occurrence, hour, minute, second, ms};
}

inline TIME_ZONE_INFORMATION Make(LONG bias, LONG daylightBias, SYSTEMTIME standardDate, SYSTEMTIME daylightDate,
                                  const wchar_t* standardName = L"Test Standard Time") {
    TIME_ZONE_INFORMATION z = {};
    z.Bias = bias;
    z.DaylightBias = daylightBias;
    z.StandardDate = standardDate;
    z.DaylightDate = daylightDate;
    for (int i = 0; i < 31 && standardName[i]; ++i) z.StandardName[i] = standardName[i];
    return z;
}

// W. Europe: UTC+1, summer from the last Sunday of March 02:00 to the last Sunday of
// October 03:00.
inline TIME_ZONE_INFORMATION WEurope() {
    return Make(-60, -60, Rule(10, 0, 5, 3), Rule(3, 0, 5, 2), L"W. Europe Standard Time");
}
// Eastern (US): UTC-5, second Sunday of March 02:00 to first Sunday of November 02:00.
inline TIME_ZONE_INFORMATION Eastern() {
    return Make(300, -60, Rule(11, 0, 1, 2), Rule(3, 0, 2, 2), L"Eastern Standard Time");
}
// AUS Eastern (Sydney): UTC+10, first Sunday of October 02:00 to first Sunday of April 03:00.
inline TIME_ZONE_INFORMATION AusEastern() {
    return Make(-600, -60, Rule(4, 0, 1, 3), Rule(10, 0, 1, 2), L"AUS Eastern Standard Time");
}
// Chatham Islands: UTC+12:45, last Sunday of September 02:45 to first Sunday of April 03:45.
inline TIME_ZONE_INFORMATION Chatham() {
    return Make(-765, -60, Rule(4, 0, 1, 3, 45), Rule(9, 0, 5, 2, 45), L"Chatham Islands Standard Time");
}
// Tokyo: UTC+9, no summer time.
inline TIME_ZONE_INFORMATION Tokyo() { return Make(-540, 0, SYSTEMTIME{}, SYSTEMTIME{}, L"Tokyo Standard Time"); }

inline constexpr std::uint64_t kUnixEpochTicks = 116444736000000000ull;
inline constexpr std::uint64_t FromUnix(std::int64_t seconds) {
    return static_cast<std::uint64_t>(seconds * 10000000) + kUnixEpochTicks;
}

}  // namespace test_zones
