#include "net/sntp.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "net/loopback.h"
#include "timelib/time_source.h"

namespace {

using loopback::Bytes;

// Known answers worked out by hand from the calendar (ticks = seconds since 1601 x 10^7;
// NTP seconds = Unix seconds + 2 208 988 800, RFC 5905).
constexpr unsigned __int64 kT1 = 134410320000000000ull;        // 2026-12-06 12:00:00.000 UTC
constexpr unsigned long kT1Ntp = 0xEEBFCCC0ul;                  // its NTP seconds, 4 005 547 200
constexpr unsigned __int64 kServer = 134410320050000000ull;    // 2026-12-06 12:00:05.000 UTC
constexpr unsigned long kServerNtp = 0xEEBFCCC5ul;
constexpr unsigned __int64 kMs = 10000ull;
constexpr unsigned long kHalfFraction = 0x7FFFFF6Cul;  // 500 x 4294967
// The 2036 rollover: NTP second 0 of era 1 is 2036-02-07 06:28:16 UTC (RFC 4330, 3).
constexpr unsigned __int64 kEraOneSecond16 = 137304521120000000ull;  // 2036-02-07 06:28:32
constexpr unsigned __int64 kEraZeroLast = 137304520950000000ull;     // 2036-02-07 06:28:15
constexpr unsigned __int64 kMarch2036 = 137324160000000000ull;       // 2036-03-01 00:00:00

Bytes Stamp(unsigned long seconds, unsigned long fraction) {
    return {static_cast<unsigned char>(seconds >> 24), static_cast<unsigned char>(seconds >> 16),
            static_cast<unsigned char>(seconds >> 8),  static_cast<unsigned char>(seconds),
            static_cast<unsigned char>(fraction >> 24), static_cast<unsigned char>(fraction >> 16),
            static_cast<unsigned char>(fraction >> 8),  static_cast<unsigned char>(fraction)};
}

// A good server answer to request: version 4, mode 4, stratum 1, T2 and T3 as given.
Bytes Answer(const Bytes& request, const Bytes& t2, const Bytes& t3) {
    Bytes reply(48, 0);
    reply[0] = 0x24;
    reply[1] = 1;
    std::memcpy(&reply[24], &request[40], 8);
    std::memcpy(&reply[32], t2.data(), 8);
    std::memcpy(&reply[40], t3.data(), 8);
    return reply;
}

// The present moment as the client sees it: kT1 at the first reading, then step later.
unsigned __int64 g_clockStart = kT1;
unsigned __int64 g_clockStep = 0;
int g_clockReads = 0;
void SteppingClock(FILETIME* now) {
    C_Time(g_clockStart + (g_clockReads++ == 0 ? 0 : g_clockStep)).GetFileTime(now);
}

class ClockScope {
public:
    ClockScope(unsigned __int64 start, unsigned __int64 step) {
        g_clockStart = start;
        g_clockStep = step;
        g_clockReads = 0;
        m_previous = quendel::SetClockSource(SteppingClock);
    }
    ~ClockScope() { quendel::SetClockSource(m_previous); }
    ClockScope(const ClockScope&) = delete;
    ClockScope& operator=(const ClockScope&) = delete;

private:
    quendel::ClockSource m_previous;
};

}  // namespace

// ---- Timestamps on the wire ----

TEST(NtpTimestamp, EncodesSecondsAndMillisecondFractions) {
    struct Case {
        unsigned __int64 ticks;
        Bytes wire;
    } cases[] = {
        {0x014F373BFDE04000ull, Stamp(0, 0)},                   // the NTP epoch
        {kT1, Stamp(kT1Ntp, 0)},                                // 2026-12-06 12:00:00.000
        {kT1 + 500 * kMs, Stamp(kT1Ntp, kHalfFraction)},        // .500
        {kT1 + 999 * kMs + 9999, Stamp(kT1Ntp, 4290672033ul)},  // .999 9999: milliseconds only, 999 x 4294967
        {kEraZeroLast, Stamp(0xFFFFFFFFul, 0)},                 // last second of era 0
        {kEraOneSecond16, Stamp(16, 0)},                        // era 1 starts again at 0
    };
    for (const Case& c : cases) {
        unsigned char wire[8];
        quendel::EncodeNtpTimestamp(C_Time(c.ticks), wire);
        EXPECT_EQ(Bytes(wire, wire + 8), c.wire) << c.ticks;
    }
}

