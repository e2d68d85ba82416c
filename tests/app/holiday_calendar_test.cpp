// The holiday calendar against an independent one (tests/data/app_holidays.tsv, app_easter.tsv):
// whole years in zones from UTC-12 to UTC+14, lines and exact instants; what operations leave out.
// The states' legal holidays, the Bundesland setting, and one calendar export line by line.
#include "app/holiday_calendar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "app/federal_states.h"
#include "app/file_replace.h"
#include "app/ical_writer.h"
#include "app/window_position.h"
#include "support/data_table.h"
#include "support/locale_scope.h"
#include "support/test_zones.h"

namespace {

// An instant in UTC by the platform's calendar, "2003-04-20 12:00" and any ticks beyond the minute.
std::string Utc(const C_Time& point) {
    const ULONGLONG ticks = point.GetTimeUTC(), rest = ticks % 600000000;
    const FILETIME f = {DWORD(ticks), DWORD(ticks >> 32)};
    SYSTEMTIME s;
    char text[60] = "invalid";
    if (point.IsValid() && FileTimeToSystemTime(&f, &s))
        std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d%s%.0llu", s.wYear, s.wMonth, s.wDay, s.wHour,
                      s.wMinute, rest ? "+" : "", rest);
    return text;
}

void Use(const std::string& zone) {  // a test zone by the start of its name, or a fixed bias in minutes
    TIME_ZONE_INFORMATION z = test_zones::Make(std::atol(zone.c_str()), 0, {}, {});
    for (const TIME_ZONE_INFORMATION& named : {test_zones::WEurope(), test_zones::Tokyo(), test_zones::Eastern(),
                                               test_zones::AusEastern(), test_zones::Chatham()})
        if (std::wstring(named.StandardName).rfind(std::wstring(zone.begin(), zone.end()), 0) == 0) z = named;
    C_Time::SetLocTimeZoneInfo(&z);
}

std::string Dash(const char* text) { return *text ? text : "-"; }

}  // namespace

TEST(Holidays, WholeYears) {
    LocaleScope locale;
    locale.German();
    std::map<std::string, std::vector<std::string>> years;  // zone and year: the days
    for (const data_table::Row& r : data_table::Read("app_holidays.tsv")) {
        char day[16] = "";  // the user locale's abbreviation of the weekday (a German Windows: "Mo")
        GetLocaleInfoA(LOCALE_USER_DEFAULT,
                       LCTYPE(LOCALE_SABBREVDAYNAME1 + std::string("MoDiMiDoFrSaSo").find(r[3]) / 2), day, 16);
        years[r[0] + "\t" + r[1]].push_back((r[2] == "**" ? "**\t" : " \t") + std::string(day) + " \t" + r[4] + "\t" +
                                            r[5] + "\t" + r[6]);
    }
    for (const auto& [key, expected] : years) {  // each built for 1 January 00:30 local
        Use(key.substr(0, key.find('\t')));
        ASSERT_EQ(BuildHolidayTable(C_Time(std::stoi(key.substr(key.find('\t'))), 1, 1, 0, 30, 0)),
                  int(expected.size()))
            << key;
        C_String line;
        for (int i = 0; i < g_holidayCount; ++i) {
            // "~": an ephemeris's instant of a season, which the program's meets within a minute.
            const std::size_t at = expected[i].rfind('\t') + 1;
            SYSTEMTIME s = {};
            FILETIME f = {};
            if (expected[i][at] == '~' && std::sscanf(expected[i].c_str() + at + 1, "%hu-%hu-%hu %hu:%hu:%hu", &s.wYear,
                                                       &s.wMonth, &s.wDay, &s.wHour, &s.wMinute, &s.wSecond) == 6) {
                SystemTimeToFileTime(&s, &f);
                const __int64 off = g_holidays[i].when - C_Time(f);
                EXPECT_TRUE(off > -600000000 && off < 600000000) << key << " " << expected[i];
                EXPECT_EQ(std::string(FormatHolidayLine(g_holidays[i], line)), expected[i].substr(0, at - 1)) << key;
            } else {
                EXPECT_EQ(std::string(FormatHolidayLine(g_holidays[i], line)) + "\t" + Utc(g_holidays[i].when), expected[i])
                    << key;
            }
        }
    }
}

TEST(Holidays, EasterSunday) {
    for (const data_table::Row& r : data_table::Read("app_easter.tsv"))
        EXPECT_EQ(Utc(EasterSunday(std::stoi(r[0]))), r[1]);
}

TEST(Holidays, WhatTheOperationsLeaveOut) {
    g_holidayCount = 0;
    AddFixedDay(29, 2, 2003, "no such date", false);
    AddDayOfYear(1600, 44, "before the time scale", false);
    AddEasterDay(1500, 1, "before the time scale", false);
    AddAdventDay(1500, 0, "before the time scale", false);
    EXPECT_EQ(g_holidayCount, 0);
    for (int i = 0; i <= kHolidayCapacity; ++i) AddFixedDay(1, 1, 2003, "one too many", false);
    EXPECT_EQ(g_holidayCount, kHolidayCapacity);
    HolidayEntry invalid, valid;
    valid.when = C_Time(1);
    EXPECT_EQ(std::vector<int>({CompareHolidays(&invalid, &valid), CompareHolidays(&valid, &invalid),
                                CompareHolidays(&valid, &valid)}),
              std::vector<int>({-1, 1, 0}));
}

