#include "core/catalog/scanner.h"

#include "fakes/fixed_folders.h"
#include "fakes/memory_file_system.h"

#include <gtest/gtest.h>

namespace orvan {
namespace {

using testing::FakeFolders;
using testing::MemoryFileSystem;

// Shortcuts lose ".lnk"; other files show as "<name>"; a file named "nameless" has none.
class FakeShell final : public ShellNamePort {
public:
    std::string DisplayName(const std::string& path) const override {
        const std::string name(FileNamePart(path));
        if (name == "nameless")
            return {};
        if (name.size() > 4 && name.substr(name.size() - 4) == ".lnk")
            return name.substr(0, name.size() - 4);
        return "<" + name + ">";
    }
};

class FixedClock final : public ClockPort {
public:
    double Now() const override { return 45678.75; }
};

SettingsOptionsCatalogPath CatalogPath(std::string path, std::string mask, std::int32_t depth,
                                       bool includeDirectories = false, bool active = true) {
    SettingsOptionsCatalogPath p;
    p.path = std::move(path);
    p.mask = std::move(mask);
    p.depth = depth;
    p.includeDirectories = includeDirectories;
    p.active = active;
    return p;
}

class ScannerTest : public ::testing::Test {
protected:
    ScannerTest() {
        folders.folders = {{Csidl::StartMenu, "C:\\Start"}, {Csidl::Desktop, "C:\\Desk"}};
    }

    ScanServices Services() {
        return {disk, folders, shell, clock, [this] { pump(); }, [this] { betweenEntries(); }};
    }

    std::vector<std::string> Rebuild(std::vector<SettingsOptionsCatalogPath> paths) {
        options.catalog.paths = std::move(paths);
        EXPECT_TRUE(scan.Rebuild(options, Services()));
        return Paths();
    }
    std::vector<std::string> Paths() const {
        std::vector<std::string> list;
        for (const CatalogItem& item : options.catalog.items)
            list.push_back(item.path + (item.name.empty() ? "" : " = " + item.name));
        return list;
    }

