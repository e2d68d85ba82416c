#include "timelib/leap_seconds.h"

namespace quendel::stamp {

// leap-seconds.list, from the first entry after the GPS epoch on (TAI - UTC was 19 s then).
const LeapEntry kLeapSeconds[] = {
    {2524521600u, 19},  // 1 Jan 1980
    {2571782400u, 20},  // 1 Jul 1981
    {2603318400u, 21},  // 1 Jul 1982
    {2634854400u, 22},  // 1 Jul 1983
    {2698012800u, 23},  // 1 Jul 1985
    {2776982400u, 24},  // 1 Jan 1988
    {2840140800u, 25},  // 1 Jan 1990
    {2871676800u, 26},  // 1 Jan 1991
    {2918937600u, 27},  // 1 Jul 1992
    {2950473600u, 28},  // 1 Jul 1993
    {2982009600u, 29},  // 1 Jul 1994
    {3029443200u, 30},  // 1 Jan 1996
    {3076704000u, 31},  // 1 Jul 1997
    {3124137600u, 32},  // 1 Jan 1999
    {3345062400u, 33},  // 1 Jan 2006
    {3439756800u, 34},  // 1 Jan 2009
    {3550089600u, 35},  // 1 Jul 2012
    {3644697600u, 36},  // 1 Jul 2015
    {3692217600u, 37},  // 1 Jan 2017
};
const int kLeapSecondCount = sizeof kLeapSeconds / sizeof kLeapSeconds[0];

int GpsMinusUtc(std::uint64_t gpsSeconds) {
    constexpr std::uint64_t kGpsEpochNtp = 2524953600u;  // 1980-01-06 in NTP seconds
    constexpr int kTaiMinusGps = 19;
    int offset = 0;
    // The GPS second at which each insertion takes effect: its UTC second plus the offset
    // in force from then on.
    for (int i = 1; i < kLeapSecondCount; ++i) {
        const int next = kLeapSeconds[i].taiMinusUtc - kTaiMinusGps;  // [1, 18]
        if (gpsSeconds < kLeapSeconds[i].ntpSeconds - kGpsEpochNtp + static_cast<std::uint64_t>(next)) break;
        offset = next;
    }
    return offset;
}

}  // namespace quendel::stamp
