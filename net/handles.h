// Small owners for the network client's handles: each closes what it holds, cannot be
// copied (two owners would close twice) and may be moved.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <utility>

namespace quendel {

template <typename Handle, typename Traits>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : m_handle(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    Handle Get() const { return m_handle; }  // borrowed: the owner keeps it
    bool Valid() const { return m_handle != Traits::Invalid(); }
    Handle Release() { return std::exchange(m_handle, Traits::Invalid()); }
    void Reset(Handle handle = Traits::Invalid()) {
        const Handle old = std::exchange(m_handle, handle);
        if (old != Traits::Invalid()) Traits::Close(old);
    }

private:
    Handle m_handle = Traits::Invalid();
};

struct EventTraits {
    static HANDLE Invalid() { return NULL; }
    static void Close(HANDLE handle) { CloseHandle(handle); }
};
struct WindowTraits {
    static HWND Invalid() { return NULL; }
    static void Close(HWND window) { DestroyWindow(window); }
};
struct SocketTraits {
    static SOCKET Invalid() { return INVALID_SOCKET; }
    static void Close(SOCKET socket) { closesocket(socket); }
};

using UniqueEvent = UniqueHandle<HANDLE, EventTraits>;
using UniqueWindow = UniqueHandle<HWND, WindowTraits>;
using UniqueSocket = UniqueHandle<SOCKET, SocketTraits>;

}  // namespace quendel
