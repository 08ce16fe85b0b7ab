#pragma once
// What the installer window shows: the state it is in (which operations it offers, its
// status text, action button and page) and the choices of its options page. The window
// only puts these on the screen.
#include "core/app/hot_key.h"
#include "core/app/install_info.h"
#include "core/language/language_file.h"
#include "core/ports/special_folders.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orvan {

// The three radio buttons, top to bottom.
enum class InstallOperation { Install, Repair, Remove };

// The pages of the window's page stack.
enum class InstallPage { Options = 0, Details = 1, Empty = 2 };

struct InstallState {
    std::string status;
    bool installEnabled = false;
    bool repairEnabled = false;
    bool removeEnabled = false;
    // The radio button checked after the refresh.
    std::optional<InstallOperation> selected;
    // What the action button does: the selected operation, or nothing while a resident
    // copy runs, when the button stops it.
    std::optional<InstallOperation> action;
    std::string buttonCaption;
    InstallPage page = InstallPage::Options;
};

// The window's state for the situation: a resident copy running allows only Stop; an
// installation allows Repair and Remove; otherwise only Install. A selection that is no
// longer allowed moves to one that is (Install to Repair, Repair or Remove to Install), and
// so does no selection at all.
InstallState RefreshInstallState(bool instanceRunning, bool installed,
                                 std::optional<InstallOperation> selected);

// The value labels of the details page: caption (with its colon) and value, for title,
// version, path, installed, start menu and run on startup.
std::array<std::pair<std::string, std::string>, 6> InstalledDetails(const InstallInfo& info);

// One entry of a drop-down list: what it shows and the value it carries.
struct InstallListItem {
    std::string text;
    std::int32_t value = 0;
    bool operator==(const InstallListItem&) const = default;
};

// The hot keys the options page offers, in their order.
extern const std::array<std::uint16_t, 9> kInstallHotKeys;

// The options page filled from the installation record.
struct InstallForm {
    std::vector<std::string> folderSuggestions;
    std::string path;
    std::vector<InstallListItem> languages;
    std::size_t language = 0;
    std::vector<InstallListItem> hotKeys;
    std::size_t hotKey = 0;
    std::vector<InstallListItem> scopes; // "All users" (value 0), "Current user" (value 1)
    std::size_t scope = 0;
    bool createStartMenu = true;
    bool autoStart = true;
    bool orderByRelevance = true;
};

// The program-folder suggestions below the program files, common files, profile and desktop
// folders (one whose folder is unknown is left out), the path of the record, the language
// list without "None" (the languages with a file among `languageFiles` marked) and the
// record's language selected (else "Default"), the nine hot keys plus the record's own when
// it is not among them, the scope and the two boxes.
// The hot keys carry the fixed names the settings dialog shows ("Alt+Space"), never the
// keyboard layout's ("Alt+LEER"): the stored value is the same on every layout.
InstallForm FillInstallForm(const InstallInfo& info, const SpecialFolderPort& folders,
                            const std::vector<LanguageFileInfo>& languageFiles = {});

} // namespace orvan
