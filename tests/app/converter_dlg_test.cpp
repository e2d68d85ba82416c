// The main dialog in both templates, driven as a user would from the case tables in
// tests/data/app_dialog_*.tsv (their first lines tell how); random input; the time server button.
#include "app/converter_dlg.h"
#include "app/about_dlg.h"
#include "app/settings_dlg.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <functional>
#include <map>
#include <set>
#include <random>
#include <string>
#include <utility>

#include "app/federal_states.h"
#include "app/framework/text.h"
#include "app/holiday_calendar.h"
#include "app/resource_ids.h"
#include "net/loopback.h"
#include "net/sntp.h"
#include "app/sync_session.h"
#include "support/data_table.h"
#include "support/locale_scope.h"
#include "support/test_zones.h"
#include "support/user_zone_scope.h"
#include "timelib/time_source.h"

namespace {

unsigned __int64 g_now;  // in ticks
void StillClock(FILETIME* now) { *now = FILETIME{DWORD(g_now), DWORD(g_now >> 32)}; }

// The system's parts of a sync: the clock setter fails with g_setterError (0: sets),
// the elevation and the launch of an elevated copy are recorded.
DWORD g_setterError;
std::string g_set, g_launched;
bool g_elevated;
BOOL WINAPI RecordingSetter(const SYSTEMTIME* utc) {
    FILETIME set;
    SystemTimeToFileTime(utc, &set);
    g_set = std::to_string(C_Time(set).GetTimeUTC());
    SetLastError(g_setterError);
    return g_setterError == 0;
}
DWORD RecordingLauncher(const char* parameters) { return g_launched = parameters, 0; }

const std::map<std::string, int> kFields = {
    {"FILETIME", IDC_FILETIME}, {"UNIXTIME", IDC_UNIXTIME}, {"OLETIME", IDC_OLETIME},   {"DATE", IDC_DATE},
    {"TIME", IDC_TIME},         {"LOCAL", IDC_LOCAL},       {"UTC", IDC_UTC},           {"DAY", IDC_DAY},
    {"SEASON", IDC_SEASON},     {"ZONE", IDC_ZONE},         {"BIAS", IDC_BIAS},         {"DSTBIAS", IDC_DSTBIAS},
    {"DSTSTART", IDC_DSTSTART}, {"DSTEND", IDC_DSTEND},     {"DSTSTART_HINT", IDC_DSTSTART_HINT}, {"DSTEND_HINT", IDC_DSTEND_HINT},     {"RELDAYS", IDC_RELDAYS},   {"CLOCK", IDC_CLOCK},
    {"BUTTON", IDOK},           {"ZONES", IDC_ZONES},       {"HOLIDAYS", IDC_HOLIDAYS}, {"HEX", IDC_HEX},
    {"SYNC", IDC_SYNC},         {"LEGEND", IDC_HOLIDAY_LEGEND}, {"STAMP", IDC_STAMP}, {"STAMPS", IDC_STAMP_LIST},
    {"COPY", IDC_COPY_AS},      {"NOTE", IDC_LOCAL_NOTE},   {"OTHER", IDC_OTHER_TIME}};

// The fixture is the dialog; it answers message boxes and keeps them.
class ConverterDialog : public ::testing::TestWithParam<int>, public C_ConverterDlg {
protected:
    ConverterDialog() : C_ConverterDlg(GetParam()), clock(quendel::SetClockSource(StillClock)) {
        locale.German();
        RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\QuendelTest", 0, NULL, 0, KEY_ALL_ACCESS, NULL, &scratch, NULL);
        RegOverridePredefKey(HKEY_CURRENT_USER, scratch);  // the settings of the test, not the user's
    }
    ~ConverterDialog() override {
        quendel::SetClockSource(clock);
        RegOverridePredefKey(HKEY_CURRENT_USER, NULL);
        RegCloseKey(scratch);
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\QuendelTest");
        if (!file.empty()) DeleteFileA(file.c_str());
    }
    int ShowMessage(const char* text, const char* caption, UINT) const override {
        messages += std::string(messages.empty() ? "" : " | ") + caption + ": " + text;
        const char answer = answers.empty() ? 'o' : answers[0];  // y, n or (none left) OK
        if (!answers.empty()) answers.erase(0, 1);
        return answer == 'y' ? IDYES : answer == 'n' ? IDNO : IDOK;
    }
    // The menu's first two entries (and how many there are beyond), and where it opens: "under
    // line N" of the holiday list, or "under the button" (Kopieren als), at the left end of the
    // lower edge (sizes follow the host's fonts), else the point in the list. Chooses the entry
    // of menuKey.
    int TrackMenu(HMENU menu, int x, int y) override {
        char text[100] = "";
        POINT at = {x, y};
        ScreenToClient(Item("HOLIDAYS"), &at);
        std::string where = FormatText("at %ld,%ld", at.x, at.y);
        RECT line = {}, button = {};
        for (int i = 0; SendMessageA(Item("HOLIDAYS"), LB_GETITEMRECT, i, LPARAM(&line)) != LB_ERR && line.top <= at.y; ++i)
            if (at.x == line.left && at.y == line.bottom) where = FormatText("under line %d", i);
        if (GetWindowRect(Item("COPY"), &button) && x == button.left && y == button.bottom) where = "under the button";
        messages += FormatText("%smenu %s:", messages.empty() ? "" : " | ", where.c_str());
        int chosen = 0;
        for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
            GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
            if (i < 2) messages += std::string(i ? ";" : "") + " " + text;
            if (i == 2) messages += FormatText("; ... (%d)", n);
            const char* key = std::strchr(text, '&');
            if (key && std::toupper(BYTE(key[1])) == std::toupper(BYTE(menuKey))) chosen = i;
        }
        return static_cast<int>(GetMenuItemID(menu, chosen));
    }
    std::string ChooseCalendarFile(const std::string& suggestion) override {
        return messages += " | save as " + suggestion, file;
    }

