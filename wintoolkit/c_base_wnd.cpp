#include "wintoolkit/c_base_wnd.h"

#include <windowsx.h>

#include "wintoolkit/module.h"

namespace {

bool g_classRegistered = false;  // the user-interface thread only
int g_classRegistrations = 0;

void RegisterBaseClass() {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = C_BaseWnd::WindowProc;
    windowClass.cbWndExtra = sizeof(LONG_PTR);  // the object pointer at index 0
    windowClass.hInstance = quendel::toolkit::ThisModule();
    windowClass.lpszClassName = C_BaseWnd::kClassName;
    ++g_classRegistrations;
    // A failure is not reported here: the following creation fails instead.
    RegisterClassA(&windowClass);
}

// Mouse and move coordinates are signed 16-bit values (left of or above the window).
int SignedX(LPARAM lParam) { return GET_X_LPARAM(lParam); }
int SignedY(LPARAM lParam) { return GET_Y_LPARAM(lParam); }
UINT Low(WPARAM value) { return LOWORD(value); }
UINT High(WPARAM value) { return HIWORD(value); }

// The "claim with 0" rule.
bool ClaimedByZero(int handlerResult) { return handlerResult == 0; }

}  // namespace

C_BaseWnd::~C_BaseWnd() { m_window.Reset(); }

int C_BaseWnd::ClassRegistrations() { return g_classRegistrations; }

bool C_BaseWnd::Create(DWORD exStyle, const char* className, const char* text, DWORD style, int x, int y,
                       int width, int height, HWND parent, HMENU menuOrId) {
    m_parent = parent;
    if (!className) {
        className = kClassName;
        if (!g_classRegistered) {
            g_classRegistered = true;  // once, whether or not it succeeds
            RegisterBaseClass();
        }
    }
    HWND window = CreateWindowExA(exStyle, className, text, style, x, y, width, height, parent, menuOrId,
                                  quendel::toolkit::ThisModule(), this);
    // WM_CREATE has bound the window already; a creation that failed later has unbound it.
    return window != NULL && Handle() == window;
}

LRESULT CALLBACK C_BaseWnd::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        const CREATESTRUCTA* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        C_BaseWnd* self = static_cast<C_BaseWnd*>(create->lpCreateParams);
        if (!self) return -1;  // not made through Create: nothing to bind
        // A class with too few extra bytes cannot hold the pointer: no handler would ever run.
        SetLastError(ERROR_SUCCESS);
        if (SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(self)) == 0 && GetLastError() != ERROR_SUCCESS)
            return -1;
        self->m_window.Reset(window);
        return self->OnCreate(reinterpret_cast<CREATESTRUCTA*>(lParam));
    }
    C_BaseWnd* self = reinterpret_cast<C_BaseWnd*>(GetWindowLongPtrA(window, 0));
    if (!self) return DefWindowProcA(window, message, wParam, lParam);  // before WM_CREATE
    LRESULT result = 0;
    if (Dispatch(*self, window, message, wParam, lParam, &result)) return result;
    return DefWindowProcA(window, message, wParam, lParam);
}

