// The catalog's owner under load, built with ThreadSanitizer by the test command: at random
// moments options are applied, rebuilds started and stopped, the disk changed under the
// watches, the settings dialog opened and closed, saves made and the program ended and
// started again. Whatever the moments, there is no data race, the catalog file is always a
// whole catalog, and nothing built for paths that are no longer current is published.
#include "core/catalog/catalog_keeper.h"
#include "platform/native.h"

#include "posix/keeper_loop_host.h"
#include "posix/temp_folder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <thread>

namespace orvan {
namespace {

using namespace std::chrono_literals;
using testing::LoopHost;
using testing::TempFolder;

TEST(CatalogKeeperStress, RandomMomentsNeverRaceTearTheFileOrPublishForOldPaths) {
    const char* limit = std::getenv("ORVAN_STRESS_SECONDS");
    const auto seconds = std::chrono::seconds(limit ? std::atoi(limit) : 20);
    const unsigned seed = unsigned(std::random_device{}());
    std::mt19937 random(seed);
    SCOPED_TRACE("seed " + std::to_string(seed));

    TempFolder temp;
    const std::vector<std::string> roots = {"a", "b"};
    for (const std::string& root : roots)
        for (int i = 0; i < 40; ++i)
            temp.File(root + "/sub" + std::to_string(i % 4) + "/f" + std::to_string(i) + ".exe");
    temp.Folder("data");

    SettingsOptions record;
    record.fileName = temp.Core("data/Orvan.ini");
    record.catalog.autoUpdate = true;
    const auto pathsFor = [&](const std::string& root) {
        SettingsOptionsCatalogPath path;
        path.path = temp.Core(root);
        path.mask = "*.exe";
        return SettingsOptionsCatalogPaths{path};
    };
    std::string current = "a";
    record.catalog.paths = pathsFor(current);

    // A reader beside it all: the file is the old catalog or the new one, never a torn one.
    std::atomic<bool> done{false};
    std::atomic<int> torn{0};
    std::thread reader([&] {
        while (!done.load()) {
            const CatalogReadResult read = ReadCatalogFile(
                temp.Core("data/Orvan_Catalog.xml"), platform::FileStore(), platform::XmlReader());
            if (read.outcome != CatalogReadOutcome::Read &&
                read.outcome != CatalogReadOutcome::Missing)
                ++torn;
            std::this_thread::sleep_for(2ms);
        }
    });

    LoopHost host;
    host.clock = 0;
    const CatalogKeeperServices services{platform::FileSystem(),
                                         platform::SpecialFolders(),
                                         platform::ShellNames(),
                                         platform::Clock(),
                                         {platform::FileStore(), platform::XmlReader()},
                                         &platform::FolderWatches(),
                                         [&host] { return host.clock; }};
    int stale = 0;
    int publishes = 0;
    bool firstAfterStart = true;
    std::unique_ptr<CatalogKeeper> keeper;
    host.onPublished = [&] {
        ++publishes;
        // The file's catalog at start-up is whatever was saved last; every later one must be
        // built for the paths now current.
        if (std::exchange(firstAfterStart, false))
            return;
        const std::string prefix = temp.Core(current) + "\\";
        for (const CatalogItem& item : record.catalog.items)
            if (item.path.compare(0, prefix.size(), prefix) != 0) {
                ++stale;
                break;
            }
    };
    const auto start = [&] {
        firstAfterStart = true;
        keeper = std::make_unique<CatalogKeeper>(services, host, record);
        keeper->Apply(record);
        keeper->StartLoad();
    };
    start();

    int rounds = 0;
    const auto end = std::chrono::steady_clock::now() + seconds;
    while (std::chrono::steady_clock::now() < end) {
        ++rounds;
        switch (random() % 10) {
        case 0: { // the settings dialog's OK with other paths
            current = roots[random() % roots.size()];
            record.catalog.paths = pathsFor(current);
            keeper->Apply(record);
            break;
        }
        case 1: // a file comes or goes under a watch
        case 2: {
            const std::string root = roots[random() % roots.size()];
            const std::string file = root + "/sub" + std::to_string(random() % 4) + "/n" +
                                     std::to_string(random() % 8) + ".exe";
            if (std::filesystem::exists(temp.Native(file)))
                std::filesystem::remove(temp.Native(file));
            else
                temp.File(file);
            break;
        }
        case 3: // time passes: quiet periods end, rebuilds and saves fall due
            host.clock += double(random() % 40);
            break;
        case 4:
            keeper->SetSettingsOpen(true);
            break;
        case 5:
            keeper->SetSettingsOpen(false);
            break;
        case 6: { // the dialog offers a rebuild, for the current paths or not
            const std::string root = roots[random() % roots.size()];
            SettingsOptions scanned;
            scanned.catalog.paths = pathsFor(root);
            CatalogScan scan;
            if (scan.Rebuild(scanned, {platform::FileSystem(),
                                       platform::SpecialFolders(),
                                       platform::ShellNames(),
                                       platform::Clock(),
                                       {}}))
                keeper->OfferRebuilt(scanned.catalog.paths, scanned.catalog.items, 1.0);
            break;
        }
        case 7: // the close command's save
            keeper->WaitForSave();
            if (keeper->CatalogSaveAllowed())
                (void)SaveCatalog(record, {platform::FileStore(), platform::XmlReader()});
            break;
        case 8: // the program ends and starts again
            if (random() % 4 == 0) {
                keeper.reset();
                start();
            }
            break;
        default:
            break;
        }
        if (host.WaitWake(std::chrono::milliseconds(random() % 5)))
            keeper->Dispatch();
        if (host.timerAt && host.clock >= *host.timerAt) {
            host.timerAt.reset();
            keeper->OnTimer();
        }
    }
    keeper.reset();
    done = true;
    reader.join();
    EXPECT_EQ(torn.load(), 0);
    EXPECT_EQ(stale, 0);
    EXPECT_GT(publishes, 0);
    std::printf("stress: %d rounds, %d publishes, seed %u\n", rounds, publishes, seed);
}

} // namespace
} // namespace orvan
