#include "core/pages/quick_list.h"

#include "core/base/utf.h"

#include <algorithm>
#include <utility>

namespace orvan {

namespace {

std::string_view NameOfPath(std::string_view path) {
    std::string_view trimmed = path;
    // "C:\Tools\" names its folder "Tools"; a drive root has no shorter name.
    if (trimmed.size() > 1 && trimmed.back() == '\\' && trimmed[trimmed.size() - 2] != ':')
        trimmed.remove_suffix(1);
    const std::size_t cut = trimmed.find_last_of("\\:");
    if (cut == std::string_view::npos || cut + 1 >= trimmed.size())
        return path;
    return trimmed.substr(cut + 1);
}

} // namespace

std::string FormatQuickLine(const QuickItem& item) {
    std::string name = item.name;
    std::replace(name.begin(), name.end(), '|', ' ');
    return item.path + "|" + name;
}

std::optional<QuickItem> ParseQuickLine(std::string_view line) {
    // One separator exactly; the name after it may be empty (the file name is shown then).
    const std::size_t bar = line.find('|');
    if (bar == 0 || bar == std::string_view::npos ||
        line.find('|', bar + 1) != std::string_view::npos)
        return std::nullopt;
    return QuickItem{std::string(line.substr(0, bar)), std::string(line.substr(bar + 1))};
}

std::string QuickItemName(const QuickItem& item) {
    if (!item.name.empty())
        return item.name;
    return std::string(NameOfPath(item.path));
}

std::vector<std::size_t> FilterQuickItems(const QuickItems& items, std::string_view filter) {
    std::vector<std::size_t> shown;
    const std::string wanted = Lower(filter);
    for (std::size_t i = 0; i < items.size(); ++i)
        if (wanted.empty() || Lower(QuickItemName(items[i])).find(wanted) != std::string::npos)
            shown.push_back(i);
    return shown;
}

std::size_t PinQuickItem(QuickItems& items, std::string_view path, std::string_view name) {
    for (std::size_t i = 0; i < items.size(); ++i)
        if (Lower(items[i].path) == Lower(path))
            return i;
    QuickItem item{std::string(path), std::string(name)};
    if (item.name == NameOfPath(item.path))
        item.name.clear();
    std::replace(item.name.begin(), item.name.end(), '|', ' ');
    items.push_back(std::move(item));
    return items.size() - 1;
}

std::optional<std::size_t> MoveQuickItem(QuickItems& items, const std::vector<std::size_t>& shown,
                                         std::size_t row, bool up) {
    if (row >= shown.size() || (up && row == 0) || (!up && row + 1 >= shown.size()))
        return std::nullopt;
    const std::size_t other = up ? row - 1 : row + 1;
    if (shown[row] >= items.size() || shown[other] >= items.size())
        return std::nullopt;
    std::swap(items[shown[row]], items[shown[other]]);
    return other;
}

RunAvailable QuickRunCandidate(const QuickItem& item) {
    const bool folder = !item.path.empty() && item.path.back() == '\\';
    return RunAvailable{
        QuickItemName(item), item.path, folder ? RunKind::Folder : RunKind::Catalog, {}};
}

} // namespace orvan
