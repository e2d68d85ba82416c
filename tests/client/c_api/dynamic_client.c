/* A C program that uses quendel_time.dll as ctypes and P/Invoke do: LoadLibraryW and
 * GetProcAddress by the plain names, nothing linked. It calls every exported function and
 * compares the results with c_api_answers.tsv (Python's datetime and zoneinfo, the holiday
 * laws' table), once on the main thread and then on four threads at once with shared zone
 * handles. The timestamp readers take stamp_answers.tsv's texts (Python's datetime and uuid,
 * the formats' own examples, real files) and read back what they write.
 *   dynamic_client.exe <answers.tsv> <stamp_answers.tsv> <expected version> */
#define __USE_MINGW_ANSI_STDIO 1
#include <windows.h>

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

#include "quendel_time.h"

#define ALL(X)                                                                                            \
    X(quendel_time_version) X(quendel_time_status_text) X(quendel_time_from_fields)                       \
    X(quendel_time_to_fields) X(quendel_time_from_filetime) X(quendel_time_to_filetime)                   \
    X(quendel_time_from_unix) X(quendel_time_to_unix) X(quendel_time_from_ole) X(quendel_time_to_ole)     \
    X(quendel_time_zone_open_key) X(quendel_time_zone_open_machine) X(quendel_time_zone_open_iana)        \
    X(quendel_time_zone_key) X(quendel_time_zone_name) X(quendel_time_zone_close) X(quendel_time_to_local) \
    X(quendel_time_from_local) X(quendel_time_is_summer) X(quendel_time_changes) X(quendel_time_format)   \
    X(quendel_time_parse) X(quendel_time_holidays) X(quendel_time_holiday_name) X(quendel_time_read_stamp)      \
    X(quendel_time_write_stamp) X(quendel_time_stamp_name)
/* Each pointer has the type of the header's prototype: a wrong signature does not compile. */
#define DECLARE(name) static __typeof__(&name) p_##name;
ALL(DECLARE)

/* The layouts every other language declares by hand. */
typedef char layout_check[sizeof(qt_fields) == 44 && sizeof(qt_local_result) == 24 && sizeof(qt_changes) == 32 &&
                          sizeof(qt_holiday) == 16 && sizeof(qt_filetime) == 8 && sizeof(qt_stamp) == 16 ? 1 : -1];

static volatile LONG g_failures;
static char g_rows[1200][8][160];
static int g_rowCount;
static qt_zone g_zones[32];
static char g_zoneKeys[32][64];
static int g_zoneCount;

static void fail(const char* row, const char* what) {
    InterlockedIncrement(&g_failures);
    printf("FAIL %s: %s\n", row, what);
}
#define CHECK(cond, row) ((cond) ? (void)0 : fail(row, #cond))

static qt_int64 num(const char* s) { return strtoll(s, NULL, 10); }

#define NOW 134410752000000000LL /* 2026-12-07, the present of the stamp answers' NTP eras */

static void utf16(const char* utf8, wchar_t* out, int capacity) {
    if (MultiByteToWideChar(CP_UTF8, 0, utf8, -1, out, capacity) <= 0) out[0] = 0;
}

/* "Y-m-d H:M:S.mmm" (or "Y-m-d H:M") into fields. */
static qt_fields fields_of(const char* text) {
    qt_fields f;
    memset(&f, 0, sizeof f);
    f.cbSize = sizeof f;
    sscanf(text, "%d-%d-%d %d:%d:%d.%d", &f.year, &f.month, &f.day, &f.hour, &f.minute, &f.second, &f.millisecond);
    return f;
}

static int same_fields(const qt_fields* a, const qt_fields* b) {
    return a->year == b->year && a->month == b->month && a->day == b->day && a->hour == b->hour &&
           a->minute == b->minute && a->second == b->second && a->millisecond == b->millisecond;
}

/* The handle of a registry key (or an IANA name, with a '/'), opened once and shared by all threads; the Berlin rows go
 * through the machine's zone as well (the test prefix runs in Europe/Berlin). */
