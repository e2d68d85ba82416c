// The main dialog's inputs: arming the "Übernehmen" button, reading each input form into
// m_time, and the change of time zone.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "app/converter_dlg.h"
#include "app/framework/text.h"
#include "app/input_parsing.h"
#include "app/resource_ids.h"
#include "app/summer_facts.h"

void C_ConverterDlg::OnInput(int input, const char* buttonText) {
    g_lastInput = input;
    EnableItem(IDOK, true);
    SetItemText(IDOK, buttonText);
}

void C_ConverterDlg::Convert() {
    UpdateData(true);
    // A note on a typed local reading holds until the next input.
    m_localNote.clear();
    m_otherTime.SetInvalid();
    switch (g_lastInput) {
    case 1: ConvertFileTime(); break;
    case 2: ConvertUnixTime(); break;
    case 3: ConvertDate(); break;
    case 4: ConvertOleTime(); break;
    case 5: ConvertStamp(); break;
    default: Refresh(); break;
    }
}

namespace {

constexpr char kOutOfRange[] = "\x93 liegt au\xDF" "erhalb des Bereichs";  // "“ liegt außerhalb des Bereichs"
constexpr char kNoNumber[] = "\x93 ist keine Zahl";
constexpr std::uint64_t kLastTick = 0x7FFFFFFFFFFFFFFFull;

// "<field>: „<text>“<what> (<form>)." in Windows-1252.
std::string Complaint(const char* field, const std::string& text, const char* what, const char* form) {
    return std::string(field) + ": \x84" + text + what + " (" + form + ").";
}

// Up to the last point the calendar names, 30827-12-31 23:59:59.999.
bool InCalendar(const C_Time& t) {
    SYSTEMTIME f;
    return t.GetSystemTimeUTC(&f) && f.wYear <= 30827;
}

}  // namespace

bool C_ConverterDlg::Reject(int id, const std::string& message) {
    ShowMessage(message.c_str(), "Quendel", MB_OK | MB_ICONWARNING);
    // Back to the field with the text selected; the point and every other text stay, and
    // "Übernehmen" stays armed.
    if (HWND field = Item(id)) {
        SetFocus(field);
        SendMessageA(field, EM_SETSEL, 0, -1);
    }
    EnableItem(IDOK, true);
    return false;
}

void C_ConverterDlg::ConvertFileTime() {
    const std::string text = Trimmed(m_fileTimeText);
    static const char kForm[] = "100-ns-Schritte seit 1601, dezimal oder 0x\x85 hexadezimal";
    C_Time result("Now");
    if (!text.empty()) {
        std::uint64_t ticks = 0;
        const bool read = IsItemChecked(IDC_HEX) || HasHexPrefix(text) ? ParseHexExactly(text, 16, &ticks)
                                                                        : ParseDecimalExactly(text, &ticks);
        if (!read) return void(Reject(IDC_FILETIME, Complaint("Filetime", text, kNoNumber, kForm)));
        result = C_Time(ticks);
        if (ticks > kLastTick || (result.IsValid() && !InCalendar(result)))
            return void(Reject(IDC_FILETIME, Complaint("Filetime", text, kOutOfRange, "1601 bis 30827")));
    }
    m_time = result;
    Refresh();
}

void C_ConverterDlg::ConvertUnixTime() {
    const std::string text = Trimmed(m_unixTimeText);
    static const char kForm[] = "Sekunden seit 1970";
    long long seconds = C_Time("Now").GetUnixTime64();
    if (!text.empty() && !ParseUnixSeconds(text, IsItemChecked(IDC_HEX), &seconds))
        return void(Reject(IDC_UNIXTIME, Complaint("Unixzeit", text, kNoNumber, kForm)));
    C_Time result;
    if (!result.SetUnixTime64(seconds) || !InCalendar(result))
        return void(Reject(IDC_UNIXTIME, Complaint("Unixzeit", text, kOutOfRange, kForm)));
    m_time = result;
    Refresh();
}

void C_ConverterDlg::ConvertDate() {
    const std::string date = Trimmed(m_dateText), time = Trimmed(m_timeText);
    C_Time result("Now");
    if (!date.empty()) {
        SYSTEMTIME typed;
        int wrong = 0;
        std::string message;
        if (!ReadDateInput(date, time, &typed, &wrong, &message))
            return void(Reject(wrong == 2 ? IDC_TIME : IDC_DATE, message));
        if (!result.SetLocTime(typed.wYear, typed.wMonth, typed.wDay, typed.wHour, typed.wMinute, typed.wSecond, NULL) ||
            !InCalendar(result))
            return void(Reject(IDC_DATE, "Datum: \x84" + date + "\x93\nDer Zeitpunkt liegt au\xDF" "erhalb des Bereichs (1601 bis 30827)."));
        m_localNote = ChangeOverNote(typed, result, &m_otherTime);
    }
    m_time = result;
    Refresh();
}

void C_ConverterDlg::SetPoint(const C_Time& point) {
    m_time = point;
    m_localNote.clear();
    m_otherTime.SetInvalid();
}

void C_ConverterDlg::ShowOtherOccurrence() {
    if (m_otherTime.IsInvalid()) return;
    SYSTEMTIME typed;
    std::swap(m_time, m_otherTime);
    if (m_time.GetLocSystemTime(&typed, NULL)) m_localNote = ChangeOverNote(typed, m_time, &m_otherTime);
    Refresh();
}

void C_ConverterDlg::ConvertOleTime() {
    const std::string text = Trimmed(m_oleTimeText);
    static const char kForm[] = "Tage seit 30.12.1899, mit Komma oder Punkt";
    C_Time result("Now");
    if (!text.empty()) {
        double days = 0;
        if (!ParseDecimalFraction(text, &days)) return void(Reject(IDC_OLETIME, Complaint("OleTime", text, kNoNumber, kForm)));
        if (!result.SetVariantTimeUTC(days) || !InCalendar(result))
            return void(Reject(IDC_OLETIME, Complaint("OleTime", text, kOutOfRange, kForm)));
    }
    m_time = result;
    Refresh();
}

void C_ConverterDlg::OnZoneChange() {
    m_typedPlace.clear();
    m_localNote.clear();
    m_otherTime.SetInvalid();
    const int index = m_zoneCombo.GetCurSel();
    const auto* item = static_cast<const ZoneItem*>(m_zoneCombo.GetItemData(index));
    if (!item) return;
    m_zoneChosen = true;
    UseZone(item);
    // The Filetime text still holds m_time as the last refresh wrote it: the same point,
    // shown again in the new zone.
    ConvertFileTime();
    ListStampReadings();  // their local times in the new zone
}

void C_ConverterDlg::UseZone(const ZoneItem* item) {
    m_zoneInUse = item;
    // The key brings the zone's per-year records; without it, "TZI" stands for every year.
    if (!C_Time::SetLocTimeZoneByKeyName(item->key.c_str())) {
        TIME_ZONE_INFORMATION copy = item->record;
        C_Time::SetLocTimeZoneInfo(&copy);
    }
    UpdateZoneTip();
}
