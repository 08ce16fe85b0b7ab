#include "core/catalog/catalog_keeper.h"

#include "core/catalog/relevance_index.h"

#include "core/base/utf.h"
#include "core/base/wildcard.h"
#include "core/catalog/catalog_update.h"
#include "core/config/path_variables.h"
#include "core/config/temporary_files.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <exception>
#include <iterator>
#include <string_view>
#include <utility>

namespace orvan {

namespace {

std::string WithTrailingDelimiter(std::string folder) {
    if (folder.empty() || folder.back() != '\\')
        folder += '\\';
    return folder;
}

// What a changed entry has to do with one active catalog path.
enum class Reach { None, Listed, MaybeFolder };

Reach ReachOf(const std::string& entry, const CatalogRoot& root) {
    if (!AsciiStartsWithIgnoringCase(entry, root.prefix) || entry.size() == root.prefix.size())
        return Reach::None;
    const std::string_view below = std::string_view(entry).substr(root.prefix.size());
    // Entries of the path's folder are level 0; each subfolder entered adds one, as far as
    // the depth lets the scan enter.
    const auto level = std::int64_t(std::count(below.begin(), below.end(), '\\'));
    if (root.depth != UnlimitedDepth && level > root.depth)
        return Reach::None;
    const std::string_view name = FileNamePart(below);
    for (const std::string& mask : root.masks)
        if (WildcardMatches(mask, name))
            return Reach::Listed;
    // A folder the scan enters (or lists) may hold or have held entries the masks take.
    const bool entered = root.depth == UnlimitedDepth || level < root.depth;
    return entered || root.includeDirectories ? Reach::MaybeFolder : Reach::None;
}

bool IsOwnFile(const std::string& entry, const std::string& optionsFileName) {
    if (optionsFileName.empty())
        return false;
    // The options and catalog files, the damaged file kept beside, and the temporary files
    // the store writes in their folder while it saves them.
    const std::string catalog = CatalogFileName(optionsFileName);
    if (AsciiStartsWithIgnoringCase(entry, optionsFileName) ||
        AsciiStartsWithIgnoringCase(entry, catalog))
        return true;
    const std::size_t nameAt = optionsFileName.size() - FileNamePart(optionsFileName).size();
    const std::string_view folder = std::string_view(optionsFileName).substr(0, nameAt);
    if (!AsciiStartsWithIgnoringCase(entry, folder))
        return false;
    const std::string_view name = std::string_view(entry).substr(folder.size());
    return name.find('\\') == std::string_view::npos && IsTemporaryFileName(name);
}

// Whether a changed entry (full path) can matter to the catalog: it lies where an active
// catalog path's scan would reach it (its folder, within the depth), and it is none of the
// program's own files.
bool ChangeConcernsCatalog(const std::string& entry, const std::vector<CatalogRoot>& roots,
                           const std::string& optionsFileName) {
    return !IsOwnFile(entry, optionsFileName) &&
           std::any_of(roots.begin(), roots.end(), [&](const CatalogRoot& root) {
               return ReachOf(entry, root) != Reach::None;
           });
}

bool SameEntries(const CatalogItems& a, const CatalogItems& b) {
    if (a.SharesWith(b))
        return true;
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const CatalogItem& x, const CatalogItem& y) {
                          // Priorities are the use counts, which the keeper carries
                          // itself; a rebuild knows none of them.
                          return x.path == y.path && x.name == y.name;
                      });
}

// Whether the catalog holds the entry or anything below it.
bool CatalogHoldsAtOrBelow(const CatalogItems& catalog, const std::string& entry) {
    const std::string folder = WithTrailingDelimiter(entry);
    return std::any_of(catalog.begin(), catalog.end(), [&](const CatalogItem& item) {
        return AsciiEqualIgnoringCase(item.path, entry) ||
               AsciiStartsWithIgnoringCase(item.path, folder);
    });
}

} // namespace

std::string DamagedCatalogFileName(const std::string& catalogFileName) {
    return catalogFileName + ".damaged";
}

