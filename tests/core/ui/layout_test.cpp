#include "core/ui/layout.h"
#include "core/ui/search_layout.h"

#include <gtest/gtest.h>

namespace orvan {
namespace {

TEST(Layout, ScalingIsExactAt96DpiAndRoundsElsewhere) {
    const std::pair<int, int> at96[] = {{0, 0}, {1, 1}, {315, 315}, {-7, -7}};
    for (const auto& [value, expected] : at96)
        EXPECT_EQ(ScaleForDpi(value, 96), expected);
    struct Case {
        int value, dpi, expected;
    };
    const Case cases[] = {{315, 144, 473}, {336, 144, 504}, {16, 120, 20}, {3, 120, 4},
                          {1, 144, 2},     {-3, 120, -4},   {20, 192, 40}};
    for (const Case& c : cases)
        EXPECT_EQ(ScaleForDpi(c.value, c.dpi), c.expected) << c.value << "@" << c.dpi;
    // Edges are scaled, so adjacent controls stay adjacent: 235+16 = 251 at any DPI.
    const UiRect execute = ScaleForDpi(search_layout::kRunExecute.rect, 144);
    const UiRect details = ScaleForDpi(search_layout::kRunDetails.rect, 144);
    EXPECT_EQ(execute.Right(), details.left);
}

TEST(Layout, AnchorsKeepDistancesToTheirEdges) {
    const UiSize designed{291, 290};
    const UiSize wider{391, 340};
    const UiRect r{6, 150, 277, 133};
    EXPECT_EQ(AnchorInParent(r, Anchor::TopLeft, designed, wider), r);
    EXPECT_EQ(AnchorInParent(r, Anchor::All, designed, wider), (UiRect{6, 150, 377, 183}));
    EXPECT_EQ(AnchorInParent(r, Anchor::TopSides, designed, wider), (UiRect{6, 150, 377, 133}));
    EXPECT_EQ(AnchorInParent(r, Anchor::TopRight, designed, wider), (UiRect{106, 150, 277, 133}));
    EXPECT_EQ(AnchorInParent(r, Anchor::BottomLeft, designed, wider), (UiRect{6, 200, 277, 133}));
    // Shrunk far below the design: a stretched control ends at size 0, never negative.
    EXPECT_EQ(AnchorInParent(r, Anchor::All, designed, {10, 10}), (UiRect{6, 150, 0, 0}));
}

TEST(Layout, CentresOnTheWorkAreaOfTheMonitor) {
    struct Case {
        UiRect work;
        int width, height;
        UiPoint expected;
    };
    const Case cases[] = {
        {{0, 0, 1280, 800}, 331, 375, {474, 212}},
        // A second monitor whose work area starts at (1920, 0) with width 1280.
        {{1920, 0, 1280, 1024}, 331, 375, {1920 + (1280 - 331) / 2, 324}},
        // A taskbar at the top moves the work area down.
        {{0, 40, 1280, 760}, 300, 300, {490, 270}},
        // Larger than the work area: the halved difference rounds toward zero.
        {{0, 0, 100, 100}, 301, 103, {-100, -1}},
        {{-1280, 0, 1280, 1024}, 331, 375, {-1280 + 474, 324}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CenterOnWorkArea(c.work, c.width, c.height), c.expected);
}

TEST(SearchLayout, RunTabControlsFitTheDesignedPage) {
    using namespace search_layout;
    // Every run-tab control lies inside the designed page with the designed margins.
    for (const DesignedControl& c : {kRunEdit, kRunIcon, kRunLabel, kRunExecute, kRunDetails,
                                     kRunCopy, kRunBevel, kAvailableList}) {
        EXPECT_GE(c.rect.left, 0);
        EXPECT_LE(c.rect.Right(), kPage.width - 8);
        EXPECT_LE(c.rect.Bottom(), kPage.height - 7);
    }
    EXPECT_EQ(kRunCopy.rect.Right(), kRunEdit.rect.Right());
    EXPECT_EQ(kAvailableList.rect.Right(), kRunEdit.rect.Right());
}

} // namespace
} // namespace orvan
