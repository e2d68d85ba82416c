// The main dialog's time-zone list and holiday list: both filled from the library, the
// first once from the registry, the second on every refresh.
#include <cwchar>

#include "app/converter_dlg.h"
#include "app/holiday_calendar.h"
#include "strings/c_string.h"
#include "timelib/zone_registry.h"

void C_ConverterDlg::FillZoneList() {
    FreeZoneRecords();
    m_zoneCombo.ResetContent();
    TIME_ZONE_INFORMATION inForce;
    C_Time::GetLocTimeZoneInfo(&inForce);
    quendel::zone::ForEachZoneKey([&](const char* subkey) {
        quendel::zone::RegistryZone zone;
        if (!quendel::zone::ReadRegistryZone(subkey, &zone)) return true;  // skipped
        const int index = m_zoneCombo.AddString(zone.display);
        if (index < 0) return true;
        m_zoneCombo.SetItemData(index, new TIME_ZONE_INFORMATION(zone.record));
        // Several zones may share the name: the one enumerated last stays selected.
        if (std::wcsncmp(zone.record.StandardName, inForce.StandardName, 32) == 0 &&
            inForce.StandardName[0] != 0)
            m_zoneCombo.SetCurSel(index);
        return true;
    });
}

void C_ConverterDlg::BuildHolidayList(const C_Time& point) {
    const int count = BuildHolidayTable(point);
    m_holidayList.ResetContent();
    m_holidayList.SetTabStops(kHolidayTabStops, 3);
    C_String line;
    for (int i = 0; i < count; ++i) m_holidayList.AddString(FormatHolidayLine(g_holidays[i], line));
}