std::vector<CatalogRoot> CatalogRoots(const SettingsOptionsCatalogPaths& paths,
                                      const SpecialFolderPort& folders) {
    std::vector<CatalogRoot> roots;
    for (const SettingsOptionsCatalogPath& path : paths) {
        if (!path.active)
            continue;
        const std::string expanded = ExpandPathVariables(folders, path.path);
        if (expanded.empty())
            continue;
        roots.push_back({WithTrailingDelimiter(expanded), path.depth, path.includeDirectories,
                         path.mask.empty() ? ArrayOfString{"*.*"} : SplitString(path.mask, ';')});
    }
    return roots;
}

// --- the keeper -------------------------------------------------------------------------

CatalogKeeper::CatalogKeeper(const CatalogKeeperServices& services, CatalogKeeperHost& host,
                             SettingsOptions& record)
    : services_(services), host_(host), record_(record), save_(services.catalog, [inbox = inbox_] {
          const std::lock_guard lock(inbox->mutex);
          inbox->saveFailed = true;
          if (!inbox->closed && !std::exchange(inbox->woken, true))
              inbox->host->Wake();
      }) {
    inbox_->host = &host_;
}

CatalogKeeper::~CatalogKeeper() {
    Shutdown();
}

void CatalogKeeper::StartJob(JobKind kind,
                             std::function<JobResult(const std::atomic<bool>& stop)> work) {
    Job job;
    job.id = ++nextId_;
    job.stop = std::make_shared<std::atomic<bool>>(false);
    job.thread =
        std::thread([inbox = inbox_, stop = job.stop, work = std::move(work), kind, id = job.id,
                     enter = services_.enterJobThread, leave = services_.leaveJobThread,
                     relevance = record_.order == ResultOrder::Relevance] {
            if (enter)
                enter();
            JobResult result;
            try {
                result = work(*stop);
                // What the relevance order needs of a catalog is made here, not on the first
                // keystroke after it is published.
                if (relevance && !*stop)
                    result.items.Relevance();
            } catch (const std::exception& error) {
                // Out of memory on a huge tree or file: what there is stays.
                result = JobResult();
                result.error = error.what();
            }
            result.kind = kind;
            result.id = id;
            if (leave)
                leave();
            const std::lock_guard lock(inbox->mutex);
            inbox->results.push_back(std::move(result));
            inbox->arrived.notify_all();
            if (!inbox->closed && !std::exchange(inbox->woken, true))
                inbox->host->Wake();
        });
    const std::uint64_t id = job.id;
    jobs_.push_back(std::move(job));
    switch (kind) {
    case JobKind::Load:
        loadId_ = id;
        break;
    case JobKind::Scan:
        scanId_ = id;
        break;
    case JobKind::Watches:
        watchesId_ = id;
        break;
    case JobKind::DialogScan:
        dialogId_ = id;
        break;
    }
}

void CatalogKeeper::ReapJob(std::uint64_t id) {
    // The job has handed in its result, which is the last thing its thread does.
    const auto job =
        std::find_if(jobs_.begin(), jobs_.end(), [id](const Job& j) { return j.id == id; });
    if (job == jobs_.end())
        return;
    if (job->thread.joinable())
        job->thread.join();
    jobs_.erase(job);
}

void CatalogKeeper::StopJob(std::uint64_t id) {
    for (Job& job : jobs_)
        if (job.id == id)
            job.stop->store(true);
}

// --- the load ---------------------------------------------------------------------------

