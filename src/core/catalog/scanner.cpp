#include "core/catalog/scanner.h"

#include "core/config/path_variables.h"

namespace orvan {

namespace {

// Clears the flag however the rebuild ends, an escaping error included; a Stop that came
// while it ran was for this rebuild and is used up with it.
class ScanningGuard {
public:
    ScanningGuard(std::atomic<bool>& scanning, std::atomic<bool>& stopped)
        : scanning_(scanning), stopped_(stopped) {
        scanning_ = true;
    }
    ~ScanningGuard() {
        scanning_ = false;
        stopped_ = false;
    }
    ScanningGuard(const ScanningGuard&) = delete;
    ScanningGuard& operator=(const ScanningGuard&) = delete;

private:
    std::atomic<bool>& scanning_;
    std::atomic<bool>& stopped_;
};

std::string WithTrailingDelimiter(const std::string& folder) {
    return !folder.empty() && folder.back() == '\\' ? folder : folder + "\\";
}

} // namespace

void CatalogScan::AddItem(const std::string& path, const std::string& name) {
    CatalogItem item;
    item.path = path;
    item.name = name;
    newItems_.push_back(std::move(item));
    ++itemCount_;
}

void CatalogScan::SetScanPath(std::string path) {
    const std::lock_guard lock(pathMutex_);
    scanPath_ = std::move(path);
}

void CatalogScan::ScanFolder(const std::string& folder, const std::string& mask, std::int32_t depth,
                             bool includeDirectories, const ScanServices& services,
                             const SubfolderShortcut* shortcut) {
    if (!scanning_)
        return;
    ++scannedFolders_;
    if (services.processMessages)
        services.processMessages();
    // Stopped meanwhile: the folder's searches would be work for a catalog no one keeps.
    if (!scanning_)
        return;

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
                AddItem(path, services.shell.DisplayName(path));
            SetScanPath(std::move(path));
            ++scannedFiles_;
            if (services.betweenEntries)
                services.betweenEntries();
            return scanning_.load(); // a stop ends the search here
        });
        if (!scanning_)
            return;
        listedAll = listedAll || keep;
    }

    const auto folderPass = [&](const DirEntry& entry) {
        if (!scanning_)
            return false;
        // This search leaves out hidden and system entries.
        if ((entry.attributes & (FileAttribute::Hidden | FileAttribute::System)) != 0)
            return true;
        std::string path = prefix + entry.name;
        if (!entry.name.empty() && entry.name.front() != '.' &&
            (entry.attributes & FileAttribute::Directory) != 0) {
            if (includeDirectories)
                AddItem(path, {});
            // Links are listed but never entered: a link to an ancestor would never end.
            const bool link = (entry.attributes & FileAttribute::ReparsePoint) != 0;
            const std::int64_t below = static_cast<std::int64_t>(depth) - 1;
            const bool enter = !link && (depth == UnlimitedDepth || below >= 0);
            const bool kept = enter && shortcut != nullptr && (*shortcut)(path, newItems_);
            if (kept)
                itemCount_ = newItems_.size();
            if (enter && !kept)
                ScanFolder(path, mask,
                           depth == UnlimitedDepth ? UnlimitedDepth
                                                   : static_cast<std::int32_t>(below),
                           includeDirectories, services, shortcut);
        }
        SetScanPath(std::move(path));
        return true;
    };
    if (listedAll) {
        for (const DirEntry& entry : all)
            if (!folderPass(entry))
                break;
    } else {
        services.fileSystem.EnumerateKinds(expanded, std::string(kAll), folderPass);
    }
}

std::optional<std::vector<CatalogItem>>
CatalogScan::ScanCatalogPath(const SettingsOptionsCatalogPath& path, const ScanServices& services,
                             const SubfolderShortcut& shortcut) {
    if (scanning_ || stopped_.exchange(false))
        return std::nullopt;
    const ScanningGuard guard(scanning_, stopped_);
    newItems_.clear();
    itemCount_ = 0;
    ScanFolder(path.path, path.mask, path.depth, path.includeDirectories, services,
               shortcut ? &shortcut : nullptr);
    if (!scanning_)
        return std::nullopt;
    std::vector<CatalogItem> items = std::move(newItems_);
    newItems_.clear();
    itemCount_ = 0;
    return items;
}

bool CatalogScan::Rebuild(SettingsOptions& options, const ScanServices& services) {
    if (scanning_ || stopped_.exchange(false))
        return false;
    const ScanningGuard guard(scanning_, stopped_);
    scannedFolders_ = 0;
    scannedFiles_ = 0;
    newItems_.clear();
    itemCount_ = 0;
    completed_ = CatalogItems();

    // A copy: the messages processed per folder may replace the record's paths.
    const SettingsOptionsCatalogPaths paths = options.catalog.paths;
    for (const SettingsOptionsCatalogPath& path : paths)
        if (path.active)
            ScanFolder(path.path, path.mask, path.depth, path.includeDirectories, services);

    if (!scanning_)
        return false;
    options.catalog.lastRebuild = services.clock.Now();
    completed_ = CatalogItems(std::move(newItems_));
    newItems_.clear();
    options.catalog.items = completed_;
    return true;
}

} // namespace orvan
