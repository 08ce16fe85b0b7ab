#pragma once
// Keeping the catalog current while the launcher runs: which folders to watch and when a
// rebuild is due. The schedule is a pure model driven by a clock in seconds, so that every
// rule is tested without threads; the catalog's owner (catalog_keeper.h) runs the rebuilds.
#include "core/catalog/catalog.h"
#include "core/catalog/scanner.h"
#include "core/ports/special_folders.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvan {

struct WatchedFolder {
    std::string folder; // expanded, without a trailing backslash (but "C:\")
    bool tree = true;   // everything below it, or (depth 0) only its own entries

    bool operator==(const WatchedFolder&) const = default;
};

// The folders of the active catalog paths, path variables expanded; a path that expands to
// nothing is left out. A folder named twice is watched once, as a tree if either wants it.
std::vector<WatchedFolder> AutoUpdateFolders(const SettingsOptionsCatalogPaths& paths,
                                             const SpecialFolderPort& folders);

// What an update does: nothing, rescan the entries the watches named, or rebuild in full.
enum class CatalogUpdate { None, Entries, Full };

// When to rebuild. Every change restarts a quiet period, so that an installer writing a
// thousand files causes one rebuild after it has finished. The interval is a safety net
// only while a change could have gone unseen (a folder without a working watch); with
// every watch healthy the catalog follows the watches alone, and an idle launcher never
// rebuilds. A rebuild never starts while the settings dialog is open (it rebuilds and
// replaces the catalog itself) or while one runs; a change meanwhile rebuilds afterwards.
class AutoUpdateSchedule {
public:
    static constexpr double kQuietSeconds = 2.0;
    // A failing watch must not turn into a rebuild loop: the shortest interval honoured.
    static constexpr double kShortestIntervalSeconds = 60.0;
    // How long after the launcher's start it catches up with what changed while it was not
    // running: soon enough to find a program installed meanwhile, late enough to leave the
    // start-up and the first keystrokes alone.
    static constexpr double kCatchUpSeconds = 30.0;

    // intervalSeconds <= 0 turns the safety net off. The start counts as the last rebuild:
    // the catalog loaded at start-up was complete when it was saved.
    AutoUpdateSchedule(std::int32_t intervalSeconds, double now);

    // Anything may have changed: the system dropped changes or did not say which entries
    // changed, or a watched folder went away. A full rebuild sees them all.
    void Change(double now);
    // Entries the watches named came or went: rescanning those is enough, unless a full
    // rebuild is wanted anyway.
    void EntriesChanged(double now);
    // The catalog loaded at start knows nothing of what changed while the launcher was not
    // running, and the watches see only what changes from now on: one full rebuild at
    // `when` catches up, unless a full rebuild completes before.
    void CatchUpAt(double when) { catchUpAt_ = when; }
    std::optional<double> CatchUpTime() const { return catchUpAt_; }
    // Whether some folder has no working watch: it could not be started, failed or ended.
    void SetUnwatched(bool any) { unwatched_ = any; }
    void SetSettingsOpen(bool open) { settingsOpen_ = open; }
    // Another interval for the safety net; what is pending stays pending.
    void SetInterval(std::int32_t intervalSeconds);
    // Takes everything pending: the named entries with an entries update, everything with
    // a full rebuild.
    void RebuildStarted();
    // completed: the new catalog was published; full: it was scanned in full (which alone
    // satisfies the interval). Otherwise the changes are still to do, and since the names
    // were handed over, a full rebuild does them.
    void RebuildEnded(double now, bool completed, bool full);

    CatalogUpdate DueUpdate(double now) const;
    bool Due(double now) const { return DueUpdate(now) != CatalogUpdate::None; }
    // The moment Due may turn true with no further event; none while suppressed (the end
    // of the suppression asks again) or when nothing waits.
    std::optional<double> NextCheck() const;
    bool Rebuilding() const { return rebuilding_; }

private:
    double interval_;
    double lastRebuild_;
    double quietUntil_ = 0;
    bool pending_ = false;
    bool full_ = false; // what is pending needs a full rebuild
    std::optional<double> catchUpAt_;
    bool pendingAtStart_ = false; // what a rebuild that does not complete gives back
    bool unwatched_ = false;
    bool settingsOpen_ = false;
    bool rebuilding_ = false;
};

} // namespace orvan