TEST(NtpTimestamp, DecodesInTheEraNearestTheClient) {
    struct Case {
        Bytes wire;
        unsigned __int64 reference, expected;
    } cases[] = {
        {Stamp(kT1Ntp, 0), kT1, kT1},
        {Stamp(kT1Ntp, 0x80000000ul), kT1, kT1 + 500 * kMs},  // 2^31 / 4294967 = 500
        {Stamp(kT1Ntp, 0xFFFFFFFFul), kT1, kT1 + 1000 * kMs}, // 1000 ms carry into the next second
        {Stamp(kServerNtp, 0), kT1, kServer},
        {Stamp(16, 0), kMarch2036, kEraOneSecond16},          // after the rollover
        {Stamp(0xFFFFFFFFul, 0), kMarch2036, kEraZeroLast},   // just before it, seen from after
        {Stamp(16, 0), kEraZeroLast, kEraOneSecond16},        // just after it, seen from before
        {Stamp(kT1Ntp, 0), kMarch2036, kT1},                  // ten years back stays in era 0
        {Stamp(0, 0), 0, 0x014F373BFDE04000ull},              // no reference: era 0
        // A clock in 1800 (era -1): 1900-01-01 on the wire is read as 1763-11-24 17:31:44,
        // 2^32 seconds earlier (Python: datetime(1900,1,1) - timedelta(seconds=2**32)).
        {Stamp(0, 0), 62798112000000000ull, 0x014F373BFDE04000ull - 0x100000000ull * 10000000ull},
    };
    for (const Case& c : cases)
        EXPECT_EQ(quendel::DecodeNtpTimestamp(c.wire.data(), C_Time(c.reference)).GetTimeUTC(), c.expected)
            << c.reference;
}

TEST(NtpRequest, IsByteForByteTheClientRequest) {
    unsigned char packet[48];
    std::memset(packet, 0xAA, sizeof(packet));
    quendel::BuildSntpRequest(C_Time(kT1 + 500 * kMs), packet);
    Bytes expected(48, 0);
    expected[0] = 0x1B;
    const Bytes t1 = Stamp(kT1Ntp, kHalfFraction);
    std::copy(t1.begin(), t1.end(), expected.begin() + 40);
    EXPECT_EQ(Bytes(packet, packet + 48), expected);
}

// ---- The clock offset ----

TEST(SntpResult, IsTheServerTimePlusHalfTheRoundTrip) {
    struct Case {
        const char* name;
        unsigned __int64 t1, t2, t3, t4, expected;
    } cases[] = {
        // Symmetric path, instant server: T3 + (T4 - T1) / 2.
        {"instant", kT1, kServer, kServer, kT1 + 200 * kMs, kServer + 100 * kMs},
        // RFC 4330: offset ((T2 - T1) + (T3 - T4)) / 2 = (5000 + 4850) / 2 ms; T4 + offset.
        {"server takes 50 ms", kT1, kServer, kServer + 50 * kMs, kT1 + 200 * kMs, kServer + 125 * kMs},
        // Server behind the client; the delay's halving truncates toward zero.
        {"odd ticks", kServer, kT1, kT1, kServer + 3, kT1 + 1},
        // Server time before the client's: a negative offset is no trouble.
        {"clock fast", kServer, kT1, kT1 + 10 * kMs, kServer + 30 * kMs, kT1 + 20 * kMs},
    };
    for (const Case& c : cases)
        EXPECT_EQ(quendel::SntpResult(C_Time(c.t1), C_Time(c.t2), C_Time(c.t3), C_Time(c.t4)).GetTimeUTC(), c.expected)
            << c.name;
}

// ---- Which replies count ----

