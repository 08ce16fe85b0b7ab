#pragma once
// Sizes and positions of the windows as designed at 96 DPI, the anchoring that keeps
// controls in place when their parent is resized, and the scaling to a monitor's DPI.
#include <cstdint>

namespace orvan {

inline constexpr int kDesignDpi = 96;

struct UiRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    int Right() const { return left + width; }
    int Bottom() const { return top + height; }
    bool operator==(const UiRect&) const = default;
};

struct UiSize {
    int width = 0;
    int height = 0;
    bool operator==(const UiSize&) const = default;
};

// The parent's edges a control keeps its distance to. Left and Right together stretch it
// sideways; Right alone moves it with the right edge; likewise Top and Bottom.
namespace Anchor {
constexpr unsigned Left = 1;
constexpr unsigned Top = 2;
constexpr unsigned Right = 4;
constexpr unsigned Bottom = 8;
constexpr unsigned TopLeft = Left | Top;
constexpr unsigned TopSides = Left | Top | Right;
constexpr unsigned TopRight = Top | Right;
constexpr unsigned BottomLeft = Left | Bottom;
constexpr unsigned All = Left | Top | Right | Bottom;
} // namespace Anchor

struct DesignedControl {
    UiRect rect;
    unsigned anchors = Anchor::TopLeft;
};

// A designed length at the given DPI, rounded to the nearest pixel; unchanged at 96 DPI.
int ScaleForDpi(int value, int dpi);
UiRect ScaleForDpi(const UiRect& rect, int dpi);

// Where a control designed in a parent of `designedParent` size goes in a parent of
// `parent` size; both sizes and the result are in the same (already scaled) pixels. A
// stretched control never gets a negative size.
UiRect AnchorInParent(const UiRect& designed, unsigned anchors, UiSize designedParent,
                      UiSize parent);

// The top-left corner that centres a window of the given size on a work area: the
// difference halved with the division rounding toward zero.
struct UiPoint {
    int x = 0;
    int y = 0;
    bool operator==(const UiPoint&) const = default;
};
UiPoint CenterOnWorkArea(const UiRect& workArea, int windowWidth, int windowHeight);

} // namespace orvan
