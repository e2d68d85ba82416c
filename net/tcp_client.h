// C_TcpClient: a socket client for a single-threaded window program. It connects one
// socket (stream or datagram) and receives that socket's network events as window
// messages on a hidden window of its own, so a caller can wait for an answer while the
// thread's messages keep flowing. C_BufferedTcpClient collects arriving data in a fixed
// buffer and ends the wait as soon as data has come.
//
//   C_BufferedTcpClient client;
//   if (client.Connect("127.0.0.1", 123, 1000, AF_INET, SOCK_DGRAM)) {
//       client.Send(request, 48);
//       client.Wait(3000);                 // the dialog keeps ticking meanwhile
//       unsigned got = client.Take(reply, 48);
//   }
#pragma once

#include <winsock2.h>
#include <windows.h>

#include "net/handles.h"

// The socket's network events arrive on the hidden window as this message.
constexpr UINT WM_SOCKET_NOTIFY = WM_USER + 200;  // 1224
constexpr UINT_PTR TIMER_RECONNECT = 333;
constexpr UINT_PTR TIMER_WAIT = 334;
// FD_CONNECT ends an asynchronous connect's wait even when the server does not speak first.
constexpr long kSocketEventMask = FD_READ | FD_CONNECT | FD_CLOSE;  // 0x31
constexpr WORD kSocketsVersion = 0x0101;                // Windows Sockets 1.1

class C_TcpClient {
public:
    C_TcpClient();
    // Virtual, as for any class with virtual operations: a subclass deleted through a base
    // pointer still releases its own members.
    virtual ~C_TcpClient();
    C_TcpClient(const C_TcpClient&) = delete;
    C_TcpClient& operator=(const C_TcpClient&) = delete;

    // Resolves host (dotted IPv4 or a name: the first address) and connects a socket of
    // the given family and type; timeout 0 selects the blocking connect.
    bool Connect(const char* host, unsigned short port, unsigned int timeout, unsigned short family, int type);
    // Bytes reported sent; all of them when the socket is closed or on error.
    unsigned int Send(const void* data, unsigned int length);
    // Bytes received; 0 when nothing is there or on error.
    int Receive(void* buffer, unsigned int length);
    // Waits at most timeout ms while dispatching the thread's messages; true when data (or
    // the connection) ended the wait.
    bool Wait(unsigned int timeout);

    virtual bool DoConnect();
    virtual void OnReceive();
    virtual void OnConnect() {}
    virtual void OnReconnect() {}
    virtual void Close();
    virtual void Log(const char* format, ...) { (void)format; }
    virtual void OnSocketEvent(HWND window, int event, SOCKET socket);

    quendel::UniqueEvent m_hReadyEvent;    // ends Wait with success
    quendel::UniqueEvent m_hTimeoutEvent;  // ends Wait with failure
    quendel::UniqueWindow m_hNotifyWnd;    // hidden; receives WM_SOCKET_NOTIFY and timers
    unsigned int m_reconnectInterval = 0;  // 0: the peer's close is final
    UINT_PTR m_reconnectTimer = 0;
    unsigned int m_timeout = 4000;
    bool m_connected = false;
    UINT_PTR m_waitTimer = 0;
    quendel::UniqueSocket m_socket;
    int m_type = 0;
    sockaddr_in m_addr = {};

protected:
    void StopWaitTimer();
    void CloseSocket();  // the non-virtual part of Close, for the destructor

private:
    bool CreateNotifyWindow();
    void ArmReconnect();
    void HandleTimer(UINT_PTR id);
    static LRESULT CALLBACK NotifyWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

class C_BufferedTcpClient : public C_TcpClient {
public:
    static constexpr unsigned int kBufferSize = 1600;
    // With this many bytes held, further data are left in the socket and do not end a wait.
    static constexpr unsigned int kFullMark = 1599;

    bool DoConnect() override;
    void OnReceive() override;
    // Moves up to maximum held bytes to destination; returns how many.
    unsigned int Take(void* destination, unsigned int maximum);

    unsigned char m_buffer[kBufferSize] = {};
    unsigned int m_count = 0;
};

// Starts Windows Sockets 1.1 once per process (cleaned up at exit); 0 or the error code.
int StartupSockets();
