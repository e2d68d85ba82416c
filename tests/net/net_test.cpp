// The SNTP exchange and the socket client under it, against tests/data/net_*.tsv and loopback peers.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <memory>
#include <random>

#include "net/loopback.h"
#include "net/sntp.h"
#include "support/data_table.h"
#include "support/guarded.h"
#include "timelib/time_source.h"

using namespace quendel;
using data_table::Uint;
using loopback::Bytes;

namespace {

const char* const kVerdicts[] = {"accepted", "rejected", "kiss"};  // SntpReply

Bytes Hex(std::string text) {  // blanks between the digits are skipped
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    Bytes bytes;
    for (size_t i = 0; i + 1 < text.size(); i += 2) bytes.push_back(std::stoul(text.substr(i, 2), nullptr, 16));
    return bytes;
}

unsigned char g_random[4];  // what the random source gives, repeated
void FixedRandom(unsigned char* out, unsigned int size) {
    for (unsigned int i = 0; i < size; ++i) out[i] = g_random[i % 4];
}

unsigned __int64 g_clock[2];  // the client's clock: [0] at the first reading, [1] later
int g_reads;
void SteppingClock(FILETIME* now) { C_Time(g_clock[g_reads++ > 0]).GetFileTime(now); }

struct Client : C_BufferedTcpClient {
    void Log(const char* format, ...) override { log.append(format).append("\n"); }
    std::string State() const {
        std::string held(reinterpret_cast<const char*>(m_buffer), m_count), state(600, '\0');
        held.erase(std::remove(held.begin(), held.end(), '\0'), held.end());
        state.resize(std::snprintf(&state[0], 600, "%s%s %s type %d held %u '%s' timers %u timeout %u log '%s'",
                                   m_connected ? "connected " : "", m_socket.Valid() ? "open" : "closed",
                                   inet_ntoa(m_addr.sin_addr), m_type, m_count, held.c_str(),
                                   static_cast<unsigned>(m_waitTimer + m_reconnectTimer), m_timeout, log.c_str()));
        return state;
    }
    std::string log, scenario;
};

// The server's end of a stream accepts and greets from a timer the client's wait dispatches.
UniqueSocket g_listener, g_peer;
std::string g_greeting;
void CALLBACK AcceptAndGreet(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(NULL, timer);
    g_peer.Reset(accept(g_listener.Get(), NULL, NULL));
    send(g_peer.Get(), g_greeting.data(), static_cast<int>(g_greeting.size()), 0);
}

std::string Connect(Client& client, const data_table::Row& row, unsigned short port) {  // host, peer, timeout, ...
    g_greeting = row[9];
    if (row[6] != "echo") g_listener = loopback::BoundSocket(SOCK_STREAM, &port);
    if (row[6] == "refused") g_listener.Reset();  // the port is free again
    if (row[6] == "silent") listen(g_listener.Get(), 1);  // accepted by the system, never spoken to
    if (row[6] == "stream" && listen(g_listener.Get(), 1) == 0) SetTimer(NULL, 0, 10, AcceptAndGreet);
    const int type = row[8] == "stream" ? SOCK_STREAM : SOCK_DGRAM;
    return std::to_string(client.Connect(row[5] == "-" ? NULL : row[5].c_str(), port, Uint(row[7]), AF_INET, type));
}

}  // namespace

TEST(NtpTimestamp, EncodedIntoTheRequestDecodedInTheNearestEraAndTheOffset) {
    for (const data_table::Row& row : data_table::Read("net_ntp_timestamps.tsv")) {
        if (row[0] == "decode") {
            EXPECT_EQ(DecodeNtpTimestamp(Hex(row[1]).data(), Uint(row[2])).GetTimeUTC(), Uint(row[3])) << row[4];
            continue;
        }
        const Bytes random = Hex(row.size() > 4 ? row[4] : "00000000");  // added below the millisecond
        std::copy(random.begin(), random.end(), g_random);
        SetRandomSource(FixedRandom);
        Bytes packet(48, 0xAA);
        BuildSntpRequest(Uint(row[1]), packet.data());
        EXPECT_EQ(packet, Hex(row[2])) << row[3];
    }
    SetRandomSource(nullptr);
    for (const data_table::Row& r : data_table::Read("net_sntp_offsets.tsv"))
        EXPECT_EQ(SntpResult(Uint(r[0]), Uint(r[1]), Uint(r[2]), Uint(r[3])).GetTimeUTC(), Uint(r[4])) << r[5];
}