TEST(Holidays, StateLaws) {  // the marked days, "date name", of each state's list
    LocaleScope locale;
    locale.German();
    Use("W. Europe");
    for (const data_table::Row& r : data_table::Read("app_holiday_laws.tsv")) {
        BuildHolidayTable(C_Time(std::stoi(r[1]), 1, 1, 0, 30, 0), StateFromCode(r[0].c_str()));
        data_table::Row marked(r.begin(), r.begin() + 2);
        C_String line;
        for (int i = 0; i < g_holidayCount; ++i) {
            std::string text = FormatHolidayLine(g_holidays[i], line);
            text[text.rfind('\t')] = ' ';
            if (g_holidays[i].legal) marked.push_back(text.substr(text.find('\t', 3) + 1));
        }
        EXPECT_EQ(marked, r);
    }
}

TEST(Holidays, StatesAndTheirSetting) {
    for (const data_table::Row& r : data_table::Read("app_states.tsv")) {
        const int state = std::stoi(r[0]);
        EXPECT_EQ(data_table::Row({r[0], Dash(StateCode(state)), Dash(StateListName(state)), Dash(StateLegendName(state))}), r);
        EXPECT_EQ(StateFromCode(r[1].c_str()), r[1] == "-" ? kNationwide : state);
    }
    // The user's key stands aside: HKCU is a scratch key meanwhile.
    HKEY scratch = NULL, key = NULL;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\QuendelTest", 0, NULL, 0, KEY_ALL_ACCESS, NULL, &scratch, NULL), 0);
    ASSERT_EQ(RegOverridePredefKey(HKEY_CURRENT_USER, scratch), 0);
    for (const data_table::Row& r : data_table::Read("app_state_settings.tsv")) {
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Quendel");
        if (r[0] != "key") RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Quendel", 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL);
        const bool window = r.size() > 3;  // the window's place, "Fenster", as "left,top"
        if (r[0] != "key" && r[0] != "none")
            RegSetValueExA(key, window ? "Fenster" : "Bundesland", 0, std::stoul(r[0]),
                           reinterpret_cast<const BYTE*>(r[1].data()), r[1].size());
        if (r[0] != "key") RegCloseKey(key);
        POINT at;
        const std::string place = LoadWindowPosition(&at) ? std::to_string(at.x) + "," + std::to_string(at.y) : "-";
        EXPECT_EQ(window ? place : Dash(StateCode(ReadStateSetting())), r[2]) << r[0] << " " << r[1];
    }
    for (int state = kStateCount; state >= 0; --state)  // a bad state is refused; nationwide last
        EXPECT_EQ(WriteStateSetting(state) ? ReadStateSetting() : -1, state < kStateCount ? state : -1);
    RegOverridePredefKey(HKEY_CURRENT_USER, NULL);
    RegCloseKey(scratch);
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\QuendelTest");
}

TEST(Holidays, CalendarExportLineByLine) {
    const auto instant = [](const std::string& date, const std::string& time) {
        CalendarInstant t;
        std::sscanf((date + " " + time).c_str(), "%d-%d-%d %d:%d:%d", &t.year, &t.month, &t.day, &t.hour, &t.minute, &t.second);
        return t;
    };
    CalendarInstant stamp;
    std::vector<CalendarEvent> events;
    std::vector<std::string> expected, lines;
    for (const data_table::Row& r : data_table::Read("app_ical_export.tsv")) {
        if (r[0] == "stamp") stamp = instant(r[1], r[2]);
        if (r[0] == "event") events.push_back({instant(r[1], r[2]), r[2] != "-", r[3] == "**", r[4]});
        if (r[0] == "line") expected.push_back(r[1]);
    }
    const std::string file = WriteICalendar(events, stamp);
    std::size_t at = 0;
    for (std::size_t end; (end = file.find("\r\n", at)) != std::string::npos; at = end + 2) lines.push_back(file.substr(at, end - at));
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(at, file.size());  // CRLF ends the last line too
}

TEST(Holidays, CalendarFileWholeOrNothing) {
    char temp[MAX_PATH] = "";
    ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
    const std::string folder = std::string(temp) + "quendel_ics", path = folder + "\\k.ics";
    CreateDirectoryA(folder.c_str(), NULL);
    CreateDirectoryA((folder + "\\ordner.ics").c_str(), NULL);
    std::string reason;
    // An existing file keeps its own attributes; a read-only one refuses and stays as it was.
    EXPECT_TRUE(WriteFileReplacing(path, "eins", reason) && SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN) &&
                WriteFileReplacing(path, "zwei\r\n", reason));
    EXPECT_EQ(GetFileAttributesA(path.c_str()) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY), DWORD(FILE_ATTRIBUTE_HIDDEN));
    EXPECT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY) && !WriteFileReplacing(path, "drei", reason));
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(std::ifstream(path, std::ios::binary).rdbuf()), {}), "zwei\r\n");
    // A folder in the way, a folder that is not there: the system's words, nothing left over.
    EXPECT_FALSE(WriteFileReplacing(folder + "\\ordner.ics", "x", reason));
    EXPECT_EQ(reason, SystemErrorText(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(WriteFileReplacing(folder + "\\fehlt\\k.ics", "x", reason));
    EXPECT_NE(reason.find(' '), std::string::npos) << reason;
    std::vector<std::string> left;
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) left.push_back(found.cFileName);
    FindClose(search);
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, std::vector<std::string>({".", "..", "k.ics", "ordner.ics"}));
    DeleteFileA(path.c_str());
    RemoveDirectoryA((folder + "\\ordner.ics").c_str());
    RemoveDirectoryA(folder.c_str());
}
