// The main dialog's time-zone list, filled once from the registry's database.
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "app/converter_dlg.h"
#include "app/framework/text.h"
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
    // One redraw for the whole list: a redraw per sorted insertion made filling it the
    // slowest part of the start.
    m_zoneCombo.Send(WM_SETREDRAW, FALSE);
    m_zoneCombo.ResetContent();
    TIME_ZONE_INFORMATION inForce;
    C_Time::GetLocTimeZoneInfo(&inForce);
    const std::string machineKey = MachineZoneKey(inForce);
    bool selected = false;
    const ZoneItem* machineItem = nullptr;
    // The database read since the dialog's construction, or read now (a second fill).
    std::vector<quendel::zone::NamedZone> database;
    if (m_zoneDatabase.valid()) {
        try {
            database = m_zoneDatabase.get();
        } catch (...) {
            database = quendel::zone::ReadZoneDatabase();  // the worker failed: read it here
        }
    } else {
        database = quendel::zone::ReadZoneDatabase();
    }
    for (const quendel::zone::NamedZone& entry : database) {
        const quendel::zone::RegistryZone& zone = entry.zone;
        const int index = m_zoneCombo.AddString(zone.display);
        if (index < 0) continue;
        auto* item = new ZoneItem{zone.record, entry.subkey};
        m_zoneCombo.SetItemData(index, item);
        if (!machineKey.empty() && machineKey == entry.subkey) machineItem = item;
        // Several zones may share the name: the one enumerated last stays selected.
        if (inForce.StandardName[0] != 0 && std::wcsncmp(zone.record.StandardName, inForce.StandardName, 32) == 0) {
            m_zoneCombo.SetCurSel(index);
            selected = true;
        }
    }
    if (!selected && machineItem) {
        // Items move as sorted insertions follow: find the machine's record where it ended up.
        for (int i = 0, count = m_zoneCombo.GetCount(); i < count; ++i)
            if (m_zoneCombo.GetItemData(i) == machineItem) m_zoneCombo.SetCurSel(i);
    }
    m_zoneInUse = static_cast<const ZoneItem*>(m_zoneCombo.GetItemData(m_zoneCombo.GetCurSel()));
    m_zoneCombo.Send(WM_SETREDRAW, TRUE);
    if (m_zoneCombo.Handle()) InvalidateRect(m_zoneCombo.Handle(), NULL, TRUE);
}
