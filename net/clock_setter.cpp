#include "net/clock_setter.h"

#include "net/handles.h"

namespace quendel {

namespace {

struct TokenTraits {
    static HANDLE Invalid() { return NULL; }
    static void Close(HANDLE handle) { CloseHandle(handle); }
};
using UniqueToken = UniqueHandle<HANDLE, TokenTraits>;

// Enables the privilege for its lifetime, where the token holds it, and restores it after.
class PrivilegeScope {
public:
    explicit PrivilegeScope(const char* name) {
        HANDLE token = NULL;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return;
        m_token.Reset(token);
        TOKEN_PRIVILEGES wanted = {1, {{{0, 0}, SE_PRIVILEGE_ENABLED}}};
        if (!LookupPrivilegeValueA(NULL, name, &wanted.Privileges[0].Luid)) return;
        DWORD size = sizeof m_previous;
        // Succeeds with ERROR_NOT_ALL_ASSIGNED when the token lacks the privilege: then there
        // is nothing to restore.
        m_enabled = AdjustTokenPrivileges(m_token.Get(), FALSE, &wanted, sizeof wanted, &m_previous, &size) &&
                    GetLastError() == ERROR_SUCCESS;
    }
    ~PrivilegeScope() {
        if (m_enabled) AdjustTokenPrivileges(m_token.Get(), FALSE, &m_previous, 0, NULL, NULL);
    }
    PrivilegeScope(const PrivilegeScope&) = delete;
    PrivilegeScope& operator=(const PrivilegeScope&) = delete;

private:
    UniqueToken m_token;
    TOKEN_PRIVILEGES m_previous = {};
    bool m_enabled = false;
};

}  // namespace

DWORD SetClockChecked(ClockSetter setter, const SYSTEMTIME& utc) {
    if (setter == nullptr) return ERROR_INVALID_FUNCTION;
    const PrivilegeScope privilege(SE_SYSTEMTIME_NAME);
    SetLastError(ERROR_SUCCESS);
    if (setter(&utc)) return 0;
    const DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? error : ERROR_GEN_FAILURE;  // a refusal without a reason is still one
}

bool IsProcessElevated() {
    HANDLE token = NULL;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
    const UniqueToken owner(token);
    TOKEN_ELEVATION elevation = {};
    DWORD size = 0;
    return GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) && elevation.TokenIsElevated;
}

}  // namespace quendel
