#include "core/ui/scroll_label.h"

#include <algorithm>

namespace orvan {

namespace {

// An offset along one axis: 0 when the text fits, otherwise between the position that
// puts the text's far edge on the label's far edge and 0.
int ClampAxis(int offset, int labelLength, int textLength) {
    if (textLength <= labelLength)
        return 0;
    return std::clamp(offset, labelLength - textLength, 0);
}

} // namespace

bool ScrollLabelModel::SetText(std::string_view text) {
    if (text == text_)
        return false;
    text_ = std::string(text);
    offset_ = {};
    dragging_ = false;
    return true;
}

void ScrollLabelModel::SetSizes(UiSize label, UiSize text) {
    label_ = label;
    textSize_ = text;
    Clamp();
}

void ScrollLabelModel::BeginDrag(UiPoint mouse) {
    dragging_ = true;
    dragMouse_ = mouse;
    dragOffset_ = offset_;
}

bool ScrollLabelModel::DragTo(UiPoint mouse) {
    if (!dragging_)
        return false;
    const UiPoint before = offset_;
    offset_ = {dragOffset_.x + mouse.x - dragMouse_.x, dragOffset_.y + mouse.y - dragMouse_.y};
    Clamp();
    return !(offset_ == before);
}

void ScrollLabelModel::Clamp() {
    offset_.x = ClampAxis(offset_.x, label_.width, textSize_.width);
    offset_.y = ClampAxis(offset_.y, label_.height, textSize_.height);
}

} // namespace orvan
