#include "platform/system_services.h"

#include "platform/native.h"
#include "platform/native_shell.h"

namespace orvan::platform {

ProgramServices SystemServices(std::string programFileName) {
    RunBuildEnvironment build;
    build.fileSystem = &FileSystem();
    build.folderListing = &FolderListing();
    return {
        {SpecialFolders(), FileSystem(), FileStore(), std::move(programFileName)},
        {FileStore(), XmlReader()},
        build,
        {&FileSystem(), &VersionInfo(), &Volumes()},
        &Shell(),
        &ShellNames(),
        &Clock(),
        &Locale(),
        RegistryOrNull(),
        &FolderWatches(),
    };
}

void UseSystemLocaleAndClock() {
    SetCurrentLocale(Locale().ReadLocale());
    SetCurrentClock(&Clock());
}

} // namespace orvan::platform
