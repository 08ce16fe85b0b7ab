#pragma once
// The scrolling label of the details area as a model: a word-wrapped text that the user
// drags with the mouse when it is larger than the label, with its offset clamped so that
// the text never leaves a gap at an edge, and marks where text is hidden.
#include "core/ui/layout.h"

#include <string>
#include <string_view>

namespace orvan {

class ScrollLabelModel {
public:
    const std::string& Text() const { return text_; }
    // A new text resets the offset; returns false (and changes nothing) for the same text.
    bool SetText(std::string_view text);

    // The size of the label and of the wrapped text; the offset is clamped to them again.
    void SetSizes(UiSize label, UiSize text);
    UiSize LabelSize() const { return label_; }
    UiSize TextSize() const { return textSize_; }

    // Where the text's top-left corner is drawn, relative to the label's; never positive.
    UiPoint Offset() const { return offset_; }

    // Mouse dragging: the text follows the mouse while a button is held.
    void BeginDrag(UiPoint mouse);
    // Returns true when the offset changed.
    bool DragTo(UiPoint mouse);
    void EndDrag() { dragging_ = false; }
    bool Dragging() const { return dragging_; }

    bool HiddenAbove() const { return offset_.y < 0; }
    bool HiddenBelow() const { return offset_.y + textSize_.height > label_.height; }

private:
    void Clamp();

    std::string text_;
    UiSize label_;
    UiSize textSize_;
    UiPoint offset_;
    bool dragging_ = false;
    UiPoint dragMouse_;
    UiPoint dragOffset_;
};

} // namespace orvan
