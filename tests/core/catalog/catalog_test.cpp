#include "core/catalog/catalog.h"
#include "core/catalog/catalog_index.h"

#include <gtest/gtest.h>

namespace orvan {
namespace {

CatalogItem Item(std::string path, std::string name = {}) {
    CatalogItem item;
    item.path = std::move(path);
    item.name = std::move(name);
    return item;
}

TEST(CatalogModel, CopiesShareOnePublishedList) {
    const CatalogItems first({Item("C:\\a\\x.exe"), Item("C:\\a\\y.exe")});
    const CatalogItems copy = first;
    EXPECT_TRUE(copy.SharesWith(first));
    EXPECT_EQ(&copy[0], &first[0]);

    // Publishing a new list leaves the holders of the old one untouched.
    CatalogItems current = first;
    current = CatalogItems({Item("C:\\b\\z.exe")});
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[1].path, "C:\\a\\y.exe");
    EXPECT_EQ(current.size(), 1u);
    EXPECT_FALSE(current.SharesWith(first));
}

TEST(CatalogModel, KeepsOrderAndDuplicates) {
    const CatalogItems items(
        {Item("C:\\a\\x.exe"), Item("C:\\a\\x.exe"), Item("C:\\b\\a.exe", "A")});
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].path, "C:\\a\\x.exe");
    EXPECT_EQ(items[1].path, "C:\\a\\x.exe");
    EXPECT_EQ(items[2].name, "A");
    EXPECT_EQ(items[2].icon, 0);
    EXPECT_TRUE(items[2].description.empty());
    EXPECT_TRUE(CatalogItems().empty());
}

TEST(CatalogModel, NewCatalogPathDefaultsToUnlimitedDepth) {
    const SettingsOptionsCatalogPath path;
    EXPECT_EQ(path.depth, UnlimitedDepth);
    EXPECT_EQ(UnlimitedDepth, -1);
}

struct KeyCase {
    const char* path;
    const char* name;
    const char* key;
    const char* display;
};

class CatalogKeys : public testing::TestWithParam<KeyCase> {};

TEST_P(CatalogKeys, CutsBeforeTheFileNameAndUppersAsciiOnly) {
    const KeyCase& c = GetParam();
    const CatalogItem item = Item(c.path, c.name);
    EXPECT_EQ(CatalogSearchKey(item), c.key);
    EXPECT_EQ(CatalogDisplayName(item), c.display);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CatalogKeys,
    testing::Values(
        KeyCase{"C:\\Windows\\notepad.exe", "", "NOTEPAD.EXE&", "notepad.exe"},
        KeyCase{"C:\\Apps\\mspaint.exe", "Paint", "MSPAINT.EXE&PAINT", "Paint"},
        // A name with a colon keeps only its tail, and the file name goes.
        KeyCase{"C:\\x\\help.chm", "Help: Index", " INDEX", "Help: Index"},
        KeyCase{"C:\\x\\y.lnk", "a\\b", "B", "a\\b"},
        KeyCase{"relative", "Name", "RELATIVE&NAME", "Name"},
        KeyCase{"D:file.txt", "", "FILE.TXT&", "file.txt"},
        // In a path only the drive's colon ends a folder part; others are
        // part of a (Linux) file or folder name.
        KeyCase{"C:\\man3\\Algorithm::Diff.3pm.gz", "", "ALGORITHM::DIFF.3PM.GZ&",
                "Algorithm::Diff.3pm.gz"},
        KeyCase{"C:\\a:b\\c:d", "", "C:D&", "c:d"}, KeyCase{"1:x", "", "1:X&", "1:x"},
        KeyCase{"C:", "", "&", ""},
        // A name that is (the start of) the file's own name keeps its colons;
        // another name with a colon is still cut.
        KeyCase{"C:\\man3\\Algorithm::Diff.3pm.gz", "Algorithm::Diff.3pm.gz",
                "ALGORITHM::DIFF.3PM.GZ&ALGORITHM::DIFF.3PM.GZ", "Algorithm::Diff.3pm.gz"},
        KeyCase{"C:\\x\\Perl::Tidy.lnk", "Perl::Tidy", "PERL::TIDY.LNK&PERL::TIDY", "Perl::Tidy"},
        KeyCase{"C:\\x\\Perl::Tidy.lnk", "Tidy: Perl", " PERL", "Tidy: Perl"},
        KeyCase{"C:\\x\\\xC3\xA9t\xC3\xA9.txt", "", "\xC3\xA9T\xC3\xA9.TXT&",
                "\xC3\xA9t\xC3\xA9.txt"},
        KeyCase{"C:\\folder\\", "", "&", ""}));

TEST(CatalogSearchIndex, OrdersByNameInUtf16UnitsAndGroupsEqualPairs) {
    const std::vector<CatalogItem> items = {
        Item("C:\\z\\alpha.exe"),                 // 0 "alpha.exe"
        Item("C:\\z\\zeta.exe", "Zeta"),          // 1 "Zeta"
        Item("C:\\z\\alpha.exe"),                 // 2 same pair as 0
        Item("C:\\y\\alpha.exe"),                 // 3 same name, other path
        Item("C:\\q\\e.exe", "\xEF\xBD\x81"),     // 4 U+FF41 (BMP above the surrogates)
        Item("C:\\q\\f.exe", "\xF0\x9F\x98\x80"), // 5 U+1F600 (surrogates D83D DE00)
        Item("C:\\z\\alpha.exe", "alpha.exe"),    // 6 same pair as 0 (name given)
    };
    const CatalogSearchIndex index(items);
    ASSERT_EQ(index.size(), items.size());
    std::vector<std::uint32_t> order;
    for (std::size_t p = 0; p < index.size(); ++p)
        order.push_back(index.ItemAt(p));
    // Zeta before alpha; y-path before z-path; U+1F600 (D83D) before U+FF41.
    EXPECT_EQ(order, (std::vector<std::uint32_t>{1, 3, 0, 2, 6, 5, 4}));
    EXPECT_TRUE(index.StartsGroup(0));
    EXPECT_TRUE(index.StartsGroup(1));
    EXPECT_TRUE(index.StartsGroup(2));
    EXPECT_FALSE(index.StartsGroup(3));
    EXPECT_FALSE(index.StartsGroup(4));
    EXPECT_EQ(index.GroupEnd(2), 5u);
    EXPECT_EQ(index.GroupEnd(3), 5u);
    EXPECT_EQ(index.KeyAt(0), "ZETA.EXE&ZETA");
    EXPECT_EQ(index.KeyAt(4), "ALPHA.EXE&ALPHA.EXE");

    EXPECT_EQ(index.FindPair(items, "alpha.exe", "C:\\z\\alpha.exe"),
              (std::pair<std::size_t, std::size_t>{2, 5}));
    EXPECT_EQ(index.FindPair(items, "Zeta", "C:\\z\\zeta.exe"),
              (std::pair<std::size_t, std::size_t>{0, 1}));
    const auto missing = index.FindPair(items, "zeta", "C:\\z\\zeta.exe");
    EXPECT_EQ(missing.first, missing.second);
}

} // namespace
} // namespace orvan
