// The German states (Bundesländer) for the holiday list, and the user's choice of one.
//
// The states themselves, their codes and names: timelib/german_states.h.
#pragma once

#include "timelib/german_states.h"

// The place the legend names: "Deutschland" nationwide, else the state's name.
const char* StateLegendName(int state);

// The setting: HKCU\Software\Quendel, value "Bundesland" (REG_SZ, the code). A missing key
// or value, an empty or unknown code and a value of any other type read as kNationwide.
int ReadStateSetting();
// Stores the state's code ("" for nationwide). False (with the system's error code in
// *error) for a bad state or when the registry refused it.
bool WriteStateSetting(int state, unsigned long* error = nullptr);
