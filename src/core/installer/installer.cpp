#include "core/installer/installer.h"

#include "core/app/startup.h"
#include "core/base/date_general.h"
#include "core/base/utf.h"
#include "core/catalog/scanner.h"
#include "core/config/path_variables.h"
#include "core/language/language.h"
#include "core/language/language_file.h"
#include "core/robot/version.h"
#include "core/search/launch.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace orvan {

const std::array<StartMenuShortcut, 3> kStartMenuShortcuts = {{
    {"Orvan!", "", "This will run Orvan!"},
    {"Orvan! Uninstall & Repair", "-install",
     "This will uninstall/repair current installation of Orvan!"},
    {"Orvan! Options", "-options", "This will show Orvan! option dialog."},
}};

namespace {

constexpr int kTextError = 0;
constexpr int kTextQuestion = 6;
constexpr int kTextNotice = 17;
constexpr int kTextCannotCreateShortcut = 29;
constexpr int kTextCannotOpenKey = 30;
constexpr int kTextCannotCopy = 31;
constexpr int kTextCannotCreateFolder = 32;
constexpr int kTextInstalled = 8000043;
constexpr int kTextUninstalled = 8000044;
constexpr int kTextCannotStartAsUser = 8000060;
constexpr int kTextBuildingCatalog = 8000062;
constexpr int kTextUninstalledAtRestart = 8000061;
constexpr int kTextUninstalledFileStays = 8000063;

// The file name the installation leaves in the program folder.
constexpr const char* kProgramFileName = "Orvan.exe";

bool IsDelimiter(char c) {
    return c == '\\' || c == '/';
}

std::string WithTrailingDelimiter(std::string path) {
    if (path.empty() || !IsDelimiter(path.back()))
        path += '\\';
    return path;
}

std::string FileNameOf(std::string_view path) {
    const std::size_t cut = path.find_last_of("\\/:");
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

// The form in which Windows compares names: one delimiter, letter case folded.
std::string ComparablePath(std::string_view path) {
    std::string text = Upper(path);
    std::replace(text.begin(), text.end(), '/', '\\');
    return text;
}

RegistryRoot ScopeRoot(bool allUsers) {
    return allUsers ? RegistryRoot::LocalMachine : RegistryRoot::CurrentUser;
}

void ShowError(MessageDialogPort& messages, int textId,
               std::initializer_list<std::string_view> args) {
    messages.ShowMessageDialog(Languages::Text(kTextError), Languages::TextFmt(textId, args));
}

// "C:\..." or "\\server\share...": a relative folder would land below whatever folder the
// elevated installer happens to run in, and the record would name no findable place.
bool IsFullPath(std::string_view path) {
    const bool drive = path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) &&
                       path[1] == ':' && IsDelimiter(path[2]);
    const bool share =
        path.size() > 2 && IsDelimiter(path[0]) && IsDelimiter(path[1]) && !IsDelimiter(path[2]);
    return drive || share;
}

bool CreateProgramFolder(const InstallChoices& choices, const InstallerServices& services) {
    if (IsFullPath(choices.folder) && services.options.files.CreateFolders(choices.folder))
        return true;
    ShowError(services.messages, kTextCannotCreateFolder, {choices.folder});
    return false;
}

bool CopyProgramFile(const std::string& target, const InstallerServices& services) {
    const FileSystemPort& fileSystem = services.options.fileSystem;
    // Started from its own target (the repair shortcut does that), the program must not be
    // copied onto itself: the running file is locked, and the copy would fail.
    if (IsSameFile(fileSystem, services.programPath, target))
        return true;
    if (fileSystem.CopyFileReplacing(services.programPath, target))
        return true;
    ShowError(services.messages, kTextCannotCopy, {services.programPath, target});
    return false;
}

// The translations the program carries inside, written where the folder beside it would
// have been copied to.
bool WriteShippedLanguageFiles(const std::string& target, const InstallerServices& services) {
    std::vector<std::pair<std::string, std::string>> files;
    for (const char* name : kShippedLanguageFiles)
        if (std::optional<std::string> bytes = services.shippedLanguage(name))
            files.emplace_back(name, std::move(*bytes));
    if (files.empty())
        return true;
    if (!services.options.files.CreateFolders(target)) {
        ShowError(services.messages, kTextCannotCreateFolder, {target});
        return false;
    }
    for (const auto& file : files) {
        // A structured binding cannot be captured by the clang of the fuzz build.
        const std::string& bytes = file.second;
        const std::string to = target + "\\" + file.first;
        if (!services.options.files.ReplaceFileWith(
                to, [&bytes](FileWriter& writer) { return writer.Write(bytes); })) {
            ShowError(services.messages, kTextCannotCopy, {services.programPath, to});
            return false;
        }
    }
    return true;
}

// The language files beside the installer go beside the installed program, where it looks
// for them; without any beside it, those it carries inside. Nothing to copy is no error: a
// program without them speaks English.
bool CopyLanguageFiles(const std::string& programFolder, const InstallerServices& services) {
    const FileSystemPort& fileSystem = services.options.fileSystem;
    const std::string source = LanguagesFolder(services.programPath);
    const std::string target = programFolder + std::string(kLanguagesFolderName);
    if (fileSystem.FolderExists(source) && IsSameFile(fileSystem, source, target))
        return true;
    const std::vector<std::string> names = fileSystem.FolderExists(source)
                                               ? LanguageFileNames(source, fileSystem)
                                               : std::vector<std::string>{};
    if (names.empty())
        return !services.shippedLanguage || WriteShippedLanguageFiles(target, services);
    if (!services.options.files.CreateFolders(target)) {
        ShowError(services.messages, kTextCannotCreateFolder, {target});
        return false;
    }
    for (const std::string& name : names) {
        const std::string from = source + "\\" + name;
        const std::string to = target + "\\" + name;
        if (!fileSystem.CopyFileReplacing(from, to)) {
            ShowError(services.messages, kTextCannotCopy, {from, to});
            return false;
        }
    }
    return true;
}

bool WriteInstallKey(const InstallChoices& choices, const std::string& target,
                     const InstallerServices& services) {
    const RegistryRoot root = ScopeRoot(choices.allUsers);
    const std::string installed =
        InstalledStamp(services.account.LogonName(), services.clock.Now(), CurrentLocale());
    const std::pair<const char*, std::string> values[] = {
        {"Title", std::string(ApplicationTitle)},
        {"Version", std::string(VersionText)},
        {"Path", choices.folder},
        {"Installed", installed},
        {kInstallFileValue, FileNameOf(target)},
    };
    for (const auto& [name, value] : values) {
        if (!services.registry.WriteString(root, kInstallKey, name, value)) {
            ShowError(services.messages, kTextCannotOpenKey, {kInstallKey});
            return false;
        }
    }
    return true;
}

// The entry Apps & features lists, and through which package managers find, update and
// remove the installation: both commands start the installed program, the one with the
// installer's window, the other without any.
bool WriteUninstallEntry(const InstallChoices& choices, const std::string& target,
                         const InstallerServices& services) {
    const RegistryRoot root = ScopeRoot(choices.allUsers);
    const std::string quoted = '"' + target + '"';
    const std::pair<const char*, std::string> texts[] = {
        {"DisplayName", ORVAN_PRODUCT_NAME},
        {"DisplayVersion", std::string(PackageVersion)},
        {"Publisher", ORVAN_MAKER},
        {"DisplayIcon", target},
        {"InstallLocation", WithTrailingDelimiter(choices.folder)},
        {"UninstallString", quoted + " " + kUninstallArgument},
        {"QuietUninstallString", quoted + " " + kSilentRemoveArgument},
    };
    // The program has no modify step, and its repair is part of the window that
    // UninstallString opens.
    const std::pair<const char*, std::uint32_t> numbers[] = {
        {"EstimatedSize", InstalledSizeKiB(services.options.fileSystem, target)},
        {"NoModify", 1},
        {"NoRepair", 1},
    };
    bool written = true;
    for (const auto& [name, value] : texts)
        written = written && services.registry.WriteString(root, kUninstallKey, name, value);
    for (const auto& [name, value] : numbers)
        written = written && services.registry.WriteNumber(root, kUninstallKey, name, value);
    if (written)
        return true;
    ShowError(services.messages, kTextCannotOpenKey, {kUninstallKey});
    return false;
}

bool CreateShortcuts(const InstallChoices& choices, const std::string& target,
                     const InstallerServices& services) {
    const std::string startMenu = GetSpecialFolder(
        services.options.folders, choices.allUsers ? Csidl::CommonStartMenu : Csidl::StartMenu);
    const std::string folder = startMenu + '\\' + kStartMenuSubfolder;
    const auto fail = [&] {
        ShowError(services.messages, kTextCannotCreateShortcut, {folder});
        return false;
    };
    // Without a start menu the folder would land at the root of the current drive.
    if (startMenu.empty() || !services.options.files.CreateFolders(folder))
        return fail();
    const std::string workingFolder = ExtractFilePath(target);
    for (const StartMenuShortcut& shortcut : kStartMenuShortcuts) {
        const std::string file = folder + '\\' + shortcut.title + ".lnk";
        services.options.fileSystem.RemoveFile(file);
        if (!services.links.SaveShortcut(
                {target, shortcut.arguments, workingFolder, shortcut.description}, file))
            return fail();
    }
    return true;
}

bool WriteAutoStart(const InstallChoices& choices, const std::string& target,
                    const InstallerServices& services) {
    // In quotes: unquoted, a folder with a blank ("D:\Program Files\...") lets Windows try
    // "D:\Program.exe" first at log-on.
    if (services.registry.WriteString(ScopeRoot(choices.allUsers), kRunKey, kRunValueName,
                                      '"' + target + '"'))
        return true;
    ShowError(services.messages, kTextCannotOpenKey, {kRunKey});
    return false;
}

// Fresh options with the chosen language and hot key, and a catalog built from their
// default paths. A file that cannot be written is reported: the installation would
// otherwise claim a success that the next start does not find.
bool WriteOptionsAndCatalog(const InstallChoices& choices, const InstallerServices& services,
                            bool keepOptions) {
    SettingsOptions& options = CurrentOptions();
    options = keepOptions ? LoadOptions(services.options) : DefaultOptions(services.options);
    options.language = choices.language;
    options.hotKey = choices.hotKey;
    options.order = choices.orderByRelevance ? ResultOrder::Relevance : ResultOrder::Name;
    const auto fail = [&](const std::string& text) {
        services.messages.ShowMessageDialog(Languages::Text(kTextError), text);
        return false;
    };
    // Without an application-data folder the name starts at the current drive's root.
    if (!IsFullPath(options.fileName))
        return fail(UnableToWriteText(options.fileName));
    // A full desktop takes a while: the window keeps painting and shows the counts, once
    // per folder and, between the files of a large one, whenever the caller lets messages
    // run.
    CatalogScan scan;
    const auto eachFolder = [&] {
        if (services.showProgress)
            services.showProgress(
                Languages::TextFmt(kTextBuildingCatalog, {std::to_string(scan.ScannedFolders()),
                                                          std::to_string(scan.ScannedFiles())}));
        if (services.processMessages)
            services.processMessages();
    };
    const auto betweenEntries = [&] {
        if (services.processMessages)
            services.processMessages();
    };
    scan.Rebuild(options, {services.options.fileSystem, services.options.folders,
                           services.shellNames, services.clock, eachFolder, betweenEntries});
    // A repair lists the entries anew; how often the user started each stays.
    const UseCounts counts =
        CountsFromCatalog(ReadCatalogFile(CatalogFileName(options.fileName), services.catalog.files,
                                          services.catalog.xml)
                              .items);
    if (const FileResult saved =
            SaveOptionsAndCatalog(options, services.options, services.catalog, &counts);
        !saved)
        return fail(saved.Error());
    return true;
}

// "Orvan.exe", "orvan-setup.exe": a bare file name of a program, nothing that leads into
// another folder.
bool IsPlainProgramName(std::string_view name) {
    return name.size() > 4 && name.find_first_of("\\/:") == std::string_view::npos &&
           ComparablePath(name.substr(name.size() - 4)) == ".EXE";
}

// The name the program file was installed under. Only the machine's record may name
// another than the program's own: the removal runs with administrator rights, and the
// current user's record can be written by any program the user runs.
std::string InstalledProgramName(const InstallInfo& info) {
    if (info.allUsers && IsPlainProgramName(info.programFile))
        return info.programFile;
    return kProgramFileName;
}

// What became of the program file when the removal runs from it (the repair shortcut
// starts the installed copy): a running program's file cannot be deleted.
enum class RunningFile { None, DeletedAtRestart, DeletedAfterExit, Stays };

// Deletes what the installation put into the program folder, by name: the program file and
// the translations that ship with it. Anything else the user keeps there stays, and the
// folders with it. The record names the folder and can be written by the user, so nothing
// on the way is followed if it is a link.
RunningFile DeleteProgramFile(const InstallInfo& info, const InstallerServices& services,
                              bool repairing) {
    // An empty or relative record would name the current drive's root or working folder.
    if (!IsFullPath(info.path))
        return RunningFile::None;
    const FileSystemPort& fileSystem = services.options.fileSystem;
    const std::string folder = WithTrailingDelimiter(info.path);
    const std::string programName = InstalledProgramName(info);
    fileSystem.DeleteNoFollow(folder + kProgramFileName, false);
    if (ComparablePath(programName) != ComparablePath(kProgramFileName))
        fileSystem.DeleteNoFollow(folder + programName, false);
    // Beside the running program (a repair from the installed copy) the translations stay
    // as its file does: the installation that follows has nowhere else to take them from.
    const std::string languages = folder + std::string(kLanguagesFolderName);
    if (!IsSameFile(fileSystem, LanguagesFolder(services.programPath), languages)) {
        for (const char* name : kShippedLanguageFiles)
            fileSystem.DeleteNoFollow(languages + "\\" + name, false);
        fileSystem.DeleteNoFollow(languages, false); // refused while anything else is inside
    }
    fileSystem.DeleteNoFollow(folder.substr(0, folder.size() - 1), false);

    const std::string& running = services.programPath;
    if (!fileSystem.FileExists(running) ||
        (!IsSameFile(fileSystem, running, folder + kProgramFileName) &&
         !IsSameFile(fileSystem, running, folder + programName)))
        return RunningFile::None;
    // The system deletes the file at its next start, with its own rights and by path: only
    // where the user cannot change that path meanwhile, the machine's installation below a
    // folder only administrators write to. The current user's folder could be made a link by
    // then.
    if (info.allUsers && fileSystem.DeleteAfterRestart(running))
        return RunningFile::DeletedAtRestart;
    // A plain removal leaves the file to a helper that deletes it, and what stayed with it,
    // once this process has ended; a repair installs from it right after.
    if (!repairing && services.deleteAfterExit && services.deleteAfterExit(running))
        return RunningFile::DeletedAfterExit;
    return RunningFile::Stays;
}

void DeleteTrees(std::initializer_list<const char*> trees, const InstallerServices& services) {
    for (const char* tree : trees)
        if (const std::optional<std::string> folder =
                ExpandResolvedPathVariables(services.options.folders, tree))
            DeleteFolderTree(services.options.fileSystem, *folder);
}

// The three shortcuts, then the folder when nothing else is left in it.
void DeleteShortcuts(const char* menuFolder, const InstallerServices& services) {
    const std::optional<std::string> folder =
        ExpandResolvedPathVariables(services.options.folders, menuFolder);
    if (!folder)
        return;
    const FileSystemPort& fileSystem = services.options.fileSystem;
    for (const StartMenuShortcut& shortcut : kStartMenuShortcuts)
        fileSystem.DeleteNoFollow(*folder + '\\' + shortcut.title + ".lnk", false);
    fileSystem.DeleteNoFollow(*folder, false);
}

} // namespace

