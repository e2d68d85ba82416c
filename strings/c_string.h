// C_String: the byte string in which the time library hands out its texts.
//
// One pointer wide, so that it can cross the module boundary by value: the pointer leads to
// a terminated text in the system's ANSI code page, preceded in its heap block by a 32-bit
// signed capacity (bytes for text and terminator). An empty string points to a shared
// static empty text of capacity 0, which is never freed or written. The length is measured
// each time; positions and counts are byte offsets, not characters. Searching, comparing,
// case changes and trimming treat a lead byte and its trail byte as one character, by the
// system's ANSI code page; the runtime's multibyte code page and locale are the host
// program's, and the library neither reads nor changes them.
//
// Blocks grow to exactly the length needed plus the terminator and never shrink; only an
// empty result frees the block:
//   C_String s("Sommerzeit");   // block for 11 bytes
//   s = "MEZ";                  // same block, 3 bytes used
//   s = "";                     // block freed, back on the shared empty text
//
// A string's own text, or a part of it, may be assigned or appended to it, also when the
// block has to grow:
//   s = "abc"; s += s;          // "abcabc"
//   s.Add(s + 2, 3);            // "abcabccab"
//   s = s.c_str() + 6;          // "cab"
//
// A null text pointer reads as the empty text. Left, Right and Mid clamp their positions to
// the text and never fail:
//   C_String("Zeitzone").Mid(-2, 4)       // "Zeit": a negative start counts as 0
//   C_String("Zeitzone").Mid(4, INT_MAX)  // "zone"
//   C_String("Zeitzone").Right(99)        // "Zeitzone"
#pragma once

#include "strings/export.h"

class C_String {
public:
    QTL_API C_String();                             // empty
    QTL_API C_String(const C_String& other);
    QTL_API C_String(const char* text);
    QTL_API C_String(const unsigned short* wide);   // UTF-16, converted to the ANSI code page
    // The first count bytes of text, by the multibyte-aware bounded copy: a shorter text is
    // padded with terminators, and a lead byte cut off from its trail byte is dropped.
    // count < 1 gives the empty string.
    QTL_API C_String(const char* text, int count);
    QTL_API ~C_String();

    QTL_API const C_String& operator=(const C_String& other);
    QTL_API const C_String& operator=(const char* text);
    // A wide text that converts to nothing but the terminator gives the empty string.
    QTL_API const C_String& operator=(const unsigned short* wide);

    QTL_API bool operator==(const C_String& other) const;
    QTL_API bool operator==(const char* text) const;
    QTL_API bool operator!=(const C_String& other) const;
    QTL_API bool operator!=(const char* text) const;

    QTL_API operator const char*() const;           // the text; valid until the next change
    QTL_API const char* c_str() const;

    QTL_API const C_String& operator+=(const char* text);
    // Appends at most count bytes of text (fewer when text is shorter). The block grows to
    // exactly the new length; an empty result is the empty string:
    //   C_String s("UTC"); s.Add("+0100", 3);   // "UTC+01"
    QTL_API void Add(const char* text, unsigned int count);

    QTL_API int Collate(const char* text) const;      // collation order of the user's locale, <0, 0, >0
    QTL_API int Compare(const char* text) const;      // character order of the code page
    QTL_API int CompareNoCase(const char* text) const;

    QTL_API void Empty();                            // frees the block

    // Byte offset of the first match, -1 if there is none. A trail byte never matches:
    // in code page 932, Find('A') of "\x83\x41" "A" is 2, not 1.
    QTL_API int Find(char c) const;
    QTL_API int Find(const char* text) const;
    QTL_API int FindOneOf(const char* set) const;

    // printf-style (the runtime's conversions, "%I64d" included) into a 500-byte work
    // buffer; a longer result is cut to its first 499 bytes.
    QTL_API void Format(const char* pattern, ...)
#if defined(__GNUC__)
        __attribute__((format(ms_printf, 2, 3)))
#endif
        ;

    // A writable buffer for at least count + 1 bytes (count < 1 gives room for 3). It starts
    // empty: the former text is discarded. There is no release step; the length is whatever
    // the caller leaves terminated in it.
    QTL_API char* GetBuffer(int count);

    QTL_API int GetLength() const;
    QTL_API bool IsEmpty() const;

    // New strings; the object stays as it is. Arguments are clamped to the text:
    //   Left(-1) and Left(0) give "", Left(n >= length) a copy;
    //   Mid(first) is Mid(first, length - first); Mid(7) of a 5-byte text gives "".
    QTL_API C_String Left(int count) const;
    QTL_API C_String Mid(int first) const;
    QTL_API C_String Mid(int first, int count) const;
    QTL_API C_String Right(int count) const;

    QTL_API void MakeLower();
    QTL_API void MakeUpper();

    QTL_API void SetAt(int index, char c);           // ignored unless 0 <= index < length

    // White space as the runtime classes it (blank, tab, line ends, vertical tab, form
    // feed); a string of nothing else becomes empty.
    QTL_API void TrimLeft();
    QTL_API void TrimRight();

private:
    // Makes the text init, which is at most n bytes long and may lie in the current text,
    // with room for n bytes; n = 0 frees the block.
    void allocstr(int n, const char* init);

    char* m_text;  // never null
};

static_assert(sizeof(C_String) == sizeof(void*), "C_String crosses module boundaries as one pointer");
