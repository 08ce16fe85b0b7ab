#pragma once
// Starting candidates: the shell wrappers with their failure texts, the run history of the
// paths started since the program started, and its recall into the input line.
#include "core/config/options.h"
#include "core/ports/message_dialog.h"
#include "core/ports/search_window.h"
#include "core/ports/shell.h"
#include "core/search/run_available.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvan {

struct LaunchServices {
    const ShellPort* shell = nullptr;
    MessageDialogPort* messages = nullptr; // shows the shell's failure texts
    SearchWindowPort* window = nullptr;    // hides the search window under AutoHide
};

// The text for a failure code of the shell (0 to 32); "Unknown error." for codes
// without a text of their own.
std::string ShellFailureText(std::intptr_t code);

// Opens file through the shell. True when the shell accepted the request; otherwise the
// failure text is shown in the message dialog under the title "Error".
bool ShellOpen(const LaunchServices& services, const std::string& file,
               const std::string& parameters, const std::string& directory, int showCommand);

// Starts file elevated; nothing is shown on failure.
bool ShellRunAs(const ShellPort& shell, std::uintptr_t ownerWindow, const std::string& file,
                const std::string& parameters);

// The working directory for a path: everything up to and including its last backslash or
// colon ("C:\Tools\" for both "C:\Tools\" and "C:\Tools\x.exe").
std::string WorkingFolderOf(std::string_view path);

// Starts a folder, file or catalog entry (the other kinds start nothing): hides the search
// window when options.autoHide, records the path in the run history and opens it.
void ExecuteRunAvailable(const RunAvailable& candidate, SettingsOptions& options,
                         const LaunchServices& services);

// Enter, a double-click or the run button: starts the selected row's candidate. True when a
// row was selected, and then the input line is to be cleared whatever the kind.
bool RunSelected(const RunAvailableList& list, std::optional<std::size_t> selectedRow,
                 SettingsOptions& options, const LaunchServices& services);

// Ctrl+Down: the history entry at the recall position, which then moves on by one; empty
// at the end of the history.
std::optional<std::string> RecallRunHistory(SettingsOptions& options);

} // namespace orvan
