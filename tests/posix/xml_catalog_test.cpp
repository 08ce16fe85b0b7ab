// The catalog file with expat, and a save and load through the real file store.
#include "core/catalog/catalog_file_cases.h"
#include "fakes/memory_file_system.h"
#include "temp_folder.h"

namespace orvan {
namespace {

TEST(PosixCatalogFile, SaveReplacesAndLoadPublishes) {
    testing::TempFolder temp;
    const CatalogFileServices services{platform::FileStore(), platform::XmlReader()};
    SettingsOptions options;
    options.fileName = temp.Core("Orvan.ini");
    std::vector<CatalogItem> items;
    for (int i = 0; i < 1000; ++i)
        items.push_back(catalog_file_cases::Item(temp.Core("f" + std::to_string(i) + ".exe"),
                                                 "F" + std::to_string(i), i % 3));
    options.catalog.items = CatalogItems(items);
    ASSERT_TRUE(SaveCatalog(options, services).Ok());
    SettingsOptions loaded;
    loaded.fileName = options.fileName;
    EXPECT_EQ(LoadCatalog(loaded, services).Error(), "");
    ASSERT_EQ(loaded.catalog.items.size(), 1000u);
    EXPECT_EQ(loaded.catalog.items[999].path, items[999].path);
    EXPECT_EQ(loaded.catalog.items[999].name, "F999");
    EXPECT_EQ(loaded.catalog.items[999].priority, 0);
    EXPECT_EQ(loaded.catalog.items[998].priority, 2);

    // A damaged file loads what precedes the damage and says so.
    temp.File("Orvan_Catalog.xml", SerializeCatalog(items).substr(0, 5000));
    const std::string error = LoadCatalog(loaded, services).Error();
    EXPECT_NE(error.find(temp.Core("Orvan_Catalog.xml")), std::string::npos) << error;
    EXPECT_GT(loaded.catalog.items.size(), 10u);
    EXPECT_LT(loaded.catalog.items.size(), 1000u);
}

} // namespace
} // namespace orvan

namespace orvan {
namespace {

// Files handed out in pieces of a few bytes: entry tags straddle pieces both when they are
// counted and when they are parsed.
TEST(PosixCatalogFile, LoadsFromShortPieces) {
    testing::MemoryFileSystem disk;
    disk.AddFolder("C:\\opt");
    const CatalogFileServices services{disk, platform::XmlReader()};
    SettingsOptions options;
    options.fileName = "C:\\opt\\Orvan.ini";
    std::vector<CatalogItem> items;
    for (int i = 0; i < 300; ++i)
        items.push_back(catalog_file_cases::Item("C:\\p\\<" + std::to_string(i) + ">&.exe",
                                                 i % 2 ? "N" + std::to_string(i) : ""));
    options.catalog.items = CatalogItems(items);
    ASSERT_TRUE(SaveCatalog(options, services).Ok());
    EXPECT_EQ(*disk.Content("C:\\opt\\Orvan_Catalog.xml"), SerializeCatalog(items));
    for (const std::size_t piece : {1u, 4u, 5u, 7u, 4096u}) {
        disk.readPiece = piece;
        SettingsOptions loaded;
        loaded.fileName = options.fileName;
        EXPECT_EQ(LoadCatalog(loaded, services).Error(), "");
        ASSERT_EQ(loaded.catalog.items.size(), items.size()) << piece;
        // Every tag was counted once, so the list was made at its final size.
        EXPECT_EQ(loaded.catalog.items.items().capacity(), items.size()) << piece;
        EXPECT_EQ(loaded.catalog.items[299].path, items[299].path);
        EXPECT_EQ(loaded.catalog.items[299].name, "N299");
    }
}

} // namespace
} // namespace orvan
