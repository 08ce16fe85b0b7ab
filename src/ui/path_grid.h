#pragma once
// The settings dialog's grid of catalog source folders: one row per path with its enabled
// flag as a check box, its folder and its mask; the row's data is the path's index, so that
// a row finds its path however the user sorted the grid. The dialog talks to the grid only
// through this class.
#include "core/settings/catalog_path_list.h"
#include "ui/list_view.h"

#include <windows.h>

#include <array>
#include <cstddef>
#include <functional>
#include <string>

namespace orvan::ui {

class PathGrid {
public:
    // A cell changed: the row, the cell and, for the check-box cell, its new value. A click
    // or Space flips a check box first; a click on another cell changes nothing.
    using ChangeValue = std::function<void(std::ptrdiff_t row, std::size_t cell, bool checked)>;
    // A row was executed: a double-click or Enter.
    using Execute = std::function<void(std::ptrdiff_t row)>;
    // The context menu, at a point of the screen.
    using ContextMenu = std::function<void(POINT screen)>;

    HWND Create(HWND parent, int id);
    HWND Handle() const { return grid_.Handle(); }
    void SetDpi(int dpi, HFONT font);
    void OnChangeValue(ChangeValue handler) { changeValue_ = std::move(handler); }
    void OnExecute(Execute handler) { execute_ = std::move(handler); }
    void OnContextMenu(ContextMenu handler);

    // The columns share the client width less 16 pixels in the ratio of their weights.
    void SetColumns(const std::array<PathColumn, 3>& columns);
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
    // Read and driven by tests and tools: a row's tick and cell texts, a row selected as a
    // click selects it.
    bool Checked(std::ptrdiff_t row) const;
    std::wstring CellText(std::ptrdiff_t row, int cell) const;
    void SelectRow(std::ptrdiff_t row);

private:
    ListView grid_;
    ChangeValue changeValue_;
    Execute execute_;
};

} // namespace orvan::ui
