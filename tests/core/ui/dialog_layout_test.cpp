#include "core/ui/dialog_layout.h"

#include <gtest/gtest.h>

namespace orvan::dialog_layout {
namespace {

TEST(MessageDialogLayout, WrapsWithinTheDialogOrWidensForALongWord) {
    const MessageDialogLayout oneLine = FitMessageDialog({120, 13});
    EXPECT_EQ(oneLine.client, (UiSize{342, 187}));
    EXPECT_EQ(oneLine.label, (UiRect{74, 10, 256, 13})); // 12 pixels before the right edge
    EXPECT_EQ(oneLine.ok, (UiRect{262, 150, 69, 27}));
    EXPECT_EQ(oneLine.icon, (UiRect{10, 10, 48, 48}));

    const MessageDialogLayout longWord = FitMessageDialog({400, 26});
    EXPECT_EQ(longWord.client.width, 74 + 400 + 12);
    EXPECT_EQ(longWord.client.height, 187);
    EXPECT_EQ(longWord.label.width, 400);
    // OK is anchored to the bottom right.
    EXPECT_EQ(longWord.ok, (UiRect{262 + 486 - 342, 150, 69, 27}));
}

TEST(MessageDialogLayout, KeepsItsHeightUnlessTheTextWouldRunUnderOk) {
    EXPECT_EQ(FitMessageDialog({256, 130}).client.height, 187);
    const MessageDialogLayout tall = FitMessageDialog({256, 260});
    EXPECT_EQ(tall.client.height, 10 + 260 + 10 + 37);
    EXPECT_GE(tall.ok.top, tall.label.Bottom() + 10);
    EXPECT_EQ(tall.client.height - tall.ok.Bottom(), 10);
}

TEST(QuestionDialogLayout, HeightButtonsAndWidth) {
    const QuestionDialogLayout yesNo = FitQuestionDialog({200, 13}, false);
    EXPECT_EQ(yesNo.client, (UiSize{346, 156}));
    EXPECT_EQ(yesNo.yes, (UiRect{176, 117, 77, 29}));
    EXPECT_EQ(yesNo.no, (UiRect{259, 117, 77, 29}));
    EXPECT_FALSE(yesNo.cancelVisible);
    EXPECT_EQ(yesNo.label, (UiRect{74, 10, 258, 13}));

    const QuestionDialogLayout three = FitQuestionDialog({258, 13}, true);
    EXPECT_TRUE(three.cancelVisible);
    EXPECT_EQ(three.yes.left, 93);
    EXPECT_EQ(three.no.left, 176);
    EXPECT_EQ(three.cancel.left, 259);

    // Many lines: exactly the label's height plus 80; the buttons 39 above the bottom.
    const QuestionDialogLayout tall = FitQuestionDialog({258, 130}, true);
    EXPECT_EQ(tall.client.height, 210);
    EXPECT_EQ(tall.yes.top, 210 - 39);
    // 76 + 80 = 156 is not more than 156; 77 + 80 is.
    EXPECT_EQ(FitQuestionDialog({258, 76}, false).client.height, 156);
    EXPECT_EQ(FitQuestionDialog({258, 77}, false).client.height, 157);

    // One very long word widens the dialog; the buttons move with the right edge.
    const QuestionDialogLayout wide = FitQuestionDialog({500, 13}, false);
    EXPECT_EQ(wide.client.width, 74 + 500 + 12);
    EXPECT_EQ(wide.no.Right() + 10, wide.client.width);
    EXPECT_EQ(wide.yes.left, 176 + wide.client.width - 346);
}

} // namespace
} // namespace orvan::dialog_layout