void CatalogKeeper::StartLoad() {
    if (shutDown_ || loadId_ != 0)
        return;
    loadRetryAt_.reset();
    ++loadAttempts_;
    if (!typedRead_) {
        // A small file: read where the typed texts are used.
        typedRead_ = true;
        typedUnreadable_ = !LoadTypedChoices(memory_, LaunchMemoryFileName(record_.fileName),
                                             services_.catalog.files);
    }
    const std::string fileName = CatalogFileName(record_.fileName);
    const FileStorePort* files = &services_.catalog.files;
    const XmlReaderPort* xml = &services_.catalog.xml;
    const std::uint64_t generation = catalogGeneration_;
    StartJob(JobKind::Load, [fileName, files, xml, generation](const std::atomic<bool>&) {
        JobResult result;
        result.catalogGeneration = generation;
        CatalogReadResult read = ReadCatalogFile(fileName, *files, *xml);
        result.items = CatalogItems(std::move(read.items));
        result.error = read.status.Error();
        switch (read.outcome) {
        case CatalogReadOutcome::Read:
            result.load = LoadOutcome::Read;
            break;
        case CatalogReadOutcome::Missing:
            result.load = LoadOutcome::Missing;
            break;
        case CatalogReadOutcome::Unreadable:
            result.load = LoadOutcome::Unreadable;
            break;
        case CatalogReadOutcome::Damaged: {
            result.load = LoadOutcome::Damaged;
            // The damaged file is kept before anything is written over it: what could not be
            // read may still be recovered from it by hand.
            const FileContent content = files->ReadWholeFile(fileName);
            if (content.status != FileContent::Status::Read ||
                !files->ReplaceWholeFile(DamagedCatalogFileName(fileName), content.bytes)) {
                result.load = LoadOutcome::Unreadable;
                result.error = "Unable to write to " + DamagedCatalogFileName(fileName);
            }
            break;
        }
        }
        result.completed = true;
        return result;
    });
}

void CatalogKeeper::OnLoaded(JobResult& result) {
    if (result.id != loadId_)
        return;
    loadId_ = 0;
    if (result.catalogGeneration != catalogGeneration_)
        return; // a rebuild was published meanwhile: it is newer than the file
    if (!result.completed) {
        result.load = LoadOutcome::Unreadable;
        if (result.error.empty())
            result.error = "Unable to read " + CatalogFileName(record_.fileName);
    }
    switch (result.load) {
    case LoadOutcome::Read:
    case LoadOutcome::Missing:
        saveBlocked_ = false;
        memory_.SeedCounts(CountsFromCatalog(result.items.items()));
        Publish(std::move(result.items), record_.catalog.lastRebuild, false);
        return;
    case LoadOutcome::Damaged:
        // The entries read before the damage; the next save writes a whole file again, the
        // damaged one being kept beside it.
        saveBlocked_ = false;
        memory_.SeedCounts(CountsFromCatalog(result.items.items()));
        Publish(std::move(result.items), record_.catalog.lastRebuild, false);
        host_.Report(result.error);
        return;
    case LoadOutcome::Unreadable:
        // Another program may hold the file for a moment: try again before giving up, and
        // never write over entries that could not be read.
        saveBlocked_ = true;
        if (loadAttempts_ <= kLoadRetries) {
            loadRetryAt_ = Now() + std::ldexp(1.0, loadAttempts_ - 1);
        } else if (!std::exchange(loadReported_, true)) {
            host_.Report(result.error);
        }
        return;
    }
}

void CatalogKeeper::WaitForLoad() {
    while (!shutDown_ && (loadId_ != 0 || loadRetryAt_)) {
        if (loadRetryAt_ && loadId_ == 0)
            StartLoad();
        {
            std::unique_lock lock(inbox_->mutex);
            inbox_->arrived.wait(lock, [&] {
                return std::any_of(inbox_->results.begin(), inbox_->results.end(),
                                   [&](const JobResult& r) { return r.id == loadId_; });
            });
        }
        Dispatch();
    }
}

// --- publishing and saving --------------------------------------------------------------

void CatalogKeeper::Publish(CatalogItems items, double lastRebuild, bool save) {
    record_.catalog.items = std::move(items);
    record_.catalog.lastRebuild = lastRebuild;
    ++catalogGeneration_;
    host_.CatalogPublished();
    if (save) {
        savePending_ = true;
        SaveWhenDue();
    }
}

