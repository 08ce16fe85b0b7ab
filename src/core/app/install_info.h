#pragma once
// Whether and where the program is installed, as the installer records it in the
// registry, and the process-wide record the start-up and the installer window read.
#include "core/config/options.h"
#include "core/ports/file_system.h"
#include "core/ports/registry.h"
#include "core/ports/special_folders.h"

#include <cstdint>
#include <string>

namespace orvan {

inline constexpr const char* kInstallKey = "Software\\Morvane\\Orvan";
inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValueName = "Orvan";
// The value of the installation key that names the installed program file.
inline constexpr const char* kInstallFileValue = "File";
// The program's entry in Apps & features, under the installation's root. Package managers
// find the installation by its last part, the product code.
inline constexpr const char* kUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvan";
inline constexpr const char* kStartMenuFolderCommon = "%STARTMENU_COMMON%\\Morvane\\Orvan";
inline constexpr const char* kStartMenuFolderUser = "%STARTMENU%\\Morvane\\Orvan";

struct InstallInfo {
    std::string title;
    std::string version;
    std::string path;
    std::string installed;
    std::string programFile; // the installed file's name; "" in records from before it was kept
    bool allUsers = true;
    bool autoStart = true;
    bool startMenu = true;
    std::int32_t language = 0;
    std::int32_t hotKey = 0x8020; // Alt+Space
};

// The record before anything is known: the folder suggested for a new installation is
// "Morvane\Orvan\" below the program files folder.
InstallInfo DefaultInstallInfo(const SpecialFolderPort& folders);

struct InstallationServices {
    const RegistryPort& registry;
    const OptionsServices& options; // folders and file system come from here as well
};

// Refills CurrentInstallInfo() from the registry, the start-menu folders and the options file;
// true when an installation key exists under either root (the current user's wins).
bool DetectInstallation(const InstallationServices& services);
// What the start-up asks: installed, or a portable copy, which never needs the installer.
bool InstalledOrPortable(const InstallationServices& services);

// The process-wide installation record.
InstallInfo& CurrentInstallInfo();

} // namespace orvan
