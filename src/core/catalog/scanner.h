#pragma once
// The catalog scanner: walks the active catalog paths of an options record and, when the
// walk completes, gives the record a new catalog. It runs on the user-interface thread and
// lets pending window messages run once per folder; clearing Scanning from there cancels.
#include "core/catalog/catalog.h"
#include "core/config/options.h"
#include "core/ports/clock.h"
#include "core/ports/file_system.h"
#include "core/ports/shell_names.h"
#include "core/ports/special_folders.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace orvan {

// The scanner's state, one per thread (see Scanner()). The settings dialog reads it for its
// progress text and clears scanning to cancel; only the scanner writes the rest.
struct ScannerState {
    bool scanning = false;
    std::int32_t scannedFolders = 0;
    std::int32_t scannedFiles = 0;     // entries returned by the mask searches, "." and ".." too
    std::string scanPath;              // the entry seen last, in either pass
    std::vector<CatalogItem> newItems; // the catalog under construction
    CatalogItems completed;            // what the last completed rebuild handed over

    // The number of entries of NewItems: those being collected, or after a completed
    // rebuild those handed over to the record.
    std::size_t NewItemCount() const {
        return scanning ? newItems.size() : completed.size() + newItems.size();
    }
};

ScannerState& Scanner();

struct ScanServices {
    const FileSystemPort& fileSystem;
    const SpecialFolderPort& folders;
    const ShellNamePort& shell;
    const ClockPort& clock;
    // Lets pending window messages run; called once per folder entered. May be empty.
    std::function<void()> processMessages;
};

// Rebuilds the record's catalog. False when a rebuild is already running (nothing happens)
// or when it was cancelled (the record keeps its catalog and rebuild time).
bool RebuildCatalog(SettingsOptions& options, const ScanServices& services);

// Scans one folder (path variables expanded on entry) and, within depth, its subfolders.
void ScanFolder(const std::string& folder, const std::string& mask, std::int32_t depth,
                bool includeDirectories, const ScanServices& services);

void AddCatalogItem(const std::string& path, const std::string& name);

} // namespace orvan
