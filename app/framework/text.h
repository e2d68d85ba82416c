// Byte-string helpers of the dialog layer: texts are std::string in the ANSI code page.
#pragma once

#include <windows.h>

#include <string>

// printf-style formatting into a new string (no length limit).
std::string FormatText(const char* pattern, ...) __attribute__((format(gnu_printf, 1, 2)));
// A string resource of the program; empty when there is none.
std::string LoadResourceString(UINT id);
// Case changes in place by the ANSI code page's rules (also for its accented letters).
void MakeLower(std::string& text);
void MakeUpper(std::string& text);
// A wide text (a zone name) in the ANSI code page; characters it lacks become '?'.
std::string WideToAnsi(const WCHAR* text);
