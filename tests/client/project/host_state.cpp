// A host with a multibyte code page and a locale of its own, holding the first 64 TLS slots as
// large runtimes do, loads the time library at run time and uses it: its state stays as the
// host set it, the library's thread cache (in an expansion slot) is made once, and unloading
// frees it.
#include <windows.h>

#include <quendel_time.h>

#include <clocale>
#include <cstdio>
#include <cstring>

#include <mbctype.h>

long long HeapInUse() {  // of the process heap, where the thread caches lie
    long long used = 0;
    PROCESS_HEAP_ENTRY entry = {};
    while (HeapWalk(GetProcessHeap(), &entry)) used += entry.wFlags & PROCESS_HEAP_ENTRY_BUSY ? entry.cbData : 0;
    return used;
}

template <class F> F Export(HMODULE library, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

int main() {
    if (_setmbcp(932) != 0 || !std::setlocale(LC_ALL, "C")) return std::printf("host: cannot set its own state\n"), 1;
    DWORD slot = 0;  // up to the first expansion slot, set: the block the system adds for them stays
    while (slot < 64)
        if ((slot = TlsAlloc()) == TLS_OUT_OF_INDEXES || !TlsSetValue(slot, &slot)) return std::printf("host: no TLS\n"), 1;
    const long long before = HeapInUse();
    const HMODULE library = LoadLibraryA("quendel_time.dll");
    // C_Time::GetLocTimeZoneAsRegString, a static member
    const auto zoneName = Export<void (*)(char*, int)>(library, "_ZN6C_Time25GetLocTimeZoneAsRegStringEPci");
    const auto open = Export<decltype(&quendel_time_zone_open_key)>(library, "quendel_time_zone_open_key");
    const auto isSummer = Export<decltype(&quendel_time_is_summer)>(library, "quendel_time_is_summer");
    const auto close = Export<decltype(&quendel_time_zone_close)>(library, "quendel_time_zone_close");
    qt_zone berlin = nullptr;
    if (!zoneName || !open || !isSummer || !close || open(L"W. Europe Standard Time", &berlin) != QT_OK)
        return std::printf("host: the library or its export is missing\n"), 1;
    char name[64] = "";
    zoneName(name, sizeof name);
    int failures = 0, right = 0, summer = 0;
    for (int i = 0; i < 1000; ++i)  // 2100-07-01 12:00 UTC in summer, 2100-01-01 12:00 not
        right += isSummer(berlin, i % 2 ? 157626000000000000ll : 157469616000000000ll, &summer) == QT_OK && summer == i % 2;
    const long long used = HeapInUse() - before;  // 30 MB with a cache made on every call
    close(berlin), FreeLibrary(library);
    const long long left = HeapInUse() - before;  // 14 KB with the cache left behind
    if (right != 1000 || used > 1000000 || left > 4096)
        failures += std::printf("FAILED: %d of 1000 right, %lld bytes taken, %lld after unloading\n", right, used, left) > 0;
    if (_getmbcp() != 932) failures += std::printf("FAILED: multibyte code page %d, set 932\n", _getmbcp()) > 0;
    if (std::strcmp(std::setlocale(LC_ALL, NULL), "C") != 0) failures += std::printf("FAILED: locale changed\n") > 0;
    if (name[0] == 0) failures += std::printf("FAILED: no zone name from the library\n") > 0;
    return std::printf("host: %d failure(s)\n", failures), failures != 0;
}
