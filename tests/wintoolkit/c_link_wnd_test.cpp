// The link and label controls: when a link opens its target, how it tracks the mouse, what
// it keeps of a target, how it falls back to the ".htm" browser, and what it reports.
// The shell and the program start are replaced by recorders: no browser or mail program
// is ever started, except the stand-in recorder program of the fallback test.
#include "wintoolkit/c_link_wnd.h"

#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

// What the fake shell and launcher saw, and what they answer.
std::vector<std::string> g_shellOpened;
int g_shellAnswer = 42;
std::vector<std::string> g_launched;
UINT g_launchAnswer = 33;

HINSTANCE WINAPI FakeShellOpen(HWND, LPCSTR verb, LPCSTR file, LPCSTR, LPCSTR, INT show) {
    g_shellOpened.push_back(std::string(verb) + " " + file + " " + std::to_string(show));
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(g_shellAnswer));
}
UINT WINAPI FakeLaunch(LPCSTR command, UINT) {
    g_launched.push_back(command);
    return g_launchAnswer;
}

class TestLink : public C_LinkWnd {
public:
    std::vector<std::string> errors;

protected:
    void ShowOpenError(const char* text) override { errors.push_back(text); }
};

// A hidden top-level parent with one link in it at (10, 10)-(110, 30).
class LinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        previousShell = C_LinkWnd::SetShellOpen(FakeShellOpen);
        previousLaunch = C_LinkWnd::SetLaunch(FakeLaunch);
        g_shellOpened.clear();
        g_launched.clear();
        g_shellAnswer = 42;
        g_launchAnswer = 33;
        ASSERT_TRUE(parent.Create(0, NULL, "parent", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, NULL, NULL));
        MakeLink();
    }
    void TearDown() override {
        link.reset();
        C_LinkWnd::SetShellOpen(previousShell);
        C_LinkWnd::SetLaunch(previousLaunch);
        C_LinkWnd::SetLinkCursor(NULL);
    }
    void MakeLink(int style = C_LinkWnd::kDefaultStyle) {
        link = std::make_unique<TestLink>();
        link->SetStyle(style);
        const RECT rect = {10, 10, 110, 30};
        ASSERT_TRUE(link->Create(parent.Handle(), "Quendel", rect, -16));
        link->SetLink("https://www.example.org/quendel");
    }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageA(link->Handle(), message, wParam, lParam);
    }

    C_BaseWnd parent;
    std::unique_ptr<TestLink> link;
    C_LinkWnd::ShellOpen previousShell = nullptr;
    C_LinkWnd::Launch previousLaunch = nullptr;
};

// Style, and whether the target opens on button down and on the following button up.
struct ClickCase {
    const char* name;
    int style;
    size_t opensOnDown;
    size_t opensAfterUp;
};

class Clicks : public LinkTest, public ::testing::WithParamInterface<ClickCase> {};

const ClickCase kClicks[] = {
    {"DefaultOpensOnButtonUp", 0x53, 0, 1},
    {"OpenOnDownStyle", 0x5B, 1, 1},
    {"NoFocusStyleStillOpensOnUp", 0x43, 0, 1},
};

