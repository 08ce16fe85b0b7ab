#pragma once
// The one owner of the published catalog and of every piece of background work on it: the
// load at start-up, the rebuilds and entries updates that follow the folder watches, and the
// saves of the catalog file. It lives on the interface thread. Each job runs on a thread of
// its own and hands its result back through one inbox, tagged with the job's id and the
// generations it was built on; the interface thread takes the inbox in Dispatch, the one
// place where it is decided whether a result still counts. Nothing here ever waits for a
// job on the interface thread, except Shutdown, for a bounded time.
#include "core/base/file_result.h"
#include "core/catalog/auto_update.h"
#include "core/catalog/catalog.h"
#include "core/catalog/catalog_file.h"
#include "core/catalog/catalog_save.h"
#include "core/catalog/launch_memory.h"
#include "core/catalog/scanner.h"
#include "core/config/options.h"
#include "core/ports/clock.h"
#include "core/ports/file_system.h"
#include "core/ports/folder_watch.h"
#include "core/ports/shell_names.h"
#include "core/ports/special_folders.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace orvan {

// What the keeper asks of the thread that owns it (a window, or a test's loop).
class CatalogKeeperHost {
public:
    virtual ~CatalogKeeperHost() = default;
    // Any thread: have the owning thread call CatalogKeeper::Dispatch soon. Calls may be
    // merged; one Dispatch takes everything that arrived.
    virtual void Wake() = 0;
    // Owning thread: call CatalogKeeper::OnTimer once, `seconds` from now, replacing the
    // moment asked for before; nothing cancels it.
    virtual void SetTimer(std::optional<double> seconds) = 0;
    // Owning thread: the published catalog was replaced.
    virtual void CatalogPublished() = 0;
    // Owning thread: a failure the user should learn of.
    virtual void Report(const std::string& text) = 0;
};

struct CatalogKeeperServices {
    const FileSystemPort& fileSystem;
    const SpecialFolderPort& folders;
    const ShellNamePort& shell;
    const ClockPort& clock;
    CatalogFileServices catalog;
    const FolderWatchPort* watches = nullptr; // none: the catalog does not follow the disk
    // A clock in seconds that never goes back, for the schedule.
    std::function<double()> now;
    // Run on a job's thread before and after its work (a COM apartment, the background
    // mode). They must not refer to anything that may be freed before the process ends.
    std::function<void()> enterJobThread = {};
    std::function<void()> leaveJobThread = {};
};

// The catalog file next to a catalog file name that could not be read as XML: the damaged
// file is kept there before anything is written over it.
std::string DamagedCatalogFileName(const std::string& catalogFileName);

// An active catalog path as its scan reaches entries: its folder expanded, with a trailing
// backslash, and its masks. Made once whenever the paths are applied, not per change.
struct CatalogRoot {
    std::string prefix;
    std::int32_t depth = UnlimitedDepth;
    bool includeDirectories = false;
    std::vector<std::string> masks;
};
std::vector<CatalogRoot> CatalogRoots(const SettingsOptionsCatalogPaths& paths,
                                      const SpecialFolderPort& folders);

class CatalogKeeper {
public:
    // How long a scan may take to stop when the program ends; a load or scan still running
    // after that is left to end with the process.
    static constexpr double kShutdownWaitSeconds = 0.5;
    // A load that fails for another reason than a missing file is tried this many more
    // times, after 1, 2, 4, ... seconds.
    static constexpr int kLoadRetries = 3;
    // From changes alone, at most one full rebuild and one save per this many seconds.
    static constexpr double kChangeCostSeconds = 60.0;

    // `record` is the options record the search reads the catalog from (the process-wide
    // options); Publish is the only writer of its catalog.
    CatalogKeeper(const CatalogKeeperServices& services, CatalogKeeperHost& host,
                  SettingsOptions& record);
    // Shutdown.
    ~CatalogKeeper();
    CatalogKeeper(const CatalogKeeper&) = delete;
    CatalogKeeper& operator=(const CatalogKeeper&) = delete;

