// The catalog file with XmlLite, and a save and load through the real file store.
#include "catalog_temp.h"

#include "core/catalog/catalog_file_cases.h"
#include "core/config/temporary_files.h"

#include <vector>

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

std::vector<std::string> OtherNames(const testing::CatalogTempFolder& temp, const char* known) {
    std::vector<std::string> names;
    platform::FileSystem().Enumerate(temp.Path(), "*", [&](const DirEntry& entry) {
        if (entry.name != "." && entry.name != ".." && entry.name != known)
            names.push_back(entry.name);
        return true;
    });
    return names;
}

TEST(Win32FileStore, TheTemporaryFileOfASaveHasTheNameTheCleanUpLooksFor) {
    testing::CatalogTempFolder temp;
    temp.WriteBytes("Orvan.ini", "old");
    std::vector<std::string> during;
    ASSERT_TRUE(platform::FileStore().ReplaceFileWith(temp.Path("Orvan.ini"), [&](FileWriter& w) {
        during = OtherNames(temp, "Orvan.ini");
        return w.Write("new");
    }));
    ASSERT_EQ(during.size(), 1u);
    EXPECT_TRUE(IsTemporaryFileName(during[0])) << during[0];
    EXPECT_TRUE(OtherNames(temp, "Orvan.ini").empty());
}

// Scoop keeps a portable copy's Orvan.ini in its persist folder and links it beside the
// program: a save must reach both names, and leave no temporary file.
TEST(Win32FileStore, ASaveReachesEveryNameOfAHardLinkedFile) {
    testing::CatalogTempFolder temp;
    temp.WriteBytes("Orvan.ini", "old");
    ASSERT_TRUE(CreateHardLinkW(temp.WidePath("persisted.ini").c_str(),
                                temp.WidePath("Orvan.ini").c_str(), nullptr));
    ASSERT_TRUE(platform::FileStore().ReplaceFileWith(
        temp.Path("Orvan.ini"), [](FileWriter& w) { return w.Write("new options"); }));
    EXPECT_EQ(temp.ReadBytes("Orvan.ini"), "new options");
    EXPECT_EQ(temp.ReadBytes("persisted.ini"), "new options");
    EXPECT_EQ(OtherNames(temp, "Orvan.ini"), std::vector<std::string>{"persisted.ini"});

    // A save that fails leaves both names as they were.
    EXPECT_FALSE(platform::FileStore().ReplaceFileWith(temp.Path("Orvan.ini"), [](FileWriter& w) {
        w.Write("half");
        return false;
    }));
    EXPECT_EQ(temp.ReadBytes("persisted.ini"), "new options");
    EXPECT_EQ(OtherNames(temp, "Orvan.ini"), std::vector<std::string>{"persisted.ini"});
}

TEST(Win32FileStore, StaleTemporaryFilesGoAndASaveInProgressStays) {
    testing::CatalogTempFolder temp;
    const auto aged = [&](const char* name, std::uint64_t hoursAgo) {
        temp.WriteBytes(name, "x");
        HANDLE file = ::CreateFileW(temp.WidePath(name).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        FILETIME now{};
        ::GetSystemTimeAsFileTime(&now);
        const std::uint64_t ticks =
            ((std::uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime) -
            hoursAgo * 3600 * 10000000ull;
        const FILETIME when{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
        EXPECT_TRUE(::SetFileTime(file, nullptr, nullptr, &when));
        ::CloseHandle(file);
    };
    aged("orv1A2B.tmp", 48); // a crash two days ago
    aged("orvbeef.tmp", 0);  // a save writing now
    aged("Orvan.ini", 48);
    EXPECT_EQ(
        RemoveStaleTemporaryFiles(platform::FileSystem(), temp.Path(), platform::Clock().Now()),
        1u);
    EXPECT_EQ(OtherNames(temp, "Orvan.ini"), std::vector<std::string>{"orvbeef.tmp"});
}

} // namespace
} // namespace orvan