static qt_zone zone_of(const char* key) {
    int i;
    wchar_t wide[64];
    for (i = 0; i < g_zoneCount; ++i)
        if (strcmp(g_zoneKeys[i], key) == 0) return g_zones[i];
    if (g_zoneCount == 32) {
        fail(key, "more zones than the client holds");
        return g_zones[0];
    }
    utf16(key, wide, 64);
    if ((strchr(key, '/') ? p_quendel_time_zone_open_iana : p_quendel_time_zone_open_key)(wide, &g_zones[g_zoneCount]) !=
        QT_OK)
        fail(key, "zone_open");
    strcpy(g_zoneKeys[g_zoneCount], key);
    return g_zones[g_zoneCount++];
}

static void check_utc(char (*r)[160]) {
    qt_int64 ticks = num(r[1]), back = -1, unix = 0;
    qt_fields want = fields_of(r[2]), got;
    qt_filetime ft;
    double ole = 0;
    got.cbSize = sizeof got;
    CHECK(p_quendel_time_from_fields(&want, &back) == QT_OK && back == ticks, r[2]);
    CHECK(p_quendel_time_to_fields(ticks, &got) == QT_OK && same_fields(&got, &want) && got.day_of_week == atoi(r[3]),
          r[2]);
    CHECK(p_quendel_time_to_filetime(ticks, &ft) == QT_OK &&
              ((qt_int64)ft.dwHighDateTime << 32 | ft.dwLowDateTime) == ticks, r[2]);
    CHECK(p_quendel_time_from_filetime(&ft, &back) == QT_OK && back == ticks, r[2]);
    CHECK(p_quendel_time_to_unix(ticks, &unix) == QT_OK && unix == num(r[4]), r[2]);
    CHECK(p_quendel_time_from_unix(num(r[4]), &back) == QT_OK && back == ticks - ticks % 10000000, r[2]);
    CHECK(p_quendel_time_to_ole(ticks, &ole) == QT_OK && fabs(ole - atof(r[5])) < 5e-9, r[2]);
    CHECK(p_quendel_time_from_ole(atof(r[5]), &back) == QT_OK && back == ticks, r[2]);
}

static void check_local(char (*r)[160]) {
    const qt_int64 ticks = num(r[2]);
    qt_zone z = zone_of(r[1]);
    qt_fields want = fields_of(r[3]), got;
    int summer = -1;
    got.cbSize = sizeof got;
    CHECK(p_quendel_time_to_local(z, ticks, &got) == QT_OK && same_fields(&got, &want) &&
              got.day_of_week == atoi(r[4]) && got.utc_offset == atoi(r[5]) && got.is_summer == atoi(r[6]), r[3]);
    CHECK(p_quendel_time_is_summer(z, ticks, &summer) == QT_OK && summer == atoi(r[6]), r[3]);
    if (strcmp(r[1], "W. Europe Standard Time") == 0)
        CHECK(p_quendel_time_to_local(g_zones[0], ticks, &got) == QT_OK && same_fields(&got, &want), r[3]);
}

static void check_resolve(char (*r)[160]) {
    qt_fields local = fields_of(r[2]);
    qt_local_result res;
    res.cbSize = sizeof res;
    CHECK(p_quendel_time_from_local(zone_of(r[1]), &local, &res) == QT_OK && res.kind == atoi(r[3]) &&
              res.earlier == num(r[4]) && res.later == num(r[5]), r[2]);
}

static void check_changes(char (*r)[160]) {
    qt_changes c;
    c.cbSize = sizeof c;
    CHECK(p_quendel_time_changes(zone_of(r[1]), atoi(r[2]), &c) == QT_OK &&
              c.has_start == (r[3][0] != '-') && (!c.has_start || c.start == num(r[3])) &&
              c.has_end == (r[4][0] != '-') && (!c.has_end || c.end == num(r[4])), r[2]);
}

