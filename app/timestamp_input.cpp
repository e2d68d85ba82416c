#include "app/timestamp_input.h"

#include <windows.h>

#include <cstdio>

#include "app/input_parsing.h"
#include "timelib/c_time.h"
#include "timelib/civil.h"
#include "timelib/format_flags.h"

using namespace quendel::stamp;
namespace civil = quendel::civil;

namespace {

SYSTEMTIME FieldsOf(std::uint64_t ticks) {
    const civil::CivilDate date = civil::CivilFromDays(static_cast<std::uint32_t>(ticks / civil::kTicksPerDay));
    const std::uint64_t ms = ticks % civil::kTicksPerDay / civil::kTicksPerMillisecond;
    SYSTEMTIME f = {};
    f.wYear = static_cast<WORD>(date.year), f.wMonth = static_cast<WORD>(date.month), f.wDay = static_cast<WORD>(date.day);
    f.wHour = static_cast<WORD>(ms / 3600000), f.wMinute = static_cast<WORD>(ms / 60000 % 60);
    f.wSecond = static_cast<WORD>(ms / 1000 % 60), f.wMilliseconds = static_cast<WORD>(ms % 1000);
    return f;
}

std::uint64_t TicksOf(const SYSTEMTIME& f) {
    std::uint64_t ticks = 0;
    civil::DateTimeToTicks(f.wYear, f.wMonth, f.wDay, f.wHour, f.wMinute, f.wSecond, f.wMilliseconds, &ticks);
    return ticks;
}

// The user's own formats, as the date field reads them, to a wall-clock reading.
bool ReadUserFormat(std::string_view view, std::uint64_t* wall) {
    const std::string text(view);
    if (text.find('\0') != std::string::npos) return false;
    C_Time point;
    SYSTEMTIME local;
    if (point.SetLocFormatTime(text.c_str(), FMT_DATE | FMT_TIME, LOCALE_USER_DEFAULT, NULL) ||
        point.SetLocFormatTime(text.c_str(), FMT_DATE, LOCALE_USER_DEFAULT, NULL)) {
        if (!point.GetLocSystemTime(&local)) return false;
    } else {
        // As the date and time fields read them: the user's formats, TT.MM.JJJJ and hh:mm:ss.
        const std::size_t blank = text.find(' ');
        int wrong = 0;
        std::string message;
        if (!ReadDateInput(text.substr(0, blank), blank == std::string::npos ? "" : Trimmed(text.substr(blank)), &local,
                           &wrong, &message))
            return false;
    }
    *wall = TicksOf(local);
    return true;
}

std::string Iso(std::uint64_t ticks) {
    const SYSTEMTIME f = FieldsOf(ticks);
    char text[48];
    std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u", f.wYear, f.wMonth, f.wDay, f.wHour, f.wMinute, f.wSecond);
    std::string out = text;
    if (const unsigned fraction = static_cast<unsigned>(ticks % civil::kTicksPerSecond)) {
        std::snprintf(text, sizeof text, ".%07u", fraction);
        out += text;
        while (out.back() == '0') out.pop_back();
    }
    return out;
}

}  // namespace

StampChoice ChoiceAt(std::uint64_t utc) {
    SYSTEMTIME local;
    const std::uint64_t ms = utc / civil::kTicksPerMillisecond * civil::kTicksPerMillisecond;
    if (!C_Time(ms).GetLocSystemTime(&local)) return {StampForm::kCount, utc, utc};  // beyond the local calendar
    return {StampForm::kCount, utc, TicksOf(local) + (utc - ms)};
}

std::vector<StampChoice> ReadStampChoices(const std::string& text, std::string* note) {
    ReadOptions options;
    options.now = C_Time("Now").GetTimeUTC();
    options.userFormat = ReadUserFormat;
    std::vector<StampChoice> choices;
    for (const StampCandidate& c : ReadTimestamp(text, options, note)) {
        std::uint64_t utc = c.ticks;
        if (c.local) {
            // Through the zone's rules at the millisecond; the ticks below it kept.
            const std::uint64_t rest = c.ticks % civil::kTicksPerMillisecond;
            const SYSTEMTIME fields = FieldsOf(c.ticks);
            C_Time point;
            if (!point.SetLocSystemTime(&fields)) continue;
            utc = point.GetTimeUTC() + rest;
        }
        if (utc == 0 || utc >= kCalendarEnd) continue;  // tick 0 is the invalid time
        StampChoice choice = ChoiceAt(utc);
        choice.form = c.form;
        choices.push_back(choice);
    }
    return choices;
}

std::string UtcIso(const StampChoice& choice) { return Iso(choice.utc) + "Z"; }

std::string LocalIso(const StampChoice& choice) {
    const bool east = choice.wall >= choice.utc;
    const std::uint64_t minutes = (east ? choice.wall - choice.utc : choice.utc - choice.wall) / civil::kTicksPerMinute;
    char offset[16];
    std::snprintf(offset, sizeof offset, "%c%02u:%02u", east ? '+' : '-', static_cast<unsigned>(minutes / 60),
                  static_cast<unsigned>(minutes % 60));
    return Iso(choice.wall) + offset;
}

std::string StampFormNames() {
    std::string names;
    for (int f = 0; f < static_cast<int>(StampForm::kCount); ++f)
        names += std::string(names.empty() ? "" : ", ") + FormInfo(static_cast<StampForm>(f)).name;
    return names;
}
