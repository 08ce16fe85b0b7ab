#include "ui/catalog_auto_update.h"

#include <objbase.h>

#include <algorithm>
#include <cmath>

namespace orvan::ui {

CatalogAutoUpdate::CatalogAutoUpdate(const ProgramServices& services, HWND window)
    : services_(services), window_(window) {}

CatalogAutoUpdate::~CatalogAutoUpdate() {
    StopWatches();
    ::KillTimer(window_, kAutoUpdateTimer);
    // The rebuild's destructor stops it and waits; its message may still arrive at a
    // window that ignores it.
}

double CatalogAutoUpdate::Now() {
    return double(::GetTickCount64()) / 1000.0;
}

void CatalogAutoUpdate::Apply(const SettingsOptions& options) {
    const bool on = options.catalog.autoUpdate && services_.folderWatches != nullptr &&
                    services_.shellNames != nullptr && services_.clock != nullptr;
    if (!on) {
        StopWatches();
        rebuild_.Stop();
        schedule_.reset();
        ::KillTimer(window_, kAutoUpdateTimer);
        return;
    }
    paths_ = options.catalog.paths;
    std::vector<WatchedFolder> folders = AutoUpdateFolders(paths_, services_.options.folders);
    if (schedule_ && folders == folders_ && options.catalog.interval == interval_)
        return;
    folders_ = std::move(folders);
    interval_ = options.catalog.interval;
    const bool pending = schedule_ && schedule_->NextCheck().has_value();
    schedule_.emplace(interval_, Now());
    schedule_->SetSettingsOpen(settingsOpen_);
    if (pending) // what the old watches saw still wants its rebuild
        schedule_->Change(Now());
    StartWatches();
    Reschedule();
}

void CatalogAutoUpdate::StartWatches() {
    StopWatches();
    const LPARAM generation = ++generation_;
    const HWND window = window_;
    bool unwatched = false;
    for (const WatchedFolder& folder : folders_) {
        watches_.push_back(services_.folderWatches->Watch(
            folder.folder, folder.tree,
            [window, generation](FolderChange change, std::vector<std::string>) {
                ::PostMessageW(window, kFolderChangedMessage, WPARAM(change), generation);
            }));
        unwatched = unwatched || watches_.back() == nullptr;
    }
    unwatched_ = unwatched;
    schedule_->SetUnwatched(unwatched);
}

void CatalogAutoUpdate::StopWatches() {
    ++generation_;
    watches_.clear();
}

void CatalogAutoUpdate::SetSettingsOpen(bool open) {
    settingsOpen_ = open;
    if (!schedule_)
        return;
    schedule_->SetSettingsOpen(open);
    if (open)
        rebuild_.Stop(); // the dialog rebuilds and replaces the catalog itself
    Reschedule();
}

void CatalogAutoUpdate::OnFolderChanged(WPARAM change, LPARAM generation) {
    if (!schedule_ || generation != generation_)
        return;
    schedule_->Change(Now());
    const auto kind = FolderChange(change);
    if (kind == FolderChange::Gone || kind == FolderChange::Failed) {
        // The watch has ended by itself; which one does not matter: after the next
        // completed rebuild every ended watch is tried again.
        unwatched_ = true;
        schedule_->SetUnwatched(true);
    }
    Reschedule();
}

void CatalogAutoUpdate::Reschedule() {
    if (!schedule_)
        return;
    const std::optional<double> next = schedule_->NextCheck();
    if (!next) {
        ::KillTimer(window_, kAutoUpdateTimer);
        return;
    }
    const double wait = std::max(0.0, *next - Now());
    // USER timers take at most about 24.8 days; the interval is far below.
    const UINT milliseconds = UINT(std::min(std::ceil(wait * 1000.0), 2.0e9)) + 1;
    ::SetTimer(window_, kAutoUpdateTimer, milliseconds, nullptr);
}

bool CatalogAutoUpdate::WatchedFolderMissing() const {
    // Not every system ends a watch whose folder went away (Wine keeps waiting): the
    // folders are looked for after every rebuild, which their removal has caused.
    for (std::size_t i = 0; i < folders_.size() && i < watches_.size(); ++i)
        if (watches_[i] != nullptr &&
            !services_.options.fileSystem.FolderExists(folders_[i].folder))
            return true;
    return false;
}

void CatalogAutoUpdate::OnTimer() {
    ::KillTimer(window_, kAutoUpdateTimer);
    if (!schedule_)
        return;
    if (schedule_->Due(Now()))
        StartRebuild();
    else
        Reschedule();
}

void CatalogAutoUpdate::StartRebuild() {
    schedule_->RebuildStarted();
    const HWND window = window_;
    const ScanServices scan{services_.options.fileSystem,
                            services_.options.folders,
                            *services_.shellNames,
                            *services_.clock,
                            {}};
    rebuild_.Start(
        paths_, scan, CurrentOptions().catalog.items,
        [window] { ::PostMessageW(window, kCatalogRebuiltMessage, 0, 0); },
        // Display names come from the shell, which wants a COM apartment on its thread.
        {[] { ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE); },
         [] { ::CoUninitialize(); }});
}

std::optional<RebuiltCatalog> CatalogAutoUpdate::TakeRebuilt() {
    if (!rebuild_.Pending())
        return std::nullopt;
    RebuiltCatalog rebuilt = rebuild_.Take();
    if (!schedule_)
        return std::nullopt; // turned off meanwhile
    // Stopped for the settings dialog: its changes are still to do.
    const bool completed = rebuilt.completed && !settingsOpen_;
    schedule_->RebuildEnded(Now(), completed);
    if (completed && (unwatched_ || WatchedFolderMissing()))
        StartWatches(); // a folder that was missing or failed may be back
    Reschedule();
    if (!completed)
        return std::nullopt;
    return rebuilt;
}

} // namespace orvan::ui
