// Quendel's start-up. Until the converter dialog arrives, a plain window shows the present
// moment in the user time zone; it closes with the close box or Escape.
#include <windows.h>

#include <cstdio>

#include "timelib/c_time.h"

namespace {

constexpr char kClassName[] = "QuendelMain";

void PaintTime(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);  // borrowed until EndPaint
    SYSTEMTIME local;
    char text[64] = "?";
    if (C_Time("Now").GetLocSystemTime(&local))
        std::snprintf(text, sizeof text, "%02u.%02u.%04u  %02u:%02u:%02u", local.wDay, local.wMonth, local.wYear,
                      local.wHour, local.wMinute, local.wSecond);
    RECT client;
    GetClientRect(window, &client);
    DrawTextA(dc, text, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EndPaint(window, &ps);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        SetTimer(window, 14, 1000, NULL);
        return 0;
    case WM_TIMER:
        InvalidateRect(window, NULL, TRUE);
        return 0;
    case WM_PAINT:
        PaintTime(window);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(NULL, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterClassA(&wc)) return 1;
    HWND window = CreateWindowA(kClassName, "Quendel 1.2.28", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 320,
                                120, NULL, NULL, instance, NULL);
    if (!window) return 1;
    ShowWindow(window, show);
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
