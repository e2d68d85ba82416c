// The leap seconds UTC has inserted, for GPS time (which has none of them). Source: the IANA
// time-zone database's leap-seconds.list (IERS Bulletin C), as of the file updated with
// Bulletin C 70 and expiring on 28 June 2027; no leap second is announced before then. A
// point after the expiry is converted with the last offset, which is all anyone can know.
#pragma once

#include <cstdint>

namespace quendel::stamp {

// TAI - UTC in seconds from the given UTC second on (seconds since 1900-01-01, NTP's count).
struct LeapEntry {
    std::uint32_t ntpSeconds;
    int taiMinusUtc;
};
extern const LeapEntry kLeapSeconds[];
extern const int kLeapSecondCount;
// The table's expiry, 28 June 2027 00:00:00 UTC, in NTP seconds.
inline constexpr std::uint32_t kLeapTableExpiry = 4023129600u;

// GPS - UTC at the GPS second gps (seconds since 1980-01-06 00:00:00), 0 to 18 so far. The
// GPS second that was an inserted 23:59:60 reads as the 00:00:00 after it.
int GpsMinusUtc(std::uint64_t gpsSeconds);

}  // namespace quendel::stamp
