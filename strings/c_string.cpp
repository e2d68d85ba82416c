#include "strings/c_string.h"
#include "strings/code_page.h"

#include <climits>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <new>

#include <windows.h>

namespace {

constexpr std::size_t kCapacityBytes = sizeof(std::int32_t);
// The largest capacity (text and terminator) that the 32-bit field can hold.
constexpr std::size_t kMaxCapacity = INT_MAX;
constexpr int kFormatBuffer = 500;

// The shared empty text: capacity 0 (four zero bytes in any byte order) and the terminator,
// in one array so that reading the capacity in front of the text stays inside one object.
// Read-only: nothing ever writes to a text of capacity 0.
alignas(std::int32_t) const char g_emptyBlock[kCapacityBytes + 1] = {};

char* EmptyText() { return const_cast<char*>(g_emptyBlock + kCapacityBytes); }

const char* OrEmpty(const char* text) { return text ? text : ""; }

const unsigned char* Bytes(const char* text) { return reinterpret_cast<const unsigned char*>(text); }
unsigned char* Bytes(char* text) { return reinterpret_cast<unsigned char*>(text); }

std::size_t Capacity(const char* text) {
    std::int32_t capacity;
    std::memcpy(&capacity, text - kCapacityBytes, sizeof capacity);
    return static_cast<std::size_t>(capacity);
}

// A text of INT_MAX bytes or more has no 32-bit capacity. Such a block cannot be had, so the
// request fails the way the allocation operator fails any request it cannot meet
// (std::bad_alloc), before the string changes.
[[noreturn]] void TooLong() {
    static_cast<void>(::operator new(static_cast<std::size_t>(-1)));
    std::abort();  // not reached: no allocation of that size succeeds
}

int CheckedLength(std::size_t length) {
    if (length >= kMaxCapacity) TooLong();
    return static_cast<int>(length);
}

// A heap block with room for exactly length text bytes and the terminator; the text is
// left unset.
char* NewText(std::size_t length) {
    if (length >= kMaxCapacity) TooLong();
    char* block = static_cast<char*>(::operator new(kCapacityBytes + length + 1));
    const std::int32_t capacity = static_cast<std::int32_t>(length + 1);
    std::memcpy(block, &capacity, sizeof capacity);
    return block + kCapacityBytes;
}

void FreeText(char* text) {
    if (Capacity(text) != 0) ::operator delete(text - kCapacityBytes);
}

// The bytes of text that an append of at most count bytes takes.
std::size_t BoundedLength(const char* text, std::size_t count) {
    std::size_t n = 0;
    while (n < count && text[n] != '\0') ++n;
    return n;
}

}  // namespace

C_String::C_String() : m_text(EmptyText()) {}
C_String::C_String(const C_String& other) : m_text(EmptyText()) { *this = other.m_text; }
C_String::C_String(const char* text) : m_text(EmptyText()) { *this = text; }
C_String::C_String(const unsigned short* wide) : m_text(EmptyText()) { *this = wide; }

C_String::C_String(const char* text, int count) : m_text(EmptyText()) {
    if (count < 1) return;
    m_text = NewText(static_cast<std::size_t>(count));
    // Pads with terminators when text is shorter, and drops a lead byte whose trail byte
    // would lie beyond count.
    quendel::text::CopyBounded(Bytes(m_text), Bytes(OrEmpty(text)), static_cast<std::size_t>(count));
    m_text[count] = '\0';
}

C_String::~C_String() { Empty(); }

void C_String::allocstr(int n, const char* init) {
    init = OrEmpty(init);
    if (n <= 0) {
        FreeText(m_text);
        m_text = EmptyText();
        return;
    }
    const std::size_t length = std::strlen(init);
    if (Capacity(m_text) > static_cast<std::size_t>(n)) {
        // init may be this very text or a part of it: the copy may overlap.
        std::memmove(m_text, init, length + 1);
        return;
    }
    char* grown = NewText(static_cast<std::size_t>(n));
    std::memcpy(grown, init, length + 1);
    FreeText(m_text);  // only now: init may lie in the old block
    m_text = grown;
}

