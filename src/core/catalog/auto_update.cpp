#include "core/catalog/auto_update.h"

#include "core/base/utf.h"

#include "core/config/path_variables.h"

#include <algorithm>

namespace orvan {

namespace {

std::string WithoutTrailingDelimiter(std::string folder) {
    while (folder.size() > 1 && folder.back() == '\\' && !(folder.size() == 3 && folder[1] == ':'))
        folder.pop_back();
    return folder;
}

// Windows folder names ignore letter case; ASCII folding finds the usual duplicates.
bool SameFolder(const std::string& a, const std::string& b) {
    return AsciiEqualIgnoringCase(a, b);
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

} // namespace orvan