    // Starts reading the catalog file beside the record's options file.
    void StartLoad();
    // Takes over the record's paths, interval and AutoUpdate switch: starts, restarts or
    // ends the watches (on a thread of their own: opening a folder can take a network's
    // time-out). Paths that differ from the last ones make every result built for them
    // obsolete.
    void Apply(const SettingsOptions& options);
    // While the settings dialog is open nothing is rebuilt in the background; what the
    // watches see meanwhile is done once it closes.
    void SetSettingsOpen(bool open);
    // The settings dialog's rebuild of its copy's paths, on the scan whose progress it shows:
    // a background scan like any other (a scan of the automatic update is stopped first),
    // whose result goes to `ended`, on this thread, and is never published from here.
    using DialogRebuildEnded =
        std::function<void(bool completed, CatalogItems items, double lastRebuild)>;
    void StartDialogRebuild(SettingsOptionsCatalogPaths paths, std::shared_ptr<CatalogScan> scan,
                            DialogRebuildEnded ended);
    // The settings dialog's OK after it rebuilt the catalog for `paths`: published when
    // those are the current paths, as any other result would be.
    void OfferRebuilt(const SettingsOptionsCatalogPaths& paths, CatalogItems items,
                      double lastRebuild);

    // Takes what the jobs and the watches have handed in and decides what it means.
    void Dispatch();
    // The host's timer.
    void OnTimer();

    // Whether the catalog file may be written: not while the file holds entries that
    // could not be read, until a load or a rebuild has succeeded.
    bool SaveAllowed() const { return !saveBlocked_; }
    // Whether the close command may write the record's catalog to the file: not while the
    // file could not be read, nor while it is still being loaded with nothing published.
    bool CatalogSaveAllowed() const;

    // What the relevance order learned from the entries started (use counts and typed texts).
    const LaunchMemory& Memory() const { return memory_; }
    // A start of the catalog entry listed as name and path for the typed text: counted and
    // remembered for the text. The typed texts' file is written at once; the counts go into
    // the catalog file with its next save, at the latest when the program ends.
    void RecordLaunch(std::string_view text, std::string_view name, std::string_view path);
    // Forgets every count and typed text, and says so in both files.
    void ForgetLaunches();
    // Waits for the background save (before the file is written another way); its
    // failures are reported.
    void WaitForSave();
    // The record's catalog has just been written by other means (the close command): a
    // save still held back is no longer due.
    void NoteSaved() { savePending_ = false; }

    // Stops every job and waits up to kShutdownWaitSeconds for them; a save still due (one
    // held back by the minute between saves) is made, and the last save finishes. Nothing is
    // published afterwards.
    void Shutdown();

    // For tests and measurements: whether a load, scan or watch start is still running;
    // the watches are on and healthy.
    bool Busy() const;
    bool DialogRebuilding() const { return dialogId_ != 0; }
    bool Rebuilding() const { return scanId_ != 0; }
    bool Active() const { return schedule_.has_value(); }
    // Blocks until the load has been published (tests and measurements only).
    void WaitForLoad();
    std::uint64_t Generation() const { return catalogGeneration_; }
    std::uint64_t PathsGeneration() const { return pathsGeneration_; }
    std::uint64_t SavesStarted() const { return savesStarted_; }
    std::uint64_t ScansStarted() const { return scansStarted_; }

private:
    enum class JobKind { Load, Scan, Watches, DialogScan };
    enum class LoadOutcome { Read, Missing, Unreadable, Damaged };

    // What a job hands back.
    struct JobResult {
        JobKind kind = JobKind::Scan;
        std::uint64_t id = 0;
        std::uint64_t pathsGeneration = 0;   // the paths it was built for
        std::uint64_t catalogGeneration = 0; // the catalog it started from
        bool completed = false;
        bool full = true;           // scanned in full; else an entries update of its base
        bool unchanged = false;     // the result equals the catalog it started from
        bool needsFull = false;     // an entries update that only a full rebuild can do
        bool folderMissing = false; // a watched folder is not there (any more)
        CatalogItems items;
        double lastRebuild = 0;
        LoadOutcome load = LoadOutcome::Read;
        std::string error;
        std::vector<std::unique_ptr<FolderWatch>> watches; // nullptr where none could start
    };

