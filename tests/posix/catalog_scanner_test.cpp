// A rebuild over a real folder tree with the posix adapters.
#include "core/catalog/scanner.h"
#include "platform/native.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace orvan {
namespace {

class NoFolders final : public SpecialFolderPort {
public:
    std::string GetSpecialFolder(int) const override { return {}; }
};

TEST(PosixCatalogScanner, RebuildsFromARealTree) {
    testing::TempFolder temp;
    temp.File("b.exe");
    temp.File("A.EXE");
    temp.File("Editor.lnk");
    // Colons may be part of a Linux file name, and so of its display name.
    temp.File("Algorithm::Diff.exe");
    temp.File("Perl::Tidy.lnk");
    temp.File("readme.txt");
    temp.Folder("Sub/Inner");
    temp.File("Sub/s.exe");
    temp.File("Sub/Inner/i.exe");
    temp.Folder(".hidden");
    temp.File(".hidden/h.exe");
    temp.File(".dotfile.exe");
    // A link back to the top: listed as a folder, never entered, so the walk ends.
    ASSERT_EQ(symlink(temp.Native().c_str(), temp.Native("Sub/loop").c_str()), 0);

    NoFolders folders;
    const ScanServices services{platform::FileSystem(), folders, platform::ShellNames(),
                                platform::Clock(),      {},      {}};
    SettingsOptions options;
    SettingsOptionsCatalogPath path;
    path.path = temp.Core();
    path.mask = "*.exe;*.lnk";
    path.depth = UnlimitedDepth;
    path.includeDirectories = true;
    options.catalog.paths = {path};
    CatalogScan scan;
    ASSERT_TRUE(scan.Rebuild(options, services));
    std::vector<std::string> got;
    for (const CatalogItem& item : options.catalog.items)
        got.push_back(item.path.substr(temp.Core().size()) + "|" + item.name);
    EXPECT_EQ(
        got, (std::vector<std::string>{"\\.dotfile.exe|.dotfile.exe", "\\A.EXE|A.EXE",
                                       "\\Algorithm::Diff.exe|Algorithm::Diff.exe", "\\b.exe|b.exe",
                                       "\\Editor.lnk|Editor", "\\Perl::Tidy.lnk|Perl::Tidy",
                                       "\\Sub|", "\\Sub\\s.exe|s.exe", "\\Sub\\Inner|",
                                       "\\Sub\\Inner\\i.exe|i.exe", "\\Sub\\loop|"}));
    EXPECT_GT(options.catalog.lastRebuild, 40000.0);
    EXPECT_EQ(scan.ScannedFolders(), 3);
}

} // namespace
} // namespace orvan
