#include "app/framework/dpi.h"

#include <vector>

namespace {

// The per-monitor functions of Windows 10 (1607), loaded where they exist.
template <typename Function>
Function User32(const char* name) {
    const HMODULE user = GetModuleHandleA("user32.dll");  // borrowed: loaded with the program
    return user ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(user, name))) : nullptr;
}

}  // namespace

UINT WindowDpi(HWND window) {
    static const auto forWindow = User32<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    if (forWindow && window) {
        if (const UINT dpi = forWindow(window)) return dpi;
    }
    const HDC screen = GetDC(NULL);  // borrowed until ReleaseDC
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ReleaseDC(NULL, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

bool SystemScalesDialogs() {
    static const auto threadContext = User32<HANDLE(WINAPI*)()>("GetThreadDpiAwarenessContext");
    static const auto equal = User32<BOOL(WINAPI*)(HANDLE, HANDLE)>("AreDpiAwarenessContextsEqual");
    const HANDLE perMonitorV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
    return threadContext && equal && equal(threadContext(), perMonitorV2);
}

void RelayoutForDpi(HWND dialog, UINT from, UINT to, HFONT font, const RECT& suggested) {
    if (from == 0 || to == 0) return;
    const HFONT oldFont = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    for (HWND child : children) {
        RECT place;
        if (!GetWindowRect(child, &place)) continue;
        MapWindowPoints(NULL, dialog, reinterpret_cast<POINT*>(&place), 2);
        const auto scale = [&](LONG value) { return MulDiv(value, static_cast<int>(to), static_cast<int>(from)); };
        MoveWindow(child, scale(place.left), scale(place.top), scale(place.right) - scale(place.left),
                   scale(place.bottom) - scale(place.top), FALSE);
        if (font && reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0)) == oldFont)
            SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    if (font) SendMessageA(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SetWindowPos(dialog, NULL, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(dialog, NULL, TRUE);
}