void CatalogKeeper::SaveWhenDue() {
    if (!savePending_ || saveBlocked_ || shutDown_)
        return;
    // A tree that keeps changing must not keep the disk busy: one save a minute at most.
    if (lastAutoSave_ && Now() < *lastAutoSave_ + kChangeCostSeconds)
        return;
    savePending_ = false;
    lastAutoSave_ = Now();
    ++savesStarted_;
    // The entries are shared with the saving thread, never copied: they are immutable.
    save_.Save(record_.fileName, record_.catalog.items, memory_.Counts());
}

void CatalogKeeper::RecordLaunch(std::string_view text, std::string_view name,
                                 std::string_view path) {
    if (shutDown_)
        return;
    memory_.Record(text, name, path);
    SaveTypedTexts();
    // Not worth rewriting a large catalog file for: it is written with the next save.
    savePending_ = true;
}

void CatalogKeeper::ForgetLaunches() {
    if (shutDown_ || memory_.Empty())
        return;
    memory_.Forget();
    SaveTypedTexts();
    savePending_ = true;
    lastAutoSave_.reset(); // the user asked for it: written now, not within the minute
    SaveWhenDue();
}

void CatalogKeeper::SaveTypedTexts() {
    if (typedUnreadable_)
        return; // what the file holds could not be read, so it must not be lost
    const std::string fileName = LaunchMemoryFileName(record_.fileName);
    if (!SaveTypedChoices(memory_, fileName, services_.catalog.files))
        host_.Report(UnableToWriteText(fileName));
}

bool CatalogKeeper::CatalogSaveAllowed() const {
    // Still loading, with nothing published: the file holds the catalog, the record none.
    return !saveBlocked_ && !(loadId_ != 0 && catalogGeneration_ == 0);
}

void CatalogKeeper::WaitForSave() {
    save_.Wait();
    for (const std::string& failure : save_.TakeFailures())
        host_.Report(failure);
}

// --- the automatic update ---------------------------------------------------------------

void CatalogKeeper::Apply(const SettingsOptions& options) {
    if (shutDown_)
        return;
    if (pathsKnown_ && options.catalog.paths != paths_) {
        // Whatever was built for the old paths no longer counts.
        ++pathsGeneration_;
        pathsChanged_ = true;
        StopScan();
    }
    paths_ = options.catalog.paths;
    roots_ = CatalogRoots(paths_, services_.folders);
    pathsKnown_ = true;
    const bool on = options.catalog.autoUpdate && services_.watches != nullptr;
    if (!on) {
        StopScan();
        StopWatches();
        schedule_.reset();
        pendingEntries_.clear();
        Reschedule();
        return;
    }
    std::vector<WatchedFolder> folders = AutoUpdateFolders(paths_, services_.folders);
    const bool started = schedule_.has_value();
    if (!started) {
        // Started, or switched on: the catalog may be behind the disk.
        schedule_.emplace(options.catalog.interval, Now());
        schedule_->CatchUpAt(Now() + AutoUpdateSchedule::kCatchUpSeconds);
        schedule_->SetSettingsOpen(settingsOpen_);
    } else if (options.catalog.interval != interval_) {
        schedule_->SetInterval(options.catalog.interval);
    }
    interval_ = options.catalog.interval;
    if (!started || folders != folders_) {
        folders_ = std::move(folders);
        StartWatches();
    }
    Reschedule();
}

void CatalogKeeper::StopWatches() {
    {
        const std::lock_guard lock(inbox_->mutex);
        ++inbox_->watchGeneration;
        inbox_->changes = {};
    }
    watchesId_ = 0;
    if (watches_.empty())
        return;
    // Ending a watch waits for its thread; that is done beside the interface thread.
    auto old = std::make_shared<std::vector<std::unique_ptr<FolderWatch>>>(std::move(watches_));
    watches_.clear();
    StartJob(JobKind::Watches, [old](const std::atomic<bool>&) {
        old->clear();
        return JobResult();
    });
    watchesId_ = 0; // nothing of that job is taken over
}

