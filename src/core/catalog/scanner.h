#pragma once
// The catalog scanner: walks the active catalog paths of an options record and, when the
// walk completes, gives the record a new catalog. It runs on the user-interface thread and
// lets pending window messages run once per folder (and, if the caller wants, between the
// entries of a folder); stopping the scan from there cancels at once.
#include "core/catalog/catalog.h"
#include "core/config/options.h"
#include "core/ports/clock.h"
#include "core/ports/file_system.h"
#include "core/ports/shell_names.h"
#include "core/ports/special_folders.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace orvan {

struct ScanServices {
    const FileSystemPort& fileSystem;
    const SpecialFolderPort& folders;
    const ShellNamePort& shell;
    const ClockPort& clock;
    // Lets pending window messages run; called once per folder entered. May be empty.
    std::function<void()> processMessages;
    // Called after each entry of a folder's searches, so that a caller whose folders hold
    // very many files can let messages run in between as well (as often as it chooses): a
    // folder of thousands of shell look-ups would otherwise hold the progress display and
    // the Stop button. May be empty.
    std::function<void()> betweenEntries = {};
};

// A catalog rebuild and its progress. Whoever starts rebuilds owns one; whoever shows the
// progress reads it (the settings dialog's counters, the command line's progress line) and
// may stop it. The progress and Stop may be used from another thread than the one that
// scans (the settings dialog shows a scan that runs beside the interface thread).
class CatalogScan {
public:
    // Rebuilds the record's catalog. False when this scan is already running (nothing
    // happens) or when it was stopped (the record keeps its catalog and rebuild time).
    bool Rebuild(SettingsOptions& options, const ScanServices& services);

    // Asked before the scan enters a subfolder (its full path, as the scan would enter it):
    // true when the callback has appended the subfolder's entries to `items` itself, and
    // the scan then leaves it alone; false to have it scanned.
    using SubfolderShortcut =
        std::function<bool(const std::string& subfolder, std::vector<CatalogItem>& items)>;
    // Scans one catalog path as Rebuild does (active or not), with shortcut asked before
    // every subfolder the scan would enter, and hands the entries over. Nothing when this
    // scan is already running or was stopped.
    std::optional<std::vector<CatalogItem>> ScanCatalogPath(const SettingsOptionsCatalogPath& path,
                                                            const ScanServices& services,
                                                            const SubfolderShortcut& shortcut);
    // Ends a running rebuild at the next entry, or the next one to start before it begins
    // (a scan handed to another thread may be stopped before that thread starts it); from
    // any thread.
    void Stop() {
        stopped_.store(true);
        scanning_.store(false);
    }

    bool Scanning() const { return scanning_.load(); }
    std::int32_t ScannedFolders() const { return scannedFolders_.load(); }
    // Entries returned by the mask searches, "." and ".." too.
    std::int32_t ScannedFiles() const { return scannedFiles_.load(); }
    // The entry seen last, in either pass.
    std::string ScanPath() const {
        const std::lock_guard lock(pathMutex_);
        return scanPath_;
    }
    // The catalog under construction; after a stop, what was collected until then (on the
    // scanning thread, or once the scan has ended).
    const std::vector<CatalogItem>& NewItems() const { return newItems_; }
    // What the last completed rebuild handed over to its record (the same).
    const CatalogItems& Completed() const { return completed_; }
    // The entries being collected, or after a completed rebuild those handed over.
    std::size_t NewItemCount() const { return itemCount_.load(); }

private:
    // Scans one folder (path variables expanded on entry) and, within depth, its subfolders.
    void ScanFolder(const std::string& folder, const std::string& mask, std::int32_t depth,
                    bool includeDirectories, const ScanServices& services,
                    const SubfolderShortcut* shortcut = nullptr);
    void AddItem(const std::string& path, const std::string& name);

    void SetScanPath(std::string path);

    std::atomic<bool> scanning_{false};
    std::atomic<bool> stopped_{false}; // a Stop not yet taken by a scan
    std::atomic<std::int32_t> scannedFolders_{0};
    std::atomic<std::int32_t> scannedFiles_{0};
    std::atomic<std::size_t> itemCount_{0};
    mutable std::mutex pathMutex_;
    std::string scanPath_;
    std::vector<CatalogItem> newItems_;
    CatalogItems completed_;
};

} // namespace orvan