std::vector<LanguageFileInfo> CarriedLanguageFiles(
    const std::function<std::optional<std::string>(const std::string& fileName)>& carried) {
    std::vector<LanguageFileInfo> files;
    if (!carried)
        return files;
    for (const char* name : kShippedLanguageFiles)
        if (const std::optional<std::string> bytes = carried(name))
            if (const LanguageFile file = ParseLanguageFile(*bytes, true); file.code != 0)
                files.push_back({file.code, file.name, name});
    return files;
}

std::string InstalledStamp(std::string_view logonName, double moment,
                           const LocaleSettings& locale) {
    std::string text = logonName.empty() ? std::string("<unknown>") : std::string(logonName);
    text += " @ ";
    text += FormatDateTimeGeneral(moment, locale);
    return text;
}

bool IsSameFile(const FileSystemPort& fileSystem, const std::string& a, const std::string& b) {
    const std::optional<FileIdentity> first = fileSystem.IdentityOf(a);
    const std::optional<FileIdentity> second = fileSystem.IdentityOf(b);
    if (first && second)
        return *first == *second;
    return ComparablePath(a) == ComparablePath(b);
}

std::optional<std::string> ExpandResolvedPathVariables(const SpecialFolderPort& folders,
                                                       std::string_view text) {
    for (const PathVariable& variable : kPathVariables)
        if (text.find(variable.token) != std::string_view::npos &&
            GetSpecialFolder(folders, variable.folderNumber).empty())
            return std::nullopt;
    return ExpandPathVariables(folders, text);
}

