// Sets user locale items as a user would in the control panel, and restores them.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

class LocaleScope {
public:
    LocaleScope() = default;
    LocaleScope(const LocaleScope&) = delete;
    LocaleScope& operator=(const LocaleScope&) = delete;
    ~LocaleScope() {
        for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it)
            SetLocaleInfoA(LOCALE_USER_DEFAULT, it->first, it->second.c_str());
    }
    void Set(LCTYPE item, const char* value) {
        char old[128] = "";
        GetLocaleInfoA(LOCALE_USER_DEFAULT, item, old, sizeof old);
        m_saved.emplace_back(item, old);
        SetLocaleInfoA(LOCALE_USER_DEFAULT, item, value);
    }
    // The German settings of a real German Windows.
    void German() {
        Set(LOCALE_SSHORTDATE, "dd.MM.yyyy");
        Set(LOCALE_STIMEFORMAT, "HH:mm:ss");
        Set(LOCALE_SDECIMAL, ",");
    }

private:
    std::vector<std::pair<LCTYPE, std::string>> m_saved;
};
