// What follows a time server's answer, shared by the dialog and the command line: the
// question before a large step, the checked set, the result box, the offer to set the
// clock with administrator rights. The system's parts are hooks, so tests can replace them.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "net/clock_setter.h"
#include "net/sntp.h"
#include "timelib/c_time.h"

namespace sync_session {

// Starts this program elevated (the shell's "runas" verb) with the given parameters;
// 0, or the error (ERROR_CANCELLED when the user declined).
DWORD LaunchElevated(const char* parameters);

struct Hooks {
    quendel::ClockSetter setClock = SetSystemTime;
    bool (*elevated)() = quendel::IsProcessElevated;
    DWORD (*launchElevated)(const char* parameters) = LaunchElevated;
    std::vector<quendel::TimeServer> servers;  // empty: the user's list (UserTimeServers)
};
// Replaces the hooks; returns the ones before.
Hooks SetHooks(const Hooks& hooks);
const Hooks& CurrentHooks();

// The servers to ask: the hooks' list, else the user's stored list ("Zeitserver"), else
// the default.
std::vector<quendel::TimeServer> ServersToAsk();

enum class Mode {
    kDialog,  // asks before a step over an hour, offers elevation
    kSync,    // /sync: asks nothing, sets, never offers elevation
    kQuery,   // /query: measures and shows, sets nothing
};
// The program's exit codes for the command line.
enum Exit { kExitSet = 0, kExitNotSet = 1, kExitNoAnswer = 2, kExitKissOfDeath = 3, kExitBadCommandLine = 4 };

// Shows a message box (text, MB_* type) and returns the button chosen.
using Show = std::function<int(const std::string& text, UINT type)>;

struct Conclusion {
    int exit = kExitNotSet;
    bool declined = false;  // the user said No to the large step: nothing changed
    C_Time time;            // the server's time now, unless declined
    std::string lines;      // the result box's text
};
// Whether another server confirms the offset (within a second).
using Confirm = std::function<bool(const quendel::SntpSample& sample)>;
// After an answer: asks (kDialog, |offset| over an hour), sets (not kQuery) and shows the
// result box through show (when given). Unattended (kSync without show), a step over an hour
// is set only when confirm says another server agrees; else nothing is set and the result
// says why (sync_text::kUnconfirmedStep).
Conclusion Conclude(Mode mode, const quendel::SntpSample& sample, const quendel::TimeServer& server,
                    const std::string& address, const Show& show, const Confirm& confirm = Confirm());
// The exit code after the last failed attempt.
int FailureExit(quendel::SntpStatus status);

}  // namespace sync_session
