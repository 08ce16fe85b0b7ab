#include "core/settings/hot_key_choice.h"

#include <gtest/gtest.h>

namespace orvan {
namespace {

TEST(HotKeyPresets, CodesAndCaptions) {
    const std::array<HotKeyPreset, 3> presets = HotKeyPresets();
    EXPECT_EQ(presets[0].shortCut, 16416);
    EXPECT_EQ(presets[0].caption, "Ctrl+Space");
    EXPECT_EQ(presets[1].shortCut, 32800);
    EXPECT_EQ(presets[1].caption, "Alt+Space");
    EXPECT_EQ(presets[2].shortCut, 49184);
    EXPECT_EQ(presets[2].caption, "Ctrl+Alt+Space");
}

// A layout that names keys in its own language.
class GermanKeyNames final : public KeyNamePort {
public:
    std::string KeyName(std::uint32_t key) const override {
        return key == 0x20 ? "Leertaste" : key == 0x70 ? "F1" : "";
    }
};

TEST(HotKeyPresets, KeyNamesComeFromTheLayout) {
    EXPECT_EQ(HotKeyPresets(GermanKeyNames())[2].caption, "Ctrl+Alt+Leertaste");
}

TEST(HotKeyEntry, ConvertsBetweenShortCutAndTheControlsValue) {
    struct Case {
        std::uint16_t shortCut;
        std::uint16_t entry;
    };
    const Case cases[] = {
        {0x8020, 0x0420}, // Alt+Space
        {0x4020, 0x0220}, // Ctrl+Space
        {0xC020, 0x0620}, // Ctrl+Alt+Space
        {0x2070, 0x0170}, // Shift+F1
        {0xE041, 0x0741}, // Shift+Ctrl+Alt+A
        {0x0070, 0x0070}, // F1
        {0x0000, 0x0000}, // none
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HotKeyEntryValue(c.shortCut), c.entry) << c.shortCut;
        EXPECT_EQ(ShortCutFromHotKeyEntry(c.entry), c.shortCut) << c.entry;
    }
    // The extended-key flag (8) is not part of a shortcut value.
    EXPECT_EQ(ShortCutFromHotKeyEntry(0x0A2D), 0x402D); // Ctrl+Insert on the arrow block
}

TEST(HotKeyNotice, OnlyWhenTheHotKeyCouldNotBeRegistered) {
    EXPECT_FALSE(HotKeyRegistrationNotice(0x8020, true).has_value());

    const std::optional<HotKeyNotice> notice = HotKeyRegistrationNotice(0xC020, false);
    ASSERT_TRUE(notice.has_value());
    EXPECT_EQ(notice->title, "Warning");
    EXPECT_EQ(notice->text, "Another program already uses the hot key Ctrl+Alt+Space, so it "
                            "cannot bring up Orvan! now. Choose another hot key in the options.");

    // A key without a name is still told apart by its code.
    const std::optional<HotKeyNotice> unnamed =
        HotKeyRegistrationNotice(0x40FF, false, GermanKeyNames());
    ASSERT_TRUE(unnamed.has_value());
    EXPECT_NE(unnamed->text.find("hot key 16639,"), std::string::npos) << unnamed->text;
}

} // namespace
} // namespace orvan
