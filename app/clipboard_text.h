// Text onto the clipboard, as the user's copy command puts it there.
#pragma once

#include <windows.h>

#include <string>

// Replaces the clipboard's content with text of the ANSI code page (lines ending in "\r\n"),
// offered as Unicode text; owner is the window that copies. False when the clipboard cannot
// be opened or the text not stored.
bool CopyTextToClipboard(HWND owner, const std::string& text);
