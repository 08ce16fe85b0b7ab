#include "core/installer/silent_install.h"

#include "core/config/path_variables.h"
#include "core/robot/version.h"

#include <algorithm>

namespace orvan {

namespace {

// The language part of a Windows locale identifier (German in 1031 and 2055 alike).
constexpr std::int32_t kPrimaryLanguageMask = 0x3FF;

// Log lines are single lines: the texts' line breaks become blanks.
std::string OneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\r', ' ');
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

std::string ScopeText(bool allUsers) {
    return allUsers ? "for all users" : "for the current user";
}

} // namespace

void SilentLog::Add(std::string line) {
    lines.push_back(OneLine(std::move(line)));
}

void SilentLog::ShowMessageDialog(const std::string& title, const std::string& text) {
    Add(title + ": " + text);
}

DialogAnswer SilentLog::AskYesNoCancel(const std::string& title, const std::string& text) {
    Add(title + ": " + text + " (answered No)");
    return DialogAnswer::No;
}

std::string SilentInstallFolder(const SpecialFolderPort& folders) {
    const std::string local = GetSpecialFolder(folders, Csidl::LocalAppData);
    if (local.empty())
        return {};
    return local + "\\Programs\\Morvane\\Orvan\\";
}

std::int32_t LanguageForLocale(std::int32_t userLocale,
                               const std::vector<LanguageFileInfo>& languageFiles) {
    for (const LanguageFileInfo& file : languageFiles)
        if (file.code == userLocale)
            return file.code;
    for (const LanguageFileInfo& file : languageFiles)
        if ((file.code & kPrimaryLanguageMask) == (userLocale & kPrimaryLanguageMask))
            return file.code;
    return 1;
}

InstallChoices SilentInstallChoices(const std::string& folder, std::int32_t language) {
    InstallChoices choices;
    choices.folder = folder;
    choices.language = language;
    choices.allUsers = false;
    return choices;
}

namespace {

int InstallSilently(InstallChoices choices, const InstallerServices& installer,
                    const RunningInstancePort& instance, SilentLog& log) {
    const bool found = DetectInstallation({installer.registry, installer.options});
    const InstallInfo info = CurrentInstallInfo();
    if (found && info.allUsers) {
        log.Add("Orvan! is installed for all users in \"" + info.path +
                "\": remove that installation first. Nothing was changed.");
        return kSilentFailed;
    }
    if (found) {
        // An update: the user's own choices and options stay where they are.
        choices.folder = info.path;
        choices.language = info.language;
        choices.hotKey = info.hotKey;
        choices.createStartMenu = info.startMenu;
        choices.autoStart = info.autoStart;
        log.Add("Updating the installation " + ScopeText(false) + " in \"" + choices.folder +
                "\" to version " + std::string(PackageVersion) + ".");
    } else {
        log.Add("Installing Orvan! " + std::string(PackageVersion) + " " + ScopeText(false) +
                " into \"" + choices.folder + "\".");
    }
    if (choices.folder.empty()) {
        log.Add("The user's local application-data folder is unknown. Nothing was changed.");
        return kSilentFailed;
    }
    if (instance.IsRunning()) {
        log.Add("Ending the running Orvan!.");
        if (!StopRunningInstance(instance, log)) {
            log.Add("Nothing was changed.");
            return kSilentFailed;
        }
    }
    // Under the program's own name, whatever the download was called: the removal of a
    // per-user installation deletes only that name.
    if (!RunInstallSteps(choices, installer, found, ORVAN_PROGRAM_FILE_NAME)) {
        if (found) {
            log.Add("The update failed; run it again, or remove the installation.");
            return kSilentFailed;
        }
        // What the steps wrote goes again; what was there before stays, as the removal
        // deletes only the program's own files by name.
        InstallInfo written;
        written.path = choices.folder;
        written.allUsers = false;
        RemoveProgram(written, false, installer);
        log.Add("The installation failed; what it had written was removed again.");
        return kSilentFailed;
    }
    log.Add("Installed: the program, its Apps & features entry" +
            std::string(choices.createStartMenu ? ", the start-menu shortcuts" : "") +
            (choices.autoStart ? ", autostart" : "") + ", the options in \"" +
            CurrentOptions().fileName + "\" and a catalog of " +
            std::to_string(CurrentOptions().catalog.items.size()) + " entries.");
    return kSilentSucceeded;
}

} // namespace

int SilentInstall(InstallChoices choices, const SilentServices& services) {
    // The options are the installed program's, named after "Orvan.exe", not after the
    // download's name ("Orvan-0.1.0-beta.1-win64.ini"), which the installed copy never reads;
    // nor does a portable options file beside the download count.
    const OptionsServices& given = services.installer.options;
    const OptionsServices options{given.folders, given.fileSystem, given.files,
                                  ORVAN_PROGRAM_FILE_NAME};
    const InstallerServices& installer = services.installer;
    const InstallerServices steps{options,
                                  installer.catalog,
                                  installer.registry,
                                  installer.links,
                                  installer.account,
                                  installer.clock,
                                  installer.shellNames,
                                  installer.shell,
                                  installer.messages,
                                  installer.questions,
                                  installer.programPath,
                                  installer.processMessages,
                                  installer.showProgress,
                                  installer.deleteAfterExit,
                                  installer.shippedLanguage};
    return InstallSilently(std::move(choices), steps, services.instance, services.log);
}

int SilentRemove(const SilentServices& services) {
    const InstallerServices& installer = services.installer;
    SilentLog& log = services.log;
    if (!DetectInstallation({installer.registry, installer.options})) {
        log.Add("Orvan! is not installed: nothing to remove.");
        return kSilentSucceeded;
    }
    const InstallInfo info = CurrentInstallInfo();
    log.Add("Removing the installation " + ScopeText(info.allUsers) + " in \"" + info.path + "\".");
    if (services.instance.IsRunning()) {
        log.Add("Ending the running Orvan!.");
        if (!StopRunningInstance(services.instance, log)) {
            log.Add("Nothing was removed.");
            return kSilentFailed;
        }
    }
    if (!RemoveProgram(info, false, installer).ok) {
        log.Add("The removal failed.");
        return kSilentFailed;
    }
    log.Add("Removed.");
    return kSilentSucceeded;
}

} // namespace orvan
