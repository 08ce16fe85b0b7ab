#include "core/catalog/catalog_loader.h"
#include "platform/native.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <atomic>

namespace orvan {
namespace {

using testing::TempFolder;

const CatalogFileServices kServices{platform::FileStore(), platform::XmlReader()};

TEST(CatalogLoader, ReadsTheFileOnItsOwnThreadAndHandsItOverOnce) {
    TempFolder temp;
    std::vector<CatalogItem> items;
    for (int i = 0; i < 1000; ++i)
        items.push_back({"C:\\Apps\\app" + std::to_string(i) + ".exe", "", 0});
    temp.File("Orvan_Catalog.xml", SerializeCatalog(items));

    std::atomic<int> finished = 0;
    CatalogLoader loader;
    EXPECT_FALSE(loader.Pending());
    loader.Start(temp.Core("Orvan_Catalog.xml"), kServices, [&] { ++finished; });
    EXPECT_TRUE(loader.Pending());
    const LoadedCatalog loaded = loader.Take();
    EXPECT_EQ(finished, 1);
    ASSERT_EQ(loaded.items.size(), items.size());
    EXPECT_EQ(loaded.items[999].path, "C:\\Apps\\app999.exe");
    EXPECT_TRUE(loaded.status.Ok()) << loaded.status.Error();
    // Taken once: afterwards there is nothing pending and nothing more to take.
    EXPECT_FALSE(loader.Pending());
    EXPECT_TRUE(loader.Take().items.empty());
}

TEST(CatalogLoader, AMissingOrDamagedFileGivesWhatCouldBeRead) {
    TempFolder temp;
    CatalogLoader loader;
    loader.Start(temp.Core("none_Catalog.xml"), kServices);
    LoadedCatalog loaded = loader.Take();
    EXPECT_TRUE(loaded.items.empty());
    EXPECT_TRUE(loaded.status.Ok()) << loaded.status.Error();

    std::string text = SerializeCatalog({{"C:\\a.exe", "", 0}, {"C:\\b.exe", "", 0}});
    text.resize(text.rfind("<item>")); // cut inside the document
    temp.File("cut_Catalog.xml", text);
    loader.Start(temp.Core("cut_Catalog.xml"), kServices);
    loaded = loader.Take();
    EXPECT_EQ(loaded.items.size(), 1u);
    EXPECT_FALSE(loaded.status.Ok());
}

TEST(CatalogLoader, EndingWhileALoadRunsWaitsForIt) {
    TempFolder temp;
    temp.File("Orvan_Catalog.xml", SerializeCatalog({{"C:\\a.exe", "", 0}}));
    std::atomic<bool> finished = false;
    {
        CatalogLoader loader;
        loader.Start(temp.Core("Orvan_Catalog.xml"), kServices, [&] { finished = true; });
    }
    EXPECT_TRUE(finished);
}

} // namespace
} // namespace orvan