const C_String& C_String::operator=(const C_String& other) { return *this = other.m_text; }

const C_String& C_String::operator=(const char* text) {
    text = OrEmpty(text);
    allocstr(CheckedLength(std::strlen(text)), text);
    return *this;
}

const C_String& C_String::operator=(const unsigned short* wide) {
    const LPCWCH source = reinterpret_cast<LPCWCH>(wide);
    // The size includes the terminator, so a text that converts to nothing gives 1.
    const int size = wide ? WideCharToMultiByte(CP_ACP, 0, source, -1, nullptr, 0, nullptr, nullptr) : 0;
    if (size <= 1) {
        Empty();
        return *this;
    }
    allocstr(size, "");
    WideCharToMultiByte(CP_ACP, 0, source, -1, m_text, size, nullptr, nullptr);
    return *this;
}

bool C_String::operator==(const C_String& other) const { return Compare(other.m_text) == 0; }
bool C_String::operator==(const char* text) const { return Compare(text) == 0; }
bool C_String::operator!=(const C_String& other) const { return Compare(other.m_text) != 0; }
bool C_String::operator!=(const char* text) const { return Compare(text) != 0; }

C_String::operator const char*() const { return m_text; }
const char* C_String::c_str() const { return m_text; }

const C_String& C_String::operator+=(const char* text) {
    text = OrEmpty(text);
    Add(text, static_cast<unsigned int>(CheckedLength(std::strlen(text))));
    return *this;
}

void C_String::Add(const char* text, unsigned int count) {
    text = OrEmpty(text);
    // Only what the source holds counts, so that a count beyond it cannot inflate the sum.
    const std::size_t added = BoundedLength(text, count);
    const std::size_t length = std::strlen(m_text);
    if (added >= kMaxCapacity - length) TooLong();
    const std::size_t total = length + added;
    if (total == 0) {
        Empty();
        return;
    }
    const std::size_t capacity = Capacity(m_text);
    if (capacity > total) {
        const std::less_equal<const char*> notAfter;
        if (notAfter(m_text, text) && !notAfter(m_text + capacity, text)) {
            // The source lies in this block, where the append writes; the runtime's copy
            // must not read what it writes, so it reads from a copy of the part.
            char* part = static_cast<char*>(::operator new(added + 1));
            std::memcpy(part, text, added);
            part[added] = '\0';
            quendel::text::AppendBounded(Bytes(m_text), Bytes(part), added);
            ::operator delete(part);
        } else {
            quendel::text::AppendBounded(Bytes(m_text), Bytes(text), added);
        }
        return;
    }
    char* grown = NewText(total);
    std::memcpy(grown, m_text, length + 1);
    quendel::text::AppendBounded(Bytes(grown), Bytes(text), added);
    FreeText(m_text);  // only now: the source may lie in the old block
    m_text = grown;
}

int C_String::Collate(const char* text) const {
    // The user's locale, not the runtime's, which belongs to the host program.
    const int order = CompareStringA(LOCALE_USER_DEFAULT, 0, m_text, -1, OrEmpty(text), -1);
    return order != 0 ? order - CSTR_EQUAL : Compare(text);
}
int C_String::Compare(const char* text) const { return quendel::text::Compare(Bytes(m_text), Bytes(OrEmpty(text)), false); }
int C_String::CompareNoCase(const char* text) const { return quendel::text::Compare(Bytes(m_text), Bytes(OrEmpty(text)), true); }

void C_String::Empty() { allocstr(0, ""); }

int C_String::Find(char c) const {
    const unsigned wanted = static_cast<unsigned char>(c);
    const unsigned char* p = Bytes(m_text);
    for (; *p; p = quendel::text::Next(p))
        if (quendel::text::CharAt(p) == wanted) break;
    return *p || wanted == 0 ? static_cast<int>(p - Bytes(m_text)) : -1;
}

