// The German states (Bundesländer) by which the holiday laws differ.
//
// A state is an index into the table: 0 stands for Germany as a whole, 1 to 16 for the
// states in the alphabetical order of their names (the order in which lists show them).
// Names are Windows-1252.
#pragma once

inline constexpr int kNationwide = 0;
inline constexpr int kStateCount = 17;  // with the nationwide entry

// The official two-letter code ("BY"); "" for the nationwide entry and a bad index.
const char* StateCode(int state);
// "Deutschland (bundesweit)", "Baden-Württemberg", ...; "" for a bad index.
const char* StateListName(int state);
// The state of a code, exactly as written (upper case); kNationwide for anything else.
int StateFromCode(const char* code);
