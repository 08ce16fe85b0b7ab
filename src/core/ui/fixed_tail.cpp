#include "core/ui/fixed_tail.h"

namespace orvan {

namespace {

bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// A cut at `position` that does not fall between the halves of a surrogate pair.
std::size_t CutBefore(std::u16string_view text, std::size_t position) {
    while (position > 0 && position < text.size() && IsLowSurrogate(text[position]))
        --position;
    return position;
}

} // namespace

FixedTailFit FitFixedTail(std::u16string_view caption, std::size_t fixedCount, int width,
                          const MeasureText16& measure) {
    if (fixedCount == 0 || measure(caption) <= width)
        return {std::u16string(caption), {}};
    const std::size_t split =
        CutBefore(caption, caption.size() > fixedCount ? caption.size() - fixedCount : 0);
    FixedTailFit fit;
    fit.tail = std::u16string(caption.substr(split));
    const int room = width - measure(fit.tail);
    // The longest head that fits with its ellipsis; widths grow with the length, so a
    // binary search over the cut finds it in a few measurements.
    std::size_t fits = 0;
    std::size_t low = 1;
    std::size_t high = split;
    while (low <= high) {
        const std::size_t middle = CutBefore(caption, low + (high - low) / 2);
        if (middle < low) { // only the start of a pair lies in range: try past it
            low = middle + 2;
            continue;
        }
        if (measure(std::u16string(caption.substr(0, middle)) + u"...") <= room) {
            fits = middle;
            low = middle + 1;
        } else {
            high = middle - 1;
        }
    }
    if (fits > 0 || (room >= measure(u"...") && split > 0))
        fit.head = std::u16string(caption.substr(0, fits)) + u"...";
    return fit;
}

} // namespace orvan
