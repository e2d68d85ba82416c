#include "app/ical_writer.h"

#include <windows.h>

#include <cstdio>

namespace {

constexpr std::size_t kMaxOctets = 75;  // per physical line, without the CRLF

std::string Date(const CalendarInstant& t) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02d%02d", t.year % 10000, t.month % 100, t.day % 100);
    return text;
}

std::string DateTimeUtc(const CalendarInstant& t) {
    char text[16];
    std::snprintf(text, sizeof text, "T%02d%02d%02dZ", t.hour % 100, t.minute % 100, t.second % 100);
    return Date(t) + text;
}

bool IsContinuation(unsigned char octet) { return (octet & 0xC0) == 0x80; }

}  // namespace

std::string Windows1252ToUtf8(const std::string& text) {
    if (text.empty()) return text;
    const int length = static_cast<int>(text.size());
    std::wstring wide(text.size(), L'\0');
    const int wideLength = MultiByteToWideChar(1252, 0, text.data(), length, wide.data(), length);
    if (wideLength <= 0) return std::string();
    std::string utf8(static_cast<std::size_t>(wideLength) * 3, '\0');
    const int utf8Length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, utf8.data(),
                                               static_cast<int>(utf8.size()), NULL, NULL);
    utf8.resize(utf8Length > 0 ? static_cast<std::size_t>(utf8Length) : 0);
    return utf8;
}

std::string EscapeText(const std::string& utf8) {
    std::string out;
    for (const char c : utf8) {
        if (c == '\\' || c == ';' || c == ',') out += '\\';
        if (c == '\r') continue;  // a CRLF inside the text is one line break
        out += c == '\n' ? std::string("\\n") : std::string(1, c);
    }
    return out;
}

std::string FoldContentLine(const std::string& line) {
    std::string out;
    std::size_t at = 0;
    std::size_t room = kMaxOctets;  // a continuation line's leading blank takes one octet
    while (line.size() - at > room) {
        std::size_t cut = at + room;
        while (cut > at && IsContinuation(static_cast<unsigned char>(line[cut]))) --cut;
        if (cut == at) cut = at + room;  // no character starts in reach: cannot happen in UTF-8
        out.append(line, at, cut - at).append("\r\n ");
        at = cut;
        room = kMaxOctets - 1;
    }
    return out.append(line, at, std::string::npos).append("\r\n");
}

std::string EventUid(const CalendarEvent& event) {
    // Letters and digits of the name, umlauts spelt out, every other run one hyphen.
    std::string slug;
    for (const char c : event.name) {
        const unsigned char u = static_cast<unsigned char>(c);
        const char* spelt = u == 0xE4 || u == 0xC4 ? "ae" : u == 0xF6 || u == 0xD6 ? "oe" : u == 0xFC || u == 0xDC ? "ue"
                            : u == 0xDF                ? "ss"
                                                       : nullptr;
        if (spelt) {
            slug += spelt;
        } else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
            slug += c;
        } else if (c >= 'A' && c <= 'Z') {
            slug += static_cast<char>(c - 'A' + 'a');
        } else if (!slug.empty() && slug.back() != '-') {
            slug += '-';
        }
    }
    while (!slug.empty() && slug.back() == '-') slug.pop_back();
    return Date(event.start) + "-" + slug + "@quendel";
}

std::string WriteICalendar(const std::vector<CalendarEvent>& events, const CalendarInstant& stamp) {
    std::string out;
    const auto line = [&out](const std::string& text) { out += FoldContentLine(text); };
    line("BEGIN:VCALENDAR");
    line("VERSION:2.0");
    line("PRODID:-//Quendel//Feiertage//DE");
    line("CALSCALE:GREGORIAN");
    const std::string dtstamp = "DTSTAMP:" + DateTimeUtc(stamp);
    for (const CalendarEvent& event : events) {
        line("BEGIN:VEVENT");
        line("UID:" + EventUid(event));
        line(dtstamp);
        line(event.timed ? "DTSTART:" + DateTimeUtc(event.start) : "DTSTART;VALUE=DATE:" + Date(event.start));
        line("SUMMARY:" + EscapeText(Windows1252ToUtf8(event.name)));
        if (event.legal) line("CATEGORIES:Feiertag");
        line("TRANSP:TRANSPARENT");
        line("END:VEVENT");
    }
    line("END:VCALENDAR");
    return out;
}
