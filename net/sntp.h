// The time servers and the SNTP exchange: one 48-byte request, one 48-byte reply over UDP.
// Packet encoding, reply checking, the offset and delay arithmetic and the attempt plan are
// pure functions; QueryTimeServer is the one that touches the network.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <string>
#include <vector>

#include "timelib/c_time.h"

namespace quendel {

// The servers asked when the user has named none: the Physikalisch-Technische
// Bundesanstalt's, which keep Germany's legal time.
constexpr char kDefaultTimeServers[] = "ptbtime1.ptb.de ptbtime2.ptb.de ptbtime3.ptb.de";
constexpr unsigned short kNtpPort = 123;

constexpr unsigned int kNtpPacketSize = 48;
// 1900-01-01 00:00:00 UTC, the NTP epoch, in ticks.
constexpr unsigned __int64 kNtpEpoch = 0x014F373BFDE04000ull;
constexpr unsigned __int64 kTicksPerSecond = 10000000ull;
constexpr unsigned __int64 kTicksPerMillisecond = 10000ull;
// One NTP era: 2^32 seconds.
constexpr unsigned __int64 kNtpEraTicks = 0x100000000ull * kTicksPerSecond;
// Milliseconds to and from the 2^-32 s fraction: 2^32 / 1000, rounded down.
constexpr unsigned long kFractionPerMillisecond = 4294967ul;
// How long one address is given to answer.
constexpr unsigned int kReplyWaitMs = 3000;

// One server of the user's list: a name or address and its port.
struct TimeServer {
    std::string host;
    unsigned short port = kNtpPort;
    // "host", "host:port", "[v6]:port": as the user writes it (the port only when not 123).
    std::string Text() const;
};
// Reads "name[:port] ..." (blanks between entries; IPv6 addresses in brackets when a port
// follows). Returns "" and fills servers, or a German sentence naming the first bad entry
// and leaves servers alone. Example: "ptbtime1.ptb.de 192.0.2.7:1123 [2001:db8::1]:123".
std::string ParseTimeServers(const std::string& text, std::vector<TimeServer>& servers);
// The list of kDefaultTimeServers.
std::vector<TimeServer> DefaultTimeServers();

// The 8 bytes of a timestamp in network order for a point (its era is dropped).
void EncodeNtpTimestamp(const C_Time& point, unsigned char out[8]);
// The point of a timestamp, in the era that puts it nearest the reference.
C_Time DecodeNtpTimestamp(const unsigned char in[8], const C_Time& reference);
// Fills out with size random bytes.
typedef void (*RandomSource)(unsigned char* out, unsigned int size);
// Installs a source and returns the one it replaces; null restores the system's
// (BCryptGenRandom). Tests install a fixed one.
RandomSource SetRandomSource(RandomSource source);
// The request: 0x1B, zeros, the transmit timestamp of sent with a random count below one
// millisecond added to its fraction (it still decodes to sent's millisecond), so that only
// a reply that has seen the request can carry it back as originate time.
void BuildSntpRequest(const C_Time& sent, unsigned char packet[kNtpPacketSize]);

enum class SntpReply {
    kAccepted,
    kRejected,     // not a plausible answer of this server to this request: it sets nothing
    kKissOfDeath,  // stratum 0: the server wants no more requests
};
// Whether the reply answers the request that carried transmit timestamp sent[8]: a server's
// reply (mode 4, version 1 to 4) carrying it as originate time, synchronised (leap not 3,
// stratum 1 to 15), with receive time T2 and transmit time T3 both set, T2 not after T3,
// and at most one second of processing between them.
SntpReply CheckSntpReply(const unsigned char reply[kNtpPacketSize], const unsigned char sent[8]);

// A measurement of RFC 4330 (section 5), in ticks: offset = ((T2 - T1) + (T3 - T4)) / 2,
// the amount the client's clock is behind; delay = (T4 - T1) - (T3 - T2), the round trip.
struct SntpSample {
    C_Time serverTime;        // the server's time at T4: T4 + offset
    __int64 offset = 0;
    __int64 delay = 0;
    unsigned int stratum = 0;
};
SntpSample MeasureSntp(const C_Time& t1, const C_Time& t2, const C_Time& t3, const C_Time& t4);
// CheckSntpReply against the request's transmit timestamp sent[8], then the round trip of
// the reply received at t4 to the request sent at t1: a delay below -1 ms or above waitMs is
// no measurement. On acceptance fills sample.
SntpReply EvaluateSntpReply(const unsigned char reply[kNtpPacketSize], const unsigned char sent[8], const C_Time& t1,
                            const C_Time& t4, unsigned int waitMs, SntpSample& sample);
// The server's time at t4: T3 + ((T4 - T1) - (T3 - T2)) / 2, rounded toward T3.
C_Time SntpResult(const C_Time& t1, const C_Time& t2, const C_Time& t3, const C_Time& t4);

enum class SntpStatus {
    kAnswer,
    kUnresolvable,  // the name has no address
    kNoAnswer,      // nothing came within the wait (or the port was closed)
    kInvalid,       // something came, but no plausible answer
    kKissOfDeath,
    kCancelled,
};
// Asks the server once: resolves it (IPv4 and IPv6), then tries its addresses in order,
// each up to kReplyWaitMs, passing over those in refused (numeric addresses that sent a kiss
// of death; may be null). Blocks; cancel (an event, may be NULL) ends it early. On an answer
// fills sample and address (the numeric address that answered); on a kiss of death address
// is the refusing one, and a name whose every address has refused counts as refusing again
// without a request.
SntpStatus QueryTimeServer(const TimeServer& server, HANDLE cancel, SntpSample& sample, std::string& address,
                           const std::vector<std::string>* refused = nullptr);

// The plan of a sync: up to three attempts, each to the next server of the list; a server
// that sent a kiss of death is not asked again, nor is its address under any other name.
class SyncAttempts {
public:
    explicit SyncAttempts(std::vector<TimeServer> servers, int attempts = 3);
    // The server of the coming attempt.
    const TimeServer& Server() const { return m_servers[m_next]; }
    // Records the attempt's status (and on a kiss of death the refusing address); true when
    // another attempt follows.
    bool Record(SntpStatus status, const std::string& address = std::string());
    // The addresses that sent a kiss of death in this sync, for QueryTimeServer.
    const std::vector<std::string>& RefusedAddresses() const { return m_refusedAddresses; }
    // The list, and the position of the coming attempt's server in it.
    const std::vector<TimeServer>& Servers() const { return m_servers; }
    std::size_t Next() const { return m_next; }
    int Made() const { return m_made; }
    SntpStatus Last() const { return m_last; }
    // The server the last attempt asked.
    const TimeServer& LastServer() const { return m_lastServer; }

private:
    std::vector<TimeServer> m_servers;
    std::vector<bool> m_refused;
    std::vector<std::string> m_refusedAddresses;
    std::size_t m_next = 0;
    int m_left;
    int m_made = 0;
    SntpStatus m_last = SntpStatus::kNoAnswer;
    TimeServer m_lastServer;
};

}  // namespace quendel
