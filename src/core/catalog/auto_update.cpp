#include "core/catalog/auto_update.h"

#include "core/config/path_variables.h"

#include <algorithm>
#include <exception>
#include <string_view>
#include <unordered_map>

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

// The display names of a catalog by path, the shell asked only for paths it lacks.
class KnownNames final : public ShellNamePort {
public:
    KnownNames(const CatalogItems& catalog, const ShellNamePort& shell) : shell_(shell) {
        names_.reserve(catalog.size());
        for (const CatalogItem& item : catalog)
            if (!item.name.empty())
                names_.emplace(item.path, item.name);
    }
    std::string DisplayName(const std::string& path) const override {
        const auto known = names_.find(path);
        return known != names_.end() ? std::string(known->second) : shell_.DisplayName(path);
    }

private:
    const ShellNamePort& shell_;
    std::unordered_map<std::string_view, std::string_view> names_; // into the catalog
};

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

void AutoUpdateSchedule::Change(double now) {
    pending_ = true;
    quietUntil_ = now + kQuietSeconds;
}

void AutoUpdateSchedule::RebuildStarted() {
    rebuilding_ = true;
    // The scan sees everything that happened before it; only later changes remain.
    pendingAtStart_ = pending_;
    pending_ = false;
}

void AutoUpdateSchedule::RebuildEnded(double now, bool completed) {
    rebuilding_ = false;
    if (completed) {
        lastRebuild_ = now;
    } else if (pendingAtStart_) {
        pending_ = true;
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
    return next;
}

bool AutoUpdateSchedule::Due(double now) const {
    const std::optional<double> next = NextCheck();
    return next && now >= *next;
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
    if (result_.valid())
        result_.wait();
    stop_ = std::make_shared<std::atomic<bool>>(false);
    const FileSystemPort* fileSystem = &services.fileSystem;
    const SpecialFolderPort* folders = &services.folders;
    const ShellNamePort* shell = &services.shell;
    const ClockPort* clock = &services.clock;
    result_ = std::async(std::launch::async,
                         [paths = std::move(paths), fileSystem, folders, shell, clock,
                          previous = std::move(previous), finished = std::move(finished),
                          hooks = std::move(hooks), stop = stop_] {
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
                                 SettingsOptions options;
                                 options.catalog.paths = paths;
                                 rebuilt.completed = scan.Rebuild(options, scanServices);
                                 if (rebuilt.completed) {
                                     rebuilt.items = options.catalog.items;
                                     rebuilt.lastRebuild = options.catalog.lastRebuild;
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
