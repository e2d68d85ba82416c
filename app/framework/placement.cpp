#include "app/framework/placement.h"

#include <algorithm>

bool FitsOnOneMonitor(const RECT& window, const std::vector<RECT>& areas) {
    return std::any_of(areas.begin(), areas.end(), [&](const RECT& area) {
        return window.left >= area.left && window.top >= area.top && window.right <= area.right &&
               window.bottom <= area.bottom;
    });
}

POINT CentredOver(const RECT& window, const RECT& over, const RECT& work) {
    const LONG width = window.right - window.left, height = window.bottom - window.top;
    LONG left = over.left + (over.right - over.left - width) / 2;
    LONG top = over.top + (over.bottom - over.top - height) / 2;
    left = std::max(work.left, std::min(left, work.right - width));
    top = std::max(work.top, std::min(top, work.bottom - height));
    return POINT{left, top};
}

namespace {
BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM areas) {
    MONITORINFO info = {sizeof info, {}, {}, 0};
    if (GetMonitorInfoA(monitor, &info)) reinterpret_cast<std::vector<RECT>*>(areas)->push_back(info.rcWork);
    return TRUE;
}
}  // namespace

std::vector<RECT> MonitorWorkAreas() {
    std::vector<RECT> areas;
    EnumDisplayMonitors(NULL, NULL, AddWorkArea, reinterpret_cast<LPARAM>(&areas));
    return areas;
}

RECT WorkAreaNear(HWND window) {
    const HMONITOR monitor = window ? MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)
                                    : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info = {sizeof info, {}, {}, 0};
    if (GetMonitorInfoA(monitor, &info)) return info.rcWork;
    RECT work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);  // keeps the screen's rectangle on failure
    return work;
}

void CentreOverOwner(HWND dialog) {
    const HWND owner = GetWindow(dialog, GW_OWNER);  // borrowed
    const RECT work = WorkAreaNear(owner);
    RECT box, over = work;
    // A minimised owner has no place to centre over: its monitor's work area stands in.
    if (!GetWindowRect(dialog, &box) || (owner && !IsIconic(owner) && !GetWindowRect(owner, &over))) return;
    const POINT at = CentredOver(box, over, work);
    SetWindowPos(dialog, NULL, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
