#include "timelib/german_states.h"

#include <cstring>

namespace {

struct StateRow {
    const char* code;
    const char* name;
};

// The nationwide entry, then the states alphabetically.
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

bool Valid(int state) { return state >= 0 && state < kStateCount; }

}  // namespace

const char* StateCode(int state) { return Valid(state) ? kStates[state].code : ""; }

const char* StateListName(int state) { return Valid(state) ? kStates[state].name : ""; }

int StateFromCode(const char* code) {
    if (code == nullptr || code[0] == 0) return kNationwide;
    for (int state = 1; state < kStateCount; ++state)
        if (std::strcmp(code, kStates[state].code) == 0) return state;
    return kNationwide;
}
