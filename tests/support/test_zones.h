// Time-zone records for the tests, as the Windows registry holds them ("TZI").
#pragma once

#include <windows.h>

#include <cstdint>

namespace test_zones {

// The rule form: the occurrence-th weekday (0 Sunday; 5 the last) of the month, at the time.
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

// Berlin, New York, Sydney, Chatham (changes at :45) and Tokyo (no summer time).
inline TIME_ZONE_INFORMATION WEurope() { return Make(-60, -60, Rule(10, 0, 5, 3), Rule(3, 0, 5, 2), L"W. Europe Standard Time"); }
inline TIME_ZONE_INFORMATION Eastern() { return Make(300, -60, Rule(11, 0, 1, 2), Rule(3, 0, 2, 2), L"Eastern Standard Time"); }
inline TIME_ZONE_INFORMATION AusEastern() {
    return Make(-600, -60, Rule(4, 0, 1, 3), Rule(10, 0, 1, 2), L"AUS Eastern Standard Time");
}
inline TIME_ZONE_INFORMATION Chatham() {
    return Make(-765, -60, Rule(4, 0, 1, 3, 45), Rule(9, 0, 5, 2, 45), L"Chatham Islands Standard Time");
}
inline TIME_ZONE_INFORMATION Tokyo() { return Make(-540, 0, SYSTEMTIME{}, SYSTEMTIME{}, L"Tokyo Standard Time"); }

inline constexpr std::uint64_t FromUnix(std::int64_t seconds) {
    return static_cast<std::uint64_t>(seconds * 10000000) + 116444736000000000ull;
}

}  // namespace test_zones
