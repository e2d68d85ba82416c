// Property tests with fixed seeds for the SNTP reply handling: random bytes into the pure
// checks, and random datagrams of 0 to 100 bytes from a loopback responder.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "net/loopback.h"
#include "net/sntp.h"
#include "timelib/guarded.h"

namespace {

using loopback::Bytes;

}  // namespace

// Replies of random bytes, some with the request's timestamp echoed and a plausible header;
// each reply ends at an inaccessible page, so a read beyond its 48 bytes faults.
TEST(SntpFuzz, CheckAndDecodeTakeAnyBytes) {
    GuardedText guard;
    ASSERT_TRUE(guard.Ready());
    std::mt19937 rng(123);
    unsigned char sent[8];
    int accepted = 0;
    for (int i = 0; i < 50000; ++i) {
        unsigned char bytes[quendel::kNtpPacketSize];
        for (unsigned char& b : bytes) b = static_cast<unsigned char>(rng());
        for (unsigned char& b : sent) b = static_cast<unsigned char>(rng());
        if (rng() % 2) {
            bytes[0] = static_cast<unsigned char>((rng() % 4) << 6 | (rng() % 8) << 3 | (rng() % 8));
            bytes[1] = static_cast<unsigned char>(rng() % 18);
            std::memcpy(bytes + 24, sent, 8);
        }
        const unsigned char* reply = guard.PutBytes(bytes, sizeof bytes);
        const quendel::SntpReply verdict = quendel::CheckSntpReply(reply, sent);
        if (verdict == quendel::SntpReply::kAccepted) {
            ++accepted;
            EXPECT_EQ(std::memcmp(reply + 24, sent, 8), 0);  // only an answer to this request
            EXPECT_NE(reply[1], 0);
        }
        // References from half an era after tick 0 (1669) to five eras on, before and after
        // the NTP epoch.
        const unsigned __int64 offset = ((static_cast<unsigned __int64>(rng()) << 32) | rng()) % (5 * quendel::kNtpEraTicks);
        const C_Time reference(quendel::kNtpEraTicks / 2 + offset);
        const C_Time t2 = quendel::DecodeNtpTimestamp(reply + 32, reference);
        const C_Time t3 = quendel::DecodeNtpTimestamp(guard.PutBytes(bytes + 40, 8), reference);
        // A decoded point lies within half an era of the reference.
        const unsigned __int64 half = quendel::kNtpEraTicks / 2 + quendel::kTicksPerSecond;
        EXPECT_LE(static_cast<unsigned __int64>(t3.GetTimeUTC() - reference.GetTimeUTC() + half), 2 * half);
        quendel::SntpResult(reference, t2, t3, C_Time(reference.GetTimeUTC() + rng()));
    }
    EXPECT_GT(accepted, 0);  // the near-valid half reaches the accepting path
}

// Datagrams of any length from 0 to 100 bytes: the query takes an answer only from a full
// packet that answers its request, and reports the kiss of death only for stratum 0.
TEST(SntpFuzz, QueryTakesRandomDatagrams) {
    std::mt19937 rng(99);
    Bytes lastReply;
    bool expectAnswer = false, expectKiss = false;
    loopback::UdpResponder responder([&](const Bytes& request) {
        Bytes reply(rng() % 101);
        for (unsigned char& b : reply) b = static_cast<unsigned char>(rng());
        if (reply.size() >= 48 && rng() % 2) {
            reply[0] = 0x24;
            reply[1] = static_cast<unsigned char>(rng() % 3);
            std::memcpy(&reply[24], &request[40], 8);
        }
        expectAnswer = expectKiss = false;
        if (reply.size() >= 48 && request.size() >= 48) {
            const quendel::SntpReply verdict = quendel::CheckSntpReply(reply.data(), &request[40]);
            expectAnswer = verdict == quendel::SntpReply::kAccepted;
            expectKiss = verdict == quendel::SntpReply::kKissOfDeath;
        }
        // An empty datagram would leave the query waiting its full three seconds: send one
        // byte instead, which must be rejected the same way.
        if (reply.empty()) reply.push_back(0x24);
        lastReply = reply;
        return reply;
    });
    ASSERT_TRUE(responder.Ready());
    int answers = 0;
    for (int i = 0; i < 60; ++i) {
        C_Time result(42);
        quendel::SntpStatus status = quendel::SntpStatus::kAnswer;
        const bool ok = quendel::SntpQuery("127.0.0.1", responder.Port(), result, &status);
        SCOPED_TRACE(testing::Message() << "round " << i << " length " << lastReply.size());
        EXPECT_EQ(ok, expectAnswer);
        EXPECT_EQ(status, ok ? quendel::SntpStatus::kAnswer
                             : expectKiss ? quendel::SntpStatus::kKissOfDeath : quendel::SntpStatus::kNoAnswer);
        if (ok) {
            ++answers;
            EXPECT_TRUE(result.IsValid());
        } else {
            EXPECT_EQ(result, C_Time(42));  // unchanged
        }
    }
    EXPECT_GT(answers, 0);
}
