// The about box: where its version label and links sit for the client size, what they show and
// open, in which fonts and colours; closed by Escape, Enter or the close box, and opened again.
#include "app/about_dlg.h"
#include "app/resource_ids.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Text, rectangle in the dialog's client area and font height of a control.
std::string Shown(HWND dialog, HWND control, HFONT font) {
    RECT r = {};
    char text[100] = "";
    LOGFONTA look = {};
    GetWindowRect(control, &r);
    MapWindowPoints(NULL, dialog, reinterpret_cast<POINT*>(&r), 2);
    GetWindowTextA(control, text, sizeof text);
    GetObjectA(font, sizeof look, &look);
    return std::string(text) + " " + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + " " + std::to_string(look.lfHeight);
}

TEST(AboutBox, LabelLinksAndClosing) {
    C_AboutDlg about;
    ASSERT_TRUE(about.Create());
    const HWND dialog = about.Handle();
    RECT c = {};
    GetClientRect(dialog, &c);
    const std::string right = std::to_string(c.right), up = std::to_string(c.bottom - 30);
    EXPECT_EQ(std::vector<std::string>({Shown(dialog, about.m_versionLabel.Handle(), about.m_versionLabel.Font()),
                                        Shown(dialog, about.m_webLink.Handle(), about.m_webLink.Font()),
                                        Shown(dialog, about.m_mailLink.Handle(), about.m_mailLink.Font()),
                                        about.m_webLink.Target(), about.m_mailLink.Target()}),
              std::vector<std::string>(
                  {"V1.2.28 Build (00209) " + std::to_string(c.right - 160) + ",10," + right + ",30 -10",
                   "https://www.example.org/quendel 10," + std::to_string(c.bottom - 50) + ",270," + up + " -16",
                   "quendel@example.org 10," + up + ",270," + std::to_string(c.bottom - 10) + " -16",
                   "https://www.example.org/quendel", "mailto:quendel@example.org"}));
    // Near-white links that stay legible on the dark picture, red under the mouse; the hand cursor.
    EXPECT_EQ(std::vector<COLORREF>({C_LinkWnd::NormalColour(), C_LinkWnd::PressedColour(), C_LinkWnd::VisitedColour(),
                                     C_LinkWnd::HoverColour()}),
              std::vector<COLORREF>({RGB(0xFA, 0xFA, 0xFA), RGB(0, 0, 0), RGB(0xFA, 0xFA, 0xFF), RGB(0xFF, 0, 0)}));
    EXPECT_TRUE(C_LinkWnd::LinkCursor() &&
                C_LinkWnd::LinkCursor() == LoadCursorA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(132)));
    // Escape, Enter and the close box end it; opened again, it replaces its fonts and tool tips.
    const long owned = quendel_toolkit::LiveOwnedHandles();
    for (const auto& [message, command] :
         {std::pair<UINT, WPARAM>{WM_COMMAND, IDCANCEL}, {WM_COMMAND, IDOK}, {WM_CLOSE, 0}}) {
        SendMessageA(about.Handle(), message, command, 0);
        EXPECT_EQ(about.Handle(), nullptr) << message << " " << command;
        ASSERT_TRUE(about.Create());
        EXPECT_EQ(quendel_toolkit::LiveOwnedHandles(), owned);
    }
}

// Moved to a monitor of 192 DPI (WM_DPICHANGED): picture and client area, places and fonts twice as large.
TEST(AboutBox, FollowsAChangeOfDpi) {
    C_AboutDlg about;
    ASSERT_TRUE(about.Create());
    RECT suggested = {10, 10, 900, 700}, c = {};
    SendMessageA(about.Handle(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    GetClientRect(about.Handle(), &c);
    EXPECT_EQ(std::to_string(c.right) + "x" + std::to_string(c.bottom) + " " +
                  Shown(about.Handle(), about.m_mailLink.Handle(), about.m_mailLink.Font()),
              "800x534 quendel@example.org 20,474,540,514 -32");
}

// The dialog layer's results: straight from the procedure for the messages the dialog
// manager passes on as its value, through DWLP_MSGRESULT for all others.
TEST(DialogLayer, MessageResults) {
    struct Answering : C_Dialog {
        Answering() : C_Dialog(IDD_ABOUT) {}
        bool OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) override {
            result = 4242;
            return message >= WM_CTLCOLORMSGBOX || message == WM_QUERYDRAGICON || message == WM_COMPAREITEM ||
                   message == WM_VKEYTOITEM || message == WM_CHARTOITEM;
        }
    } dialog;
    ASSERT_TRUE(dialog.Create());
    for (const UINT message : std::initializer_list<UINT>{WM_QUERYDRAGICON, WM_CTLCOLORSTATIC, WM_CTLCOLORDLG, WM_CTLCOLOREDIT, WM_COMPAREITEM,
                               WM_VKEYTOITEM, WM_CHARTOITEM, UINT(WM_USER + 7)})
        EXPECT_EQ(SendMessageA(dialog.Handle(), message, 0, 0), 4242) << message;
    EXPECT_TRUE(C_Dialog::ReturnsResultDirectly(WM_INITDIALOG) && !C_Dialog::ReturnsResultDirectly(WM_USER + 7));
}