bool C_BaseWnd::Dispatch(C_BaseWnd& self, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                         LRESULT* result) {
    *result = 0;
    switch (message) {
    case WM_DESTROY:
        return ClaimedByZero(self.OnDestroy());
    case WM_NCDESTROY:
        // The window is gone after this message; the pointer in its extra bytes is never
        // read again, so it is cleared too.
        self.m_window.Release();
        SetWindowLongPtrA(window, 0, 0);
        return ClaimedByZero(self.OnNcDestroy());
    case WM_PAINT:
        return ClaimedByZero(self.OnPaint());
    case WM_ERASEBKGND:
        if (self.OnEraseBkgnd(reinterpret_cast<HDC>(wParam)) == 0) return false;
        *result = 1;
        return true;
    case WM_KEYDOWN:
        return ClaimedByZero(self.OnKeyDown(static_cast<UINT>(wParam), Low(lParam), High(lParam)));
    case WM_KEYUP:
        return ClaimedByZero(self.OnKeyUp(static_cast<UINT>(wParam), Low(lParam), High(lParam)));
    case WM_CHAR:
        return ClaimedByZero(self.OnChar(static_cast<UINT>(wParam), Low(lParam), High(lParam)));
    case WM_TIMER:
        return ClaimedByZero(self.OnTimer(static_cast<UINT_PTR>(wParam)));
    case WM_DRAWITEM:
        if (self.OnDrawItem(static_cast<UINT>(wParam), reinterpret_cast<DRAWITEMSTRUCT*>(lParam)) != 1) return false;
        *result = 1;
        return true;
    case WM_MEASUREITEM:
        if (self.OnMeasureItem(static_cast<UINT>(wParam), reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)) != 1)
            return false;
        *result = 1;
        return true;
    case WM_MENUSELECT:
        return ClaimedByZero(self.OnMenuSelect(Low(wParam), High(wParam), reinterpret_cast<HMENU>(lParam)));
    case WM_INITMENU:
        return ClaimedByZero(self.OnInitMenu(reinterpret_cast<HMENU>(wParam)));
    case WM_NOTIFY:
        return self.OnNotify(wParam, reinterpret_cast<NMHDR*>(lParam), result) == 1;
    case WM_COMMAND:
        return ClaimedByZero(self.OnCommand(Low(wParam), High(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_SYSCOMMAND:
        return ClaimedByZero(self.OnSysCommand(wParam, Low(lParam), High(lParam)));
    case WM_HSCROLL:
        return ClaimedByZero(self.OnHScroll(Low(wParam), High(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_VSCROLL:
        return ClaimedByZero(self.OnVScroll(Low(wParam), High(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_MOUSEMOVE:
        return ClaimedByZero(self.OnMouseMove(static_cast<UINT>(wParam), SignedX(lParam), SignedY(lParam)));
    case WM_SETFOCUS:
        return ClaimedByZero(self.OnSetFocus(reinterpret_cast<HWND>(wParam)));
    case WM_KILLFOCUS:
        return ClaimedByZero(self.OnKillFocus(reinterpret_cast<HWND>(wParam)));
    case WM_LBUTTONUP:
        return ClaimedByZero(self.OnLButtonUp(static_cast<UINT>(wParam), SignedX(lParam), SignedY(lParam)));
    case WM_LBUTTONDOWN:
        return ClaimedByZero(self.OnLButtonDown(static_cast<UINT>(wParam), SignedX(lParam), SignedY(lParam)));
    case WM_LBUTTONDBLCLK:
        return ClaimedByZero(self.OnLButtonDblClk(static_cast<UINT>(wParam), SignedX(lParam), SignedY(lParam)));
    case WM_RBUTTONUP:
        return ClaimedByZero(self.OnRButtonUp(static_cast<UINT>(wParam), SignedX(lParam), SignedY(lParam)));
    case WM_RBUTTONDOWN:
        return ClaimedByZero(self.OnRButtonDown(static_cast<UINT>(wParam), SignedX(lParam), SignedY(lParam)));
    case WM_PALETTECHANGED:
        self.OnPaletteChanged(reinterpret_cast<HWND>(wParam));
        return false;
    case WM_PALETTEISCHANGING:
        return ClaimedByZero(self.OnPaletteIsChanging(reinterpret_cast<HWND>(wParam)));
    case WM_QUERYNEWPALETTE:
        *result = self.OnQueryNewPalette();
        return true;
    case WM_SIZE:
        return ClaimedByZero(self.OnSize(static_cast<UINT>(wParam), Low(lParam), High(lParam)));
    case WM_MOVE:
        return ClaimedByZero(self.OnMove(SignedX(lParam), SignedY(lParam)));
    case WM_CLOSE:
        return ClaimedByZero(self.OnClose());
    case WM_QUERYENDSESSION:
        *result = self.OnQueryEndSession(wParam, lParam);
        return true;
    case WM_HELP:
        if (self.OnHelp(reinterpret_cast<HELPINFO*>(lParam)) != 1) return false;
        *result = 1;
        return true;
    case WM_GETMINMAXINFO:
        return ClaimedByZero(self.OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam)));
    default:
        return self.OnMessage(message, wParam, lParam, result) != 0;
    }
}

int C_BaseWnd::OnCreate(CREATESTRUCTA*) { return 1; }
int C_BaseWnd::OnDestroy() { return kDecline; }
int C_BaseWnd::OnNcDestroy() { return kDecline; }
int C_BaseWnd::OnPaint() { return kDecline; }
int C_BaseWnd::OnEraseBkgnd(HDC) { return 0; }
int C_BaseWnd::OnKeyDown(UINT, UINT, UINT) { return kDecline; }
int C_BaseWnd::OnKeyUp(UINT, UINT, UINT) { return kDecline; }
int C_BaseWnd::OnChar(UINT, UINT, UINT) { return kDecline; }
int C_BaseWnd::OnTimer(UINT_PTR) { return kDecline; }
int C_BaseWnd::OnDrawItem(UINT, DRAWITEMSTRUCT*) { return 0; }
int C_BaseWnd::OnMeasureItem(UINT, MEASUREITEMSTRUCT*) { return 0; }
int C_BaseWnd::OnMenuSelect(UINT, UINT, HMENU) { return kDecline; }
int C_BaseWnd::OnInitMenu(HMENU) { return kDecline; }
int C_BaseWnd::OnNotify(WPARAM, NMHDR*, LRESULT*) { return 0; }
int C_BaseWnd::OnCommand(UINT, UINT, HWND) { return kDecline; }
int C_BaseWnd::OnSysCommand(WPARAM, UINT, UINT) { return kDecline; }
int C_BaseWnd::OnHScroll(UINT, UINT, HWND) { return kDecline; }
int C_BaseWnd::OnVScroll(UINT, UINT, HWND) { return kDecline; }
int C_BaseWnd::OnMouseMove(UINT, int, int) { return kDecline; }
int C_BaseWnd::OnSetFocus(HWND) { return kDecline; }
int C_BaseWnd::OnKillFocus(HWND) { return kDecline; }
int C_BaseWnd::OnLButtonUp(UINT, int, int) { return kDecline; }
int C_BaseWnd::OnLButtonDown(UINT, int, int) { return kDecline; }
int C_BaseWnd::OnLButtonDblClk(UINT, int, int) { return kDecline; }
int C_BaseWnd::OnRButtonUp(UINT, int, int) { return kDecline; }
int C_BaseWnd::OnRButtonDown(UINT, int, int) { return kDecline; }
void C_BaseWnd::OnPaletteChanged(HWND) {}
int C_BaseWnd::OnPaletteIsChanging(HWND) { return kDecline; }
LRESULT C_BaseWnd::OnQueryNewPalette() { return 0; }
int C_BaseWnd::OnSize(UINT, UINT, UINT) { return kDecline; }
int C_BaseWnd::OnMove(int, int) { return kDecline; }
int C_BaseWnd::OnClose() { return kDecline; }
LRESULT C_BaseWnd::OnQueryEndSession(WPARAM, LPARAM) { return 1; }
int C_BaseWnd::OnMessage(UINT, WPARAM, LPARAM, LRESULT*) { return 0; }
int C_BaseWnd::OnHelp(HELPINFO*) { return 0; }
int C_BaseWnd::OnGetMinMaxInfo(MINMAXINFO*) { return kDecline; }
