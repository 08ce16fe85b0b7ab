#pragma once
// A label with a fixed tail: a caption such as "Include subdirectories:" that is wider than
// its label keeps its last characters (the colon) at the right edge, and the rest ends in
// an ellipsis, so that a long translation still reads as a label for the field beside it.
// Positions count UTF-16 code units, as the window text does.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace orvan {

struct FixedTailFit {
    std::u16string head; // drawn from the left edge, ending in "..." when cut
    std::u16string tail; // drawn against the right edge; empty when the caption fits
};

// The width in pixels of a text drawn on one line.
using MeasureText16 = std::function<int(std::u16string_view text)>;

// How `caption` shows in `width` pixels with its last `fixedCount` characters fixed. A
// caption that fits shows whole; otherwise the head keeps as many characters as fit before
// "..." and the tail, never splitting a surrogate pair. With no room even for the tail, the
// tail alone shows.
FixedTailFit FitFixedTail(std::u16string_view caption, std::size_t fixedCount, int width,
                          const MeasureText16& measure);

} // namespace orvan
