// The base window's message dispatch: which handler each message reaches with which unpacked
// arguments, how the handler's return claims or declines it, and the window's binding.
#include "wintoolkit/c_base_wnd.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

struct Call {
    std::string handler;
    long long a = 0, b = 0, c = 0;
    bool bound = false;  // whether Handle() was set during the call
};

// Records every handler call; answers with the value set for the handler, or the base's.
class RecordingWnd : public C_BaseWnd {
public:
    std::vector<Call> calls;
    std::map<std::string, int> answers;
    LRESULT resultToLeave = 0;  // what OnNotify and OnMessage leave in *result when they claim

    bool Make(const char* text = "abc") {
        return Create(0, NULL, text, WS_OVERLAPPEDWINDOW, 10, 10, 200, 100, NULL, NULL);
    }
    const Call* Last(const std::string& handler) const {
        for (auto it = calls.rbegin(); it != calls.rend(); ++it)
            if (it->handler == handler) return &*it;
        return nullptr;
    }

protected:
    int Rec(const char* handler, int base, long long a = 0, long long b = 0, long long c = 0) {
        calls.push_back({handler, a, b, c, Handle() != NULL});
        auto answer = answers.find(handler);
        return answer == answers.end() ? base : answer->second;
    }
    static long long P(const void* pointer) { return static_cast<long long>(reinterpret_cast<INT_PTR>(pointer)); }

    int OnCreate(CREATESTRUCTA* cs) override { return Rec("OnCreate", C_BaseWnd::OnCreate(cs)); }
    int OnDestroy() override { return Rec("OnDestroy", kDecline); }
    int OnNcDestroy() override { return Rec("OnNcDestroy", kDecline); }
    int OnPaint() override { return Rec("OnPaint", kDecline); }
    int OnEraseBkgnd(HDC dc) override { return Rec("OnEraseBkgnd", 0, P(dc)); }
    int OnKeyDown(UINT k, UINT r, UINT f) override { return Rec("OnKeyDown", kDecline, k, r, f); }
    int OnKeyUp(UINT k, UINT r, UINT f) override { return Rec("OnKeyUp", kDecline, k, r, f); }
    int OnChar(UINT k, UINT r, UINT f) override { return Rec("OnChar", kDecline, k, r, f); }
    int OnTimer(UINT_PTR id) override { return Rec("OnTimer", kDecline, static_cast<long long>(id)); }
    int OnDrawItem(UINT id, DRAWITEMSTRUCT* item) override { return Rec("OnDrawItem", 0, id, P(item)); }
    int OnMeasureItem(UINT id, MEASUREITEMSTRUCT* item) override { return Rec("OnMeasureItem", 0, id, P(item)); }
    int OnMenuSelect(UINT item, UINT flags, HMENU menu) override {
        return Rec("OnMenuSelect", kDecline, item, flags, P(menu));
    }
    int OnInitMenu(HMENU menu) override { return Rec("OnInitMenu", kDecline, P(menu)); }
    int OnNotify(WPARAM id, NMHDR* header, LRESULT* result) override {
        const int answer = Rec("OnNotify", 0, static_cast<long long>(id), P(header));
        *result = resultToLeave;
        return answer;
    }
    int OnCommand(UINT id, UINT code, HWND control) override { return Rec("OnCommand", kDecline, id, code, P(control)); }
    int OnSysCommand(WPARAM command, UINT x, UINT y) override {
        return Rec("OnSysCommand", kDecline, static_cast<long long>(command), x, y);
    }
    int OnHScroll(UINT code, UINT pos, HWND bar) override { return Rec("OnHScroll", kDecline, code, pos, P(bar)); }
    int OnVScroll(UINT code, UINT pos, HWND bar) override { return Rec("OnVScroll", kDecline, code, pos, P(bar)); }
    int OnMouseMove(UINT keys, int x, int y) override { return Rec("OnMouseMove", kDecline, keys, x, y); }
    int OnSetFocus(HWND w) override { return Rec("OnSetFocus", kDecline, P(w)); }
    int OnKillFocus(HWND w) override { return Rec("OnKillFocus", kDecline, P(w)); }
    int OnLButtonUp(UINT keys, int x, int y) override { return Rec("OnLButtonUp", kDecline, keys, x, y); }
    int OnLButtonDown(UINT keys, int x, int y) override { return Rec("OnLButtonDown", kDecline, keys, x, y); }
    int OnLButtonDblClk(UINT keys, int x, int y) override { return Rec("OnLButtonDblClk", kDecline, keys, x, y); }
    int OnRButtonUp(UINT keys, int x, int y) override { return Rec("OnRButtonUp", kDecline, keys, x, y); }
    int OnRButtonDown(UINT keys, int x, int y) override { return Rec("OnRButtonDown", kDecline, keys, x, y); }
    void OnPaletteChanged(HWND w) override { Rec("OnPaletteChanged", 0, P(w)); }
    int OnPaletteIsChanging(HWND w) override { return Rec("OnPaletteIsChanging", kDecline, P(w)); }
    LRESULT OnQueryNewPalette() override { return Rec("OnQueryNewPalette", 0); }
    int OnSize(UINT type, UINT w, UINT h) override { return Rec("OnSize", kDecline, type, w, h); }
    int OnMove(int x, int y) override { return Rec("OnMove", kDecline, x, y); }
    int OnClose() override { return Rec("OnClose", kDecline); }
    LRESULT OnQueryEndSession(WPARAM w, LPARAM l) override {
        return Rec("OnQueryEndSession", 1, static_cast<long long>(w), static_cast<long long>(l));
    }
    int OnMessage(UINT message, WPARAM w, LPARAM l, LRESULT* result) override {
        const int answer = Rec("OnMessage", 0, message, static_cast<long long>(w), static_cast<long long>(l));
        if (answer) *result = resultToLeave;
        return answer;
    }
    int OnHelp(HELPINFO* help) override { return Rec("OnHelp", 0, P(help)); }
    int OnGetMinMaxInfo(MINMAXINFO* limits) override { return Rec("OnGetMinMaxInfo", kDecline, P(limits)); }
};

