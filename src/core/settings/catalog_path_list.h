#pragma once
// The settings dialog's list of catalog source folders: the rows the grid shows, its
// columns, its context menu, and the commands that add, delete, edit and enable paths in
// the dialog's working copy.
#include "core/catalog/catalog.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvan {

enum class PathColumnKind : std::uint8_t { CheckBox, Text };
enum class PathColumnAlign : std::uint8_t { Left, Center };

struct PathColumn {
    std::string caption;
    PathColumnKind kind = PathColumnKind::Text;
    PathColumnAlign align = PathColumnAlign::Left;
    // The columns share the grid's width in the ratio of their weights.
    int weight = 0;
};

// "*" (the enabled flag), "Path" and "Mask".
std::array<PathColumn, 3> CatalogPathColumns();

// One row: the cells by column (the check-box column's cell is empty, its state is
// `checked`), and the index of the path it shows.
struct CatalogPathRow {
    std::array<std::string, 3> cells;
    bool checked = false;
    std::size_t index = 0;
};

struct CatalogPathList {
    std::vector<CatalogPathRow> rows;
    // The row to select: the wanted one clamped to the rows; -1 with no rows.
    std::ptrdiff_t selected = -1;
};

// One row per path in list order; depth and the folder flag are not shown.
CatalogPathList FillPathList(const SettingsOptionsCatalogPaths& paths, std::ptrdiff_t wanted);

// The grid's context menu. Tags: Add 0, Delete 1, Edit 2; a separator precedes Edit.
namespace PathMenuTag {
constexpr int Add = 0;
constexpr int Delete = 1;
constexpr int Edit = 2;
} // namespace PathMenuTag

struct PathMenuItem {
    int tag = 0;
    std::string caption;
    bool enabled = true;
    bool separatorBefore = false;
};

// Delete and Edit need a selected row.
std::array<PathMenuItem, 3> PathMenuItems(bool rowSelected);

// Edits one path in place and returns true when the user confirmed; on false the path is
// as it was. The path editor dialog in the program, a script in tests.
using CatalogPathEditor = std::function<bool(SettingsOptionsCatalogPath& path)>;

// The path Add offers the editor: empty, unlimited depth, folders included, enabled.
SettingsOptionsCatalogPath NewCatalogPath();

// Add: the editor on a new path, appended when confirmed. Returns the row to select: the
// new one, or the first when cancelled.
std::ptrdiff_t AddCatalogPath(SettingsOptionsCatalogPaths& paths, const CatalogPathEditor& edit);

// The question asked before Delete: title "Question", text "Are you sure...".
struct DeleteQuestion {
    std::string title;
    std::string text;
};
DeleteQuestion DeletePathQuestion();

// Delete after the user said Yes: removes the path at `index` (the selected row's data) and
// returns the row to select, `focusedRow`, so that the following row or the new last one
// is selected. Empty, and nothing removed, when `index` names no path.
std::optional<std::ptrdiff_t> DeleteCatalogPath(SettingsOptionsCatalogPaths& paths,
                                                std::size_t index, std::ptrdiff_t focusedRow);

// Edit, and executing a row: the editor on the path at `index`. Returns the row to select
// when confirmed; empty when cancelled or when `index` names no path.
std::optional<std::ptrdiff_t> EditCatalogPathAt(SettingsOptionsCatalogPaths& paths,
                                                std::size_t index, const CatalogPathEditor& edit);

// A cell of a row changed (a click, or Space on the check box): only the check-box cell
// counts, and it sets the enabled flag of the row's path. False when nothing changed.
bool CatalogPathCellChanged(SettingsOptionsCatalogPaths& paths, std::size_t index, std::size_t cell,
                            bool checked);

} // namespace orvan
