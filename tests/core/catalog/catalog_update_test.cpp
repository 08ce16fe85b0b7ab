#include "core/catalog/catalog_update.h"

#include "fakes/fixed_folders.h"
#include "fakes/memory_file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace orvan {
namespace {

using testing::FakeFolders;
using testing::MemoryFileSystem;

// Names files after themselves and counts who asks, so that a test sees which files were
// looked at anew.
class CountingShell final : public ShellNamePort {
public:
    mutable std::vector<std::string> asked;
    std::string DisplayName(const std::string& path) const override {
        asked.push_back(path);
        return "shell:" + std::string(FileNamePart(path));
    }
};

class FixedClock final : public ClockPort {
public:
    double Now() const override { return 45000.5; }
};

SettingsOptionsCatalogPath CatalogPath(std::string path, std::int32_t depth, std::string mask,
                                       bool includeDirectories, bool active = true) {
    SettingsOptionsCatalogPath p;
    p.path = std::move(path);
    p.depth = depth;
    p.mask = std::move(mask);
    p.includeDirectories = includeDirectories;
    p.active = active;
    return p;
}

std::vector<std::string> Lines(const std::vector<CatalogItem>& items) {
    std::vector<std::string> lines;
    for (const CatalogItem& item : items)
        lines.push_back(item.path + " | " + item.name);
    return lines;
}

struct Disk {
    MemoryFileSystem fs;
    FakeFolders folders;
    CountingShell shell;
    FixedClock clock;

    Disk() { fs.logging = false; }

    std::vector<CatalogItem> FullScan(const SettingsOptionsCatalogPaths& paths) const {
        SettingsOptions options;
        options.catalog.paths = paths;
        CatalogScan scan;
        EXPECT_TRUE(scan.Rebuild(options, {fs, folders, shell, clock, {}}));
        return options.catalog.items.items();
    }
    UpdatedCatalog Update(const CatalogItems& catalog, const SettingsOptionsCatalogPaths& paths,
                          const std::vector<std::string>& changed) const {
        const KnownNames names(catalog, shell);
        CatalogScan scan;
        return UpdateCatalogEntries(scan, catalog, paths, changed, {fs, folders, names, clock, {}});
    }
};

// The tree every case starts from: files, subfolders, and the folders the scan leaves out.
struct UpdateFixture : ::testing::Test {
    Disk disk;
    SettingsOptionsCatalogPaths paths = {
        CatalogPath("C:\\Apps", UnlimitedDepth, "*.exe", true),
        CatalogPath("C:\\Inactive", UnlimitedDepth, "", false, false),
        CatalogPath("C:\\Other", 0, "", true),
    };