namespace {

struct ReplyCase {
    const char* name;
    void (*spoil)(Bytes& reply);
    quendel::SntpReply expected;
};

const ReplyCase kReplyCases[] = {
    {"good", [](Bytes&) {}, quendel::SntpReply::kAccepted},
    {"version 1", [](Bytes& r) { r[0] = 0x0C; }, quendel::SntpReply::kAccepted},
    {"version 3", [](Bytes& r) { r[0] = 0x1C; }, quendel::SntpReply::kAccepted},
    {"leap second ahead", [](Bytes& r) { r[0] = 0x64; }, quendel::SntpReply::kAccepted},
    {"stratum 15", [](Bytes& r) { r[1] = 15; }, quendel::SntpReply::kAccepted},
    {"mode 3, our own request", [](Bytes& r) { r[0] = 0x23; }, quendel::SntpReply::kRejected},
    {"mode 5, broadcast", [](Bytes& r) { r[0] = 0x25; }, quendel::SntpReply::kRejected},
    {"version 0", [](Bytes& r) { r[0] = 0x04; }, quendel::SntpReply::kRejected},
    {"version 5", [](Bytes& r) { r[0] = 0x2C; }, quendel::SntpReply::kRejected},
    {"leap 3, unsynchronised", [](Bytes& r) { r[0] = 0xE4; }, quendel::SntpReply::kRejected},
    {"stratum 16", [](Bytes& r) { r[1] = 16; }, quendel::SntpReply::kRejected},
    {"transmit zero", [](Bytes& r) { std::fill(r.begin() + 40, r.begin() + 48, 0); }, quendel::SntpReply::kRejected},
    {"originate not ours", [](Bytes& r) { r[31] ^= 1; }, quendel::SntpReply::kRejected},
    {"kiss-o'-death", [](Bytes& r) { r[0] = 0xE4; r[1] = 0; }, quendel::SntpReply::kKissOfDeath},
    {"kiss-o'-death, not ours", [](Bytes& r) { r[1] = 0; r[24] ^= 1; }, quendel::SntpReply::kRejected},
};

}  // namespace

TEST(SntpReplyCheck, AcceptsOnlyTheServersAnswerToThisRequest) {
    unsigned char request[48];
    quendel::BuildSntpRequest(C_Time(kT1), request);
    const Bytes sent(request, request + 48);
    for (const ReplyCase& c : kReplyCases) {
        Bytes reply = Answer(sent, Stamp(kServerNtp, 0), Stamp(kServerNtp, 0));
        c.spoil(reply);
        EXPECT_EQ(quendel::CheckSntpReply(reply.data(), request + 40), c.expected) << c.name;
    }
}

// ---- The exchange over loopback ----

TEST(SntpQuery, KnownAnswersFromALoopbackResponder) {
    struct Case {
        const char* name;
        unsigned __int64 clockStart, roundTrip;
        Bytes t2, t3;
        size_t extra;  // bytes beyond the 48 of the packet
        unsigned __int64 expected;
    } cases[] = {
        {"instant server", kT1, 200 * kMs, Stamp(kServerNtp, 0), Stamp(kServerNtp, 0), 0, kServer + 100 * kMs},
        {"server takes 50 ms", kT1, 200 * kMs, Stamp(kServerNtp, 0), Stamp(kServerNtp, 0x0CCCCCCDul), 0,
         kServer + 125 * kMs},  // 0x0CCCCCCD / 4294967 = 50 ms
        {"fraction 0xFFFFFFFF", kT1, 0, Stamp(kServerNtp, 0xFFFFFFFFul), Stamp(kServerNtp, 0xFFFFFFFFul), 0,
         kServer + 1000 * kMs},
        {"reply of 60 bytes", kT1, 0, Stamp(kServerNtp, 0), Stamp(kServerNtp, 0), 12, kServer},
        {"after the 2036 rollover", kMarch2036, 0, Stamp(16, 0), Stamp(16, 0), 0, kEraOneSecond16},
    };
    for (const Case& c : cases) {
        loopback::UdpResponder responder([&c](const Bytes& request) {
            if (request.size() != 48) return Bytes();
            Bytes reply = Answer(request, c.t2, c.t3);
            reply.resize(48 + c.extra, 0x5A);
            return reply;
        });
        ASSERT_TRUE(responder.Ready());
        ClockScope clock(c.clockStart, c.roundTrip);
        C_Time result;
        quendel::SntpStatus status = quendel::SntpStatus::kNoAnswer;
        EXPECT_TRUE(quendel::SntpQuery("127.0.0.1", responder.Port(), result, &status)) << c.name;
        EXPECT_EQ(status, quendel::SntpStatus::kAnswer) << c.name;
        EXPECT_EQ(result.GetTimeUTC(), c.expected) << c.name;
        EXPECT_EQ(responder.Requests(), 1) << c.name;
    }
}