    void Open(bool machineZone, bool keepZone) {  // in the machine's zone: with no user zone at all
        Destroy();
        if (!keepZone) RegDeleteKeyValueA(HKEY_CURRENT_USER, "Software\\Quendel", kZoneSetting);
        g_now = 127167408000000000;  // 2003-12-24 12:00 UTC
        TIME_ZONE_INFORMATION zone = test_zones::WEurope();
        C_Time::SetLocTimeZoneInfo(machineZone ? nullptr : &zone);
        g_lastInput = 1;
        ASSERT_TRUE(Create());
    }
    HWND Item(const std::string& name) const { return GetDlgItem(Handle(), kFields.at(name)); }
    void Command(int id, int code) {
        SendMessageA(Handle(), WM_COMMAND, MAKEWPARAM(id, code), LPARAM(GetDlgItem(Handle(), id)));
    }

    void Choose(const std::string& prefix) {  // a zone, the first that begins so, as the user does
        ASSERT_GE(SendMessageA(Item("ZONES"), CB_SELECTSTRING, WPARAM(-1), LPARAM(prefix.c_str())), 0) << prefix;
        Command(IDC_ZONES, CBN_SELCHANGE);
    }
    // What a field shows ("-" where the template has none); of the list, count and first line's end.
    std::string Value(const std::string& name) {
        char text[300] = "", menu[100] = "";
        GetMenuStringA(GetSystemMenu(Handle(), FALSE), IDM_ABOUTBOX, menu, sizeof menu, MF_BYCOMMAND);
        if (name == "SYSMENU") return menu;
        if (name == "TICKS") return std::to_string(m_time.GetTimeUTC());
        if (name == "MSG") {  // the responder's port as <port>
            std::string shown = std::exchange(messages, "");
            for (std::size_t at; !port.empty() && (at = shown.find(port)) != std::string::npos;)
                shown.replace(at, port.size(), "<port>");
            return shown;
        }
        if (name == "REQUESTS") return std::to_string(requests());
        if (name == "CLIP" && OpenClipboard(Handle())) {  // the clipboard's Unicode text
            const HANDLE data = GetClipboardData(CF_UNICODETEXT);
            const std::string clip = data ? WideToAnsi(static_cast<const WCHAR*>(GlobalLock(data))) : "none";
            if (data) GlobalUnlock(data);
            CloseClipboard();
            return clip;
        }
        if (name == "SET" || name == "LAUNCH") return std::exchange(name == "SET" ? g_set : g_launched, "none");
        if (name == "FILE") {  // the calendar file's events and legal holidays
            const std::string ics(std::istreambuf_iterator<char>(std::ifstream(file, std::ios::binary).rdbuf()), {});
            return FormatText("%d Termine, %d Feiertage", Count(ics, "BEGIN:VEVENT\r\n"), Count(ics, "CATEGORIES:Feiertag\r\n"));
        }
        if (name == "ZONETIP") {
            TOOLINFOA tool = {};
            tool.cbSize = TTTOOLINFOA_V1_SIZE, tool.uFlags = TTF_IDISHWND, tool.hwnd = Handle();
            tool.uId = UINT_PTR(Item("ZONES")), tool.lpszText = text;
            SendMessageA(m_zoneTip.Handle(), TTM_GETTEXTA, sizeof text, LPARAM(&tool));
            return text;
        }
        if (name == "WIDE") return std::to_string(WideLines());
        if (name == "FIT") return CutTexts(Handle());
        if (name == "ABOUTFIT") {  // the about box over the dialog, at its DPI
            C_AboutDlg about;
            if (!about.Create(Handle())) return "no about box";
            if (Dpi() != 96) Rescale(about.Handle(), Dpi(), 96);
            return CutTexts(about.Handle());
        }
        if (name == "FOCUS") {  // the field with the focus, and whether all its text is selected
            DWORD from = 0, to = 0;
            SendMessageA(GetFocus(), EM_GETSEL, WPARAM(&from), LPARAM(&to));
            for (const auto& [field, id] : kFields)
                if (GetFocus() == GetDlgItem(Handle(), id))
                    return field + (from == 0 && to == DWORD(GetWindowTextLengthA(GetFocus())) ? " selected" : "");
            return "none";
        }
        if (name == "CLIPBOARD") {  // its lines' count and first line, as text
            std::string copied;
            if (OpenClipboard(Handle())) {
                if (const HANDLE data = GetClipboardData(CF_TEXT)) copied = static_cast<const char*>(GlobalLock(data)), GlobalUnlock(data);
                CloseClipboard();
            }
            return std::to_string(Count(copied, "\r\n")) + "|" + copied.substr(0, copied.find("\r\n"));
        }
        if (name == "PLACE") {  // the window's corner, or "centred" on the primary monitor's work area
            RECT r, w;
            GetWindowRect(Handle(), &r), SystemParametersInfoA(SPI_GETWORKAREA, 0, &w, 0);
            if (std::abs(r.left + r.right - w.left - w.right) <= 1 && std::abs(r.top + r.bottom - w.top - w.bottom) <= 1)
                return "centred";
            return std::to_string(r.left) + "," + std::to_string(r.top);
        }
        if (!Item(name)) return "-";
        if (!(GetWindowLongA(Item(name), GWL_STYLE) & WS_VISIBLE)) return "hidden";
        GetWindowTextA(Item(name), text, sizeof text);
        if (name == "BUTTON" && !IsWindowEnabled(Item(name))) return "off";
        if (name != "HOLIDAYS" && name != "STAMPS") return text;
        SendMessageA(Item(name), LB_GETTEXT, 0, LPARAM(text));
        const std::string first = text;
        if (name == "STAMPS") return std::to_string(SendMessageA(Item(name), LB_GETCOUNT, 0, 0)) + "|" + first;
        return std::to_string(SendMessageA(Item(name), LB_GETCOUNT, 0, 0)) + "|" +
               first.substr(first.rfind('\t', first.rfind('\t') - 1) + 1);
    }