    CatalogScan scan;
    MemoryFileSystem disk;
    FakeFolders folders;
    FakeShell shell;
    FixedClock clock;
    std::function<void()> pump = [] {};
    std::function<void()> betweenEntries = [] {};
    SettingsOptions options;
};

TEST_F(ScannerTest, FilesPerPatternThenSubfoldersDepthFirst) {
    disk.AddFile("C:\\Start\\b.exe");
    disk.AddFile("C:\\Start\\a.txt");
    disk.AddFile("C:\\Start\\c.EXE");
    disk.AddFile("C:\\Start\\Tools\\t.exe");
    disk.AddFile("C:\\Start\\Tools\\Deep\\d.txt");
    disk.AddFile("C:\\Start\\Zed\\z.txt");
    disk.AddFile("C:\\Start\\App.lnk");
    disk.AddFile("C:\\Start\\nameless");
    EXPECT_EQ(Rebuild({CatalogPath("%STARTMENU%", "*.exe;*.txt", UnlimitedDepth)}),
              (std::vector<std::string>{
                  "C:\\Start\\b.exe = <b.exe>",
                  "C:\\Start\\c.EXE = <c.EXE>",
                  "C:\\Start\\a.txt = <a.txt>",
                  "C:\\Start\\Tools\\t.exe = <t.exe>",
                  "C:\\Start\\Tools\\Deep\\d.txt = <d.txt>",
                  "C:\\Start\\Zed\\z.txt = <z.txt>",
              }));
    EXPECT_EQ(options.catalog.lastRebuild, 45678.75);
    EXPECT_EQ(options.catalog.items[0].priority, 0);

    // An empty mask is "*.*": shortcuts keep their ".lnk" path, the shell gives the name.
    // Entries come in the file system's order.
    const auto all = Rebuild({CatalogPath("C:\\Start", "", 0)});
    EXPECT_EQ(all,
              (std::vector<std::string>{"C:\\Start\\b.exe = <b.exe>", "C:\\Start\\a.txt = <a.txt>",
                                        "C:\\Start\\c.EXE = <c.EXE>", "C:\\Start\\App.lnk = App",
                                        "C:\\Start\\nameless"}));
}

TEST_F(ScannerTest, CountersIncludeDotEntriesAndFolders) {
    disk.AddFile("C:\\One\\x.txt");
    disk.AddFile("C:\\One\\y.txt");
    Rebuild({CatalogPath("C:\\One", "*.*", UnlimitedDepth)});
    EXPECT_EQ(scan.ScannedFolders(), 1);
    EXPECT_EQ(scan.ScannedFiles(), 4);
    EXPECT_EQ(scan.NewItemCount(), 2u);
    EXPECT_FALSE(scan.Scanning());
    EXPECT_EQ(scan.ScanPath(), "C:\\One\\y.txt");
    EXPECT_TRUE(scan.Completed().SharesWith(options.catalog.items));

    // A subfolder matching the mask counts as a file entry too, and is scanned.
    disk.AddFile("C:\\One\\Sub.d\\z.txt");
    Rebuild({CatalogPath("C:\\One", "*.*", UnlimitedDepth)});
    EXPECT_EQ(scan.ScannedFolders(), 2);
    EXPECT_EQ(scan.ScannedFiles(), 5 + 3);
}

// A folder is read once per pattern and once for its subfolders, except that a "*.*"
// listing of the file pass serves the folder pass too; the results are the same.
TEST_F(ScannerTest, AnAllPatternListingServesTheFolderPass) {
    disk.AddFile("C:\\One\\x.txt");
    disk.AddFile("C:\\One\\Sub\\y.exe");
    disk.AddFile("C:\\One\\.git\\z.txt");
    struct Case {
        const char* mask;
        std::size_t enumerations; // for the two folders scanned
        std::vector<std::string> paths;
    };
    const std::vector<std::string> everything = {"C:\\One\\x.txt = <x.txt>",
                                                 "C:\\One\\Sub\\y.exe = <y.exe>"};
    const Case cases[] = {
        {"*.*", 2, everything},
        {"", 2, everything},
        {"*.exe;*.*", 4, {everything[0], everything[1], everything[1]}},
        {"*.*;*.*", 4, {everything[0], everything[0], everything[1], everything[1]}},
        {"*.txt", 4, {everything[0]}},
    };
    for (const Case& c : cases) {
        disk.enumerations = 0;
        EXPECT_EQ(Rebuild({CatalogPath("C:\\One", c.mask, UnlimitedDepth)}), c.paths) << c.mask;
        EXPECT_EQ(disk.enumerations, c.enumerations) << c.mask;
        EXPECT_EQ(scan.ScannedFolders(), 2) << c.mask;
    }
}

TEST_F(ScannerTest, DepthAndFolderEntries) {
    disk.AddFile("C:\\R\\top.exe");
    for (const char* sub : {"A", "B", "C"}) {
        disk.AddFile(std::string("C:\\R\\") + sub + "\\in.exe");
        disk.AddFile(std::string("C:\\R\\") + sub + "\\Deeper\\no.exe");
    }
    EXPECT_EQ(Rebuild({CatalogPath("C:\\R", "*.exe", 0, true)}),
              (std::vector<std::string>{"C:\\R\\top.exe = <top.exe>", "C:\\R\\A", "C:\\R\\B",
                                        "C:\\R\\C"}));
    EXPECT_EQ(
        Rebuild({CatalogPath("C:\\R", "*.exe", 1)}),
        (std::vector<std::string>{"C:\\R\\top.exe = <top.exe>", "C:\\R\\A\\in.exe = <in.exe>",
                                  "C:\\R\\B\\in.exe = <in.exe>", "C:\\R\\C\\in.exe = <in.exe>"}));
    // Folder entries come for every subfolder met, also below the depth limit's reach.
    EXPECT_EQ(Rebuild({CatalogPath("C:\\R", "*.none", 1, true)}),
              (std::vector<std::string>{"C:\\R\\A", "C:\\R\\A\\Deeper", "C:\\R\\B",
                                        "C:\\R\\B\\Deeper", "C:\\R\\C", "C:\\R\\C\\Deeper"}));
    // Other negative depths scan like 0, whatever their size.
    EXPECT_EQ(
        Rebuild({CatalogPath("C:\\R", "*.exe", -5), CatalogPath("C:\\R", "*.exe", INT32_MIN)}),
        (std::vector<std::string>{"C:\\R\\top.exe = <top.exe>", "C:\\R\\top.exe = <top.exe>"}));
}

TEST_F(ScannerTest, HiddenSystemDotAndLinkedFolders) {
    disk.AddFile("C:\\H\\visible.exe");
    disk.AddFile("C:\\H\\secret.exe", "", FileAttribute::Hidden);
    disk.AddFolder("C:\\H\\Hidden", FileAttribute::Hidden);
    disk.AddFile("C:\\H\\Hidden\\inside.exe");
    disk.AddFolder("C:\\H\\Sys", FileAttribute::System);
    disk.AddFile("C:\\H\\Sys\\inside.exe");
    disk.AddFile("C:\\H\\.cache\\inside.exe");
    disk.AddFolder("C:\\H\\Link", FileAttribute::ReparsePoint);
    disk.AddFile("C:\\H\\Link\\inside.exe");
    EXPECT_EQ(Rebuild({CatalogPath("C:\\H", "*.exe", UnlimitedDepth, true)}),
              (std::vector<std::string>{"C:\\H\\visible.exe = <visible.exe>",
                                        "C:\\H\\secret.exe = <secret.exe>", "C:\\H\\Link"}));
    // A catalog path that itself names a hidden folder is scanned.
    EXPECT_EQ(Rebuild({CatalogPath("C:\\H\\Hidden", "*.exe", UnlimitedDepth)}),
              (std::vector<std::string>{"C:\\H\\Hidden\\inside.exe = <inside.exe>"}));
}

TEST_F(ScannerTest, OverlapsAndCaseVariantMasksGiveDuplicates) {
    disk.AddFile("C:\\D\\x.exe");
    EXPECT_EQ(Rebuild({CatalogPath("C:\\D", "*.exe;*.EXE", 0), CatalogPath("C:\\D\\", "*.*", 0),
                       CatalogPath("C:\\D", "*.*", 0, false, false)}),
              (std::vector<std::string>{"C:\\D\\x.exe = <x.exe>", "C:\\D\\x.exe = <x.exe>",
                                        "C:\\D\\x.exe = <x.exe>"}));
}

TEST_F(ScannerTest, PathVariablesExpandAndUnresolvedOnesContributeNothing) {
    disk.AddFile("C:\\Desk\\d.exe");
    disk.AddFile("C:\\root.exe");
    disk.AddFile("C:\\x\\in.exe");
    // %FAVORITES% is unknown here: "" would have listed the current drive's root.
    EXPECT_EQ(Rebuild({CatalogPath("%FAVORITES%", "*.*", UnlimitedDepth),
                       CatalogPath("%DESKTOP%", "*.exe", UnlimitedDepth),
                       CatalogPath("%DESKTOP%%FAVORITES%", "*.exe", 0)}),
              (std::vector<std::string>{"C:\\Desk\\d.exe = <d.exe>", "C:\\Desk\\d.exe = <d.exe>"}));
    EXPECT_EQ(scan.ScannedFolders(), 3);
}

TEST_F(ScannerTest, NoActivePathCompletesEmpty) {
    options.catalog.items = CatalogItems(std::vector<CatalogItem>(1));
    EXPECT_TRUE(Rebuild({CatalogPath("C:\\", "*.*", 0, false, false)}).empty());
    EXPECT_EQ(options.catalog.lastRebuild, 45678.75);
}

TEST_F(ScannerTest, CancelKeepsTheRecordAndReentranceIsRefused) {
    for (int i = 0; i < 5; ++i)
        disk.AddFile("C:\\C\\F" + std::to_string(i) + "\\f.exe");
    CatalogItem old;
    old.path = "C:\\old.exe";
    options.catalog.items = CatalogItems({old});
    options.catalog.lastRebuild = 1.5;
    const CatalogItems before = options.catalog.items;
    options.catalog.paths = {CatalogPath("C:\\C", "*.exe", UnlimitedDepth)};
    int calls = 0;
    pump = [&] {
        ++calls;
        SettingsOptions other;
        EXPECT_FALSE(scan.Rebuild(other, Services())); // already running
        if (calls == 3)
            scan.Stop(); // the Stop button
    };
    EXPECT_FALSE(scan.Rebuild(options, Services()));
    EXPECT_TRUE(options.catalog.items.SharesWith(before));
    EXPECT_EQ(options.catalog.lastRebuild, 1.5);
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(scan.ScannedFolders(), 3);
    // The folder entered when the stop came is not listed; what was collected before stays
    // until the next rebuild starts.
    EXPECT_EQ(scan.NewItems().size(), 1u);
    EXPECT_FALSE(scan.Scanning());
}

TEST_F(ScannerTest, AStopBetweenTheEntriesOfAFolderEndsItsSearchAtOnce) {
    for (int i = 0; i < 50; ++i)
        disk.AddFile("C:\\Big\\f" + std::to_string(i) + ".exe");
    disk.AddFile("C:\\Big\\Sub\\g.exe");
    options.catalog.lastRebuild = 1.5;
    options.catalog.paths = {CatalogPath("C:\\Big", "*.exe;*.*", UnlimitedDepth)};
    int entries = 0;
    betweenEntries = [&] {
        if (++entries == 10)
            scan.Stop();
    };
    EXPECT_FALSE(scan.Rebuild(options, Services()));
    EXPECT_EQ(entries, 10); // neither the rest of the first pattern nor the second
    EXPECT_EQ(scan.ScannedFiles(), 10);
    EXPECT_EQ(scan.ScannedFolders(), 1); // nor the subfolder
    EXPECT_EQ(options.catalog.lastRebuild, 1.5);

    // Without a stop it is called once per entry of the searches.
    entries = 0;
    betweenEntries = [&] { ++entries; };
    Rebuild({CatalogPath("C:\\Big", "*.exe", UnlimitedDepth)});
    EXPECT_EQ(entries, scan.ScannedFiles());
}

// The settings dialog hands its scan to another thread, whose start may come after Stop: that
// Stop cancels the rebuild still to start. A Stop during a rebuild is used up by it.
TEST_F(ScannerTest, AStopBeforeTheStartCancelsTheNextRebuildOnly) {
    disk.AddFile("C:\\Apps\\a.exe");
    options.catalog.paths = {CatalogPath("C:\\Apps", "*.exe", UnlimitedDepth)};
    scan.Stop();
    EXPECT_FALSE(scan.Rebuild(options, Services()));
    EXPECT_EQ(scan.ScannedFolders(), 0);
    EXPECT_TRUE(scan.Rebuild(options, Services()));
    pump = [&] { scan.Stop(); };
    EXPECT_FALSE(scan.Rebuild(options, Services()));
    pump = [] {};
    EXPECT_TRUE(scan.Rebuild(options, Services()));
    EXPECT_EQ(options.catalog.items.size(), 1u);
}

class ThrowingDisk final : public FileSystemPort {
public:
    bool Enumerate(const std::string&, const std::string&,
                   const std::function<bool(const DirEntry&)>&) const override {
        throw std::runtime_error("boom");
    }
    bool RemoveFile(const std::string&) const override { return false; }
    bool RemoveFolder(const std::string&) const override { return false; }
    bool FileExists(const std::string&) const override { return false; }
    bool FolderExists(const std::string&) const override { return false; }
};

TEST_F(ScannerTest, AnEscapingErrorStillClearsScanning) {
    ThrowingDisk broken;
    options.catalog.paths = {CatalogPath("C:\\x", "*.*", 0)};
    EXPECT_THROW(scan.Rebuild(options, {broken, folders, shell, clock, {}, {}}),
                 std::runtime_error);
    EXPECT_FALSE(scan.Scanning());
}

} // namespace
} // namespace orvan
