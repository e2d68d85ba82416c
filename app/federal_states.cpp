#include "app/federal_states.h"

#include <windows.h>

#include "app/settings_store.h"
#include "wintoolkit/handles.h"

namespace {

constexpr const char* kStateValue = "Bundesland";

bool Valid(int state) { return state >= 0 && state < kStateCount; }

}  // namespace

const char* StateLegendName(int state) { return state == kNationwide ? "Deutschland" : StateListName(state); }

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
