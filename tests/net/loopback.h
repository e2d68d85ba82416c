// Loopback peers for the network tests: sockets on 127.0.0.1 and an ephemeral port, and a UDP responder.
#pragma once

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "net/tcp_client.h"

namespace loopback {

using Bytes = std::vector<unsigned char>;

inline quendel::UniqueSocket BoundSocket(int type, unsigned short* port) {
    StartupSockets();
    quendel::UniqueSocket s(socket(AF_INET, type, 0));
    sockaddr_in address = {};
    address.sin_family = AF_INET, address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof(address);
    if (bind(s.Get(), reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        getsockname(s.Get(), reinterpret_cast<sockaddr*>(&address), &length) != 0)
        s.Reset();
    *port = ntohs(address.sin_port);
    return s;
}

class UdpResponder {  // answers each datagram with what answer returns for it; an empty answer stays silent
public:
    explicit UdpResponder(std::function<Bytes(const Bytes& request)> answer)
        : m_answer(std::move(answer)), m_socket(BoundSocket(SOCK_DGRAM, &m_port)), m_thread([this] { Serve(); }) {}
    ~UdpResponder() { m_stop = true, m_thread.join(); }
    bool Ready() const { return m_socket.Valid(); }
    unsigned short Port() const { return m_port; }
    int Requests() const { return m_requests; }

private:
    void Serve() {
        for (char in[512]; !m_stop;) {
            fd_set readable = {1, {m_socket.Get()}};
            timeval wait = {0, 20000};  // how soon a stop is seen
            sockaddr_in from = {};
            int length = sizeof(from);
            if (select(0, &readable, NULL, NULL, &wait) != 1) continue;
            const int got = recvfrom(m_socket.Get(), in, sizeof in, 0, reinterpret_cast<sockaddr*>(&from), &length);
            const Bytes reply = got > 0 ? (++m_requests, m_answer(Bytes(in, in + got))) : Bytes();
            if (!reply.empty())
                sendto(m_socket.Get(), reinterpret_cast<const char*>(reply.data()), static_cast<int>(reply.size()), 0,
                       reinterpret_cast<sockaddr*>(&from), length);
        }
    }

    std::function<Bytes(const Bytes& request)> m_answer;
    unsigned short m_port = 0;
    quendel::UniqueSocket m_socket;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_requests{0};
    std::thread m_thread;  // last: it serves once everything else is in place
};

}  // namespace loopback