/* Writes the point, compares the text, and reads it back to the shown precision. */
static void check_format(char (*r)[160]) {
    const qt_int64 ticks = num(r[2]);
    const int flags = atoi(r[3]);
    const unsigned long lcid = strtoul(r[4], NULL, 10);
    const qt_int64 unit = (flags & QT_FMT_SECONDS) ? 10000000 : 600000000;
    qt_zone z = strcmp(r[1], "UTC") == 0 ? NULL : zone_of(r[1]);
    wchar_t want[160], got[160];
    int length = -1;
    qt_local_result res;
    utf16(r[5], want, 160);
    CHECK(p_quendel_time_format(z, ticks, flags, lcid, got, 160, &length) == QT_OK && wcscmp(got, want) == 0 &&
              length == (int)wcslen(want), r[5]);
    CHECK(p_quendel_time_format(z, ticks, flags, lcid, got, length, &length) == QT_E_BUFFER_TOO_SMALL &&
              got[0] == 0 && length == (int)wcslen(want), r[5]);
    res.cbSize = sizeof res;
    if (flags & QT_FMT_MSECONDS) {  /* written, never read */
        CHECK(p_quendel_time_parse(z, want, flags, lcid, &res) == QT_E_ARGUMENT, r[5]);
        return;
    }
    CHECK(p_quendel_time_parse(z, want, flags, lcid, &res) == QT_OK &&
              (res.earlier == ticks - ticks % unit || res.later == ticks - ticks % unit), r[5]);
}

static void check_holidays(char (*r)[160]) {
    qt_holiday list[QT_HOLIDAY_COUNT];
    int count = -1, i;
    char text[400] = "", item[16];
    wchar_t code[4], *state = strcmp(r[1], "DE") == 0 ? NULL : code;
    utf16(r[1], code, 4);
    CHECK(p_quendel_time_holidays(state, atoi(r[2]), list, QT_HOLIDAY_COUNT, &count) == QT_OK, r[1]);
    for (i = 0; i < count && i < 20; ++i) {
        sprintf(item, "%s%d:%02d-%02d", i ? " " : "", list[i].holiday, list[i].month, list[i].day);
        strcat(text, item);
        CHECK(list[i].year == atoi(r[2]), r[1]);
    }
    if (strcmp(text, r[3]) != 0) fail(r[1], text);
    CHECK(p_quendel_time_holidays(state, atoi(r[2]), list, 2, &count) == QT_E_BUFFER_TOO_SMALL && count > 2, r[1]);
}

static void check_name(char (*r)[160]) {
    wchar_t want[80], got[80];
    int length = 0;
    utf16(r[2], want, 80);
    CHECK(p_quendel_time_holiday_name(atoi(r[1]), got, 80, &length) == QT_OK && wcscmp(got, want) == 0, r[2]);
}

/* The text has a reading of the row's form at its ticks (UTC: no zone given); each reading
 * of that form, written and read again, writes the same text once more. */
static void check_stamp(char (*r)[160]) {
    qt_stamp list[QT_STAMP_COUNT], again[QT_STAMP_COUNT];
    int n = 0, m = 0, i, j, found = 0, length;
    wchar_t text[160], token[40], want[40], written[200], rewritten[200];
    utf16(r[1], text, 160);
    utf16(r[2], want, 40);
    CHECK(p_quendel_time_read_stamp(NULL, text, NOW, list, QT_STAMP_COUNT, &n) == QT_OK, r[1]);
    for (i = 0; i < n; ++i) {
        if (p_quendel_time_stamp_name(list[i].form, QT_STAMP_NAME_TOKEN, token, 40, &length) != QT_OK ||
            wcscmp(token, want) != 0)
            continue;
        found += list[i].ticks == num(r[3]);
        CHECK(p_quendel_time_write_stamp(NULL, list[i].form, list[i].ticks, written, 200, &length) == QT_OK &&
                  p_quendel_time_read_stamp(NULL, written, NOW, again, QT_STAMP_COUNT, &m) == QT_OK, r[1]);
        for (j = 0; j < m && again[j].form != list[i].form; ++j) continue;
        CHECK(j < m && p_quendel_time_write_stamp(NULL, again[j].form, again[j].ticks, rewritten, 200, &length) ==
                  QT_OK && wcscmp(written, rewritten) == 0, r[1]);
    }
    if (found != 1) fail(r[1], r[2]);
}

