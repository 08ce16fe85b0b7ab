#include "core/ui/scroll_label.h"

#include <gtest/gtest.h>

namespace orvan {
namespace {

TEST(ScrollLabel, DraggingIsClampedToTheTextsEdges) {
    ScrollLabelModel label;
    label.SetText("long");
    label.SetSizes({207, 75}, {300, 200});
    EXPECT_EQ(label.Offset(), (UiPoint{0, 0}));
    EXPECT_FALSE(label.HiddenAbove());
    EXPECT_TRUE(label.HiddenBelow());

    label.BeginDrag({100, 50});
    EXPECT_TRUE(label.DragTo({60, 20})); // up and left by (40, 30)
    EXPECT_EQ(label.Offset(), (UiPoint{-40, -30}));
    EXPECT_TRUE(label.HiddenAbove());
    EXPECT_TRUE(label.HiddenBelow());
    label.DragTo({-500, -500}); // far beyond: the right and bottom edges stop it
    EXPECT_EQ(label.Offset(), (UiPoint{207 - 300, 75 - 200}));
    EXPECT_TRUE(label.HiddenAbove());
    EXPECT_FALSE(label.HiddenBelow());
    label.DragTo({900, 900}); // back and beyond: the left and top edges stop it
    EXPECT_EQ(label.Offset(), (UiPoint{0, 0}));
    EXPECT_FALSE(label.DragTo({950, 950}));
    label.EndDrag();
    EXPECT_FALSE(label.DragTo({0, 0})); // no button held: nothing moves
}

TEST(ScrollLabel, FittingTextStaysAndNewTextResets) {
    ScrollLabelModel label;
    label.SetText("short");
    label.SetSizes({207, 75}, {100, 13});
    label.BeginDrag({0, 0});
    EXPECT_FALSE(label.DragTo({-50, -50}));
    EXPECT_EQ(label.Offset(), (UiPoint{0, 0}));
    EXPECT_FALSE(label.HiddenAbove() || label.HiddenBelow());
    label.EndDrag();

    label.SetSizes({207, 75}, {207, 300}); // only taller: moves vertically only
    label.BeginDrag({0, 0});
    label.DragTo({-50, -50});
    EXPECT_EQ(label.Offset(), (UiPoint{0, -50}));
    EXPECT_FALSE(label.SetText("short")); // the same text changes nothing
    EXPECT_EQ(label.Offset(), (UiPoint{0, -50}));
    EXPECT_TRUE(label.SetText("other"));
    EXPECT_EQ(label.Offset(), (UiPoint{0, 0}));
    EXPECT_FALSE(label.Dragging());
    // A label that grows keeps the offset inside the new limits.
    label.BeginDrag({0, 0});
    label.DragTo({0, -400});
    EXPECT_EQ(label.Offset().y, 75 - 300);
    label.SetSizes({207, 250}, {207, 300});
    EXPECT_EQ(label.Offset().y, -50);
}

} // namespace
} // namespace orvan
