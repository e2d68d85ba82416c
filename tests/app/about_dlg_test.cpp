// The about box: where its label and links sit for the dialog's size, what they show and
// open, its picture and cursor resources, and that opening and closing it again and again
// leaves nothing behind.
#include "app/about_dlg.h"

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/resource_ids.h"

namespace {

HINSTANCE Module() { return GetModuleHandleA(NULL); }

// A control's rectangle in the dialog's client coordinates.
RECT RectIn(HWND dialog, HWND control) {
    RECT rect = {};
    GetWindowRect(control, &rect);
    MapWindowPoints(NULL, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string Text(HWND window) {
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

class AboutBox : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
    }
    void SetUp() override {
        dialog = std::make_unique<C_AboutDlg>();
        ASSERT_TRUE(dialog->Create());
        ASSERT_TRUE(GetClientRect(dialog->Handle(), &client));
    }
    std::unique_ptr<C_AboutDlg> dialog;
    RECT client = {};
};

// Each control's rectangle as a function of the client area's right and bottom edges.
struct Placement {
    const char* name;
    HWND (*control)(const C_AboutDlg&);
    RECT (*expected)(const RECT& client);
};

const Placement kPlacements[] = {
    {"VersionLabelTopRight", [](const C_AboutDlg& d) { return d.m_versionLabel.Handle(); },
     [](const RECT& c) { return RECT{c.right - 160, 10, c.right, 30}; }},
    {"WebLinkFiftyAboveBottom", [](const C_AboutDlg& d) { return d.m_webLink.Handle(); },
     [](const RECT& c) { return RECT{10, c.bottom - 50, 240, c.bottom - 30}; }},
    {"MailLinkThirtyAboveBottom", [](const C_AboutDlg& d) { return d.m_mailLink.Handle(); },
     [](const RECT& c) { return RECT{10, c.bottom - 30, 240, c.bottom - 10}; }},
};

TEST_F(AboutBox, ControlsFollowTheClientSize) {
    // The template's 264 x 162 dialog units in this dialog's font.
    RECT units = {0, 0, 264, 162};
    ASSERT_TRUE(MapDialogRect(dialog->Handle(), &units));
    EXPECT_EQ(client.right, units.right);
    EXPECT_EQ(client.bottom, units.bottom);
    for (const Placement& row : kPlacements) {
        HWND control = row.control(*dialog);
        ASSERT_TRUE(IsWindow(control)) << row.name;
        const RECT actual = RectIn(dialog->Handle(), control);
        const RECT expected = row.expected(client);
        EXPECT_EQ(actual.left, expected.left) << row.name;
        EXPECT_EQ(actual.top, expected.top) << row.name;
        EXPECT_EQ(actual.right, expected.right) << row.name;
        EXPECT_EQ(actual.bottom, expected.bottom) << row.name;
    }
}

TEST_F(AboutBox, TextsAndTargets) {
    EXPECT_EQ(Text(dialog->Handle()), "Info \xFC" "ber Quendel");
    EXPECT_EQ(Text(dialog->m_versionLabel.Handle()), "V1.2.28 Build (00209)");
    EXPECT_EQ(dialog->m_versionLabel.m_textColour, 0xFFFFFFu);
    EXPECT_NE(dialog->m_versionLabel.Font(), static_cast<HFONT>(NULL));
    const std::string web = kQuendelWebAddress, mail = kQuendelMailAddress;
    EXPECT_EQ(web.rfind("https://www.example.org/", 0), 0u);  // a reserved example domain
    EXPECT_NE(mail.find("@example.org"), std::string::npos);
    EXPECT_EQ(Text(dialog->m_webLink.Handle()), web);
    EXPECT_EQ(dialog->m_webLink.Target(), web);
    EXPECT_EQ(Text(dialog->m_mailLink.Handle()), mail);
    EXPECT_EQ(dialog->m_mailLink.Target(), "mailto:" + mail);
}

TEST_F(AboutBox, LinkLookIsSet) {
    EXPECT_EQ(C_LinkWnd::NormalColour(), 0xFAFAFAu);
    EXPECT_EQ(C_LinkWnd::PressedColour(), 0x000000u);
    EXPECT_EQ(C_LinkWnd::VisitedColour(), 0xFFFAFAu);
    EXPECT_EQ(C_LinkWnd::HoverColour(), 0x0000FFu);
    EXPECT_EQ(C_LinkWnd::LinkCursor(), LoadCursorA(Module(), MAKEINTRESOURCEA(IDC_HAND_CURSOR)));
    EXPECT_NE(C_LinkWnd::LinkCursor(), static_cast<HCURSOR>(NULL));
}

TEST_F(AboutBox, PictureFillsTheFace) {
    HWND picture = GetDlgItem(dialog->Handle(), -1);
    ASSERT_NE(picture, static_cast<HWND>(NULL));
    EXPECT_EQ(GetWindowLongA(picture, GWL_STYLE) & SS_TYPEMASK, SS_BITMAP);
    const RECT rect = RectIn(dialog->Handle(), picture);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_GE(rect.right, client.right);
    EXPECT_GE(rect.bottom, client.bottom);
}

// The generated assets as Windows loads them.
TEST(AboutResources, BitmapIs400By267In256Colours) {
    HRSRC resource = FindResourceA(Module(), MAKEINTRESOURCEA(IDB_ABOUT), MAKEINTRESOURCEA(2));  // RT_BITMAP
    ASSERT_NE(resource, static_cast<HRSRC>(NULL));
    const auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(Module(), resource)));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->biWidth, 400);
    EXPECT_EQ(header->biHeight, 267);
    EXPECT_EQ(header->biBitCount, 8);
}