static DWORD WINAPI check_rows(void* unused) {
    int i;
    (void)unused;
    for (i = 0; i < g_rowCount; ++i) {
        char(*r)[160] = g_rows[i];
        if (strcmp(r[0], "utc") == 0) check_utc(r);
        else if (strcmp(r[0], "local") == 0) check_local(r);
        else if (strcmp(r[0], "resolve") == 0) check_resolve(r);
        else if (strcmp(r[0], "changes") == 0) check_changes(r);
        else if (strcmp(r[0], "format") == 0) check_format(r);
        else if (strcmp(r[0], "holidays") == 0) check_holidays(r);
        else if (strcmp(r[0], "name") == 0) check_name(r);
        else if (strcmp(r[0], "stamp") == 0) check_stamp(r);
        else if (strcmp(r[0], "range") == 0) continue; /* the C++ tests' */
        else fail(r[0], "unknown row");
    }
    return 0;
}

/* Refusals: each bad input has its status, and status texts exist for all. */
static void check_refusals(void) {
    qt_fields f = fields_of("2003-02-29 12:00:00.000");
    qt_int64 t;
    qt_zone z = NULL;
    wchar_t text[210];
    int length = 0, s, count;
    qt_stamp stamps[QT_STAMP_COUNT];
    double ole = 0;
    qt_local_result res;
    res.cbSize = sizeof res;
    CHECK(p_quendel_time_from_fields(&f, &t) == QT_E_NO_SUCH_DATE, "29.02.2003");
    f.cbSize = 4;
    CHECK(p_quendel_time_to_fields(0, &f) == QT_E_STRUCT_SIZE, "cbSize 4");
    f.cbSize = sizeof f;
    CHECK(p_quendel_time_to_fields(-1, &f) == QT_E_RANGE, "ticks -1");
    CHECK(p_quendel_time_from_unix(910692730086LL, &t) == QT_E_RANGE, "unix after 30828");
    CHECK(p_quendel_time_from_ole(0.0 / 0.0, &t) == QT_E_RANGE && p_quendel_time_from_ole(10566500.0, &t) ==
              QT_E_RANGE, "OLE NaN, 30829");
    CHECK(p_quendel_time_to_ole(9223372036854775807LL, &ole) == QT_OK && fabs(ole - 10565994.1167) < 1e-4,
          "OLE of the last tick");
    CHECK(p_quendel_time_zone_open_key(L"No Such Zone", &z) == QT_E_NOT_FOUND && z == NULL, "open_key");
    CHECK(p_quendel_time_zone_open_key(L"W. Europe Standard Time\\Dynamic DST", &z) == QT_E_NOT_FOUND, "subkey");
    CHECK(p_quendel_time_zone_open_key(L"", &z) == QT_E_NOT_FOUND, "empty key");
    CHECK(p_quendel_time_zone_open_iana(L"Europe/Nowhere", &z) == QT_E_NOT_FOUND &&
              p_quendel_time_zone_open_iana(L"Europe/Berlin\u00e4", &z) == QT_E_NOT_FOUND, "open_iana unknown");
    CHECK(p_quendel_time_to_local(NULL, 1, &f) == QT_E_ARGUMENT &&
              p_quendel_time_zone_name(NULL, QT_NAME_KEY, text, 100, &length) == QT_E_ARGUMENT &&
              p_quendel_time_zone_name(g_zones[0], QT_NAME_DAYLIGHT + 1, text, 100, &length) == QT_E_ARGUMENT, "null zone");
    CHECK(p_quendel_time_holidays(L"XX", 2024, NULL, 0, &count) == QT_E_ARGUMENT &&
              p_quendel_time_holidays(L"B\u0159", 2024, NULL, 0, &count) == QT_E_ARGUMENT &&
              p_quendel_time_holidays(L"\u0142Y", 2024, NULL, 0, &count) == QT_E_ARGUMENT, "state XX, B\u0159 (BY?)");
    CHECK(p_quendel_time_holidays(L"BY", 1600, NULL, 0, &count) == QT_E_RANGE, "year 1600");
    CHECK(p_quendel_time_holiday_name(QT_HOLIDAY_COUNT, text, 100, &length) == QT_E_ARGUMENT, "holiday past the last");
    CHECK(p_quendel_time_parse(NULL, L"31.02.2003", QT_FMT_DATE, 0x407, &res) == QT_E_NO_SUCH_DATE, "31.02.2003");
    CHECK(p_quendel_time_parse(NULL, L"24.12.2003x", QT_FMT_DATE, 0x407, &res) == QT_E_PARSE, "24.12.2003x");
    CHECK(p_quendel_time_read_stamp(NULL, NULL, NOW, stamps, 4, &count) == QT_E_ARGUMENT &&
              p_quendel_time_read_stamp(NULL, L"1", NOW, stamps, -1, &count) == QT_E_ARGUMENT, "read_stamp null");
    stamps[0].form = -1;
    CHECK(p_quendel_time_read_stamp(NULL, L"1700000000", NOW, stamps, 1, &count) == QT_E_BUFFER_TOO_SMALL &&
              count > 1 && stamps[0].form == -1, "read_stamp small");
    CHECK(p_quendel_time_read_stamp(NULL, L" 1700000000\t", NOW, stamps, QT_STAMP_COUNT, &count) == QT_OK &&
              stamps[0].form == QT_STAMP_UNIX_SECONDS && stamps[0].ticks == 133444736000000000LL, "blanks");
    for (s = 0; s < 201; ++s) text[s] = L'1';
    text[s] = 0;
    CHECK(p_quendel_time_read_stamp(NULL, L"1700000000\u00b5", NOW, stamps, QT_STAMP_COUNT, &count) == QT_OK &&
              count == 0 && p_quendel_time_read_stamp(NULL, text, NOW, stamps, QT_STAMP_COUNT, &count) == QT_OK &&
              count == 0, "read_stamp: not ASCII, 201 digits");
    /* Local forms in a zone: the repeated hour's first occurrence, the skipped hour in standard time. */
    z = zone_of("W. Europe Standard Time");
    CHECK(p_quendel_time_read_stamp(z, L"2003-10-26T02:30:00", NOW, stamps, QT_STAMP_COUNT, &count) == QT_OK &&
              stamps[0].form == QT_STAMP_ISO8601 && stamps[0].is_local && stamps[0].ticks == 127116018000000000LL &&
              p_quendel_time_read_stamp(z, L"2003-03-30T02:30:00", NOW, stamps, QT_STAMP_COUNT, &count) == QT_OK &&
              stamps[0].ticks == 126934614000000000LL, "read_stamp in Berlin");
    CHECK(p_quendel_time_write_stamp(NULL, QT_STAMP_FILETIME_WORDS, 133444736000000000LL, text, 100, &length) == QT_OK &&
              wcscmp(text, L"0x01DA1747:0xC66D0000") == 0 &&
              p_quendel_time_write_stamp(NULL, QT_STAMP_UNIX_HEX, 9223149887999999999LL, text, 100, &length) ==
              QT_E_RANGE && p_quendel_time_write_stamp(NULL, QT_STAMP_USER_TEXT, 1, text, 100, &length) ==
              QT_E_ARGUMENT, "write_stamp");
    CHECK(p_quendel_time_stamp_name(QT_STAMP_UNIX_MICROS, QT_STAMP_NAME_GERMAN, text, 100, &length) == QT_OK &&
              wcscmp(text, L"Unixzeit (\u00b5s)") == 0 &&
              p_quendel_time_stamp_name(QT_STAMP_COUNT, QT_STAMP_NAME_TOKEN, text, 100, &length) == QT_E_ARGUMENT,
          "stamp_name");
    for (s = 0; s <= 10; ++s) {
        CHECK(p_quendel_time_status_text(s, text, 100, &length) == QT_OK && length > 3, "status_text");
        CHECK(p_quendel_time_status_text(s, text, 3, &length) == QT_E_BUFFER_TOO_SMALL && text[0] == 0 && length > 3,
              "status_text small");
    }
}

