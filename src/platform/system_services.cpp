#include "platform/system_services.h"

#include "platform/native.h"
#include "platform/native_shell.h"
#include "platform/native_text_file.h"

namespace orvan::platform {

ProgramServices SystemServices(std::string programFileName) {
    RunBuildEnvironment build;
    build.files.emplace(FileSystem(), FolderListing());
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
        {&AnsiCodePage(), &FileWrites()},
        &FolderWatches(),
    };
}

void UseSystemLocaleAndClock() {
    SetCurrentLocale(Locale().ReadLocale());
    SetCurrentClock(&Clock());
}

} // namespace orvan::platform
