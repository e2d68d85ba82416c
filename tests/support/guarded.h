// A text for the property tests that catches reads beyond its end.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstring>
#include <string>

// A text whose terminator is the last byte before an inaccessible page: reading past the
// end faults at once instead of passing unnoticed.
class GuardedText {
public:
    GuardedText() {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        m_page = info.dwPageSize;
        m_base = static_cast<char*>(VirtualAlloc(nullptr, 2 * m_page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old;
        if (m_base) VirtualProtect(m_base + m_page, m_page, PAGE_NOACCESS, &old);
    }
    ~GuardedText() {
        if (m_base) VirtualFree(m_base, 0, MEM_RELEASE);
    }
    GuardedText(const GuardedText&) = delete;
    GuardedText& operator=(const GuardedText&) = delete;

    bool Ready() const { return m_base != nullptr; }
    // Copies text (cut to a page) to the end of the readable page.
    const char* Put(const std::string& text) {
        const std::size_t n = text.size() < m_page - 1 ? text.size() : m_page - 1;
        char* p = m_base + m_page - n - 1;
        std::memcpy(p, text.data(), n);
        p[n] = 0;
        return p;
    }
    // Bytes without a terminator, ending at the page's end.
    const unsigned char* PutBytes(const unsigned char* bytes, std::size_t n) {
        unsigned char* p = reinterpret_cast<unsigned char*>(m_base + m_page - n);
        std::memcpy(p, bytes, n);
        return p;
    }

private:
    char* m_base = nullptr;
    std::size_t m_page = 4096;
};
