#include "core/app/tray_menu.h"

#include <gtest/gtest.h>

namespace orvan {
namespace {

TEST(TrayMenu, ShowsHideOrShowAndGreysOptionsWhileSettingsAreOpen) {
    struct Case {
        bool searchVisible, settingsVisible;
        bool show, hide, optionsEnabled;
    };
    const Case cases[] = {
        {false, false, true, false, true},
        {true, false, false, true, true},
        {true, true, false, true, false},
        {false, true, true, false, false},
    };
    for (const Case& c : cases) {
        const auto items = TrayMenuItems(c.searchVisible, c.settingsVisible);
        EXPECT_EQ(items[0].tag, TrayTag::Show);
        EXPECT_EQ(items[0].captionId, 1000005);
        EXPECT_EQ(items[0].visible, c.show);
        EXPECT_EQ(items[1].tag, TrayTag::Hide);
        EXPECT_EQ(items[1].captionId, 1000004);
        EXPECT_EQ(items[1].visible, c.hide);
        EXPECT_EQ(items[2].tag, TrayTag::Options);
        EXPECT_EQ(items[2].captionId, 9000000);
        EXPECT_TRUE(items[2].visible);
        EXPECT_EQ(items[2].enabled, c.optionsEnabled);
        EXPECT_EQ(items[3].tag, TrayTag::Exit);
        EXPECT_EQ(items[3].captionId, 1000001);
        EXPECT_TRUE(items[3].visible && items[3].enabled);
        // Exactly the visible one of Show and Hide is the default.
        EXPECT_EQ(items[0].isDefault, c.show);
        EXPECT_EQ(items[1].isDefault, c.hide);
        EXPECT_FALSE(items[2].isDefault || items[3].isDefault);
    }
}

} // namespace
} // namespace orvan