TEST(AboutResources, CursorHotSpotIsTopLeft) {
    HCURSOR cursor = LoadCursorA(Module(), MAKEINTRESOURCEA(IDC_HAND_CURSOR));
    ASSERT_NE(cursor, static_cast<HCURSOR>(NULL));
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 0u);
    EXPECT_EQ(info.yHotspot, 0u);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
}

// Every way the box closes, many times over: the toolkit's own handles return to where they
// were. Wine reports no GDI or USER object counts (GetGuiResources answers 0), so the
// toolkit's owners count what they hold; the platform's counts are checked as well where
// they are reported.
struct ClosePath {
    const char* name;
    void (*close)(C_AboutDlg&);
};

const ClosePath kClosePaths[] = {
    {"Escape", [](C_AboutDlg& d) { SendMessageA(d.Handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); }},
    {"Enter", [](C_AboutDlg& d) { SendMessageA(d.Handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }},
    {"CloseBox", [](C_AboutDlg& d) { SendMessageA(d.Handle(), WM_CLOSE, 0, 0); }},
    {"DestroyedWithTheObject", [](C_AboutDlg&) {}},
};

TEST(AboutLifetime, RepeatedOpenAndCloseLeavesNothingBehind) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    {
        C_AboutDlg warmUp;  // the class registration and the first loads
        ASSERT_TRUE(warmUp.Create());
    }
    const long owned = quendel_toolkit::LiveOwnedHandles();
    const DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const DWORD user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    for (const ClosePath& path : kClosePaths) {
        for (int round = 0; round < 10; ++round) {
            HWND window = NULL;
            {
                C_AboutDlg dialog;
                ASSERT_TRUE(dialog.Create());
                window = dialog.Handle();
                EXPECT_GT(quendel_toolkit::LiveOwnedHandles(), owned);
                path.close(dialog);
            }
            EXPECT_FALSE(IsWindow(window)) << path.name;
            EXPECT_EQ(quendel_toolkit::LiveOwnedHandles(), owned) << path.name << " round " << round;
        }
    }
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdi);
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), user);
}

TEST(AboutLifetime, ReopeningMakesFreshControls) {
    C_AboutDlg dialog;
    ASSERT_TRUE(dialog.Create());
    HWND firstLink = dialog.m_webLink.Handle();
    dialog.Destroy();
    EXPECT_FALSE(IsWindow(firstLink));
    EXPECT_EQ(dialog.m_webLink.Handle(), static_cast<HWND>(NULL));
    const long owned = quendel_toolkit::LiveOwnedHandles();
    ASSERT_TRUE(dialog.Create());
    EXPECT_TRUE(IsWindow(dialog.m_webLink.Handle()));
    dialog.Destroy();
    // The second run replaced the first run's fonts and tool tips instead of adding to them.
    EXPECT_EQ(quendel_toolkit::LiveOwnedHandles(), owned);
}

}  // namespace
