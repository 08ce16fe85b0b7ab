#include "core/app/hot_key.h"

#include <gtest/gtest.h>

namespace orvan {
namespace {

TEST(HotKey, ConvertsShortCutsToKeysModifiersAndTexts) {
    struct Case {
        std::uint16_t shortCut;
        std::uint32_t key;
        std::uint32_t modifiers;
        const char* text;
    };
    const Case cases[] = {
        {16416, 0x20, 2, "Ctrl+Space"},
        {49184, 0x20, 3, "Ctrl+Alt+Space"},
        {32800, 0x20, 1, "Alt+Space"},
        {kDefaultHotKey, 0x20, 1, "Alt+Space"},
        {0xC070, 0x70, 3, "Ctrl+Alt+F1"},
        {0xC073, 0x73, 3, "Ctrl+Alt+F4"},
        {0x406A, 0x6A, 2, "Ctrl+Num *"},
        {0x406D, 0x6D, 2, "Ctrl+Num -"},
        {0x207B, 0x7B, 4, "Shift+F12"},
        {0xE041, 0x41, 7, "Shift+Ctrl+Alt+A"},
        {0x0020, 0x20, 0, "Space"},
        {0xC000, 0x00, 3, ""},   // no key: no text at all, not "Ctrl+Alt+"
        {0x40FF, 0xFF, 2, ""},   // a key without a name
        {0x5020, 0x1020, 2, ""}, // bit 0x1000 is part of the key, which then has no name
    };
    for (const Case& c : cases) {
        const HotKeyCode code = ShortCutToHotKey(c.shortCut);
        EXPECT_EQ(code.key, c.key) << c.shortCut;
        EXPECT_EQ(code.modifiers, c.modifiers) << c.shortCut;
        EXPECT_EQ(ShortCutText(c.shortCut), c.text) << c.shortCut;
    }
}

TEST(HotKey, EnglishNamesFollowTheUsLayout) {
    const std::pair<std::uint32_t, const char*> cases[] = {
        {0x20, "Space"},   {0x70, "F1"},        {0x87, "F24"},    {0x41, "A"},
        {0x5A, "Z"},       {0x30, "0"},         {0x60, "Num 0"},  {0x69, "Num 9"},
        {0x6A, "Num *"},   {0x6B, "Num +"},     {0x6D, "Num -"},  {0x6E, "Num Del"},
        {0x6F, "Num /"},   {0x1B, "Esc"},       {0x0D, "Enter"},  {0x08, "Backspace"},
        {0x21, "Page Up"}, {0x22, "Page Down"}, {0x2E, "Delete"}, {0x90, "Num Lock"},
        {0xBA, ";"},       {0xC0, "`"},         {0xDE, "'"},      {0x00, ""},
        {0x100, ""},
    };
    for (const auto& [key, name] : cases)
        EXPECT_EQ(EnglishKeyNames().KeyName(key), name) << key;
}

TEST(HotKey, TextUsesTheGivenKeyNames) {
    class GermanNames final : public KeyNamePort {
    public:
        std::string KeyName(std::uint32_t key) const override { return key == 0x20 ? "Leer" : ""; }
    };
    EXPECT_EQ(ShortCutText(0x6020, GermanNames()), "Shift+Ctrl+Leer");
    EXPECT_EQ(ShortCutText(0x4070, GermanNames()), "");
}

} // namespace
} // namespace orvan
