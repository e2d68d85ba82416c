#include "net/tcp_client.h"

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "net/loopback.h"

namespace {

using loopback::Bytes;

// A buffered client that keeps its diagnostic lines.
class LoggingClient : public C_BufferedTcpClient {
public:
    void Log(const char* format, ...) override {
        char line[256];
        va_list arguments;
        va_start(arguments, format);
        std::vsnprintf(line, sizeof(line), format, arguments);
        va_end(arguments);
        lines.push_back(line);
    }
    std::vector<std::string> lines;
};

Bytes Text(const char* text) { return Bytes(text, text + std::strlen(text)); }

}  // namespace

// ---- The stream client against a loopback server ----

TEST(StreamClient, DataEndsTheConnectWaitAndThePeersCloseClosesTheSocket) {
    loopback::TcpServer server({{false, Text("hallo")}, {true, {}}});
    ASSERT_TRUE(server.Ready());
    LoggingClient client;
    // No connect event is asked for: the connection counts as up when the first data come.
    ASSERT_TRUE(client.Connect("127.0.0.1", server.Port(), 3000, AF_INET, SOCK_STREAM));
    EXPECT_TRUE(client.m_connected);
    EXPECT_EQ(client.m_addr.sin_port, htons(server.Port()));
    EXPECT_EQ(client.m_addr.sin_addr.s_addr, htonl(INADDR_LOOPBACK));
    char got[16] = {};
    EXPECT_EQ(client.Take(got, sizeof(got)), 5u);
    EXPECT_STREQ(got, "hallo");

    server.Go();  // the server closes
    EXPECT_TRUE(loopback::PumpUntil([&] { return !client.m_socket.Valid(); }, 3000));
    EXPECT_EQ(client.lines, std::vector<std::string>{"C_TcpClient: FD_CLOSE received."});
    EXPECT_EQ(client.m_reconnectTimer, 0u);  // no reconnection while the interval is 0

    // Closed: all bytes count as sent, nothing is logged, nothing can be read.
    EXPECT_EQ(client.Send("abc", 3), 3u);
    char buffer[4];
    EXPECT_EQ(client.Receive(buffer, sizeof(buffer)), 0);
    EXPECT_EQ(client.lines.size(), 1u);
}

// With 1599 or more bytes held, further data are not read and do not end a wait.
TEST(StreamClient, FullBufferIgnoresFurtherData) {
    struct Case {
        unsigned int held;
        bool waitEnds;
        unsigned int countAfter;
    } cases[] = {
        {1598, true, 1600},  // room for two of the ten bytes
        {1599, false, 1599},
        {1600, false, 1600},
    };
    for (const Case& c : cases) {
        loopback::TcpServer server({{false, Bytes(1, 'x')}, {true, Bytes(10, 'y')}, {true, {}}});
        ASSERT_TRUE(server.Ready());
        LoggingClient client;
        ASSERT_TRUE(client.Connect("127.0.0.1", server.Port(), 3000, AF_INET, SOCK_STREAM)) << c.held;
        ASSERT_EQ(client.m_count, 1u);
        client.m_count = c.held;  // as if that much had come and not been taken
        server.Go();
        EXPECT_EQ(client.Wait(1000), c.waitEnds) << c.held;
        EXPECT_EQ(client.m_count, c.countAfter) << c.held;
        server.Go();
    }
}

TEST(StreamClient, SendsWhatItIsGiven) {
    loopback::TcpServer server({{false, Text("x")}, {true, {}}});
    ASSERT_TRUE(server.Ready());
    LoggingClient client;
    ASSERT_TRUE(client.Connect("127.0.0.1", server.Port(), 3000, AF_INET, SOCK_STREAM));
    EXPECT_EQ(client.Send("ping", 4), 4u);
    EXPECT_TRUE(client.lines.empty());
    server.Go();
}

// A port nobody listens on: bound, then closed again.
TEST(StreamClient, RefusedConnectFails) {
    loopback::SocketsScope sockets;
    unsigned short port = 0;
    loopback::BoundSocket(SOCK_STREAM, &port);  // closed at once: the port is free again
    ASSERT_NE(port, 0);
    struct Case {
        unsigned int timeout;
        std::vector<std::string> lines;
    } cases[] = {
        // Asynchronous: no connect event is asked for, so only the timeout ends it, silently.
        {500, {}},
        // Blocking: the refusal itself is reported.
        {0, {"C_TcpClient-WARN: Host 127.0.0.1:" + std::to_string(port) + " von Client nicht zu erreichen"}},
    };
    for (const Case& c : cases) {
        LoggingClient client;
        EXPECT_FALSE(client.Connect("127.0.0.1", port, c.timeout, AF_INET, SOCK_STREAM)) << c.timeout;
        EXPECT_FALSE(client.m_socket.Valid()) << c.timeout;
        EXPECT_EQ(client.lines, c.lines) << c.timeout;
    }
}

