// The date of each legal holiday (holiday_laws.h) in a year: pure calendar arithmetic.
#pragma once

#include "timelib/holiday_laws.h"

namespace quendel {

// Easter Sunday of a Gregorian year (year >= 1): month 3 or 4, day 1-31.
void EasterDate(int year, int* month, int* day);

// The date of the holiday in the year (1601-30827); false outside that range.
//   Buß- und Bettag 2023   22 November: the Wednesday before 23 November
bool HolidayDate(Holiday holiday, int year, int* month, int* day);

}  // namespace quendel
