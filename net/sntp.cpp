#include "net/sntp.h"

#include <bcrypt.h>

#include <cstring>

namespace quendel {

namespace {

void PutWord(unsigned char* out, unsigned long value) {
    out[0] = static_cast<unsigned char>(value >> 24);
    out[1] = static_cast<unsigned char>(value >> 16);
    out[2] = static_cast<unsigned char>(value >> 8);
    out[3] = static_cast<unsigned char>(value);
}

unsigned long GetWord(const unsigned char* in) {
    return (static_cast<unsigned long>(in[0]) << 24) | (static_cast<unsigned long>(in[1]) << 16) |
           (static_cast<unsigned long>(in[2]) << 8) | static_cast<unsigned long>(in[3]);
}

void SystemRandom(unsigned char* out, unsigned int size) {
    // Without the system's generator the bits stay zero: the timestamp as it was before.
    if (!BCRYPT_SUCCESS(BCryptGenRandom(NULL, out, size, BCRYPT_USE_SYSTEM_PREFERRED_RNG))) std::memset(out, 0, size);
}

RandomSource g_random = SystemRandom;

}  // namespace

RandomSource SetRandomSource(RandomSource source) {
    const RandomSource previous = g_random;
    g_random = source ? source : SystemRandom;
    return previous;
}

void EncodeNtpTimestamp(const C_Time& point, unsigned char out[8]) {
    // Seconds modulo 2^32: from February 2036 on the count starts again at 0 (era 1).
    const unsigned __int64 ticks = point.GetTimeUTC() - kNtpEpoch;
    const unsigned long seconds = static_cast<unsigned long>((ticks / kTicksPerSecond) & 0xFFFFFFFFull);
    const unsigned long milliseconds = static_cast<unsigned long>((ticks % kTicksPerSecond) / 10000u);
    PutWord(out, seconds);
    PutWord(out + 4, milliseconds * kFractionPerMillisecond);
}

C_Time DecodeNtpTimestamp(const unsigned char in[8], const C_Time& reference) {
    const unsigned __int64 seconds = GetWord(in);
    const unsigned __int64 milliseconds = GetWord(in + 4) / kFractionPerMillisecond;  // 0 to 1000
    unsigned __int64 ticks = kNtpEpoch + seconds * kTicksPerSecond + milliseconds * 10000u;
    // The wire carries no era: take the one nearest the client's own time, later eras for a
    // clock past 2036, earlier ones (down to tick 0) for a clock before 1968. Without a
    // reference (the invalid time) era 0 stands.
    const unsigned __int64 wanted = reference.GetTimeUTC();
    if (wanted == 0) return C_Time(ticks);
    if (wanted > ticks) {
        ticks += (wanted - ticks + kNtpEraTicks / 2) / kNtpEraTicks * kNtpEraTicks;
    } else {
        const unsigned __int64 back = (ticks - wanted + kNtpEraTicks / 2) / kNtpEraTicks;
        const unsigned __int64 possible = ticks / kNtpEraTicks;  // eras that stay at or after tick 0
        ticks -= (back < possible ? back : possible) * kNtpEraTicks;
    }
    return C_Time(ticks);
}

void BuildSntpRequest(const C_Time& sent, unsigned char packet[kNtpPacketSize]) {
    std::memset(packet, 0, kNtpPacketSize);
    packet[0] = 0x1B;  // leap 0, version 3, mode 3 (client)
    EncodeNtpTimestamp(sent, packet + 40);
    // Below the millisecond the fraction carries chance: [0, 4294967) more, 22 bits' worth.
    unsigned char bytes[4];
    g_random(bytes, sizeof bytes);
    PutWord(packet + 44, GetWord(packet + 44) + GetWord(bytes) % kFractionPerMillisecond);
}

SntpReply CheckSntpReply(const unsigned char reply[kNtpPacketSize], const unsigned char sent[8]) {
    const unsigned leap = reply[0] >> 6, version = (reply[0] >> 3) & 7u, mode = reply[0] & 7u;
    const unsigned stratum = reply[1];
    // Only a server's answer to this very request may set the clock (or stop the sync).
    if (mode != 4 || version < 1 || version > 4 || std::memcmp(reply + 24, sent, 8) != 0)
        return SntpReply::kRejected;
    if (stratum == 0) return SntpReply::kKissOfDeath;
    if (leap == 3 || stratum > 15) return SntpReply::kRejected;  // unsynchronised
    static const unsigned char zero[8] = {};
    if (std::memcmp(reply + 32, zero, 8) == 0 || std::memcmp(reply + 40, zero, 8) == 0) return SntpReply::kRejected;
    // T3 - T2 in 2^-32 s, modulo 2^64 so that an era's end between them does not matter:
    // negative (T2 after T3) reads as huge.
    const unsigned __int64 t2 = (static_cast<unsigned __int64>(GetWord(reply + 32)) << 32) | GetWord(reply + 36);
    const unsigned __int64 t3 = (static_cast<unsigned __int64>(GetWord(reply + 40)) << 32) | GetWord(reply + 44);
    if (t3 - t2 > 0x100000000ull) return SntpReply::kRejected;  // more than one second inside the server
    return SntpReply::kAccepted;
}

SntpSample MeasureSntp(const C_Time& t1, const C_Time& t2, const C_Time& t3, const C_Time& t4) {
    // Unsigned differences (modulo 2^64), read as signed: every tick count is below 2^60,
    // so the sum of two differences is exact.
    const unsigned __int64 sum = (t2.GetTimeUTC() - t1.GetTimeUTC()) + (t3.GetTimeUTC() - t4.GetTimeUTC());
    SntpSample sample;
    sample.offset = static_cast<__int64>(sum) / 2;  // toward zero
    sample.delay = static_cast<__int64>((t4.GetTimeUTC() - t1.GetTimeUTC()) - (t3.GetTimeUTC() - t2.GetTimeUTC()));
    sample.serverTime = SntpResult(t1, t2, t3, t4);
    return sample;
}

SntpReply EvaluateSntpReply(const unsigned char reply[kNtpPacketSize], const unsigned char sent[8], const C_Time& t1,
                            const C_Time& t4, unsigned int waitMs, SntpSample& sample) {
    const SntpReply verdict = CheckSntpReply(reply, sent);
    if (verdict != SntpReply::kAccepted) return verdict;
    const SntpSample measured =
        MeasureSntp(t1, DecodeNtpTimestamp(reply + 32, t1), DecodeNtpTimestamp(reply + 40, t1), t4);
    const __int64 slack = static_cast<__int64>(kTicksPerMillisecond);
    if (measured.delay < -slack || measured.delay > static_cast<__int64>(waitMs * kTicksPerMillisecond))
        return SntpReply::kRejected;
    sample = measured;
    sample.stratum = reply[1];
    return SntpReply::kAccepted;
}
C_Time SntpResult(const C_Time& t1, const C_Time& t2, const C_Time& t3, const C_Time& t4) {
    // Unsigned differences (modulo 2^64), read as signed: well defined for any input.
    const unsigned __int64 delay = (t4.GetTimeUTC() - t1.GetTimeUTC()) - (t3.GetTimeUTC() - t2.GetTimeUTC());
    const __int64 half = static_cast<__int64>(delay) / 2;  // toward zero
    return C_Time(t3.GetTimeUTC() + static_cast<unsigned __int64>(half));
}

}  // namespace quendel
