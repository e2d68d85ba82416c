#include "app/federal_states.h"

#include <windows.h>

#include <cstring>

#include "app/settings_store.h"
#include "wintoolkit/handles.h"

namespace {

struct StateRow {
    const char* code;
    const char* name;
};

// The settings list's order: the nationwide entry, then the states alphabetically.
constexpr StateRow kStates[kStateCount] = {
    {"", "Deutschland (bundesweit)"},
    {"BW", "Baden-W\xFCrttemberg"},
    {"BY", "Bayern"},
    {"BE", "Berlin"},
    {"BB", "Brandenburg"},
    {"HB", "Bremen"},
    {"HH", "Hamburg"},
    {"HE", "Hessen"},
    {"MV", "Mecklenburg-Vorpommern"},
    {"NI", "Niedersachsen"},
    {"NW", "Nordrhein-Westfalen"},
    {"RP", "Rheinland-Pfalz"},
    {"SL", "Saarland"},
    {"SN", "Sachsen"},
    {"ST", "Sachsen-Anhalt"},
    {"SH", "Schleswig-Holstein"},
    {"TH", "Th\xFCringen"},
};

constexpr const char* kStateValue = "Bundesland";

bool Valid(int state) { return state >= 0 && state < kStateCount; }

}  // namespace

const char* StateCode(int state) { return Valid(state) ? kStates[state].code : ""; }

const char* StateListName(int state) { return Valid(state) ? kStates[state].name : ""; }

const char* StateLegendName(int state) { return state == kNationwide ? "Deutschland" : StateListName(state); }

int StateFromCode(const char* code) {
    if (code == nullptr || code[0] == 0) return kNationwide;
    for (int state = 1; state < kStateCount; ++state)
        if (std::strcmp(code, kStates[state].code) == 0) return state;
    return kNationwide;
}

int ReadStateSetting() {
    std::string code;  // missing, not a string, or no code: nationwide
    return settings::Read(kStateValue, code) ? StateFromCode(code.c_str()) : kNationwide;
}

bool WriteStateSetting(int state, unsigned long* error) {
    if (!Valid(state)) {
        if (error != nullptr) *error = ERROR_INVALID_PARAMETER;
        return false;
    }
    return settings::Write(kStateValue, StateCode(state), error);
}
