#include "app/holiday_calendar.h"

#include <algorithm>

#include "timelib/holiday_dates.h"
#include "timelib/holiday_laws.h"
#include "app/summer_facts.h"

HolidayEntry g_holidays[kHolidayCapacity];
int g_holidayCount = 0;

namespace {

constexpr unsigned __int64 kTicksPerDay = 864000000000ull;  // 86 400 s of 10 000 000 ticks

// N days as a span. The product is formed in unsigned 64-bit arithmetic, which wraps
// instead of overflowing; for every offset a calendar can use it is exact.
C_TimeSpan Days(int count) {
    const unsigned __int64 ticks = static_cast<unsigned __int64>(static_cast<__int64>(count)) * kTicksPerDay;
    return C_TimeSpan(static_cast<__int64>(ticks));
}

void Append(const C_Time& when, const C_String& name, bool legal) {
    // An unbuildable day would list as " ?????"; leaving it out is the honest answer.
    if (when.IsInvalid() || g_holidayCount >= kHolidayCapacity) return;
    HolidayEntry& entry = g_holidays[g_holidayCount++];
    entry.when = when;
    entry.name = name;
    entry.legal = legal;
    entry.timed = false;
}

void MarkTimed(int countBefore) {
    if (g_holidayCount > countBefore) g_holidays[countBefore].timed = true;
}

// Adds 12:00 local on the UTC date of utcNoon. Noon local rather than the UTC instant
// itself, so that the day shows on its own date in every zone from UTC-12 to UTC+14.
void AppendLocalNoon(const C_Time& utcNoon, const C_String& name, bool legal) {
    SYSTEMTIME date;
    if (utcNoon.IsInvalid() || !utcNoon.GetSystemTimeUTC(&date)) return;
    Append(C_Time(date.wYear, date.wMonth, date.wDay, 12, 0, 0), name, legal);
}

}  // namespace

C_Time EasterSunday(int year) {
    C_Time result;
    if (year < 1) return result;
    int month, day;
    quendel::EasterDate(year, &month, &day);
    result.SetTimeUTC(year, month, day, 12, 0, 0, 0);
    return result;
}

void AddFixedDay(int day, int month, int year, const C_String& name, bool legal) {
    Append(C_Time(year, month, day, 0, 0, 0), name, legal);
}

void AddDayOfYear(int year, int offset, const C_String& name, bool legal) {
    const C_Time start(year, 1, 1, 14, 0, 0);
    if (start.IsInvalid()) return;
    Append(start + Days(offset), name, legal);
}

void AddEasterDay(int year, int offset, const C_String& name, bool legal) {
    const C_Time easter = EasterSunday(year);
    if (easter.IsInvalid()) return;
    AppendLocalNoon(easter + Days(offset), name, legal);
}

void AddAdventDay(int year, int offset, const C_String& name, bool legal) {
    // The fourth Advent Sunday is the last Sunday on or before 24 December.
    C_Time christmasEve;
    SYSTEMTIME fields;
    if (!christmasEve.SetTimeUTC(year, 12, 24, 12, 0, 0, 0) || !christmasEve.GetSystemTimeUTC(&fields)) return;
    const C_Time fourthAdvent = christmasEve - Days(fields.wDayOfWeek);  // wDayOfWeek: Sunday 0
    AppendLocalNoon(fourthAdvent + Days(offset), name, legal);
}

void AddNthWeekday(int year, int month, int n, int weekday, const C_String& name, bool legal) {
    int found = 0;
    for (int day = 1; day <= 31; ++day) {
        C_Time t;
        if (!t.SetLocTime(year, month, day, 12, 0, 0)) return;  // past the month's end
        if (t.GetLocWeekDay() == weekday && ++found == n) {
            Append(t, name, legal);
            return;
        }
    }
}

void AddSummerTimeDay(int year, int which, const C_String& name, bool legal) {
    C_Time start, end;
    const int before = g_holidayCount;
    if (SummerChangesOfYear(year, &start, &end)) Append(which == 0 ? start : end, name, legal);
    MarkTimed(before);
}

void AddSeason(int year, quendel::Season season, const C_String& name, bool legal) {
    const int before = g_holidayCount;
    Append(quendel::SeasonStart(year, season), name, legal);
    MarkTimed(before);
}

int CompareHolidays(const void* first, const void* second) {
    const HolidayEntry* a = static_cast<const HolidayEntry*>(first);
    const HolidayEntry* b = static_cast<const HolidayEntry*>(second);
    if (a->when > b->when) return 1;
    if (a->when < b->when) return -1;
    return 0;
}