    void Step(const std::string& cell) {
        const std::size_t mark = cell.find_first_of(":= ");
        const std::string head = cell.substr(0, mark), arg = mark == std::string::npos ? "" : cell.substr(mark + 1);
        const std::map<std::string, std::function<void()>> actions = {
            {"open", [&] { Open(arg == "machine", arg == "kept"); }},
            {"stored", [&] { RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Quendel", kZoneSetting, REG_SZ, arg.c_str(), DWORD(arg.size() + 1)); }},
            {"dpi", [&] { Rescale(Handle(), std::stoul(arg), Dpi()); }},
            {"choose", [&] { menuKey = arg[0]; }},
            {"select", [&] { SendMessageA(Item("HOLIDAYS"), LB_SETCURSEL, std::stoi(arg), 0); }},
            {"enter", [&] { Command(IDOK, BN_CLICKED); }},
            {"click", [&] { SendMessageA(Item(arg), BM_CLICK, 0, 0); }},
            {"zone", [&] { Choose(arg); }},
            {"now", [&] { g_now = std::stoull(arg); }},
            {"label", [&] { SetDlgItemTextA(Handle(), IDC_CLOCK, arg.c_str()); }},
            {"timer", [&] { SendMessageA(Handle(), WM_TIMER, 14, 0); }},
            {"drop", [&] { SendMessageA(Item("ZONES"), CB_SHOWDROPDOWN, TRUE, 0); }},
            {"type", [&] { for (char c : arg) SendMessageA(Item("ZONES"), WM_CHAR, BYTE(c), 0); }},
            {"wait", [&] { g_now += std::stoull(arg) * 10000; }},  // ms on the dialog's clock
            {"reading", [&] { SendMessageA(Item("STAMPS"), LB_SETCURSEL, std::stoi(arg), 0), Command(IDC_STAMP_LIST, LBN_SELCHANGE); }},
            {"pick", [&] { SendMessageA(Item("ZONES"), CB_SETCURSEL, std::stoi(arg), 0), Command(IDC_ZONES, CBN_SELCHANGE); }},
            {"move", [&] { SetWindowPos(Handle(), NULL, std::stoi(arg), std::stoi(arg.substr(arg.find(',') + 1)), 0, 0, SWP_NOSIZE); }},
            {"escape", [&] { Command(IDCANCEL, BN_CLICKED); }},
            {"state", [&] { WriteStateSetting(StateFromCode(arg.c_str())), ReloadHolidayState(); }},
            {"file", [&] { file = arg == "-" || arg.find(':') != std::string::npos ? arg.substr(arg == "-") : std::string(std::getenv("TEMP")) + "\\" + arg; }},
            {"menu", [&] { OpenMenu(arg); }},
            {"answer", [&] { answers = arg; }},
            {"setter", [&] { g_setterError = std::stoul(arg); }},
            {"elevated", [&] { g_elevated = arg == "1"; }},
            {"settle", [&] {  // until the sync has ended, its pauses and questions included
                 for (const DWORD start = GetTickCount(); SyncRunning() && GetTickCount() - start < 20000;)
                     if (MSG m; MsgWaitForMultipleObjects(0, NULL, FALSE, 50, QS_ALLINPUT), PeekMessageA(&m, NULL, 0, 0, PM_REMOVE))
                         TranslateMessage(&m), DispatchMessageA(&m);
             }}};
        if (mark != std::string::npos && cell[mark] == '=') {
            const std::string actual = Value(head);  // of a zone's name, Windows' own, a part
            EXPECT_TRUE(actual == "-" || (head == "ZONES" ? actual.find(arg) != std::string::npos : actual == arg))
                << head << " shows \"" << actual << "\"";
        } else if (mark != std::string::npos && cell[mark] == ':') {
            SetWindowTextA(Item(head), arg.c_str());  // as the user types: EN_CHANGE
        } else {
            actions.at(head)();
        }
    }

    void OpenMenu(const std::string& at) {  // "key", or by the mouse at a point of the list
        POINT p = {-1, -1};
        if (at != "key" && std::sscanf(at.c_str(), "%ld,%ld", &p.x, &p.y) == 2) ClientToScreen(Item("HOLIDAYS"), &p);
        SendMessageA(Handle(), WM_CONTEXTMENU, WPARAM(Item("HOLIDAYS")), MAKELPARAM(p.x, p.y));
    }
    static int Count(const std::string& text, const std::string& what) {
        int n = 0;
        for (std::size_t at = 0; (at = text.find(what, at)) != std::string::npos; at += what.size()) ++n;
        return n;
    }
    // The window moved to a monitor of dpi (from the one it is made for).
    static void Rescale(HWND window, UINT dpi, UINT from) {
        RECT r;
        GetWindowRect(window, &r);
        r.right = r.left + MulDiv(r.right - r.left, dpi, from), r.bottom = r.top + MulDiv(r.bottom - r.top, dpi, from);
        SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), LPARAM(&r));
    }
    // The texts the program writes into its windows (the children with an identifier, and the
    // links) that are wider, in their own fonts, than the room their controls give them.
    std::string CutTexts(HWND parent) {
        std::string cut;
        for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            char text[300] = "", kind[40] = "";
            const int length = GetWindowTextA(c, text, sizeof text);
            GetClassNameA(c, kind, sizeof kind);
            const bool edit = !lstrcmpiA(kind, "Edit"), label = !lstrcmpiA(kind, "Static");
            if ((label && GetDlgCtrlID(c) == IDC_STATIC) || lstrcmpiA(kind, "Button") == 0 || !lstrcmpiA(kind, "ComboBox") ||
                !lstrcmpiA(kind, "ListBox") || length == 0)
                continue;
            RECT room;
            GetClientRect(c, &room);
            if (edit) SendMessageA(c, EM_GETRECT, 0, LPARAM(&room));
            const HDC dc = GetDC(c);
            const HGDIOBJ old = SelectObject(dc, HGDIOBJ(SendMessageA(c, WM_GETFONT, 0, 0)));
            SIZE size = {};
            GetTextExtentPoint32A(dc, text, length, &size);
            SelectObject(dc, old);
            ReleaseDC(c, dc);
            if (size.cx > room.right - room.left - (edit ? 0 : 1)) cut += std::string(cut.empty() ? "" : " | ") + text;
        }
        return cut;
    }
    // The holiday lines wider than the list's room, by its font and tab stops.
    int WideLines() {
        const HWND list = Item("HOLIDAYS");
        const HDC dc = GetDC(list);
        const HGDIOBJ old = SelectObject(dc, HGDIOBJ(SendMessageA(list, WM_GETFONT, 0, 0)));
        int stops[kHolidayTabStopCount], wide = 0;
        for (int i = 0; i < kHolidayTabStopCount; ++i) {
            RECT r = {kHolidayTabStops[i], 0, 0, 0};
            stops[i] = MapDialogRect(Handle(), &r) ? r.left : 0;
        }
        RECT room;
        GetClientRect(list, &room);
        char text[200];
        for (int i = 0, n = int(SendMessageA(list, LB_GETCOUNT, 0, 0)); i < n; ++i) {
            const int length = int(SendMessageA(list, LB_GETTEXT, i, LPARAM(text)));
            wide += LOWORD(GetTabbedTextExtentA(dc, text, length, kHolidayTabStopCount, stops)) > room.right - 2;
        }
        SelectObject(dc, old);
        ReleaseDC(list, dc);
        return wide;
    }

    // The rows for this template; no message goes unchecked.
    void Run(const std::string& table) {
        for (const data_table::Row& row : data_table::Read(table)) {
            if (row[0] != "*" && row[0] != (GetParam() == IDD_CONVERTER_EXPERT ? "E" : "S")) continue;
            SCOPED_TRACE(::testing::PrintToString(row));
            for (std::size_t i = 1; i < row.size(); ++i) Step(row[i]);
            EXPECT_EQ(messages, "");
        }
    }

    LocaleScope locale;
    UserZoneScope zoneScope;
    quendel::ClockSource clock;    // the one before
    mutable std::string messages;  // "caption: text", " | " between them
    HKEY scratch = NULL;
    std::string file;  // what the Save dialog answers
    mutable std::string answers;   // to the coming questions
    char menuKey = 'K';            // the mnemonic the context menu is answered with
    std::string port;
    std::function<int()> requests;  // the time server's count
};

}  // namespace

