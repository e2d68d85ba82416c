// The holiday calendar of the converter: the German holidays and special days of a year,
// each as an instant with its name and a legal-holiday mark, sorted by instant, and the
// list line the dialog shows for each.
//
// All local times are those of the global user time zone (C_Time::SetLocTimeZoneInfo).
// Names are fixed German texts in Windows-1252, not taken from the locale.
#pragma once

#include "strings/c_string.h"
#include "timelib/c_time.h"
#include "timelib/seasons.h"

struct HolidayEntry {
    C_Time when;     // the instant that stands for the day
    C_String name;
    bool legal = false;  // a legal holiday, listed with "**"
    bool timed = false;  // an instant (a season, a change of summer time), not a whole day
};

// One table for the whole program; g_holidayCount records are in use. Records beyond the
// count keep stale contents and are not read.
inline constexpr int kHolidayCapacity = 100;
extern HolidayEntry g_holidays[kHolidayCapacity];
extern int g_holidayCount;

// Tab stops of the holiday list box, in dialog template units.
// Mark, weekday, date and name; the name's stop leaves room for the longest name in a list
// box of 180 units.
inline constexpr int kHolidayTabStopCount = 4;
inline constexpr int kHolidayTabStops[kHolidayTabStopCount] = {1, 11, 27, 67};

// Easter Sunday of the year (Gregorian computus), 12:00 UTC; invalid before 1601.
C_Time EasterSunday(int year);

// Each adds one record to the table (nothing when the day cannot be built or the table is
// full). An offset of N days adds exactly N x 86 400 seconds.
// Local midnight of day.month.year.
void AddFixedDay(int day, int month, int year, const C_String& name, bool legal);
// 1 January 14:00 local plus the offset.
void AddDayOfYear(int year, int offset, const C_String& name, bool legal);
// 12:00 local on the date of Easter Sunday plus the offset.
void AddEasterDay(int year, int offset, const C_String& name, bool legal);
// 12:00 local on the date of the fourth Advent Sunday plus the offset.
void AddAdventDay(int year, int offset, const C_String& name, bool legal);
// 12:00 local of the n-th weekday (0 Monday to 6 Sunday) of the month.
void AddNthWeekday(int year, int month, int n, int weekday, const C_String& name, bool legal);
// The zone's change to (which 0) or from (which 1) summer time that falls in the year, by the
// year's record; nothing in a year without summer time.
void AddSummerTimeDay(int year, int which, const C_String& name, bool legal);
// The instant of the equinox or solstice.
void AddSeason(int year, quendel::Season season, const C_String& name, bool legal);

// qsort-style order of two HolidayEntry records by instant: 1, -1 or 0.
int CompareHolidays(const void* first, const void* second);

// Rebuilds the table for the local year of the point and sorts it by instant; days with
// equal instants keep the order in which they were added. The legal marks are those of the
// state (federal_states.h) in that year (timelib/holiday_laws.h). Returns g_holidayCount: 51, or 49
// in a zone without summer time (3 fewer before the newer days of remembrance: Internationaler
// Frauentag from 1911, Tag der Befreiung from 1945, Weltkindertag from 1954), and 0 for an
// invalid point.
int BuildHolidayTable(const C_Time& point, int state = 0);

// The list line of one record: mark, tab, abbreviated weekday, blank, tab, date, tab, name,
// for instance "**\tMi \t01.01.2003\tNeujahr". Returns line's text.
const char* FormatHolidayLine(const HolidayEntry& entry, C_String& line);
