#include "wintoolkit/c_link_wnd.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstring>

#include "wintoolkit/module.h"

namespace {

// Shared by all links; the user-interface thread only.
COLORREF g_normal = RGB(255, 255, 255);
COLORREF g_pressed = RGB(0, 128, 128);
COLORREF g_visited = RGB(128, 0, 128);
COLORREF g_hover = RGB(255, 0, 0);
HCURSOR g_linkCursor = NULL;      // borrowed: a loaded cursor resource
HCURSOR g_replacedCursor = NULL;  // borrowed: whatever was current when the mouse came in

// ShellExecuteA from shell32 loaded at the first link opened rather than at the program's
// start: the library is among the dearest to load and most runs never open a link.
HINSTANCE WINAPI ShellExecuteOnDemand(HWND window, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                                      INT show) {
    static const C_LinkWnd::ShellOpen shellExecute = [] {
        const HMODULE shell = LoadLibraryExA("shell32.dll", NULL, LOAD_LIBRARY_SEARCH_SYSTEM32);
        return shell ? reinterpret_cast<C_LinkWnd::ShellOpen>(
                           reinterpret_cast<void (*)()>(GetProcAddress(shell, "ShellExecuteA")))
                     : nullptr;
    }();
    if (!shellExecute) return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_DLLNOTFOUND));
    return shellExecute(window, verb, file, parameters, directory, show);
}

C_LinkWnd::ShellOpen g_shellOpen = ShellExecuteOnDemand;
C_LinkWnd::Launch g_launch = WinExec;

constexpr size_t kCommandBytes = 520;
constexpr DWORD kValueBytes = 260;

// Opens a key of the classes root for reading. The user's own classes come first, as in the
// merged view Windows gives; spelled out because not every platform merges them.
bool OpenClassKey(const std::string& subKey, HKEY* key) {
    const std::string userPath = "Software\\Classes\\" + subKey;
    return RegOpenKeyExA(HKEY_CURRENT_USER, userPath.c_str(), 0, KEY_QUERY_VALUE, key) == ERROR_SUCCESS ||
           RegOpenKeyExA(HKEY_CLASSES_ROOT, subKey.c_str(), 0, KEY_QUERY_VALUE, key) == ERROR_SUCCESS;
}

// Reads the unnamed string value of a classes-root key into value; false when there is none.
bool ReadClassValue(const std::string& subKey, std::string& value) {
    HKEY raw = NULL;
    if (!OpenClassKey(subKey, &raw)) return false;
    quendel_toolkit::KeyHandle key(raw);
    char buffer[kValueBytes + 1] = "";
    DWORD size = kValueBytes;
    DWORD type = 0;
    if (RegQueryValueExA(key.Get(), NULL, NULL, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    buffer[size < kValueBytes ? size : kValueBytes] = '\0';  // the value need not be terminated
    value = buffer;
    return true;
}

// The target as one quoted command-line argument. A double quote cannot occur in a web or
// mail address; one that does is percent-encoded so that it cannot end the argument.
std::string QuotedArgument(const char* target) {
    std::string argument = "\"";
    for (const char* c = target; *c; ++c) {
        if (*c == '"')
            argument += "%22";
        else
            argument += *c;
    }
    // A backslash before the closing quote would escape it for the program's parser.
    size_t backslashes = 0;
    while (backslashes < argument.size() - 1 && argument[argument.size() - 1 - backslashes] == '\\') ++backslashes;
    argument.append(backslashes, '\\');
    argument.push_back('"');
    return argument;
}

}  // namespace

// ---- C_ToolTip -------------------------------------------------------------------------

C_ToolTip::C_ToolTip(HWND owner) : m_owner(owner) {
    if (!owner) return;
    m_window.Reset(CreateWindowExA(0, TOOLTIPS_CLASSA, NULL, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, NULL,
                                   quendel::toolkit::ThisModule(), NULL));
}

bool C_ToolTip::AddTool(HWND window, const char* text, const RECT* rect, UINT_PTR id) {
    if (!m_window) return false;
    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.lpszText = const_cast<char*>(text);  // the tool tip copies the text
    if (id == 0) {
        info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        info.hwnd = m_owner;
        info.uId = reinterpret_cast<UINT_PTR>(window);
    } else {
        info.uFlags = TTF_SUBCLASS;
        info.hwnd = window;
        info.uId = id;
        if (rect) info.rect = *rect;
    }
    if (!SendMessageA(m_window.Get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info))) return false;
    SendMessageA(m_window.Get(), TTM_ACTIVATE, TRUE, 0);
    return true;
}