int C_String::Find(const char* text) const {
    const char* needle = OrEmpty(text);
    const char* from = m_text;
    // A byte match that begins in a trail byte is no match: the search goes on behind the
    // character that holds it.
    while (const char* hit = std::strstr(from, needle)) {
        const unsigned char* p = Bytes(from);
        while (p < Bytes(hit)) p = quendel::text::Next(p);
        if (p == Bytes(hit)) return static_cast<int>(hit - m_text);
        from = reinterpret_cast<const char*>(p);
    }
    return -1;
}

int C_String::FindOneOf(const char* set) const {
    for (const unsigned char* p = Bytes(m_text); *p; p = quendel::text::Next(p))
        for (const unsigned char* q = Bytes(OrEmpty(set)); *q; q = quendel::text::Next(q))
            if (quendel::text::CharAt(p) == quendel::text::CharAt(q)) return static_cast<int>(p - Bytes(m_text));
    return -1;
}

void C_String::Format(const char* pattern, ...) {
    // Zeroed, so that even a print that fails early leaves a terminated text.
    char buffer[kFormatBuffer] = {};
    va_list args;
    va_start(args, pattern);
    _vsnprintf(buffer, kFormatBuffer, OrEmpty(pattern), args);
    va_end(args);
    // A result of 500 bytes or more fills the buffer without a terminator: cut it at 499.
    buffer[kFormatBuffer - 1] = '\0';
    *this = buffer;
}

char* C_String::GetBuffer(int count) {
    // Leaves an owned block holding the empty text.
    allocstr(count < 1 ? 2 : count, "");
    return m_text;
}

int C_String::GetLength() const { return static_cast<int>(std::strlen(m_text)); }
bool C_String::IsEmpty() const { return m_text[0] == '\0'; }

C_String C_String::Left(int count) const {
    if (count >= GetLength()) return *this;
    return C_String(m_text, count < 0 ? 0 : count);
}

C_String C_String::Mid(int first) const {
    // For a negative first, length - first could overflow; any count of at least the
    // length gives the same result.
    return Mid(first, first < 0 ? INT_MAX : GetLength() - first);
}

C_String C_String::Mid(int first, int count) const {
    const int length = GetLength();
    if (first < 0) first = 0;
    if (count < 0) count = 0;
    if (first > length) return C_String();
    if (count > length - first) count = length - first;  // compared so, the sum cannot overflow
    if (first == 0 && count == length) return *this;
    return C_String(m_text + first, count);
}

C_String C_String::Right(int count) const {
    const int length = GetLength();
    if (count >= length) return *this;
    if (count < 0) count = 0;
    return C_String(m_text + (length - count), count);
}

void C_String::MakeLower() {
    if (Capacity(m_text) != 0) quendel::text::ChangeCase(Bytes(m_text), false);
}

void C_String::MakeUpper() {
    if (Capacity(m_text) != 0) quendel::text::ChangeCase(Bytes(m_text), true);
}

void C_String::SetAt(int index, char c) {
    if (index >= 0 && index < GetLength()) m_text[index] = c;
}

void C_String::TrimLeft() {
    const unsigned char* start = Bytes(m_text);
    const unsigned char* p = start;
    while (*p != 0 && quendel::text::IsSpace(quendel::text::CharAt(p))) {
        const unsigned char* next = quendel::text::Next(p);
        if (next - p > 1 && p[1] == 0) break;  // a lead byte cut off by the terminator
        p = next;
    }
    // The rest moves to the front of the same block; nothing left frees it.
    if (p != start) *this = reinterpret_cast<const char*>(p);
}

void C_String::TrimRight() {
    const int length = GetLength();
    int end = length;
    // Byte by byte: no trail byte of the ANSI code pages is a white-space byte.
    while (end > 0 && quendel::text::IsSpace(static_cast<unsigned char>(m_text[end - 1]))) --end;
    if (end == length) return;
    if (end == 0)
        Empty();
    else
        m_text[end] = '\0';
}

