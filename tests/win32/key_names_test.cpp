#include "platform/native.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace orvan {
namespace {

TEST(Win32KeyNames, TheLayoutNamesTheHotKeyPresets) {
    const KeyNamePort& names = platform::KeyNames();
    for (const UINT key : {VK_SPACE, VK_F1, VK_F4, VK_MULTIPLY, VK_SUBTRACT, VK_HOME, VK_DIVIDE}) {
        const std::string name = names.KeyName(key);
        EXPECT_FALSE(name.empty()) << key;
        std::printf("key 0x%02X: %s\n", key, name.c_str());
    }
    EXPECT_EQ(names.KeyName(0), "");
    EXPECT_EQ(names.KeyName(0x1020), "");
    EXPECT_FALSE(ShortCutText(0x4020, names).empty());
}

} // namespace
} // namespace orvan
