#pragma once
// The catalog path editor as logic: what its controls show for a path and store back, when
// OK and the depth edit are enabled, how the depth edit reads its text, the characters the
// path and mask edits refuse, and the special-folder menu's insertion. Text positions count
// UTF-16 code units, as the edit controls do.
#include "core/catalog/catalog.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orvan {

inline constexpr std::int32_t kMaxCatalogDepth = 999999;

struct PathEditorTexts {
    std::string caption;
    std::string pathLabel;
    std::string maskLabel;
    std::string depthLabel;
    std::string unlimitedDepth;
    std::string includeDirectories;
    std::string active;
    std::string ok;
    std::string cancel;
};

PathEditorTexts CatalogPathEditorTexts();

// The values the editor's controls hold.
struct PathEditorControls {
    std::string path;
    std::string mask;
    std::string depth; // the depth edit's text; never "-1"
    bool unlimitedDepth = false;
    bool includeDirectories = false;
    bool active = false;
};

PathEditorControls PathToControls(const SettingsOptionsCatalogPath& path);
// OK: the texts as typed (less any field separator that slipped past the edits), -1 for an
// unlimited depth, otherwise the depth edit's value.
void ControlsToPath(const PathEditorControls& controls, SettingsOptionsCatalogPath& path);

struct PathEditorState {
    bool okEnabled = false;    // the path is not empty; blanks count as text
    bool depthEnabled = false; // Unlimited depth is not ticked
};

PathEditorState PathEditorStateOf(const PathEditorControls& controls);

// The depth edit's value: trailing characters that are not digits are dropped, a text that
// still is no number reads as 0, a fraction is rounded, and the result is kept in
// 0..kMaxCatalogDepth.
std::int32_t ReadDepthText(std::string_view text);
// The text for a value, kept in 0..kMaxCatalogDepth (so -1 shows as 0).
std::string DepthText(std::int32_t value);
// The Up and Down keys and the spin buttons: the value read, plus or minus one, kept in
// range. The edit then selects its whole text.
std::string StepDepthText(std::string_view text, int step);

// The path and mask edits refuse "|": it separates the fields of a stored catalog path, and
// a path or mask holding it would make the stored line unreadable, losing the path on the
// next start.
bool IsRefusedPathCharacter(char32_t character);
// Pasted or otherwise inserted text with the refused characters taken out.
std::string RemoveRefusedPathCharacters(std::string_view text);

// A selection in an edit, in UTF-16 code units; start == end is the caret.
struct EditSelection {
    std::size_t start = 0;
    std::size_t end = 0;

    bool operator==(const EditSelection&) const = default;
};

struct EditedText {
    std::string text;
    EditSelection selection;
};

// Replaces the selection (or inserts at the caret) and selects exactly the inserted text.
// Positions beyond the text are taken as its end; a position inside a surrogate pair as the
// pair's start.
EditedText ReplaceSelection(std::string_view text, EditSelection selection,
                            std::string_view inserted);

struct SpecialFolderMenuItem {
    std::string_view caption;  // the variable's name, not translated: "APPDATA"
    std::string_view inserted; // the variable, also the item's hint: "%APPDATA%"
};

// The 18 path variables in menu order.
std::array<SpecialFolderMenuItem, 18> SpecialFolderMenu();

} // namespace orvan
