// The characters of the code page C_String's texts are in (library-internal): the system's
// ANSI code page, read through Win32 alone, so that neither the runtime's multibyte code
// page nor its locale (the host program's) is read or changed. A lead byte and its trail
// byte are one character; a lead byte before the terminator counts alone.
#pragma once

#include <cstddef>

namespace quendel::text {

// The code page: GetACP(), unless a test chose another.
unsigned CodePage();
// For tests (a machine's ANSI code page cannot change while a program runs): reads the texts
// in code page instead (932 for Shift-JIS); 0 goes back. Returns the one before (0: none).
unsigned SetCodePageForTests(unsigned codePage);

// Past the character at p (not at the terminator).
const unsigned char* Next(const unsigned char* p);
// The character at p: its byte, or lead << 8 | trail.
unsigned CharAt(const unsigned char* p);
// Copies whole characters of source, at most count bytes, and pads with terminators to count:
// a lead byte whose trail byte would lie beyond count is dropped.
void CopyBounded(unsigned char* target, const unsigned char* source, std::size_t count);
// Appends whole characters of source, at most count bytes, and terminates.
void AppendBounded(unsigned char* target, const unsigned char* source, std::size_t count);
// By character codes, as unsigned; with fold, single-byte letters of either case compare
// alike. <0, 0, >0.
int Compare(const unsigned char* a, const unsigned char* b, bool fold);
// Single-byte letters to lower or upper case, by the code page's characters; double-byte
// characters stay.
void ChangeCase(unsigned char* text, bool upper);
// Blank, tab, line ends, vertical tab and form feed.
bool IsSpace(unsigned character);

}  // namespace quendel::text