int BuildHolidayTable(const C_Time& point, int state) {
    g_holidayCount = 0;
    // An invalid point reads as year 0, which no calendar rule can place: list nothing.
    if (point.IsInvalid()) return 0;
    const int y = point.GetLocYear();
    if (y < 1601) return 0;

    const auto law = [&](Holiday day) { return IsLegalHoliday(day, state, y); };
    AddFixedDay(1, 1, y, "Neujahr", law(Holiday::kNeujahr));
    AddFixedDay(1, 5, y, "Tag der Arbeit", law(Holiday::kTagDerArbeit));
    AddFixedDay(15, 8, y, "Mari\xE4 Himmelfahrt", law(Holiday::kMariaeHimmelfahrt));
    if (y >= 1990) AddFixedDay(3, 10, y, "Tag der Deutschen Einheit", law(Holiday::kDeutscheEinheit));
    if (y >= 1954 && y <= 1990) AddFixedDay(17, 6, y, "Tag der deutschen Einheit", law(Holiday::kSiebzehnterJuni));
    AddFixedDay(25, 12, y, "1. Weihnachtstag", law(Holiday::kWeihnachtstag1));
    AddFixedDay(26, 12, y, "2. Weihnachtstag", law(Holiday::kWeihnachtstag2));
    AddFixedDay(6, 1, y, "Heilige Drei K\xF6nige", law(Holiday::kHeiligeDreiKoenige));
    AddFixedDay(31, 10, y, "Reformationstag", law(Holiday::kReformationstag));
    AddFixedDay(1, 11, y, "Allerheiligen", law(Holiday::kAllerheiligen));
    AddFixedDay(2, 11, y, "Allerseelen", false);
    AddFixedDay(6, 12, y, "Nikolaustag", false);
    AddFixedDay(8, 12, y, "Mari\xE4 Empf\xE4ngnis", false);
    AddFixedDay(24, 12, y, "Heiligabend", false);
    AddFixedDay(31, 12, y, "Silvester", false);
    AddFixedDay(30, 4, y, "Walpurgisnacht", false);
    AddFixedDay(11, 5, y, "Beginn der Eisheiligen", false);
    AddFixedDay(31, 10, y, "Weltspartag, Halloween", false);
    // Days of remembrance from the year they were first kept.
    if (y >= 1911) AddFixedDay(8, 3, y, "Internationaler Frauentag", law(Holiday::kFrauentag));
    if (y >= 1945) AddFixedDay(8, 5, y, "Tag der Befreiung", law(Holiday::kTagDerBefreiung));
    if (y >= 1954) AddFixedDay(20, 9, y, "Weltkindertag", law(Holiday::kWeltkindertag));

    // Offsets from 1 January: one day earlier in leap years after February.
    AddDayOfYear(y, 44, "Valentinstag", false);
    AddSeason(y, quendel::Season::kMarchEquinox, "Fr\xFChlingsanfang", false);
    AddSeason(y, quendel::Season::kJuneSolstice, "Sommeranfang", false);
    AddSeason(y, quendel::Season::kSeptemberEquinox, "Herbstanfang", false);
    AddSeason(y, quendel::Season::kDecemberSolstice, "Winteranfang", false);

    AddEasterDay(y, -2, "Karfreitag", law(Holiday::kKarfreitag));
    AddEasterDay(y, 0, "Ostersonntag", law(Holiday::kOstersonntag));
    AddEasterDay(y, 1, "Ostermontag", law(Holiday::kOstermontag));
    AddEasterDay(y, 39, "Christi Himmelfahrt", law(Holiday::kChristiHimmelfahrt));
    AddEasterDay(y, 49, "Pfingstsonntag", law(Holiday::kPfingstsonntag));
    AddEasterDay(y, 50, "Pfingstmontag", law(Holiday::kPfingstmontag));
    AddEasterDay(y, -48, "Rosenmontag", false);
    AddEasterDay(y, -46, "Aschermittwoch", false);
    AddEasterDay(y, -7, "Palmsonntag", false);
    AddEasterDay(y, -3, "Gr\xFCndonnerstag", false);
    AddEasterDay(y, 7, "Wei\xDF" "er Sonntag", false);
    AddEasterDay(y, 60, "Fronleichnam", law(Holiday::kFronleichnam));
    AddEasterDay(y, 68, "Herz-Jesu-Fest", false);

    AddAdventDay(y, -35, "Volkstrauertag", false);
    AddAdventDay(y, -32, "Bu\xDF- und Bettag", law(Holiday::kBussUndBettag));
    AddAdventDay(y, -28, "Totensonntag", false);
    AddAdventDay(y, -21, "1. Advent", false);
    AddAdventDay(y, -14, "2. Advent", false);
    AddAdventDay(y, -7, "3. Advent", false);
    AddAdventDay(y, 0, "4. Advent", false);

    AddEasterDay(y, 39, "Vatertag", false);
    AddNthWeekday(y, 5, 2, 6, "Muttertag", false);
    AddNthWeekday(y, 10, 1, 6, "Erntedankfest", false);
    AddNthWeekday(y, 11, 4, 3, "Thanksgiving (USA)", false);
    AddSummerTimeDay(y, 0, "Sommerzeitanfang", false);
    AddSummerTimeDay(y, 1, "Sommerzeitende", false);

    // qsort would move the records bytewise, which C++ leaves undefined for a type with a
    // string member; a stable sort also keeps same-instant days in a fixed order.
    std::stable_sort(g_holidays, g_holidays + g_holidayCount, [](const HolidayEntry& a, const HolidayEntry& b) {
        return CompareHolidays(&a, &b) < 0;
    });
    return g_holidayCount;
}

const char* FormatHolidayLine(const HolidayEntry& entry, C_String& line) {
    C_String weekday;
    C_String date;
    entry.when.GetDayString(weekday, true, 0x400, NULL);
    entry.when.Format(date, FMT_DATE | FMT_YEAR4, 0x400, NULL);
    line.Format("%s\t%s%s\t%s\t%s", entry.legal ? "**" : " ", weekday.c_str(), " ", date.c_str(), entry.name.c_str());
    return line.c_str();
}