void CatalogKeeper::StartWatches() {
    std::uint64_t generation = 0;
    {
        const std::lock_guard lock(inbox_->mutex);
        generation = ++inbox_->watchGeneration;
        inbox_->changes = {};
    }
    auto old = std::make_shared<std::vector<std::unique_ptr<FolderWatch>>>(std::move(watches_));
    watches_.clear();
    const FolderWatchPort* port = services_.watches;
    StartJob(JobKind::Watches, [old, port, folders = folders_, generation,
                                inbox = inbox_](const std::atomic<bool>& stop) {
        old->clear();
        JobResult result;
        result.completed = true;
        for (const WatchedFolder& folder : folders) {
            if (stop.load())
                break;
            // Opening a folder on an offline share waits for the network: never on the
            // interface thread.
            std::unique_ptr<FolderWatch> watch = port->Watch(
                folder.folder, folder.tree,
                [inbox, generation](FolderChange change, std::vector<std::string> entries) {
                    const std::lock_guard lock(inbox->mutex);
                    if (inbox->closed || inbox->watchGeneration != generation)
                        return;
                    Changes& changes = inbox->changes;
                    if (change != FolderChange::Changed || entries.empty() ||
                        changes.entries.size() + entries.size() > kMostChangedEntries) {
                        changes.unnamed = true; // a full rebuild sees it all
                        changes.entries.clear();
                    } else if (!changes.unnamed) {
                        changes.entries.insert(changes.entries.end(),
                                               std::make_move_iterator(entries.begin()),
                                               std::make_move_iterator(entries.end()));
                    }
                    if (change == FolderChange::Gone || change == FolderChange::Failed)
                        changes.lost = true;
                    if (!std::exchange(inbox->woken, true))
                        inbox->host->Wake();
                });
            result.watches.push_back(std::move(watch));
        }
        return result;
    });
}

void CatalogKeeper::OnWatchesStarted(JobResult& result) {
    if (result.id != watchesId_ || !schedule_)
        return; // older watches, or none wanted any more: they end with the result
    watchesId_ = 0;
    watches_ = std::move(result.watches);
    unwatched_ = watches_.size() < folders_.size() ||
                 std::any_of(watches_.begin(), watches_.end(),
                             [](const std::unique_ptr<FolderWatch>& watch) { return !watch; });
    schedule_->SetUnwatched(unwatched_);
}

void CatalogKeeper::TakeChanges() {
    Changes changes;
    {
        const std::lock_guard lock(inbox_->mutex);
        changes = std::exchange(inbox_->changes, {});
    }
    if (!schedule_)
        return;
    if (changes.lost) {
        // The watch has ended by itself; after the next completed rebuild every folder is
        // watched again.
        unwatched_ = true;
        schedule_->SetUnwatched(true);
    }
    if (changes.unnamed) {
        pendingEntries_.clear(); // a full rebuild sees them all
        schedule_->Change(Now());
        return;
    }
    // Changes the catalog cannot show (the program's own files, names no path lists) start
    // nothing: a catalog file in a watched tree would otherwise rewrite itself for ever.
    bool any = false;
    for (std::string& entry : changes.entries) {
        if (!ChangeConcernsCatalog(entry, roots_, record_.fileName))
            continue;
        any = true;
        if (pendingEntries_.size() >= kMostChangedEntries) {
            pendingEntries_.clear();
            schedule_->Change(Now());
            return;
        }
        pendingEntries_.push_back(std::move(entry));
    }
    if (any)
        schedule_->EntriesChanged(Now());
}

void CatalogKeeper::SetSettingsOpen(bool open) {
    settingsOpen_ = open;
    if (!schedule_)
        return;
    schedule_->SetSettingsOpen(open);
    if (open)
        StopScan(); // the dialog rebuilds and replaces the catalog itself
    Reschedule();
}

void CatalogKeeper::StopScan() {
    if (scanId_ == 0)
        return;
    StopJob(scanId_);
    scanId_ = 0;
    // What the scan took is to do again; its result, when it comes, no longer counts.
    if (schedule_)
        schedule_->RebuildEnded(Now(), false, false);
}

