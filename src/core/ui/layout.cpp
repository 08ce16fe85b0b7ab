#include "core/ui/layout.h"

#include <algorithm>
#include <cstdint>

namespace orvan {

int ScaleForDpi(int value, int dpi) {
    if (dpi == kDesignDpi)
        return value;
    const std::int64_t scaled = std::int64_t(value) * dpi;
    // Round half away from zero, as MulDiv does.
    const std::int64_t half = kDesignDpi / 2;
    return int(scaled >= 0 ? (scaled + half) / kDesignDpi : (scaled - half) / kDesignDpi);
}

UiRect ScaleForDpi(const UiRect& rect, int dpi) {
    // Scale the edges, not the sizes, so that neighbouring controls stay adjacent.
    const int left = ScaleForDpi(rect.left, dpi);
    const int top = ScaleForDpi(rect.top, dpi);
    return {left, top, ScaleForDpi(rect.Right(), dpi) - left,
            ScaleForDpi(rect.Bottom(), dpi) - top};
}

UiRect AnchorInParent(const UiRect& designed, unsigned anchors, UiSize designedParent,
                      UiSize parent) {
    UiRect rect = designed;
    const int dx = parent.width - designedParent.width;
    const int dy = parent.height - designedParent.height;
    if (anchors & Anchor::Right) {
        if (anchors & Anchor::Left)
            rect.width = std::max(0, rect.width + dx);
        else
            rect.left += dx;
    }
    if (anchors & Anchor::Bottom) {
        if (anchors & Anchor::Top)
            rect.height = std::max(0, rect.height + dy);
        else
            rect.top += dy;
    }
    return rect;
}

UiPoint CenterOnWorkArea(const UiRect& workArea, int windowWidth, int windowHeight) {
    // C++ integer division truncates toward zero, which is the rule for a window larger
    // than the work area as well.
    return {workArea.left + (workArea.width - windowWidth) / 2,
            workArea.top + (workArea.height - windowHeight) / 2};
}

} // namespace orvan