// ---- fonts -----------------------------------------------------------------------------

HFONT MakeArialFont(int height) {
    LOGFONTA description = {};
    description.lfHeight = height;
    description.lfWeight = FW_NORMAL;
    description.lfCharSet = ANSI_CHARSET;
    description.lfOutPrecision = OUT_STROKE_PRECIS;
    description.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    description.lfQuality = PROOF_QUALITY;
    description.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    lstrcpynA(description.lfFaceName, "Arial", LF_FACESIZE);
    HFONT font = CreateFontIndirectA(&description);
    return font ? font : static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
}

// ---- C_LinkWnd -------------------------------------------------------------------------

C_LinkWnd::C_LinkWnd() : m_font(MakeArialFont(-10)) {}

C_LinkWnd::~C_LinkWnd() {
    // Destroyed here, while this object's handlers still run for its last messages.
    m_toolTip = C_ToolTip(NULL);
    if (HWND window = Handle()) DestroyWindow(window);
}

bool C_LinkWnd::Create(HWND parent, const char* caption, const RECT& rect, int fontHeight) {
    m_font.Reset(MakeArialFont(fontHeight));
    return C_BaseWnd::Create(0, NULL, caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP, rect.left, rect.top,
                             rect.right - rect.left, rect.bottom - rect.top, parent, NULL);
}

void C_LinkWnd::SetLink(const char* target) {
    m_target.assign(target ? target : "", 0, target ? strnlen(target, kMaxTarget) : 0);
    HWND window = Handle();
    if (!window) return;
    ShowWindow(window, SW_HIDE);
    // A link given a new target gets a new tool tip; the old one goes.
    m_toolTip = C_ToolTip(window);
    m_toolTip.AddTool(window, m_target.c_str());
    ShowWindow(window, SW_SHOW);
}

COLORREF C_LinkWnd::CurrentColour() const {
    if (m_hover && (m_style & kHoverColour)) return g_hover;
    if (m_pressed && !(m_style & kNoPressedColour)) return g_pressed;
    if (m_visited) return g_visited;
    return g_normal;
}

void C_LinkWnd::SetLinkColors(COLORREF normal, COLORREF pressed, COLORREF visited, COLORREF hover) {
    g_normal = normal;
    g_pressed = pressed;
    g_visited = visited;
    g_hover = hover == static_cast<COLORREF>(-1) ? GetSysColor(COLOR_HIGHLIGHT) : hover;
}
COLORREF C_LinkWnd::NormalColour() { return g_normal; }
COLORREF C_LinkWnd::PressedColour() { return g_pressed; }
COLORREF C_LinkWnd::VisitedColour() { return g_visited; }
COLORREF C_LinkWnd::HoverColour() { return g_hover; }
void C_LinkWnd::SetLinkCursor(HCURSOR cursor) { g_linkCursor = cursor; }
HCURSOR C_LinkWnd::LinkCursor() { return g_linkCursor; }

C_LinkWnd::ShellOpen C_LinkWnd::SetShellOpen(ShellOpen open) {
    ShellOpen previous = g_shellOpen;
    g_shellOpen = open;
    return previous;
}
C_LinkWnd::Launch C_LinkWnd::SetLaunch(Launch launch) {
    Launch previous = g_launch;
    g_launch = launch;
    return previous;
}

int C_LinkWnd::OpenLink(const char* target, int showCommand) {
    const int shellResult =
        static_cast<int>(reinterpret_cast<INT_PTR>(g_shellOpen(NULL, "open", target, NULL, NULL, showCommand)));
    if (shellResult > 32) return shellResult;
    // The shell cannot open it: start the browser registered for web pages directly.
    std::string documentType;
    if (!ReadClassValue(".htm", documentType)) return shellResult;
    std::string command;
    if (!ReadClassValue(documentType + "\\shell\\open\\command", command)) return shellResult;
    size_t cut = command.find("\"%1\"");
    if (cut == std::string::npos) cut = command.find("%1");
    if (cut != std::string::npos) command.erase(cut);
    command.push_back(' ');
    command.append(QuotedArgument(target));
    if (command.size() >= kCommandBytes) return shellResult;
    return static_cast<int>(g_launch(command.c_str(), static_cast<UINT>(showCommand)));
}

