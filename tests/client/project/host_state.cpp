// A host with a multibyte code page and a locale of its own, holding the first 64 TLS slots as
// large runtimes do, loads the time library at run time and uses it: its state stays as the
// host set it, the library's thread cache (in an expansion slot) is made once, and unloading
// frees it with its slots.
#include <windows.h>

#include <quendel_time.h>

#include <clocale>
#include <cstdio>
#include <cstring>

#include <mbctype.h>

SIZE_T HeapInUse() {  // of the process heap, where the thread caches lie
    SIZE_T used = 0;
    PROCESS_HEAP_ENTRY entry = {};
    while (HeapWalk(GetProcessHeap(), &entry)) used += entry.wFlags & PROCESS_HEAP_ENTRY_BUSY ? entry.cbData : 0;
    return used;
}

int main() {
    if (_setmbcp(932) != 0 || !std::setlocale(LC_ALL, "C")) return std::printf("host: cannot set its own state\n"), 1;
    DWORD slot = 0;  // up to the first expansion slot, set: the block the system adds for them stays
    while (slot < 64)
        if ((slot = TlsAlloc()) == TLS_OUT_OF_INDEXES || !TlsSetValue(slot, &slot)) return std::printf("host: no TLS slot\n"), 1;
    const DWORD firstFls = FlsAlloc(nullptr);
    FlsFree(firstFls);
    const SIZE_T before = HeapInUse();
    const HMODULE library = LoadLibraryA("quendel_time.dll");
    using ZoneName = void (*)(char* buffer, int size);  // C_Time::GetLocTimeZoneAsRegString, a static member
    const ZoneName zoneName = library ? reinterpret_cast<ZoneName>(reinterpret_cast<void*>(
                                            GetProcAddress(library, "_ZN6C_Time25GetLocTimeZoneAsRegStringEPci")))
                                      : nullptr;
    const auto open = reinterpret_cast<decltype(&quendel_time_zone_open_key)>(
        reinterpret_cast<void*>(GetProcAddress(library, "quendel_time_zone_open_key")));
    const auto isSummer = reinterpret_cast<decltype(&quendel_time_is_summer)>(
        reinterpret_cast<void*>(GetProcAddress(library, "quendel_time_is_summer")));
    const auto close = reinterpret_cast<decltype(&quendel_time_zone_close)>(
        reinterpret_cast<void*>(GetProcAddress(library, "quendel_time_zone_close")));
    qt_zone berlin = nullptr;
    if (!zoneName || !open || !isSummer || !close || open(L"W. Europe Standard Time", &berlin) != QT_OK)
        return std::printf("host: the library or its export is missing\n"), 1;
    char name[64] = "";
    zoneName(name, sizeof name);
    int failures = 0, right = 0, summer = 0;
    for (int i = 0; i < 1000; ++i)  // 2100-07-01 12:00 UTC in summer, 2100-01-01 12:00 not
        right += isSummer(berlin, i % 2 ? 157626000000000000ll : 157469616000000000ll, &summer) == QT_OK && summer == i % 2;
    const SIZE_T used = HeapInUse() - before;  // 100 MB with a cache per call
    close(berlin), FreeLibrary(library);
    const SIZE_T left = HeapInUse() - before;
    const DWORD fls = FlsAlloc(nullptr);
    if (right != 1000 || used > 1000000 || left > 4096 || fls != firstFls)
        failures += std::printf("FAILED: %d right, %zu bytes taken, %zu kept, first free FLS slot %lu (was %lu)\n",
                                right, used, left, fls, firstFls) > 0;
    if (_getmbcp() != 932) failures += std::printf("FAILED: multibyte code page %d, set 932\n", _getmbcp()) > 0;
    if (std::strcmp(std::setlocale(LC_ALL, NULL), "C") != 0) failures += std::printf("FAILED: locale changed\n") > 0;
    if (name[0] == 0) failures += std::printf("FAILED: no zone name from the library\n") > 0;
    return std::printf("host: %d failure(s)\n", failures), failures != 0;
}