void CatalogKeeper::StartScan(CatalogUpdate due) {
    const double now = Now();
    // An empty catalog from a file that could not be read, or paths changed since the last
    // full scan: only a full scan gives a catalog that may be kept.
    bool full = due == CatalogUpdate::Full || pathsChanged_ || saveBlocked_;
    // Changes alone pay for one full rebuild a minute: a tree that keeps changing (a cache,
    // Temp) must not keep the disk busy. New paths and an unreadable file do not wait.
    if (full && !pathsChanged_ && !saveBlocked_ && lastFullRebuild_ &&
        now < *lastFullRebuild_ + kChangeCostSeconds) {
        fullDeferred_ = true;
        return;
    }
    fullDeferred_ = false;
    std::vector<std::string> entries = std::exchange(pendingEntries_, {});
    schedule_->RebuildStarted();
    if (!full && entries.empty()) {
        schedule_->RebuildEnded(now, true, false);
        return;
    }
    const bool fullAllowed = !lastFullRebuild_ || now >= *lastFullRebuild_ + kChangeCostSeconds;
    if (full)
        lastFullRebuild_ = now;
    ++scansStarted_;
    const FileSystemPort* fileSystem = &services_.fileSystem;
    const SpecialFolderPort* folders = &services_.folders;
    const ShellNamePort* shell = &services_.shell;
    const ClockPort* clock = &services_.clock;
    std::vector<std::string> watched;
    for (const WatchedFolder& folder : folders_)
        watched.push_back(folder.folder);
    StartJob(JobKind::Scan, [fileSystem, folders, shell, clock, paths = paths_, roots = roots_,
                             base = record_.catalog.items, entries = std::move(entries),
                             watched = std::move(watched), full, fullAllowed,
                             pathsGeneration = pathsGeneration_,
                             catalogGeneration =
                                 catalogGeneration_](const std::atomic<bool>& stop) {
        JobResult result;
        result.pathsGeneration = pathsGeneration;
        result.catalogGeneration = catalogGeneration;
        CatalogScan scan;
        const KnownNames names(base, *shell);
        // The stop is looked at between entries, not only per folder: a folder of thousands
        // of files asks the shell for each.
        const auto check = [&stop, &scan] {
            if (stop.load(std::memory_order_relaxed))
                scan.Stop();
        };
        const ScanServices scanServices{*fileSystem, *folders, names, *clock, check, check};
        bool rebuild = full;
        if (!full) {
            // A name no mask takes matters only as a folder: one there now, or one that held
            // catalog entries.
            std::vector<std::string> concerned;
            for (const std::string& entry : entries) {
                const bool listed =
                    std::any_of(roots.begin(), roots.end(), [&](const CatalogRoot& root) {
                        return ReachOf(entry, root) == Reach::Listed;
                    });
                if (listed || fileSystem->FolderExists(entry) || CatalogHoldsAtOrBelow(base, entry))
                    concerned.push_back(entry);
            }
            if (concerned.empty()) {
                result.completed = true;
                result.full = false;
                result.unchanged = true;
                return result;
            }
            UpdatedCatalog updated =
                UpdateCatalogEntries(scan, base, paths, concerned, scanServices);
            switch (updated.outcome) {
            case EntriesUpdate::Updated:
                result.completed = true;
                result.full = false;
                result.items = CatalogItems(std::move(updated.items));
                result.lastRebuild = clock->Now();
                break;
            case EntriesUpdate::Stopped:
                return result;
            case EntriesUpdate::RebuildNeeded:
                if (!fullAllowed) {
                    result.needsFull = true;
                    return result;
                }
                rebuild = true;
                break;
            }
        }
        if (rebuild) {
            SettingsOptions options;
            options.catalog.paths = paths;
            result.full = true;
            result.completed = scan.Rebuild(options, scanServices);
            if (!result.completed)
                return result;
            result.items = options.catalog.items;
            result.lastRebuild = options.catalog.lastRebuild;
        }
        result.unchanged = SameEntries(result.items, base);
        // Not every system ends a watch whose folder went away (Wine keeps waiting): the
        // folders are looked for here, beside the interface thread.
        for (const std::string& folder : watched)
            if (!fileSystem->FolderExists(folder))
                result.folderMissing = true;
        return result;
    });
}

