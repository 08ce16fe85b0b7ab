#include "core/config/path_variables.h"
#include "platform/native.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>

namespace orvan {
namespace {

using testing::ScopedEnv;
using testing::TempFolder;

std::vector<std::string> List(const std::string& folder, const std::string& pattern) {
    std::vector<std::string> names;
    platform::FileSystem().Enumerate(folder, pattern, [&](const DirEntry& entry) {
        names.push_back(entry.name);
        return true;
    });
    return names;
}

std::map<std::string, DirEntry> ListEntries(const std::string& folder) {
    std::map<std::string, DirEntry> entries;
    platform::FileSystem().Enumerate(folder, "*.*", [&](const DirEntry& entry) {
        entries[entry.name] = entry;
        return true;
    });
    return entries;
}

using Names = std::vector<std::string>;

TEST(PosixFileSystem, ListsInNtfsOrderWithDotEntriesFirst) {
    TempFolder temp;
    for (const char* name : {"b.txt", "_x", "Zeta", "alpha", "A.txt", ".hidden", "a", "A",
                             "\xC3\xA4" /* ä */, "\xC3\x84" /* Ä */, "1"})
        temp.File(name);
    temp.Folder("Middle");
    // Upper-cased comparison puts "_" (0x5F) after the letters; lower-casing would not.
    EXPECT_EQ(List(temp.Core(), "*.*"),
              (Names{".", "..", ".hidden", "1", "A", "a", "A.txt", "alpha", "b.txt", "Middle",
                     "Zeta", "_x", "\xC3\x84", "\xC3\xA4"}));
}

TEST(PosixFileSystem, MatchesWildcardsAsWindowsDoes) {
    TempFolder temp;
    for (const char* name :
         {"README", "A.EXE", "b.exe", "setup.exe.bak", "x.txt", "xy.txt", ".profile"})
        temp.File(name);
    struct Case {
        const char* pattern;
        Names expected;
    };
    const Case cases[] = {
        {"*.*",
         {".", "..", ".profile", "A.EXE", "b.exe", "README", "setup.exe.bak", "x.txt", "xy.txt"}},
        {"*",
         {".", "..", ".profile", "A.EXE", "b.exe", "README", "setup.exe.bak", "x.txt", "xy.txt"}},
        {"*.exe", {"A.EXE", "b.exe"}},
        {"*.EXE*", {"A.EXE", "b.exe", "setup.exe.bak"}},
        {"?.txt", {"x.txt"}},
        {"x?.txt", {"xy.txt"}},
        {"??.txt", {"xy.txt"}},
        {"readme.*", {"README"}},
        {"Readme", {"README"}},
        {"*m*", {"README"}},
        {".*", {".", "..", ".profile"}},
        {"?", {"."}},
        {"nothing*", {}},
        {"", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(List(temp.Core(), c.pattern), c.expected) << c.pattern;
}

TEST(PosixFileSystem, ListingFailsOnlyWhenTheFolderCannotBeRead) {
    TempFolder temp;
    temp.File("file");
    const auto ignore = [](const DirEntry&) { return true; };
    EXPECT_TRUE(platform::FileSystem().Enumerate(temp.Core(), "none*", ignore));
    EXPECT_FALSE(platform::FileSystem().Enumerate(temp.Core("missing"), "*.*", ignore));
    EXPECT_FALSE(platform::FileSystem().Enumerate(temp.Core("file"), "*.*", ignore));
    EXPECT_FALSE(platform::FileSystem().Enumerate("D:\\", "*.*", ignore));
}

TEST(PosixFileSystem, StopsWhenTheVisitorSaysSo) {
    TempFolder temp;
    temp.File("a");
    temp.File("b");
    Names seen;
    platform::FileSystem().Enumerate(temp.Core(), "*", [&](const DirEntry& entry) {
        seen.push_back(entry.name);
        return entry.name != "a";
    });
    EXPECT_EQ(seen, (Names{".", "..", "a"}));
}

TEST(PosixFileSystem, RootHasNoDotEntries) {
    const Names names = List("C:\\", "*.*");
    EXPECT_FALSE(names.empty());
    EXPECT_EQ(std::count(names.begin(), names.end(), "."), 0);
    EXPECT_EQ(std::count(names.begin(), names.end(), ".."), 0);
    EXPECT_EQ(List("C:", "tmp"), (Names{"tmp"}));
}

// Files, hidden and read-only ones, folders, links to a folder and a file, a dangling link.
void MakeEntriesOfEveryKind(TempFolder& temp) {
    temp.File("plain.txt", "12345");
    temp.File(".hidden");
    temp.File("locked");
    chmod(temp.Native("locked").c_str(), 0444);
    temp.File("B.exe");
    temp.Folder("folder");
    temp.Folder(".config");
    temp.Folder("outside");
    std::filesystem::create_directory_symlink(temp.Native("outside"), temp.Native("dirlink"));
    std::filesystem::create_symlink(temp.Native("gone"), temp.Native("dangling"));
    std::filesystem::create_symlink(temp.Native("plain.txt"), temp.Native("filelink"));
}

TEST(PosixFileSystem, MapsFactsOntoWindowsAttributes) {
    TempFolder temp;
    MakeEntriesOfEveryKind(temp);

    const auto entries = ListEntries(temp.Core());
    using namespace FileAttribute;
    EXPECT_EQ(entries.at("plain.txt").attributes, Archive);
    EXPECT_EQ(entries.at("plain.txt").size, 5u);
    EXPECT_EQ(entries.at(".hidden").attributes, Archive | Hidden);
    EXPECT_EQ(entries.at("locked").attributes, Archive | ReadOnly);
    EXPECT_EQ(entries.at("folder").attributes, Directory);
    EXPECT_EQ(entries.at("folder").size, 0u);
    EXPECT_EQ(entries.at(".config").attributes, Directory | Hidden);
    EXPECT_EQ(entries.at("dirlink").attributes, Directory | ReparsePoint);
    EXPECT_EQ(entries.at("dangling").attributes, Archive | ReparsePoint);
    EXPECT_EQ(entries.at(".").attributes, Directory);
    EXPECT_EQ(entries.at("..").attributes & Directory, Directory);
}

// The listing by kinds gives the same entries in the same order, with every attribute the
// catalog scan decides by; only read-only, size and time may be missing.
TEST(PosixFileSystem, ListingByKindsAgreesOnNamesOrderAndKinds) {
    TempFolder temp;
    MakeEntriesOfEveryKind(temp);

    using namespace FileAttribute;
    constexpr std::uint32_t kKinds = Directory | Hidden | System | ReparsePoint;
    for (const char* pattern : {"*.*", "*.exe", "?o*"}) {
        std::vector<std::pair<std::string, std::uint32_t>> full;
        std::vector<std::pair<std::string, std::uint32_t>> kinds;
        platform::FileSystem().Enumerate(temp.Core(), pattern, [&](const DirEntry& entry) {
            full.emplace_back(entry.name, entry.attributes & kKinds);
            return true;
        });
        platform::FileSystem().EnumerateKinds(temp.Core(), pattern, [&](const DirEntry& entry) {
            kinds.emplace_back(entry.name, entry.attributes & kKinds);
            return true;
        });
        EXPECT_EQ(kinds, full) << pattern;
        EXPECT_FALSE(full.empty()) << pattern;
    }
}

TEST(PosixFileSystem, LastWriteIsLocalTimeOfThatDay) {
    TempFolder temp;
    temp.File("f");
    // 2000-07-01 12:00:00 UTC; days since 30 December 1899 = 36708.5.
    const timespec times[2] = {{962452800, 0}, {962452800, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, temp.Native("f").c_str(), times, 0), 0);
    {
        ScopedEnv tz("TZ", "UTC0");
        tzset();
        EXPECT_DOUBLE_EQ(ListEntries(temp.Core()).at("f").lastWrite, 36708.5);
    }
    {
        // Central European summer time applies on that date: two hours ahead.
        ScopedEnv tz("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
        tzset();
        EXPECT_DOUBLE_EQ(ListEntries(temp.Core()).at("f").lastWrite, 36708.5 + 2.0 / 24);
    }
    tzset();
}

TEST(PosixFileSystem, DeletesAndTestsLikeTheWindowsCalls) {
    TempFolder temp;
    temp.File("file");
    temp.File("locked");
    chmod(temp.Native("locked").c_str(), 0444);
    temp.Folder("full/inner");
    temp.Folder("empty");
    temp.Folder("target");
    std::filesystem::create_directory_symlink(temp.Native("target"), temp.Native("link"));
    const FileSystemPort& fs = platform::FileSystem();

    EXPECT_TRUE(fs.FileExists(temp.Core("file")));
    EXPECT_FALSE(fs.FileExists(temp.Core("empty")));
    EXPECT_TRUE(fs.FolderExists(temp.Core("empty")));
    EXPECT_FALSE(fs.FolderExists(temp.Core("file")));
    EXPECT_FALSE(fs.FileExists(temp.Core("missing")));
    EXPECT_FALSE(fs.FolderExists("D:\\"));

    EXPECT_FALSE(fs.RemoveFile(temp.Core("locked"))); // even for root, as on Windows
    EXPECT_TRUE(fs.FileExists(temp.Core("locked")));
    EXPECT_FALSE(fs.RemoveFile(temp.Core("empty")));
    EXPECT_FALSE(fs.RemoveFile(temp.Core("link")));
    EXPECT_TRUE(fs.RemoveFile(temp.Core("file")));
    EXPECT_FALSE(fs.FileExists(temp.Core("file")));
    EXPECT_FALSE(fs.RemoveFile(temp.Core("file")));

    EXPECT_FALSE(fs.RemoveFolder(temp.Core("full")));
    EXPECT_FALSE(fs.RemoveFolder(temp.Core("locked")));
    EXPECT_TRUE(fs.RemoveFolder(temp.Core("empty")));
    EXPECT_FALSE(fs.FolderExists(temp.Core("empty")));
    EXPECT_TRUE(fs.RemoveFolder(temp.Core("link")));
    EXPECT_TRUE(fs.FolderExists(temp.Core("target"))); // the link went, not its target
}

TEST(PosixDeleteFolderTree, RemovesAWholeTreeButNothingALinkPointsTo) {
    TempFolder temp;
    temp.Folder("tree/sub/deeper");
    temp.File("tree/a.txt", "a");
    temp.File("tree/.hidden");
    temp.File("tree/sub/b");
    temp.File("tree/sub/deeper/c");
    temp.Folder("keep");
    temp.File("keep/precious", "data");
    std::filesystem::create_directory_symlink(temp.Native("keep"), temp.Native("tree/sub/link"));
    std::filesystem::create_symlink(temp.Native("keep/precious"), temp.Native("tree/filelink"));

    EXPECT_TRUE(DeleteFolderTree(platform::FileSystem(), temp.Core("tree")));
    EXPECT_FALSE(std::filesystem::exists(temp.Native("tree")));
    EXPECT_TRUE(std::filesystem::exists(temp.Native("keep/precious")));
}

// The installer deletes the program's folders with administrator rights; a user without
// them could make such a folder, or one above it, a link to any folder.
TEST(PosixDeleteFolderTree, ALinkAtTheTopOrAboveItLeavesEverythingAlone) {
    struct Case {
        const char* name;
        const char* link; // made a link to "victim"
        const char* tree; // what is deleted
    };
    const Case cases[] = {
        {"the tree itself", "tree", "tree"},
        {"its parent", "parent", "parent/tree"},
        {"two levels above", "parent", "parent/middle/tree"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder temp;
        temp.Folder("victim/middle/tree/sub");
        temp.Folder("victim/tree");
        temp.File("victim/precious", "data");
        temp.File("victim/tree/own");
        temp.File("victim/middle/tree/own");
        temp.File("victim/middle/tree/sub/deep");
        std::filesystem::create_directory_symlink(temp.Native("victim"), temp.Native(c.link));

        const FileSystemPort& fs = platform::FileSystem();
        EXPECT_FALSE(DeleteFolderTree(fs, temp.Core(c.tree)));
        EXPECT_FALSE(fs.DeleteNoFollow(temp.Core(c.tree), false));
        EXPECT_TRUE(std::filesystem::is_symlink(temp.Native(c.link)));
        for (const char* kept : {"victim/precious", "victim/tree/own", "victim/middle/tree/own",
                                 "victim/middle/tree/sub/deep"})
            EXPECT_TRUE(std::filesystem::exists(temp.Native(kept))) << kept;
    }
}

TEST(PosixDeleteNoFollow, DeletesAFileOrAnEmptyFolderButNotAFullOneOrALink) {
    TempFolder temp;
    temp.File("file");
    temp.Folder("empty");
    temp.Folder("full");
    temp.File("full/x");
    temp.File("target");
    std::filesystem::create_symlink(temp.Native("target"), temp.Native("filelink"));
    const FileSystemPort& fs = platform::FileSystem();
    EXPECT_TRUE(fs.DeleteNoFollow(temp.Core("file"), false));
    EXPECT_TRUE(fs.DeleteNoFollow(temp.Core("empty"), false));
    EXPECT_FALSE(fs.DeleteNoFollow(temp.Core("full"), false));
    EXPECT_FALSE(fs.DeleteNoFollow(temp.Core("filelink"), false));
    EXPECT_FALSE(fs.DeleteNoFollow(temp.Core("missing"), false));
    EXPECT_FALSE(fs.DeleteNoFollow(temp.Core("full") + "\\..\\file", false));
    EXPECT_FALSE(std::filesystem::exists(temp.Native("file")));
    EXPECT_FALSE(std::filesystem::exists(temp.Native("empty")));
    EXPECT_TRUE(std::filesystem::exists(temp.Native("full/x")));
    EXPECT_TRUE(std::filesystem::is_symlink(temp.Native("filelink")));
    EXPECT_TRUE(std::filesystem::exists(temp.Native("target")));
}

TEST(PosixDeleteFolderTree, AReadOnlyFileStopsItAndLeavesTheRest) {
    TempFolder temp;
    temp.Folder("tree/m-sub");
    for (const char* name : {"tree/a", "tree/b-locked", "tree/c", "tree/m-sub/x"})
        temp.File(name);
    chmod(temp.Native("tree/b-locked").c_str(), 0444);

    EXPECT_FALSE(DeleteFolderTree(platform::FileSystem(), temp.Core("tree")));
    EXPECT_FALSE(std::filesystem::exists(temp.Native("tree/a")));
    EXPECT_TRUE(std::filesystem::exists(temp.Native("tree/b-locked")));
    EXPECT_TRUE(std::filesystem::exists(temp.Native("tree/c")));
    EXPECT_TRUE(std::filesystem::exists(temp.Native("tree/m-sub/x")));
}

TEST(PosixDeleteFolderTree, MissingFolderGivesFalse) {
    TempFolder temp;
    EXPECT_FALSE(DeleteFolderTree(platform::FileSystem(), temp.Core("missing")));
    EXPECT_TRUE(std::filesystem::exists(temp.Native()));
}

TEST(PosixDeleteFolderTree, AFolderThatCannotBeWrittenStopsIt) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root may unlink inside a folder without write permission";
    TempFolder temp;
    temp.Folder("tree/closed");
    temp.File("tree/closed/x");
    chmod(temp.Native("tree/closed").c_str(), 0555);
    EXPECT_FALSE(DeleteFolderTree(platform::FileSystem(), temp.Core("tree")));
    EXPECT_TRUE(std::filesystem::exists(temp.Native("tree/closed/x")));
}

} // namespace
} // namespace orvan