const char* C_LinkWnd::ErrorText(int code) {
    switch (code) {
    case 0: return "The operating system is out\nof memory or resources.";
    case ERROR_FILE_NOT_FOUND: return "The specified file was not found.";
    case ERROR_PATH_NOT_FOUND: return "The specified path was not found.";
    case SE_ERR_ACCESSDENIED: return "The operating system denied\naccess to the specified file.";
    case SE_ERR_OOM: return "There was not enough memory to complete the operation.";
    case ERROR_BAD_FORMAT: return "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).";
    case SE_ERR_SHARE: return "A sharing violation occurred. ";
    case SE_ERR_ASSOCINCOMPLETE: return "The filename association is\nincomplete or invalid.";
    case SE_ERR_DDETIMEOUT: return "The DDE transaction could not\nbe completed because the request timed out.";
    case SE_ERR_DDEFAIL: return "The DDE transaction failed.";
    case SE_ERR_DDEBUSY:
        return "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed.";
    case SE_ERR_NOASSOC: return "There is no application associated\nwith the given filename extension.";
    case SE_ERR_DLLNOTFOUND: return "The specified dynamic-link library was not found.";
    default: return "Unknown Error occurred.";
    }
}

void C_LinkWnd::ShowOpenError(const char* text) {
    MessageBoxA(Handle(), text, "Can't open link", MB_ICONEXCLAMATION | MB_OK);
}

void C_LinkWnd::Open() {
    const int result = OpenLink(m_target.c_str(), SW_SHOW);
    if (result > 32) {
        m_visited = true;
        Invalidate(true);
        return;
    }
    MessageBeep(MB_ICONEXCLAMATION);
    ShowOpenError(ErrorText(result));
}

void C_LinkWnd::Invalidate(bool erase) const {
    if (Handle()) InvalidateRect(Handle(), NULL, erase);
}

int C_LinkWnd::OnCreate(CREATESTRUCTA*) { return 0; }
int C_LinkWnd::OnDestroy() {
    // The tool tip is an owned window and goes with this one; let go of it now, so that no
    // stale handle is kept.
    m_toolTip = C_ToolTip(NULL);
    return 0;
}