void CatalogKeeper::OnScanned(JobResult& result) {
    if (result.id != scanId_)
        return; // stopped or replaced: its changes were given back then
    scanId_ = 0;
    if (!schedule_)
        return;
    const double now = Now();
    // One decision for every result: built for paths that are no longer current, or (an
    // update of named entries) on a catalog that has been replaced since, it is thrown away
    // and a full rebuild follows.
    bool counts = result.completed && !result.needsFull && !settingsOpen_ &&
                  result.pathsGeneration == pathsGeneration_ &&
                  (result.full || result.catalogGeneration == catalogGeneration_);
    schedule_->RebuildEnded(now, counts, result.full);
    if (!counts)
        return;
    if (result.full) {
        lastFullRebuild_ = now;
        pathsChanged_ = false;
    }
    const bool unchanged = result.unchanged && result.catalogGeneration == catalogGeneration_;
    if (result.full && saveBlocked_) {
        // A complete scan replaces what the file held: it may be written again.
        saveBlocked_ = false;
        loadRetryAt_.reset();
    }
    if (!unchanged)
        Publish(std::move(result.items), result.lastRebuild, true);
    if (unwatched_ || result.folderMissing)
        StartWatches(); // a folder that was missing or failed may be back
}

void CatalogKeeper::StartDialogRebuild(SettingsOptionsCatalogPaths paths,
                                       std::shared_ptr<CatalogScan> scan,
                                       DialogRebuildEnded ended) {
    if (shutDown_)
        return;
    StopScan();
    if (dialogId_ != 0)
        StopJob(dialogId_);
    dialogEnded_ = std::move(ended);
    const FileSystemPort* fileSystem = &services_.fileSystem;
    const SpecialFolderPort* folders = &services_.folders;
    const ShellNamePort* shell = &services_.shell;
    const ClockPort* clock = &services_.clock;
    StartJob(JobKind::DialogScan, [fileSystem, folders, shell, clock, paths = std::move(paths),
                                   scan = std::move(scan)](const std::atomic<bool>& stop) {
        JobResult result;
        // A rebuild by hand asks the shell for every file's name.
        const auto check = [&stop, &scan] {
            if (stop.load(std::memory_order_relaxed))
                scan->Stop();
        };
        SettingsOptions options;
        options.catalog.paths = paths;
        result.completed =
            scan->Rebuild(options, {*fileSystem, *folders, *shell, *clock, check, check});
        if (result.completed) {
            result.items = options.catalog.items;
            result.lastRebuild = options.catalog.lastRebuild;
        }
        return result;
    });
}

void CatalogKeeper::OfferRebuilt(const SettingsOptionsCatalogPaths& paths, CatalogItems items,
                                 double lastRebuild) {
    if (shutDown_ || (pathsKnown_ && paths != paths_))
        return; // built for other paths than the current ones
    StopScan();
    pathsChanged_ = false;
    saveBlocked_ = false;
    loadRetryAt_.reset();
    if (loadId_ != 0)
        StopJob(loadId_);
    loadId_ = 0;
    lastFullRebuild_ = Now();
    Publish(std::move(items), lastRebuild, false);
    Reschedule();
}

// --- the inbox and the timer ------------------------------------------------------------

