// The window toolkit against tests/data/toolkit_*.tsv. The shell and the program start are stand-ins; only
// this program is started, as the browser: with QUENDEL_RECORDER_OUT set it writes its arguments and ends.
#include "wintoolkit/c_link_wnd.h"

#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "support/data_table.h"

using data_table::Int;

namespace {

const bool g_recorder = [] {
    char out[MAX_PATH] = "";
    if (!GetEnvironmentVariableA("QUENDEL_RECORDER_OUT", out, sizeof out)) return false;
    std::string text = std::to_string(__argc - 1) + "\n";
    for (int i = 1; i < __argc; ++i) text.append(__argv[i]).append("\n");
    std::ofstream(std::string(out) + ".part") << text;
    ExitProcess(!MoveFileA((std::string(out) + ".part").c_str(), out));  // the file appears complete
}();

// A zeroed record for the messages that carry one (the default processing may read it).
union { DRAWITEMSTRUCT draw; MEASUREITEMSTRUCT measure; HELPINFO help; NMHDR notify; MINMAXINFO limits; } g_record;
std::string Arg(long long value) { return std::to_string(value); }
std::string Arg(const void* p) { return p == &g_record ? "rec" : std::to_string(reinterpret_cast<INT_PTR>(p)); }

#define H0(R, N) R N() override { return Rec(#N, C_BaseWnd::N()); }
#define H1(N, A) int N(A a) override { return Rec(#N, C_BaseWnd::N(a), a); }
#define H2(R, N, A, B) R N(A a, B b) override { return Rec(#N, C_BaseWnd::N(a, b), a, b); }
#define H3(N, A, B, C) int N(A a, B b, C c) override { return Rec(#N, C_BaseWnd::N(a, b, c), a, b, c); }
#define KEY(N) H3(N, UINT, UINT, UINT)
#define MOUSE(N) H3(N, UINT, int, int)

struct RecordingWnd : C_BaseWnd {
    static constexpr int kBase = -1000;
    std::string calls;
    int answer = kBase;
    LRESULT leave = 0;  // what OnNotify and OnMessage leave in *result
    UINT sent = 0;      // OnMessage records this message only: the platform sends others besides
    template <class... T>
    int Rec(const char* name, int base, T... args) {
        calls.append(calls.empty() ? "" : ";").append(name);
        (calls.append(" ").append(Arg(args)), ...);
        calls.append(Handle() ? "" : "!");
        return answer == kBase ? base : answer;
    }
    H0(int, OnDestroy) H0(int, OnNcDestroy) H0(int, OnPaint) H0(int, OnClose) H0(LRESULT, OnQueryNewPalette)
    H1(OnEraseBkgnd, HDC) H1(OnTimer, UINT_PTR) H1(OnInitMenu, HMENU) H1(OnSetFocus, HWND) H1(OnKillFocus, HWND)
    H1(OnPaletteIsChanging, HWND) H1(OnHelp, HELPINFO*) H1(OnGetMinMaxInfo, MINMAXINFO*) H2(int, OnMove, int, int)
    H2(int, OnDrawItem, UINT, DRAWITEMSTRUCT*) H2(int, OnMeasureItem, UINT, MEASUREITEMSTRUCT*)
    H2(LRESULT, OnQueryEndSession, WPARAM, LPARAM) KEY(OnKeyDown) KEY(OnKeyUp) KEY(OnChar) KEY(OnSize)
    H3(OnMenuSelect, UINT, UINT, HMENU) H3(OnCommand, UINT, UINT, HWND) H3(OnSysCommand, WPARAM, UINT, UINT)
    H3(OnHScroll, UINT, UINT, HWND) H3(OnVScroll, UINT, UINT, HWND) MOUSE(OnMouseMove) MOUSE(OnLButtonUp)
    MOUSE(OnLButtonDown) MOUSE(OnLButtonDblClk) MOUSE(OnRButtonUp) MOUSE(OnRButtonDown)
    void OnPaletteChanged(HWND window) override { Rec("OnPaletteChanged", 0, window); }
    int OnCreate(CREATESTRUCTA* c) override { return Rec("OnCreate", C_BaseWnd::OnCreate(c), C_BaseWnd::OnCreate(c)); }
    int OnNotify(WPARAM id, NMHDR* h, LRESULT* r) override {
        return *r = leave, Rec("OnNotify", C_BaseWnd::OnNotify(id, h, r), id, h);
    }
    int OnMessage(UINT m, WPARAM w, LPARAM l, LRESULT* r) override {
        return m != sent ? C_BaseWnd::OnMessage(m, w, l, r) : (*r = leave, Rec("OnMessage", 0, m, w, l));
    }
};

bool Make(C_BaseWnd& window, const char* className = NULL) {
    return window.Create(0, className, "abc", WS_OVERLAPPEDWINDOW, 10, 10, 200, 100, NULL, NULL);
}

std::string g_opened, g_launched;   // what the stand-ins were asked, "|" after each
int g_shellAnswer, g_launchAnswer;  // and what they answer
HINSTANCE WINAPI FakeShellOpen(HWND, LPCSTR verb, LPCSTR file, LPCSTR, LPCSTR, INT show) {
    g_opened.append(verb).append(" ").append(file).append(" ").append(std::to_string(show)).append("|");
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(g_shellAnswer));
}
UINT WINAPI FakeLaunch(LPCSTR command, UINT show) {
    g_launched.append(command).append(" ").append(std::to_string(show)).append("|");
    return g_launchAnswer;
}

