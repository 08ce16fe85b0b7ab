#pragma once
// The message dialog and the question dialogs as designed at 96 DPI, and how they fit
// themselves around their message.
#include "core/ui/layout.h"

namespace orvan::dialog_layout {

// Message dialog: one OK button, anchored to the bottom right.
inline constexpr UiSize kMessageClient{342, 187};
inline constexpr UiRect kMessageIcon{10, 10, 48, 48};
inline constexpr UiPoint kMessageLabelOrigin{74, 10};
// The width the label wraps at: the client width less the label's left edge and the
// 12-pixel right margin.
inline constexpr int kMessageLabelWidth = 342 - 74 - 12;
inline constexpr UiRect kMessageOk{262, 150, 69, 27};

// Question dialog: Yes, No and (for the three-way question) Cancel, anchored to the top
// right.
inline constexpr int kQuestionClientWidth = 346;
inline constexpr int kQuestionMinClientHeight = 156;
inline constexpr UiRect kQuestionIcon{10, 10, 48, 48};
inline constexpr UiPoint kQuestionLabelOrigin{74, 10};
inline constexpr int kQuestionLabelWidth = 258;
inline constexpr UiSize kQuestionButton{77, 29};
inline constexpr int kRightMargin = 12;

struct MessageDialogLayout {
    UiSize client;
    UiRect icon;
    UiRect label;
    UiRect ok;
};

// `text` is the message's size when wrapped at kMessageLabelWidth: the widest line (wider
// than the label only for a word that does not fit) and the height of all lines.
MessageDialogLayout FitMessageDialog(UiSize text);

struct QuestionDialogLayout {
    UiSize client;
    UiRect icon;
    UiRect label;
    UiRect yes;
    UiRect no;
    UiRect cancel;
    bool cancelVisible = false;
};

// `text` is the message's size when wrapped at kQuestionLabelWidth.
QuestionDialogLayout FitQuestionDialog(UiSize text, bool withCancel);

} // namespace orvan::dialog_layout
