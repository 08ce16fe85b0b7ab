#pragma once
// The start-up decisions of Orvan.exe: what the first command-line argument asks for,
// whether the program hands over to an elevated installer, whether another instance
// already runs, and the mode it starts in. The identity of the main window lives here too,
// since a second start and the installer find a running instance by it.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace orvan {

inline constexpr const char* kMainWindowClass = "TzorMain";
inline constexpr const char* kMainWindowTitle = "Orvan!";
inline constexpr const char* kInstallerWindowTitle = "Orvan! - Install";
inline constexpr const char* kInstallerArgument = "-i2";
// What the start-menu shortcut and Apps & features pass to open the installer window.
inline constexpr const char* kUninstallArgument = "-install";
// Package managers' switches: install for the current user, or remove the installation,
// with no window and no question. Compared as a whole, unlike the other switches.
inline constexpr const char* kSilentInstallArgument = "-silent";
inline constexpr const char* kSilentRemoveArgument = "-silent-remove";
// A temporary copy of the program started by a removal from the installed copy: it waits for
// the process it names to end, then deletes the program file that process ran from.
//   Orvan.exe -finish-remove PROCESS-ID PROGRAM-FILE
inline constexpr const char* kFinishRemovalArgument = "-finish-remove";

// Posted to a running instance by a start with "-o": show the search window and open the
// settings dialog. Other parameter values are ignored.
inline constexpr std::uint32_t kOpenOptionsMessage = 0x8000;
inline constexpr std::uintptr_t kOpenOptionsWParam = 13;
inline constexpr std::intptr_t kOpenOptionsLParam = 1;

enum class StartMode {
    Resident,    // hidden, waiting for the hot key or the tray icon
    ShowSearch,  // "-v": the search window is shown at once
    OpenOptions, // "-o": the settings dialog opens half a second after the start
    Installer,   // "-i2": only the installer window
};

enum class StartAction {
    SilentInstall,         // "-silent": install for the current user without a window, then end
    SilentRemove,          // "-silent-remove": remove the installation without a window, then end
    FinishRemoval,         // "-finish-remove": delete a removed program's file once it has ended
    Elevate,               // start an elevated copy with "-i2", then end
    PostOpenOptionsAndEnd, // tell the running instance to open the settings dialog, then end
    End,                   // another instance of this mode runs: end without a visible effect
    Run,                   // create the windows and run the message loop in `mode`
};

struct StartDecision {
    StartAction action = StartAction::Run;
    StartMode mode = StartMode::Resident;
    std::string title; // the main window's title in this mode
};

// What the decision asks of the system. Each is called at most once, and only when the
// decision depends on it.
struct StartQueries {
    std::function<bool()> detectInstallation;
    // Whether a top-level window of class "TzorMain" with the title exists.
    std::function<bool(std::string_view title)> instanceExists;
};

// Only the first argument counts; comparisons are exact and case-sensitive; apart from
// "-i2" and the switches of the silent installation, which come before the hand-over to the
// installer and ask nothing, a switch is recognised by its first two characters ("-output"
// counts as "-o").
StartDecision DecideStart(std::string_view firstArgument, const StartQueries& queries);

} // namespace orvan
