// Where windows go on the monitors: the geometry as pure functions, and a thin seam that asks
// the system for its monitors.
#pragma once

#include <windows.h>

#include <vector>

// Whether the window lies wholly within one of the areas.
bool FitsOnOneMonitor(const RECT& window, const std::vector<RECT>& areas);
// The top-left corner that centres a window of window's size over over, moved into work as
// far as needed to be fully visible there (to work's top-left when it is larger than work).
POINT CentredOver(const RECT& window, const RECT& over, const RECT& work);

// The work areas (the screen less the task bar) of the monitors now attached.
std::vector<RECT> MonitorWorkAreas();
// The work area of the monitor nearest to the window; of the primary monitor for NULL.
RECT WorkAreaNear(HWND window);
// Centres a dialog over its owner (over the primary monitor without one), within the work
// area of the owner's monitor.
void CentreOverOwner(HWND dialog);
