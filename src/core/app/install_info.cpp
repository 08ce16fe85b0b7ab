#include "core/app/install_info.h"

#include "core/config/path_variables.h"

namespace orvan {

InstallInfo DefaultInstallInfo(const SpecialFolderPort& folders) {
    InstallInfo info;
    info.path = GetSpecialFolder(folders, Csidl::ProgramFiles) + "\\Morvane\\Orvan\\";
    return info;
}

InstallInfo& CurrentInstallInfo() {
    static InstallInfo info;
    return info;
}

namespace {

bool ReadInstallKey(const RegistryPort& registry, RegistryRoot root, InstallInfo& info) {
    if (!registry.KeyExists(root, kInstallKey))
        return false;
    info.title = registry.ReadString(root, kInstallKey, "Title");
    info.version = registry.ReadString(root, kInstallKey, "Version");
    info.path = registry.ReadString(root, kInstallKey, "Path");
    info.installed = registry.ReadString(root, kInstallKey, "Installed");
    info.programFile = registry.ReadString(root, kInstallKey, kInstallFileValue);
    info.allUsers = root == RegistryRoot::LocalMachine;
    return true;
}

bool HasAutoStart(const RegistryPort& registry, RegistryRoot root) {
    return registry.KeyExists(root, kRunKey) &&
           !registry.ReadString(root, kRunKey, kRunValueName).empty();
}

} // namespace

bool DetectInstallation(const InstallationServices& services) {
    const SpecialFolderPort& folders = services.options.folders;
    const FileSystemPort& fileSystem = services.options.fileSystem;
    InstallInfo info = DefaultInstallInfo(folders);

    const bool found = ReadInstallKey(services.registry, RegistryRoot::CurrentUser, info) ||
                       ReadInstallKey(services.registry, RegistryRoot::LocalMachine, info);
    if (found) {
        info.startMenu =
            fileSystem.FolderExists(ExpandPathVariables(folders, kStartMenuFolderCommon)) ||
            fileSystem.FolderExists(ExpandPathVariables(folders, kStartMenuFolderUser));
        info.autoStart = HasAutoStart(services.registry, RegistryRoot::CurrentUser) ||
                         HasAutoStart(services.registry, RegistryRoot::LocalMachine);
    }

    const SettingsOptions options = LoadOptions(services.options);
    info.language = options.language;
    info.hotKey = options.hotKey;
    CurrentInstallInfo() = info;
    return found;
}

bool InstalledOrPortable(const InstallationServices& services) {
    const bool installed = DetectInstallation(services);
    return installed || !PortableOptionsFile(services.options).empty();
}

} // namespace orvan
