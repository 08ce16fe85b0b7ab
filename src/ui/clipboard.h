#pragma once
// Plain Unicode text on the clipboard.
#include <windows.h>

#include <string>

namespace orvan::ui {

// Puts the text on the clipboard as CF_UNICODETEXT. Another program may hold the clipboard
// open for a moment, so opening is retried briefly; false when it stays taken or memory
// runs out, and then the clipboard is unchanged and `error` (when given) holds the
// system's error code.
bool CopyTextToClipboard(HWND owner, const std::wstring& text, DWORD* error = nullptr);

} // namespace orvan::ui
