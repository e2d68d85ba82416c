// One question to one time server over UDP, and the plan of attempts around it.
#include <ws2tcpip.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "net/handles.h"
#include "net/sntp.h"

namespace quendel {

namespace {

// Windows Sockets 2.2 (name resolution for IPv6 needs it), started once per process.
bool StartSockets22() {
    static const bool started = [] {
        WSADATA data;
        if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return false;
        std::atexit([] { WSACleanup(); });
        return true;
    }();
    return started;
}

struct AddressListDeleter {
    void operator()(addrinfo* list) const { freeaddrinfo(list); }
};

// True when the cancel event is set (a NULL event never is).
bool Cancelled(HANDLE cancel) { return cancel != NULL && WaitForSingleObject(cancel, 0) == WAIT_OBJECT_0; }

// One address: the request out, then datagrams until a verdict or the end of the wait.
SntpStatus AskAddress(const addrinfo& address, HANDLE cancel, SntpSample& sample) {
    UniqueSocket s(socket(address.ai_family, SOCK_DGRAM, IPPROTO_UDP));
    UniqueEvent readable(WSACreateEvent());
    // Connected, so that only datagrams of this peer arrive and an ICMP refusal is reported.
    if (!s.Valid() || !readable.Valid() || connect(s.Get(), address.ai_addr, static_cast<int>(address.ai_addrlen)) != 0 ||
        WSAEventSelect(s.Get(), readable.Get(), FD_READ) != 0)
        return SntpStatus::kNoAnswer;
    const C_Time t1("Now");
    unsigned char request[kNtpPacketSize];
    BuildSntpRequest(t1, request);
    if (send(s.Get(), reinterpret_cast<const char*>(request), kNtpPacketSize, 0) != static_cast<int>(kNtpPacketSize))
        return SntpStatus::kNoAnswer;
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD spent = GetTickCount() - start;  // wraps harmlessly: unsigned
        if (spent >= kReplyWaitMs) return SntpStatus::kNoAnswer;
        const HANDLE events[2] = {readable.Get(), cancel};  // borrowed
        const DWORD signalled = WaitForMultipleObjects(cancel != NULL ? 2 : 1, events, FALSE, kReplyWaitMs - spent);
        if (signalled == WAIT_OBJECT_0 + 1) return SntpStatus::kCancelled;
        if (signalled != WAIT_OBJECT_0) return SntpStatus::kNoAnswer;
        WSANETWORKEVENTS happened = {};
        WSAEnumNetworkEvents(s.Get(), readable.Get(), &happened);
        unsigned char reply[kNtpPacketSize + 1];
        const int got = recv(s.Get(), reinterpret_cast<char*>(reply), sizeof reply, 0);
        if (got == SOCKET_ERROR) {
            const int error = WSAGetLastError();
            if (error == WSAEWOULDBLOCK) continue;
            // A datagram longer than ours: its first 48 bytes are the reply.
            if (error != WSAEMSGSIZE) return SntpStatus::kNoAnswer;  // refused: nobody listens
        } else if (got < static_cast<int>(kNtpPacketSize)) {
            return SntpStatus::kInvalid;
        }
        const C_Time t4("Now");
        switch (EvaluateSntpReply(reply, request + 40, t1, t4, kReplyWaitMs, sample)) {
        case SntpReply::kAccepted:
            return SntpStatus::kAnswer;
        case SntpReply::kKissOfDeath:
            return SntpStatus::kKissOfDeath;
        case SntpReply::kRejected:
            return SntpStatus::kInvalid;
        }
    }
}

std::string NumericAddress(const addrinfo& a) {
    char text[NI_MAXHOST] = "";
    getnameinfo(a.ai_addr, static_cast<int>(a.ai_addrlen), text, sizeof text, NULL, 0, NI_NUMERICHOST);
    return text;
}

}  // namespace

SntpStatus QueryTimeServer(const TimeServer& server, HANDLE cancel, SntpSample& sample, std::string& address,
                           const std::vector<std::string>* refused) {
    if (!StartSockets22()) return SntpStatus::kNoAnswer;
    addrinfo hints = {};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_DGRAM;
    hints.ai_protocol = IPPROTO_UDP;
    addrinfo* found = nullptr;
    const std::string port = std::to_string(server.port);
    if (getaddrinfo(server.host.c_str(), port.c_str(), &hints, &found) != 0 || found == nullptr)
        return SntpStatus::kUnresolvable;
    const std::unique_ptr<addrinfo, AddressListDeleter> addresses(found);
    SntpStatus status = SntpStatus::kNoAnswer;
    bool asked = false;
    std::string passedOver;
    for (const addrinfo* a = found; a != nullptr; a = a->ai_next) {
        if (Cancelled(cancel)) return SntpStatus::kCancelled;
        const std::string numeric = NumericAddress(*a);
        if (refused && std::find(refused->begin(), refused->end(), numeric) != refused->end()) {
            passedOver = numeric;  // RFC 4330: no more requests to a server that said so
            continue;
        }
        asked = true;
        const SntpStatus here = AskAddress(*a, cancel, sample);
        if (here == SntpStatus::kAnswer || here == SntpStatus::kKissOfDeath) address = numeric;
        if (here == SntpStatus::kAnswer) return here;
        if (here == SntpStatus::kCancelled || here == SntpStatus::kKissOfDeath) return here;
        // What the addresses said, the most telling kept: a wrong answer over none.
        if (here == SntpStatus::kInvalid) status = here;
    }
    if (!asked && !passedOver.empty()) {
        address = passedOver;
        return SntpStatus::kKissOfDeath;
    }
    return status;
}

SyncAttempts::SyncAttempts(std::vector<TimeServer> servers, int attempts)
    : m_servers(servers.empty() ? DefaultTimeServers() : std::move(servers)),
      m_refused(m_servers.size(), false),
      m_left(attempts),
      m_lastServer(m_servers.front()) {}

bool SyncAttempts::Record(SntpStatus status, const std::string& address) {
    ++m_made;
    --m_left;
    m_last = status;
    m_lastServer = m_servers[m_next];
    if (status == SntpStatus::kAnswer || status == SntpStatus::kCancelled) return false;
    if (status == SntpStatus::kKissOfDeath) {
        m_refused[m_next] = true;
        if (!address.empty() &&
            std::find(m_refusedAddresses.begin(), m_refusedAddresses.end(), address) == m_refusedAddresses.end())
            m_refusedAddresses.push_back(address);
    }
    // The next server that has not refused, in the list's order.
    for (std::size_t step = 1; step <= m_servers.size(); ++step) {
        const std::size_t candidate = (m_next + step) % m_servers.size();
        if (!m_refused[candidate]) {
            m_next = candidate;
            return m_left > 0;
        }
    }
    return false;  // every server has refused
}

}  // namespace quendel
