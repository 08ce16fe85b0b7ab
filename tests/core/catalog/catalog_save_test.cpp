#include "core/catalog/catalog_save.h"

#include "fakes/memory_file_system.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <mutex>
#include <string>
#include <vector>

namespace orvan {
namespace {

using testing::MemoryFileSystem;

class NoXml final : public XmlReaderPort {
public:
    XmlParseResult ParseStream(const XmlSource&, XmlEventHandler&) const override {
        ADD_FAILURE() << "saving reads nothing";
        return {};
    }
};

// Holds the first write until the test lets it go, and records every write and how many
// ran at once.
class GatedStore final : public FileStorePort {
public:
    explicit GatedStore(const MemoryFileSystem& disk) : disk_(disk) {}
    mutable std::promise<void> entered;
    std::promise<void> release;
    mutable std::atomic<int> running{0};
    mutable std::atomic<int> mostAtOnce{0};
    mutable std::mutex mutex;
    mutable std::vector<std::string> written;

    std::unique_ptr<FileReader> OpenFile(const std::string& path,
                                         FileContent::Status& status) const override {
        return disk_.OpenFile(path, status);
    }
    bool ReplaceFileWith(const std::string& path,
                         const std::function<bool(FileWriter&)>& produce) const override {
        const int now = ++running;
        mostAtOnce = std::max(mostAtOnce.load(), now);
        if (!gated_) {
            gated_ = true;
            entered.set_value();
            released_.wait();
        }
        const bool done = disk_.ReplaceFileWith(path, produce);
        {
            const std::lock_guard lock(mutex);
            written.push_back(*disk_.Content(path));
        }
        --running;
        return done;
    }
    bool CreateFolders(const std::string& path) const override { return disk_.CreateFolders(path); }

private:
    const MemoryFileSystem& disk_;
    std::shared_future<void> released_ = release.get_future().share();
    mutable bool gated_ = false;
};

CatalogItems Catalog(const std::string& path) {
    return CatalogItems({CatalogItem{path, "", 0}});
}

TEST(BackgroundCatalogSave, WritesOneSaveAtATimeAndOfThoseWaitingOnlyTheNewest) {
    MemoryFileSystem disk;
    disk.AddFolder("C:\\opt");
    GatedStore store(disk);
    NoXml xml;
    {
        BackgroundCatalogSave save({store, xml});
        save.Save("C:\\opt\\Orvan.ini", Catalog("C:\\first"));
        store.entered.get_future().wait(); // the first is being written
        save.Save("C:\\opt\\Orvan.ini", Catalog("C:\\second"));
        save.Save("C:\\opt\\Orvan.ini", Catalog("C:\\third"));
        store.release.set_value();
        // Leaving the scope waits for the saves.
    }
    EXPECT_EQ(store.written,
              (std::vector<std::string>{SerializeCatalog(Catalog("C:\\first").items()),
                                        SerializeCatalog(Catalog("C:\\third").items())}));
    EXPECT_EQ(store.mostAtOnce.load(), 1);
    EXPECT_EQ(*disk.Content("C:\\opt\\Orvan_Catalog.xml"),
              SerializeCatalog(Catalog("C:\\third").items()));
}

TEST(BackgroundCatalogSave, KeepsWhatFailedForTheCallerAndSaysSo) {
    MemoryFileSystem disk;
    NoXml xml;
    std::atomic<int> failed{0};
    BackgroundCatalogSave save({disk, xml}, [&] { ++failed; });
    save.Save("C:\\missing\\Orvan.ini", Catalog("C:\\x"));
    save.Wait();
    EXPECT_EQ(failed.load(), 1);
    EXPECT_EQ(save.TakeFailures(),
              std::vector<std::string>{"Unable to write to C:\\missing\\Orvan_Catalog.xml"});
    EXPECT_TRUE(save.TakeFailures().empty());

    // Later saves run again, on a thread of their own.
    disk.AddFolder("C:\\missing");
    save.Save("C:\\missing\\Orvan.ini", Catalog("C:\\y"));
    save.Wait();
    EXPECT_TRUE(save.TakeFailures().empty());
    EXPECT_EQ(*disk.Content("C:\\missing\\Orvan_Catalog.xml"),
              SerializeCatalog(Catalog("C:\\y").items()));
}

} // namespace
} // namespace orvan
