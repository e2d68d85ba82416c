// Buffers for the property tests that catch reads and writes beyond their ends.
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

// An output value between two runs of guard bytes: a write beyond it shows in Intact().
template <typename T>
struct Guarded {
    static constexpr unsigned char kFill = 0xA5;
    unsigned char before[32];
    T value;
    unsigned char after[32];
    Guarded() {
        std::memset(before, kFill, sizeof before);
        std::memset(static_cast<void*>(&value), kFill, sizeof value);  // any bit pattern: it is an output
        std::memset(after, kFill, sizeof after);
    }
    bool Intact() const {
        for (unsigned char b : before)
            if (b != kFill) return false;
        for (unsigned char b : after)
            if (b != kFill) return false;
        return true;
    }
};

// A character buffer of any capacity up to N with guard bytes on both sides.
template <std::size_t N>
struct GuardedChars {
    static constexpr unsigned char kFill = 0xA5;
    char storage[N + 64];
    GuardedChars() { std::memset(storage, kFill, sizeof storage); }
    char* Buffer() { return storage + 32; }
    // Nothing outside [Buffer(), Buffer() + capacity) changed.
    bool IntactAround(std::size_t capacity) const {
        for (std::size_t i = 0; i < sizeof storage; ++i) {
            if (i >= 32 && i < 32 + capacity) continue;
            if (static_cast<unsigned char>(storage[i]) != kFill) return false;
        }
        return true;
    }
};