std::uint32_t InstalledSizeKiB(const FileSystemPort& fileSystem, const std::string& programFile) {
    std::uint64_t bytes = 0;
    const auto add = [&](const std::string& folder, const std::string& pattern) {
        fileSystem.Enumerate(folder, pattern, [&](const DirEntry& entry) {
            if (!(entry.attributes & FileAttribute::Directory))
                bytes += entry.size;
            return true;
        });
    };
    const std::string folder = ExtractFilePath(programFile);
    add(folder.substr(0, folder.size() - 1), FileNameOf(programFile));
    for (const char* name : kShippedLanguageFiles)
        add(folder + std::string(kLanguagesFolderName), name);
    const std::uint64_t kib = (bytes + 1023) / 1024;
    return kib > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(kib);
}

bool RunInstallSteps(const InstallChoices& choices, const InstallerServices& services,
                     bool keepOptions, std::string_view installedName) {
    const std::string target =
        WithTrailingDelimiter(choices.folder) +
        (installedName.empty() ? FileNameOf(services.programPath) : std::string(installedName));
    return CreateProgramFolder(choices, services) && CopyProgramFile(target, services) &&
           CopyLanguageFiles(WithTrailingDelimiter(choices.folder), services) &&
           WriteInstallKey(choices, target, services) &&
           WriteUninstallEntry(choices, target, services) &&
           (!choices.createStartMenu || CreateShortcuts(choices, target, services)) &&
           (!choices.autoStart || WriteAutoStart(choices, target, services)) &&
           WriteOptionsAndCatalog(choices, services, keepOptions);
}

