// Quendel's start-up: the application object runs the main dialog modally; the program
// ends when the dialog does.
#include <windows.h>

#include <commctrl.h>

#include "app/command_line.h"
#include "app/converter_dlg.h"
#include "app/framework/app_instance.h"
#include "app/sync_report.h"

namespace {

class C_ConverterApp {
public:
    // Returns false: the program ends after the dialog.
    bool InitInstance(HINSTANCE instance) {
        g_hInstance = instance;
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        C_ConverterDlg dialog;
        dialog.DoModal();
        return false;
    }
};

C_ConverterApp g_app;

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
    CommandLine command = ParseCommandLine(arguments != NULL ? arguments : "");
    if (command.Any()) {
        command.console = OutputReachesConsole();
        g_hInstance = instance;
        return RunCommandLine(
            command,
            [](const std::string& text, UINT type) {
                return MessageBoxA(NULL, text.c_str(), sync_text::kCaption, type | MB_SETFOREGROUND);
            },
            WriteToConsole);
    }
    g_app.InitInstance(instance);
    return 0;
}
