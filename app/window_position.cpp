#include "app/window_position.h"

#include "app/framework/placement.h"
#include "app/settings_store.h"

namespace {
const char* const kValue = "Fenster";
}  // namespace

bool LoadWindowPosition(POINT* topLeft) {
    LONG stored[2] = {};
    if (!settings::ReadBinary(kValue, stored, sizeof stored)) return false;
    *topLeft = POINT{stored[0], stored[1]};
    return true;
}

bool SaveWindowPosition(POINT topLeft) {
    const LONG stored[2] = {topLeft.x, topLeft.y};
    return settings::WriteBinary(kValue, stored, sizeof stored);
}

void PlaceMainWindow(HWND window) {
    RECT now;
    if (!GetWindowRect(window, &now)) return;
    const RECT size = {0, 0, now.right - now.left, now.bottom - now.top};
    RECT there = size;
    POINT at;
    const bool stored = LoadWindowPosition(&at) && OffsetRect(&there, at.x, at.y);
    if (!stored || !FitsOnOneMonitor(there, MonitorWorkAreas())) {
        const RECT primary = WorkAreaNear(NULL);
        at = CentredOver(size, primary, primary);
    }
    SetWindowPos(window, NULL, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
