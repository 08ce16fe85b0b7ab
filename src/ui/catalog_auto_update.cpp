#include "ui/catalog_auto_update.h"

#include "core/catalog/catalog_update.h"

#include <objbase.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <utility>

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
    if (applied_ && options.catalog.paths != paths_)
        pathsChanged_ = true;
    applied_ = true;
    paths_ = options.catalog.paths;
    std::vector<WatchedFolder> folders = AutoUpdateFolders(paths_, services_.options.folders);
    if (schedule_ && folders == folders_ && options.catalog.interval == interval_)
        return;
    folders_ = std::move(folders);
    interval_ = options.catalog.interval;
    const bool pending = schedule_ && schedule_->NextCheck().has_value();
    // Started, or switched on: the catalog may be behind the disk. New watches for other
    // folders keep a catch-up still to come.
    const std::optional<double> catchUp =
        schedule_ ? schedule_->CatchUpTime()
                  : std::optional<double>(Now() + AutoUpdateSchedule::kCatchUpSeconds);
    schedule_.emplace(interval_, Now());
    schedule_->SetSettingsOpen(settingsOpen_);
    if (pending) // what the old watches saw still wants its rebuild
        schedule_->Change(Now());
    if (catchUp)
        schedule_->CatchUpAt(*catchUp);
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
            [window, generation, changed = changed_](FolderChange change,
                                                     std::vector<std::string> entries) {
                if (change == FolderChange::Changed) {
                    bool post = false;
                    {
                        const std::lock_guard lock(changed->mutex);
                        if (!changed->unnamed) {
                            if (entries.empty() ||
                                changed->entries.size() + entries.size() > kMostChangedEntries) {
                                changed->unnamed = true; // a full rebuild sees it all
                                changed->entries = {};
                            } else {
                                changed->entries.insert(changed->entries.end(),
                                                        std::make_move_iterator(entries.begin()),
                                                        std::make_move_iterator(entries.end()));
                            }
                        }
                        post = !std::exchange(changed->posted, true);
                    }
                    if (!post)
                        return;
                }
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

void CatalogAutoUpdate::NoteChangedEntries() {
    bool unnamed = false;
    bool named = false;
    {
        const std::lock_guard lock(changed_->mutex);
        changed_->posted = false;
        unnamed = changed_->unnamed;
        named = !changed_->entries.empty();
    }
    // Nothing left when a rebuild has taken the entries meanwhile.
    if (unnamed)
        schedule_->Change(Now());
    else if (named)
        schedule_->EntriesChanged(Now());
}

void CatalogAutoUpdate::OnFolderChanged(WPARAM change, LPARAM generation) {
    if (!schedule_)
        return;
    const auto kind = FolderChange(change);
    if (kind == FolderChange::Changed) {
        // Entries named by earlier watches changed on the disk all the same.
        NoteChangedEntries();
        Reschedule();
        return;
    }
    if (generation != generation_)
        return;
    schedule_->Change(Now());
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
    if (const CatalogUpdate due = schedule_->DueUpdate(Now()); due != CatalogUpdate::None)
        StartRebuild(due);
    else
        Reschedule();
}

void CatalogAutoUpdate::StartRebuild(CatalogUpdate due) {
    std::vector<std::string> entries;
    bool unnamed = false;
    {
        const std::lock_guard lock(changed_->mutex);
        entries = std::exchange(changed_->entries, {});
        unnamed = std::exchange(changed_->unnamed, false);
    }
    const bool full = due == CatalogUpdate::Full || unnamed || pathsChanged_;
    schedule_->RebuildStarted();
    if (!full && entries.empty()) { // an earlier update took them
        schedule_->RebuildEnded(Now(), true, false);
        Reschedule();
        return;
    }
    const HWND window = window_;
    const ScanServices scan{services_.options.fileSystem,
                            services_.options.folders,
                            *services_.shellNames,
                            *services_.clock,
                            {}};
    auto finished = [window] { ::PostMessageW(window, kCatalogRebuiltMessage, 0, 0); };
    // Display names come from the shell, which wants a COM apartment on its thread.
    BackgroundRebuild::ThreadHooks hooks{
        // The scan runs in the background mode, at low processor and disk priority, so
        // that typing and the programs the user starts come first.
        [] {
            ::SetThreadPriority(::GetCurrentThread(), THREAD_MODE_BACKGROUND_BEGIN);
            ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
        },
        [] {
            ::CoUninitialize();
            ::SetThreadPriority(::GetCurrentThread(), THREAD_MODE_BACKGROUND_END);
        }};
    if (full)
        rebuild_.Start(paths_, scan, CurrentOptions().catalog.items, finished, std::move(hooks));
    else
        rebuild_.StartUpdate(paths_, scan, CurrentOptions().catalog.items, std::move(entries),
                             finished, std::move(hooks));
}

std::optional<RebuiltCatalog> CatalogAutoUpdate::TakeRebuilt(const CatalogItems& current) {
    if (!rebuild_.Pending())
        return std::nullopt;
    RebuiltCatalog rebuilt = rebuild_.Take();
    if (!schedule_)
        return std::nullopt; // turned off meanwhile
    // Stopped for the settings dialog: its changes are still to do. An update from named
    // entries built on a catalog that has been replaced since (the file's, loaded late)
    // would lose the replacement: a full rebuild follows instead.
    const bool completed =
        rebuilt.completed && !settingsOpen_ && (rebuilt.full || current.SharesWith(rebuilt.base));
    schedule_->RebuildEnded(Now(), completed, rebuilt.full);
    if (completed && rebuilt.full)
        pathsChanged_ = false;
    if (completed && (unwatched_ || WatchedFolderMissing()))
        StartWatches(); // a folder that was missing or failed may be back
    Reschedule();
    if (!completed)
        return std::nullopt;
    return rebuilt;
}

} // namespace orvan::ui
