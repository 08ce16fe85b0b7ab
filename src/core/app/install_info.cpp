#include "core/app/install_info.h"

#include "core/config/path_variables.h"

namespace orvan {

TInstallInfo DefaultInstallInfo(const SpecialFolderPort& folders) {
    TInstallInfo info;
    info.path = GetSpecialFolder(folders, Csidl::ProgramFiles) + "\\Morvane\\Orvan\\";
    return info;
}

TInstallInfo& InstallInfo() {
    static TInstallInfo info;
    return info;
}

namespace {

bool ReadInstallKey(const RegistryPort& registry, RegistryRoot root, TInstallInfo& info) {
    if (!registry.KeyExists(root, kInstallKey))
        return false;
    info.title = registry.ReadString(root, kInstallKey, "Title");
    info.version = registry.ReadString(root, kInstallKey, "Version");
    info.path = registry.ReadString(root, kInstallKey, "Path");
    info.installed = registry.ReadString(root, kInstallKey, "Installed");
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
    TInstallInfo info = DefaultInstallInfo(folders);

    const bool found = ReadInstallKey(services.registry, RegistryRoot::CurrentUser, info) ||
                       ReadInstallKey(services.registry, RegistryRoot::LocalMachine, info);
    if (found) {
        info.startMenu =
            fileSystem.FolderExists(ExpandPathVariables(folders, kStartMenuFolderCommon)) ||
            fileSystem.FolderExists(ExpandPathVariables(folders, kStartMenuFolderUser));
        info.autoStart = HasAutoStart(services.registry, RegistryRoot::CurrentUser) ||
                         HasAutoStart(services.registry, RegistryRoot::LocalMachine);
    }

    const TSettingsOptions options = LoadOptions(services.options);
    info.language = options.language;
    info.hotKey = options.hotKey;
    InstallInfo() = info;
    return found;
}

} // namespace orvan
