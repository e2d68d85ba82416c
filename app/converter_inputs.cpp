// The main dialog's inputs: arming the "Übernehmen" button, reading each input form into
// m_time, and the change of time zone.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/converter_dlg.h"
#include "app/framework/text.h"
#include "app/input_parsing.h"
#include "app/resource_ids.h"

void C_ConverterDlg::OnInput(int input, const char* buttonText) {
    g_lastInput = input;
    EnableItem(IDOK, true);
    SetItemText(IDOK, buttonText);
}

void C_ConverterDlg::Convert() {
    UpdateData(true);
    switch (g_lastInput) {
    case 1: ConvertFileTime(); break;
    case 2: ConvertUnixTime(); break;
    case 3: ConvertDate(); break;
    case 4: ConvertOleTime(); break;
    default: Refresh(); break;
    }
}

void C_ConverterDlg::ConvertFileTime() {
    C_Time result("Now");
    MakeLower(m_fileTimeText);
    const std::string& text = m_fileTimeText;
    if (text.empty()) {
        // the present moment
    } else if (IsItemChecked(IDC_HEX)) {
        result = IsHexText(text.c_str()) ? C_Time(ParseHex64(text.c_str(), text.size())) : C_Time();
    } else if (text.compare(0, 2, "0x") == 0) {
        const char* digits = text.c_str() + 2;
        result = IsHexText(digits) ? C_Time(ParseHex64(digits, text.size() - 2)) : C_Time();
    } else if (IsHexText(text.c_str())) {
        result.SetTimeStr(text.c_str());  // leading decimal digits: "123abc" is 123 ticks
    } else {
        result.SetInvalid();
    }
    m_time = result;
    Refresh();
}

void C_ConverterDlg::ConvertUnixTime() {
    MakeLower(m_unixTimeText);
    const std::string& text = m_unixTimeText;
    std::uint32_t value = 0;
    if (text.empty()) {
        value = static_cast<std::uint32_t>(C_Time("Now").GetUnixTime());
    } else if (IsItemChecked(IDC_HEX)) {
        value = IsHexText(text.c_str()) ? ParseHex32(text.c_str(), text.size()) : 0;
    } else if (text.compare(0, 2, "0x") == 0) {
        const char* digits = text.c_str() + 2;
        value = IsHexText(digits) ? ParseHex32(digits, text.size() - 2) : 0;
    } else if (IsHexText(text.c_str())) {
        value = static_cast<std::uint32_t>(LeadingDecimal32(text.c_str()));
    }
    // Hexadecimal values from 80000000 on are seconds before 1970.
    m_time.SetUnixTime(static_cast<long>(static_cast<std::int32_t>(value)));
    Refresh();
}

void C_ConverterDlg::ConvertDate() {
    MakeUpper(m_dateText);
    MakeUpper(m_timeText);
    C_Time result;
    if (m_dateText.empty()) {
        result.SetTime();
    } else {
        int day = 0, month = 0, year = 0;
        if (std::sscanf(m_dateText.c_str(), "%d.%d.%d", &day, &month, &year) < 3) return;  // nothing changes
        if (year < 100) year += 2000;
        int hour = 0, minute = 0, second = 0;
        if (!m_timeText.empty()) std::sscanf(m_timeText.c_str(), "%d:%d:%d", &hour, &minute, &second);
        result.SetLocTime(year, month, day, hour, minute, second, NULL);
        if (result.IsInvalid()) {
            ShowMessage("Die Eingabe der Zeit nicht richtig erfolgt!", "Quendel", MB_OK);
            result.SetTime();
        }
    }
    m_time = result;
    Refresh();
}

void C_ConverterDlg::ConvertOleTime() {
    C_Time result("Now");
    MakeLower(m_oleTimeText);
    const std::string& text = m_oleTimeText;
    if (!text.empty() && text.compare(0, 2, "0x") != 0) result.SetVariantTimeUTC(std::atof(text.c_str()));
    m_time = result;
    Refresh();
}

void C_ConverterDlg::OnZoneChange() {
    const int index = m_zoneCombo.GetCurSel();
    const auto* item = static_cast<const ZoneItem*>(m_zoneCombo.GetItemData(index));
    if (!item) return;
    m_zoneInUse = item;
    // The key brings the zone's per-year records; without it, "TZI" stands for every year.
    if (!C_Time::SetLocTimeZoneByKeyName(item->key.c_str())) {
        TIME_ZONE_INFORMATION copy = item->record;
        C_Time::SetLocTimeZoneInfo(&copy);
    }
    // The Filetime text still holds m_time as the last refresh wrote it: the same point,
    // shown again in the new zone.
    ConvertFileTime();
}
