#include "core/config/temporary_files.h"
#include "platform/native.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>
#include <filesystem>
#include <set>
#include <string>

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

std::set<std::string> Names(const TempFolder& temp) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(temp.Native()))
        names.insert(entry.path().filename().string());
    return names;
}

TEST(PosixFileStore, TheTemporaryFileOfASaveHasTheNameTheCleanUpLooksFor) {
    TempFolder temp;
    temp.File("Orvan.ini", "old");
    std::set<std::string> during;
    ASSERT_TRUE(platform::FileStore().ReplaceFileWith(temp.Core("Orvan.ini"), [&](FileWriter& w) {
        during = Names(temp);
        return w.Write("new");
    }));
    during.erase("Orvan.ini");
    ASSERT_EQ(during.size(), 1u);
    EXPECT_TRUE(IsTemporaryFileName(*during.begin())) << *during.begin();
    EXPECT_EQ(Names(temp), std::set<std::string>{"Orvan.ini"});
}

TEST(PosixFileStore, StaleTemporaryFilesGoAndASaveInProgressStays) {
    TempFolder temp;
    const auto aged = [&](const std::string& name, std::time_t secondsAgo) {
        temp.File(name, "x");
        const timespec when{std::time(nullptr) - secondsAgo, 0};
        const timespec times[2] = {when, when};
        ASSERT_EQ(utimensat(AT_FDCWD, temp.Native(name).c_str(), times, 0), 0);
    };
    aged("orvk3Zq9x.tmp", 2 * 24 * 3600); // a crash two days ago
    aged("orv1A2B.tmp", 5 * 3600);
    aged("orvAbCdEf.tmp", 60); // a save writing now
    aged("Orvan.ini.AbCdEf", 2 * 24 * 3600);
    aged("Orvan.ini", 2 * 24 * 3600);
    EXPECT_EQ(
        RemoveStaleTemporaryFiles(platform::FileSystem(), temp.Core(), platform::Clock().Now()),
        2u);
    EXPECT_EQ(Names(temp),
              (std::set<std::string>{"orvAbCdEf.tmp", "Orvan.ini.AbCdEf", "Orvan.ini"}));
}

} // namespace
} // namespace orvan