// One message and the handler call it must become.
struct Unpacking {
    const char* name;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    const char* handler;
    long long a, b, c;
};

class Unpacks : public ::testing::TestWithParam<Unpacking> {};

// Key flags 0x001E, repeat 3: the A key's scan code in the high word.
constexpr LPARAM kKeyData = 0x001E0003;

const Unpacking kUnpackings[] = {
    {"MouseMoveNegative", WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-5, -7), "OnMouseMove", MK_LBUTTON, -5, -7},
    {"LButtonDown", WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, -1), "OnLButtonDown", MK_LBUTTON, 10, -1},
    {"LButtonUp", WM_LBUTTONUP, 0, MAKELPARAM(-32768, 32767), "OnLButtonUp", 0, -32768, 32767},
    {"LButtonDblClk", WM_LBUTTONDBLCLK, MK_SHIFT, MAKELPARAM(1, 2), "OnLButtonDblClk", MK_SHIFT, 1, 2},
    {"RButtonUp", WM_RBUTTONUP, 0, MAKELPARAM(-1, -1), "OnRButtonUp", 0, -1, -1},
    {"RButtonDown", WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(300, 4), "OnRButtonDown", MK_RBUTTON, 300, 4},
    {"SizeUnsigned", WM_SIZE, SIZE_RESTORED, MAKELPARAM(0xFFFF, 0x8000), "OnSize", SIZE_RESTORED, 65535, 32768},
    {"MoveSigned", WM_MOVE, 0, MAKELPARAM(-20, 30), "OnMove", -20, 30, 0},
    {"KeyDown", WM_KEYDOWN, 'A', kKeyData, "OnKeyDown", 'A', 3, 0x1E},
    {"KeyUp", WM_KEYUP, VK_SPACE, kKeyData, "OnKeyUp", VK_SPACE, 3, 0x1E},
    {"Char", WM_CHAR, 'q', kKeyData, "OnChar", 'q', 3, 0x1E},
    {"Timer", WM_TIMER, 77, 0, "OnTimer", 77, 0, 0},
    {"Command", WM_COMMAND, MAKEWPARAM(1234, 5), 0, "OnCommand", 1234, 5, 0},
    {"SysCommandUnsigned", WM_SYSCOMMAND, SC_KEYMENU, MAKELPARAM(0xFFFF, 0xFFFE), "OnSysCommand", SC_KEYMENU, 65535,
     65534},
    {"HScroll", WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 300), 0, "OnHScroll", SB_THUMBTRACK, 300, 0},
    {"VScroll", WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0, "OnVScroll", SB_LINEDOWN, 0, 0},
    {"MenuSelect", WM_MENUSELECT, MAKEWPARAM(7, MF_POPUP), 0, "OnMenuSelect", 7, MF_POPUP, 0},
    {"InitMenu", WM_INITMENU, 0, 0, "OnInitMenu", 0, 0, 0},
    {"PaletteIsChanging", WM_PALETTEISCHANGING, 0, 0, "OnPaletteIsChanging", 0, 0, 0},
    {"Close", WM_CLOSE, 0, 0, "OnClose", 0, 0, 0},
    {"QueryEndSession", WM_QUERYENDSESSION, 0, 0x1234, "OnQueryEndSession", 0, 0x1234, 0},
    {"OtherMessage", WM_USER + 5, 11, 22, "OnMessage", WM_USER + 5, 11, 22},
};