int C_LinkWnd::OnPaint() {
    quendel_toolkit::PaintScope paint(Handle());
    if (!paint.Dc()) return 0;
    quendel_toolkit::SelectedObject font(paint.Dc(), m_font.Get());
    SetBkMode(paint.Dc(), TRANSPARENT);
    SetTextColor(paint.Dc(), CurrentColour());
    char text[kMaxTarget + 1] = "";
    const int length = GetWindowTextA(Handle(), text, sizeof text);
    TextOutA(paint.Dc(), 1, 1, text, length);
    // The focus rectangle around the caption, unless the user has not used the keyboard yet.
    SIZE extent = {};
    if (GetFocus() == Handle() && !(SendMessageA(Handle(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) &&
        GetTextExtentPoint32A(paint.Dc(), text, length, &extent)) {
        RECT around = {0, 0, extent.cx + 2, extent.cy + 2}, client = {};
        GetClientRect(Handle(), &client);
        IntersectRect(&around, &around, &client);
        DrawFocusRect(paint.Dc(), &around);
    }
    return 0;
}

void C_LinkWnd::RepaintOverParent() const {
    // The caption is drawn over the parent's picture: a focus rectangle that goes needs the
    // picture under it drawn again, not only the caption.
    HWND parent = GetParent(Handle());
    RECT place;
    if (!parent || !GetWindowRect(Handle(), &place)) return Invalidate(true);
    MapWindowPoints(NULL, parent, reinterpret_cast<POINT*>(&place), 2);
    RedrawWindow(parent, &place, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

int C_LinkWnd::OnKeyDown(UINT key, UINT, UINT) {
    if (key != VK_SPACE && key != VK_RETURN) return kDecline;
    Open();
    return 0;
}

int C_LinkWnd::OnMouseMove(UINT, int x, int y) {
    RECT client;
    if (!GetClientRect(Handle(), &client)) return kDecline;
    const POINT point = {x, y};
    if (PtInRect(&client, point)) {
        // Holding the capture is what delivers the move that leaves the control.
        SetCapture(Handle());
        if (!m_tracking) {
            m_tracking = m_hover = true;
            g_replacedCursor = SetCursor(g_linkCursor);
            Invalidate(true);  // WM_PAINT draws the highlight
        }
    } else {
        if (GetCapture() == Handle()) ReleaseCapture();
        if (m_tracking) {
            m_tracking = m_hover = false;
            SetCursor(g_replacedCursor);
            Invalidate(true);
        }
        m_tracking = false;
    }
    return kDecline;
}

int C_LinkWnd::OnSetFocus(HWND) {
    m_pressed = true;
    RepaintOverParent();
    return kDecline;
}

int C_LinkWnd::OnKillFocus(HWND) {
    m_hover = m_pressed = false;
    RepaintOverParent();
    return kDecline;
}

int C_LinkWnd::OnLButtonDown(UINT, int, int) {
    if (m_style & kFocusOnClick) SetFocus(Handle());
    if (m_style & kOpenOnDown) Open();
    m_pressed = true;
    return 0;
}

int C_LinkWnd::OnLButtonUp(UINT, int, int) {
    if (m_pressed && !(m_style & kOpenOnDown)) Open();
    return 0;
}

int C_LinkWnd::OnSize(UINT, UINT, UINT) {
    Invalidate(false);
    UpdateWindow(Handle());
    return kDecline;
}

namespace {

// The font messages both controls answer alike: WM_SETFONT takes the font over (the control
// owns it from then on) and repaints when the message asks for it, without showing a hidden
// control; WM_GETFONT reports it. Returns whether the message was claimed, as OnMessage does.
int FontMessage(HWND window, quendel_toolkit::FontHandle& font, UINT message, WPARAM wParam, LPARAM lParam,
                LRESULT* result) {
    switch (message) {
    case WM_SETFONT:
        font.Reset(reinterpret_cast<HFONT>(wParam));
        if (LOWORD(lParam)) InvalidateRect(window, NULL, TRUE);
        return 0;
    case WM_GETFONT:
        *result = reinterpret_cast<LRESULT>(font.Get());
        return 1;
    default:
        return 0;
    }
}

}  // namespace

int C_LinkWnd::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    switch (message) {
    case WM_GETDLGCODE: {
        // Enter opens the link instead of pressing the dialog's default button; Escape and
        // Tab stay the dialog's.
        const MSG* key = reinterpret_cast<const MSG*>(lParam);
        *result = key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN ? DLGC_WANTMESSAGE : 0;
        return 1;
    }
    case WM_UPDATEUISTATE:
        RepaintOverParent();  // focus rectangle shown or hidden
        return 0;
    case WM_SETCURSOR:
        if (g_linkCursor) SetCursor(g_linkCursor);
        *result = 0;
        return 1;
    case WM_CAPTURECHANGED:
        // Another window took the mouse: the link is neither pressed nor under the mouse.
        if (lParam != 0 && reinterpret_cast<HWND>(lParam) != Handle()) {
            if (m_tracking) SetCursor(g_replacedCursor);
            m_pressed = m_hover = m_tracking = false;
            Invalidate(true);
        }
        return 0;
    default:
        return FontMessage(Handle(), m_font, message, wParam, lParam, result);
    }
}

// ---- C_LabelWnd ------------------------------------------------------------------------

C_LabelWnd::~C_LabelWnd() {
    if (HWND window = Handle()) DestroyWindow(window);
}

int C_LabelWnd::OnPaint() {
    quendel_toolkit::PaintScope paint(Handle());
    if (!paint.Dc()) return 0;
    quendel_toolkit::SelectedObject font(paint.Dc(), m_font.Get());
    SetTextAlign(paint.Dc(), TA_CENTER);
    SetBkMode(paint.Dc(), TRANSPARENT);
    SetTextColor(paint.Dc(), m_textColour);
    char text[100] = "";
    const int length = GetWindowTextA(Handle(), text, sizeof text);
    RECT client = {};
    GetClientRect(Handle(), &client);
    TextOutA(paint.Dc(), (client.right - client.left) / 2, 1, text, length);
    return 0;
}

int C_LabelWnd::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    switch (message) {
    case WM_SETCURSOR:
        *result = 0;
        return 1;
    default:
        return FontMessage(Handle(), m_font, message, wParam, lParam, result);
    }
}
