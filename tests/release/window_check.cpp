// window_check <program.exe> <title> [system-menu command]: starts the program, closes its visible top-level
// window of the title and expects exit code 0; or sends it the command (16: the about box) and leaves it be.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

static PROCESS_INFORMATION g_process;
static HWND g_found;

static BOOL CALLBACK Visit(HWND window, LPARAM) {
    DWORD owner = 0;
    char title[256] = "";
    GetWindowThreadProcessId(window, &owner), GetWindowTextA(window, title, sizeof title);
    if (owner == g_process.dwProcessId && IsWindowVisible(window) && std::strcmp(title, __argv[2]) == 0)
        g_found = window;
    return !g_found;
}

int main(int argc, char** argv) {
    STARTUPINFOA startup = {sizeof startup};
    if (argc < 3 || !CreateProcessA(argv[1], NULL, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &g_process))
        return std::fprintf(stderr, "usage: window_check <program.exe> <window title> [system-menu command]\n"), 2;
    // Up to 30 s, while the program runs: the first start in a fresh Wine prefix is slow.
    for (int i = 0; i < 300 && !g_found && WaitForSingleObject(g_process.hProcess, 100) == WAIT_TIMEOUT; ++i)
        EnumWindows(Visit, 0);
    if (g_found && argc > 3) Sleep(1500);  // lets the window be painted on screen first
    if (g_found && argc > 3) return !PostMessageA(g_found, WM_SYSCOMMAND, std::strtoul(argv[3], NULL, 0), 0);
    DWORD code = 1;
    if (!g_found || !PostMessageA(g_found, WM_CLOSE, 0, 0) || WaitForSingleObject(g_process.hProcess, 10000))
        TerminateProcess(g_process.hProcess, 1), WaitForSingleObject(g_process.hProcess, 10000);
    GetExitCodeProcess(g_process.hProcess, &code);
    std::printf("window \"%s\" %s; the program ended with %lu\n", argv[2], g_found ? "closed" : "not found", code);
    return !g_found || code != 0;
}
