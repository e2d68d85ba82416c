/* One FILETIME in New York's local time, and Bavaria's legal holidays of 2025, through the
 * C interface of quendel_time.dll (C89; link quendel_time.lib or libquendel_time.dll.a). */
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

#include "quendel_time.h"

/* UTF-16 to the console as UTF-8. */
static void print_wide(const wchar_t* text) {
    char utf8[200];
    if (WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, NULL, NULL) > 0) fputs(utf8, stdout);
}

static int report(const char* call, qt_status status) {
    wchar_t text[100];
    printf("%s: ", call);
    quendel_time_status_text(status, text, 100, NULL);
    print_wide(text);
    printf("\n");
    return 1;
}

int main(void) {
    const qt_filetime ft = {0x393C0000UL, 0x01DACE2BUL}; /* 2024-07-04 16:00:00 UTC */
    qt_int64 ticks;
    qt_zone newYork;
    qt_fields local;
    qt_holiday days[QT_HOLIDAY_COUNT];
    wchar_t name[80];
    int count, i;
    qt_status s;

    if ((s = quendel_time_from_filetime(&ft, &ticks)) != QT_OK) return report("from_filetime", s);
    if ((s = quendel_time_zone_open_key(L"Eastern Standard Time", &newYork)) != QT_OK)
        return report("zone_open_key", s);
    local.cbSize = sizeof local;
    s = quendel_time_to_local(newYork, ticks, &local);
    quendel_time_zone_close(newYork);
    if (s != QT_OK) return report("to_local", s);
    printf("New York: %04d-%02d-%02d %02d:%02d:%02d (UTC%+03d:%02d%s)\n", local.year, local.month, local.day,
           local.hour, local.minute, local.second, local.utc_offset / 60, abs(local.utc_offset) % 60,
           local.is_summer ? ", summer time" : "");

    if ((s = quendel_time_holidays(L"BY", 2025, days, QT_HOLIDAY_COUNT, &count)) != QT_OK) return report("holidays", s);
    for (i = 0; i < count; ++i) {
        quendel_time_holiday_name(days[i].holiday, name, 80, NULL);
        printf("%04d-%02d-%02d ", days[i].year, days[i].month, days[i].day);
        print_wide(name);
        printf("\n");
    }
    return 0;
}
