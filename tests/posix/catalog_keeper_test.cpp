// The catalog's owner with its real threads, over real folders and the real folder watch:
// what it publishes and saves, and what it must never do (rewrite its own file for ever,
// publish a catalog built for other paths, write over a file it could not read).
#include "core/catalog/catalog_keeper.h"
#include "core/search/run_available.h"
#include "platform/native.h"

#include "keeper_loop_host.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>

namespace orvan {
namespace {

using namespace std::chrono_literals;
using testing::LoopHost;
using testing::TempFolder;

// A shell that names files by their file name, counting its calls; with a gate it holds
// every call until the test opens it, and with a delay it is as slow as a real shell.
class CountingShell final : public ShellNamePort {
public:
    std::string DisplayName(const std::string& path) const override {
        ++calls;
        if (gated) {
            std::unique_lock lock(mutex);
            entered = true;
            cv.notify_all();
            cv.wait(lock, [this] { return !gated.load(); });
        }
        if (delay.count() > 0)
            std::this_thread::sleep_for(delay);
        return std::string(FileNamePart(path));
    }
    void Open() {
        const std::lock_guard lock(mutex);
        gated = false;
        cv.notify_all();
    }
    bool WaitEntered() {
        std::unique_lock lock(mutex);
        return cv.wait_for(lock, 10s, [this] { return entered; });
    }
    mutable std::atomic<int> calls{0};
    std::atomic<bool> gated{false};
    std::chrono::microseconds delay{0};
    mutable std::mutex mutex;
    mutable std::condition_variable cv;
    mutable bool entered = false;
};

// A store that refuses to open the catalog file while `held` is set, as when another
// program holds it open.
class HeldStore final : public FileStorePort {
public:
    std::unique_ptr<FileReader> OpenFile(const std::string& path,
                                         FileContent::Status& status) const override {
        if (held.load() && path.find("_Catalog.xml") != std::string::npos) {
            ++refused;
            status = FileContent::Status::Unreadable;
            return nullptr;
        }
        return platform::FileStore().OpenFile(path, status);
    }
    bool ReplaceFileWith(const std::string& path,
                         const std::function<bool(FileWriter&)>& produce) const override {
        ++writes;
        return platform::FileStore().ReplaceFileWith(path, produce);
    }
    bool CreateFolders(const std::string& path) const override {
        return platform::FileStore().CreateFolders(path);
    }
    std::atomic<bool> held{false};
    mutable std::atomic<int> refused{0};
    mutable std::atomic<int> writes{0};
};

std::string ReadNative(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

class CatalogKeeperTest : public ::testing::Test {
protected:
    CatalogKeeperTest() {
        temp.Folder("tree/sub");
        temp.Folder("data");
        record.fileName = temp.Core("data/Orvan.ini");
        record.catalog.autoUpdate = true;
        record.catalog.interval = 0;
        record.catalog.paths = {Path("tree")};
    }
    ~CatalogKeeperTest() override { keeper.reset(); }

    SettingsOptionsCatalogPath Path(const std::string& relative, const std::string& mask = "*.*") {
        SettingsOptionsCatalogPath path;
        path.path = temp.Core(relative);
        path.mask = mask;
        return path;
    }
    void Start(bool load = true) {
        keeper = std::make_unique<CatalogKeeper>(services, host, record);
        keeper->Apply(record);
        if (load)
            keeper->StartLoad();
        ASSERT_TRUE(RunUntil([&] { return !keeper->Busy(); }));
    }
    // Runs the interface thread's side until `done` holds; the timer fires when the test's
    // clock has reached it. False when `done` did not come within a generous bound.
    template <typename Done> bool RunUntil(Done done, std::chrono::milliseconds bound = 20s) {
        const auto deadline = std::chrono::steady_clock::now() + bound;
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            Step(20ms);
        }
        return true;
    }
    void Step(std::chrono::milliseconds wait) {
        if (host.WaitWake(wait))
            keeper->Dispatch();
        if (host.timerAt && host.clock >= *host.timerAt) {
            host.timerAt.reset();
            keeper->OnTimer();
        }
    }
    // Moves the clock on and lets whatever falls due run to its end.
    void Pass(double seconds) {
        host.clock += seconds;
        Step(1ms);
        ASSERT_TRUE(RunUntil([&] { return !keeper->Busy(); }));
    }
    // Lets the watches' reports of what the test just did arrive.
    void Settle() {
        for (int i = 0; i < 10; ++i)
            Step(30ms);
    }
    bool Published(const std::string& relative) const {
        const std::string path = temp.Core(relative);
        return std::any_of(record.catalog.items.begin(), record.catalog.items.end(),
                           [&](const CatalogItem& item) { return item.path == path; });
    }

    TempFolder temp;
    LoopHost host;
    CountingShell shell;
    HeldStore store;
    std::atomic<int> entered{0}; // job threads entered and left
    std::atomic<int> left{0};
    SettingsOptions record;
    CatalogKeeperServices services{platform::FileSystem(),
                                   platform::SpecialFolders(),
                                   shell,
                                   platform::Clock(),
                                   {store, platform::XmlReader()},
                                   &platform::FolderWatches(),
                                   [this] { return host.clock; }};
    std::unique_ptr<CatalogKeeper> keeper;
};

// A copy whose options and catalog live inside a watched tree: its own saves change the tree,
// and must start nothing, or it rewrites its catalog every two seconds for ever.
TEST_F(CatalogKeeperTest, ItsOwnFilesInAWatchedTreeStartNothing) {
    record.fileName = temp.Core("tree/Orvan.ini");
    Start();
    Pass(AutoUpdateSchedule::kCatchUpSeconds + 1);
    temp.File("tree/tool.exe");
    Settle();
    Pass(2.5);
    ASSERT_TRUE(Published("tree/tool.exe"));
    EXPECT_EQ(keeper->SavesStarted(), 1u);
    keeper->WaitForSave();
    ASSERT_TRUE(std::filesystem::exists(temp.Native("tree/Orvan_Catalog.xml")));

    // The save's own temporary file and rename, the options file and Windows' temporary
    // names beside it: none is an entry the catalog would change for.
    const int published = host.published;
    const std::uint64_t scans = keeper->ScansStarted();
    for (int round = 0; round < 30; ++round) { // 75 s on the schedule's clock
        if (round % 10 == 0) {
            temp.File("tree/Orvan.ini", "[Options]\n");
            temp.File("tree/orvA1B2.tmp");
            std::filesystem::remove(temp.Native("tree/orvA1B2.tmp"));
        }
        Settle();
        Pass(2.5);
    }
    EXPECT_EQ(host.published, published);
    EXPECT_EQ(keeper->SavesStarted(), 1u);
    EXPECT_EQ(keeper->ScansStarted(), scans);
}

TEST_F(CatalogKeeperTest, NamesNoMaskOrDepthTakesStartNothing) {
    SettingsOptionsCatalogPath shallow = Path("tree", "*.lnk");
    shallow.depth = 0;
    record.catalog.paths = {shallow};
    Start();
    temp.File("tree/notes.txt");    // no mask takes it
    temp.File("tree/sub/deep.lnk"); // below the depth
    Settle();
    Pass(2.5);
    EXPECT_EQ(keeper->ScansStarted(), 0u);
    temp.File("tree/Tool.lnk");
    Settle();
    Pass(2.5);
    EXPECT_TRUE(Published("tree/Tool.lnk"));
}

// Asking the shell for a display name costs milliseconds a file: a background rebuild keeps
// the names the catalog has and asks only for new files, on a thread of the host's kind.
TEST_F(CatalogKeeperTest, ABackgroundRebuildKeepsKnownNamesAndAsksTheShellForNewFiles) {
    temp.File("tree/known.exe");
    temp.File("tree/sub/new.exe");
    SettingsOptions saved = record;
    saved.catalog.items = CatalogItems({{temp.Core("tree/known.exe"), "Known, as named before", 0},
                                        {temp.Core("tree/gone.exe"), "Gone", 0}});
    ASSERT_TRUE(SaveCatalog(saved, {platform::FileStore(), platform::XmlReader()}));
    services.enterJobThread = [&] { ++entered; };
    services.leaveJobThread = [&] { ++left; };
    Start();
    Pass(AutoUpdateSchedule::kCatchUpSeconds + 1);
    ASSERT_EQ(record.catalog.items.size(), 2u);
    EXPECT_EQ(record.catalog.items[0].name, "Known, as named before");
    EXPECT_EQ(record.catalog.items[1].name, "new.exe");
    EXPECT_EQ(shell.calls.load(), 1);
    EXPECT_GE(entered.load(), 3); // the load, the watches, the scan
    EXPECT_EQ(entered.load(), left.load());
}

// An update that finds what the catalog already holds (a file created and deleted again)
// publishes nothing and writes nothing.
TEST_F(CatalogKeeperTest, AnUpdateThatChangesNothingPublishesAndSavesNothing) {
    Start();
    const int published = host.published;
    temp.File("tree/brief.txt");
    std::filesystem::remove(temp.Native("tree/brief.txt"));
    Settle();
    Pass(2.5);
    EXPECT_EQ(keeper->ScansStarted(), 1u);
    EXPECT_EQ(host.published, published);
    EXPECT_EQ(keeper->SavesStarted(), 0u);
    EXPECT_EQ(store.writes.load(), 0);
}

// A folder that keeps changing (a cache) costs at most one save a minute; every change still
// reaches the search within seconds.
TEST_F(CatalogKeeperTest, AFolderThatKeepsChangingIsSavedAtMostOnceAMinute) {
    Start();
    for (int round = 0; round < 48; ++round) { // 120 s on the schedule's clock
        temp.File("tree/sub/cache" + std::to_string(round) + ".dat");
        Settle();
        Pass(2.5);
        EXPECT_TRUE(Published("tree/sub/cache" + std::to_string(round) + ".dat")) << round;
    }
    EXPECT_GE(keeper->SavesStarted(), 2u);
    EXPECT_LE(keeper->SavesStarted(), 3u);
}

// A save held back by the minute between saves is made when the program ends, unless the
// close command has written the catalog itself.
TEST_F(CatalogKeeperTest, ASaveHeldBackIsMadeAtTheEnd) {
    Start();
    for (const char* name : {"tree/one.exe", "tree/two.exe"}) {
        temp.File(name);
        Settle();
        Pass(2.5);
    }
    ASSERT_TRUE(Published("tree/two.exe"));
    EXPECT_EQ(keeper->SavesStarted(), 1u);
    keeper->Shutdown();
    EXPECT_EQ(keeper->SavesStarted(), 2u);
    EXPECT_NE(ReadNative(temp.Native("data/Orvan_Catalog.xml")).find("two.exe"), std::string::npos);

    keeper.reset();
    Start();
    temp.File("tree/three.exe");
    temp.File("tree/four.exe");
    Settle();
    Pass(2.5);
    temp.File("tree/five.exe");
    Settle();
    Pass(2.5);
    const int writes = store.writes.load();
    keeper->NoteSaved(); // the close command wrote it
    keeper->Shutdown();
    EXPECT_EQ(store.writes.load(), writes);
}

// What the user starts is learned for good: the use count goes into the catalog file when the
// program ends, the typed text into its own file at once; both come back at the next start
// and outlive a full rebuild, which lists the entries anew and knows no counts.
TEST_F(CatalogKeeperTest, WhatTheUserStartedSurvivesARestartAndAFullRebuild) {
    temp.File("tree/edge.exe");
    temp.File("tree/editor.exe");
    const std::string editor = temp.Core("tree/editor.exe");
    SettingsOptions saved = record;
    saved.catalog.items = CatalogItems({{temp.Core("tree/edge.exe"), "", 0}, {editor, "", 0}});
    ASSERT_TRUE(SaveCatalog(saved, {platform::FileStore(), platform::XmlReader()}));
    Start();
    keeper->RecordLaunch("ed", "editor.exe", editor);
    EXPECT_EQ(keeper->Memory().CountOf(editor), 1);
    EXPECT_NE(
        ReadNative(temp.Native("data/Orvan_Learned.txt")).find("ed\t" + editor + "\teditor.exe"),
        std::string::npos);
    keeper->Shutdown();
    EXPECT_NE(ReadNative(temp.Native("data/Orvan_Catalog.xml")).find("<priority>1</priority>"),
              std::string::npos);

    keeper.reset();
    record.catalog.items = CatalogItems();
    Start();
    EXPECT_EQ(keeper->Memory().CountOf(editor), 1);
    const auto first = [&](std::string_view text) {
        RunAvailableList list;
        RunBuildEnvironment environment;
        environment.order = ResultOrder::Relevance;
        environment.memory = &keeper->Memory();
        BuildRunAvailableList(text, record.catalog.items, list, environment);
        return list.empty() ? std::string() : std::string(list[0].name);
    };
    // By name edge.exe comes first; the text's choice and the count say editor.exe.
    EXPECT_EQ(first("ed"), "editor.exe");
    EXPECT_EQ(first("edi"), "editor.exe");
    EXPECT_EQ(first("e"), "editor.exe");

    // A full rebuild: the catalog's entries are new, the counts are carried by path.
    SettingsOptions changed = record;
    changed.catalog.paths.push_back(Path("data", "*.exe"));
    record.catalog.paths = changed.catalog.paths;
    keeper->Apply(changed);
    Pass(AutoUpdateSchedule::kCatchUpSeconds + 1);
    ASSERT_TRUE(RunUntil([&] { return keeper->SavesStarted() >= 1; }));
    keeper->WaitForSave();
    EXPECT_EQ(keeper->Memory().CountOf(editor), 1);
    EXPECT_EQ(first("ed"), "editor.exe");
    keeper->Shutdown();
    const std::string file = ReadNative(temp.Native("data/Orvan_Catalog.xml"));
    const std::size_t at = file.find("editor.exe");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(file.substr(file.find("<priority>", at), 22), "<priority>1</priority>");
}

// Forget clears the counts and the texts, in memory and in both files.
TEST_F(CatalogKeeperTest, ForgetClearsTheCountsAndTheTypedTexts) {
    temp.File("tree/edge.exe");
    const std::string edge = temp.Core("tree/edge.exe");
    SettingsOptions saved = record;
    saved.catalog.items = CatalogItems({{edge, "Edge", 3}});
    ASSERT_TRUE(SaveCatalog(saved, {platform::FileStore(), platform::XmlReader()}));
    Start();
    EXPECT_EQ(keeper->Memory().CountOf(edge), 3); // the file's priority is the count
    keeper->RecordLaunch("ed", "Edge", edge);
    keeper->ForgetLaunches();
    keeper->WaitForSave();
    EXPECT_TRUE(keeper->Memory().Empty());
    EXPECT_EQ(ReadNative(temp.Native("data/Orvan_Learned.txt")).find("Edge"), std::string::npos);
    EXPECT_NE(ReadNative(temp.Native("data/Orvan_Catalog.xml")).find("<priority>0</priority>"),
              std::string::npos);
}

// A catalog file another program holds at start-up is tried again; if it stays unreadable
// it is reported once and never written over, until a load or a rebuild succeeds.
TEST_F(CatalogKeeperTest, ACatalogFileThatCannotBeReadIsRetriedAndNeverWrittenOver) {
    const std::string file = temp.Native("data/Orvan_Catalog.xml");
    SettingsOptions saved = record;
    saved.catalog.items = CatalogItems({{temp.Core("tree/old.exe"), "Old", 3}});
    ASSERT_TRUE(SaveCatalog(saved, {platform::FileStore(), platform::XmlReader()}));
    const std::string before = ReadNative(file);
    record.catalog.autoUpdate = false;
    store.held = true;
    Start();
    EXPECT_FALSE(keeper->CatalogSaveAllowed());
    for (int retry = 0; retry < CatalogKeeper::kLoadRetries; ++retry)
        Pass(10);
    EXPECT_EQ(store.refused.load(), 1 + CatalogKeeper::kLoadRetries);
    ASSERT_EQ(host.reports.size(), 1u);
    EXPECT_NE(host.reports[0].find("Orvan_Catalog.xml"), std::string::npos);
    EXPECT_FALSE(keeper->CatalogSaveAllowed());
    Pass(100);
    EXPECT_EQ(host.reports.size(), 1u) << "reported once";
    EXPECT_EQ(store.writes.load(), 0);
    EXPECT_EQ(ReadNative(file), before);
}

TEST_F(CatalogKeeperTest, ACatalogFileHeldForAMomentIsLoadedOnARetry) {
    SettingsOptions saved = record;
    saved.catalog.items = CatalogItems({{temp.Core("tree/old.exe"), "Old", 3}});
    ASSERT_TRUE(SaveCatalog(saved, {platform::FileStore(), platform::XmlReader()}));
    record.catalog.autoUpdate = false;
    store.held = true;
    Start();
    store.held = false;
    Pass(1.5);
    EXPECT_TRUE(Published("tree/old.exe"));
    EXPECT_TRUE(keeper->CatalogSaveAllowed());
    EXPECT_TRUE(host.reports.empty());
}

// A file that is not well-formed gives the entries before the fault, and is kept beside as
// it was before anything can write over it.
TEST_F(CatalogKeeperTest, ADamagedCatalogFileIsKeptBesideBeforeItIsWrittenOver) {
    SettingsOptions saved = record;
    saved.catalog.items =
        CatalogItems({{temp.Core("tree/a.exe"), "A", 0}, {temp.Core("tree/b.exe"), "B", 0}});
    ASSERT_TRUE(SaveCatalog(saved, {platform::FileStore(), platform::XmlReader()}));
    std::string text = ReadNative(temp.Native("data/Orvan_Catalog.xml"));
    text.resize(text.find("b.exe"));
    temp.File("data/Orvan_Catalog.xml", text);
    record.catalog.autoUpdate = false;
    Start();
    EXPECT_TRUE(Published("tree/a.exe"));
    EXPECT_EQ(ReadNative(temp.Native("data/Orvan_Catalog.xml.damaged")), text);
    EXPECT_TRUE(keeper->CatalogSaveAllowed());
    EXPECT_EQ(host.reports.size(), 1u);
}

// Every result carries the paths it was built for: one that arrives after the paths changed
// is thrown away, and a full rebuild for the new paths follows.
TEST_F(CatalogKeeperTest, AScanForPathsThatAreNoLongerCurrentIsNeverPublished) {
    temp.File("tree/old.exe");
    temp.Folder("other");
    temp.File("other/new.exe");
    Start();
    Pass(AutoUpdateSchedule::kCatchUpSeconds + 1); // the catch-up rebuild
    ASSERT_TRUE(Published("tree/old.exe"));
    temp.File("tree/second.exe");
    Settle();
    host.clock += 2.5;
    shell.gated = true;
    keeper->OnTimer(); // the entries update starts and waits in the shell
    ASSERT_TRUE(keeper->Rebuilding());
    ASSERT_TRUE(shell.WaitEntered());
    SettingsOptions changed = record;
    changed.catalog.paths = {Path("other")};
    record.catalog.paths = changed.catalog.paths;
    keeper->Apply(changed);
    shell.Open();
    Settle();
    EXPECT_FALSE(Published("tree/second.exe"));
    Pass(2.5);
    EXPECT_TRUE(Published("other/new.exe"));
    EXPECT_FALSE(Published("tree/old.exe"));
}

// The settings dialog's rebuild is judged by the same rule: published only for the paths
// that are current when it is offered.
TEST_F(CatalogKeeperTest, TheDialogsCatalogCountsOnlyForTheCurrentPaths) {
    Start();
    keeper->OfferRebuilt({Path("elsewhere")}, CatalogItems({{temp.Core("x.exe"), "", 0}}), 1.0);
    EXPECT_FALSE(Published("x.exe"));
    keeper->OfferRebuilt(record.catalog.paths, CatalogItems({{temp.Core("x.exe"), "", 0}}), 1.0);
    EXPECT_TRUE(Published("x.exe"));
}

// The settings dialog's rebuild runs beside the interface thread, reports to the dialog
// alone and stops at once.
TEST_F(CatalogKeeperTest, TheDialogsRebuildReportsToTheDialogAndNeverPublishes) {
    temp.File("tree/a.exe");
    Start();
    const int published = host.published;
    std::optional<std::size_t> ended;
    keeper->SetSettingsOpen(true);
    keeper->StartDialogRebuild(
        record.catalog.paths, std::make_shared<CatalogScan>(),
        [&](bool completed, CatalogItems items, double) { ended = completed ? items.size() : 0; });
    ASSERT_TRUE(RunUntil([&] { return ended.has_value(); }));
    EXPECT_EQ(*ended, 1u);
    EXPECT_EQ(host.published, published);

    // Stopped through its scan, as the Stop button does.
    for (int i = 0; i < 500; ++i)
        temp.File("tree/sub/f" + std::to_string(i) + ".exe");
    shell.delay = 1ms;
    auto scan = std::make_shared<CatalogScan>();
    std::optional<bool> completed;
    keeper->StartDialogRebuild(record.catalog.paths, scan,
                               [&](bool done, CatalogItems, double) { completed = done; });
    while (shell.calls.load() < 10)
        std::this_thread::sleep_for(1ms);
    scan->Stop();
    ASSERT_TRUE(RunUntil([&] { return completed.has_value(); }));
    EXPECT_FALSE(*completed);
    EXPECT_LT(shell.calls.load(), 100);
    keeper->SetSettingsOpen(false);
}

// What the watches saw while the settings dialog was open, options applied meanwhile
// included, is done once it closes.
TEST_F(CatalogKeeperTest, ChangesSeenWhileTheDialogIsOpenAreDoneAfterItCloses) {
    Start();
    keeper->SetSettingsOpen(true);
    temp.File("tree/during.exe");
    Settle();
    Pass(5);
    EXPECT_EQ(keeper->ScansStarted(), 0u);
    SettingsOptions applied = record;
    applied.catalog.interval = 3600;
    keeper->Apply(applied);
    keeper->SetSettingsOpen(false);
    Pass(0.1);
    EXPECT_TRUE(Published("tree/during.exe"));
}

// The stop is looked at between the entries of a folder: a scan of a folder of thousands of
// slow shell look-ups ends after the one it is in, and the end of the program waits for it.
TEST_F(CatalogKeeperTest, AStoppedScanEndsWithinOneEntry) {
    for (int i = 0; i < 3000; ++i)
        temp.File("tree/sub/f" + std::to_string(i) + ".exe");
    shell.delay = 1ms;
    Start();
    host.clock += AutoUpdateSchedule::kCatchUpSeconds + 1;
    keeper->OnTimer();
    ASSERT_TRUE(keeper->Rebuilding());
    while (shell.calls.load() < 50)
        std::this_thread::sleep_for(1ms);
    keeper->Shutdown();
    const int atStop = shell.calls.load();
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(shell.calls.load(), atStop) << "the scan had ended when Shutdown returned";
    EXPECT_LT(atStop, 1000);
}

} // namespace
} // namespace orvan
