// C_RegKey: owner of one open registry key; closes it when it goes.
#pragma once

#include <windows.h>

class C_RegKey {
public:
    C_RegKey() = default;
    ~C_RegKey() { Close(); }
    C_RegKey(const C_RegKey&) = delete;
    C_RegKey& operator=(const C_RegKey&) = delete;
    C_RegKey(C_RegKey&& other) noexcept : m_key(other.m_key) { other.m_key = NULL; }
    C_RegKey& operator=(C_RegKey&& other) noexcept {
        if (this != &other) {
            Close();
            m_key = other.m_key;
            other.m_key = NULL;
        }
        return *this;
    }

    // Closes any key held, opens root\path for reading, and only when that fails and create
    // is set, creates it. Returns whether a key is held.
    bool Open(HKEY root, const char* path, bool create = false) {
        Close();
        if (RegOpenKeyExA(root, path, 0, KEY_READ, &m_key) == ERROR_SUCCESS) return true;
        m_key = NULL;
        if (create && RegCreateKeyExA(root, path, 0, NULL, 0, KEY_READ | KEY_WRITE, NULL, &m_key, NULL) == ERROR_SUCCESS)
            return true;
        m_key = NULL;
        return false;
    }

    void Close() {
        if (m_key) RegCloseKey(m_key);
        m_key = NULL;
    }

    HKEY Get() const { return m_key; }  // borrowed: stays owned by this holder
    bool IsOpen() const { return m_key != NULL; }

private:
    HKEY m_key = NULL;
};
