// The C interface's German legal holidays of a state and year.
#include <algorithm>
#include <cwchar>

#include "timelib/c_api.h"
#include "timelib/civil.h"
#include "timelib/german_states.h"
#include "timelib/holiday_dates.h"
#include "timelib/holiday_laws.h"

static_assert(QT_HOLIDAY_COUNT == static_cast<int>(Holiday::kWeihnachtstag2) + 1, "one number a holiday");

namespace {

// The interface's numbers never change meaning: a day added later takes the next number,
// whatever its place in the library's own enumeration.
const Holiday kDays[QT_HOLIDAY_COUNT] = {
    Holiday::kNeujahr,          Holiday::kHeiligeDreiKoenige, Holiday::kFrauentag,       Holiday::kKarfreitag,
    Holiday::kOstersonntag,     Holiday::kOstermontag,        Holiday::kTagDerArbeit,    Holiday::kTagDerBefreiung,
    Holiday::kChristiHimmelfahrt, Holiday::kPfingstsonntag,   Holiday::kPfingstmontag,   Holiday::kFronleichnam,
    Holiday::kMariaeHimmelfahrt, Holiday::kWeltkindertag,     Holiday::kDeutscheEinheit, Holiday::kReformationstag,
    Holiday::kAllerheiligen,    Holiday::kBussUndBettag,      Holiday::kWeihnachtstag1,  Holiday::kWeihnachtstag2,
    Holiday::kSiebzehnterJuni,
};

// Names by the interface's numbers.
const wchar_t* const kNames[QT_HOLIDAY_COUNT] = {
    L"Neujahr", L"Heilige Drei K\u00f6nige", L"Internationaler Frauentag", L"Karfreitag", L"Ostersonntag",
    L"Ostermontag", L"Tag der Arbeit", L"Tag der Befreiung", L"Christi Himmelfahrt", L"Pfingstsonntag",
    L"Pfingstmontag", L"Fronleichnam", L"Mari\u00e4 Himmelfahrt", L"Weltkindertag", L"Tag der Deutschen Einheit",
    L"Reformationstag", L"Allerheiligen", L"Bu\u00df- und Bettag", L"1. Weihnachtstag", L"2. Weihnachtstag",
    L"Tag der deutschen Einheit",
};

// The state of a two-letter code; -1 for an unknown one.
int StateOf(const wchar_t* code) {
    if (!code || !code[0]) return kNationwide;
    if (std::wcslen(code) != 2 || code[0] > 0x7F || code[1] > 0x7F) return -1;
    const char narrow[3] = {static_cast<char>(code[0]), static_cast<char>(code[1]), 0};
    const int state = StateFromCode(narrow);
    return state == kNationwide ? -1 : state;
}

}  // namespace

extern "C" qt_status QT_CALL quendel_time_holidays(const wchar_t* state, int year, qt_holiday* list, int capacity,
                                                   int* count) {
    if (!count || capacity < 0 || (!list && capacity > 0)) return QT_E_ARGUMENT;
    const int s = StateOf(state);
    if (s < 0) return QT_E_ARGUMENT;
    if (year < quendel::civil::kMinYear || year > quendel::civil::kMaxYear) return QT_E_RANGE;
    qt_holiday found[QT_HOLIDAY_COUNT];
    int n = 0;
    for (int h = 0; h < QT_HOLIDAY_COUNT; ++h) {
        const Holiday day = kDays[h];
        qt_holiday& entry = found[n];
        if (!IsLegalHoliday(day, s, year) || !quendel::HolidayDate(day, year, &entry.month, &entry.day)) continue;
        entry.holiday = h;
        entry.year = year;
        ++n;
    }
    std::stable_sort(found, found + n, [](const qt_holiday& a, const qt_holiday& b) {
        return a.month != b.month ? a.month < b.month : a.day < b.day;
    });
    *count = n;
    if (n > capacity) return QT_E_BUFFER_TOO_SMALL;
    std::copy(found, found + n, list);
    return QT_OK;
}

extern "C" qt_status QT_CALL quendel_time_holiday_name(int holiday, wchar_t* buffer, int capacity, int* length) {
    if (holiday < 0 || holiday >= QT_HOLIDAY_COUNT) return QT_E_ARGUMENT;
    const wchar_t* name = kNames[holiday];
    return quendel::c_api::WriteText(name, static_cast<int>(std::wcslen(name)), buffer, capacity, length);
}
