#include "app/framework/app_instance.h"

// The program's own module until start-up stores the handle it is given.
HINSTANCE g_hInstance = GetModuleHandleA(NULL);
