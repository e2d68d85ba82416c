// The program's module instance handle, stored at start-up; the dialogs, the window
// toolkit and the network client create their windows and load resources with it.
#pragma once

#include <windows.h>

extern HINSTANCE g_hInstance;
