#pragma once
// Shortcut values: a 16-bit number with the virtual-key code in the low byte and 0x2000
// Shift, 0x4000 Ctrl, 0x8000 Alt.
#include <cstdint>
#include <string>

namespace orvan {

namespace ShortCutFlag {
constexpr std::uint16_t Shift = 0x2000;
constexpr std::uint16_t Ctrl = 0x4000;
constexpr std::uint16_t Alt = 0x8000;
} // namespace ShortCutFlag

// Modifier bits of the platform's hot-key registration.
namespace HotKeyModifier {
constexpr std::uint32_t Alt = 1;     // MOD_ALT
constexpr std::uint32_t Control = 2; // MOD_CONTROL
constexpr std::uint32_t Shift = 4;   // MOD_SHIFT
} // namespace HotKeyModifier

constexpr std::uint16_t kDefaultHotKey = 0x8020; // Alt+Space

struct HotKeyCode {
    std::uint32_t key = 0;
    std::uint32_t modifiers = 0;
};

HotKeyCode ShortCutToHotKey(std::uint16_t shortCut);

// Names of keys as the keyboard layout gives them ("Space", "F1", "Num *").
class KeyNamePort {
public:
    virtual ~KeyNamePort() = default;
    // The key's name, or "" when the key has none.
    virtual std::string KeyName(std::uint32_t virtualKey) const = 0;
};

// The fixed English names of the US layout; the Windows adapter asks the real layout.
const KeyNamePort& EnglishKeyNames();

// "Shift+", "Ctrl+", "Alt+" (in this order, each when its bit is set) and the key's name.
std::string ShortCutText(std::uint16_t shortCut, const KeyNamePort& names = EnglishKeyNames());

} // namespace orvan
