#include "app/about_dlg.h"

#include <algorithm>
#include <string>
#include <utility>

#include "app/framework/app_instance.h"
#include "app/framework/dpi.h"
#include "app/framework/placement.h"
#include "app/resource_ids.h"
#include "app_version.h"

const char* const kQuendelWebAddress = "https://www.example.org/quendel";
const char* const kQuendelMailAddress = "quendel@example.org";
const char* const kQuendelVersionLabel = "V" QUENDEL_VERSION_STRING " Build (00209)";

namespace {
// Pixels at 96 DPI.
constexpr int kLabelWidth = 160;
constexpr int kLabelTop = 10;
constexpr int kRowHeight = 20;
constexpr int kLinkLeft = 10;
constexpr int kLinkWidth = 260;  // the web address in Arial 16 px, with room to spare
constexpr int kLinkAboveBottom = 50;  // the web link's top, above the client bottom
constexpr int kLinkFontHeight = -16;
constexpr int kLabelFontHeight = -10;
constexpr int kCursorSize = 32;  // the hand is drawn at 32, 48 and 64 pixels

// The width of the window's text in the font, in pixels; 0 when it cannot be measured.
int TextWidth(HWND window, HFONT font) {
    char text[300];
    const int length = GetWindowTextA(window, text, sizeof text);
    HDC dc = GetDC(window);  // released below
    if (!dc) return 0;
    const HGDIOBJ old = SelectObject(dc, font);
    SIZE size = {};
    if (!GetTextExtentPoint32A(dc, text, length, &size)) size.cx = 0;
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return size.cx;
}

// A copy of the bitmap at width x height, smoothed (HALFTONE averages the source pixels).
HBITMAP ScaledBitmap(HBITMAP source, int width, int height) {
    BITMAP size = {};
    const HDC screen = GetDC(NULL);  // borrowed until ReleaseDC
    if (!screen || !GetObjectA(source, sizeof size, &size)) {
        if (screen) ReleaseDC(NULL, screen);
        return NULL;
    }
    HBITMAP scaled = CreateCompatibleBitmap(screen, width, height);
    const HDC from = CreateCompatibleDC(screen), to = CreateCompatibleDC(screen);
    if (scaled && from && to) {
        const HGDIOBJ oldFrom = SelectObject(from, source), oldTo = SelectObject(to, scaled);
        SetStretchBltMode(to, HALFTONE);
        SetBrushOrgEx(to, 0, 0, NULL);
        StretchBlt(to, 0, 0, width, height, from, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
        SelectObject(from, oldFrom);
        SelectObject(to, oldTo);
    }
    if (from) DeleteDC(from);
    if (to) DeleteDC(to);
    ReleaseDC(NULL, screen);
    return scaled;
}
}  // namespace

C_AboutDlg::C_AboutDlg() : C_Dialog(IDD_ABOUT) {}

// The controls' own destructors destroy their windows and delete their fonts and tool tips.
C_AboutDlg::~C_AboutDlg() = default;

BOOL C_AboutDlg::OnInitDialog() {
    C_Dialog::OnInitDialog();
    m_versionLabel.Create(0, NULL, kQuendelVersionLabel, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, Handle(), NULL);
    const RECT unplaced = {};
    m_webLink.Create(Handle(), kQuendelWebAddress, unplaced, kLinkFontHeight);
    m_webLink.SetLink(kQuendelWebAddress);
    const std::string mailTarget = std::string("mailto:") + kQuendelMailAddress;
    m_mailLink.Create(Handle(), kQuendelMailAddress, unplaced, kLinkFontHeight);
    m_mailLink.SetLink(mailTarget.c_str());
    Layout();
    CentreOverOwner(Handle());
    return TRUE;  // the web link, the first tab stop, has the focus
}

bool C_AboutDlg::OnDpiChanged(UINT dpi, const RECT& suggested) {
    C_Dialog::OnDpiChanged(dpi, suggested);
    SetWindowPos(Handle(), NULL, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    Layout();
    return true;
}

void C_AboutDlg::Layout() {
    const UINT dpi = Dpi();
    const auto scaled = [dpi](int pixels) { return ScaleForDpi(pixels, dpi); };
    ShowPicture();
    FitToPicture();
    RECT client = {};
    GetClientRect(Handle(), &client);
    const int row = scaled(kRowHeight);
    m_versionLabel.SetFont(MakeArialFont(scaled(kLabelFontHeight)));
    MoveWindow(m_versionLabel.Handle(), client.right - scaled(kLabelWidth), scaled(kLabelTop), scaled(kLabelWidth),
               row, TRUE);
    int top = client.bottom - scaled(kLinkAboveBottom);
    for (C_LinkWnd* link : {&m_webLink, &m_mailLink}) {
        // WM_SETFONT hands the font to the link, which deletes the one before.
        SendMessageA(link->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(MakeArialFont(scaled(kLinkFontHeight))), TRUE);
        // At least as wide as the text in the font the display has (a substitute for Arial
        // may be wider), within the box.
        const int width = std::min(std::max(scaled(kLinkWidth), TextWidth(link->Handle(), link->Font()) + scaled(4)),
                                   static_cast<int>(client.right) - scaled(kLinkLeft));
        MoveWindow(link->Handle(), scaled(kLinkLeft), top, width, row, TRUE);
        top += row;
    }
    // Near-white links that stay legible on the dark picture; red under the mouse.
    C_LinkWnd::SetLinkColors(RGB(0xFA, 0xFA, 0xFA), RGB(0, 0, 0), RGB(0xFA, 0xFA, 0xFF), RGB(0xFF, 0, 0));
    if (dpi == kDefaultDpi) {
        // A shared cursor resource: loaded again, never destroyed.
        C_LinkWnd::SetLinkCursor(LoadCursorA(g_hInstance, MAKEINTRESOURCEA(IDC_HAND_CURSOR)));
    } else {
        m_cursor.Reset(static_cast<HCURSOR>(LoadImageA(g_hInstance, MAKEINTRESOURCEA(IDC_HAND_CURSOR), IMAGE_CURSOR,
                                                       scaled(kCursorSize), scaled(kCursorSize), 0)));
        C_LinkWnd::SetLinkCursor(m_cursor.Get());
    }
}

void C_AboutDlg::FitToPicture() {
    // The box's client area is the picture's size: the template's dialog units follow the
    // font's size at the DPI, which need not be the picture's scale.
    const HWND picture = GetDlgItem(Handle(), IDC_STATIC);  // borrowed
    const auto image = reinterpret_cast<HBITMAP>(picture ? SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0) : 0);
    BITMAP size = {};
    if (!image || !GetObjectA(image, sizeof size, &size)) return;
    RECT frame = {0, 0, size.bmWidth, size.bmHeight};
    if (!AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(Handle(), GWL_STYLE)), FALSE,
                            static_cast<DWORD>(GetWindowLongA(Handle(), GWL_EXSTYLE))))
        return;
    SetWindowPos(Handle(), NULL, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void C_AboutDlg::ShowPicture() {
    // At 96 DPI the picture shows as drawn; otherwise a smooth copy at the DPI's size.
    const HWND picture = GetDlgItem(Handle(), IDC_STATIC);  // borrowed: the template's picture
    if (!picture || (Dpi() == kDefaultDpi && !m_picture)) return;  // back at 96: a plain copy
    quendel_toolkit::BitmapHandle original(LoadBitmapA(g_hInstance, MAKEINTRESOURCEA(IDB_ABOUT)));
    BITMAP size = {};
    if (!original || !GetObjectA(original.Get(), sizeof size, &size)) return;
    quendel_toolkit::BitmapHandle copy(
        ScaledBitmap(original.Get(), ScaleForDpi(size.bmWidth, Dpi()), ScaleForDpi(size.bmHeight, Dpi())));
    if (!copy) return;
    // The static keeps the picture it loaded itself; the copies are this box's.
    SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(copy.Get()));
    m_picture = std::move(copy);
}
