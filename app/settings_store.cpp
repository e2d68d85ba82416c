#include "app/settings_store.h"

#include <windows.h>

namespace settings {

namespace {

struct KeyOwner {  // the opened key, closed on every path
    HKEY key = NULL;
    ~KeyOwner() {
        if (key != NULL) RegCloseKey(key);
    }
};

}  // namespace

bool Read(const char* name, std::string& value) {
    KeyOwner owner;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_QUERY_VALUE, &owner.key) != ERROR_SUCCESS) return false;
    constexpr DWORD kMost = 4096;
    char data[kMost + 2] = {};
    DWORD type = 0, size = kMost + 1;
    if (RegQueryValueExA(owner.key, name, NULL, &type, reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return false;
    // Stored data need not end in a zero; a zero inside ends the text.
    data[size < kMost + 1 ? size : kMost + 1] = '\0';
    value = data;
    return true;
}

bool Write(const char* name, const std::string& value, unsigned long* error) {
    KeyOwner owner;
    LONG result = RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, NULL, 0, KEY_SET_VALUE, NULL, &owner.key, NULL);
    if (result == ERROR_SUCCESS)
        result = RegSetValueExA(owner.key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                static_cast<DWORD>(value.size() + 1));
    if (error != nullptr) *error = static_cast<unsigned long>(result);
    return result == ERROR_SUCCESS;
}

}  // namespace settings
