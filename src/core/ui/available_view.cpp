#include "core/ui/available_view.h"

namespace orvan {

int SelectionAfterFill(int previousSelection, std::size_t rowCount) {
    const int row = previousSelection < 0 ? 0 : previousSelection;
    return std::size_t(row) < rowCount ? row : kNoRow;
}

std::optional<int> MoveSelection(int selection, std::size_t rowCount, bool listVisible, bool up) {
    if (!listVisible)
        return std::nullopt;
    if (up)
        return selection > 0 ? std::optional<int>(selection - 1) : std::nullopt;
    // With no row selected (-1) Down selects row 0.
    if (std::int64_t(selection) < std::int64_t(rowCount) - 1)
        return selection + 1;
    return std::nullopt;
}

RowColors ChooseRowColors(bool selected, bool listFocused) {
    constexpr int kWindow = 5, kWindowText = 8, kBtnFace = 15, kBtnText = 18;
    constexpr int kHighlight = 13, kHighlightText = 14;
    if (selected && listFocused)
        return {kHighlight, kHighlightText};
    if (selected)
        return {kBtnFace, kBtnText};
    return {kWindow, kWindowText};
}

RowIcon ChooseRowIcon(RunKind kind, bool hasFileIcon) {
    switch (kind) {
    case RunKind::Folder:
        return {false, MainImage::Folder};
    case RunKind::File:
    case RunKind::Catalog:
        return {hasFileIcon, MainImage::File};
    case RunKind::Calculator:
        return {false, MainImage::Calculator};
    case RunKind::DateTime:
        return {false, MainImage::DateTime};
    default:
        return {false, MainImage::Error};
    }
}

RowGeometry PlaceRow(const UiRect& row, int dpi) {
    RowGeometry geometry;
    const int iconSize = ScaleForDpi(16, dpi);
    geometry.icon = {row.left + ScaleForDpi(3, dpi), row.top + ScaleForDpi(2, dpi), iconSize,
                     iconSize};
    const int textLeft = row.left + ScaleForDpi(24, dpi);
    const int textRight = row.Right() - ScaleForDpi(2, dpi);
    geometry.text = {textLeft, row.top, textRight > textLeft ? textRight - textLeft : 0,
                     row.height};
    return geometry;
}

} // namespace orvan