// ---- The datagram client ----

TEST(DatagramClient, ConnectsAtOnceAndReceivesNothingFromASilentPeer) {
    loopback::UdpResponder silent([](const Bytes&) { return Bytes(); });
    ASSERT_TRUE(silent.Ready());
    struct Case {
        const char* host;
    } cases[] = {{"127.0.0.1"}, {"localhost"}};  // a dotted address, a name: its first address
    for (const Case& c : cases) {
        LoggingClient client;
        ASSERT_TRUE(client.Connect(c.host, silent.Port(), 1000, AF_INET, SOCK_DGRAM)) << c.host;
        EXPECT_EQ(client.m_addr.sin_addr.s_addr, htonl(INADDR_LOOPBACK)) << c.host;
        EXPECT_EQ(client.m_type, SOCK_DGRAM);
        char buffer[8];
        EXPECT_EQ(client.Receive(buffer, sizeof(buffer)), 0) << c.host;  // non-blocking, nothing there
        EXPECT_TRUE(client.lines.empty()) << c.host;
    }
}

TEST(DatagramClient, WaitEndsWhenTheAnswerComes) {
    loopback::UdpResponder echo([](const Bytes& request) { return request; });
    ASSERT_TRUE(echo.Ready());
    LoggingClient client;
    ASSERT_TRUE(client.Connect("127.0.0.1", echo.Port(), 1000, AF_INET, SOCK_DGRAM));
    EXPECT_EQ(client.Send("frage", 5), 5u);
    EXPECT_TRUE(client.Wait(3000));
    char got[8] = {};
    EXPECT_EQ(client.Take(got, sizeof(got)), 5u);
    EXPECT_STREQ(got, "frage");
}

TEST(DatagramClient, WaitWithoutAnswerEndsFalse) {
    loopback::UdpResponder silent([](const Bytes&) { return Bytes(); });
    ASSERT_TRUE(silent.Ready());
    LoggingClient client;
    ASSERT_TRUE(client.Connect("127.0.0.1", silent.Port(), 1000, AF_INET, SOCK_DGRAM));
    EXPECT_FALSE(client.Wait(300));
    EXPECT_EQ(client.m_waitTimer, 0u);
}

TEST(DatagramClient, QuitDuringTheWaitIsQueuedAgain) {
    loopback::UdpResponder silent([](const Bytes&) { return Bytes(); });
    ASSERT_TRUE(silent.Ready());
    LoggingClient client;
    ASSERT_TRUE(client.Connect("127.0.0.1", silent.Port(), 1000, AF_INET, SOCK_DGRAM));
    PostQuitMessage(7);
    EXPECT_FALSE(client.Wait(3000));
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 7u);
}

// ---- Without a connection ----

TEST(UnconnectedClient, SendReceiveWaitAndTake) {
    LoggingClient client;
    EXPECT_EQ(client.Send("abcdef", 6), 6u);
    char buffer[4];
    EXPECT_EQ(client.Receive(buffer, sizeof(buffer)), 0);
    EXPECT_FALSE(client.Wait(100));  // no window: nothing could end it, so it does not start
    EXPECT_TRUE(client.lines.empty());
    EXPECT_EQ(client.m_socket.Get(), INVALID_SOCKET);
    EXPECT_EQ(client.m_timeout, 4000u);
}

TEST(BufferedClient, TakeMovesTheRestToTheFront) {
    struct Case {
        const char* held;
        unsigned int maximum, taken;
        const char* rest;
    } cases[] = {
        {"abcdef", 4, 4, "ef"},
        {"abcdef", 6, 6, ""},
        {"abcdef", 10, 6, ""},
        {"abcdef", 0, 0, "abcdef"},
        {"", 4, 0, ""},
    };
    for (const Case& c : cases) {
        C_BufferedTcpClient client;
        client.m_count = static_cast<unsigned int>(std::strlen(c.held));
        std::memcpy(client.m_buffer, c.held, client.m_count);
        char out[16] = {};
        EXPECT_EQ(client.Take(out, c.maximum), c.taken) << c.held << " " << c.maximum;
        EXPECT_EQ(std::string(out, c.taken), std::string(c.held, c.taken));
        EXPECT_EQ(std::string(reinterpret_cast<char*>(client.m_buffer), client.m_count), c.rest);
    }
}
