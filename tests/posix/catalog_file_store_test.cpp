#include "platform/native.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

namespace orvan {
namespace {

using testing::TempFolder;

TEST(PosixFileStore, ReadsWholeFilesAndTellsMissingFromUnreadable) {
    TempFolder temp;
    const FileStorePort& store = platform::FileStore();
    temp.File("a.ini", std::string("x\0y", 3));
    const FileContent read = store.ReadWholeFile(temp.Core("a.ini"));
    EXPECT_EQ(read.status, FileContent::Status::Read);
    EXPECT_EQ(read.bytes, std::string("x\0y", 3));
    EXPECT_EQ(store.ReadWholeFile(temp.Core("none.ini")).status, FileContent::Status::Missing);
    EXPECT_EQ(store.ReadWholeFile(temp.Core("none\\deeper.ini")).status,
              FileContent::Status::Missing);
    temp.Folder("dir.ini");
    EXPECT_EQ(store.ReadWholeFile(temp.Core("dir.ini")).status, FileContent::Status::Unreadable);
    EXPECT_EQ(store.ReadWholeFile("D:\\elsewhere.ini").status, FileContent::Status::Missing);
}

TEST(PosixFileStore, ReplacesInOneStepAndKeepsPermissions) {
    TempFolder temp;
    const FileStorePort& store = platform::FileStore();
    ASSERT_TRUE(store.ReplaceWholeFile(temp.Core("new.ini"), "first"));
    EXPECT_EQ(store.ReadWholeFile(temp.Core("new.ini")).bytes, "first");
    chmod(temp.Native("new.ini").c_str(), 0640);
    ASSERT_TRUE(store.ReplaceWholeFile(temp.Core("new.ini"), "second"));
    EXPECT_EQ(store.ReadWholeFile(temp.Core("new.ini")).bytes, "second");
    struct stat st {};
    ASSERT_EQ(stat(temp.Native("new.ini").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    // No temporary file is left behind.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(temp.Native()))
        ++files;
    EXPECT_EQ(files, 1);
}

TEST(PosixFileStore, FailedReplaceLeavesTheOldFileWhole) {
    TempFolder temp;
    const FileStorePort& store = platform::FileStore();
    EXPECT_FALSE(store.ReplaceWholeFile(temp.Core("missing\\x.ini"), "data"));
    EXPECT_FALSE(store.ReplaceWholeFile("D:\\x.ini", "data"));
    temp.File("old.ini", "old");
    if (geteuid() != 0) { // root writes into read-only folders anyway
        chmod(temp.Native().c_str(), 0500);
        EXPECT_FALSE(store.ReplaceWholeFile(temp.Core("old.ini"), "new"));
        chmod(temp.Native().c_str(), 0700);
    }
    // A folder in the way of the target cannot be replaced by a file.
    temp.Folder("taken.ini");
    temp.File("taken.ini/inner", "i");
    EXPECT_FALSE(store.ReplaceWholeFile(temp.Core("taken.ini"), "new"));
    EXPECT_EQ(store.ReadWholeFile(temp.Core("old.ini")).bytes, "old");
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(temp.Native()))
        ++files;
    EXPECT_EQ(files, 2);
}

TEST(PosixFileStore, CreatesFoldersWithTheirParents) {
    TempFolder temp;
    const FileStorePort& store = platform::FileStore();
    EXPECT_TRUE(store.CreateFolders(temp.Core("a\\b\\c")));
    EXPECT_TRUE(std::filesystem::is_directory(temp.Native("a/b/c")));
    EXPECT_TRUE(store.CreateFolders(temp.Core("a\\b\\c")));
    temp.File("file", "x");
    EXPECT_FALSE(store.CreateFolders(temp.Core("file\\sub")));
    EXPECT_FALSE(store.CreateFolders("D:\\x"));
}

} // namespace
} // namespace orvan
