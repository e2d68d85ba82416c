// The application's resources as Windows loads them: the about-box menu text, the icon, the
// version and both main-dialog templates, created as real (headless) dialogs.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

HINSTANCE Module() { return GetModuleHandleA(NULL); }

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

std::string Text(HWND window) {
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ClassOf(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

LONG Style(HWND window) { return GetWindowLongA(window, GWL_STYLE); }

// One control of a template with an identifier of its own.
struct Control {
    int id;
    const char* className;
    const char* text;
    RECT dialogUnits;  // left, top, width, height as in the template
    bool readOnly;
};

// A dialog created from one template, destroyed at the end of the test.
class Dialog {
public:
    explicit Dialog(int templateId)
        : window_(CreateDialogParamA(Module(), MAKEINTRESOURCEA(templateId), NULL, QuietDialogProc, 0)) {}
    ~Dialog() {
        if (window_) DestroyWindow(window_);
    }
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;
    HWND get() const { return window_; }

private:
    HWND window_;
};

const std::vector<Control> kExpertControls = {
    {1031, "ComboBox", "", {13, 3, 241, 266}, false},
    {1033, "Static", "Static", {76, 22, 109, 16}, false},
    {1032, "Button", "Internet-Sync ", {194, 23, 60, 14}, false},
    {2001, "Edit", "", {75, 43, 110, 14}, false},
    {2000, "Edit", "", {75, 59, 110, 14}, false},
    {2002, "Edit", "", {75, 75, 110, 14}, false},
    {2003, "Edit", "", {75, 91, 54, 14}, false},
    {2004, "Edit", "", {132, 91, 53, 14}, false},
    {1, "Button", "\xDC" "bernehmen", {194, 43, 60, 23}, false},
    {2010, "Button", "Hexadecimal", {196, 72, 57, 10}, false},
    {1001, "Edit", "", {76, 109, 109, 14}, true},
    {1003, "Edit", "", {76, 126, 109, 14}, true},
    {1002, "Edit", "", {76, 158, 179, 14}, true},
    {1005, "Edit", "", {76, 142, 179, 14}, true},
    {1004, "Edit", "", {187, 109, 68, 14}, true},
    {1006, "Edit", "", {76, 175, 56, 14}, true},
    {1007, "Edit", "", {199, 175, 56, 14}, true},
    {1008, "Edit", "", {76, 191, 179, 14}, true},
    {1009, "Edit", "", {76, 207, 179, 14}, true},
    {1030, "ListBox", "", {75, 228, 180, 59}, false},
};

const std::vector<Control> kSimpleControls = {
    {1031, "ComboBox", "", {11, 3, 244, 266}, false},
    {1033, "Static", "Static", {76, 22, 109, 16}, false},
    {1032, "Button", "Internet-Sync ", {194, 23, 60, 14}, false},
    {2003, "Edit", "", {76, 41, 54, 14}, false},
    {2004, "Edit", "", {132, 41, 53, 14}, false},
    {1001, "Edit", "", {76, 59, 109, 14}, true},
    {1003, "Edit", "", {76, 76, 109, 14}, true},
    {1002, "Edit", "", {76, 130, 179, 14}, true},
    {1005, "Edit", "", {76, 114, 179, 14}, true},
    {1004, "Edit", "", {188, 59, 68, 14}, true},
    {1008, "Edit", "", {76, 147, 179, 14}, true},
    {1009, "Edit", "", {76, 165, 179, 14}, true},
    {1030, "ListBox", "", {76, 186, 180, 74}, false},
    {1010, "Edit", "", {76, 95, 179, 14}, true},
};

const std::vector<std::string> kExpertLabels = {
    "PC-Clock", "Filetime", "Unixtime", "OleTime", "Datum / Uhrzeit", "Local-Datum", "UTC-Datum",
    "Jahreszeit", "Zeitzone", "bias (timezone)", "bias (daylight)", "Daylight Start", "Daylight Ende",
    "( 1:59 -> 3:00 )", "( 2:59 -> 2:00 )", "Feiertage",
};

const std::vector<std::string> kSimpleLabels = {
    "PC-Clock", "Datum / Uhrzeit", "Lokale Zeit", "Weltzeit (UTC)", "Jahreszeit", "Zeitzone",
    "Sommerzeit Anfang", "Sommerzeit Ende", "( 1:59 -> 3:00 )", "( 2:59 -> 2:00 )", "Feiertage",
    "(** = gesetzliche)", "Tage relativ zu Heute",
};

// Texts of the plain labels (identifier -1).
std::multiset<std::string> PlainLabels(HWND dialog) {
    std::multiset<std::string> labels;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (static_cast<WORD>(GetDlgCtrlID(child)) == 0xFFFF) {
            EXPECT_EQ(ClassOf(child), "Static");
            labels.insert(Text(child));
        }
    return labels;
}

// The control's rectangle in the dialog's client coordinates.
RECT ClientRect(HWND dialog, HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void CheckDialog(int templateId, const std::vector<Control>& controls, const std::vector<std::string>& labels) {
    ASSERT_NE(FindResourceA(Module(), MAKEINTRESOURCEA(templateId), MAKEINTRESOURCEA(5) /* RT_DIALOG */), nullptr);
    Dialog dialog(templateId);
    HWND dlg = dialog.get();
    ASSERT_NE(dlg, nullptr);

    EXPECT_EQ(Text(dlg), "Quendel 1.2.28");
    const LONG style = Style(dlg);
    EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_SYSMENU), WS_POPUP | WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    EXPECT_TRUE(GetWindowLongA(dlg, GWL_EXSTYLE) & WS_EX_APPWINDOW);

    for (const Control& c : controls) {
        SCOPED_TRACE(c.id);
        HWND control = GetDlgItem(dlg, c.id);
        ASSERT_NE(control, nullptr);
        EXPECT_STRCASEEQ(ClassOf(control).c_str(), c.className);
        EXPECT_EQ(Text(control), c.text);
        const LONG controlStyle = Style(control);
        if (std::string(c.className) == "Edit") {
            EXPECT_EQ((controlStyle & ES_READONLY) != 0, c.readOnly);
            EXPECT_TRUE(controlStyle & ES_AUTOHSCROLL);
            // The dialog manager turns an edit's border into a sunken client edge.
            EXPECT_TRUE((controlStyle & WS_BORDER) || (GetWindowLongA(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE));
            EXPECT_TRUE(controlStyle & WS_TABSTOP);
        }
        // Position and size convert separately, as the dialog manager does it.
        RECT expected = c.dialogUnits;
        MapDialogRect(dlg, &expected);
        const RECT actual = ClientRect(dlg, control);
        EXPECT_EQ(actual.left, expected.left);
        EXPECT_EQ(actual.top, expected.top);
        EXPECT_EQ(actual.right - actual.left, expected.right);
        // A drop-down combo box is as high as its edit field, not as its template rectangle.
        if (c.id != 1031) {
            EXPECT_EQ(actual.bottom - actual.top, expected.bottom);
        }
    }

    HWND zones = GetDlgItem(dlg, 1031);
    EXPECT_EQ(Style(zones) & 0xF, CBS_DROPDOWNLIST);
    EXPECT_TRUE(Style(zones) & CBS_SORT);

    HWND clock = GetDlgItem(dlg, 1033);
    EXPECT_EQ(Style(clock) & SS_TYPEMASK, SS_CENTER);
    EXPECT_TRUE(Style(clock) & SS_CENTERIMAGE);
    EXPECT_TRUE(Style(clock) & SS_SUNKEN);

    const LONG listStyle = Style(GetDlgItem(dlg, 1030));
    // The list box shows its scroll bar only when needed, so WS_VSCROLL does not survive creation.
    EXPECT_EQ(listStyle & (LBS_USETABSTOPS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_TABSTOP),
              LBS_USETABSTOPS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_TABSTOP);
    EXPECT_EQ(listStyle & LBS_SORT, 0);

    EXPECT_EQ(PlainLabels(dlg), std::multiset<std::string>(labels.begin(), labels.end()));

    // The change-over hints are greyed out and centred.
    for (HWND child = GetWindow(dlg, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const std::string text = Text(child);
        if (text == "( 1:59 -> 3:00 )" || text == "( 2:59 -> 2:00 )") {
            EXPECT_FALSE(IsWindowEnabled(child)) << text;
            EXPECT_EQ(Style(child) & SS_TYPEMASK, SS_CENTER) << text;
        }
    }
}

TEST(Resources, AboutBoxMenuText) {
    char text[128] = "";
    ASSERT_GT(LoadStringA(Module(), 101, text, sizeof text), 0);
    EXPECT_STREQ(text, "Inf&o \xFC" "ber Quendel ...");
}

#pragma pack(push, 2)
struct IconDirEntry {
    BYTE width, height, colourCount, reserved;
    WORD planes, bitCount;
    DWORD bytesInRes;
    WORD id;
};
struct IconDir {
    WORD reserved, type, count;
    IconDirEntry entries[1];
};
#pragma pack(pop)

TEST(Resources, IconHasLargeAndSmallSixteenColourImages) {
    EXPECT_NE(LoadIconA(Module(), MAKEINTRESOURCEA(128)), nullptr);
    HRSRC group = FindResourceA(Module(), MAKEINTRESOURCEA(128), MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */);
    ASSERT_NE(group, nullptr);
    const auto* dir = static_cast<const IconDir*>(LockResource(LoadResource(Module(), group)));
    ASSERT_NE(dir, nullptr);
    ASSERT_EQ(dir->type, 1);
    std::set<int> sizes;
    for (int i = 0; i < dir->count; ++i) {
        const IconDirEntry& e = dir->entries[i];
        EXPECT_EQ(e.width, e.height);
        EXPECT_EQ(e.colourCount, 16);
        EXPECT_EQ(e.bitCount, 4);
        sizes.insert(e.width);
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 32}));

    for (int size : {32, 16}) {
        HICON icon = static_cast<HICON>(LoadImageA(Module(), MAKEINTRESOURCEA(128), IMAGE_ICON, size, size, 0));
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO info;
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP colour;
        ASSERT_TRUE(GetObjectA(info.hbmColor, sizeof colour, &colour));
        EXPECT_EQ(colour.bmWidth, size);
        EXPECT_EQ(colour.bmHeight, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}

TEST(Resources, ManifestPresent) {
    EXPECT_NE(FindResourceA(Module(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24) /* RT_MANIFEST */), nullptr);
}

TEST(Resources, Version) {
    char path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(NULL, path, sizeof path), 0u);
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> data(size);
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, data.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, (1u << 16) | 2u);
    EXPECT_EQ(fixed->dwFileVersionLS, 28u << 16);
    EXPECT_EQ(fixed->dwProductVersionMS, (1u << 16) | 2u);
    EXPECT_EQ(fixed->dwProductVersionLS, 28u << 16);

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                               &length));
    ASSERT_GE(length, 4u);
    EXPECT_EQ(translation[0], 0x407);
    EXPECT_EQ(translation[1], 1200);

    for (const auto& [key, expected] : {std::pair<const char*, const char*>{"FileVersion", "1.2.28"},
                                        {"ProductVersion", "1.2.28"},
                                        {"ProductName", "Quendel"}}) {
        char* value = nullptr;
        const std::string query = std::string("\\StringFileInfo\\040704b0\\") + key;
        ASSERT_TRUE(VerQueryValueA(data.data(), query.c_str(), reinterpret_cast<void**>(&value), &length)) << key;
        EXPECT_STREQ(value, expected) << key;
    }
}

TEST(Resources, ExpertTemplate) {
    CheckDialog(102, kExpertControls, kExpertLabels);
    Dialog dialog(102);
    EXPECT_EQ(GetDlgItem(dialog.get(), 1010), nullptr);
    EXPECT_EQ(Style(GetDlgItem(dialog.get(), 1)) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_EQ(Style(GetDlgItem(dialog.get(), 2010)) & BS_TYPEMASK, BS_AUTOCHECKBOX);
}

TEST(Resources, SimpleTemplateLacksTheExpertControls) {
    CheckDialog(103, kSimpleControls, kSimpleLabels);
    Dialog dialog(103);
    for (int id : {1, 2010, 2000, 2001, 2002, 1006, 1007}) EXPECT_EQ(GetDlgItem(dialog.get(), id), nullptr) << id;
}

}  // namespace
