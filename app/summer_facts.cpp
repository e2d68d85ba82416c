#include "app/summer_facts.h"

#include <cstdio>

namespace {

C_Time Utc(int year, int month) {
    C_Time t;
    t.SetTimeUTC(year, month, 1, 0, 0, 0, 0);
    return t;
}

}  // namespace

bool SummerChangesOfYear(int year, C_Time* start, C_Time* end) {
    start->SetInvalid();
    end->SetInvalid();
    TIME_ZONE_INFORMATION record;
    C_Time::GetLocTimeZoneInfoForYear(year, &record);
    // The record's period that begins in the year holds the start; where summer runs over
    // the new year, the end in the year closes the period that began the year before.
    C_Time begins, ends, earlier;
    if (Utc(year - 1, 7).IsInvalid()) return false;
    Utc(year, 7).IsSummerTime(&record, &begins, &ends);
    if (record.StandardDate.wMonth < record.DaylightDate.wMonth) Utc(year - 1, 7).IsSummerTime(&record, &earlier, &ends);
    if (begins.IsInvalid() || ends.IsInvalid()) return false;
    *start = begins;
    *end = ends;
    return true;
}

bool SummerPeriodAround(const C_Time& point, C_Time* start, C_Time* end) {
    start->SetInvalid();
    end->SetInvalid();
    const int year = point.GetLocYear();
    if (year == 0) return false;
    const bool summer = point.IsSummerTime();
    C_Time starts[4], ends[4];
    for (int i = 0; i < 4; ++i) SummerChangesOfYear(year - 1 + i, &starts[i], &ends[i]);
    // In summer: the last start at or before the point, the first end after it. Outside:
    // the first start after the point, and the first end after that start.
    for (int i = 0; i < 4; ++i) {
        if (starts[i].IsInvalid()) continue;
        if (summer ? starts[i] <= point && starts[i] > *start : starts[i] > point && (start->IsInvalid() || starts[i] < *start))
            *start = starts[i];
    }
    if (start->IsInvalid()) return false;
    const C_Time after = summer ? point : *start;
    for (const C_Time& e : ends)
        if (e.IsValid() && e > after && (end->IsInvalid() || e < *end)) *end = e;
    if (end->IsInvalid()) start->SetInvalid();
    return start->IsValid();
}

std::string ChangeHint(const C_Time& change) {
    SYSTEMTIME before, after;
    if (change.IsInvalid() || !(change - C_TimeSpan(600000000)).GetLocSystemTime(&before) ||
        !change.GetLocSystemTime(&after))
        return std::string();
    char text[40];
    std::snprintf(text, sizeof text, "( %u:%02u -> %u:%02u )", before.wHour, before.wMinute, after.wHour, after.wMinute);
    return text;
}

std::string ChangeOverNote(const SYSTEMTIME& typed, const C_Time& point, C_Time* other) {
    other->SetInvalid();
    SYSTEMTIME shown;
    if (point.IsInvalid() || !point.GetLocSystemTime(&shown, NULL)) return std::string();
    char text[120];
    if (shown.wDay != typed.wDay || shown.wHour != typed.wHour || shown.wMinute != typed.wMinute) {
        std::snprintf(text, sizeof text, "%02u:%02u gibt es am %02u.%02u.%u nicht \x96 gezeigt: %02u:%02u", typed.wHour,
                      typed.wMinute, typed.wDay, typed.wMonth, typed.wYear, shown.wHour, shown.wMinute);
        return text;
    }
    // The same reading one shift earlier or later: the hour the clocks go back repeats.
    TIME_ZONE_INFORMATION record;
    C_Time::GetLocTimeZoneInfoForYear(shown.wYear, &record);
    const __int64 shift = static_cast<__int64>(record.DaylightBias) * -600000000;  // minutes to ticks
    for (const __int64 step : {shift, -shift}) {
        SYSTEMTIME again;
        const C_Time candidate = point + C_TimeSpan(step);
        if (step == 0 || !candidate.GetLocSystemTime(&again, NULL) || again.wDay != shown.wDay ||
            again.wHour != shown.wHour || again.wMinute != shown.wMinute || again.wSecond != shown.wSecond)
            continue;
        *other = candidate;
        std::snprintf(text, sizeof text, "%02u:%02u gibt es zweimal \x96 gezeigt: die %s (%s)", typed.wHour, typed.wMinute,
                      candidate > point ? "erste" : "zweite", point.IsSummerTime() ? "Sommerzeit" : "Normalzeit");
        return text;
    }
    return std::string();
}
