#include "core/config/temporary_files.h"

#include "core/config/options.h"
#include "fakes/fixed_folders.h"
#include "fakes/memory_file_system.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvan {
namespace {

using testing::FileFacts;
using testing::MemoryFileSystem;

TEST(TemporaryFileName, TakesTheNamesOfTheSavesTemporaryFilesOnly) {
    struct Case {
        const char* name;
        bool temporary;
    };
    const Case cases[] = {
        {"orv1A2B.tmp", true},   // GetTempFileNameW on Windows
        {"orv1a2b.tmp", true},   // Wine writes the digits small
        {"orv3.tmp", true},      // and without leading zeros
        {"ORVFFFF.TMP", true},   // letter case does not count on Windows
        {"orvk3Zq9x.tmp", true}, // mkostemps on Linux
        {"orv.tmp", false},
        {"orvan.tmp", false}, // not hexadecimal, not six characters
        {"orv12345.tmp", false},
        {"orv1234567.tmp", false},
        {"orv1A-B.tmp", false},
        {"orvk3Zq9_.tmp", false},
        {"xorv1A2B.tmp", false},
        {"orv1A2B.tmp.bak", false},
        {"orv1A2B.tmpx", false},
        {"orv1A2B.ini", false},
        {"Orvan.ini", false},
        {"Orvan_Catalog.xml", false},
        {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsTemporaryFileName(c.name), c.temporary) << c.name;
}

constexpr const char* kFolder = "C:\\Users\\u\\AppData\\Roaming\\Morvane\\Orvan";
constexpr double kNow = 46000.5; // a moment in 2025
constexpr double kMinute = 1.0 / (24 * 60);

class StaleTemporaryFiles : public ::testing::Test {
protected:
    void Add(const std::string& name, double age, std::uint32_t attributes = 0) {
        disk.AddFile(std::string(kFolder) + "\\" + name, FileFacts{10, attributes, kNow - age});
    }
    std::vector<std::string> Removed() const {
        std::vector<std::string> removed;
        for (const std::string& line : disk.log)
            if (line.rfind("delete ", 0) == 0)
                removed.push_back(line.substr(7));
        return removed;
    }
    bool Has(const std::string& name) const {
        return disk.Exists(std::string(kFolder) + "\\" + name);
    }

    MemoryFileSystem disk;
};

TEST_F(StaleTemporaryFiles, RemovesOnlyOldFilesOfTheSavesPattern) {
    Add("Orvan.ini", 400);
    Add("Orvan_Catalog.xml", 400);
    Add("orv1A2B.tmp", 2);                                // left by a crash two days ago
    Add("orvk3Zq9x.tmp", kStaleTemporaryFileAge);         // just old enough
    Add("orvBEEF.tmp", kStaleTemporaryFileAge - kMinute); // a save may still write it
    Add("orvC0DE.tmp", 2 * kMinute);                      // a save writing now
    Add("orv3333.tmp", -1);                               // written "tomorrow": the clock went back
    Add("orvan.tmp", 400);                                // somebody else's name
    Add("notes orv1A2B.tmp", 400);
    disk.AddFolder(std::string(kFolder) + "\\orv0001.tmp", 0, kNow - 400);
    disk.AddFile(std::string(kFolder) + "\\sub\\orv2222.tmp", FileFacts{1, 0, kNow - 400});

    EXPECT_EQ(RemoveStaleTemporaryFiles(disk, std::string(kFolder) + "\\", kNow), 2u);
    EXPECT_EQ(Removed(), (std::vector<std::string>{std::string(kFolder) + "\\orv1A2B.tmp",
                                                   std::string(kFolder) + "\\orvk3Zq9x.tmp"}));
    for (const char* kept :
         {"Orvan.ini", "Orvan_Catalog.xml", "orvBEEF.tmp", "orvC0DE.tmp", "orv3333.tmp",
          "orvan.tmp", "notes orv1A2B.tmp", "orv0001.tmp", "sub\\orv2222.tmp"})
        EXPECT_TRUE(Has(kept)) << kept;
}

TEST_F(StaleTemporaryFiles, AFileThatCannotBeRemovedOrAFolderThatCannotBeListedIsNoFailure) {
    Add("orv1111.tmp", 2, FileAttribute::ReadOnly);
    Add("orv2222.tmp", 2);
    EXPECT_EQ(RemoveStaleTemporaryFiles(disk, kFolder, kNow), 1u);
    EXPECT_TRUE(Has("orv1111.tmp"));
    EXPECT_FALSE(Has("orv2222.tmp"));

    disk.MakeUnlistable(kFolder);
    EXPECT_EQ(RemoveStaleTemporaryFiles(disk, kFolder, kNow), 0u);
    EXPECT_EQ(RemoveStaleTemporaryFiles(disk, "C:\\no such folder", kNow), 0u);
    EXPECT_EQ(RemoveStaleTemporaryFiles(disk, "", kNow), 0u);
}

TEST_F(StaleTemporaryFiles, AtStartTheOptionsFolderIsCleared) {
    testing::FakeFolders folders;
    folders.folders = {{Csidl::AppData, "C:\\Users\\u\\AppData\\Roaming"},
                       {Csidl::LocalAppData, "C:\\Users\\u\\AppData\\Local"}};
    Add("orv1A2B.tmp", 2);
    Add("orvC0DE.tmp", 2 * kMinute);
    const OptionsServices services{folders, disk, disk, "C:\\Program Files\\Orvan\\Orvan.exe"};
    EXPECT_EQ(RemoveStaleOptionsTemporaryFiles(services, kNow), 1u);
    EXPECT_FALSE(Has("orv1A2B.tmp"));
    EXPECT_TRUE(Has("orvC0DE.tmp"));
}

} // namespace
} // namespace orvan
