#include "core/ui/dialog_layout.h"

#include <algorithm>

namespace orvan::dialog_layout {

MessageDialogLayout FitMessageDialog(UiSize text) {
    MessageDialogLayout layout;
    layout.client = kMessageClient;
    layout.icon = kMessageIcon;
    layout.label = {kMessageLabelOrigin.x, kMessageLabelOrigin.y, text.width, text.height};
    const int needed = layout.label.left + layout.label.width + kRightMargin;
    if (layout.client.width < needed)
        layout.client.width = needed;
    else
        layout.label.width = layout.client.width - layout.label.left - kRightMargin;
    // The dialog keeps its designed height, unless a long message would run under the OK
    // button; then it grows just enough to keep the whole text readable above it.
    const int okTopMargin = kMessageClient.height - kMessageOk.top; // from the bottom edge
    const int gap = kMessageLabelOrigin.y;
    layout.client.height =
        std::max(kMessageClient.height, layout.label.Bottom() + gap + okTopMargin);
    layout.ok = {kMessageOk.left + layout.client.width - kMessageClient.width,
                 kMessageOk.top + layout.client.height - kMessageClient.height, kMessageOk.width,
                 kMessageOk.height};
    return layout;
}

QuestionDialogLayout FitQuestionDialog(UiSize text, bool withCancel) {
    QuestionDialogLayout layout;
    layout.icon = kQuestionIcon;
    // The label grows only downwards, unless a single word is wider than it.
    layout.label = {kQuestionLabelOrigin.x, kQuestionLabelOrigin.y,
                    std::max(kQuestionLabelWidth, text.width), text.height};
    layout.client.width =
        std::max(kQuestionClientWidth, layout.label.left + layout.label.width + kRightMargin);
    const int tall = layout.label.height + 80;
    layout.client.height = tall > kQuestionMinClientHeight ? tall : kQuestionMinClientHeight;

    const int shift = layout.client.width - kQuestionClientWidth;
    const int top = layout.client.height - 39;
    const auto place = [&](int designedLeft) {
        return UiRect{designedLeft + shift, top, kQuestionButton.width, kQuestionButton.height};
    };
    layout.cancelVisible = withCancel;
    if (withCancel) {
        layout.yes = place(93);
        layout.no = place(176);
        layout.cancel = place(259);
    } else {
        layout.yes = place(176);
        layout.no = place(259);
        layout.cancel = place(259);
    }
    return layout;
}

} // namespace orvan::dialog_layout
