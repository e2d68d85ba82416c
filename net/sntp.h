// The time server and the SNTP exchange: one 48-byte request, one 48-byte reply over UDP.
// Packet encoding, reply checking and the clock offset arithmetic are pure functions.
#pragma once

#include <windows.h>

#include "timelib/c_time.h"

namespace quendel {

// The one time server the program asks: the Physikalisch-Technische Bundesanstalt,
// which keeps Germany's legal time.
constexpr char kTimeServerHost[] = "ptbtime1.ptb.de";
constexpr unsigned short kTimeServerPort = 123;

constexpr unsigned int kNtpPacketSize = 48;
// 1900-01-01 00:00:00 UTC, the NTP epoch, in ticks.
constexpr unsigned __int64 kNtpEpoch = 0x014F373BFDE04000ull;
constexpr unsigned __int64 kTicksPerSecond = 10000000ull;
// One NTP era: 2^32 seconds.
constexpr unsigned __int64 kNtpEraTicks = 0x100000000ull * kTicksPerSecond;
// Milliseconds to and from the 2^-32 s fraction: 2^32 / 1000, rounded down.
constexpr unsigned long kFractionPerMillisecond = 4294967ul;

// The 8 bytes of a timestamp in network order for a point (its era is dropped).
void EncodeNtpTimestamp(const C_Time& point, unsigned char out[8]);
// The point of a timestamp, in the era that puts it nearest the reference.
C_Time DecodeNtpTimestamp(const unsigned char in[8], const C_Time& reference);
// The request: 0x1B, zeros, the transmit timestamp of sent.
void BuildSntpRequest(const C_Time& sent, unsigned char packet[kNtpPacketSize]);

enum class SntpReply {
    kAccepted,
    kRejected,     // not this server's answer to this request: counts as no answer
    kKissOfDeath,  // stratum 0: the server wants no more requests
};
// Whether the reply answers the request that carried transmit timestamp sent[8].
SntpReply CheckSntpReply(const unsigned char reply[kNtpPacketSize], const unsigned char sent[8]);
// The server's time at t4: T3 + ((T4 - T1) - (T3 - T2)) / 2.
C_Time SntpResult(const C_Time& t1, const C_Time& t2, const C_Time& t3, const C_Time& t4);

enum class SntpStatus { kAnswer, kNoAnswer, kKissOfDeath };
// Asks the server once (up to three seconds); on an answer sets result to its time.
bool SntpQuery(const char* host, unsigned short port, C_Time& result, SntpStatus* status = nullptr);

// Sets the machine's clock in UTC; the program passes SetSystemTime.
typedef BOOL(WINAPI* ClockSetter)(const SYSTEMTIME* utc);

struct SyncSettings {
    const char* host = kTimeServerHost;
    unsigned short port = kTimeServerPort;
    ClockSetter setClock = SetSystemTime;
};
// The settings the dialog's sync uses; tests point them at a loopback responder and a
// recording setter. Returns the previous settings.
SyncSettings SetSyncSettings(const SyncSettings& settings);
const SyncSettings& CurrentSyncSettings();

enum class SyncOutcome { kSet, kFailed, kBusy };
// Up to three attempts; showStatus receives "warten ..." before and "Fehler!!" after each
// failed one. On success the clock is set and result holds the server's time. A call
// while another runs (from a handler dispatched during the wait) returns kBusy at once.
template <typename ShowStatus>
SyncOutcome InternetSync(const SyncSettings& settings, ShowStatus showStatus, C_Time& result);

// The attempt loop, with the status shown through a plain callback.
SyncOutcome RunInternetSync(const SyncSettings& settings, void (*showStatus)(void* context, const char* text),
                            void* context, C_Time& result);

template <typename ShowStatus>
SyncOutcome InternetSync(const SyncSettings& settings, ShowStatus showStatus, C_Time& result) {
    return RunInternetSync(
        settings, [](void* context, const char* text) { (*static_cast<ShowStatus*>(context))(text); }, &showStatus,
        result);
}

}  // namespace quendel
