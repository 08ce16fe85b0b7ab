#pragma once
// The settings dialog's hot-key entry: its preset menu, the value the platform's hot-key
// control holds, and what the user is told when the chosen combination cannot be had.
#include "core/app/hot_key.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace orvan {

struct HotKeyPreset {
    std::uint16_t shortCut = 0; // also the menu item's tag
    std::string caption;
};

// Ctrl+Space, Alt+Space and Ctrl+Alt+Space with their display texts.
std::array<HotKeyPreset, 3> HotKeyPresets(const KeyNamePort& names = EnglishKeyNames());

// The platform's hot-key control keeps the key in the low byte and its own modifier flags
// in the high byte (1 Shift, 2 Ctrl, 4 Alt, 8 extended key); these convert between that
// and the shortcut value. The extended-key flag has no place in a shortcut value.
std::uint16_t HotKeyEntryValue(std::uint16_t shortCut);
std::uint16_t ShortCutFromHotKeyEntry(std::uint16_t entryValue);

struct HotKeyNotice {
    std::string title;
    std::string text;
};

// After the options were applied: nothing when the hot key was registered; otherwise a
// warning that names the combination another program holds. The choice stays stored, so
// that it works from the next start on once the other program lets it go.
std::optional<HotKeyNotice> HotKeyRegistrationNotice(std::int32_t hotKey, bool registered,
                                                     const KeyNamePort& names = EnglishKeyNames());

} // namespace orvan
