// Writing a whole file so that it is either the new contents or untouched: the bytes go to a
// temporary file in the target's folder, which then replaces the target: an existing target
// through ReplaceFileW, so that it keeps its security, attributes and streams.
#pragma once

#include <string>

// Writes bytes to path (ANSI). On failure nothing is left behind, the target is as it was,
// and reason holds the system's words for the error (in the user's language). Should the old
// contents be moved aside and then refuse to go back, they stay under their backup name,
// which reason names: "... Der bisherige Inhalt liegt noch in „C:\Kalender\qdb1A2.tmp“."
bool WriteFileReplacing(const std::string& path, const std::string& bytes, std::string& reason);

// The system's text for an error code, without the trailing line break; "Fehler <code>"
// when the system has none.
std::string SystemErrorText(unsigned long code);
