#include "strings/code_page.h"

#include <windows.h>

#include <atomic>

namespace quendel::text {

namespace {

std::atomic<unsigned> g_chosen{0};

bool IsLead(unsigned char b) { return b >= 0x80 && IsDBCSLeadByteEx(CodePage(), b); }

// The single-byte character in the other case, through its Unicode character; itself where
// the code page has no such letter.
unsigned char Fold(unsigned char b, bool upper) {
    if (b < 0x80) return static_cast<unsigned char>(upper ? (b >= 'a' && b <= 'z' ? b - 32 : b) : (b >= 'A' && b <= 'Z' ? b + 32 : b));
    const char in = static_cast<char>(b);
    WCHAR wide, mapped;
    char out[2];
    BOOL lossy = FALSE;
    if (MultiByteToWideChar(CodePage(), MB_ERR_INVALID_CHARS, &in, 1, &wide, 1) != 1 ||
        LCMapStringW(LOCALE_INVARIANT, upper ? LCMAP_UPPERCASE : LCMAP_LOWERCASE, &wide, 1, &mapped, 1) != 1 ||
        WideCharToMultiByte(CodePage(), 0, &mapped, 1, out, sizeof out, NULL, &lossy) != 1 || lossy)
        return b;
    return static_cast<unsigned char>(out[0]);
}

}  // namespace

unsigned CodePage() {
    const unsigned chosen = g_chosen.load(std::memory_order_relaxed);
    return chosen ? chosen : GetACP();
}

unsigned SetCodePageForTests(unsigned codePage) { return g_chosen.exchange(codePage); }

const unsigned char* Next(const unsigned char* p) { return p + (IsLead(p[0]) && p[1] != 0 ? 2 : 1); }

unsigned CharAt(const unsigned char* p) { return IsLead(p[0]) && p[1] != 0 ? (p[0] << 8 | p[1]) : p[0]; }

void CopyBounded(unsigned char* target, const unsigned char* source, std::size_t count) {
    std::size_t n = 0;
    while (n < count && source[n] != 0) {
        const std::size_t size = static_cast<std::size_t>(Next(source + n) - (source + n));
        if (n + size > count) break;  // its trail byte lies beyond count
        for (std::size_t i = 0; i < size; ++i) target[n + i] = source[n + i];
        n += size;
    }
    for (; n < count; ++n) target[n] = 0;
}

void AppendBounded(unsigned char* target, const unsigned char* source, std::size_t count) {
    while (*target) ++target;
    std::size_t n = 0;
    while (n < count && source[n] != 0) {
        const std::size_t size = static_cast<std::size_t>(Next(source + n) - (source + n));
        if (n + size > count) break;
        for (std::size_t i = 0; i < size; ++i) target[n + i] = source[n + i];
        n += size;
    }
    target[n] = 0;
}

int Compare(const unsigned char* a, const unsigned char* b, bool fold) {
    for (;; a = Next(a), b = Next(b)) {
        unsigned x = CharAt(a), y = CharAt(b);
        if (fold && x < 0x100 && y < 0x100) {
            x = Fold(static_cast<unsigned char>(x), false);
            y = Fold(static_cast<unsigned char>(y), false);
        }
        if (x != y) return x < y ? -1 : 1;
        if (x == 0) return 0;
    }
}

void ChangeCase(unsigned char* text, bool upper) {
    for (unsigned char* p = text; *p; p = const_cast<unsigned char*>(Next(p)))
        if (!IsLead(p[0]) || p[1] == 0) *p = Fold(*p, upper);
}

bool IsSpace(unsigned character) { return character == ' ' || (character >= '\t' && character <= '\r'); }

}  // namespace quendel::text
