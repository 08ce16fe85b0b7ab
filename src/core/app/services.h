#pragma once
// Everything the program reaches the system through, in one record. The platform assembles
// it once (platform::SystemServices) and hands it to Orvan.exe, orvan-cli, the measuring
// tool and the tests' windows alike, so that every front end runs over the same ports.
#include "core/catalog/catalog_file.h"
#include "core/config/options.h"
#include "core/fileinfo/file_info.h"
#include "core/fileinfo/text_file.h"
#include "core/ports/clock.h"
#include "core/ports/folder_watch.h"
#include "core/ports/locale.h"
#include "core/ports/registry.h"
#include "core/ports/shell.h"
#include "core/ports/shell_names.h"
#include "core/search/run_available.h"

namespace orvan {

struct ProgramServices {
    OptionsServices options;
    CatalogFileServices catalog;
    RunBuildEnvironment build; // the candidate list's steps
    FileInfoServices fileInfo; // the details texts of folders and files
    const ShellPort* shell = nullptr;
    const ShellNamePort* shellNames = nullptr; // display names for the catalog scan
    const ClockPort* clock = nullptr;
    const LocalePort* locale = nullptr;
    const RegistryPort* registry = nullptr;         // the installation record; none on Linux
    TextFileServices textFiles;                     // the details window's saved texts
    const FolderWatchPort* folderWatches = nullptr; // keeps the catalog current; may be none
};

// The same services with other special folders: tests and measurements put application
// data in a folder of their own, so that the user's options and catalog stay untouched.
inline ProgramServices WithSpecialFolders(const ProgramServices& services,
                                          const SpecialFolderPort& folders) {
    const OptionsServices& options = services.options;
    return {{folders, options.fileSystem, options.files, options.programFileName},
            services.catalog,
            services.build,
            services.fileInfo,
            services.shell,
            services.shellNames,
            services.clock,
            services.locale,
            services.registry,
            services.textFiles,
            services.folderWatches};
}

} // namespace orvan
