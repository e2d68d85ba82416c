// The DLL's entry point (the program links the library's objects without it). Unloaded by
// FreeLibrary, the DLL gives back the thread caches' memory and slots and the user zones, as
// a host loading and unloading it again and again would run out of them otherwise. At
// process exit (reserved not null) nothing is freed: the system reclaims it all.
#include <windows.h>

#include "timelib/user_zone.h"
#include "timelib/zone_rules.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        quendel::zone::ReleaseThreadCaches();
        quendel::zone::ReleaseUserZones();
    }
    return TRUE;
}