// Handlers claim here, so that the platform's default processing has no effects.
TEST_P(Unpacks, ArgumentsReachTheHandler) {
    const Unpacking& row = GetParam();
    RecordingWnd window;
    ASSERT_TRUE(window.Make());
    for (const char* handler : {"OnMouseMove", "OnLButtonDown", "OnLButtonUp", "OnLButtonDblClk", "OnRButtonUp",
                                "OnRButtonDown", "OnSize", "OnMove", "OnKeyDown", "OnKeyUp", "OnChar", "OnTimer",
                                "OnCommand", "OnSysCommand", "OnHScroll", "OnVScroll", "OnMenuSelect", "OnInitMenu",
                                "OnPaletteIsChanging", "OnClose"})
        window.answers[handler] = 0;
    window.answers["OnMessage"] = 1;
    window.calls.clear();
    SendMessageA(window.Handle(), row.message, row.wParam, row.lParam);
    const Call* call = window.Last(row.handler);
    ASSERT_NE(call, nullptr) << row.handler;
    EXPECT_EQ(call->a, row.a);
    EXPECT_EQ(call->b, row.b);
    EXPECT_EQ(call->c, row.c);
}

INSTANTIATE_TEST_SUITE_P(Messages, Unpacks, ::testing::ValuesIn(kUnpackings),
                         [](const auto& row) { return std::string(row.param.name); });

// One handler answer and the message result it must give.
struct Claim {
    const char* name;
    UINT message;
    const char* handler;
    int answer;
    LRESULT leave;     // what OnNotify/OnMessage leave in *result
    LRESULT expected;  // the message result
};

class Claims : public ::testing::TestWithParam<Claim> {};