struct TestLink : C_LinkWnd {
    explicit TestLink(int style = kDefaultStyle, int answer = 42)
        : shell(SetShellOpen(FakeShellOpen)), launch(SetLaunch(FakeLaunch)) {
        InitCommonControls();  // the tool tip's window class
        g_opened.clear(), g_launched.clear(), g_shellAnswer = g_launchAnswer = answer;
        SetLinkCursor(LoadCursorA(NULL, IDC_HAND)), SetCursor(LoadCursorA(NULL, IDC_ARROW)), SetStyle(style);
        EXPECT_TRUE(Make(parent) && Create(parent.Handle(), "Quendel", RECT{10, 10, 110, 30}, -16));
        SetLink("https://www.example.org/quendel");
    }
    ~TestLink() override { SetShellOpen(shell), SetLaunch(launch); }
    void ShowOpenError(const char* text) override { errors += text; }
    std::string State() const {  // as toolkit_link_steps.tsv describes it
        char text[600];
        std::snprintf(text, sizeof text, "%s%s%s%s%06lX%s%s [%s] [%s]", IsTracking() ? "tracking " : "",
                      IsHover() ? "hover " : "", IsPressed() ? "pressed " : "", IsVisited() ? "visited " : "",
                      CurrentColour(), GetCapture() == Handle() ? " capture" : "",
                      GetCursor() == LinkCursor() ? " hand" : "", g_opened.c_str(), errors.c_str());
        return text;
    }
    C_BaseWnd parent;
    ShellOpen shell;
    Launch launch;
    std::string errors;
};

}  // namespace

TEST(BaseWnd, DispatchesToTheHandlersAndBindsItsWindow) {
    C_BaseWnd plain;
    ASSERT_TRUE(Make(plain));
    for (const data_table::Row& row : data_table::Read("toolkit_dispatch.tsv")) {
        RecordingWnd window;
        ASSERT_TRUE(Make(window));
        const UINT message = window.sent = static_cast<UINT>(Int(row[1]));
        const WPARAM w = Int(row[2]);
        const LPARAM l = row[3] == "rec" ? reinterpret_cast<LPARAM>(&g_record) : Int(row[3]);
        window.answer = static_cast<int>(Int(row[4])), window.leave = Int(row[5]), window.calls.clear();
        g_record = {}, g_record.help.cbSize = sizeof g_record.help;
        const LRESULT result = SendMessageA(window.Handle(), message, w, l);
        EXPECT_EQ(std::to_string(result) + " " + window.calls, row[6] + " " + row[7]) << row[0];
        if (row[8] != "y") continue;  // then a window with nothing overridden answers as DefWindowProcA does
        EXPECT_EQ(SendMessageA(plain.Handle(), message, w, l), DefWindowProcA(plain.Handle(), message, w, l)) << row[0];
    }
    // Bound from WM_CREATE (messages before it go to the default) to WM_NCDESTROY, before OnNcDestroy.
    RecordingWnd window;
    auto live = std::make_unique<C_BaseWnd>();
    ASSERT_TRUE(Make(window) && Make(*live));
    const HWND handle = live->Handle();
    EXPECT_EQ(window.calls.substr(0, window.calls.find(';')), "OnCreate 1");  // bound; the base answers 1
    window.calls.clear(), live.reset();  // its destructor destroys a live window
    EXPECT_TRUE(DestroyWindow(window.Handle()) && !window.Handle() && !IsWindow(handle));
    EXPECT_EQ(window.calls, "OnDestroy;OnNcDestroy!");
    window.answer = -1;  // OnCreate's -1 makes the creation fail
    C_BaseWnd unknown;
    EXPECT_FALSE(Make(window) || Make(unknown, "NoSuchQuendelClass") || window.Handle() || unknown.Handle());
    EXPECT_FALSE(CreateWindowExA(0, "BaseWinWnd", "", 0, 0, 0, 10, 10, NULL, NULL, NULL, NULL));
    WNDCLASSA c = {};  // registered once; redrawn when sized, with double-clicks
    EXPECT_TRUE(GetClassInfoA(GetModuleHandleA(NULL), "BaseWinWnd", &c) && c.style == 0x0B);
    EXPECT_EQ(C_BaseWnd::ClassRegistrations(), 1);
    static_assert(!std::is_copy_constructible_v<quendel_toolkit::WindowHandle>, "owners are move-only");
    WNDCLASSA narrow = {};  // no extra bytes for the object's pointer: the creation fails
    narrow.lpfnWndProc = C_BaseWnd::WindowProc, narrow.hInstance = GetModuleHandleA(NULL), narrow.lpszClassName = "QuendelNarrow";
    RecordingWnd unbound;
    EXPECT_TRUE(RegisterClassA(&narrow) && !Make(unbound, "QuendelNarrow") && !unbound.Handle());
}

