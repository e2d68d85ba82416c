// The holiday list as an iCalendar file (RFC 5545), apart from any window or file: the
// events go in, the file's bytes come out, so that an export can be checked line by line.
#pragma once

#include <string>
#include <vector>

// A calendar date, and for an instant the time of day in UTC.
struct CalendarInstant {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0;
};

struct CalendarEvent {
    CalendarInstant start;  // all-day: the local date; timed: the UTC instant
    bool timed = false;     // a season or a change of summer time
    bool legal = false;     // a legal holiday: CATEGORIES:Feiertag
    std::string name;       // Windows-1252
};

// One VCALENDAR with a VEVENT per event, in the events' order: UTF-8, CRLF line ends,
// content lines folded at 75 octets (never inside a UTF-8 sequence), SUMMARY as escaped
// TEXT. All-day events are DTSTART;VALUE=DATE (one day by the RFC's default), timed ones
// DTSTART in UTC. The UID depends only on the event's date and name, so the same day keeps
// its UID across exports. stamp: the export's instant in UTC (DTSTAMP).
std::string WriteICalendar(const std::vector<CalendarEvent>& events, const CalendarInstant& stamp);

// The pieces, each as the RFC defines it.
std::string EscapeText(const std::string& utf8);           // \\ \; \, \n
std::string FoldContentLine(const std::string& line);     // with its CRLF
std::string Windows1252ToUtf8(const std::string& text);
std::string EventUid(const CalendarEvent& event);         // "20031003-tag-der-deutschen-einheit@quendel"
