#include "core/ui/details_view.h"

#include "core/base/utf.h"
#include "core/catalog/catalog.h"
#include "core/language/language.h"

namespace orvan {

namespace {

std::string CellText(const ListViewItem& item, int column) {
    if (column < 0 || static_cast<std::size_t>(column) >= item.values.size())
        return {};
    return CellValueText(item.values[static_cast<std::size_t>(column)]);
}

std::string ExportLine(const ListViewItem& item) {
    return std::string(TrimControl(CellText(item, DetailsColumn::Name))) + "=" +
           std::string(TrimControl(CellText(item, DetailsColumn::Value)));
}

std::string JoinTickedRows(const ListView& grid, std::string_view separator) {
    std::string text;
    bool first = true;
    for (const ListViewItem& item : grid.Items()) {
        if (static_cast<std::size_t>(DetailsColumn::Tick) >= item.values.size() ||
            CellCheckState(item.values[DetailsColumn::Tick]) != CheckState::Checked)
            continue;
        if (!first)
            text += separator;
        text += ExportLine(item);
        first = false;
    }
    return text;
}

} // namespace

DetailsContent ParseDetailsText(std::string_view text) {
    DetailsContent content;
    bool haveName = false;
    while (true) {
        const std::size_t end = text.find('\r');
        const std::string_view line = TrimControl(text.substr(0, end));
        if (!line.empty()) {
            const std::size_t colon = line.find(':');
            if (colon != std::string_view::npos) {
                content.pairs.push_back({std::string(TrimControl(line.substr(0, colon))),
                                         std::string(TrimControl(line.substr(colon + 1)))});
            } else if (!haveName) {
                content.objectName = std::string(line);
                haveName = true;
            }
        }
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return content;
}

std::string DetailsHeading(std::string_view objectName) {
    return Languages::TextFmt(2000023, {objectName});
}

std::vector<std::string> DetailsMemoLines(const DetailsContent& content) {
    std::vector<std::string> lines;
    lines.reserve(content.pairs.size());
    for (const DetailsPair& pair : content.pairs)
        lines.push_back(pair.name + "=" + pair.value);
    return lines;
}

void FillDetailsGrid(ListView& grid, const DetailsContent& content) {
    grid.BeginUpdate();
    grid.ClearItems();
    grid.ClearColumns();
    grid.AddColumn("*", ColumnAlignment::Center, true, 20, ColumnKind::CheckBox);
    grid.AddColumn(Languages::Text(2000024), ColumnAlignment::Left, true, 100, ColumnKind::Text);
    grid.AddColumn(Languages::Text(2000025), ColumnAlignment::Left, true, 200, ColumnKind::Text);
    for (std::size_t i = 0; i < content.pairs.size(); ++i)
        grid.AddItem({true, content.pairs[i].name, content.pairs[i].value}, i == 0, 0,
                     static_cast<std::int32_t>(i));
    grid.EndUpdate();
}

std::vector<DetailsMenuItem> PlanDetailsMenu(const ListView& grid) {
    const bool rows = grid.ItemsCount() > 0;
    return {
        {DetailsCommand::CopyValue, Languages::Text(215), grid.ItemIsSelected()},
        {DetailsCommand::CopyAllValues, Languages::Text(216), rows},
        {DetailsCommand::SaveToFile, Languages::TextDots(217), rows},
    };
}

std::string DetailsSelectedValue(const ListView& grid) {
    if (!grid.ItemIsSelected())
        return {};
    return CellText(grid.ItemSelected(), DetailsColumn::Value);
}

std::string DetailsExportText(const ListView& grid) {
    // A text file's lines end in CR LF on Windows; a bare CR would show as one long line in
    // most editors.
    return JoinTickedRows(grid, "\r\n");
}

std::string DetailsClipboardText(const ListView& grid) {
    return JoinTickedRows(grid, "\r\n");
}

SaveDialogRequest DetailsSaveRequest(std::string_view objectName) {
    // The extension is what follows the last dot of the last component.
    std::string name(FileNamePart(objectName));
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        name.resize(dot);
    SaveDialogRequest request;
    request.fileName = name + ".txt";
    request.title = Languages::Text(203);
    request.filter = Languages::Text(13005) + " (*.txt)|*.txt";
    request.defaultExtension = "txt";
    request.addAllFiles = true;
    return request;
}

std::string SaveDialogFilter(std::string_view filter, bool addAllFiles) {
    std::string result(filter);
    if (addAllFiles) {
        if (!result.empty())
            result += "|";
        result += Languages::Text(13004) + " (*.*)|*.*";
    }
    return result;
}

std::string DialogFilterString(std::string_view filter) {
    std::string result(filter);
    for (char& c : result)
        if (c == '|')
            c = '\0';
    // The list ends with an empty entry; the string's own terminator is the second NUL.
    result.push_back('\0');
    return result;
}

DetailsMessage DetailsFailureMessage(std::string_view errorText) {
    return {Languages::Text(0), Languages::TextFmt(102, {errorText})};
}

DetailsWindowTexts MakeDetailsWindowTexts() {
    return {Languages::Text(2000022), Languages::Text(2000027), Languages::Text(2000026),
            Languages::Text(3)};
}

} // namespace orvan
