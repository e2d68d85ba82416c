#include "net/tcp_client.h"

#include <cstdlib>
#include <cstring>

// The linker's symbol for the base of the module this client is linked into, which owns
// the notification window's class.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

const char kWindowClass[] = "TcpCliClass";
bool g_classRegistered = false;
// Its version field is non-zero once the sockets library has been started.
WSADATA g_wsaData = {};

void CleanupSockets() { WSACleanup(); }

}  // namespace

int StartupSockets() {
    if (g_wsaData.wVersion != 0) return 0;
    const int error = WSAStartup(kSocketsVersion, &g_wsaData);
    if (error != 0) {
        g_wsaData.wVersion = 0;  // not started: the next client tries again
        return error;
    }
    std::atexit(CleanupSockets);
    return 0;
}

C_TcpClient::C_TcpClient()
    : m_hReadyEvent(CreateEventA(NULL, TRUE, FALSE, NULL)), m_hTimeoutEvent(CreateEventA(NULL, TRUE, FALSE, NULL)) {}

C_TcpClient::~C_TcpClient() {
    CloseSocket();  // this class's own: a subclass's Close must not run on a half-destroyed object
    if (m_hNotifyWnd.Valid()) {
        if (m_waitTimer != 0) KillTimer(m_hNotifyWnd.Get(), m_waitTimer);
        // Messages still queued for the window must not find a destroyed object.
        SetWindowLongPtrA(m_hNotifyWnd.Get(), GWLP_USERDATA, 0);
        m_hNotifyWnd.Reset();
    }
}

bool C_TcpClient::CreateNotifyWindow() {
    m_connected = false;
    if (!g_classRegistered) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = NotifyWndProc;
        windowClass.hInstance = reinterpret_cast<HINSTANCE>(&__ImageBase);
        windowClass.lpszClassName = kWindowClass;
        if (!RegisterClassA(&windowClass)) return false;
        g_classRegistered = true;
    }
    // Started apart from the class, so that a failed start-up is tried again by the next client.
    if (StartupSockets() != 0) return false;
    if (m_hNotifyWnd.Valid()) return true;
    m_hNotifyWnd.Reset(CreateWindowExA(0, kWindowClass, "", 0, CW_USEDEFAULT, 0, CW_USEDEFAULT, 0, NULL, NULL,
                                       reinterpret_cast<HINSTANCE>(&__ImageBase), NULL));
    if (!m_hNotifyWnd.Valid()) return false;
    SetWindowLongPtrA(m_hNotifyWnd.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return true;
}

bool C_TcpClient::Connect(const char* host, unsigned short port, unsigned int timeout, unsigned short family,
                          int type) {
    // Without the window no network event and no timer reaches the client: a wait could
    // never end, so the connect fails at once.
    if (!CreateNotifyWindow() || !m_hReadyEvent.Valid() || !m_hTimeoutEvent.Valid() || host == NULL) return false;
    m_timeout = timeout;
    in_addr address = {};
    address.s_addr = inet_addr(host);
    if (address.s_addr == INADDR_NONE) {
        const hostent* entry = gethostbyname(host);
        if (entry == NULL || entry->h_addr_list == NULL || entry->h_addr_list[0] == NULL ||
            entry->h_length != static_cast<int>(sizeof(address)))
            return false;
        std::memcpy(&address, entry->h_addr_list[0], sizeof(address));
    }
    m_type = type;
    m_addr = {};
    m_addr.sin_family = family;
    m_addr.sin_port = htons(port);
    m_addr.sin_addr = address;
    return DoConnect();
}

bool C_TcpClient::DoConnect() {
    Close();
    m_socket.Reset(socket(m_addr.sin_family, m_type, 0));
    if (!m_socket.Valid()) return false;
    const int noDelay = 1;  // requests go out at once; fails harmlessly on datagram sockets
    setsockopt(m_socket.Get(), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay), sizeof(noDelay));
    const sockaddr* peer = reinterpret_cast<const sockaddr*>(&m_addr);
    if (m_timeout != 0) {
        if (WSAAsyncSelect(m_socket.Get(), m_hNotifyWnd.Get(), WM_SOCKET_NOTIFY, kSocketEventMask) != 0)
            Log("C_TcpClient-ERROR: AsyncSelect f\xFCr Client failed.");
        if (connect(m_socket.Get(), peer, sizeof(m_addr)) == 0) {
            OnConnect();
            return true;
        }
        if (WSAGetLastError() == WSAEWOULDBLOCK) {
            Wait(m_timeout);
            if (!m_connected) {
                m_socket.Reset();
                return false;
            }
            OnConnect();
            return m_socket.Valid();
        }
        m_socket.Reset();
        Log("C_TcpClient-WARN: Host %s:%d von Client nicht zu erreichen", inet_ntoa(m_addr.sin_addr),
            static_cast<int>(ntohs(m_addr.sin_port)));
        return false;
    }
    if (connect(m_socket.Get(), peer, sizeof(m_addr)) != 0) {
        m_socket.Reset();
        Log("C_TcpClient-WARN: Host %s:%d von Client nicht zu erreichen", inet_ntoa(m_addr.sin_addr),
            static_cast<int>(ntohs(m_addr.sin_port)));
        return false;
    }
    OnConnect();
    if (WSAAsyncSelect(m_socket.Get(), m_hNotifyWnd.Get(), WM_SOCKET_NOTIFY, kSocketEventMask) != 0)
        Log("C_TcpClient-ERROR: AsyncSelect f\xFCr Client failed.");
    return true;
}

