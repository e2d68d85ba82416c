// The main dialog's display: the full refresh of every text, and the clock once a second.
#include <cstdint>
#include <cstdio>

#include "app/converter_dlg.h"
#include "app/framework/text.h"
#include "app/resource_ids.h"
#include "app/summer_facts.h"
#include "strings/c_string.h"

namespace {

constexpr unsigned long kUserLocale = LOCALE_USER_DEFAULT;

std::string Formatted(const C_Time& t, int flags) {
    char buffer[300];
    return t.Format(buffer, sizeof buffer, flags, kUserLocale, NULL);
}

}  // namespace

int C_ConverterDlg::Refresh() {
    EnableItem(IDOK, false);
    BuildHolidayList(m_time);

    const bool hex = IsItemChecked(IDC_HEX);
    C_String raw;
    m_fileTimeText = m_time.GetTimeStr(raw, hex);
    // Unix time in 64 bits; in hexadecimal a value of the signed 32-bit range takes 8 digits
    // (ffffffff is -1), any other at least 9, so that it reads back as written.
    const long long unixTime = m_time.GetUnixTime64();
    const bool in32 = unixTime >= -2147483648LL && unixTime <= 2147483647LL;
    m_unixTimeText = !hex   ? FormatText("%lld", unixTime)
                     : in32 ? FormatText("%lx", static_cast<unsigned long>(static_cast<std::uint32_t>(unixTime)))
                            : FormatText("%09llx", static_cast<unsigned long long>(unixTime));
    double ole = 0;
    m_time.GetVariantTimeUTC(&ole);
    m_oleTimeText = FormatText("%.15f", ole);
    m_dateText = Formatted(m_time, FMT_DATE | FMT_YEAR4);
    m_timeText = Formatted(m_time, FMT_TIME | FMT_SECONDS);
    m_localText = Formatted(m_time, 0x3b);
    m_utcText = Formatted(m_time, 0x13b);

    // The record of the point's year, and the summer period around the point by the records
    // of the years concerned.
    SYSTEMTIME local;
    m_time.GetLocSystemTime(&local, NULL);
    TIME_ZONE_INFORMATION zone;
    C_Time::GetLocTimeZoneInfoForYear(local.wYear, &zone);
    const bool summer = m_time.IsSummerTime();
    C_Time start, end, yearStart, yearEnd;
    m_dstStartText.clear();
    m_dstEndText.clear();
    if (SummerPeriodAround(m_time, &start, &end)) {
        // The local text shows the last whole second of the regime that ends there.
        const C_TimeSpan tick(static_cast<__int64>(1));
        const std::string utcStart = Formatted(start, 0x10b), utcEnd = Formatted(end, 0x10b);
        m_dstStartText = Formatted(start - tick, 0x0b) + "+1s  ( UTC " + utcStart + " )";
        m_dstEndText = Formatted(end - tick, 0x0b) + "+1s  ( UTC " + utcEnd + " )";
    }
    SummerChangesOfYear(local.wYear, &yearStart, &yearEnd);
    m_dstStartHint = ChangeHint(yearStart);
    m_dstEndHint = ChangeHint(yearEnd);
    m_seasonText = summer ? "Sommerzeit" : start.IsValid() || yearStart.IsValid() ? "Winterzeit/Normalzeit"
                                                                               : " Normalzeit (keine Zeitumschaltung)";
    std::string weekday;
    m_time.GetDayString(weekday, false, kUserLocale);
    m_dayText = weekday + FormatText(", KW%d", m_time.GetLocWeekOfYear(NULL));
    m_relDaysText = "...";
    // The names of the list's entry in use, in the user's language where Windows has them.
    m_zoneText = m_zoneInUse ? (summer ? m_zoneInUse->names.daylight : m_zoneInUse->names.standard)
                             : WideToAnsi(summer ? zone.DaylightName : zone.StandardName);
    if (!m_typedPlace.empty()) m_zoneText += " \x96 " + m_typedPlace;  // the place typed: "... – New York"
    m_biasText = FormatText("%ld min", zone.Bias);
    m_dstBiasText = FormatText("%ld min", summer ? zone.DaylightBias : 0L);

    if (HWND other = Item(IDC_OTHER_TIME)) {
        SetItemText(IDC_OTHER_TIME, m_otherTime > m_time ? "&2. zeigen" : "&1. zeigen");
        if (m_otherTime.IsInvalid() && GetFocus() == other) SetFocus(Item(IDC_TIME));  // not on a hidden button
        ShowWindow(other, m_otherTime.IsValid() ? SW_SHOWNA : SW_HIDE);
    }
    UpdateData(false);
    UpdateClock();
    return 0;
}

void C_ConverterDlg::UpdateRelativeDays() {
    const C_Time now("Now");
    // Calendar days between the local dates in the chosen zone (tomorrow 00:30 is one day
    // away, whatever UTC says), then the time between the points beyond them; 64-bit, so
    // points more than 68 years away still read right.
    const long long d = static_cast<__int64>(m_time.StartDayLOC() - now.StartDayLOC()) / 10000000;
    long long days = (d + (d < 0 ? -43200 : 43200)) / 86400;  // days of 23 or 25 hours count whole
    const long long t = static_cast<__int64>(m_time - now) / 10000000;
    long long r = t - d;
    // One sign for the whole distance: a time of day against the direction moves a day into it
    // ("-8384 Tage, 11 h" is "-8383 Tage, 12 h 32 min ..." before now).
    if (t < 0 && r > 0 && days < 0) ++days, r -= 86400;
    if (t > 0 && r < 0 && days > 0) --days, r += 86400;
    const char* sign = t < 0 ? "-" : "";
    if (r < 0) r = -r;
    if (days < 0) days = -days;
    const long long hours = r / 3600;
    r -= hours * 3600;
    const long long minutes = r / 60, seconds = r - minutes * 60;
    m_relDaysText = FormatText("%s%lld %s, %lld h, %lld min, %lld sek", sign, days, days == 1 ? "Tag" : "Tage", hours,
                               minutes, seconds);
    SetItemText(IDC_RELDAYS, m_relDaysText);
}

void C_ConverterDlg::UpdateClock() {
    UpdateRelativeDays();
    m_clockLabel.SetText(Formatted(C_Time("Now"), 0x0b));
    m_syncStatusShown = false;
}

void C_ConverterDlg::ShowSyncStatus(const char* text) {
    m_clockLabel.SetText(text);
    m_syncStatusShown = true;
}

void C_ConverterDlg::OnTimer(UINT_PTR id) {
    if (id == kSyncPauseTimer) return OnSyncPauseOver();
    // A status of the time synchronisation stands while the sync runs and its box is open
    // (the box's own loop delivers the timer too); then the clock ticks again.
    if (!m_syncStatusShown) UpdateClock();
}
