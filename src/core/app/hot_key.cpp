#include "core/app/hot_key.h"

#include <array>

namespace orvan {

HotKeyCode ShortCutToHotKey(std::uint16_t shortCut) {
    HotKeyCode code;
    code.key = shortCut & ~static_cast<std::uint32_t>(ShortCutFlag::Shift | ShortCutFlag::Ctrl |
                                                      ShortCutFlag::Alt);
    if ((shortCut & ShortCutFlag::Shift) != 0)
        code.modifiers += HotKeyModifier::Shift;
    if ((shortCut & ShortCutFlag::Alt) != 0)
        code.modifiers += HotKeyModifier::Alt;
    if ((shortCut & ShortCutFlag::Ctrl) != 0)
        code.modifiers += HotKeyModifier::Control;
    return code;
}

namespace {

// The names GetKeyNameTextW gives on the US English layout, indexed by virtual key.
class EnglishKeyNameTable final : public KeyNamePort {
public:
    EnglishKeyNameTable() {
        static const char* const kLetters[] = {"A", "B", "C", "D", "E", "F", "G", "H", "I",
                                               "J", "K", "L", "M", "N", "O", "P", "Q", "R",
                                               "S", "T", "U", "V", "W", "X", "Y", "Z"};
        static const char* const kDigits[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
        static const char* const kNumPad[] = {"Num 0", "Num 1", "Num 2", "Num 3", "Num 4",
                                              "Num 5", "Num 6", "Num 7", "Num 8", "Num 9"};
        static const char* const kFunction[] = {
            "F1",  "F2",  "F3",  "F4",  "F5",  "F6",  "F7",  "F8",  "F9",  "F10", "F11", "F12",
            "F13", "F14", "F15", "F16", "F17", "F18", "F19", "F20", "F21", "F22", "F23", "F24"};
        for (unsigned i = 0; i < 26; ++i)
            names_[0x41 + i] = kLetters[i];
        for (unsigned i = 0; i < 10; ++i) {
            names_[0x30 + i] = kDigits[i];
            names_[0x60 + i] = kNumPad[i];
        }
        for (unsigned i = 0; i < 24; ++i)
            names_[0x70 + i] = kFunction[i];
        struct Named {
            std::uint8_t key;
            const char* name;
        };
        static const Named kOthers[] = {
            {0x08, "Backspace"},
            {0x09, "Tab"},
            {0x0C, "Num 5"},
            {0x0D, "Enter"},
            {0x10, "Shift"},
            {0x11, "Ctrl"},
            {0x12, "Alt"},
            {0x13, "Pause"},
            {0x14, "Caps Lock"},
            {0x1B, "Esc"},
            {0x20, "Space"},
            {0x21, "Page Up"},
            {0x22, "Page Down"},
            {0x23, "End"},
            {0x24, "Home"},
            {0x25, "Left"},
            {0x26, "Up"},
            {0x27, "Right"},
            {0x28, "Down"},
            {0x2C, "Prnt Scrn"},
            {0x2D, "Insert"},
            {0x2E, "Delete"},
            {0x5B, "Left Windows"},
            {0x5C, "Right Windows"},
            {0x5D, "Application"},
            {0x6A, "Num *"},
            {0x6B, "Num +"},
            {0x6D, "Num -"},
            {0x6E, "Num Del"},
            {0x6F, "Num /"},
            {0x90, "Num Lock"},
            {0x91, "Scroll Lock"},
            {0xA0, "Shift"},
            {0xA1, "Right Shift"},
            {0xA2, "Ctrl"},
            {0xA3, "Right Ctrl"},
            {0xA4, "Alt"},
            {0xA5, "Right Alt"},
            {0xBA, ";"},
            {0xBB, "="},
            {0xBC, ","},
            {0xBD, "-"},
            {0xBE, "."},
            {0xBF, "/"},
            {0xC0, "`"},
            {0xDB, "["},
            {0xDC, "\\"},
            {0xDD, "]"},
            {0xDE, "'"},
            {0xE2, "\\"},
        };
        for (const Named& named : kOthers)
            names_[named.key] = named.name;
    }

    std::string KeyName(std::uint32_t virtualKey) const override {
        if (virtualKey >= names_.size() || names_[virtualKey] == nullptr)
            return {};
        return names_[virtualKey];
    }

private:
    std::array<const char*, 256> names_{};
};

} // namespace

const KeyNamePort& EnglishKeyNames() {
    static const EnglishKeyNameTable table;
    return table;
}

std::string ShortCutText(std::uint16_t shortCut, const KeyNamePort& names) {
    const std::string keyName = names.KeyName(ShortCutToHotKey(shortCut).key);
    if (keyName.empty())
        return {};
    std::string text;
    if ((shortCut & ShortCutFlag::Shift) != 0)
        text += "Shift+";
    if ((shortCut & ShortCutFlag::Ctrl) != 0)
        text += "Ctrl+";
    if ((shortCut & ShortCutFlag::Alt) != 0)
        text += "Alt+";
    return text + keyName;
}

} // namespace orvan
