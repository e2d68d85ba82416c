// Starts a GUI program, waits until it shows a top-level window with the given title, closes
// that window with WM_CLOSE and expects the program to end with exit code 0.
//   window_check <program.exe> <window title> [system-menu command]
// Exit code 0 when all of that happened; the waits are bounded so that a hang fails.
// With a system-menu command (16: the about box), it sends WM_SYSCOMMAND instead of WM_CLOSE
// and leaves the program running, for the screenshots.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct Search {
    DWORD process_id;
    const char* title;
    HWND found;
};

BOOL CALLBACK Visit(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char title[256] = {};
    GetWindowTextA(window, title, sizeof title);
    if (owner == search->process_id && IsWindowVisible(window) && std::strcmp(title, search->title) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: window_check <program.exe> <window title> [system-menu command]\n");
        return 2;
    }
    char command[MAX_PATH + 3];
    std::snprintf(command, sizeof command, "\"%s\"", argv[1]);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(argv[1], command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::fprintf(stderr, "cannot start %s: error %lu\n", argv[1], GetLastError());
        return 1;
    }
    Search search = {process.dwProcessId, argv[2], nullptr};
    // Up to 30 s: the first start in a fresh Wine prefix is slow.
    for (int i = 0; i < 300 && !search.found; ++i) {
        if (WaitForSingleObject(process.hProcess, 100) == WAIT_OBJECT_0) {
            std::fprintf(stderr, "%s ended before showing \"%s\"\n", argv[1], argv[2]);
            return 1;
        }
        EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    }
    if (!search.found) {
        std::fprintf(stderr, "no window \"%s\" appeared\n", argv[2]);
        TerminateProcess(process.hProcess, 1);
        return 1;
    }
    std::printf("window \"%s\" found\n", argv[2]);
    if (argc == 4) {
        Sleep(1500);  // lets the window be painted on screen first
        PostMessageA(search.found, WM_SYSCOMMAND, std::strtoul(argv[3], nullptr, 0), 0);
        return 0;
    }
    PostMessageA(search.found, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "%s did not end after WM_CLOSE\n", argv[1]);
        TerminateProcess(process.hProcess, 1);
        return 1;
    }
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    std::printf("program ended with %lu\n", code);
    return code == 0 ? 0 : 1;
}
