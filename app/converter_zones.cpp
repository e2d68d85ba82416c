// The main dialog's time-zone list, filled once from the registry's database, in Windows'
// order, and its type-ahead.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "app/converter_dlg.h"
#include "app/framework/text.h"
#include "app/settings_store.h"
#include "app/zone_search.h"
#include "timelib/zone_history.h"
#include "timelib/zone_registry.h"

namespace {

// The registry key of the machine's zone when the zone in force is still the machine's.
// Windows gives the zone's names in the user's language, while the database's "Std" values
// may be English: the key name then finds the zone instead.
std::string MachineZoneKey(const TIME_ZONE_INFORMATION& inForce) {
    DYNAMIC_TIME_ZONE_INFORMATION machine = {};
    if (GetDynamicTimeZoneInformation(&machine) == TIME_ZONE_ID_INVALID || machine.Bias != inForce.Bias ||
        std::wcsncmp(machine.StandardName, inForce.StandardName, 32) != 0)
        return std::string();
    machine.TimeZoneKeyName[127] = 0;
    return WideToAnsi(machine.TimeZoneKeyName);
}

}  // namespace

void C_ConverterDlg::FillZoneList() {
    FreeZoneRecords();
    m_zoneChosen = false;
    // One redraw for the whole list: a redraw per insertion made filling it the slowest part
    // of the start.
    m_zoneCombo.Send(WM_SETREDRAW, FALSE);
    m_zoneCombo.ResetContent();
    TIME_ZONE_INFORMATION inForce;
    C_Time::GetLocTimeZoneInfo(&inForce);
    const std::string machineKey = MachineZoneKey(inForce);
    std::string storedKey;
    if (!settings::Read(kZoneSetting, storedKey)) storedKey.clear();
    int selected = -1, machineIndex = -1, storedIndex = -1;
    // The database read since the dialog's construction, or read now (a second fill).
    std::vector<ShownZone> database;
    if (m_zoneDatabase.valid()) {
        try {
            database = m_zoneDatabase.get();
        } catch (...) {
            database = ReadShownZones();  // the worker failed: read it here
        }
    } else {
        database = ReadShownZones();
    }
    for (ShownZone& shown : database) {
        const quendel::zone::RegistryZone& zone = shown.entry.zone;
        const int index = m_zoneCombo.AddString(zone.display);
        if (index < 0) continue;
        // The places of the IANA zones the key stands for find it too ("New York": Eastern).
        m_zoneCombo.SetItemData(index, new ZoneItem{zone.record, shown.entry.subkey, std::move(shown.names),
                                                    quendel::zone::HistoryCitiesOfKey(shown.entry.subkey.c_str())});
        if (!machineKey.empty() && machineKey == shown.entry.subkey) machineIndex = index;
        if (!storedKey.empty() && storedKey == shown.entry.subkey) storedIndex = index;
        // Several zones may share the name: the one enumerated last stays selected.
        if (inForce.StandardName[0] != 0 && std::wcsncmp(zone.record.StandardName, inForce.StandardName, 32) == 0)
            selected = index;
    }
    // The machine's own key first: its standard name ("Mitteleuropäische Zeit") may be shared.
    m_zoneCombo.SetCurSel(machineIndex >= 0 ? machineIndex : selected);
    m_zoneInUse = static_cast<const ZoneItem*>(m_zoneCombo.GetItemData(m_zoneCombo.GetCurSel()));
    m_zoneCombo.Send(WM_SETREDRAW, TRUE);
    if (m_zoneCombo.Handle()) InvalidateRect(m_zoneCombo.Handle(), NULL, TRUE);
    // The zone of the last end, where it still exists, is used again.
    if (storedIndex >= 0 && static_cast<const void*>(m_zoneInUse) != m_zoneCombo.GetItemData(storedIndex)) {
        m_zoneCombo.SetCurSel(storedIndex);
        UseZone(static_cast<const ZoneItem*>(m_zoneCombo.GetItemData(storedIndex)));
    }
}

void C_ConverterDlg::OnZoneTyped(char typed) {
    // Milliseconds of the program's clock (wrapping in 32 bits, as the tick count does), so
    // that a test's clock decides what counts as a pause, not the machine's load.
    const DWORD now = static_cast<DWORD>(C_Time("Now").GetTimeUTC() / 10000u);
    const std::string& search = m_typeAhead.Add(typed, now);
    std::vector<ZoneSearchEntry> entries;
    for (int i = 0, count = m_zoneCombo.GetCount(); i < count; ++i) {
        const auto* item = static_cast<const ZoneItem*>(m_zoneCombo.GetItemData(i));
        entries.push_back({m_zoneCombo.GetItemText(i), item ? item->searchWords : std::vector<std::string>()});
    }
    std::string place;
    const int index = FindTypedZone(entries, search, &place);
    if (index < 0) return;  // nothing found: the selection stays
    if (index != m_zoneCombo.GetCurSel()) {
        m_zoneCombo.SetCurSel(index);
        // Dropped down, the selection previews until the list closes, as with the arrow keys.
        if (!m_zoneCombo.Send(CB_GETDROPPEDSTATE)) OnZoneChange();
    }
    // The place the letters found, where the entry's own name does not show it ("New York"
    // beside "Eastern Normalzeit"), until another zone is chosen.
    if (place != m_typedPlace && index == m_zoneCombo.GetCurSel()) {
        m_typedPlace = place;
        Refresh();
    }
}

LRESULT CALLBACK C_ConverterDlg::ZoneKeysProc(HWND combo, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                             DWORD_PTR self) {
    // Letters typed into the list, dropped down or not (the combo box keeps the focus), search
    // the names after the "(UTC+hh:mm) " that every entry begins with.
    if (message == WM_CHAR && wParam >= ' ' && wParam < 0x100 && self) {
        reinterpret_cast<C_ConverterDlg*>(self)->OnZoneTyped(static_cast<char>(wParam));
        return 0;
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(combo, ZoneKeysProc, kZoneKeysSubclass);
    return DefSubclassProc(combo, message, wParam, lParam);
}


void C_ConverterDlg::UpdateZoneTip() {
    char history[64];
    const int last = C_Time::GetTimeZoneHistoryLastYear();
    const std::string text =
        C_Time::GetLocTimeZoneHistory(history, sizeof history)
            ? FormatText("Bis %d nach %s (IANA tzdata %s), ab %d nach Windows-Regeln.", last, history,
                         C_Time::GetTimeZoneHistoryVersion(), last + 1)
            : std::string("Alle Jahre nach Windows-Regeln (keine IANA-Zeitzonen-Geschichte).");
    m_zoneTip = C_ToolTip(Handle());
    m_zoneTip.AddTool(m_zoneCombo.Handle(), text.c_str());
}
