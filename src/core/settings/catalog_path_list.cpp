#include "core/settings/catalog_path_list.h"

#include "core/language/language.h"

namespace orvan {

std::array<PathColumn, 3> CatalogPathColumns() {
    return {{
        {"*", PathColumnKind::CheckBox, PathColumnAlign::Center, 10},
        {Languages::Text(9000040), PathColumnKind::Text, PathColumnAlign::Left, 140},
        {Languages::Text(9000041), PathColumnKind::Text, PathColumnAlign::Left, 50},
    }};
}

CatalogPathList FillPathList(const SettingsOptionsCatalogPaths& paths, std::ptrdiff_t wanted) {
    CatalogPathList list;
    const auto last = static_cast<std::ptrdiff_t>(paths.size()) - 1;
    list.selected = wanted > last ? last : wanted < 0 ? 0 : wanted;
    if (paths.empty())
        list.selected = -1;
    list.rows.reserve(paths.size());
    for (std::size_t i = 0; i < paths.size(); ++i) {
        CatalogPathRow row;
        row.cells = {"", paths[i].path, paths[i].mask};
        row.checked = paths[i].active;
        row.index = i;
        list.rows.push_back(std::move(row));
    }
    return list;
}

std::array<PathMenuItem, 3> PathMenuItems(bool rowSelected) {
    return {{
        {PathMenuTag::Add, Languages::Text(10), true, false},
        {PathMenuTag::Delete, Languages::Text(11), rowSelected, false},
        {PathMenuTag::Edit, Languages::Text(12), rowSelected, true},
    }};
}

SettingsOptionsCatalogPath NewCatalogPath() {
    SettingsOptionsCatalogPath path;
    path.path = "";
    path.depth = UnlimitedDepth;
    path.includeDirectories = true;
    path.mask = "";
    path.active = true;
    return path;
}

std::ptrdiff_t AddCatalogPath(SettingsOptionsCatalogPaths& paths, const CatalogPathEditor& edit) {
    SettingsOptionsCatalogPath path = NewCatalogPath();
    if (!edit(path))
        return 0;
    paths.push_back(std::move(path));
    return static_cast<std::ptrdiff_t>(paths.size()) - 1;
}

DeleteQuestion DeletePathQuestion() {
    return {Languages::Text(6), Languages::Text(7)};
}

std::optional<std::ptrdiff_t> DeleteCatalogPath(SettingsOptionsCatalogPaths& paths,
                                                std::size_t index, std::ptrdiff_t focusedRow) {
    if (index >= paths.size())
        return std::nullopt;
    paths.erase(paths.begin() + static_cast<std::ptrdiff_t>(index));
    return focusedRow;
}

std::optional<std::ptrdiff_t> EditCatalogPathAt(SettingsOptionsCatalogPaths& paths,
                                                std::size_t index, const CatalogPathEditor& edit) {
    if (index >= paths.size())
        return std::nullopt;
    // The editor works on a copy: whatever it does before a cancel, the path stays as it was,
    // and the list may not be touched while the editor's messages run.
    SettingsOptionsCatalogPath path = paths[index];
    if (!edit(path) || index >= paths.size())
        return std::nullopt;
    paths[index] = std::move(path);
    return static_cast<std::ptrdiff_t>(index);
}

bool CatalogPathCellChanged(SettingsOptionsCatalogPaths& paths, std::size_t index, std::size_t cell,
                            bool checked) {
    if (cell != 0 || index >= paths.size() || paths[index].active == checked)
        return false;
    paths[index].active = checked;
    return true;
}

} // namespace orvan