InstallResult InstallProgram(const InstallChoices& choices, const InstallerServices& services) {
    if (!RunInstallSteps(choices, services))
        return {};
    const std::string target =
        WithTrailingDelimiter(choices.folder) + FileNameOf(services.programPath);

    switch (services.questions.AskYesNoCancel(Languages::Text(kTextQuestion),
                                              Languages::Text(kTextInstalled))) {
    case DialogAnswer::Yes:
        // The installer runs elevated; the resident launcher, and every program it starts,
        // must run with the user's own rights, and only there can a later start reach it.
        if (!services.shell.OpenAsDesktopUser(target, "", ExtractFilePath(target)))
            services.messages.ShowMessageDialog(Languages::Text(kTextError),
                                                Languages::Text(kTextCannotStartAsUser));
        return {true, true};
    case DialogAnswer::No:
        return {true, true};
    case DialogAnswer::Cancel:
        break;
    }
    return {true, false};
}

namespace {

InstallResult Remove(const InstallInfo& info, bool farewell, bool repairing,
                     const InstallerServices& services) {
    const RunningFile running = DeleteProgramFile(info, services, repairing);
    // The application-data folders hold only the program's own files.
    DeleteTrees({"%APPDATA%\\Morvane\\Orvan", "%APPDATA_LOCAL%\\Morvane\\Orvan"}, services);
    for (const char* menu : {kStartMenuFolderUser, kStartMenuFolderCommon})
        DeleteShortcuts(menu, services);
    for (const RegistryRoot root : {RegistryRoot::LocalMachine, RegistryRoot::CurrentUser})
        services.registry.DeleteValue(root, kRunKey, kRunValueName);

    const RegistryRoot root = ScopeRoot(info.allUsers);
    // The entry names a program that is gone; its own failure is not the removal's.
    services.registry.DeleteKeyTree(root, kUninstallKey);
    services.registry.DeleteKeyTree(root, kInstallKey);
    if (services.registry.KeyExists(root, kInstallKey)) {
        ShowError(services.messages, kTextCannotOpenKey, {kInstallKey});
        return {};
    }
    if (!farewell)
        return {true, false};
    switch (running) {
    case RunningFile::None:
    case RunningFile::DeletedAfterExit:
        services.messages.ShowMessageDialog(Languages::Text(kTextNotice),
                                            Languages::Text(kTextUninstalled));
        break;
    case RunningFile::DeletedAtRestart:
        services.messages.ShowMessageDialog(Languages::Text(kTextNotice),
                                            Languages::Text(kTextUninstalledAtRestart));
        break;
    case RunningFile::Stays:
        services.messages.ShowMessageDialog(
            Languages::Text(kTextNotice),
            Languages::TextFmt(kTextUninstalledFileStays, {services.programPath}));
        break;
    }
    return {true, true};
}

} // namespace

