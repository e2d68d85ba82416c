// The German states (Bundesländer) for the holiday list, and the user's choice of one.
//
// A state is an index into the table: 0 stands for Germany as a whole, 1 to 16 for the
// states in the alphabetical order of their names (which is also the order in which the
// list of the settings shows them). Names are Windows-1252.
#pragma once

inline constexpr int kNationwide = 0;
inline constexpr int kStateCount = 17;  // with the nationwide entry

// The official two-letter code ("BY"); "" for the nationwide entry and a bad index.
const char* StateCode(int state);
// The entry of the settings list: "Deutschland (bundesweit)", "Baden-Württemberg", ...;
// "" for a bad index.
const char* StateListName(int state);
// The place the legend names: "Deutschland" nationwide, else the state's name.
const char* StateLegendName(int state);
// The state of a code, exactly as written (upper case); kNationwide for anything else.
int StateFromCode(const char* code);

// The setting: HKCU\Software\Quendel, value "Bundesland" (REG_SZ, the code). A missing key
// or value, an empty or unknown code and a value of any other type read as kNationwide.
int ReadStateSetting();
// Stores the state's code ("" for nationwide). False (with the system's error code in
// *error) for a bad state or when the registry refused it.
bool WriteStateSetting(int state, unsigned long* error = nullptr);