TEST(SntpQuery, SendsTheRequestByteForByte) {
    Bytes seen;
    loopback::UdpResponder responder([&seen](const Bytes& request) {
        seen = request;
        return Bytes();
    });
    ASSERT_TRUE(responder.Ready());
    ClockScope clock(kT1 + 500 * kMs, 0);
    C_Time result;
    EXPECT_FALSE(quendel::SntpQuery("127.0.0.1", responder.Port(), result));  // silent: about 3 s
    Bytes expected(48, 0);
    expected[0] = 0x1B;
    const Bytes t1 = Stamp(kT1Ntp, kHalfFraction);
    std::copy(t1.begin(), t1.end(), expected.begin() + 40);
    EXPECT_EQ(seen, expected);
    EXPECT_TRUE(result.IsInvalid());
}

TEST(SntpQuery, RejectedRepliesCountAsNoAnswer) {
    for (const ReplyCase& c : kReplyCases) {
        if (c.expected == quendel::SntpReply::kAccepted) continue;
        loopback::UdpResponder responder([&c](const Bytes& request) {
            Bytes reply = Answer(request, Stamp(kServerNtp, 0), Stamp(kServerNtp, 0));
            c.spoil(reply);
            return reply;
        });
        ASSERT_TRUE(responder.Ready());
        ClockScope clock(kT1, 0);
        C_Time result;
        quendel::SntpStatus status = quendel::SntpStatus::kAnswer;
        EXPECT_FALSE(quendel::SntpQuery("127.0.0.1", responder.Port(), result, &status)) << c.name;
        EXPECT_EQ(status, c.expected == quendel::SntpReply::kKissOfDeath ? quendel::SntpStatus::kKissOfDeath
                                                                          : quendel::SntpStatus::kNoAnswer)
            << c.name;
        EXPECT_TRUE(result.IsInvalid()) << c.name;
    }
}

TEST(SntpQuery, ShortReplyIsNoAnswer) {
    loopback::UdpResponder responder([](const Bytes& request) {
        Bytes reply = Answer(request, Stamp(kServerNtp, 0), Stamp(kServerNtp, 0));
        reply.resize(47);
        return reply;
    });
    ASSERT_TRUE(responder.Ready());
    C_Time result;
    EXPECT_FALSE(quendel::SntpQuery("127.0.0.1", responder.Port(), result));
    EXPECT_TRUE(result.IsInvalid());
}

