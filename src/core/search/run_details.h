#pragma once
// The run page's details area as a model: what it shows for the typed text, the candidate
// list and the selected row, and the two editing keys that help with paths (Tab completes
// the selected folder or file, Ctrl+Backspace cuts back one path component). The window
// only puts the answers on the screen.
#include "core/fileinfo/file_info.h"
#include "core/search/run_available.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace orvan {

// Roles of the images of the main icon list.
namespace RunImage {
constexpr int Prompt = 0;
constexpr int Folder = 1;
constexpr int File = 2;
constexpr int Calculator = 3;
constexpr int Error = 5;
constexpr int DateTime = 6;
} // namespace RunImage

struct RunDetailsView {
    int image = RunImage::Prompt; // image of the main icon list
    // When not empty: the large icon of this file is shown as a picture instead of image.
    std::string iconPath;
    std::string text;            // for the scroll label; lines separated by CR
    bool buttonsEnabled = false; // the details and run buttons
    bool timerOn = false;        // the 500 ms refresh that keeps a date's span counting

    bool operator==(const RunDetailsView&) const = default;
};

// Whether the icon cache has a large icon for the file at path.
using LargeIconProbe = std::function<bool(const std::string& path)>;

// The details area for the input text, the list and the selected row (empty for none; a
// row beyond the list counts as none). Folder and file texts are gathered through
// fileInfo; without a probe no file has an icon of its own.
RunDetailsView UpdateRunDetails(std::string_view inputText, const RunAvailableList& list,
                                std::optional<std::size_t> selectedRow,
                                const FileInfoServices& fileInfo,
                                const LargeIconProbe& hasLargeIcon = {});

// The input line after an editing key: its text and the caret, counted in UTF-16 code
// units as the edit control counts, with nothing selected.
struct InputEdit {
    std::string text;
    std::size_t caret = 0;

    bool operator==(const InputEdit&) const = default;
};

// Tab: the selected folder's path with a trailing backslash, or the selected file's path,
// with the caret at the end; empty (nothing to do) for no row and the other kinds.
std::optional<InputEdit> CompleteSelected(const RunAvailableList& list,
                                          std::optional<std::size_t> selectedRow);

// Ctrl+Backspace with the caret after `caret` code units: a backslash just before the
// caret goes, then everything back to the previous backslash; the text after the caret
// stays. Empty when nothing changes (empty text, caret at the start).
std::optional<InputEdit> CutPathComponent(std::string_view text, std::size_t caret);

struct InputEdit16 {
    std::u16string text;
    std::size_t caret = 0;

    bool operator==(const InputEdit16&) const = default;
};

// The same on the edit control's own UTF-16 text, so that nothing of it is converted.
std::optional<InputEdit16> CutPathComponent(std::u16string_view text, std::size_t caret);

} // namespace orvan
