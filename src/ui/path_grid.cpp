#include "ui/path_grid.h"

#include "win32/wide_text.h"

namespace orvan::ui {

HWND PathGrid::Create(HWND parent, int id) {
    const HWND hwnd = grid_.Create(parent, id, RECT{0, 0, 10, 10});
    orvan::ListView& model = grid_.Model();
    model.SetShowBorder(true);
    model.SetOnChangeValue([this](int row, int cell) {
        if (!changeValue_)
            return;
        const auto& items = grid_.Model().Items();
        const auto& columns = grid_.Model().Columns();
        bool checked = false;
        if (row >= 0 && std::size_t(row) < items.size() && cell >= 0 &&
            std::size_t(cell) < columns.size() &&
            columns[std::size_t(cell)].kind == ColumnKind::CheckBox)
            checked = CellCheckState(items[std::size_t(row)].values[std::size_t(cell)]) ==
                      CheckState::Checked;
        changeValue_(row, std::size_t(cell), checked);
    });
    model.SetOnFileExecute([this](int index, unsigned) {
        if (execute_)
            execute_(index);
    });
    // Enter executes the selected row rather than pressing the dialog's OK.
    grid_.SetWantsEnter(true);
    return hwnd;
}

void PathGrid::SetDpi(int dpi, HFONT font) {
    grid_.SetDpi(dpi, font);
    ::InvalidateRect(grid_.Handle(), nullptr, FALSE);
}

void PathGrid::OnContextMenu(ContextMenu handler) {
    grid_.OnContextMenu(std::move(handler));
}

void PathGrid::SetColumns(const std::array<PathColumn, 3>& columns) {
    orvan::ListView& model = grid_.Model();
    model.BeginUpdate();
    model.ClearColumns();
    for (const PathColumn& column : columns)
        model.AddColumn(column.caption,
                        column.align == PathColumnAlign::Center ? ColumnAlignment::Center
                                                                : ColumnAlignment::Left,
                        true, column.weight,
                        column.kind == PathColumnKind::CheckBox ? ColumnKind::CheckBox
                                                                : ColumnKind::Text);
    model.EndUpdate();
}

void PathGrid::Fill(const CatalogPathList& list) {
    orvan::ListView& model = grid_.Model();
    model.BeginUpdate();
    model.ClearItems();
    for (std::size_t i = 0; i < list.rows.size(); ++i) {
        const CatalogPathRow& row = list.rows[i];
        model.AddItem({CellValue(row.checked), CellValue(row.cells[1]), CellValue(row.cells[2])},
                      std::ptrdiff_t(i) == list.selected, 0, std::int32_t(row.index));
    }
    model.EndUpdate();
}

std::ptrdiff_t PathGrid::ItemsCount() const {
    return grid_.Model().ItemsCount();
}

std::ptrdiff_t PathGrid::ItemFocusedRow() const {
    return grid_.Model().ItemFocusedRow();
}

bool PathGrid::ItemIsSelected() const {
    return grid_.Model().ItemIsSelected();
}

std::size_t PathGrid::FocusedData() const {
    const std::int32_t data = grid_.Model().FocusedData();
    return data < 0 ? 0 : std::size_t(data);
}

std::size_t PathGrid::Data(std::ptrdiff_t row) const {
    const auto& items = grid_.Model().Items();
    if (row < 0 || std::size_t(row) >= items.size() || items[std::size_t(row)].data < 0)
        return std::size_t(-1);
    return std::size_t(items[std::size_t(row)].data);
}

bool PathGrid::Checked(std::ptrdiff_t row) const {
    const auto& items = grid_.Model().Items();
    return row >= 0 && std::size_t(row) < items.size() &&
           CellCheckState(items[std::size_t(row)].values[0]) == CheckState::Checked;
}

std::wstring PathGrid::CellText(std::ptrdiff_t row, int cell) const {
    const auto& items = grid_.Model().Items();
    if (row < 0 || std::size_t(row) >= items.size() || cell < 0 ||
        std::size_t(cell) >= items[std::size_t(row)].values.size())
        return {};
    return win32::Wide(CellValueText(items[std::size_t(row)].values[std::size_t(cell)]));
}

void PathGrid::SelectRow(std::ptrdiff_t row) {
    grid_.SelectRow(int(row));
}

} // namespace orvan::ui