    void SetUp() override {
        MemoryFileSystem& fs = disk.fs;
        fs.AddFile("C:\\Apps\\one.exe");
        fs.AddFile("C:\\Apps\\readme.txt");
        fs.AddFile("C:\\Apps\\sub\\two.exe");
        fs.AddFile("C:\\Apps\\sub\\deeper\\three.exe");
        fs.AddFile("C:\\Apps\\later.exe"); // listed after the subfolder was added
        fs.AddFile("C:\\Apps\\.cache\\dot.exe");
        fs.AddFolder("C:\\Apps\\hidden", FileAttribute::Hidden);
        fs.AddFile("C:\\Apps\\hidden\\h.exe");
        fs.AddFolder("C:\\Apps\\link", FileAttribute::ReparsePoint);
        fs.AddFile("C:\\Other\\four.txt");
        fs.AddFile("C:\\Other\\inner\\five.txt");
        fs.AddFile("C:\\Inactive\\six.exe");
    }
};

struct ChangeCase {
    const char* name;
    std::function<void(MemoryFileSystem&)> change;
    std::vector<std::string> named; // what the watches report
};

void PrintTo(const ChangeCase& c, std::ostream* out) {
    *out << c.name;
}

class UpdateCases : public UpdateFixture, public ::testing::WithParamInterface<ChangeCase> {};

// Whatever changed, the update gives exactly what a full rebuild gives now, in its order,
// and asks the shell only for files it has not named before.
TEST_P(UpdateCases, GivesWhatAFullRebuildGives) {
    const ChangeCase& c = GetParam();
    const CatalogItems before(disk.FullScan(paths));
    c.change(disk.fs);
    const std::vector<CatalogItem> rebuilt = disk.FullScan(paths);
    std::vector<std::string> newFiles;
    for (const std::string& path : disk.shell.asked)
        if (std::none_of(before.begin(), before.end(),
                         [&](const CatalogItem& item) { return item.path == path; }))
            newFiles.push_back(path);
    disk.shell.asked.clear();

    const UpdatedCatalog updated = disk.Update(before, paths, c.named);
    ASSERT_EQ(updated.outcome, EntriesUpdate::Updated);
    EXPECT_EQ(Lines(updated.items), Lines(rebuilt));
    EXPECT_EQ(disk.shell.asked, newFiles);
}

void Remove(MemoryFileSystem& fs, const std::string& path) {
    fs.RemoveFile(path) || fs.RemoveFolder(path);
}

const ChangeCase kChangeCases[] = {
    {"ANewFileInASubfolder",
     [](MemoryFileSystem& fs) { fs.AddFile("C:\\Apps\\sub\\new.exe"); },
     {"C:\\Apps\\sub\\new.exe"}},
    {"ANewFileBesideTheSubfolders",
     [](MemoryFileSystem& fs) { fs.AddFile("C:\\Apps\\new.exe"); },
     {"C:\\Apps\\new.exe"}},
    {"ANewFileTheMaskLeavesOut",
     [](MemoryFileSystem& fs) { fs.AddFile("C:\\Apps\\sub\\notes.txt"); },
     {"C:\\Apps\\sub\\notes.txt"}},
    {"ADeletedFile",
     [](MemoryFileSystem& fs) { Remove(fs, "C:\\Apps\\sub\\deeper\\three.exe"); },
     {"C:\\Apps\\sub\\deeper\\three.exe"}},
    {"ARenamedFile",
     [](MemoryFileSystem& fs) {
         Remove(fs, "C:\\Apps\\one.exe");
         fs.AddFile("C:\\Apps\\sub\\uno.exe");
     },
     {"C:\\Apps\\one.exe", "C:\\Apps\\sub\\uno.exe"}},
    {"ANewFolderWithATreeNamedByItsTopAlone",
     [](MemoryFileSystem& fs) {
         fs.AddFile("C:\\Apps\\new\\a.exe");
         fs.AddFile("C:\\Apps\\new\\b\\c.exe");
     },
     {"C:\\Apps\\new"}},
    {"ARenamedFolderMovesItsTree",
     [](MemoryFileSystem& fs) {
         for (const char* path : {"C:\\Apps\\sub\\deeper\\three.exe", "C:\\Apps\\sub\\deeper",
                                  "C:\\Apps\\sub\\two.exe", "C:\\Apps\\sub"})
             Remove(fs, path);
         fs.AddFile("C:\\Apps\\moved\\two.exe");
         fs.AddFile("C:\\Apps\\moved\\deeper\\three.exe");
     },
     {"C:\\Apps\\sub", "C:\\Apps\\moved"}},
    {"ADeletedTreeNamedEntryByEntry",
     [](MemoryFileSystem& fs) {
         for (const char* path : {"C:\\Apps\\sub\\deeper\\three.exe", "C:\\Apps\\sub\\deeper",
                                  "C:\\Apps\\sub\\two.exe", "C:\\Apps\\sub"})
             Remove(fs, path);
     },
     {"C:\\Apps\\sub\\deeper\\three.exe", "C:\\Apps\\sub\\deeper", "C:\\Apps\\sub\\two.exe",
      "C:\\Apps\\sub"}},
    {"AFolderGoneWhileOnlyAFileInItWasNamed",
     [](MemoryFileSystem& fs) {
         for (const char* path : {"C:\\Apps\\sub\\deeper\\three.exe", "C:\\Apps\\sub\\deeper"})
             Remove(fs, path);
     },
     {"C:\\Apps\\sub\\deeper\\three.exe"}},
    {"InsideAHiddenFolderNothingChanges",
     [](MemoryFileSystem& fs) { fs.AddFile("C:\\Apps\\hidden\\more.exe"); },
     {"C:\\Apps\\hidden\\more.exe"}},
    {"InsideADotFolderNothingChanges",
     [](MemoryFileSystem& fs) { fs.AddFile("C:\\Apps\\.cache\\more.exe"); },
     {"C:\\Apps\\.cache\\more.exe"}},
    {"AFolderMadeHiddenLeaves",
     [](MemoryFileSystem& fs) {
         Remove(fs, "C:\\Apps\\sub\\deeper\\three.exe");
         Remove(fs, "C:\\Apps\\sub\\deeper");
         fs.AddFolder("C:\\Apps\\sub\\deeper", FileAttribute::Hidden);
         fs.AddFile("C:\\Apps\\sub\\deeper\\three.exe");
     },
     {"C:\\Apps\\sub\\deeper"}},
    {"BeyondThePathsDepthOnlyTheFolderEntryComes",
     [](MemoryFileSystem& fs) { fs.AddFile("C:\\Other\\new\\deep.txt"); },
     {"C:\\Other\\new", "C:\\Other\\new\\deep.txt"}},
    {"BeyondThePathsDepthNothingChanges",
     [](MemoryFileSystem& fs) { fs.AddFile("C:\\Other\\inner\\more.txt"); },
     {"C:\\Other\\inner\\more.txt"}},
    {"OutsideEveryActivePathNothingChanges",
     [](MemoryFileSystem& fs) {
         fs.AddFile("C:\\Inactive\\seven.exe");
         fs.AddFile("C:\\Elsewhere\\x.exe");
     },
     {"C:\\Inactive\\seven.exe", "C:\\Elsewhere\\x.exe"}},
    {"ChangesInTwoPaths",
     [](MemoryFileSystem& fs) {
         fs.AddFile("C:\\Apps\\sub\\deeper\\new.exe");
         fs.AddFile("C:\\Other\\new.txt");
     },
     {"C:\\Other\\new.txt", "C:\\Apps\\sub\\deeper\\new.exe"}},
    {"APathSpelledInAnotherCaseByTheWatch",
     [](MemoryFileSystem& fs) { fs.AddFile("C:\\Apps\\sub\\new.exe"); },
     {"c:\\APPS\\sub\\new.exe"}},
    {"NamedTwiceAndWithATrailingBackslash",
     [](MemoryFileSystem& fs) { fs.AddFile("C:\\Apps\\new\\a.exe"); },
     {"C:\\Apps\\new\\", "C:\\Apps\\new", "C:\\Apps\\new\\a.exe"}},
    {"NamedButUnchanged", [](MemoryFileSystem&) {}, {"C:\\Apps\\sub\\two.exe"}},
};

INSTANTIATE_TEST_SUITE_P(CatalogUpdate, UpdateCases, ::testing::ValuesIn(kChangeCases),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(UpdateFixture, KeepsTheNamesAndEntriesOfWhatDidNotChange) {
    std::vector<CatalogItem> named = disk.FullScan(paths);
    for (CatalogItem& item : named)
        if (!item.name.empty())
            item.name = "as named before";
    const CatalogItems before(std::move(named));
    disk.fs.AddFile("C:\\Apps\\sub\\new.exe");
    disk.shell.asked.clear();
    const UpdatedCatalog updated = disk.Update(before, paths, {"C:\\Apps\\sub\\new.exe"});
    ASSERT_EQ(updated.outcome, EntriesUpdate::Updated);
    for (const CatalogItem& item : updated.items)
        EXPECT_EQ(item.name, item.path == "C:\\Apps\\sub\\new.exe"
                                 ? "shell:new.exe"
                                 : (item.name.empty() ? "" : "as named before"))
            << item.path;
    EXPECT_EQ(disk.shell.asked, std::vector<std::string>{"C:\\Apps\\sub\\new.exe"});
}

// Only the folders on the way to the change are listed again, not the whole tree.
TEST_F(UpdateFixture, ListsOnlyTheFoldersOnTheWayToTheChange) {
    for (int i = 0; i < 20; ++i)
        disk.fs.AddFile("C:\\Apps\\many" + std::to_string(i) + "\\x.exe");
    const CatalogItems before(disk.FullScan(paths));
    disk.fs.AddFile("C:\\Apps\\sub\\deeper\\new.exe");
    disk.fs.log.clear();
    disk.fs.logging = true;
    ASSERT_EQ(disk.Update(before, paths, {"C:\\Apps\\sub\\deeper\\new.exe"}).outcome,
              EntriesUpdate::Updated);
    std::vector<std::string> folders;
    for (const std::string& line : disk.fs.log)
        if (std::find(folders.begin(), folders.end(), line) == folders.end())
            folders.push_back(line);
    EXPECT_EQ(folders, (std::vector<std::string>{
                           "list C:\\Apps *.exe", "list C:\\Apps *.*", "list C:\\Apps\\sub *.exe",
                           "list C:\\Apps\\sub *.*", "list C:\\Apps\\sub\\deeper *.exe",
                           "list C:\\Apps\\sub\\deeper *.*"}));
}

struct RefusalCase {
    const char* name;
    SettingsOptionsCatalogPaths paths;
    std::vector<std::string> named;
};

void PrintTo(const RefusalCase& c, std::ostream* out) {
    *out << c.name;
}

class Refusals : public UpdateFixture, public ::testing::WithParamInterface<RefusalCase> {};

// What cannot be followed entry by entry is left to a full rebuild.
TEST_P(Refusals, LeaveItToAFullRebuild) {
    const RefusalCase& c = GetParam();
    const SettingsOptionsCatalogPaths& used = c.paths.empty() ? paths : c.paths;
    const CatalogItems before(disk.FullScan(used));
    EXPECT_EQ(disk.Update(before, used, c.named).outcome, EntriesUpdate::RebuildNeeded);
}

std::vector<std::string> ManyChanges() {
    std::vector<std::string> many;
    for (std::size_t i = 0; i <= kMostChangedEntries; ++i)
        many.push_back("C:\\Apps\\f" + std::to_string(i) + ".exe");
    return many;
}

const RefusalCase kRefusals[] = {
    {"AChangeOfAPathsFolderItself", {}, {"C:\\Apps\\sub\\x.exe", "C:\\Apps"}},
    {"AChangeOfAFolderAboveAPath", {}, {"C:\\"}},
    {"APathsFolderSpelledOtherwise", {}, {"c:\\apps\\"}},
    {"MoreChangesThanAreFollowed", {}, ManyChanges()},
    {"OverlappingPaths",
     {CatalogPath("C:\\Apps", UnlimitedDepth, "*.exe", false),
      CatalogPath("C:\\Apps\\sub", 0, "*.*", false)},
     {"C:\\Other\\x.txt"}},
    {"OneFolderTwice",
     {CatalogPath("C:\\Apps", 0, "*.exe", false), CatalogPath("c:\\apps\\", 0, "*.txt", false)},
     {"C:\\Apps\\x.exe"}},
};

INSTANTIATE_TEST_SUITE_P(CatalogUpdate, Refusals, ::testing::ValuesIn(kRefusals),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(UpdateFixture, ACatalogScannedUnderAnotherSpellingOfThePathIsRebuilt) {
    std::vector<CatalogItem> items = disk.FullScan(paths);
    for (CatalogItem& item : items)
        if (item.path.starts_with("C:\\Apps\\"))
            item.path.replace(0, 8, "C:\\APPS\\");
    disk.fs.AddFile("C:\\Apps\\sub\\new.exe");
    EXPECT_EQ(
        disk.Update(CatalogItems(std::move(items)), paths, {"C:\\Apps\\sub\\new.exe"}).outcome,
        EntriesUpdate::RebuildNeeded);
}

TEST_F(UpdateFixture, AStoppedUpdateGivesNothing) {
    const CatalogItems before(disk.FullScan(paths));
    disk.fs.AddFile("C:\\Apps\\sub\\new.exe");
    CatalogScan scan;
    const UpdatedCatalog updated =
        UpdateCatalogEntries(scan, before, paths, {"C:\\Apps\\sub\\new.exe"},
                             {disk.fs, disk.folders, disk.shell, disk.clock, [&] { scan.Stop(); }});
    EXPECT_EQ(updated.outcome, EntriesUpdate::Stopped);
    EXPECT_TRUE(updated.items.empty());
}

// Random trees under random catalog paths, changed at random as a user and installers do,
// and told about as folder watches do: after every round of changes the updated catalog is
// exactly the full rebuild's, and the next round starts from it.
class RandomDisk {
public:
    RandomDisk(MemoryFileSystem& fs, unsigned seed) : fs_(fs), random_(seed) {}

    std::string Name() {
        static const char* const names[] = {"a.exe", "B.EXE", "c.txt", "d",     "e.exe",
                                            ".f",    "g.exe", "h.lnk", "i.exe", "j"};
        return names[Pick(std::size(names))];
    }
    std::uint32_t FolderAttributes() {
        const std::size_t roll = Pick(20);
        return roll == 0   ? FileAttribute::Hidden
               : roll == 1 ? FileAttribute::System
               : roll == 2 ? FileAttribute::ReparsePoint
                           : 0;
    }
    // Fills a folder with a few files and folders, to the given depth.
    void Fill(const std::string& folder, int depth) {
        for (std::size_t i = Pick(4); i > 0; --i) {
            const std::string path = folder + "\\" + Name();
            if (fs_.Exists(path))
                continue;
            if (depth > 0 && Pick(3) == 0) {
                fs_.AddFolder(path, FolderAttributes());
                Fill(path, depth - 1);
            } else {
                fs_.AddFile(path, "", Pick(10) == 0 ? FileAttribute::Hidden : 0);
            }
        }
    }
    // Every entry below folder (not itself), parents before children.
    std::vector<std::string> Below(const std::string& folder) const {
        std::vector<std::string> entries;
        fs_.Enumerate(folder, "*", [&](const DirEntry& entry) {
            if (entry.name == "." || entry.name == "..")
                return true;
            const std::string path = folder + "\\" + entry.name;
            entries.push_back(path);
            if ((entry.attributes & FileAttribute::Directory) != 0)
                for (std::string& deeper : Below(path))
                    entries.push_back(std::move(deeper));
            return true;
        });
        return entries;
    }
    std::optional<DirEntry> Facts(const std::string& path) const {
        std::optional<DirEntry> facts;
        const std::size_t cut = path.rfind('\\');
        fs_.Enumerate(path.substr(0, cut), path.substr(cut + 1), [&](const DirEntry& entry) {
            facts = entry;
            return false;
        });
        return facts;
    }
    // One change somewhere in the tree; returns what a watch names.
    std::vector<std::string> Change(const std::vector<std::string>& roots) {
        std::vector<std::string> all;
        for (const std::string& root : roots) {
            all.push_back(root);
            for (std::string& entry : Below(root))
                all.push_back(std::move(entry));
        }
        const std::string target = all[Pick(all.size())];
        const std::optional<DirEntry> facts = Facts(target);
        const bool folder = !facts || (facts->attributes & FileAttribute::Directory) != 0;
        const std::size_t action = Pick(4);
        if (action == 0 || !facts) { // create in a folder (or beside a file)
            const std::string parent = folder ? target : target.substr(0, target.rfind('\\'));
            const std::string path = parent + "\\" + Name();
            if (fs_.Exists(path))
                return {};
            if (Pick(2) == 0) {
                fs_.AddFolder(path, FolderAttributes());
                Fill(path, 2);
            } else {
                fs_.AddFile(path);
            }
            return {path};
        }
        if (std::find(roots.begin(), roots.end(), target) != roots.end())
            return {};     // the paths' folders stay
        if (action == 1) { // delete, the tree told entry by entry or by its top alone
            std::vector<std::string> gone = Below(target);
            std::reverse(gone.begin(), gone.end());
            gone.push_back(target);
            for (const std::string& path : gone)
                fs_.RemoveFile(path) || fs_.RemoveFolder(path);
            return Pick(2) == 0 ? gone : std::vector<std::string>{target};
        }
        // Rename or move elsewhere, attributes and tree along.
        const std::string parent = all[Pick(all.size())];
        const std::optional<DirEntry> parentFacts = Facts(parent);
        if ((parentFacts && (parentFacts->attributes & FileAttribute::Directory) == 0) ||
            parent == target || parent.starts_with(target + "\\"))
            return {};
        const std::string moved = parent + "\\" + Name();
        if (fs_.Exists(moved))
            return {};
        std::vector<std::pair<std::string, DirEntry>> tree = {{target, *facts}};
        for (const std::string& path : Below(target))
            tree.push_back({path, *Facts(path)});
        for (const auto& [path, entry] : tree) {
            const std::string to = moved + path.substr(target.size());
            if ((entry.attributes & FileAttribute::Directory) != 0)
                fs_.AddFolder(to, entry.attributes & ~FileAttribute::Directory);
            else
                fs_.AddFile(to, "", entry.attributes & ~FileAttribute::Archive);
        }
        for (auto it = tree.rbegin(); it != tree.rend(); ++it)
            fs_.RemoveFile(it->first) || fs_.RemoveFolder(it->first);
        return {target, moved};
    }
    std::size_t Pick(std::size_t count) {
        return std::uniform_int_distribution<std::size_t>(0, count - 1)(random_);
    }

private:
    MemoryFileSystem& fs_;
    std::mt19937 random_;
};

TEST(CatalogUpdateProperty, RandomChangesGiveWhatAFullRebuildGives) {
    for (unsigned seed = 1; seed <= 150; ++seed) {
        SCOPED_TRACE(seed);
        Disk disk;
        RandomDisk random(disk.fs, seed);
        static const char* const masks[] = {"", "*.*", "*.exe", "*.exe;*.EXE", "*.txt;*.exe;*.lnk"};
        static const std::int32_t depths[] = {UnlimitedDepth, 0, 1, 2};
        SettingsOptionsCatalogPaths paths;
        for (const char* root : {"C:\\One", "C:\\Two\\Deep", "C:\\Two\\Other"}) {
            disk.fs.AddFolder(root);
            random.Fill(root, 3);
            paths.push_back(CatalogPath(root, depths[random.Pick(4)], masks[random.Pick(5)],
                                        random.Pick(2) == 0, random.Pick(5) != 0));
        }
        const std::vector<std::string> roots = {"C:\\One", "C:\\Two\\Deep", "C:\\Two\\Other"};
        CatalogItems catalog(disk.FullScan(paths));
        for (int round = 0; round < 12; ++round) {
            SCOPED_TRACE(round);
            std::vector<std::string> named;
            for (std::size_t i = random.Pick(4) + 1; i > 0; --i)
                for (std::string& entry : random.Change(roots))
                    named.push_back(std::move(entry));
            UpdatedCatalog updated = disk.Update(catalog, paths, named);
            ASSERT_EQ(updated.outcome, EntriesUpdate::Updated);
            const std::vector<CatalogItem> rebuilt = disk.FullScan(paths);
            ASSERT_EQ(Lines(updated.items), Lines(rebuilt));
            catalog = CatalogItems(std::move(updated.items));
        }
    }
}

} // namespace
} // namespace orvan
