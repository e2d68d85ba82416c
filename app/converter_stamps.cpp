// The main dialog's pasted timestamp: the field "Zeitstempel", its list of readings and the
// "Kopieren als" menu.
#include <windows.h>

#include <string>

#include "app/converter_dlg.h"
#include "app/framework/text.h"
#include "app/input_parsing.h"
#include "app/resource_ids.h"
#include "wintoolkit/handles.h"

using namespace quendel::stamp;

namespace {

struct MenuTraits {
    using Handle = HMENU;
    static void Close(HMENU menu) { DestroyMenu(menu); }
};
using MenuHandle = quendel_toolkit::Owner<MenuTraits>;

struct GlobalTraits {
    using Handle = HGLOBAL;
    static void Close(HGLOBAL memory) { GlobalFree(memory); }
};
using MemoryHandle = quendel_toolkit::Owner<GlobalTraits>;

// The list's columns in dialog units: form, local time, UTC.
constexpr int kStampTabStops[] = {84, 160};

// "14.11.2023 23:13:20": to the second, so that the columns stay apart; the fields show the
// rest once a reading is chosen.
std::string Shown(std::uint64_t ticks) {
    SYSTEMTIME f;
    const FILETIME ft = {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    if (!FileTimeToSystemTime(&ft, &f)) return "?";
    return FormatText("%02u.%02u.%04u %02u:%02u:%02u", f.wDay, f.wMonth, f.wYear, f.wHour, f.wMinute, f.wSecond);
}

}  // namespace

void C_ConverterDlg::OnStampEdited() {
    g_lastInput = 5;
    if (IsExpert()) OnInput(5, "&Neuer Zeitstempel");
    ListStampReadings();
}

void C_ConverterDlg::ListStampReadings() {
    const HWND list = Item(IDC_STAMP_LIST);  // borrowed
    const HWND field = Item(IDC_STAMP);
    if (!list || !field) return;
    char text[256] = "";
    GetWindowTextA(field, text, sizeof text);
    std::string note;  // a value refused with a word (Excel's 29 February 1900): the list's last line
    m_stampChoices = ReadStampChoices(text, &note);
    SendMessageA(list, LB_SETTABSTOPS, 2, reinterpret_cast<LPARAM>(kStampTabStops));
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const StampChoice& c : m_stampChoices) {
        const std::string line = std::string(FormInfo(c.form).name) + "\t" + Shown(c.wall) + "\t" + Shown(c.utc);
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
    if (!note.empty()) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(note.c_str()));
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, NULL, TRUE);
}

void C_ConverterDlg::ConvertStamp() {
    const HWND list = Item(IDC_STAMP_LIST);
    char text[256] = "";
    GetWindowTextA(Item(IDC_STAMP), text, sizeof text);
    const std::string trimmed = Trimmed(text);
    if (trimmed.empty()) {  // as every field: the present moment
        m_time = C_Time("Now");
        Refresh();
        return;
    }
    // Enter in the list takes the reading chosen there.
    if (GetFocus() == list && SendMessageA(list, LB_GETCURSEL, 0, 0) >= 0) return OnStampChosen();
    std::string note;
    m_stampChoices = ReadStampChoices(trimmed, &note);
    ListStampReadings();
    if (m_stampChoices.empty())
        return void(Reject(IDC_STAMP, "Zeitstempel: \x84" + trimmed + "\x93 ist in keiner bekannten Form" +
                                          (note.empty() ? "" : " (" + note + ")") + ".\nGelesen werden: " + StampFormNames() + "."));
    int likely = 0, only = 0;
    for (int i = 0; i < static_cast<int>(m_stampChoices.size()); ++i)
        if (InLikelyYears(m_stampChoices[static_cast<std::size_t>(i)].utc)) ++likely, only = i;
    if (m_stampChoices.size() == 1 || likely == 1) {
        SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(m_stampChoices.size() == 1 ? 0 : only), 0);
        return OnStampChosen();
    }
    // Several readings: the user chooses in the list.
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    SetFocus(list);
}

void C_ConverterDlg::OnStampChosen() {
    const LRESULT index = SendMessageA(Item(IDC_STAMP_LIST), LB_GETCURSEL, 0, 0);
    if (index < 0 || static_cast<std::size_t>(index) >= m_stampChoices.size()) return;
    SetPoint(C_Time(static_cast<unsigned __int64>(m_stampChoices[static_cast<std::size_t>(index)].utc)));
    Refresh();
}

void C_ConverterDlg::OnCopyAs() {
    const MenuHandle menu(CreatePopupMenu());
    if (!menu || m_time.IsInvalid()) return;
    const StampChoice point = ChoiceAt(m_time.GetTimeUTC());
    std::vector<std::string> texts;
    for (int f = 0; f < static_cast<int>(StampForm::kCount); ++f) {
        texts.push_back(WriteTimestamp(static_cast<StampForm>(f), point.utc, point.wall));
        const std::string entry = std::string(FormInfo(static_cast<StampForm>(f)).name) + "\t" + texts.back();
        if (!AppendMenuA(menu.Get(), MF_STRING | (texts.back().empty() ? MF_GRAYED : 0), static_cast<UINT_PTR>(f + 1),
                         entry.c_str()))
            return;
    }
    RECT button = {};
    GetWindowRect(Item(IDC_COPY_AS), &button);
    const int chosen = TrackMenu(menu.Get(), button.left, button.bottom);
    if (chosen < 1 || chosen > static_cast<int>(texts.size()) || texts[static_cast<std::size_t>(chosen - 1)].empty()) return;
    if (!CopyToClipboard(texts[static_cast<std::size_t>(chosen - 1)]))
        ShowMessage("Die Zwischenablage l\xE4sst sich nicht beschreiben.", "Quendel", MB_OK | MB_ICONWARNING);
}

bool C_ConverterDlg::CopyToClipboard(const std::string& text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, NULL, 0);  // with the terminator
    MemoryHandle memory(GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(length) * sizeof(WCHAR)));
    if (length <= 0 || !memory) return false;
    auto* wide = static_cast<WCHAR*>(GlobalLock(memory.Get()));
    if (!wide) return false;
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide, length);
    GlobalUnlock(memory.Get());
    if (!OpenClipboard(Handle())) return false;
    const bool set = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, memory.Get()) != NULL;
    if (set) memory.Release();  // the clipboard owns it now
    CloseClipboard();
    return set;
}
