#include "app/sync_session.h"

#include <shellapi.h>

#include "app/settings_store.h"
#include "app/sync_report.h"

namespace sync_session {

namespace {

Hooks g_hooks;
constexpr __int64 kAskAbove = 3600 * static_cast<__int64>(quendel::kTicksPerSecond);

}  // namespace

DWORD LaunchElevated(const char* parameters) {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return length == 0 ? GetLastError() : ERROR_FILENAME_EXCED_RANGE;
    SHELLEXECUTEINFOA run = {};
    run.cbSize = sizeof run;
    run.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    run.lpVerb = "runas";
    run.lpFile = path;
    run.lpParameters = parameters;
    run.nShow = SW_SHOWNORMAL;
    return ShellExecuteExA(&run) ? 0 : GetLastError();
}

Hooks SetHooks(const Hooks& hooks) {
    const Hooks previous = g_hooks;
    g_hooks = hooks;
    return previous;
}

const Hooks& CurrentHooks() { return g_hooks; }

std::vector<quendel::TimeServer> ServersToAsk() {
    if (!g_hooks.servers.empty()) return g_hooks.servers;
    std::string stored;
    std::vector<quendel::TimeServer> servers;
    // Missing or broken data: the default list.
    if (!settings::Read("Zeitserver", stored) || !quendel::ParseTimeServers(stored, servers).empty())
        return quendel::DefaultTimeServers();
    return servers;
}

Conclusion Conclude(Mode mode, const quendel::SntpSample& sample, const quendel::TimeServer& server,
                    const std::string& address, const Show& show, const Confirm& confirm) {
    Conclusion result;
    const bool large = sample.offset > kAskAbove || sample.offset < -kAskAbove;
    if (mode == Mode::kDialog && large && show &&
        show(sync_text::Confirmation(sample.offset), MB_YESNO | MB_ICONQUESTION) != IDYES) {
        result.declined = true;
        return result;
    }
    // One server alone does not move an unwatched clock that far.
    const bool unconfirmed = mode == Mode::kSync && !show && large && !(confirm && confirm(sample));
    // The server's time now: the measured offset added to the clock as it reads after the
    // question and the other servers' confirmation, which may have taken seconds.
    result.time = C_Time(C_Time("Now").GetTimeUTC() + static_cast<unsigned __int64>(sample.offset));
    DWORD error = 0;
    if (unconfirmed) {
        error = sync_text::kUnconfirmedStep;
    } else if (mode != Mode::kQuery) {
        SYSTEMTIME utc;
        error = result.time.GetSystemTimeUTC(&utc) ? quendel::SetClockChecked(g_hooks.setClock, utc)
                                                   : ERROR_INVALID_PARAMETER;
    }
    result.exit = mode == Mode::kQuery || error == 0 ? kExitSet : kExitNotSet;
    result.lines = sync_text::Result(error, mode == Mode::kQuery, server, address, sample);
    if (!show) return result;
    const bool offer = mode == Mode::kDialog && error == ERROR_PRIVILEGE_NOT_HELD && g_hooks.elevated &&
                       !g_hooks.elevated() && g_hooks.launchElevated;
    if (!offer) {
        show(result.lines, MB_OK | MB_ICONINFORMATION);
        return result;
    }
    if (show(result.lines + "\n\n" + sync_text::kAskElevation, MB_YESNO | MB_ICONINFORMATION) != IDYES) return result;
    const DWORD launched = g_hooks.launchElevated("/sync");
    if (launched != 0 && launched != ERROR_CANCELLED)  // declined in the system's own question: said already
        show("Quendel lie\xDF sich nicht mit Administratorrechten starten (" + sync_text::SystemError(launched) + ").",
             MB_OK | MB_ICONWARNING);
    return result;
}

int FailureExit(quendel::SntpStatus status) {
    return status == quendel::SntpStatus::kKissOfDeath ? kExitKissOfDeath : kExitNoAnswer;
}

}  // namespace sync_session
