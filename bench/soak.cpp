// Soak test: the main dialog refreshed, ticked and synchronised many times, the about box
// opened and closed many times; the process's GDI and USER objects, the toolkit's live
// handles and the private memory must stay flat. Not part of the tests (minutes); run
//   scripts/soak.sh [refreshes ticks about-cycles syncs]
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/about_dlg.h"
#include "app/converter_dlg.h"
#include "app/framework/app_instance.h"
#include "app/resource_ids.h"
#include "net/loopback.h"
#include "app/sync_session.h"
#include "net/sntp.h"
#include "wintoolkit/handles.h"

namespace {

struct Usage {
    DWORD gdi, user;
    long owned;
    SIZE_T privateBytes;
    SIZE_T committedPrivate;
};

// Committed private pages, counted from the address space itself: Wine's process memory
// counters may report no private usage at all.
SIZE_T CommittedPrivate() {
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION region;
    for (const char* p = nullptr; VirtualQuery(p, &region, sizeof region) == sizeof region;
         p = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
        if (static_cast<const char*>(region.BaseAddress) + region.RegionSize < p) break;  // wrapped
    }
    return total;
}

Usage Measure() {
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
    return {GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS),
            quendel_toolkit::LiveOwnedHandles(), memory.PrivateUsage, CommittedPrivate()};
}

void Print(const char* when, const Usage& u) {
    std::printf("%-7s GDI objects %5lu  USER objects %5lu  toolkit live handles %4ld  PrivateUsage %8.1f KiB"
                "  committed private pages %8.1f KiB\n",
                when, static_cast<unsigned long>(u.gdi), static_cast<unsigned long>(u.user), u.owned,
                static_cast<double>(u.privateBytes) / 1024.0, static_cast<double>(u.committedPrivate) / 1024.0);
}

void Pump() {
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// The server's answer: the request's transmit timestamp echoed, a fixed server time.
loopback::Bytes Answer(const loopback::Bytes& request) {
    loopback::Bytes reply(48, 0);
    reply[0] = 0x24;
    reply[1] = 1;
    if (request.size() >= 48) std::memcpy(&reply[24], &request[40], 8);
    const unsigned char stamp[8] = {0xEE, 0xBF, 0xCC, 0xC5, 0x40, 0x00, 0x00, 0x00};
    std::memcpy(&reply[32], stamp, 8);
    std::memcpy(&reply[40], stamp, 8);
    return reply;
}

int g_clockSets = 0;
BOOL WINAPI CountingSetter(const SYSTEMTIME*) {  // the machine's clock stays untouched
    ++g_clockSets;
    return TRUE;
}

long Arg(int argc, char** argv, int i, long fallback) { return argc > i ? std::atol(argv[i]) : fallback; }

}  // namespace

int main(int argc, char** argv) {
    g_hInstance = GetModuleHandleA(nullptr);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    const long refreshes = Arg(argc, argv, 1, 100000), ticks = Arg(argc, argv, 2, 10000);
    const long aboutCycles = Arg(argc, argv, 3, 500), syncs = Arg(argc, argv, 4, 100);

    loopback::UdpResponder responder(Answer);
    if (!responder.Ready()) {
        std::printf("no loopback responder\n");
        return 1;
    }
    sync_session::SetHooks({CountingSetter, [] { return true; }, nullptr, {{"127.0.0.1", responder.Port()}}});

    // The question before a large step (the server's time is fixed) and the result boxes are
    // answered at once.
    struct Dialog : C_ConverterDlg {
        Dialog() : C_ConverterDlg(IDD_CONVERTER_EXPERT) {}
        int ShowMessage(const char*, const char*, UINT) const override { return IDYES; }
    } dialog;
    if (!dialog.Create()) return 1;
    // A first round of everything, so that one-time allocations (caches, fonts, the
    // sockets library, class registrations) are made before the first measurement.
    auto aboutCycle = [&] {
        C_AboutDlg about;
        if (about.Create(dialog.Handle())) about.Destroy();
        Pump();
    };
    auto sync = [&] {
        SendMessageA(dialog.Handle(), WM_COMMAND, MAKEWPARAM(IDC_SYNC, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog.Handle(), IDC_SYNC)));
        for (const DWORD start = GetTickCount(); dialog.SyncRunning() && GetTickCount() - start < 20000;) {
            MsgWaitForMultipleObjects(0, NULL, FALSE, 20, QS_ALLINPUT);
            Pump();
        }
    };
    for (int i = 0; i < 20; ++i) {
        dialog.Refresh();
        SendMessageA(dialog.Handle(), WM_TIMER, 14, 0);
        aboutCycle();
    }
    sync();
    Pump();
    const Usage before = Measure();
    Print("before", before);

    const DWORD start = GetTickCount();
    for (long i = 0; i < refreshes; ++i) {
        dialog.Refresh();
        if (i % 256 == 0) Pump();
    }
    std::printf("%ld refreshes\n", refreshes);
    for (long i = 0; i < ticks; ++i) {
        SendMessageA(dialog.Handle(), WM_TIMER, 14, 0);
        if (i % 256 == 0) Pump();
    }
    std::printf("%ld timer ticks\n", ticks);
    for (long i = 0; i < aboutCycles; ++i) aboutCycle();
    std::printf("%ld about-box cycles\n", aboutCycles);
    const int setsBefore = g_clockSets;
    for (long i = 0; i < syncs; ++i) sync();
    std::printf("%ld sync attempts, %d set the clock\n", syncs, g_clockSets - setsBefore);
    Pump();
    const Usage after = Measure();
    Print("after", after);
    std::printf("%.1f s\n", (GetTickCount() - start) / 1000.0);
    dialog.Destroy();

    // Small bounds: a leak of one object or a few bytes per operation would exceed them
    // many times over.
    const long kObjects = 8, kOwned = 2;
    const double kPrivateKiB = 1024;
    const double grownKiB = (static_cast<double>(after.privateBytes) - static_cast<double>(before.privateBytes)) / 1024.0;
    const double committedGrownKiB =
        (static_cast<double>(after.committedPrivate) - static_cast<double>(before.committedPrivate)) / 1024.0;
    bool flat = true;
    if (static_cast<long>(after.gdi) - static_cast<long>(before.gdi) > kObjects) flat = false;
    if (static_cast<long>(after.user) - static_cast<long>(before.user) > kObjects) flat = false;
    if (after.owned - before.owned > kOwned) flat = false;
    if (grownKiB > kPrivateKiB || committedGrownKiB > kPrivateKiB) flat = false;
    if (syncs > 0 && g_clockSets - setsBefore != syncs) flat = false;
    std::printf("private memory grew by %.1f KiB, committed private pages by %.1f KiB (bound %.0f KiB)\n%s\n",
                grownKiB, committedGrownKiB, kPrivateKiB,
                flat ? "flat: passed" : "GREW: failed");
    return flat ? 0 : 1;
}
