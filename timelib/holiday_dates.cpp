#include "timelib/holiday_dates.h"

#include "timelib/civil.h"

namespace quendel {

void EasterDate(int year, int* month, int* day) {
    // Gregorian computus; all intermediate values are non-negative for positive years.
    const int a = year % 19;
    const int b = year / 100;
    const int c = year % 100;
    const int h = (19 * a + b - b / 4 - (b - (b + 8) / 25 + 1) / 3 + 15) % 30;
    const int l = (32 + 2 * (b % 4) + 2 * (c / 4) - h - (c % 4)) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int d = h + l - 7 * m + 22;  // [22, 56] days from 1 March, counted from 1
    *month = d > 31 ? 4 : 3;
    *day = d > 31 ? d - 31 : d;
}

namespace {

// Easter Sunday plus offset days; the offsets used (-2 to 60) stay in the year.
void FromEaster(int year, int offset, int* month, int* day) {
    int m, d;
    EasterDate(year, &m, &d);
    const std::int32_t easter = civil::DaysFromCivil(year, static_cast<unsigned>(m), static_cast<unsigned>(d));
    const civil::CivilDate date = civil::CivilFromDays(static_cast<std::uint32_t>(easter + offset));
    *month = static_cast<int>(date.month);
    *day = static_cast<int>(date.day);
}

struct Fixed {
    Holiday holiday;
    int month, day;
};

constexpr Fixed kFixed[] = {
    {Holiday::kNeujahr, 1, 1},           {Holiday::kHeiligeDreiKoenige, 1, 6},
    {Holiday::kFrauentag, 3, 8},         {Holiday::kTagDerArbeit, 5, 1},
    {Holiday::kTagDerBefreiung, 5, 8},   {Holiday::kMariaeHimmelfahrt, 8, 15},
    {Holiday::kWeltkindertag, 9, 20},    {Holiday::kDeutscheEinheit, 10, 3},  {Holiday::kSiebzehnterJuni, 6, 17},
    {Holiday::kReformationstag, 10, 31}, {Holiday::kAllerheiligen, 11, 1},
    {Holiday::kWeihnachtstag1, 12, 25},  {Holiday::kWeihnachtstag2, 12, 26},
};

}  // namespace

bool HolidayDate(Holiday holiday, int year, int* month, int* day) {
    if (year < civil::kMinYear || year > civil::kMaxYear) return false;
    for (const Fixed& f : kFixed)
        if (f.holiday == holiday) {
            *month = f.month;
            *day = f.day;
            return true;
        }
    switch (holiday) {
    case Holiday::kKarfreitag: FromEaster(year, -2, month, day); return true;
    case Holiday::kOstersonntag: FromEaster(year, 0, month, day); return true;
    case Holiday::kOstermontag: FromEaster(year, 1, month, day); return true;
    case Holiday::kChristiHimmelfahrt: FromEaster(year, 39, month, day); return true;
    case Holiday::kPfingstsonntag: FromEaster(year, 49, month, day); return true;
    case Holiday::kPfingstmontag: FromEaster(year, 50, month, day); return true;
    case Holiday::kFronleichnam: FromEaster(year, 60, month, day); return true;
    case Holiday::kBussUndBettag: {
        // The Wednesday (weekday 3) in 16-22 November.
        const std::int32_t days22 = civil::DaysFromCivil(year, 11, 22);
        const unsigned back = (civil::WeekdayFromDays(static_cast<std::uint32_t>(days22)) + 7 - 3) % 7;  // [0, 6]
        *month = 11;
        *day = 22 - static_cast<int>(back);
        return true;
    }
    default: return false;
    }
}

}  // namespace quendel
