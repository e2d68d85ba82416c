// The main dialog's holiday list: filled on every refresh with the marks of the chosen
// Bundesland, its legend, and its context menu that saves the year as a calendar file.
#include <windows.h>

#include <commdlg.h>

#include <string>
#include <utility>
#include <vector>

#include "app/clipboard_text.h"
#include "app/converter_dlg.h"
#include "app/federal_states.h"
#include "app/file_replace.h"
#include "app/framework/text.h"
#include "app/holiday_calendar.h"
#include "app/ical_writer.h"
#include "app/resource_ids.h"
#include "strings/c_string.h"
#include "wintoolkit/handles.h"

namespace {

constexpr int kSaveCalendar = 1;  // the context menu's commands
constexpr int kCopyLines = 2;

struct MenuTraits {
    using Handle = HMENU;
    static void Close(HMENU menu) { DestroyMenu(menu); }
};
using MenuHandle = quendel_toolkit::Owner<MenuTraits>;

CalendarInstant Fields(const SYSTEMTIME& s) {
    return {s.wYear, s.wMonth, s.wDay, s.wHour, s.wMinute, s.wSecond};
}

// Whole days by their local date, instants in UTC.
std::vector<CalendarEvent> EventsOfTable() {
    std::vector<CalendarEvent> events;
    for (int i = 0; i < g_holidayCount; ++i) {
        const HolidayEntry& entry = g_holidays[i];
        SYSTEMTIME s;
        const bool read = entry.timed ? entry.when.GetSystemTimeUTC(&s) : entry.when.GetLocSystemTime(&s, NULL);
        if (!read) continue;
        events.push_back({Fields(s), entry.timed, entry.legal, entry.name.c_str()});
    }
    return events;
}

}  // namespace

void C_ConverterDlg::BuildHolidayList(const C_Time& point) {
    const int count = BuildHolidayTable(point, m_state);
    m_holidayYear = count > 0 ? point.GetLocYear() : 0;
    m_legendText = std::string("(** = gesetzlicher Feiertag in ") + StateLegendName(m_state) + ")";
    std::vector<std::string> lines;
    lines.reserve(static_cast<size_t>(count));
    C_String line;
    for (int i = 0; i < count; ++i) lines.emplace_back(FormatHolidayLine(g_holidays[i], line));
    // Most refreshes stay in the same year and zone: the list box already shows these lines.
    if (lines == m_holidayLines && m_holidayList.GetCount() == count) return;
    // One redraw for the whole list instead of one per line (each costs a repaint and a
    // scroll-bar update).
    m_holidayList.Send(WM_SETREDRAW, FALSE);
    m_holidayList.ResetContent();
    m_holidayList.SetTabStops(kHolidayTabStops, kHolidayTabStopCount);
    for (const std::string& text : lines) m_holidayList.AddString(text);
    m_holidayList.Send(WM_SETREDRAW, TRUE);
    if (m_holidayList.Handle()) InvalidateRect(m_holidayList.Handle(), NULL, TRUE);
    m_holidayLines = std::move(lines);
}

void C_ConverterDlg::ReloadHolidayState() {
    m_state = ReadStateSetting();
    BuildHolidayList(m_time);
    SetItemText(IDC_HOLIDAY_LEGEND, m_legendText);
}

void C_ConverterDlg::OnHolidayContextMenu(int x, int y) {
    const HWND list = m_holidayList.Handle();  // borrowed
    if (!list) return;
    if (x == -1 && y == -1) {
        // From the keyboard: below the current line, or the list's corner when it shows none.
        RECT item = {};
        const LRESULT caret = SendMessageA(list, LB_GETCARETINDEX, 0, 0);
        if (caret < 0 || SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(caret), reinterpret_cast<LPARAM>(&item)) ==
                             LB_ERR)
            item = RECT{};
        POINT at = {item.left, item.bottom};
        ClientToScreen(list, &at);
        x = at.x;
        y = at.y;
    }
    // Mnemonics of their own (K, P), so that the menu opened from the keyboard with nothing
    // highlighted answers a key.
    const MenuHandle menu(CreatePopupMenu());
    if (!menu ||
        !AppendMenuA(menu.Get(), MF_STRING | (m_holidayYear ? 0 : MF_GRAYED), kSaveCalendar, "Als &Kalender speichern ...") ||
        !AppendMenuA(menu.Get(), MF_STRING | (m_holidayLines.empty() ? MF_GRAYED : 0), kCopyLines, "Ko&pieren"))
        return;
    const int chosen = TrackMenu(menu.Get(), x, y);
    if (chosen == kCopyLines) return CopyHolidayLines();
    if (chosen != kSaveCalendar || !m_holidayYear) return;
    const std::string path =
        ChooseCalendarFile(FormatText("Feiertage %d %s.ics", m_holidayYear, StateLegendName(m_state)));
    if (!path.empty()) ExportCalendar(path);
}

void C_ConverterDlg::CopyHolidayLines() {
    // The selected line, or all of them; the columns stay apart by their tabs.
    const int selected = static_cast<int>(m_holidayList.Send(LB_GETCURSEL));
    std::string text;
    for (std::size_t i = 0; i < m_holidayLines.size(); ++i)
        if (selected < 0 || static_cast<std::size_t>(selected) == i) text += m_holidayLines[i] + "\r\n";
    if (!text.empty() && !CopyTextToClipboard(Handle(), text))
        ShowMessage("Die Feiertage konnten nicht in die Zwischenablage kopiert werden.", "Kopieren", MB_OK | MB_ICONWARNING);
}

int C_ConverterDlg::TrackMenu(HMENU menu, int x, int y) {
    return static_cast<int>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, x, y, 0, Handle(), NULL));
}

std::string C_ConverterDlg::ChooseCalendarFile(const std::string& suggestion) {
    char file[MAX_PATH] = "";
    suggestion.copy(file, sizeof file - 1);
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = Handle();
    dialog.lpstrFilter = "iCalendar-Dateien (*.ics)\0*.ics\0Alle Dateien (*.*)\0*.*\0";
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof file;
    dialog.lpstrDefExt = "ics";
    dialog.lpstrTitle = "Als Kalender speichern";
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    return GetSaveFileNameA(&dialog) ? std::string(file) : std::string();
}

bool C_ConverterDlg::ExportCalendar(const std::string& path) {
    // The table holds the list's days: rebuild it, for it is shared with anything else that built one.
    BuildHolidayTable(m_time, m_state);
    SYSTEMTIME now;
    C_Time("Now").GetSystemTimeUTC(&now);
    std::string reason;
    if (WriteFileReplacing(path, WriteICalendar(EventsOfTable(), Fields(now)), reason)) return true;
    ShowMessage(("Die Datei \x84" + path + "\x93 konnte nicht gespeichert werden:\n" + reason).c_str(),
                "Als Kalender speichern", MB_OK | MB_ICONERROR);
    return false;
}