TEST_P(Clicks, OpenAtTheRightButtonEdge) {
    MakeLink(GetParam().style);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(g_shellOpened.size(), GetParam().opensOnDown);
    EXPECT_TRUE(link->IsPressed());
    Send(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    ASSERT_EQ(g_shellOpened.size(), GetParam().opensAfterUp);
    EXPECT_EQ(g_shellOpened.back(), "open https://www.example.org/quendel 5");  // SW_SHOW
    EXPECT_TRUE(link->IsVisited());
    EXPECT_TRUE(link->errors.empty());
}

INSTANTIATE_TEST_SUITE_P(Styles, Clicks, ::testing::ValuesIn(kClicks),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(LinkTest, ButtonUpWithoutAPressOpensNothing) {
    Send(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(g_shellOpened.empty());
}

TEST_F(LinkTest, SpaceKeyOpensOtherKeysDoNot) {
    Send(WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_TRUE(g_shellOpened.empty());
    EXPECT_EQ(Send(WM_KEYDOWN, VK_SPACE, 1), 0);
    EXPECT_EQ(g_shellOpened.size(), 1u);
}

TEST_F(LinkTest, MouseLeavingRestoresTheCursor) {
    HCURSOR hand = LoadCursorA(NULL, MAKEINTRESOURCEA(32649));  // IDC_HAND
    HCURSOR arrow = LoadCursorA(NULL, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    ASSERT_TRUE(hand && arrow && hand != arrow);
    C_LinkWnd::SetLinkCursor(hand);
    SetCursor(arrow);
    Send(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(link->IsTracking());
    EXPECT_TRUE(link->IsHover());
    EXPECT_EQ(GetCapture(), link->Handle());
    EXPECT_EQ(GetCursor(), hand);
    EXPECT_EQ(link->CurrentColour(), C_LinkWnd::HoverColour());
    Send(WM_MOUSEMOVE, 0, MAKELPARAM(-3, 5));  // left of the control
    EXPECT_FALSE(link->IsTracking());
    EXPECT_FALSE(link->IsHover());
    EXPECT_NE(GetCapture(), link->Handle());
    EXPECT_EQ(GetCursor(), arrow);
}

TEST_F(LinkTest, FocusSetsAndClearsPressed) {
    Send(WM_SETFOCUS);
    EXPECT_TRUE(link->IsPressed());
    Send(WM_KILLFOCUS);
    EXPECT_FALSE(link->IsPressed());
    EXPECT_FALSE(link->IsHover());
}

TEST_F(LinkTest, TargetIsCutTo99Characters) {
    const std::string target(120, 'x');
    link->SetLink(target.c_str());
    EXPECT_EQ(link->Target(), std::string(99, 'x'));
    EXPECT_NE(link->ToolTip(), static_cast<HWND>(NULL));
    link->SetLink("mailto:quendel@example.org");
    EXPECT_EQ(link->Target(), "mailto:quendel@example.org");
}

TEST_F(LinkTest, NewTargetReplacesTheToolTip) {
    HWND first = link->ToolTip();
    ASSERT_TRUE(IsWindow(first));
    link->SetLink("mailto:quendel@example.org");
    EXPECT_FALSE(IsWindow(first));
    EXPECT_TRUE(IsWindow(link->ToolTip()));
}

TEST_F(LinkTest, FontMessages) {
    EXPECT_EQ(reinterpret_cast<HFONT>(Send(WM_GETFONT)), link->Font());
    HFONT font = MakeArialFont(-20);
    Send(WM_SETFONT, reinterpret_cast<WPARAM>(font));
    EXPECT_EQ(reinterpret_cast<HFONT>(Send(WM_GETFONT)), font);  // now the link's, deleted with it
}

TEST_F(LinkTest, FailureIsReportedAndNotVisited) {
    // The shell and the browser start both answer "file not found".
    g_shellAnswer = ERROR_FILE_NOT_FOUND;
    g_launchAnswer = ERROR_FILE_NOT_FOUND;
    Send(WM_KEYDOWN, VK_SPACE, 1);
    ASSERT_EQ(link->errors.size(), 1u);
    EXPECT_EQ(link->errors[0], "The specified file was not found.");
    EXPECT_FALSE(link->IsVisited());
}

TEST_F(LinkTest, ReleasesWhatItHolds) {
    const long before = quendel_toolkit::LiveOwnedHandles();
    HWND window = link->Handle();
    HWND tip = link->ToolTip();
    link.reset();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(IsWindow(tip));
    // The font, the tool tip and the window.
    EXPECT_EQ(quendel_toolkit::LiveOwnedHandles(), before - 3);
}

// Error texts by shell code.
struct ErrorCase {
    int code;
    const char* text;
};

const ErrorCase kErrors[] = {
    {0, "The operating system is out\nof memory or resources."},
    {2, "The specified file was not found."},
    {3, "The specified path was not found."},
    {5, "The operating system denied\naccess to the specified file."},
    {8, "There was not enough memory to complete the operation."},
    {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
    {26, "A sharing violation occurred. "},
    {27, "The filename association is\nincomplete or invalid."},
    {28, "The DDE transaction could not\nbe completed because the request timed out."},
    {29, "The DDE transaction failed."},
    {30, "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed."},
    {31, "There is no application associated\nwith the given filename extension."},
    {32, "The specified dynamic-link library was not found."},
    {1, "Unknown Error occurred."},
    {4, "Unknown Error occurred."},
    {-1, "Unknown Error occurred."},
};

TEST(LinkErrors, TextForEachShellCode) {
    for (const ErrorCase& row : kErrors) EXPECT_STREQ(C_LinkWnd::ErrorText(row.code), row.text) << row.code;
}

TEST(LinkColours, MinusOneHoverTakesTheHighlight) {
    C_LinkWnd::SetLinkColors(0xFAFAFA, 0x000000, 0xFFFAFA, static_cast<COLORREF>(-1));
    EXPECT_EQ(C_LinkWnd::HoverColour(), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(C_LinkWnd::NormalColour(), 0xFAFAFAu);
    EXPECT_EQ(C_LinkWnd::PressedColour(), 0x000000u);
    EXPECT_EQ(C_LinkWnd::VisitedColour(), 0xFFFAFAu);
    C_LinkWnd::SetLinkColors(0xFAFAFA, 0x000000, 0xFFFAFA, 0x0000FF);
    EXPECT_EQ(C_LinkWnd::HoverColour(), 0x0000FFu);
}

// The ".htm" browser fallback, with a fake association of the user's own classes
// (HKCU\Software\Classes, which the merged classes root shows first). One test, so that no
// two test processes change the association at once.
class FakeAssociation {
public:
    FakeAssociation() {
        HKEY existing = NULL;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Classes\\.htm", 0, KEY_READ, &existing) == ERROR_SUCCESS) {
            RegCloseKey(existing);
            return;  // the user has one of their own: leave it alone
        }
        m_ok = Set("Software\\Classes\\.htm", "QuendelTestPage");
    }
    ~FakeAssociation() {
        if (!m_ok) return;
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Classes\\QuendelTestPage");
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Classes\\.htm");
    }
    FakeAssociation(const FakeAssociation&) = delete;
    FakeAssociation& operator=(const FakeAssociation&) = delete;
    bool Ok() const { return m_ok; }
    bool SetCommand(const std::string& command) {
        return Set("Software\\Classes\\QuendelTestPage\\shell\\open\\command", command);
    }

private:
    static bool Set(const char* path, const std::string& value) {
        HKEY key = NULL;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL) != ERROR_SUCCESS)
            return false;
        const bool ok = RegSetValueExA(key, NULL, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                       static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
        RegCloseKey(key);
        return ok;
    }
    bool m_ok = false;
};

struct FallbackCase {
    const char* command;  // the registered browser command
    const char* target;
    const char* started;  // what the fallback starts
};

const FallbackCase kFallbacks[] = {
    // Cut just before the quoted placeholder; a blank and the quoted target follow.
    {"\"C:\\Browser\\browse.exe\" \"%1\"", "https://www.example.org/quendel",
     "\"C:\\Browser\\browse.exe\"  \"https://www.example.org/quendel\""},
    // Cut before the bare placeholder.
    {"\"C:\\Browser\\browse.exe\" -url %1 -new", "mailto:quendel@example.org",
     "\"C:\\Browser\\browse.exe\" -url  \"mailto:quendel@example.org\""},
    // No placeholder: the whole command, then the target.
    {"C:\\Browser\\browse.exe -nohome", "https://www.example.org/", "C:\\Browser\\browse.exe -nohome \"https://www.example.org/\""},
    // The target stays one argument: blanks inside the quotes, a quote encoded.
    {"browse.exe %1", "https://www.example.org/a b\" -evil", "browse.exe  \"https://www.example.org/a b%22 -evil\""},
};

TEST_F(LinkTest, BrowserFallbackStartsTheRegisteredCommand) {
    FakeAssociation association;
    if (!association.Ok()) GTEST_SKIP() << "the user's own .htm association is in place";
    g_shellAnswer = SE_ERR_NOASSOC;
    for (const FallbackCase& row : kFallbacks) {
        ASSERT_TRUE(association.SetCommand(row.command));
        g_launched.clear();
        EXPECT_EQ(C_LinkWnd::OpenLink(row.target, SW_SHOW), 33) << row.command;
        ASSERT_EQ(g_launched.size(), 1u);
        EXPECT_EQ(g_launched[0], row.started);
    }

    // The real program start, with the stand-in browser: it sees exactly one argument.
    C_LinkWnd::SetLaunch(previousLaunch);
    char tempDir[MAX_PATH] = "";
    ASSERT_TRUE(GetTempPathA(sizeof tempDir, tempDir));
    const std::string outPath = std::string(tempDir) + "quendel_recorder_" + std::to_string(GetCurrentProcessId()) + ".txt";
    const std::string eventName = "QuendelRecorderDone" + std::to_string(GetCurrentProcessId());
    HANDLE done = CreateEventA(NULL, TRUE, FALSE, eventName.c_str());
    ASSERT_NE(done, static_cast<HANDLE>(NULL));
    SetEnvironmentVariableA("QUENDEL_RECORDER_OUT", outPath.c_str());
    SetEnvironmentVariableA("QUENDEL_RECORDER_DONE", eventName.c_str());
    ASSERT_TRUE(association.SetCommand(std::string("\"") + ARG_RECORDER_PATH + "\" \"%1\""));
    const char* target = "https://www.example.org/quendel?a=1&b=two words";
    EXPECT_GT(C_LinkWnd::OpenLink(target, SW_HIDE), 31);
    // A deadline only, so that a lost recorder cannot hang the test.
    EXPECT_EQ(WaitForSingleObject(done, 60000), WAIT_OBJECT_0);
    CloseHandle(done);
    std::ifstream recorded(outPath);
    std::string count, argument;
    std::getline(recorded, count);
    std::getline(recorded, argument);
    EXPECT_EQ(count, "1");
    EXPECT_EQ(argument, target);
    recorded.close();
    DeleteFileA(outPath.c_str());
}

// The label.
TEST(Label, OwnsItsFontAndClaimsTheCursor) {
    C_BaseWnd parent;
    ASSERT_TRUE(parent.Create(0, NULL, "parent", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, NULL, NULL));
    const long before = quendel_toolkit::LiveOwnedHandles();
    {
        C_LabelWnd label;
        EXPECT_EQ(label.m_textColour, 0xFFFFFFu);
        label.SetFont(MakeArialFont(-10));
        ASSERT_TRUE(label.Create(0, NULL, "V1.2.28 Build (00209)", WS_CHILD | WS_VISIBLE, 0, 0, 160, 20,
                                 parent.Handle(), NULL));
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(label.Handle(), WM_GETFONT, 0, 0)), label.Font());
        EXPECT_EQ(SendMessageA(label.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(label.Handle()), 0), 0);
        EXPECT_TRUE(RedrawWindow(label.Handle(), NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW));
    }
    EXPECT_EQ(quendel_toolkit::LiveOwnedHandles(), before);
}

}  // namespace

// The default shell call loads the shell library when a link is first opened, not with the
// program, and passes the call through: a file that is not there gets the shell's own
// "not found" code.
TEST(LinkShell, DefaultCallReachesTheShell) {
    const C_LinkWnd::ShellOpen defaultOpen = C_LinkWnd::SetShellOpen(FakeShellOpen);
    C_LinkWnd::SetShellOpen(defaultOpen);
    ASSERT_NE(defaultOpen, nullptr);
    const HINSTANCE result =
        defaultOpen(NULL, "open", "Z:\\quendel-no-such-directory\\no-such-file.quendel", NULL, NULL, SW_HIDE);
    const INT_PTR code = reinterpret_cast<INT_PTR>(result);
    EXPECT_TRUE(code == SE_ERR_FNF || code == SE_ERR_PNF) << code;
    EXPECT_NE(GetModuleHandleA("shell32.dll"), static_cast<HMODULE>(NULL));
}