// The window's text is "abc", so the default answer to WM_GETTEXTLENGTH is 3; the default
// answers to WM_ERASEBKGND (no class brush), WM_DRAWITEM, WM_MEASUREITEM, WM_NOTIFY and
// WM_HELP (a top-level window) are 0.
const Claim kClaims[] = {
    {"EraseBkgndNonZeroClaims", WM_ERASEBKGND, "OnEraseBkgnd", 5, 0, 1},
    {"EraseBkgndZeroDeclines", WM_ERASEBKGND, "OnEraseBkgnd", 0, 0, 0},
    {"DrawItemOneClaims", WM_DRAWITEM, "OnDrawItem", 1, 0, 1},
    {"DrawItemTwoDeclines", WM_DRAWITEM, "OnDrawItem", 2, 0, 0},
    {"MeasureItemOneClaims", WM_MEASUREITEM, "OnMeasureItem", 1, 0, 1},
    {"MeasureItemZeroDeclines", WM_MEASUREITEM, "OnMeasureItem", 0, 0, 0},
    {"HelpOneClaims", WM_HELP, "OnHelp", 1, 0, 1},
    {"HelpMinusOneDeclines", WM_HELP, "OnHelp", -1, 0, 0},
    {"NotifyOneClaimsWithItsResult", WM_NOTIFY, "OnNotify", 1, 55, 55},
    {"NotifyTwoDeclines", WM_NOTIFY, "OnNotify", 2, 55, 0},
    {"MessageNonZeroClaimsWithItsResult", WM_GETTEXTLENGTH, "OnMessage", 1, 9, 9},
    {"MessageZeroDeclines", WM_GETTEXTLENGTH, "OnMessage", 0, 9, 3},
    {"QueryNewPaletteAnswerIsResult", WM_QUERYNEWPALETTE, "OnQueryNewPalette", 7, 0, 7},
    {"QueryEndSessionAnswerIsResult", WM_QUERYENDSESSION, "OnQueryEndSession", 0, 0, 0},
};

TEST_P(Claims, ReturnDecidesTheResult) {
    const Claim& row = GetParam();
    RecordingWnd window;
    ASSERT_TRUE(window.Make("abc"));
    window.answers[row.handler] = row.answer;
    window.resultToLeave = row.leave;
    // Zeroed records for the messages that carry one; the default processing may read them.
    union {
        DRAWITEMSTRUCT draw;
        MEASUREITEMSTRUCT measure;
        HELPINFO help;
        NMHDR notify;
    } record;
    std::memset(&record, 0, sizeof record);
    record.help.cbSize = sizeof record.help;
    const LPARAM lParam = row.message == WM_ERASEBKGND || row.message == WM_GETTEXTLENGTH ||
                                  row.message == WM_QUERYNEWPALETTE || row.message == WM_QUERYENDSESSION
                              ? 0
                              : reinterpret_cast<LPARAM>(&record);
    if (row.message == WM_NOTIFY) record.notify.hwndFrom = window.Handle();
    window.calls.clear();
    EXPECT_EQ(SendMessageA(window.Handle(), row.message, 0, lParam), row.expected);
    EXPECT_NE(window.Last(row.handler), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Rules, Claims, ::testing::ValuesIn(kClaims),
                         [](const auto& row) { return std::string(row.param.name); });

// The "claim with 0" rule: a claim keeps the default processing away, a decline lets it run.
TEST(ClaimWithZero, SysCommandDeclinedReachesTheDefault) {
    // The default processing of SC_CLOSE sends WM_CLOSE.
    for (const int answer : {0, C_BaseWnd::kDecline}) {
        RecordingWnd window;
        ASSERT_TRUE(window.Make());
        window.answers["OnSysCommand"] = answer;
        window.answers["OnClose"] = 0;
        EXPECT_EQ(SendMessageA(window.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0), 0);
        EXPECT_EQ(window.Last("OnClose") != nullptr, answer != 0) << "answer " << answer;
    }
}

TEST(ClaimWithZero, CloseDeclinedDestroysTheWindow) {
    for (const int answer : {0, C_BaseWnd::kDecline}) {
        RecordingWnd window;
        ASSERT_TRUE(window.Make());
        window.answers["OnClose"] = answer;
        HWND handle = window.Handle();
        SendMessageA(handle, WM_CLOSE, 0, 0);
        EXPECT_EQ(IsWindow(handle) == FALSE, answer != 0) << "answer " << answer;
    }
}

TEST(ClaimWithZero, PaletteChangedAlwaysGoesOnToTheDefault) {
    RecordingWnd window;
    ASSERT_TRUE(window.Make());
    window.answers["OnPaletteChanged"] = 0;
    EXPECT_EQ(SendMessageA(window.Handle(), WM_PALETTECHANGED, 0, 0), 0);
    EXPECT_NE(window.Last("OnPaletteChanged"), nullptr);
}

// A window with nothing overridden.
TEST(InheritedHandlers, AnswerAsThePlatformWould) {
    C_BaseWnd window;
    ASSERT_TRUE(window.Create(0, NULL, "abc", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, NULL, NULL));
    EXPECT_EQ(SendMessageA(window.Handle(), WM_QUERYENDSESSION, 0, 0), 1);
    EXPECT_EQ(SendMessageA(window.Handle(), WM_QUERYNEWPALETTE, 0, 0), 0);
    EXPECT_EQ(SendMessageA(window.Handle(), WM_GETTEXTLENGTH, 0, 0), 3);
    EXPECT_TRUE(SendMessageA(window.Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("quendel")));
    EXPECT_EQ(SendMessageA(window.Handle(), WM_GETTEXTLENGTH, 0, 0), 7);
    // WM_CREATE is answered with OnCreate's 1 (sent again here to read the answer).
    CREATESTRUCTA create = {};
    create.lpCreateParams = &window;
    EXPECT_EQ(SendMessageA(window.Handle(), WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)), 1);
    EXPECT_EQ(window.Handle() != NULL, true);
}