void CatalogKeeper::Dispatch() {
    std::deque<JobResult> results;
    bool saveFailed = false;
    {
        const std::lock_guard lock(inbox_->mutex);
        results = std::exchange(inbox_->results, {});
        saveFailed = std::exchange(inbox_->saveFailed, false);
        inbox_->woken = false;
    }
    for (JobResult& result : results) {
        ReapJob(result.id);
        if (shutDown_)
            continue;
        switch (result.kind) {
        case JobKind::Load:
            OnLoaded(result);
            break;
        case JobKind::Scan:
            OnScanned(result);
            break;
        case JobKind::Watches:
            OnWatchesStarted(result);
            break;
        case JobKind::DialogScan:
            if (result.id == dialogId_) {
                dialogId_ = 0;
                const DialogRebuildEnded ended = std::exchange(dialogEnded_, {});
                if (ended)
                    ended(result.completed, std::move(result.items), result.lastRebuild);
            }
            break;
        }
    }
    if (saveFailed)
        for (const std::string& failure : save_.TakeFailures())
            host_.Report(failure);
    if (shutDown_)
        return;
    TakeChanges();
    Reschedule();
}

void CatalogKeeper::OnTimer() {
    if (shutDown_)
        return;
    const double now = Now();
    if (loadRetryAt_ && now >= *loadRetryAt_ && loadId_ == 0)
        StartLoad();
    SaveWhenDue();
    if (schedule_ && scanId_ == 0) {
        const CatalogUpdate due = schedule_->DueUpdate(now);
        if (due != CatalogUpdate::None)
            StartScan(due);
    }
    Reschedule();
}

void CatalogKeeper::Reschedule() {
    if (shutDown_)
        return;
    std::optional<double> next;
    const auto earliest = [&next](double when) { next = next ? std::min(*next, when) : when; };
    if (loadRetryAt_)
        earliest(*loadRetryAt_);
    if (savePending_ && !saveBlocked_ && lastAutoSave_)
        earliest(*lastAutoSave_ + kChangeCostSeconds);
    if (schedule_ && scanId_ == 0) {
        if (const std::optional<double> check = schedule_->NextCheck()) {
            double when = *check;
            if (fullDeferred_ && lastFullRebuild_)
                when = std::max(when, *lastFullRebuild_ + kChangeCostSeconds);
            earliest(when);
        }
    }
    if (!next) {
        host_.SetTimer(std::nullopt);
        return;
    }
    host_.SetTimer(std::max(0.0, *next - Now()));
}

// --- the end ----------------------------------------------------------------------------

bool CatalogKeeper::Busy() const {
    return loadId_ != 0 || scanId_ != 0 || watchesId_ != 0 || dialogId_ != 0;
}

void CatalogKeeper::Shutdown() {
    if (shutDown_)
        return;
    shutDown_ = true;
    dialogEnded_ = {};
    for (Job& job : jobs_)
        job.stop->store(true);
    watches_.clear();
    // A scan looks at its stop between entries and ends within one of them; a load of a
    // huge file or a watch on an offline share may not: those end with the process.
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(int(kShutdownWaitSeconds * 1000));
    std::deque<JobResult> results;
    {
        std::unique_lock lock(inbox_->mutex);
        inbox_->arrived.wait_until(lock, deadline, [&] {
            return std::all_of(jobs_.begin(), jobs_.end(), [&](const Job& job) {
                return std::any_of(inbox_->results.begin(), inbox_->results.end(),
                                   [&](const JobResult& r) { return r.id == job.id; });
            });
        });
        inbox_->closed = true;
        ++inbox_->watchGeneration;
        results = std::exchange(inbox_->results, {});
    }
    for (Job& job : jobs_) {
        const bool ended = std::any_of(results.begin(), results.end(),
                                       [&](const JobResult& r) { return r.id == job.id; });
        if (ended)
            job.thread.join();
        else
            job.thread.detach();
    }
    jobs_.clear();
    results.clear(); // watches handed in and never taken end here
    // A save held back by the minute between saves is made now (the tray menu's Exit and
    // the session's end do not save the catalog themselves); the last save finishes, so
    // the file is never left half-written.
    if (savePending_ && !saveBlocked_) {
        savePending_ = false;
        ++savesStarted_;
        save_.Save(record_.fileName, record_.catalog.items, memory_.Counts());
    }
    save_.Wait();
    for (const std::string& failure : save_.TakeFailures())
        host_.Report(failure);
}

} // namespace orvan