/* Every key of the database opens under its name; names as the database has them (the
 * test prefix's machine zone is Europe/Berlin). */
static void check_zone_names(void) {
    wchar_t key[100], name[200];
    int i, length, berlin = 0;
    qt_zone z;
    for (i = 0; p_quendel_time_zone_key(i, key, 100, &length) == QT_OK; ++i) {
        CHECK(p_quendel_time_zone_open_key(key, &z) == QT_OK && p_quendel_time_zone_name(z, QT_NAME_KEY, name, 200,
              &length) == QT_OK && wcscmp(name, key) == 0 && p_quendel_time_zone_close(z) == QT_OK, "zone_key");
        berlin += wcscmp(key, L"W. Europe Standard Time") == 0;
    }
    CHECK(i > 50 && berlin == 1 && p_quendel_time_zone_key(i, key, 100, &length) == QT_E_NOT_FOUND, "zone_key");
    CHECK(p_quendel_time_zone_name(g_zones[0], QT_NAME_DISPLAY, name, 200, &length) == QT_OK &&
              wcsncmp(name, L"(UTC+01:00) ", 12) == 0, "machine zone_name");
    CHECK(p_quendel_time_zone_name(zone_of("Europe/Berlin"), QT_NAME_KEY, name, 200, &length) == QT_OK &&
              wcscmp(name, L"W. Europe Standard Time") == 0, "IANA zone's key");
    z = zone_of("W. Europe Standard Time");
    CHECK(p_quendel_time_zone_name(z, QT_NAME_DISPLAY, name, 200, &length) == QT_OK && wcsstr(name, L"Berlin") &&
              p_quendel_time_zone_name(z, QT_NAME_DAYLIGHT, name, 200, &length) == QT_OK &&
              wcscmp(name, L"W. Europe Daylight Time") == 0, "zone_name");
}

