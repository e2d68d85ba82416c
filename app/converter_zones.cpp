// The main dialog's time-zone list and holiday list: both filled from the library, the
// first once from the registry, the second on every refresh.
#include <cwchar>

#include "app/converter_dlg.h"
#include "app/framework/text.h"
#include "app/holiday_calendar.h"
#include "strings/c_string.h"
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
    m_zoneCombo.ResetContent();
    TIME_ZONE_INFORMATION inForce;
    C_Time::GetLocTimeZoneInfo(&inForce);
    const std::string machineKey = MachineZoneKey(inForce);
    bool selected = false;
    const TIME_ZONE_INFORMATION* machineRecord = nullptr;
    quendel::zone::ForEachZoneKey([&](const char* subkey) {
        quendel::zone::RegistryZone zone;
        if (!quendel::zone::ReadRegistryZone(subkey, &zone)) return true;  // skipped
        const int index = m_zoneCombo.AddString(zone.display);
        if (index < 0) return true;
        auto* record = new TIME_ZONE_INFORMATION(zone.record);
        m_zoneCombo.SetItemData(index, record);
        if (!machineKey.empty() && machineKey == subkey) machineRecord = record;
        // Several zones may share the name: the one enumerated last stays selected.
        if (inForce.StandardName[0] != 0 && std::wcsncmp(zone.record.StandardName, inForce.StandardName, 32) == 0) {
            m_zoneCombo.SetCurSel(index);
            selected = true;
        }
        return true;
    });
    if (selected || !machineRecord) return;
    // Items move as sorted insertions follow: find the machine's record where it ended up.
    for (int i = 0, count = m_zoneCombo.GetCount(); i < count; ++i)
        if (m_zoneCombo.GetItemData(i) == machineRecord) m_zoneCombo.SetCurSel(i);
}

void C_ConverterDlg::BuildHolidayList(const C_Time& point) {
    const int count = BuildHolidayTable(point);
    m_holidayList.ResetContent();
    m_holidayList.SetTabStops(kHolidayTabStops, 3);
    C_String line;
    for (int i = 0; i < count; ++i) m_holidayList.AddString(FormatHolidayLine(g_holidays[i], line));
}