TEST(LinkWnd, AnswersMessagesAndOwnsItsToolTipAndFont) {
    std::unique_ptr<TestLink> link;
    std::string scenario;
    for (const data_table::Row& row : data_table::Read("toolkit_link_steps.tsv")) {
        if (row[0] != scenario) link.reset(), link = std::make_unique<TestLink>(Int(row[1]), Int(row[2]));
        scenario = row[0];
        const LRESULT result = SendMessageA(link->Handle(), Int(row[4]), Int(row[5]), Int(row[6]));
        EXPECT_EQ(std::to_string(result) + " " + link->State(), row[7] + " " + row[8]) << scenario << ": " << row[3];
    }
    // A target keeps 99 characters and gets a new tool tip; the link owns its font, and releases all.
    link.reset();
    const long before = quendel_toolkit::LiveOwnedHandles();
    link = std::make_unique<TestLink>();
    const HWND window = link->Handle(), first = link->ToolTip();
    const HFONT font = MakeArialFont(-20);
    link->SetLink(std::string(120, 'x').c_str());
    EXPECT_TRUE(link->Target() == std::string(99, 'x') && !IsWindow(first) &&
                SendMessageA(link->ToolTip(), TTM_GETTOOLCOUNT, 0, 0) == 1);
    EXPECT_EQ(SendMessageA(window, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(link->Font()));
    ShowWindow(window, SW_HIDE);  // a hidden control stays hidden when it is given a font
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    EXPECT_TRUE(SendMessageA(window, WM_GETFONT, 0, 0) == reinterpret_cast<LRESULT>(font) && !IsWindowVisible(window));
    const HWND tip = link->ToolTip();
    link.reset();
    EXPECT_FALSE(IsWindow(window) || IsWindow(tip) || quendel_toolkit::LiveOwnedHandles() != before);
    for (const data_table::Row& row : data_table::Read("toolkit_link_errors.tsv"))
        EXPECT_STREQ(C_LinkWnd::ErrorText(static_cast<int>(Int(row[0]))), row[1].c_str()) << row[0];
    C_LinkWnd::SetLinkColors(0xFAFAFA, 0x000000, 0xFFFAFA, static_cast<COLORREF>(-1));  // the highlight
    EXPECT_EQ(C_LinkWnd::HoverColour(), GetSysColor(COLOR_HIGHLIGHT));
}

// The ".htm" fallback with an association in HKCU (the merged classes root shows it first); the default
// shell call loads the shell library only then.
TEST(LinkWnd, BrowserFallbackAndTheDefaultShell) {
    const auto set = [](const char* path, const std::string& value) {
        return RegSetKeyValueA(HKEY_CURRENT_USER, path, NULL, REG_SZ, value.c_str(), value.size() + 1) == ERROR_SUCCESS;
    };
    const char* command = "Software\\Classes\\QuendelTestPage\\shell\\open\\command";
    TestLink link(C_LinkWnd::kDefaultStyle, SE_ERR_NOASSOC);
    g_launchAnswer = 33;
    for (const data_table::Row& row : data_table::Read("toolkit_browser_fallback.tsv")) {
        ASSERT_TRUE(set("Software\\Classes\\.htm", "QuendelTestPage") && set(command, row[0]));
        g_opened.clear(), g_launched.clear();
        EXPECT_EQ(C_LinkWnd::OpenLink(row[1].c_str(), SW_SHOW), 33) << row[0];
        EXPECT_EQ(g_opened + g_launched, "open " + row[1] + " 5|" + row[2] + " 5|");
    }
    char self[MAX_PATH] = "";
    const char* out = "quendel_recorded.txt";  // in the working folder, which the stand-in shares
    GetModuleFileNameA(NULL, self, sizeof self), DeleteFileA(out), SetEnvironmentVariableA("QUENDEL_RECORDER_OUT", out);
    const std::string target = "https://www.example.org/quendel?a=1&b=two words";
    C_LinkWnd::SetLaunch(link.launch);
    ASSERT_TRUE(set(command, std::string(1, '"').append(self).append("\" \"%1\"")));
    EXPECT_GT(C_LinkWnd::OpenLink(target.c_str(), SW_HIDE), 32);
    for (int i = 0; i < 600 && GetFileAttributesA(out) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(100);  // a deadline only
    const std::string recorded(std::istreambuf_iterator<char>(std::ifstream(out).rdbuf()), {});
    EXPECT_EQ(recorded, "1\n" + target + "\n");  // one argument, exactly the target
    DeleteFileA(out), RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Classes\\QuendelTestPage");
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Classes\\.htm");
    const INT_PTR code = reinterpret_cast<INT_PTR>(link.shell(NULL, "open", "Z:\\no\\such.file", NULL, NULL, SW_HIDE));
    EXPECT_TRUE((code == SE_ERR_FNF || code == SE_ERR_PNF) && GetModuleHandleA("shell32.dll")) << code;
}
