// Owners of the Win32 handles the window toolkit makes: each deletes copying, may move, and
// releases its handle exactly once. A handle the toolkit only borrows (a paint DC, a stock
// font, a shared cursor) is kept as a plain handle and marked so where it is stored.
#pragma once

#include <windows.h>

namespace quendel_toolkit {

// Live handles held by owners in this process. Wine reports no GDI or USER object counts, so
// the leak tests count what the toolkit itself holds.
long LiveOwnedHandles();
void CountOwnedHandle(long delta);

// Owner<Traits>: Traits gives the handle type, its null value and its release.
template <class Traits>
class Owner {
public:
    using Handle = typename Traits::Handle;

    Owner() = default;
    explicit Owner(Handle handle) { Reset(handle); }
    ~Owner() { Reset(); }
    Owner(const Owner&) = delete;
    Owner& operator=(const Owner&) = delete;
    Owner(Owner&& other) noexcept : m_handle(other.m_handle) { other.m_handle = Handle(); }
    Owner& operator=(Owner&& other) noexcept {
        if (this != &other) {
            Reset();
            m_handle = other.m_handle;
            other.m_handle = Handle();
        }
        return *this;
    }

    Handle Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != Handle(); }

    // Releases the held handle, then holds the new one (null: holds nothing).
    void Reset(Handle handle = Handle()) {
        // Let go first: closing a window re-enters its owner (WM_NCDESTROY releases it).
        Handle previous = m_handle;
        m_handle = Handle();
        if (previous != Handle()) {
            CountOwnedHandle(-1);
            Traits::Close(previous);
        }
        m_handle = handle;
        if (m_handle != Handle()) CountOwnedHandle(+1);
    }
    // Gives the handle up without releasing it (its platform owner already has).
    Handle Release() {
        Handle handle = m_handle;
        if (m_handle != Handle()) CountOwnedHandle(-1);
        m_handle = Handle();
        return handle;
    }

private:
    Handle m_handle = Handle();
};

struct FontTraits {
    using Handle = HFONT;
    static void Close(HFONT font) { DeleteObject(font); }  // a stock font ignores it
};
struct WindowTraits {
    using Handle = HWND;
    // The window may already be gone with its parent or owner.
    static void Close(HWND window) {
        if (IsWindow(window)) DestroyWindow(window);
    }
};
struct KeyTraits {
    using Handle = HKEY;
    static void Close(HKEY key) { RegCloseKey(key); }
};

struct BitmapTraits {
    using Handle = HBITMAP;
    static void Close(HBITMAP bitmap) { DeleteObject(bitmap); }
};
struct CursorTraits {
    using Handle = HCURSOR;
    static void Close(HCURSOR cursor) { DestroyCursor(cursor); }  // not for shared cursors
};

using FontHandle = Owner<FontTraits>;
using BitmapHandle = Owner<BitmapTraits>;
using CursorHandle = Owner<CursorTraits>;
using WindowHandle = Owner<WindowTraits>;
using KeyHandle = Owner<KeyTraits>;

// Selects a GDI object into a borrowed DC for one scope and puts the previous one back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(object ? SelectObject(dc, object) : NULL) {}
    ~SelectedObject() {
        if (m_previous && m_previous != HGDI_ERROR) SelectObject(m_dc, m_previous);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC m_dc;  // borrowed
    HGDIOBJ m_previous;  // borrowed: the DC's own object
};

// BeginPaint/EndPaint for one scope.
class PaintScope {
public:
    explicit PaintScope(HWND window) : m_window(window), m_dc(BeginPaint(window, &m_paint)) {}
    ~PaintScope() {
        if (m_dc) EndPaint(m_window, &m_paint);
    }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC Dc() const { return m_dc; }  // borrowed until the scope ends

private:
    HWND m_window;
    PAINTSTRUCT m_paint = {};
    HDC m_dc;
};

}  // namespace quendel_toolkit