std::string Describe(SntpStatus status, const SntpSample& sample) {
    const char* const names[] = {"answer", "unresolvable", "no answer", "invalid", "kiss", "cancelled"};
    std::string text = names[static_cast<int>(status)];
    if (status == SntpStatus::kAnswer)
        text += " " + std::to_string(sample.serverTime.GetTimeUTC()) + " offset " + std::to_string(sample.offset) +
                " delay " + std::to_string(sample.delay) + " stratum " + std::to_string(sample.stratum);
    return text;
}

TEST(SntpQuery, TakesOnlyAPlausibleAnswerOfTheServerToItsRequest) {
    for (const data_table::Row& row : data_table::Read("net_sntp_replies.tsv")) {
        const Bytes request = Hex(row[3]), reply = Hex(row[4]);
        const unsigned __int64 t1 = Uint(row[1]), t4 = t1 + Uint(row[2]);
        SntpSample sample;
        unsigned char sent[8];
        EncodeNtpTimestamp(t1, sent);
        const int verdict = reply.size() < 48 ? -1 : static_cast<int>(EvaluateSntpReply(reply.data(), sent, t1, t4, 3000, sample));
        EXPECT_STREQ(verdict < 0 ? "-" : kVerdicts[verdict], row[5].c_str()) << row[0];
        if (row[6] == "-") continue;
        loopback::UdpResponder responder([&reply](const Bytes&) { return reply; });  // answers the request above
        g_clock[0] = t1, g_clock[1] = t4, g_reads = 0;
        SetClockSource(SteppingClock);
        std::fill(g_random, g_random + 4, 0), SetRandomSource(FixedRandom);  // the table's requests
        std::string address;
        const SntpStatus status = QueryTimeServer({"127.0.0.1", responder.Port()}, NULL, sample, address);
        EXPECT_EQ(Describe(status, sample), row[6]) << row[0];
        EXPECT_EQ(address, status == SntpStatus::kAnswer || status == SntpStatus::kKissOfDeath ? "127.0.0.1" : "") << row[0];
        EXPECT_EQ(responder.Requests(), 1) << row[0];
    }
    SetClockSource(nullptr), SetRandomSource(nullptr);
}

// A kiss of death stops the sync's requests to that address, whichever name of the list leads
// to it: three entries for one server get one request.
TEST(SntpQuery, KissOfDeathStopsEveryNameOfTheAddress) {
    loopback::UdpResponder responder([](const Bytes& request) {
        Bytes reply(48, 0);
        reply[0] = 0x24;  // version 4, server; stratum 0
        std::copy(request.begin() + 40, request.end(), reply.begin() + 24);
        return reply;
    });
    SyncAttempts attempts({{"127.0.0.1", responder.Port()}, {"127.0.0.1", responder.Port()}, {"127.0.0.1", responder.Port()}});
    std::string statuses;
    for (bool again = true; again;) {
        SntpSample sample;
        std::string address;
        const SntpStatus status = QueryTimeServer(attempts.Server(), NULL, sample, address, &attempts.RefusedAddresses());
        statuses += Describe(status, sample) + " " + address + ";";
        again = attempts.Record(status, address);
    }
    EXPECT_EQ(statuses, "kiss 127.0.0.1;kiss 127.0.0.1;kiss 127.0.0.1;");
    EXPECT_EQ(responder.Requests(), 1);
}

// The user's server lists, and the plan of attempts over them: each attempt asks the next
// server, one that sent a kiss of death is skipped from then on.
TEST(TimeServers, ReadAndTakenInTurn) {
    for (const data_table::Row& row : data_table::Read("net_time_servers.tsv")) {
        std::vector<TimeServer> servers = {{"unchanged", 1}};
        std::string read = ParseTimeServers(row[0], servers);
        for (const TimeServer& server : servers) read += (read.empty() ? "" : " ") + server.Text();
        EXPECT_EQ(read, row[1]) << row[0];
    }
    const std::map<std::string, SntpStatus> kinds = {{"unresolvable", SntpStatus::kUnresolvable},
        {"none", SntpStatus::kNoAnswer}, {"invalid", SntpStatus::kInvalid}, {"kiss", SntpStatus::kKissOfDeath},
        {"answer", SntpStatus::kAnswer}};
    for (const data_table::Row& row : data_table::Read("net_sync_attempts.tsv")) {
        std::vector<TimeServer> servers;
        ParseTimeServers(row[0], servers);
        SyncAttempts attempts(servers);
        std::string asked;
        std::istringstream statuses(row[1]);
        for (std::string status; statuses >> status;) {
            asked += attempts.Server().host + " ";
            if (!attempts.Record(kinds.at(status))) break;
        }
        EXPECT_EQ(asked + std::to_string(attempts.Made()), row[2]) << row[0] << ": " << row[1];
    }
    EXPECT_EQ(SyncAttempts({}).Server().Text(), "ptbtime1.ptb.de");
}