int main(int argc, char** argv) {
    HMODULE dll;
    FILE* in;
    char line[1000];
    long version = 0;
    HANDLE threads[4];
    int i;
    if (argc != 4) return 2;
    dll = LoadLibraryW(L"quendel_time.dll");
    if (!dll) return 3;
#define LOAD(name)                                                             \
    if ((p_##name = (__typeof__(&name))(void*)GetProcAddress(dll, #name)) == NULL) \
        fail(#name, "not exported under its plain name");
    ALL(LOAD)
    if (g_failures) return 1;
    for (i = 1; i <= 2; ++i) {
        if ((in = fopen(argv[i], "r")) == NULL) return 2;
        while (fgets(line, sizeof line, in) && g_rowCount < 1200) {
            char* field = strtok(line, "\t\r\n");
            int n = 0;
            if (!field || field[0] == '#') continue;
            if (i == 2 && strcmp(field, "range") != 0) strcpy(g_rows[g_rowCount][n++], "stamp");
            for (; field && n < 8; field = strtok(NULL, "\t\r\n")) strcpy(g_rows[g_rowCount][n++], field);
            ++g_rowCount;
        }
        fclose(in);
    }
    CHECK(p_quendel_time_version(&version) == QT_OK && version == atol(argv[3]), "version");
    CHECK(p_quendel_time_zone_open_machine(&g_zones[0]) == QT_OK, "open_machine");
    strcpy(g_zoneKeys[g_zoneCount++], "(machine)");
    check_refusals();
    check_zone_names();
    check_rows(NULL);
    for (i = 0; i < 4; ++i) threads[i] = CreateThread(NULL, 0, check_rows, NULL, 0, NULL);
    WaitForMultipleObjects(4, threads, TRUE, INFINITE);
    for (i = 0; i < g_zoneCount; ++i) CHECK(p_quendel_time_zone_close(g_zones[i]) == QT_OK, "close");
    printf("%d rows, %d failures\n", g_rowCount, (int)g_failures);
    return g_failures ? 1 : 0;
}
