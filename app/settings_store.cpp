#include "app/settings_store.h"

#include <windows.h>

#include <cstring>

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

namespace {

LONG Store(const char* name, DWORD type, const void* data, DWORD size) {
    KeyOwner owner;
    LONG result = RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, NULL, 0, KEY_SET_VALUE, NULL, &owner.key, NULL);
    if (result == ERROR_SUCCESS) result = RegSetValueExA(owner.key, name, 0, type, static_cast<const BYTE*>(data), size);
    return result;
}

}  // namespace

bool Write(const char* name, const std::string& value, unsigned long* error) {
    const LONG result = Store(name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
    if (error != nullptr) *error = static_cast<unsigned long>(result);
    return result == ERROR_SUCCESS;
}

bool ReadBinary(const char* name, void* data, unsigned long size) {
    unsigned char stored[64];  // the largest binary setting, and one byte more to see a longer one
    DWORD type = 0, got = sizeof stored;
    if (size >= sizeof stored ||
        RegGetValueA(HKEY_CURRENT_USER, kKey, name, RRF_RT_REG_BINARY, &type, stored, &got) != ERROR_SUCCESS ||
        got != size)
        return false;
    std::memcpy(data, stored, size);
    return true;
}

bool WriteBinary(const char* name, const void* data, unsigned long size) {
    return Store(name, REG_BINARY, data, size) == ERROR_SUCCESS;
}

}  // namespace settings