bool C_TcpClient::Wait(unsigned int timeout) {
    // Without the window or a timer nothing could end the wait.
    if (!m_hNotifyWnd.Valid() || !m_hReadyEvent.Valid() || !m_hTimeoutEvent.Valid()) return false;
    ResetEvent(m_hReadyEvent.Get());
    ResetEvent(m_hTimeoutEvent.Get());
    m_waitTimer = SetTimer(m_hNotifyWnd.Get(), TIMER_WAIT, timeout, NULL);
    if (m_waitTimer == 0) return false;
    const HANDLE events[2] = {m_hReadyEvent.Get(), m_hTimeoutEvent.Get()};  // borrowed
    bool result = false;
    for (;;) {
        // Wakes for a message as well, so a reply is dispatched (and timed) on arrival
        // rather than up to 5 ms later.
        const DWORD signalled = MsgWaitForMultipleObjectsEx(2, events, 5, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (signalled == WAIT_OBJECT_0) {
            result = true;
            break;
        }
        if (signalled == WAIT_OBJECT_0 + 1 || signalled == WAIT_FAILED) break;
        MSG message;
        if (!PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) continue;
        if (message.message == WM_QUIT) {
            // The caller's message loop must still see it.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    StopWaitTimer();
    return result;
}

void C_TcpClient::StopWaitTimer() {
    if (m_waitTimer == 0) return;
    KillTimer(m_hNotifyWnd.Get(), m_waitTimer);
    m_waitTimer = 0;
}

LRESULT CALLBACK C_TcpClient::NotifyWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    C_TcpClient* client = reinterpret_cast<C_TcpClient*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_TIMER) {
        if (client != NULL) client->HandleTimer(static_cast<UINT_PTR>(wParam));
        return DefWindowProcA(window, message, wParam, lParam);
    }
    if (message == WM_SOCKET_NOTIFY) {
        if (client == NULL) return 0;
        // A connect that failed (refused, unreachable) ends the wait as the timeout would.
        if (WSAGETSELECTEVENT(lParam) == FD_CONNECT && WSAGETSELECTERROR(lParam) != 0) {
            SetEvent(client->m_hTimeoutEvent.Get());  // the wait stops its own timer
            return 0;
        }
        client->OnSocketEvent(window, WSAGETSELECTEVENT(lParam), static_cast<SOCKET>(wParam));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void C_TcpClient::HandleTimer(UINT_PTR id) {
    if (m_reconnectTimer != 0 && id == m_reconnectTimer) {
        if (m_reconnectInterval == 0) return;
        if (DoConnect()) {
            KillTimer(m_hNotifyWnd.Get(), m_reconnectTimer);
            m_reconnectTimer = 0;
            OnReconnect();
        } else {
            ArmReconnect();
        }
    } else if (m_waitTimer != 0 && id == m_waitTimer) {
        StopWaitTimer();
        SetEvent(m_hTimeoutEvent.Get());
    }
}

void C_TcpClient::ArmReconnect() {
    if (m_hNotifyWnd.Valid() && m_reconnectInterval != 0)
        m_reconnectTimer = SetTimer(m_hNotifyWnd.Get(), TIMER_RECONNECT, m_reconnectInterval, NULL);
}

void C_TcpClient::OnSocketEvent(HWND, int event, SOCKET) {
    switch (event) {
    case FD_READ:
        if (!m_connected) {
            StopWaitTimer();
            SetEvent(m_hReadyEvent.Get());
        }
        m_connected = true;
        OnReceive();
        break;
    case FD_CONNECT:
        m_connected = true;
        StopWaitTimer();
        SetEvent(m_hReadyEvent.Get());
        break;
    case FD_CLOSE:
        Close();
        ArmReconnect();
        Log("C_TcpClient: FD_CLOSE received.");
        break;
    default:
        break;
    }
}

void C_TcpClient::OnReceive() {
    StopWaitTimer();
    SetEvent(m_hReadyEvent.Get());
}

void C_TcpClient::CloseSocket() {
    m_socket.Reset();
    if (m_reconnectTimer != 0) {
        KillTimer(m_hNotifyWnd.Get(), m_reconnectTimer);
        m_reconnectTimer = 0;
    }
}

void C_TcpClient::Close() { CloseSocket(); }

int C_TcpClient::Receive(void* buffer, unsigned int length) {
    if (!m_socket.Valid()) return 0;
    const int received = recv(m_socket.Get(), static_cast<char*>(buffer), static_cast<int>(length), 0);
    return received < 0 ? 0 : received;
}

unsigned int C_TcpClient::Send(const void* data, unsigned int length) {
    if (!m_socket.Valid()) return length;
    const int sent = send(m_socket.Get(), static_cast<const char*>(data), static_cast<int>(length), 0);
    if (sent < 0) {
        Log("C_TcpClient-ERROR: send failed");
        return length;
    }
    if (static_cast<unsigned int>(sent) < length) {
        Log("C_TcpClient-ERROR: nur %d von %d Bytes gesendet", sent, static_cast<int>(length));
        return static_cast<unsigned int>(sent);
    }
    return static_cast<unsigned int>(sent);
}

bool C_BufferedTcpClient::DoConnect() {
    m_count = 0;
    return C_TcpClient::DoConnect();
}

void C_BufferedTcpClient::OnReceive() {
    if (m_count >= kFullMark) return;
    do {
        const int received = Receive(m_buffer + m_count, kBufferSize - m_count);
        if (received <= 0) break;
        m_count += static_cast<unsigned int>(received);
    } while (m_count < kBufferSize);
    StopWaitTimer();
    SetEvent(m_hReadyEvent.Get());
}

unsigned int C_BufferedTcpClient::Take(void* destination, unsigned int maximum) {
    const unsigned int taken = maximum < m_count ? maximum : m_count;
    if (taken == 0) return 0;
    std::memcpy(destination, m_buffer, taken);
    std::memmove(m_buffer, m_buffer + taken, m_count - taken);
    m_count -= taken;
    return taken;
}
