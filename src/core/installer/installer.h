#pragma once
// The program installs, repairs and removes itself. These are the steps behind the
// installer window's buttons, run over ports so that they can be driven without a screen:
// copying the program file, the installation record and autostart value in the registry,
// the start-menu shortcuts, fresh options and a fresh catalog; and undoing all of it.
#include "core/app/install_info.h"
#include "core/catalog/catalog_file.h"
#include "core/config/options.h"
#include "core/language/language_file.h"
#include "core/ports/clock.h"
#include "core/ports/locale.h"
#include "core/ports/message_dialog.h"
#include "core/ports/question_dialog.h"
#include "core/ports/registry.h"
#include "core/ports/running_instance.h"
#include "core/ports/shell.h"
#include "core/ports/shell_links.h"
#include "core/ports/shell_names.h"
#include "core/ports/user_account.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvan {

// What the user chose on the installer window's options page.
struct InstallChoices {
    std::string folder; // the program folder exactly as typed
    std::int32_t language = 1;
    std::int32_t hotKey = 0x8020; // Alt+Space
    bool allUsers = true;         // the machine's registry and start menu, else the user's
    bool createStartMenu = true;
    bool autoStart = true;
    bool orderByRelevance = true; // a new installation orders the results by relevance
};

// Everything the installer reaches the system through.
struct InstallerServices {
    const OptionsServices& options; // special folders, the file system, folder creation
    CatalogFileServices catalog;
    const RegistryPort& registry;
    const ShellLinkPort& links;
    const UserAccountPort& account;
    const ClockPort& clock;
    const ShellNamePort& shellNames; // display names for the catalog rebuild
    const ShellPort& shell;          // starts the installed program at the end
    MessageDialogPort& messages;     // failures and the farewell
    QuestionDialogPort& questions;   // the question after a successful installation
    std::string programPath;         // the running program's full file name
    // Lets window messages run during the catalog rebuild; may be empty.
    std::function<void()> processMessages;
    // Shows how far the catalog rebuild has come, once per folder; may be empty.
    std::function<void(const std::string& text)> showProgress = {};
    // Has the program file deleted once this process has ended, for a removal started from
    // the installed copy itself, whose running file cannot be deleted now; true when that
    // is arranged. May be empty: the file then stays (or goes at the next restart).
    std::function<bool(const std::string& programFile)> deleteAfterExit = {};
    // The bytes of a translation that ships inside the program, by its file name (one of
    // kShippedLanguageFiles); nothing when the program carries none. The standalone download
    // has no "Languages" folder beside it; it installs these instead. May be empty.
    std::function<std::optional<std::string>(const std::string& fileName)> shippedLanguage = {};
};

// The three shortcuts of the start-menu folder, in the order they are made.
struct StartMenuShortcut {
    const char* title; // the file name without ".lnk"
    const char* arguments;
    const char* description;
};
extern const std::array<StartMenuShortcut, 3> kStartMenuShortcuts;

// The translations that ship with the program, by file name: the removal deletes these
// from the program's "Languages" folder and nothing else there.
inline constexpr std::array<const char*, 2> kShippedLanguageFiles = {"German.lng", "French.lng"};

// The translations the program carries inside, as the language lists see them: those whose
// header names a valid language, in the order of kShippedLanguageFiles. `carried` gives a
// file's bytes by its name.
std::vector<LanguageFileInfo> CarriedLanguageFiles(
    const std::function<std::optional<std::string>(const std::string& fileName)>& carried);

// The folder below a start menu that holds the shortcuts.
inline constexpr const char* kStartMenuSubfolder = "Morvane\\Orvan";

// The "Installed" value: the logon name ("<unknown>" when there is none), " @ ", then the
// moment in the short date and long time formats, the time left out at midnight.
std::string InstalledStamp(std::string_view logonName, double moment, const LocaleSettings& locale);

// True when the two paths lead to the same file: decided by the files' identities where
// both can be had, else by comparing the paths without regard to letter case, as Windows
// names files.
bool IsSameFile(const FileSystemPort& fileSystem, const std::string& a, const std::string& b);

// Expands the path variables of text, or nothing when one of the variables it holds does
// not resolve: an unknown folder would otherwise leave a path from the current drive's root.
std::optional<std::string> ExpandResolvedPathVariables(const SpecialFolderPort& folders,
                                                       std::string_view text);

struct InstallResult {
    bool ok = false;          // every step succeeded
    bool closeWindow = false; // the installer window closes, which ends the program
};

// Runs the installation steps in order and stops at the first failure, which is shown in
// the message dialog; what was done before stays in place. After success it asks whether
// to start the installed program: Yes starts it and closes, No closes, Cancel stays.
InstallResult InstallProgram(const InstallChoices& choices, const InstallerServices& services);

// The installation steps alone, without the final question: the folder, the program file
// and its translations, the installation record, the Apps & features entry, the shortcuts,
// autostart, then the options and a freshly built catalog. With keepOptions the options
// file's current settings are kept (an update in place) rather than reset to the defaults;
// the chosen language and hot key are written either way. The program file is installed
// under installedName, or under the running program's own name when that is empty. True
// when every step succeeded; the first failure is shown in the message dialog and ends the
// steps.
bool RunInstallSteps(const InstallChoices& choices, const InstallerServices& services,
                     bool keepOptions = false, std::string_view installedName = {});

// The size the Apps & features entry states, in KiB, rounded up: the program file and the
// translations beside it.
std::uint32_t InstalledSizeKiB(const FileSystemPort& fileSystem, const std::string& programFile);

// Removes the installation recorded in info: every step runs whatever the earlier ones
// gave, and only the removal of the installation key counts. With farewell, a success
// ends in the goodbye message and the window closes.
InstallResult RemoveProgram(const InstallInfo& info, bool farewell,
                            const InstallerServices& services);

// What the removal started from the installed copy leaves for after its process has ended:
// the program file, the translations that ship with it, then the "Languages" folder and the
// program folder when nothing else is left in them. Nothing on the way is followed if it is
// a link. True when the program file is gone.
bool FinishRemovalAfterExit(const FileSystemPort& fileSystem, const std::string& programFile);

// Remove without the farewell, then, when that succeeded, install.
InstallResult RepairProgram(const InstallInfo& info, const InstallChoices& choices,
                            const InstallerServices& services);

// How long the installer waits for a resident copy to end: attempts of one look, one quit
// request and one pause each.
inline constexpr int kStopAttempts = 50;
inline constexpr std::uint32_t kStopPauseMilliseconds = 100;
// The text shown when the resident copy is still there after the last attempt.
inline constexpr int kTextStopTimeout = 8000047;

// Asks the resident copy to end until its window is gone, for a few seconds at most; true
// when it is gone. When it stays, says so in the message dialog and returns false.
bool StopRunningInstance(const RunningInstancePort& instance, MessageDialogPort& messages);

} // namespace orvan
