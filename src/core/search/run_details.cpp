#include "core/search/run_details.h"

#include "core/base/utf.h"
#include "core/language/language.h"

namespace orvan {

namespace {

constexpr int kTextPrompt = 2000010;
constexpr int kTextNoCandidate = 2000011;
constexpr int kTextNoRowSelected = 2000012;

} // namespace

RunDetailsView UpdateRunDetails(std::string_view inputText, const RunAvailableList& list,
                                std::optional<std::size_t> selectedRow,
                                const FileInfoServices& fileInfo,
                                const LargeIconProbe& hasLargeIcon) {
    RunDetailsView view;
    if (inputText.empty()) {
        view.image = RunImage::Prompt;
        view.text = Languages::Text(kTextPrompt);
        return view;
    }
    if (list.empty()) {
        view.image = RunImage::Error;
        view.text = Languages::Text(kTextNoCandidate);
        return view;
    }
    if (!selectedRow || *selectedRow >= list.size()) {
        view.image = RunImage::Error;
        view.text = Languages::Text(kTextNoRowSelected);
        return view;
    }
    const RunAvailableRow row = list[*selectedRow];
    const std::string path(row.path);
    switch (row.kind) {
    case RunKind::Folder:
        view.image = RunImage::Folder;
        view.text = FolderDetailsText(path, fileInfo);
        view.buttonsEnabled = true;
        break;
    case RunKind::File:
    case RunKind::Catalog:
        view.image = RunImage::File;
        if (hasLargeIcon && hasLargeIcon(path))
            view.iconPath = path;
        view.text = FileDetailsText(path, fileInfo);
        view.buttonsEnabled = true;
        break;
    case RunKind::Calculator:
        view.image = RunImage::Calculator;
        view.text = std::string(row.description);
        break;
    case RunKind::DateTime:
        view.image = RunImage::DateTime;
        view.text = std::string(row.description);
        view.timerOn = true;
        break;
    default:
        // No other kind is ever listed; should one appear, it offers nothing to start.
        view.image = RunImage::Error;
        view.text = Languages::Text(kTextNoRowSelected);
        break;
    }
    return view;
}

std::optional<InputEdit> CompleteSelected(const RunAvailableList& list,
                                          std::optional<std::size_t> selectedRow) {
    if (!selectedRow || *selectedRow >= list.size())
        return std::nullopt;
    const RunAvailableRow row = list[*selectedRow];
    std::string text;
    if (row.kind == RunKind::Folder) {
        text = std::string(row.path);
        if (text.empty() || text.back() != '\\')
            text += '\\';
    } else if (row.kind == RunKind::File) {
        text = std::string(row.path);
    } else {
        return std::nullopt;
    }
    const std::size_t caret = Utf16Length(text);
    return InputEdit{std::move(text), caret};
}

std::optional<InputEdit16> CutPathComponent(std::u16string_view text, std::size_t caret) {
    if (text.empty() || caret == 0)
        return std::nullopt;
    std::size_t i = caret < text.size() ? caret : text.size();
    std::size_t start = i;
    if (text[start - 1] == u'\\')
        --start;
    while (start > 0 && text[start - 1] != u'\\')
        --start;
    std::u16string result(text.substr(0, start));
    result += text.substr(i);
    return InputEdit16{std::move(result), start};
}

std::optional<InputEdit> CutPathComponent(std::string_view text, std::size_t caret) {
    const std::optional<InputEdit16> cut = CutPathComponent(Utf8ToUtf16(text), caret);
    if (!cut)
        return std::nullopt;
    return InputEdit{Utf16ToUtf8(cut->text), cut->caret};
}

} // namespace orvan