// scripts/ntp-integration.sh runs this program with QUENDEL_NTP_PORT, a real server's port on loopback.
TEST(SntpQuery, RealServerOnThisMachinesClock) {
    const char* port = std::getenv("QUENDEL_NTP_PORT");
    if (port == nullptr) GTEST_SKIP() << "no server: scripts/ntp-integration.sh starts one";
    SntpSample sample;
    std::string address;
    ASSERT_EQ(QueryTimeServer({"127.0.0.1", static_cast<unsigned short>(std::atoi(port))}, NULL, sample, address),
              SntpStatus::kAnswer);
    EXPECT_LT(std::llabs(sample.offset), 20000) << "the server serves this machine's clock";
    EXPECT_GE(sample.delay, -10000);
}

// Random datagrams, half of the long ones plausible: no read beyond 48 bytes (the page ends there).
TEST(SntpProperty, RandomReplies) {
    GuardedText guard;
    std::mt19937 rng(99);
    std::atomic<int> verdict{1};
    loopback::UdpResponder responder([&](const Bytes& request) {
        Bytes reply(1 + rng() % 100);
        for (unsigned char& b : reply) b = static_cast<unsigned char>(rng());
        if (reply.size() >= 48 && rng() % 2) {
            reply[0] = static_cast<unsigned char>(0x24 ^ (rng() % 4 == 0 ? rng() % 256 : 0));
            reply[1] = static_cast<unsigned char>(rng() % 18);
            for (int at : {24, 32, 40}) std::copy(request.begin() + 40, request.end(), reply.begin() + at);
        }
        const unsigned char* guarded = guard.PutBytes(reply.data(), std::min<size_t>(reply.size(), 48));
        verdict = reply.size() < 48 ? 1 : static_cast<int>(CheckSntpReply(guarded, &request[40]));
        return reply;
    });
    const SntpStatus kStatusOf[] = {SntpStatus::kAnswer, SntpStatus::kInvalid, SntpStatus::kKissOfDeath};
    int answers = 0;
    for (int i = 0; i < 400; ++i) {
        SntpSample sample;
        sample.serverTime = C_Time(42);
        std::string address;
        const SntpStatus status = QueryTimeServer({"127.0.0.1", responder.Port()}, NULL, sample, address);
        EXPECT_EQ(static_cast<int>(status), static_cast<int>(kStatusOf[verdict])) << "round " << i;
        EXPECT_EQ(sample.serverTime != C_Time(42), status == SntpStatus::kAnswer) << "round " << i;
        answers += status == SntpStatus::kAnswer;
    }
    EXPECT_GT(answers, 10);
}

TEST(TcpClient, FollowsTheSteps) {
    loopback::UdpResponder echo([](const Bytes& request) { return request.size() > 1 ? request : Bytes(); });
    std::unique_ptr<Client> client;
    for (const data_table::Row& row : data_table::Read("net_tcp_client_steps.tsv")) {
        if (!client || row[0] != client->scenario) client = std::make_unique<Client>(), client->scenario = row[0];
        const int n = std::atoi(row[2].c_str()), size = static_cast<int>(row[2].size());
        std::string result = "-";
        char got[16] = {};
        if (row[1] == "connect") result = Connect(*client, row, echo.Port());
        else if (row[1] == "send") result = std::to_string(client->Send(row[2].data(), size));
        else if (row[1] == "receive") result = std::to_string(client->Receive(got, n));
        else if (row[1] == "wait") result = std::to_string(client->Wait(n));
        else if (row[1] == "take") result.assign(got, client->Take(got, n));
        else if (row[1] == "hold") client->m_count = n;
        else if (row[1] == "peer-send") result = std::to_string(send(g_peer.Get(), row[2].data(), size, 0));
        else if (row[1] == "peer-receive") result.assign(got, std::max(0, recv(g_peer.Get(), got, n, 0)));
        else if (row[1] == "peer-close") shutdown(g_peer.Get(), SD_SEND);  // the orderly close seen as FD_CLOSE
        else if (row[1] == "quit") PostQuitMessage(n);
        else if (MSG quit; PeekMessageA(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE)) result = std::to_string(quit.wParam);
        EXPECT_EQ(result + " | " + client->State(), row[3] + " | " + row[4]) << row[0] << ": " << row[1] << " " << n;
    }
}
