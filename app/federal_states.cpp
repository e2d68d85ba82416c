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
    HKEY opened = NULL;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, settings::kKey, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return kNationwide;
    const quendel_toolkit::KeyHandle key(opened);
    // Room for any code and then some: a longer value is no code (ERROR_MORE_DATA).
    char text[16] = "";
    DWORD type = 0, size = sizeof text - 1;
    if (RegQueryValueExA(key.Get(), kStateValue, NULL, &type, reinterpret_cast<BYTE*>(text), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return kNationwide;
    text[size < sizeof text ? size : sizeof text - 1] = 0;  // a value stored without its terminator
    return StateFromCode(text);
}

bool WriteStateSetting(int state, unsigned long* error) {
    if (!Valid(state)) {
        if (error != nullptr) *error = ERROR_INVALID_PARAMETER;
        return false;
    }
    return settings::Write(kStateValue, StateCode(state), error);
}
