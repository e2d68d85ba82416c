// Readers of the main dialog's number inputs. Each reads the whole text or nothing: a text
// with anything left over ("12ab", "13.45" as a time) is refused.
#pragma once

#include <cstdint>
#include <string>

#include "timelib/c_time.h"

// The text without blanks around it.
std::string Trimmed(const std::string& text);
// Whether the text begins with "0x" or "0X".
bool HasHexPrefix(const std::string& text);
// Decimal digits only (no sign), at most the 64-bit range.
bool ParseDecimalExactly(const std::string& text, std::uint64_t* value);
// Hexadecimal digits (either case, after an optional "0x"), 1 to maxDigits of them.
bool ParseHexExactly(const std::string& text, int maxDigits, std::uint64_t* value);
// Unix seconds: signed decimal in 64 bits; in hexadecimal ("0x", or everywhere with the
// check box) up to 8 digits are a signed 32-bit value (ffffffff is -1), 9 to 16 digits a
// signed 64-bit one.
bool ParseUnixSeconds(const std::string& text, bool hexadecimal, long long* seconds);
// A decimal number with a decimal comma or point ("37979,5", "-1.25").
bool ParseDecimalFraction(const std::string& text, double* value);
// The date and time fields of the dialog as local fields: each in the user's format as the
// dialog shows it, or as TT.MM.JJJJ and hh:mm:ss or hh:mm with one or two digits a field
// (two-digit years 00-49 are 20yy, 50-99 19yy), read by the library's reader; an empty time is
// midnight. On a fault, false with the field that is wrong (1 date, 2 time) and a message that
// quotes its text and says what is wrong (Windows-1252):
//   "29.2.2023", ""  ->  1, "Datum: „29.2.2023“\nDen 29.02.2023 gibt es nicht (2023 ist kein Schaltjahr)."
bool ReadDateInput(const std::string& date, const std::string& time, SYSTEMTIME* local, int* wrongField,
                   std::string* message);
