#pragma once
// The settings dialog's grid of catalog source folders: one row per path with its enabled
// flag as a check box, its folder and its mask; the row's data is the path's index. The
// dialog talks to the grid only through this class, so that the control behind it can be
// exchanged in one place; here it is the platform's report-style list view with check
// boxes.
#include "core/settings/catalog_path_list.h"
#include "ui/gdi.h"

#include <windows.h>

#include <array>
#include <cstddef>
#include <functional>

namespace orvan::ui {

class PathGrid {
public:
    // A check-box cell changed: the row, the cell and the new value. A click or Space flips
    // it first.
    using ChangeValue = std::function<void(std::ptrdiff_t row, std::size_t cell, bool checked)>;
    // A row was executed: a double-click or Enter.
    using Execute = std::function<void(std::ptrdiff_t row)>;

    HWND Create(HWND parent, int id);
    HWND Handle() const { return list_; }
    void SetFont(HFONT font);
    void OnChangeValue(ChangeValue handler) { changeValue_ = std::move(handler); }
    void OnExecute(Execute handler) { execute_ = std::move(handler); }

    // The columns share the client width less 16 pixels in the ratio of their weights, the
    // last taking what is left; recomputed on every size change.
    void SetColumns(const std::array<PathColumn, 3>& columns);
    void Resize();
    // Replaces every row and selects the list's row to select.
    void Fill(const CatalogPathList& list);

    std::ptrdiff_t ItemsCount() const;
    // The focused row, -1 for none.
    std::ptrdiff_t ItemFocusedRow() const;
    // There is a focused row and it is selected.
    bool ItemIsSelected() const;
    // The focused row's data, 0 without one.
    std::size_t FocusedData() const;
    // A row's data: the index of the path it shows.
    std::size_t Data(std::ptrdiff_t row) const;
    // Whether a row's check box is ticked, and its cell texts (for tests and tools).
    bool Checked(std::ptrdiff_t row) const;
    std::wstring CellText(std::ptrdiff_t row, int cell) const;

    // The parent hands over the grid's notifications. True when one was handled.
    bool HandleNotify(const NMHDR& header);
    // Enter with the focus on the grid; true when a row was executed.
    bool ExecuteFocused();
    // Where a context menu opened from the keyboard goes: below the focused row, else the
    // grid's top-left corner; in screen coordinates.
    POINT KeyboardMenuPoint() const;

private:
    HWND list_ = nullptr;
    std::array<int, 3> weights_{10, 140, 50};
    bool filling_ = false; // the rows' own changes while they are put in are no user's
    ChangeValue changeValue_;
    Execute execute_;
};

} // namespace orvan::ui
