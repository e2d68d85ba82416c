// The program's resources as Windows loads them; the main-dialog templates against app_templates.tsv.
#include <gtest/gtest.h>
#include <windows.h>

#include <sstream>
#include <string>
#include <tuple>

#include "support/data_table.h"

namespace {

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

template <typename... Fields>
std::string Line(const Fields&... fields) {
    std::ostringstream out;
    ((out << fields << '\t'), ...);
    return out.str();
}

}  // namespace

// Each dialog with its client area, then all its children in template order.
TEST(Resources, DialogTemplates) {
    const unsigned long mask = WS_POPUP | WS_DISABLED | WS_CAPTION | WS_SYSMENU | WS_GROUP | WS_TABSTOP | 0xFFFF;
    HWND dialog = NULL, window = NULL;
    for (const data_table::Row& row : data_table::Read("app_templates.tsv")) {
        if (row[1] == "dialog") DestroyWindow(dialog);  // the one before
        if (row[1] == "dialog")
            dialog = CreateDialogParamA(NULL, MAKEINTRESOURCEA(std::stoi(row[0])), NULL, QuietDialogProc, 0);
        window = row[1] == "dialog" ? dialog : GetWindow(window, window == dialog ? GW_CHILD : GW_HWNDNEXT);
        ASSERT_NE(window, nullptr) << row[0] << " " << row[1];
        RECT units = {std::stol(row[4]), std::stol(row[5]), std::atol(row[6].c_str()), std::atol(row[7].c_str())}, r;
        MapDialogRect(dialog, &units);  // place and size each, as the dialog manager converts them
        GetWindowRect(window, &r);
        MapWindowPoints(NULL, dialog, reinterpret_cast<POINT*>(&r), 2);
        if (window == dialog) GetClientRect(dialog, &r);
        char name[64] = "", text[256] = "";
        GetClassNameA(window, name, sizeof name);
        GetWindowTextA(window, text, sizeof text);
        const auto size = [&](int column, LONG pixels) { return row[column] == "-" ? "-" : std::to_string(pixels); };
        EXPECT_EQ(Line(window == dialog ? "dialog" : std::to_string(short(GetDlgCtrlID(window))), name, text, r.left,
                       r.top, size(6, r.right - r.left), size(7, r.bottom - r.top),
                       GetWindowLongA(window, GWL_STYLE) & mask & (window == dialog ? 0xFFFF0000 : ~0ul),
                       GetWindowLongA(window, GWL_EXSTYLE) & (WS_EX_APPWINDOW | WS_EX_CLIENTEDGE)),
                  Line(row[1], row[2], row[3], units.left, units.top, size(6, units.right), size(7, units.bottom),
                       data_table::Uint(row[8]), data_table::Uint(row[9])));
        EXPECT_TRUE(window == dialog || !GetWindow(window, GW_HWNDNEXT) == (row.size() > 10)) << "last: " << row[1];
    }
    DestroyWindow(dialog);
}

// The built program's manifest as the platform reads it into an activation context: per-monitor
// DPI awareness v2, with per-monitor as the fallback of older systems.
TEST(Resources, ManifestDeclaresPerMonitorDpi) {
    ACTCTXA request = {sizeof request, ACTCTX_FLAG_RESOURCE_NAME_VALID, QUENDEL_EXE, 0, 0, NULL, MAKEINTRESOURCEA(1), NULL, NULL};
    const HANDLE context = CreateActCtxA(&request);
    ASSERT_NE(context, INVALID_HANDLE_VALUE) << QUENDEL_EXE << ": " << GetLastError();
    for (const auto& [space, name, value] : {std::tuple{L"http://schemas.microsoft.com/SMI/2016/WindowsSettings",
                                                         L"dpiAwareness", L"PerMonitorV2, PerMonitor"},
                                             {L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware", L"true/pm"}}) {
        WCHAR text[64] = L"";
        SIZE_T written = 0;
        EXPECT_TRUE(QueryActCtxSettingsW(0, context, space, name, text, 64, &written) && std::wstring(text) == value) << name;
    }
    ReleaseActCtx(context);
}
