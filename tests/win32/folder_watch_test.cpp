#include "platform/native.h"

#include "catalog_temp.h"
#include "watch_recorder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <thread>

namespace orvan {
namespace {

using namespace std::chrono_literals;
using testing::CatalogTempFolder;
using testing::Recorder;

// Watches are started on a thread beside the interface thread (opening a folder may wait for
// the network) that ends at once: the watch must not end with it.
TEST(Win32FolderWatch, AWatchStartedOnAThreadThatEndsKeepsReporting) {
    CatalogTempFolder temp;
    Recorder recorder;
    std::unique_ptr<FolderWatch> watch;
    std::thread([&] {
        watch = platform::FolderWatches().Watch(temp.Path(), false, recorder.Callback());
    }).join();
    ASSERT_NE(watch, nullptr);
    temp.WriteBytes("after.txt", "x");
    EXPECT_TRUE(recorder.WaitForEntries({temp.Path("after.txt")}));
    EXPECT_FALSE(recorder.WaitFor(FolderChange::Failed, 200ms));
}

TEST(Win32FolderWatch, ReportsEntriesCreatedRenamedAndDeletedBelowTheFolder) {
    CatalogTempFolder temp;
    CreateDirectoryW(temp.WidePath("sub").c_str(), nullptr);
    CreateDirectoryW(temp.WidePath("sub\\deeper").c_str(), nullptr);
    Recorder recorder;
    auto watch = platform::FolderWatches().Watch(temp.Path(), true, recorder.Callback());
    ASSERT_NE(watch, nullptr);

    // Each report names the entries as full paths, both names of a rename.
    temp.WriteBytes("new.txt", "x");
    EXPECT_TRUE(recorder.WaitForEntries({temp.Path("new.txt")})) << "created";
    recorder.Clear();
    ASSERT_TRUE(MoveFileW(temp.WidePath("new.txt").c_str(), temp.WidePath("renamed.txt").c_str()));
    EXPECT_TRUE(recorder.WaitForEntries({temp.Path("new.txt"), temp.Path("renamed.txt")}))
        << "renamed";
    recorder.Clear();
    ASSERT_TRUE(DeleteFileW(temp.WidePath("renamed.txt").c_str()));
    EXPECT_TRUE(recorder.WaitForEntries({temp.Path("renamed.txt")})) << "deleted";
    recorder.Clear();
    temp.WriteBytes("sub\\deeper\\deep.exe", "x");
    EXPECT_TRUE(recorder.WaitForEntries({temp.Path("sub\\deeper\\deep.exe")}))
        << "in a subfolder there before";
    recorder.Clear();
    ASSERT_TRUE(CreateDirectoryW(temp.WidePath("later").c_str(), nullptr));
    ASSERT_TRUE(recorder.WaitForEntries({temp.Path("later")})) << "a folder created";
    recorder.Clear();
    temp.WriteBytes("later\\n\xc3\xa9w.exe", "x"); // UTF-8 in the core, UTF-16 on the system
    EXPECT_TRUE(recorder.WaitForEntries({temp.Path("later\\n\xc3\xa9w.exe")}))
        << "in a folder created later";
    EXPECT_FALSE(recorder.UnexpectedEntries());
}

// Windows completes the pending read when the folder goes away and the watch reports Gone;
// Wine (8.0) reports nothing, which the launcher covers by looking for its folders after
// every rebuild. Either way the watch must stop without hanging and free the folder.
TEST(Win32FolderWatch, AWatchedFolderThatGoesAwayStopsCleanly) {
    CatalogTempFolder temp;
    CreateDirectoryW(temp.WidePath("watched").c_str(), nullptr);
    Recorder recorder;
    auto watch = platform::FolderWatches().Watch(temp.Path("watched"), true, recorder.Callback());
    ASSERT_NE(watch, nullptr);
    ASSERT_TRUE(RemoveDirectoryW(temp.WidePath("watched").c_str()));
    recorder.WaitFor(FolderChange::Gone, std::chrono::seconds(1));
    watch.reset();
    EXPECT_FALSE(CreateDirectoryW(temp.WidePath("watched\\x").c_str(), nullptr));
    EXPECT_TRUE(CreateDirectoryW(temp.WidePath("watched").c_str(), nullptr));
}

TEST(Win32FolderWatch, AFolderAloneIgnoresItsSubfolders) {
    CatalogTempFolder temp;
    CreateDirectoryW(temp.WidePath("sub").c_str(), nullptr);
    Recorder recorder;
    auto watch = platform::FolderWatches().Watch(temp.Path(), false, recorder.Callback());
    ASSERT_NE(watch, nullptr);

    temp.WriteBytes("sub\\a.exe", "x");
    EXPECT_FALSE(recorder.WaitFor(FolderChange::Changed, 1s));
    temp.WriteBytes("b.exe", "x");
    EXPECT_TRUE(recorder.WaitFor(FolderChange::Changed));
    DeleteFileW(temp.WidePath("sub\\a.exe").c_str());
}

TEST(Win32FolderWatch, AFolderThatCannotBeWatchedGivesNoWatch) {
    CatalogTempFolder temp;
    temp.WriteBytes("file.txt", "x");
    Recorder recorder;
    EXPECT_EQ(platform::FolderWatches().Watch(temp.Path("missing"), true, recorder.Callback()),
              nullptr);
    EXPECT_EQ(platform::FolderWatches().Watch(temp.Path("file.txt"), true, recorder.Callback()),
              nullptr);
}

TEST(Win32FolderWatch, StoppingWatchesReturnsAndLeavesTheFolderFree) {
    CatalogTempFolder temp;
    CreateDirectoryW(temp.WidePath("watched").c_str(), nullptr);
    Recorder recorder;
    for (int i = 0; i < 10; ++i) {
        auto watch =
            platform::FolderWatches().Watch(temp.Path("watched"), true, recorder.Callback());
        ASSERT_NE(watch, nullptr);
    }
    // No handle of a stopped watch keeps the folder.
    EXPECT_TRUE(RemoveDirectoryW(temp.WidePath("watched").c_str()));
}

} // namespace
} // namespace orvan
