#pragma once
// Keeps the catalog current while the launcher runs: watches the folders of the active
// catalog paths, and after their changes have settled rebuilds the catalog on a thread of
// its own; the search window publishes the result. The watch threads and the rebuild post
// messages to the window; a one-shot timer wakes it when the schedule is due. Nothing polls.
#include "core/app/services.h"
#include "core/catalog/auto_update.h"
#include "core/config/options.h"

#include <windows.h>

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace orvan::ui {

// Posted by a watch thread: wParam the FolderChange, lParam the watch's generation. The
// entries a Changed report names wait in a list the interface thread takes; one message
// stands for everything named until then.
inline constexpr UINT kFolderChangedMessage = WM_APP + 3;
// Posted by the rebuild's thread when it has ended.
inline constexpr UINT kCatalogRebuiltMessage = WM_APP + 4;
// The search window's timer that wakes the schedule.
inline constexpr UINT_PTR kAutoUpdateTimer = 20;

class CatalogAutoUpdate {
public:
    CatalogAutoUpdate(const ProgramServices& services, HWND window);
    ~CatalogAutoUpdate();
    CatalogAutoUpdate(const CatalogAutoUpdate&) = delete;
    CatalogAutoUpdate& operator=(const CatalogAutoUpdate&) = delete;

    // Starts, restarts or (AutoUpdate off) ends the watches for these options. Cheap when
    // the folders and the interval are unchanged.
    void Apply(const SettingsOptions& options);
    void SetSettingsOpen(bool open);

    void OnFolderChanged(WPARAM change, LPARAM generation);
    void OnTimer();
    // The ended rebuild's result, when it completed and still counts for the catalog now
    // current (an update from named entries counts only for the catalog it started from);
    // the caller publishes it.
    std::optional<RebuiltCatalog> TakeRebuilt(const CatalogItems& current);

    bool Active() const { return schedule_.has_value(); }
    bool Rebuilding() const { return rebuild_.Pending(); }

private:
    // What the watch threads have named since the interface thread last took it.
    struct ChangedEntries {
        std::mutex mutex;
        std::vector<std::string> entries;
        bool unnamed = false; // something changed that was not named, or too much was
        bool posted = false;  // a message is on its way
    };

    static double Now();
    void StartWatches();
    void StopWatches();
    void Reschedule();
    void NoteChangedEntries();
    void StartRebuild(CatalogUpdate due);
    bool WatchedFolderMissing() const;

    const ProgramServices& services_;
    HWND window_;
    SettingsOptionsCatalogPaths paths_;
    std::vector<WatchedFolder> folders_;
    std::int32_t interval_ = 0;
    std::vector<std::unique_ptr<FolderWatch>> watches_; // nullptr where none runs
    bool unwatched_ = false;                            // a watch could not start or has ended
    LPARAM generation_ = 0;                             // messages of earlier watches are ignored
    std::optional<AutoUpdateSchedule> schedule_;
    bool settingsOpen_ = false;
    // The paths changed since the catalog was last scanned in full: the catalog may not
    // match them, so the next update scans in full.
    bool pathsChanged_ = false;
    bool applied_ = false; // paths_ holds the paths of an earlier Apply
    std::shared_ptr<ChangedEntries> changed_ = std::make_shared<ChangedEntries>();
    BackgroundRebuild rebuild_;
};

} // namespace orvan::ui
