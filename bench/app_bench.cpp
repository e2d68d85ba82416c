// Application benchmarks: the main dialog's full refresh and one-second tick, and the
// start-up to the end of the dialog's initialisation against an empty dialog program
// (empty_dialog_bench) built in the same project. Not part of the tests; run with
//   scripts/wine-run build/<preset>/bench/app_bench.exe
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/converter_dlg.h"
#include "bench/startup_clock.h"
#include "app/framework/app_instance.h"
#include "app/resource_ids.h"

namespace {

double g_ticksPerNs = 0;

long long Now() {
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return c.QuadPart;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Median ns of one call of f over n timed calls, less the median of an empty timed call.
template <typename F>
double MedianNs(int n, F f) {
    std::vector<double> empty, full;
    for (int i = 0; i < n; ++i) {
        const long long a = Now();
        const long long b = Now();
        empty.push_back(static_cast<double>(b - a) / g_ticksPerNs);
        const long long c = Now();
        f();
        const long long d = Now();
        full.push_back(static_cast<double>(d - c) / g_ticksPerNs);
    }
    return Median(full) - Median(empty);
}

// The child: reports, as its exit code in microseconds, the time from its process's
// creation to the end of the main dialog's WM_INITDIALOG.
class TimedDialog : public C_ConverterDlg {
public:
    using C_ConverterDlg::C_ConverterDlg;
    DWORD microseconds = 0;

protected:
    BOOL OnInitDialog() override {
        const BOOL result = C_ConverterDlg::OnInitDialog();
        microseconds = MicrosecondsSinceProcessStart();
        return result;
    }
};

int StartupChild() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    TimedDialog dialog;
    if (!dialog.Create()) return 0;
    const DWORD us = dialog.microseconds;
    dialog.Destroy();
    return static_cast<int>(us);
}

// Runs a program and returns its exit code (the child's microseconds), 0 on failure.
DWORD RunChild(const std::string& commandLine) {
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back(0);
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 0;
    WaitForSingleObject(pi.hProcess, 60000);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

std::string SiblingPath(const char* name) {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    const std::size_t slash = s.find_last_of("\\/");
    return s.substr(0, slash + 1) + name;
}

}  // namespace

int main(int argc, char** argv) {
    g_hInstance = GetModuleHandleA(nullptr);
    if (argc > 1 && std::strcmp(argv[1], "--startup-child") == 0) return StartupChild();

    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    g_ticksPerNs = static_cast<double>(f.QuadPart) / 1e9;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    std::printf("%-44s %14s %10s %10s %8s\n", "operation", "median ns", "ms", "target ms", "ratio");
    bool met = true;
    for (int templateId : {IDD_CONVERTER_EXPERT, IDD_CONVERTER_SIMPLE}) {
        C_ConverterDlg dialog(templateId);
        if (!dialog.Create()) {
            std::printf("dialog %d could not be created\n", templateId);
            return 1;
        }
        const char* name = templateId == IDD_CONVERTER_EXPERT ? "expert" : "simple";
        for (int i = 0; i < 20; ++i) dialog.Refresh();  // warm-up
        const double refresh = MedianNs(300, [&] { dialog.Refresh(); });
        const double tick = MedianNs(2000, [&] { SendMessageA(dialog.Handle(), WM_TIMER, 14, 0); });
        const double clock = MedianNs(2000, [&] { dialog.UpdateClock(); });
        char label[64];
        std::snprintf(label, sizeof label, "full refresh, %s template (holidays incl.)", name);
        std::printf("%-44s %14.0f %10.3f %10.3f %8.2f\n", label, refresh, refresh / 1e6, 2.0, refresh / 2e6);
        std::snprintf(label, sizeof label, "one-second tick (WM_TIMER), %s", name);
        std::printf("%-44s %14.0f %10.4f %10.3f %8.2f\n", label, tick, tick / 1e6, 0.2, tick / 0.2e6);
        std::snprintf(label, sizeof label, "UpdateClock alone, %s", name);
        std::printf("%-44s %14.0f %10.4f %10s %8s\n", label, clock, clock / 1e6, "", "");
        met = met && refresh <= 2e6 && tick <= 0.2e6;
        dialog.Destroy();
    }

    // Start-up: the programs started in turn, medians of the in-process figures. Two empty
    // dialogs: a bare one, and one set up as every dialog program of this project is (the
    // application manifest with common controls 6, InitCommonControlsEx).
    const std::string self = "\"" + SiblingPath("app_bench.exe") + "\" --startup-child";
    const std::string bare = "\"" + SiblingPath("empty_dialog_bench.exe") + "\"";
    const std::string styled = "\"" + SiblingPath("empty_dialog_styled_bench.exe") + "\"";
    std::vector<double> ours, plain, themed;
    for (int i = 0; i < 11; ++i) {
        const DWORD a = RunChild(self), b = RunChild(bare), c = RunChild(styled);
        if (a == 0 || b == 0 || c == 0) {
            std::printf("start-up child failed (%lu, %lu, %lu)\n", static_cast<unsigned long>(a),
                        static_cast<unsigned long>(b), static_cast<unsigned long>(c));
            return 1;
        }
        ours.push_back(a / 1000.0);
        plain.push_back(b / 1000.0);
        themed.push_back(c / 1000.0);
    }
    const double startOurs = Median(ours), startBare = Median(plain), startStyled = Median(themed);
    std::printf("%-44s %14s %10.2f\n", "start-up to end of WM_INITDIALOG, quendel", "", startOurs);
    std::printf("%-44s %14s %10.2f\n", "  empty dialog, project manifest", "", startStyled);
    std::printf("%-44s %14s %10.2f\n", "  empty dialog, bare", "", startBare);
    std::printf("%-44s %14s %10s %10s %8.2f (target <= 1.50)\n", "start-up ratio quendel / empty (manifest)", "",
                "", "", startOurs / startStyled);
    std::printf("%-44s %14s %10s %10s %8.2f (target <= 1.50)\n", "start-up ratio quendel / empty (bare)", "", "",
                "", startOurs / startBare);
    met = met && startOurs <= 1.5 * startStyled;
    std::printf("%s\n", met ? "all targets met" : "some targets missed");
    return 0;
}