// With the real clock: T2 = T3 = the responder's reading of the machine's clock, taken
// between T1 and T4, so the result T3 + (T4 - T1) / 2 lies between the readings before and
// after the call, plus half the call's length (and 1 ms of the wire's millisecond
// resolution). On a quiet loopback that is a few milliseconds of the present moment.
TEST(SntpQuery, InstantServerOnTheRealClockGivesThePresentMoment) {
    const auto readClock = [] {
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        return (static_cast<unsigned __int64>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    };
    loopback::UdpResponder responder([&readClock](const Bytes& request) {
        unsigned char stamp[8];
        quendel::EncodeNtpTimestamp(C_Time(readClock()), stamp);
        const Bytes t(stamp, stamp + 8);
        return Answer(request, t, t);
    });
    ASSERT_TRUE(responder.Ready());
    C_Time result;
    const unsigned __int64 before = readClock();
    ASSERT_TRUE(quendel::SntpQuery("127.0.0.1", responder.Port(), result));
    const unsigned __int64 after = readClock();
    EXPECT_GE(result.GetTimeUTC() + kMs, before);
    EXPECT_LE(result.GetTimeUTC(), after + (after - before) / 2 + kMs);
}

// ---- The attempts ----

namespace {

std::vector<SYSTEMTIME> g_clockSet;
BOOL WINAPI RecordingSetter(const SYSTEMTIME* utc) {
    g_clockSet.push_back(*utc);
    return TRUE;
}

}  // namespace

TEST(InternetSync, SetsTheClockFromTheFirstAnswer) {
    loopback::UdpResponder responder([](const Bytes& request) {
        return Answer(request, Stamp(kServerNtp, 0x40000000ul), Stamp(kServerNtp, 0x40000000ul));  // .250
    });
    ASSERT_TRUE(responder.Ready());
    ClockScope clock(kT1, 0);
    g_clockSet.clear();
    std::vector<std::string> shown;
    C_Time result;
    const quendel::SyncOutcome outcome = quendel::InternetSync(
        quendel::SyncSettings{"127.0.0.1", responder.Port(), RecordingSetter},
        [&shown](const char* text) { shown.push_back(text); }, result);
    EXPECT_EQ(outcome, quendel::SyncOutcome::kSet);
    EXPECT_EQ(result.GetTimeUTC(), kServer + 250 * kMs);
    EXPECT_EQ(shown, std::vector<std::string>{"warten ..."});
    ASSERT_EQ(g_clockSet.size(), 1u);
    const SYSTEMTIME& set = g_clockSet[0];  // Sunday, 6 December 2026, 12:00:05.250 UTC
    EXPECT_EQ(std::vector<int>({set.wYear, set.wMonth, set.wDayOfWeek, set.wDay, set.wHour, set.wMinute, set.wSecond,
                                set.wMilliseconds}),
              std::vector<int>({2026, 12, 0, 6, 12, 0, 5, 250}));
}

TEST(InternetSync, KissOfDeathStopsAtOnce) {
    loopback::UdpResponder responder([](const Bytes& request) {
        Bytes reply = Answer(request, Stamp(0, 0), Stamp(0, 0));
        reply[0] = 0xE4;
        reply[1] = 0;
        std::memcpy(&reply[12], "RATE", 4);
        return reply;
    });
    ASSERT_TRUE(responder.Ready());
    g_clockSet.clear();
    std::vector<std::string> shown;
    C_Time result;
    EXPECT_EQ(quendel::InternetSync(quendel::SyncSettings{"127.0.0.1", responder.Port(), RecordingSetter},
                                    [&shown](const char* text) { shown.push_back(text); }, result),
              quendel::SyncOutcome::kFailed);
    EXPECT_EQ(responder.Requests(), 1);
    EXPECT_EQ(shown, (std::vector<std::string>{"warten ...", "Fehler!!"}));
    EXPECT_TRUE(g_clockSet.empty());
    EXPECT_TRUE(result.IsInvalid());
}

// A click that arrives while an attempt waits must not start a second sync inside it.
TEST(InternetSync, DoesNotNestInsideARunningSync) {
    loopback::UdpResponder responder([](const Bytes& request) {
        return Answer(request, Stamp(kServerNtp, 0), Stamp(kServerNtp, 0));
    });
    ASSERT_TRUE(responder.Ready());
    g_clockSet.clear();
    const quendel::SyncSettings settings{"127.0.0.1", responder.Port(), RecordingSetter};
    std::vector<quendel::SyncOutcome> nested;
    C_Time result;
    const quendel::SyncOutcome outcome = quendel::InternetSync(
        settings,
        [&](const char*) {
            C_Time inner;
            nested.push_back(quendel::InternetSync(settings, [](const char*) {}, inner));
        },
        result);
    EXPECT_EQ(outcome, quendel::SyncOutcome::kSet);
    EXPECT_EQ(nested, std::vector<quendel::SyncOutcome>{quendel::SyncOutcome::kBusy});
    EXPECT_EQ(responder.Requests(), 1);
    EXPECT_EQ(g_clockSet.size(), 1u);
}

TEST(TimeServer, IsOneFixedPublicNtpHost) {
    const quendel::SyncSettings settings;
    EXPECT_STREQ(settings.host, "ptbtime1.ptb.de");
    EXPECT_EQ(settings.port, 123);
    EXPECT_EQ(settings.setClock, &SetSystemTime);
}
