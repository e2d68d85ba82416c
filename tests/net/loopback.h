// Loopback peers for the network tests: a UDP responder and a TCP server, each serving
// from a thread of the test program on 127.0.0.1 and an ephemeral port.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "net/handles.h"

namespace loopback {

using Bytes = std::vector<unsigned char>;

// Keeps the sockets library started while a peer lives.
class SocketsScope {
public:
    SocketsScope() {
        WSADATA data;
        m_started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }
    ~SocketsScope() {
        if (m_started) WSACleanup();
    }
    SocketsScope(const SocketsScope&) = delete;
    SocketsScope& operator=(const SocketsScope&) = delete;
    bool Started() const { return m_started; }

private:
    bool m_started = false;
};

inline quendel::UniqueSocket BoundSocket(int type, unsigned short* port) {
    quendel::UniqueSocket s(socket(AF_INET, type, 0));
    if (!s.Valid()) return s;
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof(address);
    if (bind(s.Get(), reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        getsockname(s.Get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        s.Reset();
        return s;
    }
    *port = ntohs(address.sin_port);
    return s;
}

// True when the socket has something to read within the milliseconds.
inline bool Readable(SOCKET s, long milliseconds) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval wait = {milliseconds / 1000, (milliseconds % 1000) * 1000};
    return select(0, &set, NULL, NULL, &wait) == 1;
}

// Answers each datagram with what answer returns for it; an empty answer stays silent.
class UdpResponder {
public:
    using Answer = std::function<Bytes(const Bytes& request)>;
    explicit UdpResponder(Answer answer) : m_answer(std::move(answer)) {
        m_socket = BoundSocket(SOCK_DGRAM, &m_port);
        if (m_socket.Valid()) m_thread = std::thread([this] { Serve(); });
    }
    ~UdpResponder() {
        m_stop = true;
        if (m_thread.joinable()) m_thread.join();
    }
    UdpResponder(const UdpResponder&) = delete;
    UdpResponder& operator=(const UdpResponder&) = delete;

    bool Ready() const { return m_socket.Valid(); }
    unsigned short Port() const { return m_port; }
    int Requests() const { return m_requests; }

private:
    void Serve() {
        while (!m_stop) {
            if (!Readable(m_socket.Get(), 20)) continue;
            char buffer[512];
            sockaddr_in from = {};
            int fromLength = sizeof(from);
            const int got = recvfrom(m_socket.Get(), buffer, sizeof(buffer), 0, reinterpret_cast<sockaddr*>(&from),
                                     &fromLength);
            if (got <= 0) continue;
            ++m_requests;
            const Bytes reply = m_answer(Bytes(buffer, buffer + got));
            if (!reply.empty())
                sendto(m_socket.Get(), reinterpret_cast<const char*>(reply.data()), static_cast<int>(reply.size()), 0,
                       reinterpret_cast<sockaddr*>(&from), fromLength);
        }
    }

    SocketsScope m_sockets;
    Answer m_answer;
    quendel::UniqueSocket m_socket;
    unsigned short m_port = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_requests{0};
    std::thread m_thread;
};

// Accepts one connection and plays a script on it: each step sends its bytes, after
// waiting for Go() if it asks to; when the script ends the server closes the connection.
class TcpServer {
public:
    struct Step {
        bool waitForGo;
        Bytes data;
    };
    explicit TcpServer(std::vector<Step> script) : m_script(std::move(script)) {
        m_listener = BoundSocket(SOCK_STREAM, &m_port);
        if (m_listener.Valid() && listen(m_listener.Get(), 1) == 0) m_thread = std::thread([this] { Serve(); });
    }
    ~TcpServer() {
        m_stop = true;
        if (m_thread.joinable()) m_thread.join();
    }
    TcpServer(const TcpServer&) = delete;
    TcpServer& operator=(const TcpServer&) = delete;

    bool Ready() const { return m_thread.joinable(); }
    unsigned short Port() const { return m_port; }
    void Go() { ++m_go; }

private:
    void Serve() {
        while (!m_stop && !Readable(m_listener.Get(), 20)) {
        }
        if (m_stop) return;
        quendel::UniqueSocket peer(accept(m_listener.Get(), NULL, NULL));
        if (!peer.Valid()) return;
        int used = 0;
        for (const Step& step : m_script) {
            if (step.waitForGo) {
                while (!m_stop && m_go <= used) Sleep(5);
                if (m_stop) return;
                ++used;
            }
            if (!step.data.empty())
                send(peer.Get(), reinterpret_cast<const char*>(step.data.data()), static_cast<int>(step.data.size()), 0);
        }
        shutdown(peer.Get(), SD_SEND);  // the orderly close the client sees as FD_CLOSE
        while (!m_stop) Sleep(5);       // the socket is closed when the server goes
    }

    SocketsScope m_sockets;
    std::vector<Step> m_script;
    quendel::UniqueSocket m_listener;
    unsigned short m_port = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_go{0};
    std::thread m_thread;
};

// Dispatches the thread's messages until done() holds or the milliseconds have passed.
inline bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > milliseconds) return false;
        MSG message;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(5);
    }
    return true;
}

}  // namespace loopback
