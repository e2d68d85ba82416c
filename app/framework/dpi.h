// The screen's DPI as a window sees it. The manifest declares per-monitor awareness (v2,
// with per-monitor as the fallback): the program draws for each monitor's DPI itself, and
// Windows 10 scales template dialogs on a change of DPI itself only under v2.
#pragma once

#include <windows.h>

constexpr UINT kDefaultDpi = 96;  // 100 %

// A length in pixels at 96 DPI, for dpi (rounded).
inline int ScaleForDpi(int pixels, UINT dpi) { return MulDiv(pixels, static_cast<int>(dpi), kDefaultDpi); }
// The DPI the window is shown at: its monitor's where the system has per-monitor DPI, else
// the system's.
UINT WindowDpi(HWND window);
// Whether the thread runs per-monitor v2 aware, where the dialog manager re-lays template
// dialogs out on WM_DPICHANGED by itself.
bool SystemScalesDialogs();
// Re-lays a dialog out for a new DPI, as the dialog manager does under v2: every child's place
// and size scaled, the children in the dialog's font get font, and the dialog takes the
// rectangle Windows suggests.
void RelayoutForDpi(HWND dialog, UINT from, UINT to, HFONT font, const RECT& suggested);
