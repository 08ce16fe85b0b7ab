#pragma once
// The launcher's one global hot key, registered for the main window under the global atom
// "zorMainHotKey1". Re-registered whenever options are applied.
#include <windows.h>

#include <cstdint>

namespace orvan::ui {

inline constexpr const wchar_t* kHotKeyAtomName = L"zorMainHotKey1";

// The window that receives WM_HOTKEY; set once the main window exists.
void SetHotKeyWindow(HWND window);

// A value above 0 becomes the combination; 0 or less keeps the previous one. The old
// registration goes first; a combination another program owns gives no hot key, and the
// result is false.
bool RegisterMainHotKey(std::int32_t shortCut);
// Unregisters the hot key and deletes its atom.
void UnregisterMainHotKey();

// The identifier of the registration (the atom's value), 0 when there is none.
std::int32_t HotKeyId();
std::int32_t HotKeyShortCut();
// Whether the last registration took: false before the first and when another program owns
// the combination. The settings dialog tells the user after OK.
bool MainHotKeyRegistered();

} // namespace orvan::ui
