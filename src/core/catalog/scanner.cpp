#include "core/catalog/scanner.h"

#include "core/config/path_variables.h"

namespace orvan {

namespace {

// Clears Scanning however the rebuild ends, an escaping error included.
class ScanningGuard {
public:
    ScanningGuard() { Scanner().scanning = true; }
    ~ScanningGuard() { Scanner().scanning = false; }
    ScanningGuard(const ScanningGuard&) = delete;
    ScanningGuard& operator=(const ScanningGuard&) = delete;
};

std::string WithTrailingDelimiter(const std::string& folder) {
    return !folder.empty() && folder.back() == '\\' ? folder : folder + "\\";
}

} // namespace

ScannerState& Scanner() {
    // One per thread: the interface thread's is the one the settings dialog shows; a
    // background rebuild scans into its own.
    thread_local ScannerState state;
    return state;
}

void AddCatalogItem(const std::string& path, const std::string& name) {
    CatalogItem item;
    item.path = path;
    item.name = name;
    Scanner().newItems.push_back(std::move(item));
}

void ScanFolder(const std::string& folder, const std::string& mask, std::int32_t depth,
                bool includeDirectories, const ScanServices& services) {
    ScannerState& state = Scanner();
    if (!state.scanning)
        return;
    ++state.scannedFolders;
    if (services.processMessages)
        services.processMessages();

    const std::string expanded = ExpandPathVariables(services.folders, folder);
    // A folder that expands to nothing (a path variable the platform cannot resolve) would
    // otherwise list the root of the current drive.
    if (expanded.empty())
        return;
    const std::string prefix = WithTrailingDelimiter(expanded);
    const ArrayOfString patterns = mask.empty() ? ArrayOfString{"*.*"} : SplitString(mask, ';');

    // The folder pass lists "*.*"; where the file pass has just listed the same, its entries
    // serve again rather than reading the folder a second time (half the masks of a usual
    // catalog are "*.*").
    constexpr std::string_view kAll = "*.*";
    bool listedAll = false;
    std::vector<DirEntry> all;
    for (const std::string& pattern : patterns) {
        const bool keep = !listedAll && pattern == kAll;
        services.fileSystem.EnumerateKinds(expanded, pattern, [&](const DirEntry& entry) {
            if (keep)
                all.push_back(entry);
            std::string path = prefix + entry.name;
            if ((entry.attributes & FileAttribute::Directory) == 0)
                AddCatalogItem(path, services.shell.DisplayName(path));
            state.scanPath = std::move(path);
            ++state.scannedFiles;
            return true;
        });
        listedAll = listedAll || keep;
    }

    const auto folderPass = [&](const DirEntry& entry) {
        // This search leaves out hidden and system entries.
        if ((entry.attributes & (FileAttribute::Hidden | FileAttribute::System)) != 0)
            return true;
        std::string path = prefix + entry.name;
        if (!entry.name.empty() && entry.name.front() != '.' &&
            (entry.attributes & FileAttribute::Directory) != 0) {
            if (includeDirectories)
                AddCatalogItem(path, {});
            // Links are listed but never entered: a link to an ancestor would never end.
            const bool link = (entry.attributes & FileAttribute::ReparsePoint) != 0;
            const std::int64_t below = static_cast<std::int64_t>(depth) - 1;
            if (!link && depth == UnlimitedDepth)
                ScanFolder(path, mask, UnlimitedDepth, includeDirectories, services);
            else if (!link && below >= 0)
                ScanFolder(path, mask, static_cast<std::int32_t>(below), includeDirectories,
                           services);
        }
        state.scanPath = std::move(path);
        return true;
    };
    if (listedAll) {
        for (const DirEntry& entry : all)
            folderPass(entry);
    } else {
        services.fileSystem.EnumerateKinds(expanded, std::string(kAll), folderPass);
    }
}

bool RebuildCatalog(SettingsOptions& options, const ScanServices& services) {
    ScannerState& state = Scanner();
    if (state.scanning)
        return false;
    const ScanningGuard guard;
    state.scannedFolders = 0;
    state.scannedFiles = 0;
    state.newItems.clear();
    state.completed = CatalogItems();

    // A copy: the messages processed per folder may replace the record's paths.
    const SettingsOptionsCatalogPaths paths = options.catalog.paths;
    for (const SettingsOptionsCatalogPath& path : paths)
        if (path.active)
            ScanFolder(path.path, path.mask, path.depth, path.includeDirectories, services);

    if (!state.scanning)
        return false;
    options.catalog.lastRebuild = services.clock.Now();
    state.completed = CatalogItems(std::move(state.newItems));
    state.newItems.clear();
    options.catalog.items = state.completed;
    return true;
}

} // namespace orvan