    // What the watch threads hand in.
    struct Changes {
        std::vector<std::string> entries;
        bool unnamed = false; // something changed that was not named, or too much was
        bool lost = false;    // a watch ended (its folder went, or it failed)
    };

    // The inbox the workers and watches write and Dispatch takes, with the running jobs'
    // threads; shared with the threads, so that a thread left running at shutdown never
    // touches a freed keeper.
    struct Inbox {
        std::mutex mutex;
        std::condition_variable arrived;
        std::deque<JobResult> results;
        Changes changes;
        std::uint64_t watchGeneration = 0; // changes of older watches are ignored
        bool saveFailed = false;           // a background save failed
        bool woken = false;                // a Dispatch is on its way
        bool closed = false;               // shut down: no more waking
        CatalogKeeperHost* host = nullptr;
    };

    struct Job {
        std::uint64_t id = 0;
        std::shared_ptr<std::atomic<bool>> stop;
        std::thread thread;
    };

    void Post(JobResult result);
    void StartJob(JobKind kind, std::function<JobResult(const std::atomic<bool>& stop)> work);
    void ReapJob(std::uint64_t id);
    void StopJob(std::uint64_t id);
    void StopScan();
    void StartWatches();
    void StopWatches();
    void StartScan(CatalogUpdate due);
    void OnLoaded(JobResult& result);
    void OnScanned(JobResult& result);
    void OnWatchesStarted(JobResult& result);
    void TakeChanges();
    void Publish(CatalogItems items, double lastRebuild, bool save);
    void SaveWhenDue();
    void Reschedule();
    double Now() const { return services_.now ? services_.now() : 0.0; }

    CatalogKeeperServices services_;
    CatalogKeeperHost& host_;
    SettingsOptions& record_;
    LaunchMemory memory_;
    bool typedRead_ = false;       // the typed texts' file was read (or found missing)
    bool typedUnreadable_ = false; // it exists but could not be read: never written over
    void SaveTypedTexts();
    std::shared_ptr<Inbox> inbox_ = std::make_shared<Inbox>();
    BackgroundCatalogSave save_;

    // The published catalog's generation: every Publish counts it up. The paths' generation
    // counts every change of the catalog paths.
    std::uint64_t catalogGeneration_ = 0;
    std::uint64_t pathsGeneration_ = 0;
    SettingsOptionsCatalogPaths paths_;
    std::vector<CatalogRoot> roots_; // the paths' active folders, for judging changes
    bool pathsKnown_ = false;
    // The catalog may not match the paths: changed since the last full scan.
    bool pathsChanged_ = false;

    std::uint64_t nextId_ = 0;
    std::vector<Job> jobs_;       // running or ended but not yet joined
    std::uint64_t loadId_ = 0;    // the load that counts; 0 when none runs
    std::uint64_t scanId_ = 0;    // the scan that counts; 0 when none runs
    std::uint64_t watchesId_ = 0; // the watch start that counts
    std::uint64_t dialogId_ = 0;  // the settings dialog's rebuild that counts
    DialogRebuildEnded dialogEnded_;

    int loadAttempts_ = 0;
    std::optional<double> loadRetryAt_;
    bool loadReported_ = false;
    bool saveBlocked_ = false;

    // The automatic update.
    std::optional<AutoUpdateSchedule> schedule_;
    std::vector<WatchedFolder> folders_;
    std::int32_t interval_ = 0;
    std::vector<std::unique_ptr<FolderWatch>> watches_;
    bool unwatched_ = false;
    bool settingsOpen_ = false;
    std::vector<std::string> pendingEntries_; // named by the watches, not yet rescanned
    bool fullDeferred_ = false;               // a full rebuild waits for its minute
    std::optional<double> lastFullRebuild_;
    std::optional<double> lastAutoSave_;
    bool savePending_ = false;
    std::uint64_t savesStarted_ = 0;
    std::uint64_t scansStarted_ = 0;
    bool shutDown_ = false;
};

} // namespace orvan
