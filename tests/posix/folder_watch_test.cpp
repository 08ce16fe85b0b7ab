#include "platform/native.h"

#include "temp_folder.h"
#include "watch_recorder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

namespace orvan {
namespace {

using namespace std::chrono_literals;
using testing::Recorder;
using testing::TempFolder;

// Each report names the entries as full core paths, both names of a rename, so that the
// catalog can rescan just those.
TEST(FolderWatch, NamesTheEntriesCreatedRenamedAndDeletedInTheFolder) {
    TempFolder temp;
    Recorder recorder;
    auto watch = platform::FolderWatches().Watch(temp.Core(), true, recorder.Callback());
    ASSERT_NE(watch, nullptr);

    temp.File("new.txt");
    EXPECT_TRUE(recorder.WaitForEntries({temp.Core("new.txt")})) << "created";
    recorder.Clear();
    std::filesystem::rename(temp.Native("new.txt"), temp.Native("renamed.txt"));
    EXPECT_TRUE(recorder.WaitForEntries({temp.Core("new.txt"), temp.Core("renamed.txt")}))
        << "renamed";
    recorder.Clear();
    std::filesystem::remove(temp.Native("renamed.txt"));
    EXPECT_TRUE(recorder.WaitForEntries({temp.Core("renamed.txt")})) << "deleted";
    EXPECT_TRUE(recorder.WaitFor(FolderChange::Changed));
    EXPECT_FALSE(recorder.UnexpectedEntries());
}

TEST(FolderWatch, ATreeCoversFoldersThatExistedAndFoldersCreatedLater) {
    TempFolder temp;
    temp.Folder("old/deeper");
    Recorder recorder;
    auto watch = platform::FolderWatches().Watch(temp.Core(), true, recorder.Callback());
    ASSERT_NE(watch, nullptr);

    temp.File("old/deeper/a.exe");
    EXPECT_TRUE(recorder.WaitForEntries({temp.Core("old/deeper/a.exe")})) << "existing subfolder";

    temp.Folder("later");
    ASSERT_TRUE(recorder.WaitFor(FolderChange::Changed));
    // The new folder's watch is added when its creation is read; give it that event first.
    recorder.Clear();
    temp.Folder("later/inner");
    ASSERT_TRUE(recorder.WaitFor(FolderChange::Changed));
    recorder.Clear();
    temp.File("later/inner/b.exe");
    EXPECT_TRUE(recorder.WaitForEntries({temp.Core("later/inner/b.exe")}))
        << "subfolder created after the start";
    // A folder renamed inside the tree is named by both paths; what moved with it is not.
    recorder.Clear();
    std::filesystem::rename(temp.Native("later"), temp.Native("moved"));
    EXPECT_TRUE(recorder.WaitForEntries({temp.Core("later"), temp.Core("moved")}));
}

TEST(FolderWatch, AFolderAloneIgnoresItsSubfolders) {
    TempFolder temp;
    temp.Folder("sub");
    Recorder recorder;
    auto watch = platform::FolderWatches().Watch(temp.Core(), false, recorder.Callback());
    ASSERT_NE(watch, nullptr);

    temp.File("sub/a.exe");
    EXPECT_FALSE(recorder.WaitFor(FolderChange::Changed, 500ms));
    temp.File("b.exe");
    EXPECT_TRUE(recorder.WaitFor(FolderChange::Changed));
}

TEST(FolderWatch, AWatchedFolderThatGoesAwayEndsItsWatchQuietly) {
    TempFolder temp;
    temp.Folder("watched/sub");
    Recorder recorder;
    auto watch = platform::FolderWatches().Watch(temp.Core("watched"), true, recorder.Callback());
    ASSERT_NE(watch, nullptr);

    std::filesystem::remove_all(temp.Native("watched"));
    EXPECT_TRUE(recorder.WaitFor(FolderChange::Gone));
    EXPECT_FALSE(recorder.UnexpectedEntries());
    watch.reset(); // the stopped thread is joined, nothing hangs
}

TEST(FolderWatch, AFolderThatCannotBeWatchedGivesNoWatch) {
    TempFolder temp;
    temp.File("file.txt");
    Recorder recorder;
    EXPECT_EQ(platform::FolderWatches().Watch(temp.Core("missing"), true, recorder.Callback()),
              nullptr);
    EXPECT_EQ(platform::FolderWatches().Watch(temp.Core("file.txt"), true, recorder.Callback()),
              nullptr);
}

TEST(FolderWatch, StoppingAnIdleWatchReturns) {
    TempFolder temp;
    Recorder recorder;
    for (int i = 0; i < 20; ++i) {
        auto watch = platform::FolderWatches().Watch(temp.Core(), true, recorder.Callback());
        ASSERT_NE(watch, nullptr);
    }
}

} // namespace
} // namespace orvan
