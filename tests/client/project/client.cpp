// Someone else's program using the installed headers and DLL only: known answers of a worked example.
#include <strings/c_string.h>
#include <timelib/c_time.h>
#include <timelib/c_timezone.h>

#include <cstdio>
#include <cstring>
#include <utility>

int main() {
    // The user zone (global, shared with the DLL): UTC+1, summer time from 02:00 on the last Sunday of March to
    // 03:00 on the last of October. 2003-12-24 12:00 UTC: Unix 1072267200, OLE 37979.5, 13:00 local; summer
    // time began 2003-03-30 01:00 UTC.
    TIME_ZONE_INFORMATION zone = {-60, L"Client Zone", {0, 10, 0, 5, 3, 0, 0, 0}, 0, L"", {0, 3, 0, 5, 2}, -60};
    C_Time::SetLocTimeZoneInfo(&zone);
    C_Time t, summerStart, summerEnd, back;
    const C_TimeSpan day(1, 0, 0, 0, 0);
    double ole = 0;
    SYSTEMTIME local;
    char name[32];
    C_String ticks, span;  // texts cross the module boundary in C_String
    // New York by its registry key, year by year: 2003-03-20 21:00 UTC is 16:00 (summer time from
    // 6 April that year), 2010-03-20 21:00 UTC is 17:00 (from 14 March).
    C_TimeZone newYork;
    SYSTEMTIME ny2003 = {}, ny2010 = {};
    C_Time march2003, march2010;
    march2003.SetTimeUTC(2003, 3, 20, 21, 0, 0, 0);
    march2010.SetTimeUTC(2010, 3, 20, 21, 0, 0, 0);
    const std::pair<const char*, bool> checks[] = {
        {"SetTimeUTC", t.SetTimeUTC(2003, 12, 24, 12, 0, 0, 0) && t.GetTimeUTC() == 127167408000000000ull},
        {"Unix time", t.GetUnixTime() == 1072267200L},
        {"OLE date", t.GetVariantTimeUTC(&ole) && ole == 37979.5},
        {"winter", !t.IsSummerTime(NULL, &summerStart, &summerEnd, NULL)},
        {"summer start", summerStart == C_Time(126934596000000000ull)},
        {"repeated hour: the first 02:30", C_Time(2003, 10, 26, 2, 30, 0) == C_Time(127116018000000000ull)},
        {"local hour", t.GetLocSystemTime(&local) && local.wHour == 13},
        {"span arithmetic", (t + day - t).GetSeconds() == 86400},
        {"zone name", (C_Time::GetLocTimeZoneAsRegString(name, sizeof name), std::strcmp(name, "Client Zone") == 0)},
        {"raw ticks", (t.GetTimeStr(ticks, false), ticks == "127167408000000000")},
        {"string operations", (ticks += " Ticks", ticks.GetLength() == 24 && ticks.Find("Ticks") == 19)},
        {"span text", (day.Format(span, FMT_DAYS), span == "1 Tag")},
        {"ticks read back", back.SetTimeStr("127167408000000000") && back == t},
        {"a zone year by year", newYork.Load("Eastern Standard Time") && newYork.ToLocal(march2003, &ny2003) &&
                                    newYork.ToLocal(march2010, &ny2010) && ny2003.wHour == 16 && ny2010.wHour == 17},
    };
    int failures = 0;
    for (const auto& [what, ok] : checks) failures += ok ? 0 : std::printf("FAILED: %s\n", what) > 0;
    return std::printf("client: %d failure(s)\n", failures), failures != 0;
}