// Binding: from WM_CREATE to WM_NCDESTROY.
TEST(Binding, MessagesBeforeCreateGoToTheDefault) {
    RecordingWnd window;
    ASSERT_TRUE(window.Make());
    ASSERT_FALSE(window.calls.empty());
    // An overlapped window is asked for its size limits before WM_CREATE; the object is not.
    EXPECT_EQ(window.calls.front().handler, "OnCreate");
    EXPECT_TRUE(window.calls.front().bound);  // the handle is known inside OnCreate
}

TEST(Binding, HandleIsNullAfterNcDestroy) {
    RecordingWnd window;
    ASSERT_TRUE(window.Make());
    HWND handle = window.Handle();
    ASSERT_TRUE(DestroyWindow(handle));
    EXPECT_EQ(window.Handle(), static_cast<HWND>(NULL));
    const Call* destroy = window.Last("OnDestroy");
    const Call* ncDestroy = window.Last("OnNcDestroy");
    ASSERT_NE(destroy, nullptr);
    ASSERT_NE(ncDestroy, nullptr);
    EXPECT_TRUE(destroy->bound);
    EXPECT_FALSE(ncDestroy->bound);  // already let go when OnNcDestroy runs
    EXPECT_LT(destroy - window.calls.data(), ncDestroy - window.calls.data());
}

TEST(Binding, DestructorDestroysALiveWindow) {
    HWND handle = NULL;
    {
        C_BaseWnd window;
        ASSERT_TRUE(window.Create(0, NULL, "", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, NULL, NULL));
        handle = window.Handle();
        EXPECT_TRUE(IsWindow(handle));
    }
    EXPECT_FALSE(IsWindow(handle));
}

TEST(Registration, TwoWindowsRegisterTheClassOnce) {
    C_BaseWnd first, second;
    ASSERT_TRUE(first.Create(0, NULL, "", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, NULL, NULL));
    ASSERT_TRUE(second.Create(0, NULL, "", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, NULL, NULL));
    EXPECT_EQ(C_BaseWnd::ClassRegistrations(), 1);
    WNDCLASSA windowClass = {};
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(NULL), "BaseWinWnd", &windowClass));
    EXPECT_EQ(windowClass.style, 0x0Bu);  // CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS
    EXPECT_GE(windowClass.cbWndExtra, static_cast<int>(sizeof(void*)));
    EXPECT_EQ(windowClass.hbrBackground, static_cast<HBRUSH>(NULL));
    EXPECT_EQ(windowClass.hCursor, static_cast<HCURSOR>(NULL));
}

TEST(Registration, UnknownClassMakesNoWindow) {
    C_BaseWnd window;
    EXPECT_FALSE(window.Create(0, "NoSuchQuendelClass", "", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, NULL, NULL));
    EXPECT_EQ(window.Handle(), static_cast<HWND>(NULL));
}

}  // namespace