InstallResult RemoveProgram(const InstallInfo& info, bool farewell,
                            const InstallerServices& services) {
    return Remove(info, farewell, false, services);
}

bool FinishRemovalAfterExit(const FileSystemPort& fileSystem, const std::string& programFile) {
    const std::string folder = ExtractFilePath(programFile);
    // Only a program file, never a folder or anything at a drive's root.
    if (!IsPlainProgramName(FileNameOf(programFile)) || folder.size() <= 3 || !IsFullPath(folder))
        return false;
    const bool gone =
        fileSystem.DeleteNoFollow(programFile, false) || !fileSystem.FileExists(programFile);
    const std::string languages = folder + std::string(kLanguagesFolderName);
    for (const char* name : kShippedLanguageFiles)
        fileSystem.DeleteNoFollow(languages + "\\" + name, false);
    fileSystem.DeleteNoFollow(languages, false);
    fileSystem.DeleteNoFollow(folder.substr(0, folder.size() - 1), false);
    return gone;
}

InstallResult RepairProgram(const InstallInfo& info, const InstallChoices& choices,
                            const InstallerServices& services) {
    if (!Remove(info, false, true, services).ok)
        return {};
    return InstallProgram(choices, services);
}

bool StopRunningInstance(const RunningInstancePort& instance, MessageDialogPort& messages) {
    int attempt = 0;
    for (; attempt < kStopAttempts && instance.IsRunning(); ++attempt) {
        instance.PostQuit();
        instance.Pause(kStopPauseMilliseconds);
    }
    // The window goes before the process has ended and let go of the program file, which
    // the installation is about to replace or delete: the rest of the time is for that.
    const auto left = static_cast<std::uint32_t>(kStopAttempts - attempt) * kStopPauseMilliseconds;
    if (!instance.IsRunning() && instance.WaitForExit(left))
        return true;
    messages.ShowMessageDialog(Languages::Text(kTextError), Languages::Text(kTextStopTimeout));
    return false;
}

} // namespace orvan
