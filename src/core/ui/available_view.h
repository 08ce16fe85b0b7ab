#pragma once
// How the candidate list appears in the search window's list box: which row stays
// selected when the list is refilled, how Up and Down move the selection, and how one
// row is drawn (colours, icon, text box).
#include "core/search/run_kind.h"
#include "core/ui/layout.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace orvan {

inline constexpr int kNoRow = -1;

// The row selected after a refill: the previous row number (row 0 when none was selected),
// or none when that is beyond the last row or the list is empty. A selection keeps its
// row number, not its entry.
int SelectionAfterFill(int previousSelection, std::size_t rowCount);

// Up and Down in the input line: the row to select, or nothing when the selection stays.
std::optional<int> MoveSelection(int selection, std::size_t rowCount, bool listVisible, bool up);

// The system colours of a row, by the index numbering of GetSysColor.
struct RowColors {
    int background = 5; // COLOR_WINDOW
    int text = 8;       // COLOR_WINDOWTEXT
};
RowColors ChooseRowColors(bool selected, bool listFocused);

// The picture at the left of a row: the file's own small icon, or an image of ilMain.
struct RowIcon {
    bool fileIcon = false; // kinds 2 and 5: the small icon of the path from the icon cache
    int image = 2;         // the ilMain image when there is no file icon
};
// `hasFileIcon` says whether the shell gave an icon for the path (only asked for kinds 2, 5).
RowIcon ChooseRowIcon(RunKind kind, bool hasFileIcon);
inline bool RowWantsFileIcon(RunKind kind) {
    return kind == RunKind::File || kind == RunKind::Catalog;
}

// Where a row's icon (16 by 16 at 96 DPI) and text go inside the row rectangle, which is
// in pixels of the given DPI.
struct RowGeometry {
    UiRect icon;
    UiRect text;
};
RowGeometry PlaceRow(const UiRect& row, int dpi = kDesignDpi);

// The images of ilMain by role.
namespace MainImage {
constexpr int Prompt = 0;
constexpr int Folder = 1;
constexpr int File = 2;
constexpr int Calculator = 3;
constexpr int Unused = 4;
constexpr int Error = 5;
constexpr int DateTime = 6;
constexpr int Count = 7;
} // namespace MainImage

} // namespace orvan
