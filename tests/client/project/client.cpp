// Uses the library through its installed headers and the DLL only; exits 0 when every
// answer is right, else prints what went wrong.
#include <strings/c_string.h>
#include <timelib/c_time.h>

#include <cstdio>
#include <cstring>

static int g_failures = 0;

static void Check(bool ok, const char* what) {
    if (!ok) {
        std::printf("FAILED: %s\n", what);
        ++g_failures;
    }
}

int main() {
    // 2003-12-24 12:00 UTC, a worked example: Unix 1072267200, OLE 37979.5.
    C_Time t;
    Check(t.SetTimeUTC(2003, 12, 24, 12, 0, 0, 0), "SetTimeUTC");
    Check(t.GetTimeUTC() == 127167408000000000ull, "ticks");
    Check(t.GetUnixTime() == 1072267200L, "Unix time");
    double ole = 0;
    Check(t.GetVariantTimeUTC(&ole) && ole == 37979.5, "OLE date");

    TIME_ZONE_INFORMATION zone = {};
    zone.Bias = -60;
    zone.DaylightBias = -60;
    zone.StandardDate = SYSTEMTIME{0, 10, 0, 5, 3, 0, 0, 0};
    zone.DaylightDate = SYSTEMTIME{0, 3, 0, 5, 2, 0, 0, 0};
    std::memcpy(zone.StandardName, L"Client Zone", sizeof L"Client Zone");
    C_Time::SetLocTimeZoneInfo(&zone);  // the global user zone, shared with the DLL

    C_Time summerStart, summerEnd;
    Check(!t.IsSummerTime(NULL, &summerStart, &summerEnd, NULL), "winter");
    C_Time expectedStart;
    expectedStart.SetTimeUTC(2003, 3, 30, 1, 0, 0, 0);
    Check(summerStart == expectedStart, "summer start");
    Check(C_Time(2003, 10, 26, 2, 30, 0) == C_Time(127116018000000000ull), "repeated hour");

    SYSTEMTIME local;
    Check(t.GetLocSystemTime(&local) && local.wHour == 13, "local hour");
    C_TimeSpan day(1, 0, 0, 0, 0);
    Check((t + day - t).GetSeconds() == 86400, "span arithmetic");
    char name[32];
    C_Time::GetLocTimeZoneAsRegString(name, sizeof name);
    Check(std::strcmp(name, "Client Zone") == 0, "zone name");

    // Texts cross the module boundary in C_String.
    C_String ticks;
    t.GetTimeStr(ticks, false);
    Check(ticks == "127167408000000000", "raw ticks");
    ticks += " Ticks";
    Check(ticks.GetLength() == 24 && ticks.Find("Ticks") == 19, "string operations");
    C_String span;
    day.Format(span, FMT_DAYS);
    Check(span == "1 Tage", "span text");
    C_Time back;
    Check(back.SetTimeStr("127167408000000000") && back == t, "ticks read back");

    std::printf("client: %d failure(s)\n", g_failures);
    return g_failures == 0 ? 0 : 1;
}
