#pragma once
// The installation and removal that package managers run: no window, no question, an exit
// code, and a log of what was done or why it failed. They run the installer's own steps.
#include "core/installer/installer.h"
#include "core/language/language_file.h"
#include "core/ports/message_dialog.h"
#include "core/ports/question_dialog.h"
#include "core/ports/running_instance.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orvan {

// Exit codes of the silent runs.
inline constexpr int kSilentSucceeded = 0;
inline constexpr int kSilentFailed = 1;

// Stands in for the dialogs: what the steps would have shown goes into the log, one line a
// message, and a question is answered No.
class SilentLog final : public MessageDialogPort, public QuestionDialogPort {
public:
    std::vector<std::string> lines;

    void Add(std::string line);
    void ShowMessageDialog(const std::string& title, const std::string& text) override;
    DialogAnswer AskYesNoCancel(const std::string& title, const std::string& text) override;
};

struct SilentServices {
    const InstallerServices& installer; // its message and question ports are the log
    const RunningInstancePort& instance;
    SilentLog& log;
};

// Where a silent installation goes: "Programs\Morvane\Orvan\" below the user's local
// application data, the per-user programs folder, which needs no elevation. "" when that
// folder is unknown.
std::string SilentInstallFolder(const SpecialFolderPort& folders);

// The language of the user's locale when a file for it ships (the same locale, else the same
// language in another country), else 1, the built-in English.
std::int32_t LanguageForLocale(std::int32_t userLocale,
                               const std::vector<LanguageFileInfo>& languageFiles);

// The installer's default choices for the current user in `folder` with `language`. Every
// other choice keeps the default a new installation starts from.
InstallChoices SilentInstallChoices(const std::string& folder, std::int32_t language);

// Installs with the choices for the current user, the program file as "Orvan.exe" whatever
// the download's name. An installation of the current user that
// exists already is updated in place: its folder, its language, hot key, shortcuts and
// autostart stay, and so do its options. One for all users is left alone and the run fails.
// A resident copy is ended first. A new installation that fails is removed again, so that
// nothing of it stays half-installed. Returns the exit code.
int SilentInstall(InstallChoices choices, const SilentServices& services);

// Removes the installation that DetectInstallation finds, after ending a resident copy;
// succeeds when there is none. Returns the exit code.
int SilentRemove(const SilentServices& services);

} // namespace orvan