TEST_P(ConverterDialog, Display) { Run("app_dialog_display.tsv"); }
TEST_P(ConverterDialog, Inputs) { Run("app_dialog_inputs.tsv"); }
TEST_P(ConverterDialog, Zones) { Run("app_dialog_zones.tsv"); }
TEST_P(ConverterDialog, Window) { Run("app_dialog_window.tsv"); }
TEST_P(ConverterDialog, Stamps) { Run("app_dialog_stamps.tsv"); }
TEST_P(ConverterDialog, TextsFit) { Run("app_dialog_fit.tsv"); }

// Each dialog's Tab order and the mnemonics that reach its controls, against app_keyboard.tsv.
TEST(Keyboard, TabOrderAndMnemonics) {
    for (const data_table::Row& row : data_table::Read("app_keyboard.tsv")) {
        const int id = std::stoi(row[0]);
        C_ConverterDlg converter(id == IDD_CONVERTER_EXPERT ? id : IDD_CONVERTER_SIMPLE);
        C_AboutDlg about;
        C_SettingsDlg settings;
        C_Dialog& dialog = id == IDD_ABOUT ? about : id == IDD_SETTINGS ? static_cast<C_Dialog&>(settings) : converter;
        // The about box and the settings dialog open over the main window, centred.
        ASSERT_TRUE(converter.Create() && (&dialog == &converter || dialog.Create(converter.Handle())));
        RECT a, b;
        GetWindowRect(dialog.Handle(), &a), GetWindowRect(converter.Handle(), &b);
        EXPECT_LE(std::abs(a.left + a.right - b.left - b.right) + std::abs(a.top + a.bottom - b.top - b.bottom), 2) << id;
        SetDlgItemTextA(dialog.Handle(), IDC_DATE, "1.1.2000");  // an edit enables "Übernehmen"
        std::map<HWND, std::string> reaches;  // a static's mnemonic reaches the next tab stop, a button's itself
        std::set<std::string> keys;
        std::string pending, walk, text(100, '\0');
        for (HWND c = GetWindow(dialog.Handle(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            GetWindowTextA(c, text.data(), 100);
            const std::size_t amp = std::string(text.c_str()).find('&');  // not a stale one past the end
            std::string key = amp < std::strlen(text.c_str()) - 1 ? text.substr(amp + 1, 1) : "";
            CharUpperBuffA(key.data(), key.size());
            EXPECT_TRUE(key.empty() || keys.insert(key).second) << row[0] << " twice: " << key;
            if (SendMessageA(c, WM_GETDLGCODE, 0, 0) & DLGC_STATIC) pending = key.empty() ? pending : key;
            else if (GetWindowLongA(c, GWL_STYLE) & WS_TABSTOP) reaches[c] = key.empty() ? std::exchange(pending, "") : key;
        }
        for (HWND first = GetNextDlgTabItem(dialog.Handle(), NULL, FALSE), c = first; c && (c != first || walk.empty());
             c = GetNextDlgTabItem(dialog.Handle(), c, FALSE)) {
            GetWindowTextA(c, text.data(), 100);
            walk.append(walk.empty() ? "" : " ").append(GetDlgCtrlID(c) ? std::to_string(GetDlgCtrlID(c)) : text.c_str());
            if (!reaches[c].empty()) walk.append(":").append(reaches[c]);
        }
        std::string expected;
        for (std::size_t i = 1; i < row.size(); ++i) expected += (i > 1 ? " " : "") + row[i];
        EXPECT_EQ(walk, expected) << row[0];
    }
}

// A loopback server at 2026-12-06 12:00:05.250 UTC (NTP seconds 0xEEBFCCC5, fraction 2^30) whose
// first three replies answer some other request; the clock itself is left alone.
TEST_P(ConverterDialog, InternetSync) {
    std::atomic<int> replies = 0;
    loopback::UdpResponder server([&replies](const loopback::Bytes& request) {
        loopback::Bytes reply(48, 0);
        reply[0] = 0x24;  // version 4, server
        reply[1] = 1;
        std::memcpy(&reply[24], &request[40], 8);
        reply[24] ^= ++replies <= 3;
        for (int at : {32, 40}) std::memcpy(&reply[at], "\xEE\xBF\xCC\xC5\x40\0\0\0", 8);
        return reply;
    });
    ASSERT_TRUE(server.Ready());
    port = std::to_string(server.Port());
    requests = [&server] { return server.Requests(); };
    const sync_session::Hooks previous = sync_session::SetHooks(
        {RecordingSetter, [] { return g_elevated; }, RecordingLauncher, {{"127.0.0.1", server.Port()}}});
    g_set = g_launched = "none";
    Run("app_dialog_sync.tsv");
    sync_session::SetHooks(previous);
}

INSTANTIATE_TEST_SUITE_P(Templates, ConverterDialog, ::testing::Values(IDD_CONVERTER_EXPERT, IDD_CONVERTER_SIMPLE));
