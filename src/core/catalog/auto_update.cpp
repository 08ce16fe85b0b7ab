#include "core/catalog/auto_update.h"

#include "core/catalog/catalog_update.h"
#include "core/config/path_variables.h"

#include <algorithm>
#include <exception>

namespace orvan {

namespace {

std::string WithoutTrailingDelimiter(std::string folder) {
    while (folder.size() > 1 && folder.back() == '\\' && !(folder.size() == 3 && folder[1] == ':'))
        folder.pop_back();
    return folder;
}

// Windows folder names ignore letter case; ASCII folding finds the usual duplicates.
bool SameFolder(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; };
        return upper(x) == upper(y);
    });
}

} // namespace

std::vector<WatchedFolder> AutoUpdateFolders(const SettingsOptionsCatalogPaths& paths,
                                             const SpecialFolderPort& folders) {
    std::vector<WatchedFolder> watched;
    for (const SettingsOptionsCatalogPath& path : paths) {
        if (!path.active)
            continue;
        std::string folder = WithoutTrailingDelimiter(ExpandPathVariables(folders, path.path));
        if (folder.empty())
            continue;
        const bool tree = path.depth != 0;
        const auto same = std::find_if(watched.begin(), watched.end(), [&](const WatchedFolder& w) {
            return SameFolder(w.folder, folder);
        });
        if (same != watched.end())
            same->tree = same->tree || tree;
        else
            watched.push_back({std::move(folder), tree});
    }
    return watched;
}

AutoUpdateSchedule::AutoUpdateSchedule(std::int32_t intervalSeconds, double now)
    : interval_(intervalSeconds <= 0 ? 0.0
                                     : std::max(double(intervalSeconds), kShortestIntervalSeconds)),
      lastRebuild_(now) {}

void AutoUpdateSchedule::SetInterval(std::int32_t intervalSeconds) {
    interval_ =
        intervalSeconds <= 0 ? 0.0 : std::max(double(intervalSeconds), kShortestIntervalSeconds);
}

void AutoUpdateSchedule::Change(double now) {
    EntriesChanged(now);
    full_ = true;
}

void AutoUpdateSchedule::EntriesChanged(double now) {
    pending_ = true;
    quietUntil_ = now + kQuietSeconds;
}

void AutoUpdateSchedule::RebuildStarted() {
    rebuilding_ = true;
    // The scan sees everything that happened before it; only later changes remain.
    pendingAtStart_ = pending_;
    pending_ = false;
    full_ = false;
}

void AutoUpdateSchedule::RebuildEnded(double now, bool completed, bool full) {
    rebuilding_ = false;
    if (completed) {
        if (full) {
            lastRebuild_ = now;
            catchUpAt_.reset();
        }
    } else if (pendingAtStart_) {
        pending_ = true;
        full_ = true;
        quietUntil_ = std::max(quietUntil_, now + kQuietSeconds);
    }
    pendingAtStart_ = false;
}

std::optional<double> AutoUpdateSchedule::NextCheck() const {
    if (settingsOpen_ || rebuilding_)
        return std::nullopt;
    std::optional<double> next;
    if (pending_)
        next = quietUntil_;
    if (unwatched_ && interval_ > 0) {
        const double safety = lastRebuild_ + interval_;
        next = next ? std::min(*next, safety) : safety;
    }
    if (catchUpAt_)
        next = next ? std::min(*next, *catchUpAt_) : *catchUpAt_;
    return next;
}

CatalogUpdate AutoUpdateSchedule::DueUpdate(double now) const {
    if (settingsOpen_ || rebuilding_)
        return CatalogUpdate::None;
    if (unwatched_ && interval_ > 0 && now >= lastRebuild_ + interval_)
        return CatalogUpdate::Full;
    if (catchUpAt_ && now >= *catchUpAt_)
        return CatalogUpdate::Full;
    if (pending_ && now >= quietUntil_)
        return full_ ? CatalogUpdate::Full : CatalogUpdate::Entries;
    return CatalogUpdate::None;
}

BackgroundRebuild::~BackgroundRebuild() {
    if (result_.valid()) {
        Stop();
        result_.wait();
    }
}

void BackgroundRebuild::Start(SettingsOptionsCatalogPaths paths, const ScanServices& services,
                              CatalogItems previous, std::function<void()> finished,
                              ThreadHooks hooks) {
    Launch(std::move(paths), services, std::move(previous), std::nullopt, std::move(finished),
           std::move(hooks));
}

void BackgroundRebuild::StartUpdate(SettingsOptionsCatalogPaths paths, const ScanServices& services,
                                    CatalogItems previous, std::vector<std::string> changed,
                                    std::function<void()> finished, ThreadHooks hooks) {
    Launch(std::move(paths), services, std::move(previous), std::move(changed), std::move(finished),
           std::move(hooks));
}

void BackgroundRebuild::Launch(SettingsOptionsCatalogPaths paths, const ScanServices& services,
                               CatalogItems previous,
                               std::optional<std::vector<std::string>> changed,
                               std::function<void()> finished, ThreadHooks hooks) {
    if (result_.valid())
        result_.wait();
    stop_ = std::make_shared<std::atomic<bool>>(false);
    const FileSystemPort* fileSystem = &services.fileSystem;
    const SpecialFolderPort* folders = &services.folders;
    const ShellNamePort* shell = &services.shell;
    const ClockPort* clock = &services.clock;
    result_ = std::async(std::launch::async,
                         [paths = std::move(paths), fileSystem, folders, shell, clock,
                          previous = std::move(previous), changed = std::move(changed),
                          finished = std::move(finished), hooks = std::move(hooks), stop = stop_] {
                             if (hooks.enter)
                                 hooks.enter();
                             RebuiltCatalog rebuilt;
                             try {
                                 // A scan of its own: it shares nothing with a rebuild the settings
                                 // dialog runs on the interface thread.
                                 CatalogScan scan;
                                 const KnownNames names(previous, *shell);
                                 const ScanServices scanServices{*fileSystem,
                                                                 *folders,
                                                                 names,
                                                                 *clock,
                                                                 [&stop, &scan] {
                                                                     if (stop->load())
                                                                         scan.Stop();
                                                                 },
                                                                 {}};
                                 bool rebuild = true;
                                 if (changed) {
                                     UpdatedCatalog updated = UpdateCatalogEntries(
                                         scan, previous, paths, *changed, scanServices);
                                     rebuild = updated.outcome == EntriesUpdate::RebuildNeeded;
                                     if (updated.outcome == EntriesUpdate::Updated) {
                                         rebuilt.completed = true;
                                         rebuilt.full = false;
                                         rebuilt.base = previous;
                                         rebuilt.items = CatalogItems(std::move(updated.items));
                                         rebuilt.lastRebuild = clock->Now();
                                     }
                                 }
                                 if (rebuild) {
                                     SettingsOptions options;
                                     options.catalog.paths = paths;
                                     rebuilt.completed = scan.Rebuild(options, scanServices);
                                     if (rebuilt.completed) {
                                         rebuilt.items = options.catalog.items;
                                         rebuilt.lastRebuild = options.catalog.lastRebuild;
                                     }
                                 }
                             } catch (const std::exception&) {
                                 // Out of memory on a huge tree: keep the catalog there is.
                                 rebuilt = RebuiltCatalog();
                             }
                             if (hooks.leave)
                                 hooks.leave();
                             if (finished)
                                 finished();
                             return rebuilt;
                         });
}

RebuiltCatalog BackgroundRebuild::Take() {
    if (!result_.valid())
        return {};
    return result_.get();
}

} // namespace orvan
