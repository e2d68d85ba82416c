// The time library in a few lines: a UTC instant, its Unix time, its German text.
#include <timelib/c_time.h>
#include <timelib/format_flags.h>
#include <cstdio>

int main() {
    C_Time t;
    t.SetTimeUTC(2000, 1, 1, 12, 0, 0, 0);  // 2000-01-01 12:00:00 UTC
    char text[64];
    t.Format(text, sizeof text, FMT_DATE | FMT_YEAR4 | FMT_TIME | FMT_UTC, 0x407);  // German
    std::printf("%ld = %s UTC\n", t.GetUnixTime(), text);
    return t.GetUnixTime() == 946728000L ? 0 : 1;  // 10957 days and 12 hours after 1970
}
