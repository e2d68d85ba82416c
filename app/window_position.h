// The main window's place between runs: stored in HKCU\Software\Quendel, value "Fenster"
// (two 32-bit integers, left and top), when it closes; restored at start only where the
// window is fully visible on one of the monitors then attached.
#pragma once

#include <windows.h>

// false when no position is stored or the value is not two 32-bit integers.
bool LoadWindowPosition(POINT* topLeft);
bool SaveWindowPosition(POINT topLeft);
// Moves the window to its stored position when it fits there, else centres it on the primary
// monitor.
void PlaceMainWindow(HWND window);
