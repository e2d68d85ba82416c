// The reference for app_bench's start-up figure: an empty dialog on a tiny in-memory
// template. Its exit code is the time in microseconds from the process's creation to the
// end of WM_INITDIALOG, measured the same way as for the main dialog. Built twice: bare,
// and (QUENDEL_STYLED) with the program's manifest and common controls started, as every
// dialog program of the project is.
#include <windows.h>

#include <commctrl.h>

#include "bench/startup_clock.h"

namespace {

DWORD g_microseconds = 0;

INT_PTR CALLBACK EmptyProc(HWND, UINT message, WPARAM, LPARAM) {
    if (message != WM_INITDIALOG) return FALSE;
    g_microseconds = MicrosecondsSinceProcessStart();
    return TRUE;
}

// DLGTEMPLATE, empty menu, class and title arrays, then the main dialog's font (whose
// first use costs the same in both programs): no controls.
struct alignas(DWORD) Template {
    DLGTEMPLATE header;
    WORD menu, windowClass, title;
    WORD pointSize;
    WCHAR face[14];
};

}  // namespace

int main() {
#if defined(QUENDEL_STYLED)
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
#endif
    Template t = {};
    t.header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT | DS_MODALFRAME;
    t.pointSize = 8;
    const wchar_t face[] = L"MS Sans Serif";
    for (int i = 0; i < 14; ++i) t.face[i] = face[i];
    t.header.cx = 100;
    t.header.cy = 50;
    HWND dialog = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), &t.header, nullptr, EmptyProc, 0);
    if (!dialog) return 0;
    DestroyWindow(dialog);
    return static_cast<int>(g_microseconds);
}
