// Options files of any content: reading never crashes or hangs, and once a file has been
// loaded and saved, saving and loading again changes nothing.
#include "core/config/ini_file.h"
#include "core/config/options.h"
#include "fakes/fixed_folders.h"
#include "fakes/memory_file_system.h"

#include <cstdlib>

namespace {

using orvan::testing::FakeFolders;
using orvan::testing::MemoryFileSystem;

bool Same(const orvan::SettingsOptions& a, const orvan::SettingsOptions& b) {
    return a.language == b.language && a.hotKey == b.hotKey && a.alwaysVisible == b.alwaysVisible &&
           a.autoHide == b.autoHide && a.alwaysOnTop == b.alwaysOnTop &&
           a.autoCenter == b.autoCenter && a.showOnDesktop == b.showOnDesktop &&
           a.trayIcon == b.trayIcon && a.catalog.autoUpdate == b.catalog.autoUpdate &&
           a.catalog.interval == b.catalog.interval &&
           a.catalog.lastRebuild == b.catalog.lastRebuild && a.catalog.paths == b.catalog.paths &&
           a.portable == b.portable && a.quick == b.quick &&
           a.keepClipboardHistory == b.keepClipboardHistory;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const orvan::IniFile file = orvan::IniFile::FromBytes(bytes);
    (void)file.Read("Paths", "Count");
    (void)file.ReadSection("Paths");
    (void)file.ToBytes();

    FakeFolders folders;
    folders.folders = {{26, "C:\\AppData"}};
    MemoryFileSystem disk;
    disk.AddFile("C:\\AppData\\Morvane\\Orvan\\Orvan.ini", bytes);
    const orvan::OptionsServices services{folders, disk, disk, "Orvan.exe"};
    const orvan::SettingsOptions first = orvan::LoadOptions(services);
    if (!orvan::SaveOptions(first, services))
        std::abort();
    const orvan::SettingsOptions second = orvan::LoadOptions(services);
    if (!orvan::SaveOptions(second, services))
        std::abort();
    const orvan::SettingsOptions third = orvan::LoadOptions(services);
    if (!Same(second, third))
        std::abort();
    return 0;
}
