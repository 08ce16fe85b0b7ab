#include "core/pages/background_save.h"

#include "fakes/memory_file_system.h"

#include <gtest/gtest.h>

#include <future>
#include <mutex>
#include <string>
#include <vector>

namespace orvan {
namespace {

using testing::MemoryFileSystem;

// Holds the first write until the test lets it go and records what was written.
class HeldStore final : public FileStorePort {
public:
    explicit HeldStore(MemoryFileSystem& disk) : disk_(disk) {}
    mutable std::promise<void> entered;
    std::promise<void> release;
    mutable std::mutex mutex;
    mutable std::vector<std::string> written;

    std::unique_ptr<FileReader> OpenFile(const std::string& path,
                                         FileContent::Status& status) const override {
        return disk_.OpenFile(path, status);
    }
    bool ReplaceFileWith(const std::string& path,
                         const std::function<bool(FileWriter&)>& produce) const override {
        bool first = false;
        {
            const std::lock_guard lock(mutex);
            first = written.empty() && !held_;
            held_ = true;
        }
        if (first) {
            entered.set_value();
            released_.wait();
        }
        const bool ok = disk_.ReplaceFileWith(path, produce);
        const std::lock_guard lock(mutex);
        written.push_back(disk_.ReadWholeFile(path).bytes);
        return ok;
    }
    bool CreateFolders(const std::string& path) const override { return disk_.CreateFolders(path); }

private:
    MemoryFileSystem& disk_;
    mutable bool held_ = false;
    std::shared_future<void> released_ = release.get_future().share();
};

TEST(BackgroundFileSave, WritesTheNewestWaitingTextAndReportsEachWrite) {
    MemoryFileSystem disk;
    disk.AddFolder("C:\\x");
    HeldStore store(disk);
    std::mutex mutex;
    std::vector<bool> results;
    {
        BackgroundFileSave save(store, [&](const std::string&, bool ok) {
            const std::lock_guard lock(mutex);
            results.push_back(ok);
        });
        save.Save("C:\\x\\n.txt", "1");
        store.entered.get_future().wait();
        save.Save("C:\\x\\n.txt", "2"); // replaced by the next before it runs
        save.Save("C:\\x\\n.txt", "3");
        store.release.set_value();
        save.Wait();
        EXPECT_EQ(store.written, (std::vector<std::string>{"1", "3"}));
        // A write that fails leaves the old file and says so.
        disk.MakeUnwritable("C:\\x\\n.txt");
        save.Save("C:\\x\\n.txt", "4");
    } // the destructor waits for it
    EXPECT_EQ(results, (std::vector<bool>{true, true, false}));
    EXPECT_EQ(disk.ReadWholeFile("C:\\x\\n.txt").bytes, "3");
}

} // namespace
} // namespace orvan
