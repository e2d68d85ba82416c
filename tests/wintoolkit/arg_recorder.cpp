// Stands in for a browser in the link tests: writes the number of its command-line
// arguments and each argument, one a line, to the file named by QUENDEL_RECORDER_OUT, then
// signals the event named by QUENDEL_RECORDER_DONE.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char outPath[MAX_PATH] = "";
    char eventName[MAX_PATH] = "";
    if (!GetEnvironmentVariableA("QUENDEL_RECORDER_OUT", outPath, sizeof outPath) ||
        !GetEnvironmentVariableA("QUENDEL_RECORDER_DONE", eventName, sizeof eventName))
        return 1;
    if (FILE* out = std::fopen(outPath, "w")) {
        // The runtime's own parse of the command line, as any program would see it.
        std::fprintf(out, "%d\n", __argc - 1);
        for (int i = 1; i < __argc; ++i) std::fprintf(out, "%s\n", __argv[i]);
        std::fclose(out);
    }
    if (HANDLE done = OpenEventA(EVENT_MODIFY_STATE, FALSE, eventName)) {
        SetEvent(done);
        CloseHandle(done);
    }
    return 0;
}
