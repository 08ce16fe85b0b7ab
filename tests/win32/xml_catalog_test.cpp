// The catalog file with XmlLite, and a save and load through the real file store.
#include "catalog_temp.h"

#include "core/catalog/catalog_file_cases.h"

namespace orvan {
namespace {

TEST(Win32CatalogFile, SaveReplacesAndLoadPublishes) {
    testing::CatalogTempFolder temp;
    const CatalogFileServices services{platform::FileStore(), platform::XmlReader()};
    SettingsOptions options;
    options.fileName = temp.Path("Orvan.ini");
    std::vector<CatalogItem> items;
    for (int i = 0; i < 1000; ++i)
        items.push_back(catalog_file_cases::Item(temp.Path("f" + std::to_string(i) + ".exe"),
                                                 "F" + std::to_string(i), i % 3));
    options.catalog.items = CatalogItems(items);
    ASSERT_TRUE(SaveCatalog(options, services).Ok());
    ASSERT_TRUE(SaveCatalog(options, services).Ok()); // replacing an existing file works too
    SettingsOptions loaded;
    loaded.fileName = options.fileName;
    EXPECT_EQ(LoadCatalog(loaded, services).Error(), "");
    ASSERT_EQ(loaded.catalog.items.size(), 1000u);
    EXPECT_EQ(loaded.catalog.items[999].path, items[999].path);
    EXPECT_EQ(loaded.catalog.items[998].priority, 2);

    // A damaged file loads what precedes the damage and says so (Wine's XmlLite would go
    // on reading the end of such a file for ever; the adapter stops it).
    temp.WriteBytes("Orvan_Catalog.xml", SerializeCatalog(items).substr(0, 5000));
    const std::string error = LoadCatalog(loaded, services).Error();
    EXPECT_NE(error, "");
    EXPECT_GT(loaded.catalog.items.size(), 10u);
    EXPECT_LT(loaded.catalog.items.size(), 1000u);

    // The folder is gone: the save fails and says which file.
    options.fileName = temp.Path("none\\Orvan.ini");
    const FileResult failed = SaveCatalog(options, services);
    EXPECT_FALSE(failed.Ok());
    EXPECT_EQ(failed.Error(), "Unable to write to " + temp.Path("none\\Orvan_Catalog.xml"));
}

} // namespace
} // namespace orvan
