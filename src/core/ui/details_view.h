#pragma once
// The details window as a model: the search window's details text cut into name/value
// pairs, the grid and the "As text" lines made of them, the context menu's captions and
// enabling, the texts copied and saved, and the save dialog's request. The window shows
// what these give and calls SaveTextToFile.
#include "core/ui/list_view.h"

#include <string>
#include <string_view>
#include <vector>

namespace orvan {

struct DetailsPair {
    std::string name;
    std::string value;

    bool operator==(const DetailsPair&) const = default;
};

struct DetailsContent {
    std::string objectName; // heads the window and names the proposed file
    std::vector<DetailsPair> pairs;
};

// Lines end at CR; each line is trimmed of spaces and control characters and skipped when
// that leaves nothing. A line with a colon is a pair split at its first colon (name and
// value trimmed again); the first line without one is the object name, later ones are
// ignored. A folder's first line, "C:\Programs\", is therefore the pair "C" / "\Programs\".
DetailsContent ParseDetailsText(std::string_view text);

// "Notepad details".
std::string DetailsHeading(std::string_view objectName);

// The "As text" tab: one line per pair, name "=" value.
std::vector<std::string> DetailsMemoLines(const DetailsContent& content);

// The grid's columns: a tick column, "Name" and "Value".
namespace DetailsColumn {
constexpr int Tick = 0;
constexpr int Name = 1;
constexpr int Value = 2;
} // namespace DetailsColumn

// Replaces the grid's rows and columns: "*" (weight 20), "Name" (100) and "Value" (200),
// one ticked row per pair in order (data = the pair's index), the first row selected.
void FillDetailsGrid(ListView& grid, const DetailsContent& content);

// The context menu's commands by their tags.
enum class DetailsCommand { CopyValue = 0, CopyAllValues = 1, SaveToFile = 2 };

struct DetailsMenuItem {
    DetailsCommand command = DetailsCommand::CopyValue;
    std::string caption;
    bool enabled = false;
};

// The three items as the menu shows them when it opens (the separator sits before the
// last): copying a value needs a selected row, the others any row.
std::vector<DetailsMenuItem> PlanDetailsMenu(const ListView& grid);

// The selected row's value, or "" without a selection.
std::string DetailsSelectedValue(const ListView& grid);

// The ticked rows in list order as name "=" value, joined by CR LF, no line end after the
// last: what "Save to file" writes (SaveTextToFile adds the final CR LF).
std::string DetailsExportText(const ListView& grid);

// The same rows for the clipboard, where programs expect CR LF between lines.
std::string DetailsClipboardText(const ListView& grid);

// What the save dialog is opened with.
struct SaveDialogRequest {
    std::string fileName; // proposed; the dialog hands the chosen one back
    std::string title;
    std::string filter; // descriptions and patterns separated by "|"
    std::string defaultExtension;
    bool addAllFiles = false;
};

// "Save to file": the object name's last component with the extension ".txt" (Notepad
// proposes Notepad.txt, x.exe proposes x.txt), "Save as", the text-file filter, "txt",
// with the all-files entry.
SaveDialogRequest DetailsSaveRequest(std::string_view objectName);

// The dialog's filter: the given one, followed, when asked, by "Any file (*.*)|*.*".
std::string SaveDialogFilter(std::string_view filter, bool addAllFiles);

// The same with every "|" made a NUL and a closing NUL, as the common dialogs take it.
std::string DialogFilterString(std::string_view filter);

// A failed save or copy as the message dialog shows it: "Error" over "Application error
// raised! [...]" with what went wrong.
struct DetailsMessage {
    std::string title;
    std::string text;
};
DetailsMessage DetailsFailureMessage(std::string_view errorText);

// The window's fixed texts.
struct DetailsWindowTexts {
    std::string caption;     // also the first tab
    std::string memoTab;     // "As text"
    std::string toClipboard; // the button
    std::string close;
};
DetailsWindowTexts MakeDetailsWindowTexts();

} // namespace orvan
