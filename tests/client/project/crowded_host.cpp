// A host that holds the first 64 TLS slots, as large runtimes do, loads the time library at
// run time: the library's slot is an expansion slot. Its thread cache is made once however
// often it converts, and unloading gives the memory and the slots back.
#include <windows.h>

#include <quendel_time.h>

#include <cstdio>
#include <vector>

namespace {

SIZE_T ProcessHeapInUse() {  // the thread caches come from the process heap
    SIZE_T used = 0;
    PROCESS_HEAP_ENTRY entry = {};
    HeapLock(GetProcessHeap());
    while (HeapWalk(GetProcessHeap(), &entry))
        if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) used += entry.cbData;
    HeapUnlock(GetProcessHeap());
    return used;
}

// How many slots the process can still take, given back at once.
template <class Alloc, class Free> std::size_t FreeSlots(Alloc alloc, Free release) {
    std::vector<DWORD> taken;
    for (DWORD slot; (slot = alloc()) != TLS_OUT_OF_INDEXES;) taken.push_back(slot);
    for (DWORD slot : taken) release(slot);
    return taken.size();
}

std::size_t FreeTls() { return FreeSlots(TlsAlloc, TlsFree); }
std::size_t FreeFls() { return FreeSlots([] { return FlsAlloc(nullptr); }, FlsFree); }

template <class F> F Export(HMODULE library, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace

int main() {
    for (DWORD slot = 0; slot < 63;)
        if ((slot = TlsAlloc()) == TLS_OUT_OF_INDEXES) return std::printf("host: no TLS slot\n"), 1;
    const std::size_t tlsFree = FreeTls(), flsFree = FreeFls();
    const SIZE_T before = ProcessHeapInUse();
    const HMODULE library = LoadLibraryA("quendel_time.dll");
    const auto open = Export<decltype(&quendel_time_zone_open_key)>(library, "quendel_time_zone_open_key");
    const auto toLocal = Export<decltype(&quendel_time_to_local)>(library, "quendel_time_to_local");
    const auto close = Export<decltype(&quendel_time_zone_close)>(library, "quendel_time_zone_close");
    qt_zone berlin = nullptr;
    if (!open || !toLocal || !close || open(L"W. Europe Standard Time", &berlin) != QT_OK)
        return std::printf("host: the library, its exports or the zone are missing\n"), 1;
    int failures = 0, wrong = 0;
    const qt_int64 noon = 4118126400ll * 10000000 + 116444736000000000ll;  // 2100-07-01 12:00 UTC, 14:00 in Berlin
    for (int i = 0; i < 1000; ++i) {
        qt_fields local = {sizeof local, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        wrong += toLocal(berlin, noon + i % 2 * 6000000000ll, &local) != QT_OK || local.hour != 14 ||
                 local.minute != i % 2 * 10;
    }
    const SIZE_T grown = ProcessHeapInUse() - before;  // 100 MB with a cache per call
    close(berlin);
    FreeLibrary(library);
    const SIZE_T left = ProcessHeapInUse() - before;
    if (wrong) failures += std::printf("FAILED: %d wrong readings\n", wrong) > 0;
    if (grown > 1000000) failures += std::printf("FAILED: %zu bytes taken for 1000 readings\n", grown) > 0;
    if (left > 4096) failures += std::printf("FAILED: %zu bytes still taken after unloading\n", left) > 0;
    const std::size_t tlsAfter = FreeTls(), flsAfter = FreeFls();
    if (tlsAfter != tlsFree || flsAfter != flsFree)
        failures += std::printf("FAILED: slots kept after unloading: TLS %zu free (were %zu), FLS %zu (were %zu)\n",
                                tlsAfter, tlsFree, flsAfter, flsFree) > 0;
    return std::printf("host: %zu bytes while loaded, %zu after; %d failure(s)\n", grown, left, failures), failures != 0;
}
